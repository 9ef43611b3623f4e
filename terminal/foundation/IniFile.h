#pragma once

#include "Errors.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// A sectioned settings file with the semantics of a Windows initialisation file:
// section and key names are compared without case, every write lands in the file at
// once, and the bytes of every other line are left exactly as they were.
//
// Value forms: integers in decimal; yes/no written "1"/"0", any integer other than 0
// read as yes; reals with a decimal comma; dates "dd/mm/yyyy", date-times
// "dd/mm/yyyy hh:mm:ss". A missing key, or a value that does not convert, reads as
// the default. A write that cannot reach the disk throws IniFileError
// "Unable to write to <file>"; writes made before it stay in the file.
class IniFile {
public:
    explicit IniFile(const QString& fileName);

    QString fileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    qint32 ReadInteger(const QString& section, const QString& key, qint32 def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;
    QDate ReadDate(const QString& section, const QString& key, const QDate& def) const;
    QDateTime ReadDateTime(const QString& section, const QString& key, const QDateTime& def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, qint32 value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);
    void WriteDate(const QString& section, const QString& key, const QDate& value);
    void WriteDateTime(const QString& section, const QString& key, const QDateTime& value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Key names of a section, in file order, each once.
    QStringList ReadSection(const QString& section) const;
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

    // Re-reads the file (writes always start from what is on disk).
    void Reload();

    // The value forms, for callers that keep such texts elsewhere.
    static QString dateToText(const QDate& date);
    static QString dateTimeToText(const QDateTime& dateTime);
    static QDateTime textToDateTime(const QString& text); // invalid when it does not convert
    static bool textToFloat(const QString& text, double& value);
    static bool textToInteger(const QString& text, qint32& value);
    // A file marked read-only refuses writes, as it does for every user on Windows.
    static bool readOnly(const QString& fileName);

private:
    struct Line {
        QByteArray raw;  // the line as it stands in the file, without its line break
        QString section; // for section headers
        QString key;     // for key lines
        bool isSection = false;
        bool isKey = false;
    };

    void load();
    void save() const;
    int findKey(const QString& section, const QString& key) const;
    static Line parse(const QByteArray& raw);

    QString m_fileName;
    QList<Line> m_lines;
    QByteArray m_eol = "\r\n";
};
