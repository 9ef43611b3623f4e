#include "Impressao_Web.h"

#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"
#include "foundation/Database.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"
#include "platform/Hosts.h"
#include "printing/Impressao_Canais.h"
#include "printing/Impressao_Perfil.h"
#include "printing/Impressao_Texto.h"

#include <QFile>
#include <QSaveFile>

namespace {

// The request and the lines under `chave`; any failure is reported and ends the action.
QStringList pedir_linhas(const TImpressao_Web& w, TChamada chamada, const QString& chave) {
    QString texto;
    try {
        const TResposta r = WebAPI_Enviar(w.cfg, w.WebAPI_URL, chamada);
        texto = r.texto;
        const JsonDocumento doc(texto);
        const JsonValor linhas = doc.raiz().array(chave);
        QStringList saida;
        for (int i = 0; i < linhas.tamanho(); ++i)
            saida << linhas[i].texto(QStringLiteral("linha"));
        return saida;
    } catch (const WebAPIError& e) {
        WebAPI_Falha_Completa(
            WebAPIError(e.message(), e.resposta().isEmpty() ? texto : e.resposta()));
    }
}

// The lines with the footer into the preview file, UTF-8 with a byte-order mark.
QString gravar(const TImpressao_Web& w, const QStringList& linhas, const TPerfil_Impressao& p) {
    const QStringList todas =
        linhas + Impressao_Web_Rodape(p.impress_Mensagem, QString(), p.impress_Salto);
    const QString arquivo = w.Sistema_DirName + QStringLiteral("PreImpressao.txt");
    QSaveFile f(arquivo);
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& l : todas)
        bytes += l.toUtf8() + "\r\n";
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw FileError(QStringLiteral("Não foi possível gravar o arquivo ") + arquivo);
    return arquivo;
}

void enviar(const TImpressao_Web& w, const TPerfil_Impressao& p, const QString& arquivo) {
    TEnvio_Impressao e = Envio_Perfil(p, Porta_Resolver(p.impress_porta, w.Pasta_Empresa), arquivo);
    e.Visualizar = false; // the account's prints go straight to the printer
    e.QRCode = Impressao_Texto_QR(w.cfg);
    Impressao_Enviar(e);
}

TChamada chamada(const QString& comando, const QList<TCampo>& campos) {
    TChamada c;
    c.comando = comando;
    c.campos = campos;
    return c;
}

} // namespace

QStringList Impressao_Web_Rodape(const QString& mensagem, const QString& slogan, int salto) {
    QStringList r;
    r << Txt_Traco(40) << QString() << mensagem.mid(0, 40);
    for (int inicio : {40, 80}) {
        const QString fatia = mensagem.mid(inicio, 40).trimmed();
        if (!fatia.isEmpty()) r << fatia;
    }
    r << QString();
    if (!slogan.trimmed().isEmpty()) r << Txt_Centro(slogan, 40) << QString();
    r << Txt_Traco(40) << Txt_Brancos(10) + Txt_Site_Fornecedor();
    for (int i = 0; i < salto + 1; ++i)
        r << QStringLiteral(" ");
    return r;
}

bool Imprime_Cupom_NaoFiscal_WEB(const TImpressao_Web& w, qint32 Venda_ID, bool Imprimir) {
    const TPerfil_Impressao p = Perfil_Ler(w.Sistema_DirName, QStringLiteral("001"));
    const QStringList linhas = pedir_linhas(
        w,
        chamada(QStringLiteral("venda_cupom"),
                {{QStringLiteral("comando"), QStringLiteral("venda_cupom")},
                 {QStringLiteral("venda_id"), QString::number(Venda_ID)},
                 {QStringLiteral("usuario_email"), w.cfg.Usuario_Email},
                 {QStringLiteral("usuario_senha"), w.cfg.Usuario_Password},
                 {QStringLiteral("cupom_modelo"), QString::number(w.cfg.conf_cupom_modelo)}}),
        QStringLiteral("cupom"));
    const QString arquivo = gravar(w, linhas, p);
    if (Imprimir && MessageBox::Confirm(QString::fromUtf8("Deseja Imprimir o Cupom Não Fiscal?")))
        enviar(w, p, arquivo);
    return true;
}

bool Imprime_Lista_Entrega_WEB(const TImpressao_Web& w, qint32 entregador_ID, bool Imprimir,
                               const QDate& dia) {
    const TPerfil_Impressao p = Perfil_Ler(w.Sistema_DirName, QStringLiteral("001"));
    const QStringList linhas = pedir_linhas(
        w,
        chamada(QStringLiteral("lista_entrega"),
                {{QStringLiteral("comando"), QStringLiteral("lista_entrega")},
                 {QStringLiteral("entregador_id"), QString::number(entregador_ID)},
                 {QStringLiteral("usuario_email"), w.cfg.Usuario_Email},
                 {QStringLiteral("usuario_senha"), w.cfg.Usuario_Password},
                 {QStringLiteral("venda_busca_data1"), WebAPI_Periodo_Dia(dia).inicio},
                 {QStringLiteral("venda_busca_data2"), WebAPI_Periodo_Dia(dia).fim}}),
        QStringLiteral("retorno"));
    const QString arquivo = gravar(w, linhas, p);
    if (Imprimir) enviar(w, p, arquivo);
    return true;
}

bool Imprime_Relatorio_GerencialWEB(const TImpressao_Web& w, const QDate& dia) {
    // Profile 001, as every print the account lays out.
    const TPerfil_Impressao p = Perfil_Ler(w.Sistema_DirName, QStringLiteral("001"));
    const QStringList linhas = pedir_linhas(
        w,
        chamada(QStringLiteral("rel_gerencial"),
                {{QStringLiteral("comando"), QStringLiteral("rel_gerencial")},
                 {QStringLiteral("usuario_email"), w.cfg.Usuario_Email},
                 {QStringLiteral("usuario_senha"), w.cfg.Usuario_Password},
                 {QStringLiteral("funcionario_id"), QString::number(w.cfg.Usuario_ID)},
                 {QStringLiteral("rel_data1"), WebAPI_Periodo_Dia(dia).inicio},
                 {QStringLiteral("rel_data2"), WebAPI_Periodo_Dia(dia).fim}}),
        QStringLiteral("retorno"));
    enviar(w, p, gravar(w, linhas, p));
    return true;
}

QString Pedido001_Key(qint32 Emp_ID, const QDate& hoje) {
    const QString interno =
        MD5(QString::number(Emp_ID) + hoje.toString(QStringLiteral("yyyy-MM-dd"))).toLower();
    return MD5(interno).toLower();
}

QString Imprime_Cupom_Pedido001_Endereco(db::Connection& c, qint32 Emp_ID, qint32 Venda_ID,
                                         const QDate& hoje) {
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select tb1.*,"));
    q.addSql(QStringLiteral("(select nome from clientes where id=tb1.cliente_id)as Cliente_Nome,"));
    q.addSql(QStringLiteral(
        "(select endereco from clientes where id=tb1.cliente_id)as Cliente_Endereco"));
    q.addSql(QStringLiteral("from venda tb1 where (id=:id) "));
    q.bind(QStringLiteral(":id"), Venda_ID);
    q.open();
    const QString documento = q.eof() ? QString() : q.field(QStringLiteral("venda_cod")).asString();
    // The portal's access value for the company's reports.
    const QString relkey = QStringLiteral("rK7") + QString::number(Emp_ID) +
                           QStringLiteral("b4Lc9Qe2Xw8Z");
    return Hosts::Portal() + QStringLiteral("/app/impressao/?relatorio=vendas_pedido001&id=") +
           QString::number(Venda_ID) + QStringLiteral("&buttonvisible=1&documento=") +
           documento + QStringLiteral("&relkey=") + relkey + QStringLiteral("&key=") +
           Pedido001_Key(Emp_ID, hoje);
}
