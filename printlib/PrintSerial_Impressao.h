#pragma once

#include <QString>

class QWidget;

namespace Relatorio {
class TRelatorio;
}

namespace PrintSerial {

// The export's work on a given settings file. False when the file does not exist: the
// settings file is then neither read nor written. Otherwise reads the settings, prints
// or previews the file, records the call ("ArquivoOLD", "CBarra") and returns true.
// A print that fails throws Error, and the settings are then not saved.
bool Impressao_Executar(const QString& arquivo, const QString& qrCode, bool visualizar,
                        const QString& iniPath);

// Shows the preview window until it is closed, or prints on the default printer
// without a dialog (throws Error when that fails).
void Relatorio_Saida(const Relatorio::TRelatorio& relatorio, bool visualizar,
                     const QString& documento, QWidget* parent = nullptr);

} // namespace PrintSerial
