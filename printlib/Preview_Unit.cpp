#include "Preview_Unit.h"

#include "Impressora.h"

#include "foundation/MessageBox.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr double Zoom_Min = 0.25;
constexpr double Zoom_Max = 4.0;
constexpr int Borda = 16; // grey around the sheet
} // namespace

// The sheet as the widget's own resolution draws it, magnified by the zoom.
class TPreview_Folha : public QWidget {
public:
    explicit TPreview_Folha(TPreview& preview) : QWidget(nullptr), m_preview(preview) {
        setObjectName(QStringLiteral("Pnl_Folha"));
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
        setPalette(pal);
        Ajustar();
    }

    double mmX() const { return logicalDpiX() / 25.4 * m_preview.m_zoom; }
    double mmY() const { return logicalDpiY() / 25.4 * m_preview.m_zoom; }

    void Ajustar() {
        const QSizeF mm = m_preview.m_relatorio.Tamanho();
        resize(int(std::ceil(mm.width() * mmX())) + 2 * Borda,
               int(std::ceil(mm.height() * mmY())) + 2 * Borda);
        update();
    }

    // The hit's box in widget coordinates.
    QRect Achado_Retangulo() const {
        const int linha = m_preview.m_achadoLinha;
        if (linha < 0) return {};
        const Relatorio::TRelatorio& r = m_preview.m_relatorio;
        const QFontMetricsF fm(r.Fonte(), this);
        const QString texto = r.Linhas()[linha];
        const QRectF caixa = r.Linha_Retangulo(linha);
        const double z = m_preview.m_zoom;
        const double x = caixa.left() * logicalDpiX() / 25.4 +
                         fm.horizontalAdvance(texto.left(m_preview.m_achadoColuna));
        const double w = fm.horizontalAdvance(
            texto.mid(m_preview.m_achadoColuna, m_preview.Edt_Localizar->text().size()));
        return QRectF(Borda + x * z, Borda + caixa.top() * mmY(), w * z,
                      caixa.height() * mmY())
            .toAlignedRect();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.fillRect(e->rect(), palette().window());
        p.translate(Borda, Borda);
        const double z = m_preview.m_zoom;
        p.scale(z, z);
        const QRectF visivel = e->rect().translated(-Borda, -Borda);
        const QRectF areaMm(visivel.left() / mmX(), visivel.top() / mmY(),
                            visivel.width() / mmX(), visivel.height() / mmY());
        m_preview.m_relatorio.Desenhar(p, logicalDpiX(), logicalDpiY(), areaMm);
        p.resetTransform();
        const QRect achado = Achado_Retangulo();
        if (!achado.isNull()) {
            p.setCompositionMode(QPainter::CompositionMode_Multiply);
            p.fillRect(achado, QColor(255, 230, 0));
        }
    }

private:
    TPreview& m_preview;
};

TPreview::TPreview(const Relatorio::TRelatorio& relatorio, const QString& documento,
                   QWidget* parent)
    : QDialog(parent), m_relatorio(relatorio), m_documento(documento) {
    setObjectName(QStringLiteral("TPreview"));
    setWindowTitle(QStringLiteral("Visualizar Impressão - %1").arg(documento));

    auto botao = [this](const QString& nome, const QString& texto, const QString& dica) {
        auto* b = new QToolButton(this);
        b->setObjectName(nome);
        b->setText(texto);
        b->setToolTip(dica);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    Btn_Imprimir = botao(QStringLiteral("Btn_Imprimir"), QStringLiteral("Imprimir"),
                         QStringLiteral("Imprimir (Ctrl+P)"));
    Btn_PDF = botao(QStringLiteral("Btn_PDF"), QStringLiteral("Exportar PDF"),
                    QStringLiteral("Exportar para PDF (Ctrl+S)"));
    Btn_Zoom_Menos = botao(QStringLiteral("Btn_Zoom_Menos"), QStringLiteral("−"),
                           QStringLiteral("Reduzir (Ctrl+-)"));
    Btn_Zoom_Mais = botao(QStringLiteral("Btn_Zoom_Mais"), QStringLiteral("+"),
                          QStringLiteral("Ampliar (Ctrl++)"));
    Btn_Zoom_Largura = botao(QStringLiteral("Btn_Zoom_Largura"), QStringLiteral("Largura"),
                             QStringLiteral("Ajustar à largura da janela"));
    Btn_Fechar = botao(QStringLiteral("Btn_Fechar"), QStringLiteral("Fechar"),
                       QStringLiteral("Fechar (Esc)"));
    Lab_Zoom = new QLabel(this);
    Lab_Zoom->setObjectName(QStringLiteral("Lab_Zoom"));
    Lab_Zoom->setMinimumWidth(44);
    Lab_Zoom->setAlignment(Qt::AlignCenter);
    Edt_Localizar = new QLineEdit(this);
    Edt_Localizar->setObjectName(QStringLiteral("Edt_Localizar"));
    Edt_Localizar->setPlaceholderText(QStringLiteral("Localizar (Ctrl+F)"));
    Edt_Localizar->setClearButtonEnabled(true);
    Edt_Localizar->setMinimumWidth(170);
    Lab_Status = new QLabel(this);
    Lab_Status->setObjectName(QStringLiteral("Lab_Status"));

    auto* barra = new QHBoxLayout;
    barra->setSpacing(4);
    barra->addWidget(Btn_Imprimir);
    barra->addWidget(Btn_PDF);
    barra->addSpacing(12);
    barra->addWidget(Btn_Zoom_Menos);
    barra->addWidget(Lab_Zoom);
    barra->addWidget(Btn_Zoom_Mais);
    barra->addWidget(Btn_Zoom_Largura);
    barra->addSpacing(12);
    barra->addWidget(Edt_Localizar, 1);
    barra->addWidget(Btn_Fechar);

    m_folha = new TPreview_Folha(*this);
    Scr_Pagina = new QScrollArea(this);
    Scr_Pagina->setObjectName(QStringLiteral("Scr_Pagina"));
    Scr_Pagina->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Scr_Pagina->setBackgroundRole(QPalette::Window);
    Scr_Pagina->viewport()->setPalette(m_folha->palette());
    Scr_Pagina->setWidget(m_folha);

    auto* corpo = new QVBoxLayout(this);
    corpo->setContentsMargins(6, 6, 6, 6);
    corpo->addLayout(barra);
    corpo->addWidget(Scr_Pagina, 1);
    corpo->addWidget(Lab_Status);

    connect(Btn_Imprimir, &QToolButton::clicked, this, &TPreview::Btn_ImprimirClick);
    connect(Btn_PDF, &QToolButton::clicked, this, &TPreview::Btn_PDFClick);
    connect(Btn_Zoom_Menos, &QToolButton::clicked, this,
            [this] { Zoom_Definir(m_zoom / 1.25); });
    connect(Btn_Zoom_Mais, &QToolButton::clicked, this, [this] { Zoom_Definir(m_zoom * 1.25); });
    connect(Btn_Zoom_Largura, &QToolButton::clicked, this, &TPreview::Zoom_Largura);
    connect(Btn_Fechar, &QToolButton::clicked, this, &TPreview::reject);
    connect(Edt_Localizar, &QLineEdit::returnPressed, this, &TPreview::Localizar_Proximo);
    connect(Edt_Localizar, &QLineEdit::textEdited, this, &TPreview::Edt_LocalizarTextEdited);

    auto atalho = [this](const QKeySequence& tecla, auto&& acao) {
        auto* s = new QShortcut(tecla, this);
        connect(s, &QShortcut::activated, this, acao);
    };
    atalho(QKeySequence::Print, [this] { Btn_ImprimirClick(); });
    atalho(QKeySequence::Save, [this] { Btn_PDFClick(); });
    atalho(QKeySequence::ZoomIn, [this] { Zoom_Definir(m_zoom * 1.25); });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { Zoom_Definir(m_zoom * 1.25); });
    atalho(QKeySequence::ZoomOut, [this] { Zoom_Definir(m_zoom / 1.25); });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { Zoom_Definir(1.0); });
    atalho(QKeySequence::Find, [this] {
        Edt_Localizar->setFocus();
        Edt_Localizar->selectAll();
    });
    atalho(QKeySequence::FindNext, [this] { Localizar_Proximo(); });

    Zoom_Definir(1.0);
    const QSize folha = m_folha->size();
    resize(std::clamp(folha.width() + 60, 680, 1000), std::clamp(folha.height() + 100, 400, 720));
    Scr_Pagina->setFocus();
}

void TPreview::Zoom_Definir(double zoom) {
    m_zoom = std::clamp(zoom, Zoom_Min, Zoom_Max);
    Lab_Zoom->setText(QStringLiteral("%1%").arg(qRound(m_zoom * 100)));
    Btn_Zoom_Menos->setEnabled(m_zoom > Zoom_Min);
    Btn_Zoom_Mais->setEnabled(m_zoom < Zoom_Max);
    m_folha->Ajustar();
}

void TPreview::Zoom_Largura() {
    const double largura = m_relatorio.Tamanho().width() * m_folha->logicalDpiX() / 25.4;
    const int janela = Scr_Pagina->viewport()->width() - 2 * Borda;
    if (largura > 0 && janela > 0) Zoom_Definir(janela / largura);
}

void TPreview::Edt_LocalizarTextEdited() {
    // A new text searches again from the top.
    m_achadoLinha = -1;
    m_achadoColuna = -1;
    Lab_Status->clear();
    m_folha->update();
}

bool TPreview::Localizar_Proximo() {
    const QString alvo = Edt_Localizar->text();
    if (alvo.isEmpty()) return false;
    const QStringList& linhas = m_relatorio.Linhas();
    const int n = int(linhas.size());
    // From just after the last hit, round the page once, ending at the hit's own row.
    const int linha = std::max(m_achadoLinha, 0);
    const int desde = m_achadoLinha < 0 ? 0 : m_achadoColuna + 1;
    for (int passo = 0; n > 0 && passo <= n; ++passo) {
        const int i = (linha + passo) % n;
        const int col = int(linhas[i].indexOf(alvo, passo == 0 ? desde : 0, Qt::CaseInsensitive));
        if (col < 0) continue;
        m_achadoLinha = i;
        m_achadoColuna = col;
        Lab_Status->setText(QStringLiteral("Linha %1").arg(i + 1));
        m_folha->update();
        const QRect r = m_folha->Achado_Retangulo();
        Scr_Pagina->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 40,
                                  r.height() * 3);
        return true;
    }
    m_achadoLinha = -1;
    m_achadoColuna = -1;
    Lab_Status->setText(QStringLiteral("Texto não encontrado: %1").arg(alvo));
    m_folha->update();
    return false;
}

bool TPreview::Exportar_PDF(const QString& arquivo) {
    if (m_relatorio.Gravar_PDF(arquivo)) {
        Lab_Status->setText(QStringLiteral("Exportado para %1").arg(arquivo));
        return true;
    }
    MessageBox::ShowMessage(QStringLiteral("Não foi possível gravar o arquivo %1").arg(arquivo));
    return false;
}

void TPreview::Btn_PDFClick() {
    QString nome = m_documento;
    const qsizetype ponto = nome.lastIndexOf(QLatin1Char('.'));
    if (ponto > 0) nome.truncate(ponto);
    const QString arquivo = QFileDialog::getSaveFileName(
        this, QStringLiteral("Exportar para PDF"), nome + QStringLiteral(".pdf"),
        QStringLiteral("Arquivo PDF (*.pdf)"));
    if (!arquivo.isEmpty()) Exportar_PDF(arquivo);
}

void TPreview::Btn_ImprimirClick() {
    const QPrinterInfo padrao = QPrinterInfo::defaultPrinter();
    QPrinter impressora(padrao, QPrinter::HighResolution);
    QPrintDialog dialogo(&impressora, this);
    dialogo.setOptions(QAbstractPrintDialog::PrintToFile);
    if (dialogo.exec() != QDialog::Accepted) return;
    if (!Relatorio::Imprimir_Em(m_relatorio, impressora, m_documento))
        MessageBox::ShowMessage(QStringLiteral("A impressora %1 não aceitou a impressão.")
                                    .arg(impressora.printerName()));
}
