#include "Impressao_Escolha.h"

#include "Relatorio_Gerencial.h"

void Imprime_Escolha(int ResultPrint, TDModule& dm, const TSettings& cfg, bool ConexaoWeb,
                     const TLista_Selecao& selecao, const QDate& dia,
                     const TImpressao_Nuvem& nuvem) {
    switch (ResultPrint) {
    case 0:
        Imprime_Cupom_NaoFiscal(dm, cfg, selecao.Detalhe, selecao.Tag, true, nuvem);
        break;
    case 1:
        if (nuvem.Imprime_Cupom_Pedido001) nuvem.Imprime_Cupom_Pedido001(selecao.Tag);
        break;
    case 2:
        Imprime_Relatorio_Gerencial(dm, cfg, ConexaoWeb, dia, nuvem);
        break;
    default:
        break;
    }
}
