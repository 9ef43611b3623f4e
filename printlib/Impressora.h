#pragma once

#include <QString>

class QPrinter;

namespace Relatorio {

class TRelatorio;

// Prints on the given printer at our page size, borderless; false when the printer
// could not be painted on.
bool Imprimir_Em(const TRelatorio& relatorio, QPrinter& impressora, const QString& documento);
// Prints on the system's default printer without a dialog. Throws Error when there is
// no default printer or it refused the page.
void Imprimir_Padrao(const TRelatorio& relatorio, const QString& documento);

} // namespace Relatorio
