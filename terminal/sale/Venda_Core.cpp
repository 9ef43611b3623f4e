#include "Venda_Core.h"

#include "foundation/Database.h"

#include <QRandomGenerator>

#include <limits>

namespace {

// "0000" pattern: at least four digits, more when the number needs them.
QString quatroDigitos(qint32 n) {
    const qint64 v = n;
    const QString digitos = QStringLiteral("%1").arg(v < 0 ? -v : v, 4, 10, QLatin1Char('0'));
    return v < 0 ? u'-' + digitos : digitos;
}

} // namespace

QString Venda_Codigo(qint32 Vendedor_ID, qint32 id, const QDateTime& agora, int digito1,
                     int digito2) {
    // Minutes are left out of the code: "YYMMDDHH" and then the seconds.
    return QStringLiteral("PDV") + QString::number(Vendedor_ID) + quatroDigitos(id) +
           agora.toString(QStringLiteral("yyMMddHH")) + agora.toString(QStringLiteral("ss")) +
           QString::number(digito1) + QString::number(digito2);
}

QString Venda_Codigo_Novo(qint32 Vendedor_ID, qint32 id) {
    const QDateTime agora = QDateTime::currentDateTime();
    QRandomGenerator gerador(quint32(agora.toMSecsSinceEpoch()));
    const int digito1 = int(gerador.bounded(9));
    const int digito2 = int(gerador.bounded(7));
    return Venda_Codigo(Vendedor_ID, id, agora, digito1, digito2);
}

void Venda_Limpar_Campos(TVenda& venda, const QDate& hoje) {
    venda.Venda_ID = 0;
    venda.Venda_COD.clear();
    venda.Venda_dt_pedido = QDateTime(hoje, QTime(0, 0));
    venda.Venda_Dt_Venda = hoje;
    venda.Venda_status = 0;
    venda.Venda_frete = 0;
    venda.Venda_Desconto = 0;
    venda.Venda_acrecimo = 0;
    venda.Venda_Total = 0;
    venda.Venda_Produtos = 0; // the item list is emptied with the screen
    venda.Venda_dt_dia = 0;
    venda.Venda_dt_mes = 0;
    venda.Venda_dt_ano = 0;
    venda.Venda_concluido = 0;
    venda.Venda_Entrada = 0;
    venda.Venda_PIX = 0;
    venda.Venda_Cheque = 0;
    venda.Venda_Cartao = 0;
    venda.Venda_Ticket = 0;
    venda.Venda_Prazo = 0;
    venda.Venda_Troco = 0;
    venda.Venda_Obs.clear();
    venda.Venda_Cliente_ID = 0;
    venda.Venda_Cliente_CPF.clear();
    venda.Venda_Entreg_endereco.clear();
    venda.Venda_Entreg_cidade.clear();
    venda.Venda_Entreg_bairro.clear();
    venda.Venda_Entreg_cep.clear();
    venda.Plano_ID = 0;
    venda.Plano_Parcelas = 0;
    venda.Plano_Periodicidade = 0;
    venda.Plano_Carencia = 0;
    venda.Plano_Alt_Carencia = 0;
    venda.Plano_Nome.clear();
    venda.Plano_Acrecimo = 0;
    venda.Plano_Dt_Primeira = hoje;
    // Entregador_ID is left alone: opening a new sale sets it to 0.
}

bool Sincronia_Atrasada(const QDateTime& Dt_Sinc_Update, const QDateTime& agora) {
    // A moment that does not read counts as never synchronised.
    if (!Dt_Sinc_Update.isValid() || !agora.isValid()) return true;
    const qint64 segundos = qAbs(Dt_Sinc_Update.secsTo(agora));
    return segundos / 86400 > 1;
}

qint32 TDSet_Cartao::Append(TCartao_Linha linha) {
    linha.id = m_proximo++;
    m_linhas.append(linha);
    return linha.id;
}

bool TDSet_Cartao::Delete(qint32 id) {
    for (qsizetype i = 0; i < m_linhas.size(); ++i)
        if (m_linhas[i].id == id) {
            m_linhas.removeAt(i);
            return true;
        }
    return false;
}

double TDSet_Cartao::SUM_Valor() const {
    double s = 0;
    for (const TCartao_Linha& l : m_linhas)
        s += l.valor;
    return s;
}

namespace VendaDB {

qint32 Aberta(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from venda where (concluido=0)"));
    q.open();
    return q.eof() ? 0 : q.field(QStringLiteral("id")).asInteger();
}

qint32 Proximo_ID(db::Connection& c) {
    try {
        db::Query q(c);
        q.setSql(QStringLiteral("select MAX(id) as maxID from venda"));
        q.open();
        const qint64 proximo = q.eof() ? 1 : q.field(QStringLiteral("maxID")).asInt64() + 1;
        if (proximo <= 0 || proximo > std::numeric_limits<qint32>::max()) return 1;
        return qint32(proximo);
    } catch (const DbError&) {
        return 1;
    }
}

void Inserir(db::Connection& c, qint32 id, const QString& venda_cod, const QDate& Dt_Venda) {
    db::Query q(c);
    q.setSql(QStringLiteral("insert into venda (id, venda_cod, Dt_Venda, venda_status, concluido) "
                            "values (:id, :venda_cod, :Dt_Venda, 0, 0)"));
    q.bind(QStringLiteral(":id"), id);
    q.bind(QStringLiteral(":venda_cod"), venda_cod);
    q.bind(QStringLiteral(":Dt_Venda"), Dt_Venda);
    q.exec();
}

bool Carregar(db::Connection& c, qint32 id, TVenda& venda) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from venda where (id=:id)"));
    q.bind(QStringLiteral(":id"), id);
    q.open();
    if (q.eof()) return false;

    auto f = [&](const char* nome) { return q.field(QLatin1String(nome)); };
    // Read everything first, so that a failing field leaves the sale untouched.
    TVenda v = venda;
    v.Venda_ID = f("id").asInteger();
    v.Venda_COD = f("venda_cod").asString();
    v.Venda_dt_pedido = f("venda_dt_pedido").asDateTime();
    v.Venda_status = f("venda_status").asInteger();
    v.Venda_frete = f("venda_frete").asFloat();
    v.Venda_Desconto = f("venda_desconto").asFloat();
    v.Venda_acrecimo = f("venda_acrecimo").asFloat();
    v.Venda_Total = f("venda_total").asFloat();
    v.Venda_Obs = f("venda_obs").asString();
    v.Venda_Cliente_ID = f("cliente_id").asInteger();
    v.Venda_Cliente_CPF = f("cliente_cpf").asString();
    v.Venda_Entreg_endereco = f("entreg_endereco").asString();
    v.Venda_Entreg_cidade = f("entreg_cidade").asString();
    v.Venda_Entreg_bairro = f("entreg_bairro").asString();
    v.Venda_Entreg_cep = f("entreg_cep").asString();
    v.Plano_ID = f("plano_id").asInteger();
    v.Plano_Parcelas = f("plano_parcelas").asInteger();
    v.Plano_Periodicidade = f("plano_periodic").asInteger();
    v.Plano_Dt_Primeira = f("plano_dt_primeira").asDate();
    v.Plano_Carencia = f("plano_carencia").asInteger();
    v.Venda_Dt_Venda = f("Dt_Venda").asDate();
    v.Venda_dt_dia = f("venda_dt_dia").asInteger();
    v.Venda_dt_mes = f("venda_dt_mes").asInteger();
    v.Venda_dt_ano = f("venda_dt_ano").asInteger();
    v.Venda_concluido = f("concluido").asInteger();
    v.Venda_Entrada = f("entrada").asFloat();
    v.Venda_PIX = f("pix").asFloat();
    v.Venda_Cheque = f("cheque").asFloat();
    v.Venda_Cartao = f("cartao").asFloat();
    v.Venda_Ticket = f("ticket").asFloat();
    v.Venda_Prazo = f("prazo").asFloat();
    v.Venda_Troco = f("troco").asFloat();
    venda = v;
    return true;
}

qint32 ID_Por_Codigo(db::Connection& c, const QString& venda_cod) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from venda where (venda_cod=:venda_cod)"));
    q.bind(QStringLiteral(":venda_cod"), venda_cod);
    q.open();
    return q.eof() ? 0 : q.field(QStringLiteral("id")).asInteger();
}

void Cancelar(db::Connection& c, qint32 id) {
    // Half a cancellation would leave a reopened sale with its removed items still
    // marked, or a sale row without items: all three statements or none.
    db::Transaction t(c);
    db::Query q(c);
    q.setSql(QStringLiteral("delete from venda where (id=:id) and (concluido=0)"));
    q.bind(QStringLiteral(":id"), id);
    q.exec();
    q.setSql(
        QStringLiteral("delete from venda_produtos where (venda_id=:venda_id) and (concluido=0)"));
    q.bind(QStringLiteral(":venda_id"), id);
    q.exec();
    q.setSql(QStringLiteral("update venda_produtos set apagado=0 where (venda_id=:venda_id)"));
    q.bind(QStringLiteral(":venda_id"), id);
    q.exec();
    t.commit();
}

void Excluir(db::Connection& c, qint32 id) {
    db::Transaction t(c);
    db::Query q(c);
    q.setSql(QStringLiteral("delete from venda where (id=:id)"));
    q.bind(QStringLiteral(":id"), id);
    q.exec();
    // The next sale takes the largest id plus 1, so a deleted last sale's number comes
    // back: its card rows must go too, or the new sale would inherit them.
    const QString tabelas[] = {QStringLiteral("venda_produtos"), QStringLiteral("venda_cheque"),
                               QStringLiteral("vendas_descontos"), QStringLiteral("venda_cartao")};
    for (const QString& tabela : tabelas) {
        q.setSql(QStringLiteral("delete from %1 where (venda_id=:venda_id)").arg(tabela));
        q.bind(QStringLiteral(":venda_id"), id);
        q.exec();
    }
    t.commit();
}

qint32 NaoEnviadas(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral(
        "select count(id)as contID from venda where (concluido=1) and (venda_status=0)"));
    q.open();
    return q.eof() ? 0 : q.field(QStringLiteral("contID")).asInteger();
}

bool NaoEnviadas_Desde(db::Connection& c, const QDate& Dt_Venda) {
    db::Query q(c);
    q.setSql(
        QStringLiteral("select * from  venda where (Dt_Venda >= :Dt_Venda) and (venda_status<=0)"));
    q.bind(QStringLiteral(":Dt_Venda"), Dt_Venda);
    q.open();
    return !q.eof();
}

} // namespace VendaDB
