#include "Finalizacao_Core.h"

#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Venda_Core.h"

#include <cmath>

namespace {

const QString MASCARA = QStringLiteral("0.00,");

// Amounts have at most four decimals, so any real difference is far above this; what is
// below it is the noise of adding them in floating point (0,70 + 0,10 is not 0,80).
constexpr double FOLGA = 0.000001;

bool acima(double a, double b) {
    return a - b > FOLGA;
}

double semRuido(double v) {
    return std::fabs(v) < FOLGA ? 0 : v;
}

TFinaliza_Passo recusa(Finaliza_Recusa r, const QString& mensagem, bool mostra,
                       Finaliza_Pagina pagina, const QString& foco) {
    TFinaliza_Passo p;
    p.Recusa = r;
    p.Mensagem = mensagem;
    p.Mostra_Pagina = mostra;
    p.Pagina = pagina;
    p.Foco = foco;
    return p;
}

} // namespace

TFinaliza_Calc Venda_Finaliza_Calc(const TFinaliza_Campos& campos) {
    TFinaliza_Calc r;
    r.T = StringToFloat(campos.Lab_Cupom_Total);
    r.D = StringToFloat(campos.Edt_PG_Dinheiro);
    r.P = StringToFloat(campos.Edt_PG_PIX);
    // Once cash and PIX cover the sale, cheque and card go back to zero.
    if (acima(r.T, r.D + r.P)) {
        r.C = StringToFloat(campos.Edt_PG_Cheque);
        r.K = StringToFloat(campos.Edt_PG_Cartao);
    }
    r.X = semRuido(r.T - (r.D + r.P + r.C + r.K));
    r.R = r.X > 0 ? r.X : 0;

    r.Campos = campos;
    r.Campos.Edt_PG_Dinheiro = FormatFloat(MASCARA, r.D);
    r.Campos.Edt_PG_PIX = FormatFloat(MASCARA, r.P);
    r.Campos.Edt_PG_Cheque = FormatFloat(MASCARA, r.C);
    r.Campos.Edt_PG_Cartao = FormatFloat(MASCARA, r.K);
    r.Campos.Edt_PG_Restante = FormatFloat(MASCARA, r.R);
    r.Troco_Visivel = r.X < 0;
    r.Campos.Edt_PG_Troco = r.Troco_Visivel ? FormatFloat(MASCARA, -r.X) : QStringLiteral("0");
    r.Restante_Visivel = !r.Troco_Visivel;
    return r;
}

int Cartao_Parcelas_Max(const QString& forma) {
    return forma.trimmed() == QStringLiteral("Débito") ? 1 : 100;
}

QString Cartao_Valor_Restante(double cartao, double Total_Cartao) {
    const double falta = semRuido(cartao - Total_Cartao);
    return falta < 0 ? QStringLiteral("0,00") : FormatFloat(MASCARA, falta);
}

TCartao_Resultado Cartao_Adicionar(TDSet_Cartao& cartoes, const TCartao_Entrada& e) {
    TCartao_Resultado r;
    auto recusa = [&r](const QString& mensagem, const char* foco, bool mostra = false) {
        r.Mensagem = mensagem;
        r.Foco = QLatin1String(foco);
        r.Mostra_Pagina = mostra;
        return r;
    };
    const QString forma = e.Forma.trimmed();
    if (forma.isEmpty())
        return recusa(QStringLiteral("Preencha a Forma de pagamento."), "Cbx_Cart_Forma");
    // Counted as stored: 0,4 instalments would be saved as none.
    const qint64 parcelas = std::llround(e.Parcelas);
    if (!(parcelas > 0))
        return recusa(QStringLiteral("Preencha a Quantidade de Parcelas."), "Spn_Cart_Parcelas");
    const double valor = StringToFloat(e.Valor);
    if (!(valor > 0))
        return recusa(QStringLiteral("Preencha o valor corretamente."), "Edt_Cart_Valor");
    const double cartao = StringToFloat(e.Edt_PG_Cartao);
    const double total = cartoes.SUM_Valor();
    if (!acima(cartao, total))
        return recusa(QStringLiteral("O valor pago em cartão já é maior qu o valor informado."),
                      "Edt_PG_Cartao", true);
    QString operadora = e.Operadora.trimmed();
    if (operadora.isEmpty() && !e.Operadoras.isEmpty()) operadora = e.Operadoras.first().trimmed();
    // A card row without an operator could not be settled with anyone.
    if (operadora.isEmpty())
        return recusa(QStringLiteral("Nenhuma operadora de cartão cadastrada. Sincronize os "
                                     "dados antes de lançar o pagamento em cartão."),
                      "Cbx_Cart_Operad");

    TCartao_Linha linha;
    linha.operadora = operadora;
    linha.forma = forma;
    linha.valor = valor;
    linha.cliente = e.Proprietario.trimmed();
    // The spin box holds debit to one instalment; the table must not disagree with it.
    linha.parcelas = qint32(qMin<qint64>(parcelas, Cartao_Parcelas_Max(forma)));
    cartoes.Append(linha);

    r.Adicionado = true;
    r.Total_Cartao = cartoes.SUM_Valor();
    r.Edt_Cart_Valor = Cartao_Valor_Restante(cartao, r.Total_Cartao);
    r.Finalizar = !acima(cartao, r.Total_Cartao);
    r.Foco = r.Finalizar ? QString() : QStringLiteral("Cbx_Cart_Forma");
    return r;
}

TCartao_Textos Cartao_Linha_Textos(const TCartao_Linha& linha) {
    return {linha.operadora, linha.forma.left(3), QString::number(linha.parcelas) + u'x',
            QStringLiteral("R$ ") + FormatFloat(MASCARA, linha.valor)};
}

TPlano Plano_Abre(db::Connection& c, const QString& plano, qint32 id, const QDate& hoje) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from pagamentos where (id=:id) or (plano=:plano) "));
    q.bind(QStringLiteral(":id"), id);
    q.bind(QStringLiteral(":plano"), plano);
    q.open();
    TPlano p;
    if (q.eof()) {
        p.Plano_ID = 0;
        p.Plano_Nome = QStringLiteral("Não informado");
        p.Plano_Parcelas = 1;
        p.Plano_Acrecimo = 0;
        p.Plano_Periodicidade = 30;
        p.Plano_Dt_Primeira = hoje.addMonths(1);
        p.Data_Habilitada = true;
        p.Parcelas_Habilitada = true;
        return p;
    }
    auto f = [&](const char* nome) { return q.field(QLatin1String(nome)); };
    p.Plano_ID = f("id").asInteger();
    p.Plano_Nome = f("plano").asString();
    p.Plano_Parcelas = f("parcelas").asInteger();
    p.Plano_Acrecimo = f("acrecimo").asFloat();
    p.Plano_Periodicidade = f("periodicidade").asInteger();
    p.Plano_Carencia = f("carencia").asInteger();
    p.Plano_Alt_Carencia = f("alt_carencia").asInteger();
    p.Plano_Dt_Primeira = hoje.addDays(p.Plano_Carencia);
    p.Data_Habilitada = p.Plano_Alt_Carencia == 1;
    p.Parcelas_Habilitada = false;
    return p;
}

void Plano_Aplica(TVenda& venda, const TPlano& plano) {
    venda.Plano_ID = plano.Plano_ID;
    venda.Plano_Nome = plano.Plano_Nome;
    venda.Plano_Parcelas = plano.Plano_Parcelas;
    venda.Plano_Acrecimo = plano.Plano_Acrecimo;
    venda.Plano_Periodicidade = plano.Plano_Periodicidade;
    venda.Plano_Carencia = plano.Plano_Carencia;
    venda.Plano_Alt_Carencia = plano.Plano_Alt_Carencia;
    venda.Plano_Dt_Primeira = plano.Plano_Dt_Primeira;
}

QList<TPlano_Linha> Plano_List(const QDate& primeira, double parcelas, double prazo,
                               qint32 periodicidade) {
    QList<TPlano_Linha> linhas;
    const qint64 n = std::llround(parcelas);
    if (n <= 0 || !primeira.isValid()) return linhas;
    const QString NN = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    // Every line shows the same rounded share; no instalment takes up the remainder.
    const QString valor = QStringLiteral("R$ ") + FormatFloat(MASCARA, prazo / double(n));
    QDate d = primeira;
    for (qint64 i = 1; i <= n; ++i) {
        TPlano_Linha l;
        l.Data = d;
        l.Parcela = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')) +
                    QStringLiteral("° PACELA DE ") + NN;
        l.Dia = d.toString(QStringLiteral("dd/MM")) + u' ' + DiaSemana(d);
        l.Valor = valor;
        linhas.append(l);
        // addMonths keeps the day or falls back to the month's last one, from the
        // previous date: 31/01, 28/02, 28/03.
        d = periodicidade == 30 ? d.addMonths(1) : d.addDays(periodicidade);
    }
    return linhas;
}

TFinaliza_Passo Finaliza_Validar(const TFinaliza_Campos& campos, const TFinaliza_Estado& estado,
                                 const TDSet_Cartao& cartoes) {
    using P = Finaliza_Pagina;
    using R = Finaliza_Recusa;
    // Without a seller the sale would be saved under nobody's commission.
    if (!estado.Vendedor_Selecionado)
        return recusa(
            R::Vendedor,
            QStringLiteral("Selecione o Vendedor Comissionado antes de finalizar a venda."), true,
            P::Cliente, QStringLiteral("Cbx_Vendedor"));

    const TFinaliza_Calc v = Venda_Finaliza_Calc(campos);
    if (!estado.Credito_Aprovado)
        return recusa(R::Credito, QStringLiteral("O valor da compra não foi aprovado."), true,
                      P::Cliente, QString());
    if (!(v.T > 0))
        return recusa(R::Valores, QStringLiteral("Preencha os valores das formas de pagamento."),
                      false, P::Cliente, QStringLiteral("Edt_PG_Dinheiro"));
    if (v.C > 0) {
        const TCheque& ch = estado.Cheque;
        const char* falta = nullptr;
        if (ch.Cliente.trimmed().isEmpty())
            falta = "Edt_Cheq_Cliente";
        else if (SoNumeros(ch.Numero).isEmpty())
            falta = "Edt_Cheq_Numero";
        else if (ch.Banco.trimmed().isEmpty())
            falta = "Cbx_Cheq_Banco";
        else if (SoNumeros(ch.Conta).isEmpty())
            falta = "Edt_Cheq_Conta";
        if (falta) return recusa(R::Cheque, QString(), true, P::Cheque, QLatin1String(falta));
    }
    if (!estado.pix_ok && v.P > 0 && estado.Plano_ID <= 0)
        return recusa(R::Pix, QString(), true, P::Pix, QString());
    if (v.K > 0) {
        if (cartoes.isEmpty())
            return recusa(R::Cartao_Vazio, QString(), true, P::Cartao,
                          QStringLiteral("Cbx_Cart_Forma"));
        if (acima(v.K, cartoes.SUM_Valor()))
            return recusa(R::Cartao_Incompleto,
                          QStringLiteral("O pagamento em cartão não atingiu sua totalidade."), true,
                          P::Cartao, QStringLiteral("Cbx_Cart_Forma"));
    }
    if (v.X > 0 && estado.Plano_ID <= 0)
        return recusa(R::Plano, QStringLiteral("Adicione o Plano de Pagamento"), true, P::Restante,
                      QStringLiteral("Cbx_Rest_Plano"));
    // Finalising from another page first brings the customer page back.
    if (estado.Pagina_Atual != P::Cliente)
        return recusa(R::Pagina, QString(), true, P::Cliente, QStringLiteral("Cbx_Vendedor"));
    if (estado.Venda_Cliente_ID <= 0 && (v.R > 0 || v.C > 0))
        return recusa(R::Cliente, QString(), true, P::Cliente, QString());
    return {};
}

void Venda_Cadastra_Cheque(db::Connection& c, qint32 venda_id, const QString& venda_cod,
                           double cheque, const TCheque& dados) {
    db::Query q(c);
    // A reopened sale paid again without a cheque must not keep the old one.
    q.setSql(QStringLiteral("delete from venda_cheque where venda_cod=:venda_cod"));
    q.bind(QStringLiteral(":venda_cod"), venda_cod);
    q.exec();
    if (!(cheque > 0)) return;
    q.clearSql();
    q.addSql(QStringLiteral("INSERT INTO venda_cheque (venda_id, venda_cod, cliente, cliente_cpf, "
                            "banco, numero, conta, agencia, dt_compensacao)"));
    q.addSql(QStringLiteral("VALUES (:venda_id, :venda_cod, :cliente, :cliente_cpf, :banco, "
                            ":numero, :conta, :agencia, :dt_compensacao)"));
    q.bind(QStringLiteral(":venda_id"), venda_id);
    q.bind(QStringLiteral(":venda_cod"), venda_cod);
    q.bind(QStringLiteral(":cliente"), dados.Cliente.trimmed());
    q.bind(QStringLiteral(":cliente_cpf"), SoNumeros(dados.CPF));
    q.bind(QStringLiteral(":banco"), dados.Banco.trimmed());
    q.bind(QStringLiteral(":numero"), dados.Numero.trimmed());
    q.bind(QStringLiteral(":conta"), dados.Conta.trimmed());
    q.bind(QStringLiteral(":agencia"), dados.Agencia.trimmed());
    q.bind(QStringLiteral(":dt_compensacao"), dados.Dt_Compensacao);
    q.exec();
}

void Venda_Cadastra_Cartao(db::Connection& c, qint32 venda_id, const QString& venda_cod,
                           double cartao, const TDSet_Cartao& cartoes) {
    db::Query q(c);
    // Rows of an earlier conclusion go even when no card pays this time: the upload and
    // the receipt read them by sale id.
    q.setSql(QStringLiteral("delete from venda_cartao where venda_id=:venda_id"));
    q.bind(QStringLiteral(":venda_id"), venda_id);
    q.exec();
    if (!(cartao > 0)) return;
    q.clearSql();
    q.addSql(QStringLiteral("INSERT INTO venda_cartao (venda_id, venda_cod, cliente, operadora, "
                            "forma, valor, parcelas)"));
    q.addSql(QStringLiteral(
        "VALUES (:venda_id, :venda_cod, :cliente, :operadora, :forma, :valor, :parcelas)"));
    for (const TCartao_Linha& l : cartoes.Linhas()) {
        q.bind(QStringLiteral(":venda_id"), venda_id);
        q.bind(QStringLiteral(":venda_cod"), venda_cod);
        q.bind(QStringLiteral(":cliente"), l.cliente);
        q.bind(QStringLiteral(":operadora"), l.operadora);
        q.bind(QStringLiteral(":forma"), l.forma);
        q.bind(QStringLiteral(":valor"), l.valor);
        q.bind(QStringLiteral(":parcelas"), l.parcelas);
        q.exec();
    }
}

void Venda_Finaliza_Grava(db::Connection& c, const TVenda& venda, const TFinaliza_Campos& campos,
                          qint32 Vendedor_ID, qint32 Entregador_ID, const TCheque& cheque,
                          const TDSet_Cartao& cartoes, const QDate& hoje) {
    const double total = StringToFloat(campos.Lab_Cupom_Total);
    const double dinheiro = StringToFloat(campos.Edt_PG_Dinheiro);
    const double pix = StringToFloat(campos.Edt_PG_PIX);
    const double valorCheque = StringToFloat(campos.Edt_PG_Cheque);
    const double cartao = StringToFloat(campos.Edt_PG_Cartao);
    const double prazo = StringToFloat(campos.Edt_PG_Restante);
    const double troco = StringToFloat(campos.Edt_PG_Troco);
    const double entrada = semRuido(dinheiro - troco);
    const bool temCliente = !venda.Venda_Cliente_CPF.trimmed().isEmpty();
    auto doCliente = [temCliente](const QString& t) {
        return temCliente ? t.trimmed() : QString();
    };

    // A concluded sale with its items still open, or without its card rows, would be
    // uploaded and printed wrong: everything or nothing.
    db::Transaction t(c);
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral(
        "INSERT OR REPLACE INTO venda (id, venda_cod, venda_dt_pedido, venda_status, venda_frete, "
        "venda_desconto, venda_acrecimo, venda_total, venda_obs, cliente_id,"));
    q.addSql(QStringLiteral(
        "cliente_cpf, entreg_endereco, entreg_cidade, entreg_bairro, entreg_cep, vendedor_id, "
        "entregador_id, plano_id, plano_parcelas, plano_dt_primeira, Dt_Venda,"));
    q.addSql(QStringLiteral("venda_dt_dia, venda_dt_mes, venda_dt_ano, entrada, pix, cheque, "
                            "cartao, prazo, troco, concluido)"));
    q.addSql(QStringLiteral(
        "VALUES (:id, :venda_cod, NOW(), :venda_status, :venda_frete, :venda_desconto, "
        ":venda_acrecimo, :venda_total, :venda_obs, :cliente_id,"));
    q.addSql(QStringLiteral(
        ":cliente_cpf, :entreg_endereco, :entreg_cidade, :entreg_bairro, :entreg_cep, "
        ":vendedor_id, :entregador_id, :plano_id, :plano_parcelas, :plano_dt_primeira, "
        ":Dt_Venda,"));
    q.addSql(QStringLiteral(":venda_dt_dia, :venda_dt_mes, :venda_dt_ano, :entrada, :pix, "
                            ":cheque, :cartao, :prazo, :troco, :concluido)"));
    q.bind(QStringLiteral(":id"), venda.Venda_ID);
    q.bind(QStringLiteral(":venda_cod"), venda.Venda_COD);
    q.bind(QStringLiteral(":venda_status"), 0);
    q.bind(QStringLiteral(":venda_frete"), 0.0);
    q.bind(QStringLiteral(":venda_desconto"), venda.Venda_Desconto);
    q.bind(QStringLiteral(":venda_acrecimo"), 0.0);
    q.bind(QStringLiteral(":venda_total"), total);
    q.bind(QStringLiteral(":venda_obs"), QString());
    q.bind(QStringLiteral(":cliente_id"), temCliente ? venda.Venda_Cliente_ID : 0);
    q.bind(QStringLiteral(":cliente_cpf"), SoNumeros(venda.Venda_Cliente_CPF));
    q.bind(QStringLiteral(":entreg_endereco"), doCliente(venda.Venda_Entreg_endereco));
    q.bind(QStringLiteral(":entreg_cidade"), doCliente(venda.Venda_Entreg_cidade));
    q.bind(QStringLiteral(":entreg_bairro"), doCliente(venda.Venda_Entreg_bairro));
    q.bind(QStringLiteral(":entreg_cep"), doCliente(venda.Venda_Entreg_cep));
    q.bind(QStringLiteral(":vendedor_id"), Vendedor_ID);
    q.bind(QStringLiteral(":entregador_id"), Entregador_ID);
    q.bind(QStringLiteral(":plano_id"), venda.Plano_ID);
    q.bind(QStringLiteral(":plano_parcelas"), venda.Plano_Parcelas);
    q.bind(QStringLiteral(":plano_dt_primeira"), venda.Plano_Dt_Primeira);
    q.bind(QStringLiteral(":Dt_Venda"), hoje);
    q.bind(QStringLiteral(":venda_dt_dia"), hoje.day());
    q.bind(QStringLiteral(":venda_dt_mes"), hoje.month());
    q.bind(QStringLiteral(":venda_dt_ano"), hoje.year());
    q.bind(QStringLiteral(":entrada"), entrada > 0 ? entrada : 0.0);
    q.bind(QStringLiteral(":pix"), pix);
    q.bind(QStringLiteral(":cheque"), valorCheque);
    q.bind(QStringLiteral(":cartao"), cartao);
    q.bind(QStringLiteral(":prazo"), prazo);
    q.bind(QStringLiteral(":troco"), troco);
    q.bind(QStringLiteral(":concluido"), 1);
    q.exec();

    q.setSql(
        QStringLiteral("delete from venda_produtos where (apagado=1) and (venda_cod=:venda_cod)"));
    q.bind(QStringLiteral(":venda_cod"), venda.Venda_COD);
    q.exec();
    q.setSql(QStringLiteral("update venda_produtos set concluido=1 where venda_cod=:venda_cod"));
    q.bind(QStringLiteral(":venda_cod"), venda.Venda_COD);
    q.exec();

    Venda_Cadastra_Cheque(c, venda.Venda_ID, venda.Venda_COD, valorCheque, cheque);
    Venda_Cadastra_Cartao(c, venda.Venda_ID, venda.Venda_COD, cartao, cartoes);
    t.commit();
}
