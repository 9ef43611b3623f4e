#include "DModule_Unit.h"

#include "MessageBox.h"
#include "QueloUtil_Unit.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

QString withSeparator(const QString& dir) {
    QString d = QDir::fromNativeSeparators(dir);
    if (!d.endsWith(QLatin1Char('/'))) d += QLatin1Char('/');
    return d;
}

} // namespace

TDModule::TDModule(const QString& dir) : Sistema_DirName(withSeparator(dir)) {}

TDModule::~TDModule() {
    FDQuery1.close();
    FDQuery2.close();
    FDQuery3.close();
    FDQuery4.close();
    FDConnection1.close();
}

QString TDModule::Banco_Padrao() const {
    return Sistema_DirName + QStringLiteral("dbase.s3db");
}

QString TDModule::Pasta_Empresa(const TSettings& settings) const {
    const QString digits = SoNumeros(settings.Emp_CNPJ);
    return digits.isEmpty() ? Sistema_DirName : Sistema_DirName + digits + QLatin1Char('/');
}

void TDModule::DataModuleCreate() {
    QDir().mkpath(Sistema_DirName);
    Conectar_Banco_Dados(Banco_Padrao());
    if (FDConnection1.isOpen() &&
        QFileInfo::exists(Sistema_DirName + QStringLiteral("atualizar.txt")))
        Atualizar_Banco();
}

bool TDModule::Conectar_Banco_Dados(const QString& Banco) {
    FDQuery1.close();
    FDQuery2.close();
    FDQuery3.close();
    FDQuery4.close();
    FDConnection1.close();
    try {
        // The shipped database stays a single file so that it can be copied as it
        // stands; company databases log ahead, and keep every commit through a power cut.
        const bool shipped = QFileInfo(Banco) == QFileInfo(Banco_Padrao());
        FDConnection1.open(Banco, shipped ? db::Journal::Delete : db::Journal::Wal, db::Sync::Full);
    } catch (const Error&) {
        MessageBox::ShowMessage(QStringLiteral("Erro de conexão com o banco de dados!"));
    }
    return FDConnection1.isOpen();
}

QString Script_Texto(const QByteArray& bytes) {
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF")) b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(b);
    if (!utf8.hasError()) return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid()) return cp1252.decode(b);
    return QString::fromLatin1(b);
}

QStringList Script_Comandos(const QString& script) {
    QStringList commands;
    QStringList buffer;
    QStringList lines = script.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.startsWith(QLatin1Char('#'))) {
            if (!buffer.isEmpty()) commands.append(buffer.join(QLatin1Char('\n')));
            buffer.clear();
        } else if (!line.trimmed().isEmpty()) {
            buffer.append(line);
        }
    }
    return commands; // what is left in the buffer had no "#" after it
}

void TDModule::Atualizar_Banco() {
    const QString path = Sistema_DirName + QStringLiteral("atualizar.txt");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QString script = Script_Texto(file.readAll());
        file.close();
        for (const QString& command : Script_Comandos(script)) {
            try {
                FDConnection1.exec(command);
            } catch (const Error&) {
                // A statement that fails (a column that already exists) is skipped.
            }
        }
    }
    QFile::remove(path);
}

void TDModule::Criar_Pasta_Empresa(TSettings& settings) {
    QDir().mkpath(Sistema_DirName);
    const QString source = Banco_Padrao();
    const QString folder = Pasta_Empresa(settings);
    const QString target = folder + QStringLiteral("dbase.s3db");

    if (QFileInfo::exists(source) && !QFileInfo::exists(target)) {
        QDir().mkdir(folder);
        // Copied aside and renamed, so that a failed copy leaves no half database.
        const QString partial = target + QStringLiteral(".part");
        QFile::remove(partial);
        const bool copied = QFile::copy(source, partial) && QFile::rename(partial, target);
        if (copied) {
            // A fresh copy holds no catalogue: this early date makes the next
            // synchronisation fetch everything. The connection moves first, so that an
            // unwritable settings file cannot leave the sale on the shipped database.
            settings.Dt_Sinc_Update = QDateTime(QDate(1982, 3, 15), QTime(0, 0));
            Conectar_Banco_Dados(target);
            SettingsFile(Sistema_DirName)
                .Gravar_Dt_Sinc_Update(settings.Usuario_Email, settings.Dt_Sinc_Update);
            return;
        } else {
            QFile::remove(partial);
        }
    }
    if (QFileInfo::exists(target)) Conectar_Banco_Dados(target);
}

void TDModule::Excluir_Banco_Empresa(const TSettings& settings) {
    FDQuery1.close();
    FDQuery2.close();
    FDQuery3.close();
    FDQuery4.close();
    FDConnection1.close();
    const QString banco = Pasta_Empresa(settings) + QStringLiteral("dbase.s3db");
    // The log files go too: a stale write-ahead log replayed into a fresh copy would
    // corrupt it.
    for (const char* fim : {"", "-wal", "-shm", "-journal"})
        QFile::remove(banco + QLatin1String(fim));
}
