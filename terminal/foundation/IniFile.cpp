#include "IniFile.h"

#include "QueloUtil_Unit.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace {

// Names and values never carry line breaks into the file: a typed e-mail that held
// one would otherwise plant keys of its own.
QString oneLine(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(const QString& fileName) : m_fileName(fileName) {
    load();
}

void IniFile::Reload() {
    load();
}

IniFile::Line IniFile::parse(const QByteArray& raw) {
    Line line;
    line.raw = raw;
    const QString text = QString::fromUtf8(raw).trimmed();
    if (text.startsWith(QLatin1Char('['))) {
        int close = text.lastIndexOf(QLatin1Char(']'));
        line.isSection = true;
        line.section = (close > 0 ? text.mid(1, close - 1) : text.mid(1)).trimmed();
        return line;
    }
    if (text.startsWith(QLatin1Char(';'))) return line;
    int eq = text.indexOf(QLatin1Char('='));
    if (eq > 0) {
        line.isKey = true;
        line.key = text.left(eq).trimmed();
    }
    return line;
}

void IniFile::load() {
    m_lines.clear();
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly)) return; // missing or unreadable: empty
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    if (!bytes.contains("\r\n") && bytes.contains('\n')) m_eol = "\n";
    const QList<QByteArray> raws = bytes.split('\n');
    for (int i = 0; i < raws.size(); ++i) {
        QByteArray raw = raws[i];
        if (raw.endsWith('\r')) raw.chop(1);
        if (i == raws.size() - 1 && raw.isEmpty()) break; // the final line break
        m_lines.append(parse(raw));
    }
}

bool IniFile::readOnly(const QString& fileName) {
    const QFileInfo info(fileName);
    return info.exists() && !(info.permissions() & (QFile::WriteOwner | QFile::WriteUser |
                                                    QFile::WriteGroup | QFile::WriteOther));
}

void IniFile::save() const {
    const QString error = QStringLiteral("Unable to write to %1").arg(m_fileName);
    if (readOnly(m_fileName)) throw IniFileError(error);

    QByteArray bytes;
    for (const Line& line : m_lines) {
        bytes += line.raw;
        bytes += m_eol;
    }
    // Written aside and renamed over the file, so a power cut leaves the old file or
    // the new one, never half of one.
    QSaveFile file(m_fileName);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw IniFileError(error);
}

int IniFile::findKey(const QString& section, const QString& key) const {
    bool inSection = false;
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.isSection)
            inSection = sameName(line.section, section);
        else if (inSection && line.isKey && sameName(line.key, key))
            return i;
    }
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    int i = findKey(oneLine(section).trimmed(), key);
    if (i < 0) return def;
    const QString text = QString::fromUtf8(m_lines[i].raw);
    return text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
}

bool IniFile::textToInteger(const QString& text, qint32& value) {
    static const QRegularExpression form(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch()) return false;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<qint32>(v);
    return true;
}

bool IniFile::textToFloat(const QString& text, double& value) {
    static const QRegularExpression form(
        QStringLiteral("^[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)?$"));
    QString t = text.trimmed();
    if (!form.match(t).hasMatch()) return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

qint32 IniFile::ReadInteger(const QString& section, const QString& key, qint32 def) const {
    qint32 v = def;
    return textToInteger(ReadString(section, key, QString()), v) ? v : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) const {
    double v = def;
    return textToFloat(ReadString(section, key, QString()), v) ? v : def;
}

QString IniFile::dateToText(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString IniFile::dateTimeToText(const QDateTime& dateTime) {
    return dateTime.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QDateTime IniFile::textToDateTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        "^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})(?:\\s+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch()) return {};
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    QTime time(0, 0);
    if (m.hasCaptured(4))
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid()) return {};
    return QDateTime(date, time);
}

QDate IniFile::ReadDate(const QString& section, const QString& key, const QDate& def) const {
    const QDateTime v = textToDateTime(ReadString(section, key, QString()));
    return v.isValid() ? v.date() : def;
}

QDateTime IniFile::ReadDateTime(const QString& section, const QString& key,
                                const QDateTime& def) const {
    const QDateTime v = textToDateTime(ReadString(section, key, QString()));
    return v.isValid() ? v : def;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    load();
    const QString sec = oneLine(section).trimmed();
    const QByteArray raw = (oneLine(key).trimmed() + QLatin1Char('=') + oneLine(value)).toUtf8();
    const int i = findKey(sec, key);
    if (i >= 0) {
        m_lines[i] = parse(raw);
    } else {
        // At the end of the section's first block, or a new section at the end.
        int insertAt = -1;
        bool inSection = false;
        for (int j = 0; j < m_lines.size(); ++j) {
            if (m_lines[j].isSection) {
                if (inSection) break;
                inSection = sameName(m_lines[j].section, sec);
            }
            if (inSection && !m_lines[j].raw.trimmed().isEmpty()) insertAt = j + 1;
        }
        if (insertAt < 0) {
            if (!m_lines.isEmpty() && !m_lines.last().raw.trimmed().isEmpty())
                m_lines.append(parse(QByteArray()));
            m_lines.append(parse((QLatin1Char('[') + sec + QLatin1Char(']')).toUtf8()));
            insertAt = m_lines.size();
        }
        m_lines.insert(insertAt, parse(raw));
    }
    save();
}

void IniFile::WriteInteger(const QString& section, const QString& key, qint32 value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::WriteFloat(const QString& section, const QString& key, double value) {
    WriteString(section, key, FloatToString(value));
}

void IniFile::WriteDate(const QString& section, const QString& key, const QDate& value) {
    WriteString(section, key, dateToText(value));
}

void IniFile::WriteDateTime(const QString& section, const QString& key, const QDateTime& value) {
    WriteString(section, key, dateTimeToText(value));
}

bool IniFile::SectionExists(const QString& section) const {
    for (const Line& line : m_lines)
        if (line.isSection && sameName(line.section, section)) return true;
    return false;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const {
    return findKey(section, key) >= 0;
}

QStringList IniFile::ReadSection(const QString& section) const {
    QStringList keys;
    bool inSection = false;
    for (const Line& line : m_lines) {
        if (line.isSection)
            inSection = sameName(line.section, section);
        else if (inSection && line.isKey && !keys.contains(line.key, Qt::CaseInsensitive))
            keys.append(line.key);
    }
    return keys;
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
    load();
    const int i = findKey(section, key);
    if (i < 0) return;
    m_lines.removeAt(i);
    save();
}

void IniFile::EraseSection(const QString& section) {
    load();
    QList<Line> kept;
    bool inSection = false, changed = false;
    for (const Line& line : m_lines) {
        if (line.isSection) inSection = sameName(line.section, section);
        if (inSection)
            changed = true;
        else
            kept.append(line);
    }
    if (!changed) return;
    m_lines = kept;
    save();
}
