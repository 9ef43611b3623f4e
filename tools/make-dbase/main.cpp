// make_dbase <path>: makes the fresh, empty database that ships beside the terminal.
//
// The tables are built in "<path>.tmp" and only a complete file is renamed over <path>,
// so a failed run never leaves half a database where the terminal would find it.

#include "foundation/Database.h"
#include "foundation/Schema.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

void removeFile(const QString& path) {
    std::error_code error;
    std::filesystem::remove(nativePath(path), error);
    if (error)
        throw FileError(QStringLiteral("cannot remove %1: %2")
                            .arg(path, QString::fromStdString(error.message())));
}

// A journal or log left beside an older file of the same name would be played back
// into the new one when it is first opened.
void removeCompanions(const QString& path) {
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        removeFile(path + QLatin1String(suffix));
}

void make(const QString& path) {
    const QString temporary = path + QStringLiteral(".tmp");
    removeFile(temporary);
    removeCompanions(temporary);

    db::Connection connection;
    // One self-contained file, safe to copy as it stands.
    connection.open(temporary, db::Journal::Delete, db::Sync::Full);
    Schema_Criar(connection);
    connection.close();

    removeCompanions(path);
    std::error_code error;
    std::filesystem::rename(nativePath(temporary), nativePath(path), error);
    if (error)
        throw FileError(QStringLiteral("cannot rename %1 to %2: %3")
                            .arg(temporary, path, QString::fromStdString(error.message())));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fputs("usage: make_dbase <path>\n", stderr);
        return 1;
    }
    const QString path = QFile::decodeName(argv[1]);
    try {
        make(path);
    } catch (const Error& error) {
        std::fprintf(stderr, "make_dbase: %s\n", error.message().toLocal8Bit().constData());
        QFile::remove(path + QStringLiteral(".tmp"));
        return 1;
    }
    return 0;
}
