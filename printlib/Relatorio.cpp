#include "Relatorio.h"

#include "QRCode_Desenho.h"
#include "foundation/Errors.h"
#include "platform/Platform.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace Relatorio {

QStringList Linhas_Texto(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    const QString texto = bytes.startsWith(bom) ? QString::fromUtf8(bytes.mid(bom.size()))
                                                : Platform::fromSystem8bit(bytes);
    QStringList linhas;
    qsizetype inicio = 0;
    const qsizetype n = texto.size();
    while (inicio < n) {
        qsizetype fim = inicio;
        while (fim < n && texto[fim] != QLatin1Char('\r') && texto[fim] != QLatin1Char('\n'))
            ++fim;
        QString linha = texto.mid(inicio, fim - inicio);
        if (linha.size() > Linha_Max) {
            // Never leave half of a character behind.
            qsizetype corte = Linha_Max;
            if (linha[corte - 1].isHighSurrogate()) --corte;
            linha.truncate(corte);
        }
        linhas.append(linha);
        if (fim < n && texto[fim] == QLatin1Char('\r') && fim + 1 < n &&
            texto[fim + 1] == QLatin1Char('\n'))
            ++fim;
        inicio = fim + 1;
    }
    return linhas;
}

QStringList Linhas_Ler(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Não foi possível abrir o arquivo %1").arg(arquivo));
    return Linhas_Texto(f.readAll());
}

namespace {

TPagina pagina(const TPrintSerial_Config& c, int linhas, bool reservaQR, bool mostraQR,
               const QString& qrCode) {
    TPagina p;
    p.Largura = c.PapelLargura * Unidade;
    p.Altura = linhas * Unidade + (reservaQR ? 50 : 0);
    p.MargemEsq = c.MargemEsq * Unidade;
    p.MargemSup = c.MargemSup * Unidade;
    p.MargemDir = c.MargemDir * Unidade;
    p.MargemInf = c.MargemInf * Unidade;
    p.FonteTamanho = c.FonteTamanho;
    if (mostraQR) p.QRCode = qrCode;
    return p;
}

} // namespace

TPagina Pagina_Impressao(const TPrintSerial_Config& c, int linhas, const QString& qrCode) {
    return pagina(c, linhas, c.QRCode_Print, c.QRCode_Print, qrCode);
}

TPagina Pagina_Teste(const TPrintSerial_Config& c, int linhas, const QString& qrCode) {
    const bool comQR = !qrCode.trimmed().isEmpty();
    return pagina(c, linhas, comQR, comQR, qrCode);
}

TRelatorio::TRelatorio(QStringList linhas, TPagina pagina)
    : m_linhas(std::move(linhas)), m_pagina(std::move(pagina)) {}

QSizeF TRelatorio::Tamanho() const {
    const TPagina& p = m_pagina;
    const double conteudo = p.MargemSup + m_linhas.size() * Linha_Altura +
                            (Com_Rodape() ? Rodape_Altura : 0) + p.MargemInf;
    return {p.Largura, std::max(p.Altura, conteudo)};
}

QRectF TRelatorio::Linha_Retangulo(int linha) const {
    // The row runs past the right margin up to the page edge, which clips it.
    const double x = m_pagina.MargemEsq + Linha_Recuo;
    return {x, m_pagina.MargemSup + linha * Linha_Altura, std::max(0.0, m_pagina.Largura - x),
            Linha_Altura};
}

QRectF TRelatorio::QR_Retangulo() const {
    if (!Com_Rodape()) return {};
    const TPagina& p = m_pagina;
    const double banda = p.Largura - p.MargemEsq - p.MargemDir;
    const double topo = p.MargemSup + m_linhas.size() * Linha_Altura;
    return {p.MargemEsq + (banda - QR_Lado) / 2, topo + QR_Topo, QR_Lado, QR_Lado};
}

QFont TRelatorio::Fonte() const {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setBold(true);
    f.setPointSize(m_pagina.FonteTamanho > 0 ? m_pagina.FonteTamanho : Fonte_Padrao);
    return f;
}

void TRelatorio::Desenhar(QPainter& p, double dpiX, double dpiY, const QRectF& area) const {
    const double kx = dpiX / 25.4;
    const double ky = dpiY / 25.4;
    auto px = [&](const QRectF& mm) {
        return QRectF(mm.x() * kx, mm.y() * ky, mm.width() * kx, mm.height() * ky);
    };
    const QSizeF tamanho = Tamanho();
    const QRectF folha(0, 0, tamanho.width(), tamanho.height());

    p.save();
    p.fillRect(px(folha), Qt::white);
    p.setPen(Qt::black);
    p.setFont(Fonte());

    int primeira = 0;
    int ultima = int(m_linhas.size()) - 1;
    if (!area.isNull()) {
        const double topo = m_pagina.MargemSup;
        primeira = std::max(0, int((area.top() - topo) / Linha_Altura));
        ultima = std::min(ultima, int((area.bottom() - topo) / Linha_Altura));
    }
    for (int i = primeira; i <= ultima; ++i) {
        const QRectF caixa = Linha_Retangulo(i);
        p.setClipRect(px(caixa & folha));
        QRectF texto = caixa;
        texto.setTop(caixa.top() + Linha_Topo);
        p.drawText(px(texto), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                   m_linhas[i]);
    }
    p.setClipping(false);

    if (Com_Rodape()) QRCode_Desenhar(p, px(QR_Retangulo()), m_pagina.QRCode);
    p.restore();
}

bool TRelatorio::Imprimir(QPagedPaintDevice& device) const {
    const QPageSize tamanho(Tamanho(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    device.setPageLayout(QPageLayout(tamanho, QPageLayout::Portrait, QMarginsF()));
    QPainter p;
    if (!p.begin(&device)) return false;
    Desenhar(p, device.logicalDpiX(), device.logicalDpiY());
    return p.end();
}

bool TRelatorio::Gravar_PDF(const QString& arquivo) const {
    QPdfWriter pdf(arquivo);
    pdf.setCreator(QStringLiteral("Tarvel_PrintSerial"));
    pdf.setResolution(600);
    return Imprimir(pdf);
}

} // namespace Relatorio
