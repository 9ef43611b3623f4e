#include "PainelModal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int Margem = 20; // of backdrop around the panel

} // namespace

PainelModal::PainelModal(const QString& nome, const QString& titulo, QSize tamanho, QWidget* parent)
    : QDialog(parent) {
    setObjectName(nome);
    setWindowTitle(titulo);
    // Keyed on the name so that the panel and its children keep their own backgrounds.
    setStyleSheet(QStringLiteral("#%1 { background: #CFD8DC; }").arg(nome));
    resize(tamanho);

    Rct_Painel = new QWidget(this);
    Rct_Painel->setObjectName(QStringLiteral("Rct_Painel"));
    Rct_Painel->setAttribute(Qt::WA_StyledBackground);
    Rct_Painel->setStyleSheet(
        QStringLiteral("#Rct_Painel { background: white; border: 1px solid #B0BEC5; }"));
    auto* painel = new QVBoxLayout(Rct_Painel);
    painel->setContentsMargins(0, 0, 0, 0);
    painel->setSpacing(0);

    auto* barra = new QWidget(Rct_Painel);
    barra->setObjectName(QStringLiteral("Rct_Titulo"));
    barra->setAttribute(Qt::WA_StyledBackground);
    barra->setStyleSheet(QStringLiteral("#Rct_Titulo { background: #45A3CE; }"));
    barra->setFixedHeight(60);
    m_titulo = new QHBoxLayout(barra);
    m_titulo->setContentsMargins(20, 0, 20, 0);
    auto* lab = new QLabel(titulo, barra);
    lab->setObjectName(QStringLiteral("Lab_Titulo"));
    lab->setStyleSheet(QStringLiteral("color: white; font-size: 20pt; font-weight: bold;"));
    m_titulo->addWidget(lab, 1);
    painel->addWidget(barra);

    m_corpo = new QVBoxLayout;
    m_corpo->setContentsMargins(20, 16, 20, 16);
    m_corpo->setSpacing(10);
    painel->addLayout(m_corpo, 1);

    m_entrada = new QPropertyAnimation(Rct_Painel, "pos", this);
    m_entrada->setDuration(150);
    m_entrada->setEasingCurve(QEasingCurve::OutCubic);
}

QPushButton* PainelModal::botao(const QString& texto, const QString& cor, const QString& nome) {
    auto* b = new QPushButton(texto, Rct_Painel);
    b->setObjectName(nome);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus); // the windows answer Enter and Esc themselves
    b->setCursor(Qt::PointingHandCursor);
    // The font is set apart from the sheet so that a window may change it.
    QFont fonte = b->font();
    fonte.setPointSize(16);
    fonte.setBold(true);
    b->setFont(fonte);
    b->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: white; border: none;"
                                    " border-radius: 6px; }"
                                    "QPushButton:pressed { background: %2; }")
                         .arg(cor, QColor(cor).darker(120).name()));
    return b;
}

QRect PainelModal::Area_Painel() const {
    const QSize maximo = Rct_Painel->maximumSize();
    const int largura = std::min(maximo.width(), width() - 2 * Margem);
    const int altura = std::min(maximo.height(), height() - 2 * Margem);
    return QRect((width() - largura) / 2, (height() - altura) / 2, largura, altura);
}

void PainelModal::showEvent(QShowEvent* event) {
    if (m_cobre_pai && parentWidget()) setGeometry(parentWidget()->window()->geometry());
    QDialog::showEvent(event);

    const QRect alvo = Area_Painel();
    Rct_Painel->setGeometry(alvo);
    m_entrada->stop();
    m_entrada->setStartValue(QPoint(m_pela_direita ? width() : -alvo.width(), alvo.y()));
    m_entrada->setEndValue(alvo.topLeft());
    m_entrada->start();
}

void PainelModal::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const QRect alvo = Area_Painel();
    if (m_entrada->state() == QAbstractAnimation::Running) {
        // The slide ends where the panel now belongs.
        m_entrada->setEndValue(alvo.topLeft());
        Rct_Painel->resize(alvo.size());
    } else {
        Rct_Painel->setGeometry(alvo);
    }
}

void PainelModal::done(int resultado) {
    m_entrada->stop(); // a closed window leaves no slide running
    QDialog::done(resultado);
}
