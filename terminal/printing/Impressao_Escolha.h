#pragma once

#include "Cupom_NaoFiscal.h"

#include <QDate>

class TDModule;
struct TSettings;

// What the print-options screen's choice prints for the sales list's selected row:
// 0 the receipt (printed), 1 the purchase order, 2 the management report of the list's
// day. Any other value prints nothing.
void Imprime_Escolha(int ResultPrint, TDModule& dm, const TSettings& cfg, bool ConexaoWeb,
                     const TLista_Selecao& selecao, const QDate& dia,
                     const TImpressao_Nuvem& nuvem);
