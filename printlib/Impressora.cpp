#include "Impressora.h"

#include "Relatorio.h"
#include "foundation/Errors.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace Relatorio {

bool Imprimir_Em(const TRelatorio& relatorio, QPrinter& impressora, const QString& documento) {
    impressora.setDocName(documento);
    impressora.setFullPage(true);
    impressora.setCopyCount(1);
    if (!relatorio.Imprimir(impressora)) return false;
    return impressora.printerState() != QPrinter::Error;
}

void Imprimir_Padrao(const TRelatorio& relatorio, const QString& documento) {
    const QPrinterInfo padrao = QPrinterInfo::defaultPrinter();
    if (padrao.isNull()) throw Error(QStringLiteral("Nenhuma impressora padrão instalada."));
    QPrinter impressora(padrao, QPrinter::HighResolution);
    if (!Imprimir_Em(relatorio, impressora, documento))
        throw Error(QStringLiteral("A impressora %1 não aceitou a impressão.")
                        .arg(padrao.printerName()));
}

} // namespace Relatorio
