#pragma once

#include "PrintSerial_Config.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

// Our small report layer: a table of text lines laid out as monospaced bold rows on one
// page as tall as its content, with an optional QR code in a footer band under them.
// Sizes are in millimetres.
namespace Relatorio {

inline constexpr int Linha_Max = 255;       // characters kept of each line
inline constexpr double Linha_Altura = 4;   // height of a row
inline constexpr double Linha_Recuo = 0.53; // the row's text starts this far into the band
inline constexpr double Linha_Topo = 0.26;  // and this far below the row's top
inline constexpr double Rodape_Altura = 25; // the QR footer band
inline constexpr double QR_Topo = 1;        // the code, below the band's top
inline constexpr double QR_Lado = 22.2;
inline constexpr double Unidade = 5;        // the settings' unit of length
inline constexpr int Fonte_Padrao = 7;      // when the size is not above 0

// The line table of a text file: one row per line, a file with a UTF-8 byte-order mark
// read as UTF-8, any other in the system code page; each row cut to Linha_Max
// characters. Throws FileError when the file cannot be read.
QStringList Linhas_Ler(const QString& arquivo);
QStringList Linhas_Texto(const QByteArray& bytes);

struct TPagina {
    double Largura = 0;
    double Altura = 0; // as set; the page still grows to hold its content
    double MargemEsq = 0;
    double MargemSup = 0;
    double MargemDir = 0;
    double MargemInf = 0;
    int FonteTamanho = Fonte_Padrao;
    QString QRCode; // empty: no footer
};

// The library's page: the QR code follows the settings' box, and the height keeps the
// code's 50 mm whenever the box is ticked, even with an empty text.
TPagina Pagina_Impressao(const TPrintSerial_Config& config, int linhas, const QString& qrCode);
// The settings form's test print: the code is printed whenever the text is not blank.
TPagina Pagina_Teste(const TPrintSerial_Config& config, int linhas, const QString& qrCode);

class TRelatorio {
public:
    TRelatorio(QStringList linhas, TPagina pagina);

    const QStringList& Linhas() const { return m_linhas; }
    const TPagina& Pagina() const { return m_pagina; }
    // The page as printed: the set size, taller when the content needs it.
    QSizeF Tamanho() const;
    bool Com_Rodape() const { return !m_pagina.QRCode.isEmpty(); }
    // The row's box on the page, up to the page's edge, and the code's square (empty
    // without a footer).
    QRectF Linha_Retangulo(int linha) const;
    QRectF QR_Retangulo() const;
    QFont Fonte() const;

    // Draws the page on a painter whose device has the given resolution; `area`, when
    // given, limits the work to the rows it touches.
    void Desenhar(QPainter& p, double dpiX, double dpiY, const QRectF& area = {}) const;
    // Sets the device's page to our size and draws the page. False when the device
    // refuses to be painted on.
    bool Imprimir(QPagedPaintDevice& device) const;
    bool Gravar_PDF(const QString& arquivo) const;

private:
    QStringList m_linhas;
    TPagina m_pagina;
};

} // namespace Relatorio
