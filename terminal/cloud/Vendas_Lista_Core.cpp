#include "Vendas_Lista_Core.h"

#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"
#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"

#include <limits>

TLista_Linha Lista_Vendas_Criar(qint32 id, const QString& hora, const QString& data,
                                const QString& total, const QString& linha3,
                                const QString& linha2, const QString& linha1,
                                const QString& detalhe, int figura) {
    TLista_Linha l;
    l.tipo = detalhe.isEmpty() ? TLista_Tipo::Local : TLista_Tipo::Nuvem;
    l.tag = id;
    l.detalhe = detalhe;
    l.linha1 = linha1.trimmed().isEmpty() ? QStringLiteral("CLIENTE NÃO IDENTIFICADO NO CUPOM")
                                          : linha1.toUpper();
    l.linha2 = linha2;
    l.linha3 = linha3;
    l.total = total;
    l.data = data;
    l.hora = hora;
    l.figura = figura;
    return l;
}

TLista_Linha Lista_Vendas_Grupos(qint32 entregador_id, const QString& nome) {
    TLista_Linha l;
    l.tipo = TLista_Tipo::Entregador;
    l.tag = entregador_id;
    l.detalhe = QStringLiteral("Entregador");
    l.linha1 = QString::number(entregador_id) + QStringLiteral(" - ") +
               (nome.trimmed().isEmpty() ? QStringLiteral("ENTREGADOR NÃO IDENTIFICADO")
                                         : nome.toUpper());
    return l;
}

QStringList Venda_Lista_Funcionarios(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from funcionarios order by nome LIMIT 50"));
    QStringList nomes;
    for (q.open(); !q.eof(); q.next())
        nomes << q.field(QStringLiteral("nome")).asString();
    return nomes;
}

QList<TLista_Linha> Venda_Lista_Locais(db::Connection& c, const QDate& dia,
                                       const QString& mascara) {
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select tb1.*, "));
    q.addSql(QStringLiteral("(select nome from clientes where (id=tb1.cliente_id))as cliente, "));
    q.addSql(QStringLiteral(
        "(select nome from funcionarios where (id=tb1.vendedor_id))as vendedor_nome "));
    q.addSql(QStringLiteral("from  venda tb1 where (Dt_Venda = :Dt_Venda) and (venda_status<=0)"));
    q.addSql(QStringLiteral("Order By id DESC"));
    q.bind(QStringLiteral(":Dt_Venda"), dia);
    QList<TLista_Linha> linhas;
    for (q.open(); !q.eof(); q.next()) {
        QString cliente = q.field(QStringLiteral("cliente")).asString().trimmed();
        if (cliente.isEmpty()) cliente = QStringLiteral("Cliente não Encontrado");
        const QDate data = q.field(QStringLiteral("Dt_Venda")).asDate();
        // The day alone has no time; the moment the sale was concluded gives it.
        const QTime t = q.field(QStringLiteral("venda_dt_pedido")).asDateTime().time();
        const QString hora = t.isValid() ? t.toString(QStringLiteral("h:m:s"))
                                         : QStringLiteral("0:0:0");
        linhas << Lista_Vendas_Criar(
            q.field(QStringLiteral("id")).asInteger(), hora,
            data.toString(QStringLiteral("dd/MM/yyyy")),
            FormatFloat(mascara, q.field(QStringLiteral("venda_total")).asFloat()),
            q.field(QStringLiteral("vendedor_nome")).asString(),
            QStringLiteral("N° VENDA: ") + q.field(QStringLiteral("venda_cod")).asString().toUpper(),
            cliente, QString(), 0);
    }
    return linhas;
}

void Venda_Lista_Nuvem(const JsonValor& raiz, const QString& Emp_Nome, const QString& mascara,
                       QList<TLista_Linha>& linhas) {
    const JsonValor vendas = raiz.array(QStringLiteral("vendas"));
    qint64 anterior = std::numeric_limits<qint64>::min(); // no courier has this id
    for (int i = 0; i < vendas.tamanho(); ++i) {
        const JsonValor v = vendas[i];
        const qint32 id = v.inteiro(QStringLiteral("id"), 0);
        const qint32 entregador = v.inteiro(QStringLiteral("entregador_id"), 0);
        QString nome = v.texto(QStringLiteral("entregador_nome"), QString());
        const QString clie_nome = v.texto(QStringLiteral("clie_nome"));
        const QString clie_cpf = v.texto(QStringLiteral("clie_cpf"));
        const QString vendedor = v.texto(QStringLiteral("vendedor_nome"));
        const double total = v.numero(QStringLiteral("valor_total"));
        const QString dt_venda = v.texto(QStringLiteral("dt_venda"));
        const QString numero = v.texto(QStringLiteral("numero_venda"));
        const qint32 faturamento = v.inteiro(QStringLiteral("faturamento_id"), 1);
        QDateTime dt;
        try {
            dt = DateMySQLToDateTime(dt_venda);
        } catch (const std::exception&) {
            throw WebAPIError(QStringLiteral("Data de venda inválida: ") + dt_venda,
                              QString());
        }
        if (entregador == 0) nome = Emp_Nome;
        if (entregador != anterior) {
            linhas << Lista_Vendas_Grupos(entregador, nome);
            anterior = entregador;
        }
        linhas << Lista_Vendas_Criar(id, dt.time().toString(QStringLiteral("hh:mm:ss")),
                                     dt.date().toString(QStringLiteral("dd/MM/yyyy")),
                                     FormatFloat(mascara, total),
                                     QStringLiteral("VEND: ") + vendedor, clie_cpf, clie_nome,
                                     numero, faturamento > 0 ? 2 : 1);
    }
}

void Venda_Lista_WebAPI(const TSettings& cfg, const QString& WebAPI_URL, const QString& busca,
                        const QDate& dia, QList<TLista_Linha>& linhas) {
    const TPeriodo periodo = WebAPI_Periodo_Dia(dia);
    TChamada chamada;
    chamada.comando = QStringLiteral("venda_consultas");
    chamada.campos = {{QStringLiteral("usuario_email"), cfg.Usuario_Email},
                      {QStringLiteral("usuario_senha"), cfg.Usuario_Password},
                      {QStringLiteral("comando"), chamada.comando},
                      {QStringLiteral("venda_busca"), busca},
                      {QStringLiteral("venda_busca_data1"), periodo.inicio},
                      {QStringLiteral("venda_busca_data2"), periodo.fim}};
    const TResposta resposta = WebAPI_Enviar(cfg, WebAPI_URL, chamada);
    const JsonDocumento doc(resposta.texto);
    try {
        Venda_Lista_Nuvem(doc.raiz(), cfg.Emp_Nome, cfg.conf_Mask_Decimal, linhas);
    } catch (const WebAPIError& e) {
        throw WebAPIError(e.message(), resposta.texto);
    }
}

bool Entregador_Update_WEB(const TSettings& cfg, const QString& WebAPI_URL, qint32 venda_id,
                           qint32 entregador_id) {
    TChamada chamada;
    chamada.comando = QStringLiteral("entregador_update");
    chamada.campos = {{QStringLiteral("comando"), chamada.comando},
                      {QStringLiteral("venda_id"), QString::number(venda_id)},
                      {QStringLiteral("entregador_id"), QString::number(entregador_id)},
                      {QStringLiteral("usuario_email"), cfg.Usuario_Email},
                      {QStringLiteral("usuario_senha"), cfg.Usuario_Password}};
    try {
        WebAPI_Enviar(cfg, WebAPI_URL, chamada);
    } catch (const WebAPIError& e) {
        WebAPI_Falha_Completa(e);
    }
    return true;
}

QString Venda_Lista_Codigo_Reabrir(db::Connection& c, const TLista_Linha& linha) {
    db::Query q(c);
    switch (linha.tipo) {
    case TLista_Tipo::Entregador:
        return QString();
    case TLista_Tipo::Local:
        q.setSql(QStringLiteral("select venda_cod from venda where id = :id"));
        q.bind(QStringLiteral(":id"), linha.tag);
        break;
    case TLista_Tipo::Nuvem:
        q.setSql(QStringLiteral("select venda_cod from venda where venda_cod = :venda_cod"));
        q.bind(QStringLiteral(":venda_cod"), linha.detalhe);
        break;
    }
    q.open();
    return q.eof() ? QString() : q.field(0).asString();
}

qint32 Venda_Lista_Status(db::Connection& c, qint32 id) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from  venda where (id = :id)"));
    q.bind(QStringLiteral(":id"), id);
    q.open();
    return q.eof() ? -1 : q.field(QStringLiteral("venda_status")).asInteger();
}
