#pragma once

#include "Cupom_NaoFiscal.h"

#include <QDate>
#include <QStringList>

class TDModule;
struct TSettings;

// What the print-options screen's choice prints for the sales list's selected row:
// 0 the receipt (printed), 1 the purchase order, 2 the management report of the list's
// day. Any other value prints nothing.
void Imprime_Escolha(int ResultPrint, TDModule& dm, const TSettings& cfg, bool ConexaoWeb,
                     const TLista_Selecao& selecao, const QDate& dia,
                     const TImpressao_Nuvem& nuvem);

// The sales list's preview of a row: its receipt composed as a print would compose it,
// without printing, and read back from the preview file. False when nothing was composed.
bool Impressao_Previa(TDModule& dm, const TSettings& cfg, const TLista_Selecao& selecao,
                      const TImpressao_Nuvem& nuvem, QStringList& linhas);
