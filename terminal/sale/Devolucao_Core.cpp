#include "Devolucao_Core.h"

QStringList Devolucao_Motivos() {
    return {QString::fromUtf8("Erro de mercadoria   (Voltará ao estoque)"),
            QString::fromUtf8("Desistência da compra  (Voltará ao estoque)"),
            QString::fromUtf8("Fora da validade  (NÃO voltará ao estoque)"),
            QString::fromUtf8("Defeito ou Rasura  (NÃO voltará ao estoque)")};
}

QList<TProduto> Devolucao_Pesquisar(db::Connection& c, const QString& texto) {
    return Produto_Pesquisar(c, texto, 0);
}

void Devolucao_Carregar(TDevolucaoProduto& p, const TProduto& achado) {
    p.Prod_ID = achado.id;
    p.Prod_Estoque = achado.estoque;
    p.Prod_Promo = achado.promocao;
    p.Prod_Promo_Min = achado.promocao_min;
    p.Prod_Dt_Promo = achado.dt_promocao;
    p.Prod_Venda = achado.venda;
    p.Prod_Venda_Old = achado.venda;
    if (p.Prod_Quant <= 0) p.Prod_Quant = 1;
    p.Prod_Desc = 0;
    Devolucao_Calc(p);
}

void Devolucao_Calc(TDevolucaoProduto& p) {
    p.Prod_Total = p.Prod_Quant * p.Prod_Venda - p.Prod_Desc;
}
