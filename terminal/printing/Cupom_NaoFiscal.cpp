#include "Cupom_NaoFiscal.h"

#include "Impressao_Canais.h"
#include "Impressao_Perfil.h"
#include "Impressao_Texto.h"

#include "foundation/DModule_Unit.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"

namespace {

constexpr int W = 41;

std::function<QDateTime()>& Relogio() {
    static std::function<QDateTime()> relogio;
    return relogio;
}

void Ler_Venda(db::Query& q, qint32 Venda_ID, TCupom_Dados& d, qint64& id) {
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("select tb1.*,"));
    q.addSql(QStringLiteral("(select plano from pagamentos where id=tb1.plano_id)as Plano_Nome,"));
    q.addSql(QStringLiteral("(select nome from clientes where id=tb1.cliente_id)as Cliente_Nome,"));
    q.addSql(QStringLiteral(
        "(select nome from funcionarios where id=tb1.vendedor_id)as vendedor_Nome,"));
    q.addSql(QStringLiteral(
        "(select nome from funcionarios where id=tb1.entregador_id)as entregador_Nome,"));
    q.addSql(QStringLiteral(
        "(select endereco from clientes where id=tb1.cliente_id)as Cliente_Endereco"));
    q.addSql(QStringLiteral("from venda tb1 where (id=:id) "));
    q.bind(QStringLiteral(":id"), Venda_ID);
    q.open();
    if (q.eof()) { // an unknown sale prints with empty fields and zeros
        q.close();
        return;
    }
    auto texto = [&](const char* c) { return q.field(QLatin1String(c)).asString(); };
    auto valor = [&](const char* c) { return q.field(QLatin1String(c)).asFloat(); };
    id = q.field(QStringLiteral("id")).asInt64();
    d.venda_cod = texto("venda_cod");
    d.cliente_id = texto("cliente_id");
    d.cliente_cpf = texto("cliente_cpf");
    d.vendedor_id = texto("vendedor_id");
    d.entregador_id = texto("entregador_id");
    d.plano_id = q.field(QStringLiteral("plano_id")).asInteger();
    d.Plano_Nome = texto("Plano_Nome");
    d.Cliente_Nome = texto("Cliente_Nome");
    d.Cliente_Endereco = texto("Cliente_Endereco");
    d.vendedor_Nome = texto("vendedor_Nome");
    d.entregador_Nome = texto("entregador_Nome");
    d.venda_desconto = valor("venda_desconto");
    d.entrada = valor("entrada");
    d.pix = valor("pix");
    d.cheque = valor("cheque");
    d.cartao = valor("cartao");
    d.prazo = valor("prazo");
    d.troco = valor("troco");
    q.close();
}

void Ler_Itens(db::Query& q, qint32 Venda_ID, TCupom_Dados& d) {
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("Select tb1.*, "));
    q.addSql(QStringLiteral(
        "(select produto from produtos tb2 where (tb2.id=tb1.prod_id)) as Prod_Nome, "));
    q.addSql(QStringLiteral(
        "(select marca from produtos tb2 where (tb2.id=tb1.prod_id)) as prod_marca"));
    q.addSql(QStringLiteral("from venda_produtos tb1 where (venda_id=:venda_id)"));
    q.bind(QStringLiteral(":venda_id"), Venda_ID);
    for (q.open(); !q.eof(); q.next()) {
        TCupom_Item i;
        i.produto = q.field(QStringLiteral("produto")).asString();
        i.prod_marca = q.field(QStringLiteral("prod_marca")).asString();
        i.prod_medida = q.field(QStringLiteral("prod_medida")).asString();
        i.prod_venda = q.field(QStringLiteral("prod_venda")).asFloat();
        i.prod_qtd = q.field(QStringLiteral("prod_qtd")).asFloat();
        i.prod_desc = q.field(QStringLiteral("prod_desc")).asFloat();
        i.prod_descCC = q.field(QStringLiteral("prod_descCC")).asFloat();
        d.Itens.append(i);
    }
    q.close();
}

void Ler_Cartoes(db::Query& q, qint64 id, TCupom_Dados& d) {
    q.close();
    q.setSql(QStringLiteral("Select * From venda_cartao where (venda_id=:venda_id)"));
    q.bind(QStringLiteral(":venda_id"), id);
    for (q.open(); !q.eof(); q.next()) {
        TCupom_Cartao c;
        c.operadora = q.field(QStringLiteral("operadora")).asString();
        c.forma = q.field(QStringLiteral("forma")).asString();
        c.parcelas = q.field(QStringLiteral("parcelas")).asInteger();
        c.valor = q.field(QStringLiteral("valor")).asFloat();
        d.Cartoes.append(c);
    }
    q.close();
}

} // namespace

QDateTime Impressao_Agora() {
    return Relogio() ? Relogio()() : QDateTime::currentDateTime();
}

void Impressao_Definir_Relogio(std::function<QDateTime()> relogio) {
    Relogio() = std::move(relogio);
}

QStringList Cupom_Linhas(const TCupom_Dados& d, const QDateTime& agora) {
    auto fmt = [&](double v) { return FormatFloat(d.Mascara, v); };
    const QString traco = Txt_Traco(W);
    QStringList L;

    L << traco;
    L << Txt_Centro(d.Emp_Nome, W).toUpper();
    const QString endereco =
        d.Emp_Endereco + QStringLiteral(", ") + d.Emp_Numero + QStringLiteral(", ") + d.Emp_Bairro;
    L << (Txt_Brancos(Txt_Centro_Espacos(endereco, W)) + Txt_Corte(endereco, 40)).toUpper();
    L << Txt_Centro(d.Emp_Cidade + QStringLiteral(" - ") + d.Emp_UF + QStringLiteral(" FONE:") +
                        d.Emp_Fone,
                    W)
             .toUpper();
    L << Txt_Brancos(11) + agora.toString(QStringLiteral("dd/MM/yyyy - HH:mm:ss"));
    L << QStringLiteral("         NAO TEM VALIDADE FISCAL");
    L << traco;

    const QString terminal = d.conf_Terminal_Tipo + u'-' +
                             QStringLiteral("%1").arg(d.conf_Terminal_Num, 3, 10, QLatin1Char('0'));
    L << Txt_Rotulo(QStringLiteral("N. Venda:"), 46, d.venda_cod);
    L << Txt_Rotulo(QStringLiteral("Terminal:"), 46, terminal);
    L << Txt_Rotulo(QStringLiteral("Vendedor:"), 46,
                    Txt_Corte(d.vendedor_id + u'-' + d.vendedor_Nome, 27));
    L << Txt_Rotulo(QStringLiteral("Entregador:"), 46,
                    Txt_Corte(d.entregador_id + u'-' + d.entregador_Nome, 27));
    L << traco;
    L << Txt_Corte(QStringLiteral("Cliente:    ") + d.cliente_id + u'-' + d.Cliente_Nome, W);
    L << Txt_Corte(QStringLiteral("CPF:        ") + d.cliente_cpf, W);
    L << Txt_Corte(QStringLiteral("Endereço:   ") + d.Cliente_Endereco, W);
    L << traco;
    L << QStringLiteral("ITEM/QTD       UNID       MEDIDA    VALOR");

    double total = 0;
    for (const TCupom_Item& i : d.Itens) {
        const double valor = i.prod_venda * i.prod_qtd - (i.prod_desc + i.prod_descCC);
        total += valor;
        L << Txt_Corte(i.produto + Txt_Brancos(70), 34) + u'-' + Txt_Corte(i.prod_marca, 6);
        const QString desconto = i.prod_desc > 0
                                     ? QStringLiteral(" - ") + Txt_Esquerda(fmt(i.prod_desc), 6)
                                     : Txt_Brancos(9);
        L << Txt_Esquerda(fmt(i.prod_qtd), 6) + QStringLiteral(" X ") +
                 Txt_Direita(fmt(i.prod_venda), 7) + desconto +
                 Txt_Corte(i.prod_medida + Txt_Brancos(17), 7) + Txt_Direita(fmt(valor), 9);
        L << QStringLiteral(" ");
    }

    L << traco;
    L << Txt_Rotulo(QStringLiteral("Valor Total:"), 52, fmt(total));
    if (d.venda_desconto > 0) {
        L << Txt_Rotulo(QStringLiteral("Desconto Global:"), 55, fmt(d.venda_desconto));
        L << Txt_Rotulo(QStringLiteral("Total Geral:"), 52, fmt(total - d.venda_desconto));
    }
    L << QString();
    L << QStringLiteral("Forma de Pagamento:");
    if (d.entrada > 0) L << Txt_Rotulo(QStringLiteral("    Dinheiro:"), 53, fmt(d.entrada));
    if (d.pix > 0) L << Txt_Rotulo(QStringLiteral("    PIX:"), 53, fmt(d.pix));
    if (d.cheque > 0) L << Txt_Rotulo(QStringLiteral("    Cheque:"), 53, fmt(d.cheque));
    if (d.cartao > 0) {
        L << Txt_Rotulo(QStringLiteral("    Cartao de Credito:"), 61, fmt(d.cartao));
        for (const TCupom_Cartao& c : d.Cartoes) {
            // The checkout stores at least one instalment; a row without any is read as
            // paid at once rather than printed as an infinite instalment.
            const double parcela = c.valor / (c.parcelas > 0 ? c.parcelas : 1);
            L << Txt_Corte(QStringLiteral("    - ") + c.operadora + Txt_Brancos(20), 12) +
                     Txt_Corte(QStringLiteral("   ") + c.forma + Txt_Brancos(10), 9) +
                     Txt_Corte(QStringLiteral("  ") + QString::number(c.parcelas) +
                                   QStringLiteral("X      "),
                               5) +
                     Txt_Direita(fmt(parcela), 8);
        }
    }
    const double resto = total - (d.entrada + d.pix + d.cheque + d.cartao + d.venda_desconto);
    if (resto > 0.1) {
        L << Txt_Rotulo(QStringLiteral("Restante a parcelar:"), 60, fmt(resto));
        if (d.plano_id > 0)
            L << Txt_Corte(QStringLiteral("    - ") + d.Plano_Nome + Txt_Brancos(20), 30);
    }
    if (d.troco > 0) {
        L << QString() << traco;
        L << Txt_Rotulo(QStringLiteral("TROCO:"), 46, fmt(d.troco));
    }
    if (d.prazo > 0) {
        L << traco << QString() << QString();
        L << QStringLiteral("     _______________________________");
        L << QStringLiteral("         Assinatura do Cliente");
        L << QString();
    }
    L << traco;
    L << QString();
    L << d.Mensagem.mid(0, W);
    for (int inicio : {41, 82}) {
        const QString fatia = d.Mensagem.mid(inicio, W).trimmed();
        if (!fatia.isEmpty()) L << fatia;
    }
    L << QString();
    if (!d.Emp_Slogan.trimmed().isEmpty()) L << Txt_Centro(d.Emp_Slogan, 40) << QString();
    L << traco;
    L << Txt_Brancos(10) + Txt_Site_Fornecedor();
    for (int i = 0; i <= d.Salto; ++i)
        L << QString();
    return L;
}

bool Imprime_Cupom_NaoFiscal_LOCAL(TDModule& dm, const TSettings& cfg, qint32 Venda_ID,
                                   bool Imprimir) {
    const TPerfil_Impressao perfil = Perfil_Ler(dm.Sistema_DirName, QStringLiteral("001"));
    const TPorta_Resolvida porta = Porta_Resolver(perfil.impress_porta, dm.Pasta_Empresa(cfg));
    if (!Impressora_Compoe(perfil.impress_nome)) return false;

    TCupom_Dados d;
    Impressao_Empresa(d, cfg);
    d.conf_Terminal_Tipo = cfg.conf_Terminal_Tipo;
    d.conf_Terminal_Num = cfg.conf_Terminal_Num;
    d.Mensagem = perfil.impress_Mensagem;
    d.Salto = perfil.impress_Salto;

    qint64 id = 0;
    Ler_Venda(dm.FDQuery1, Venda_ID, d, id);
    Ler_Itens(dm.FDQuery2, Venda_ID, d);
    Ler_Cartoes(dm.FDQuery3, id, d);

    const QString arquivo = dm.Sistema_DirName + QStringLiteral("PreImpressao.txt");
    Txt_Gravar(arquivo, Cupom_Linhas(d, Impressao_Agora()));
    TEnvio_Impressao envio = Envio_Perfil(perfil, porta, arquivo);
    envio.QRCode = Impressao_Texto_QR(cfg);

    if (Imprimir && MessageBox::Confirm(QStringLiteral("Deseja Imprimir o Cupom Não Fiscal?"))) {
        Impressao_Enviar(envio);
        // One second copy at most, whatever the count asks.
        if (cfg.conf_cupom_copias > 1 &&
            MessageBox::Confirm(QStringLiteral("Imprimir 2° Via do Cupom?")))
            Impressao_Enviar(envio);
    }
    return true;
}

bool Imprime_Cupom_NaoFiscal(TDModule& dm, const TSettings& cfg, const QString& Detalhe,
                             qint32 Venda_ID, bool Imprimir, const TImpressao_Nuvem& nuvem) {
    const QString detalhe = Detalhe.trimmed();
    if (detalhe == QLatin1String("Entregador"))
        return nuvem.Imprime_Lista_Entrega_WEB &&
               nuvem.Imprime_Lista_Entrega_WEB(Venda_ID, Imprimir);
    if (!detalhe.isEmpty())
        return nuvem.Imprime_Cupom_NaoFiscal_WEB &&
               nuvem.Imprime_Cupom_NaoFiscal_WEB(Venda_ID, Imprimir);
    return Imprime_Cupom_NaoFiscal_LOCAL(dm, cfg, Venda_ID, Imprimir);
}

void Circ_Cupom_PrintClick(TDModule& dm, const TSettings& cfg,
                           const std::optional<TLista_Selecao>& selecao,
                           const TImpressao_Nuvem& nuvem) {
    try {
        if (!selecao) return;
        Imprime_Cupom_NaoFiscal(dm, cfg, selecao->Detalhe, selecao->Tag, true, nuvem);
    } catch (...) {
        // The preview's button stays quiet whatever went wrong.
    }
}

void Venda_Imprimir_Cupom(TDModule& dm, const TSettings& cfg, qint32 Venda_ID) {
    if (cfg.conf_imprimir_venda) Imprime_Cupom_NaoFiscal_LOCAL(dm, cfg, Venda_ID, true);
}
