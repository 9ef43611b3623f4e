#include "Relatorio_Gerencial.h"

#include "Cupom_NaoFiscal.h"
#include "Impressao_Canais.h"
#include "Impressao_Perfil.h"
#include "Impressao_Texto.h"

#include "foundation/DModule_Unit.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"

namespace {

constexpr int W = 40;

const char* const Periodo = "(venda_dt_pedido between :DataIni and :DataFim) and  (concluido>0) ";

void Periodo_Bind(db::Query& q, const QDateTime& DataIni, const QDateTime& DataFim) {
    q.bind(QStringLiteral(":DataIni"), QDateTime(DataIni.date(), QTime(0, 0, 0)));
    q.bind(QStringLiteral(":DataFim"), QDateTime(DataFim.date(), QTime(23, 59, 59)));
}

void Ler_Resumo(db::Query& q, TRelatorio_Dados& d) {
    const QString p = QStringLiteral("(venda_dt_pedido between :DataIni and :DataFim) and  ");
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("Select "));
    q.addSql(QStringLiteral("(select COALESCE(count(id),0) from venda where ") + p +
             QStringLiteral("(concluido>0) ) as finalizadas_qtd,"));
    q.addSql(QStringLiteral("(select COALESCE(sum(venda_total),0) from venda where ") + p +
             QStringLiteral("(concluido>0) ) as finalizadas_valor,"));
    q.addSql(QStringLiteral("(select COALESCE(count(id),0) from venda where ") + p +
             QStringLiteral("(concluido>0) and (venda_status=1) ) as enviadas_qtd,"));
    q.addSql(QStringLiteral("(select COALESCE(sum(venda_total),0) from venda where ") + p +
             QStringLiteral("(concluido>0) and (venda_status=1)) as enviadas_valor,"));
    q.addSql(QStringLiteral("(select COALESCE(count(id),0) from venda where ") + p +
             QStringLiteral("(concluido>0) and (venda_status=0) ) as nenviadas_qtd,"));
    q.addSql(QStringLiteral("(select COALESCE(sum(venda_total),0) from venda where ") + p +
             QStringLiteral("(concluido>0) and (venda_status=0)) as nenviadas_valor,"));
    q.addSql(QStringLiteral("(select COALESCE(count(id),0) from venda where ") + p +
             QStringLiteral("(concluido<0) ) as excluidas_qtd,"));
    q.addSql(QStringLiteral("(select COALESCE(sum(venda_total),0) from venda where ") + p +
             QStringLiteral("(concluido<0) ) as excluidas_valor"));
    q.addSql(QStringLiteral("from produtos tb1 limit 1"));
    Periodo_Bind(q, d.DataIni, d.DataFim);
    q.open();
    d.Tem_Resumo = !q.eof();
    if (d.Tem_Resumo) {
        auto n = [&](const char* c) { return q.field(QLatin1String(c)).asInteger(); };
        auto v = [&](const char* c) { return q.field(QLatin1String(c)).asFloat(); };
        d.Resumo.finalizadas_qtd = n("finalizadas_qtd");
        d.Resumo.finalizadas_valor = v("finalizadas_valor");
        d.Resumo.enviadas_qtd = n("enviadas_qtd");
        d.Resumo.enviadas_valor = v("enviadas_valor");
        d.Resumo.nenviadas_qtd = n("nenviadas_qtd");
        d.Resumo.nenviadas_valor = v("nenviadas_valor");
        d.Resumo.excluidas_qtd = n("excluidas_qtd");
        d.Resumo.excluidas_valor = v("excluidas_valor");
    }
    q.close();
}

void Ler_Nao_Enviadas(db::Query& q, TRelatorio_Dados& d) {
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("Select * from venda tb1 "));
    q.addSql(QStringLiteral("where ") + QLatin1String(Periodo) +
             QStringLiteral("and (venda_status=0) "));
    Periodo_Bind(q, d.DataIni, d.DataFim);
    q.open();
    d.Tem_Nao_Enviadas = !q.eof();
    for (; !q.eof(); q.next()) {
        // Only cash sales get a line; the others have nothing for the columns.
        if (q.field(QStringLiteral("entrada")).asFloat() > 0)
            d.Nao_Enviadas << q.field(QStringLiteral("venda_dt_pedido"))
                                  .asDateTime()
                                  .toString(QStringLiteral("HH:mm"));
    }
    q.close();
}

void Ler_Pagamentos(db::Query& q, TRelatorio_Dados& d) {
    q.close();
    q.clearSql();
    for (const char* l :
         {"select ", "sum(entrada) as entrada,", "sum(pix) as pix,", "sum(cheque) as cheque,",
          "sum(cartao) as cartao,", "sum(prazo) as prazo,", "sum(troco) as troco,",
          "count(entrada) as entrada_qtd,", "count(pix) as pix_qtd,",
          "count(cheque) as cheque_qtd,", "count(cartao) as cartao_qtd,",
          "count(prazo) as prazo_qtd,", "count(troco) as troco_qtd"})
        q.addSql(QLatin1String(l));
    q.addSql(QStringLiteral("from venda where ") + QLatin1String(Periodo));
    Periodo_Bind(q, d.DataIni, d.DataFim);
    q.open();
    if (!q.eof()) {
        // A sum over no rows is null and reads as 0.
        auto n = [&](const char* c) { return q.field(QLatin1String(c)).asInteger(); };
        auto v = [&](const char* c) { return q.field(QLatin1String(c)).asFloat(); };
        TRelatorio_Pagamentos& p = d.Pagamentos;
        p.entrada = v("entrada");
        p.pix = v("pix");
        p.cheque = v("cheque");
        p.cartao = v("cartao");
        p.prazo = v("prazo");
        p.troco = v("troco");
        p.entrada_qtd = n("entrada_qtd");
        p.pix_qtd = n("pix_qtd");
        p.cheque_qtd = n("cheque_qtd");
        p.cartao_qtd = n("cartao_qtd");
        p.prazo_qtd = n("prazo_qtd");
        p.troco_qtd = n("troco_qtd");
    }
    q.close();
}

} // namespace

QStringList Relatorio_Linhas(const TRelatorio_Dados& d, const QDateTime& agora) {
    const QString traco = Txt_Traco(W);
    auto linha = [&](const char* rotulo, qint32 qtd, double valor) {
        const QString r = QString::fromUtf8(rotulo);
        return r + Txt_Brancos(18 - int(r.size())) +
               QStringLiteral("%1").arg(qtd, 4, 10, QLatin1Char('0')) + QStringLiteral("  ") +
               Txt_Direita(FormatFloat(d.Mascara, valor), 16);
    };
    QStringList L;
    L << traco;
    L << Txt_Centro(d.Emp_Nome, W);
    const QString endereco =
        d.Emp_Endereco + QStringLiteral(", ") + d.Emp_Numero + QStringLiteral(",  ") + d.Emp_Bairro;
    L << Txt_Brancos(Txt_Centro_Espacos(endereco, W)) + Txt_Corte(endereco, W);
    L << Txt_Centro(
        d.Emp_Cidade + QStringLiteral(" - ") + d.Emp_UF + QStringLiteral(" FONE:") + d.Emp_Fone, W);
    L << Txt_Brancos(11) + agora.toString(QStringLiteral("dd/MM/yy - HH:mm:ss"));
    L << traco;
    L << QString();
    L << QStringLiteral("           RELATÓRIO GERENCIAL");
    L << QStringLiteral("          DE TERMINAL DE VENDA");
    L << QString();
    L << QStringLiteral("SOLICITANTE:  ");
    L << QStringLiteral("DATA INICIAL:        ") +
             d.DataIni.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    L << QStringLiteral("DATA FINAL:          ") +
             d.DataFim.date().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 23:59:59");
    L << traco;
    L << QStringLiteral("                VENDAS");
    L << traco;
    if (d.Tem_Resumo) {
        const TRelatorio_Resumo& r = d.Resumo;
        L << linha("FINALIZADAS", r.finalizadas_qtd, r.finalizadas_valor);
        L << linha("ENVIADAS", r.enviadas_qtd, r.enviadas_valor);
        L << linha("NÃO ENVIADAS", r.nenviadas_qtd, r.nenviadas_valor);
        L << linha("EXCLUIDAS", r.excluidas_qtd, r.excluidas_valor);
    }
    if (d.Tem_Nao_Enviadas) {
        L << traco;
        L << QStringLiteral("HORA   FORMA           ENTRADA     SAIDA");
        for (const QString& hora : d.Nao_Enviadas)
            L << hora + QStringLiteral("  DINHEIRO      ");
    }
    L << traco;
    L << QStringLiteral("          PAGAMENTOS FINALIZADOS");
    L << traco;
    const TRelatorio_Pagamentos& p = d.Pagamentos;
    L << linha("DINHEIRO", p.entrada_qtd, p.entrada);
    L << linha("PIX", p.pix_qtd, p.pix);
    L << linha("CARTAO", p.cartao_qtd, p.cartao);
    L << linha("CHEQUE", p.cheque_qtd, p.cheque);
    L << linha("PRAZO", p.prazo_qtd, p.prazo);
    L << linha("TROCO", p.troco_qtd, p.troco);
    L << traco;
    L << QString();
    L << QStringLiteral("ATENCAO!");
    L << QStringLiteral("O relatório é um espelho da movimentação");
    L << QStringLiteral("apenas deste terminal. Envie todas as   ");
    L << QStringLiteral("vendas ao final do dia e tenha relatorio");
    L << QStringLiteral("s mais detalhados no modulo on-line.");
    L << QString();
    L << traco;
    L << Txt_Brancos(10) + Txt_Site_Fornecedor();
    for (int i = 0; i <= d.Salto; ++i)
        L << QString();
    return L;
}

bool Imprime_Relatorio_Gerencial_Local(TDModule& dm, const TSettings& cfg, const QDateTime& DataIni,
                                       const QDateTime& DataFim) {
    const TPerfil_Impressao perfil = Perfil_Ler(dm.Sistema_DirName, QStringLiteral("003"));
    const TPorta_Resolvida porta = Porta_Resolver(perfil.impress_porta, dm.Pasta_Empresa(cfg));
    if (!Impressora_Compoe(perfil.impress_nome)) return false;

    TRelatorio_Dados d;
    Impressao_Empresa(d, cfg);
    d.DataIni = DataIni;
    d.DataFim = DataFim;
    d.Salto = perfil.impress_Salto;
    Ler_Resumo(dm.FDQuery1, d);
    Ler_Nao_Enviadas(dm.FDQuery2, d);
    Ler_Pagamentos(dm.FDQuery3, d);

    const QString arquivo = dm.Sistema_DirName + QStringLiteral("PreImpressao.txt");
    Txt_Gravar(arquivo, Relatorio_Linhas(d, Impressao_Agora()));
    Impressao_Enviar(Envio_Perfil(perfil, porta, arquivo));
    return true;
}

void Imprime_Relatorio_Gerencial(TDModule& dm, const TSettings& cfg, bool ConexaoWeb,
                                 const QDate& dia, const TImpressao_Nuvem& nuvem) {
    if (ConexaoWeb) {
        if (nuvem.Imprime_Relatorio_GerencialWEB) nuvem.Imprime_Relatorio_GerencialWEB(dia);
        return;
    }
    Imprime_Relatorio_Gerencial_Local(dm, cfg, QDateTime(dia, QTime(0, 0, 0)),
                                      QDateTime(dia, QTime(23, 59, 59)));
}
