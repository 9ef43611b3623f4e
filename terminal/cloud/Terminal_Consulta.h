#pragma once

#include <QByteArray>
#include <QString>

// The price-check terminal's product file, written the synchronous way: the reading of
// the catalogue on a connection of its own to `banco`, then the file, which appears
// whole or not at all (the terminal may pick it up at any moment). Every missing level
// of its folder is created. Throws on a failure.
void Terminal_Arquivo_Gravar(const QString& arquivo, const QString& banco);
