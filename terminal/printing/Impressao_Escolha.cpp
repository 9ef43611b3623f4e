#include "Impressao_Escolha.h"

#include "Impressao_Texto.h"
#include "Relatorio_Gerencial.h"
#include "foundation/DModule_Unit.h"

#include <QFile>

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

bool Impressao_Previa(TDModule& dm, const TSettings& cfg, const TLista_Selecao& selecao,
                      const TImpressao_Nuvem& nuvem, QStringList& linhas) {
    if (!Imprime_Cupom_NaoFiscal(dm, cfg, selecao.Detalhe, selecao.Tag, false, nuvem))
        return false;
    QFile f(dm.Sistema_DirName + QStringLiteral("PreImpressao.txt"));
    if (!f.open(QIODevice::ReadOnly)) return false;
    linhas = Txt_Ler(f.readAll());
    return true;
}
