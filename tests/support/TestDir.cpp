#include "TestDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

TestDir::TestDir() {
    m_dir.setAutoRemove(true);
}

TestDir::~TestDir() = default;

QString TestDir::path() const {
    return QDir(m_dir.path()).absolutePath() + QLatin1Char('/');
}

void TestDir::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    QDir().mkpath(QFileInfo(f).absolutePath());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray TestDir::read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestDir::exists(const QString& name) const {
    return QFileInfo::exists(file(name));
}

namespace {

bool setImmutable(const QString& path, bool on) {
    int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

bool writable(const QString& path) {
    QFileInfo info(path);
    if (info.isDir()) {
        QFile probe(path + QStringLiteral("/.probe"));
        bool ok = probe.open(QIODevice::WriteOnly);
        if (ok) probe.remove();
        return ok;
    }
    QFile f(path);
    return f.open(QIODevice::ReadWrite | QIODevice::Append);
}

} // namespace

ReadOnly::ReadOnly(const QString& path) : m_path(path) {
    QFile::setPermissions(path,
                          QFile::ReadOwner | QFile::ReadUser | QFile::ExeOwner | QFile::ExeUser);
    if (writable(path) && ::geteuid() == 0) m_immutable = setImmutable(path, true);
    m_ok = !writable(path);
}

ReadOnly::~ReadOnly() {
    if (m_immutable) setImmutable(m_path, false);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}
