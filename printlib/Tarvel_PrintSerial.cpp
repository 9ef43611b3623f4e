#include "Tarvel_PrintSerial.h"

#include <QFileInfo>
#include <QString>

extern "C" LIBEXPORT bool STDCALL Impressao_Mini_Termica(const char* Arquivo_Caminho,
                                                         const char* QRCode, bool Visualizar) {
    (void)QRCode;
    (void)Visualizar;
    const QString path = QString::fromLocal8Bit(Arquivo_Caminho ? Arquivo_Caminho : "");
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    return false;
}
