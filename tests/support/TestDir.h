#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test, removed afterwards.
class TestDir {
public:
    TestDir();
    ~TestDir();
    // The folder with a trailing separator, as the program keeps it.
    QString path() const;
    QString file(const QString& name) const { return path() + name; }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// Makes a file or folder unwritable, even for root (where the file system allows it),
// and undoes it on destruction. ok() is false when this machine cannot do it, and the
// test should then be skipped.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path);
    ~ReadOnly();
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_ok = false;
};

#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
