#include "Terminal_Consulta.h"

#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"
#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QByteArray Terminal_Arquivo_Conteudo(db::Connection& conexao) {
    db::Query q(conexao);
    q.setSql(QStringLiteral("select * from produtos order by id"));
    q.open();
    QByteArray arquivo("\xEF\xBB\xBF");
    QString linha;
    while (!q.eof()) {
        linha = q.field(QStringLiteral("cbarra")).asString().left(13);
        linha += u'|';
        linha += q.field(QStringLiteral("produto")).asString().left(20);
        linha += u'|';
        linha += FormatFloat(QStringLiteral("0.00,"), q.field(QStringLiteral("venda")).asFloat());
        linha += u"|\r\n";
        arquivo += linha.toUtf8();
        q.next();
    }
    return arquivo;
}

void Terminal_Arquivo_Gravar(const QString& arquivo, const QString& banco) {
    // Opening a missing file would create an empty database in its place.
    if (!QFileInfo::exists(banco))
        throw FileError(QStringLiteral("Banco não encontrado: ") + banco);
    QByteArray conteudo;
    {
        db::Connection conexao;
        conexao.open(banco, db::Journal::Wal, db::Sync::Normal);
        conteudo = Terminal_Arquivo_Conteudo(conexao);
    }
    const QFileInfo destino(arquivo);
    if (!QDir().mkpath(destino.absolutePath()))
        throw FileError(QStringLiteral("Não foi possível criar a pasta ") + destino.absolutePath());
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size() || !f.commit())
        throw FileError(QStringLiteral("Não foi possível gravar ") + arquivo +
                        QStringLiteral(": ") + f.errorString());
}
