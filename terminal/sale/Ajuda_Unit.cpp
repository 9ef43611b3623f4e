#include "Ajuda_Unit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A play button on a screen, for the video tile.
QPixmap figuraVideo() {
    QPixmap pm(72, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 10, 64, 46), 8, 8);
    p.drawRect(QRectF(30, 56, 12, 6));
    p.drawRoundedRect(QRectF(20, 62, 32, 5), 2, 2);
    p.setBrush(QColor(0x45, 0xA3, 0xCE));
    const QPointF play[3] = {QPointF(29, 22), QPointF(29, 44), QPointF(48, 33)};
    p.drawPolygon(play, 3);
    return pm;
}

} // namespace

QList<QPair<QString, QString>> TAjuda::Atalhos() {
    return {
        {QStringLiteral("F1"), QStringLiteral("Tela de Ajuda")},
        {QStringLiteral("F2"), QStringLiteral("Abre Venda")},
        {QStringLiteral("F3"), QStringLiteral("Finaliza Venda / Confirmar")},
        {QStringLiteral("F4"), QStringLiteral("Cancelar Itens da Venda")},
        {QStringLiteral("F5"), QStringLiteral("Atualizar Informações")},
        {QStringLiteral("F6"), QStringLiteral("Cancelar Venda")},
        {QStringLiteral("F7"), QStringLiteral("Calculadora do Windows")},
        {QStringLiteral("F8"), QStringLiteral("Desconto Geral da Venda")},
        {QStringLiteral("F10"), QStringLiteral("Configuração do Aplicativo")},
        {QStringLiteral("F11"), QStringLiteral("Consulta Produtos")},
        {QStringLiteral("F12"), QStringLiteral("Lista de Vendas")},
    };
}

TAjuda::TAjuda(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Ajuda"));
    setWindowTitle(QStringLiteral("Instruções e Vídeos"));
    setStyleSheet(QStringLiteral("#Ajuda { background: #CFD8DC; }"));
    resize(900, 640);

    Rct_Painel = new QWidget(this);
    Rct_Painel->setObjectName(QStringLiteral("Rct_Painel"));
    Rct_Painel->setAttribute(Qt::WA_StyledBackground);
    Rct_Painel->setStyleSheet(
        QStringLiteral("#Rct_Painel { background: white; border: 1px solid #B0BEC5; }"));
    auto* painel = new QVBoxLayout(Rct_Painel);
    painel->setContentsMargins(0, 0, 0, 0);
    painel->setSpacing(0);

    auto* titulo = new QLabel(windowTitle(), Rct_Painel);
    titulo->setObjectName(QStringLiteral("Lab_Titulo"));
    titulo->setFixedHeight(60);
    titulo->setContentsMargins(20, 0, 20, 0);
    titulo->setStyleSheet(QStringLiteral("#Lab_Titulo { background: #45A3CE; color: white;"
                                         " font-size: 20pt; font-weight: bold; }"));
    painel->addWidget(titulo);

    auto* corpo = new QHBoxLayout;
    corpo->setContentsMargins(24, 20, 24, 12);
    corpo->setSpacing(28);
    painel->addLayout(corpo, 1);

    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(14);
    grade->setVerticalSpacing(8);
    int linha = 0;
    for (const auto& [tecla, legenda] : Atalhos()) {
        auto* t = new QLabel(tecla, Rct_Painel);
        t->setObjectName(QStringLiteral("Lab_Tecla_") + tecla);
        t->setAlignment(Qt::AlignCenter);
        t->setFixedSize(64, 36);
        t->setStyleSheet(QStringLiteral("background: #45A3CE; color: white; border-radius: 6px;"
                                        " font-size: 15pt; font-weight: bold;"));
        auto* l = new QLabel(legenda, Rct_Painel);
        l->setObjectName(QStringLiteral("Lab_Legenda_") + tecla);
        l->setStyleSheet(QStringLiteral("color: #263238; font-size: 15pt;"));
        l->setMinimumHeight(36);
        grade->addWidget(t, linha, 0);
        grade->addWidget(l, linha, 1);
        ++linha;
    }
    grade->setRowStretch(linha, 1);
    corpo->addLayout(grade, 1);

    auto* video = new QWidget(Rct_Painel);
    video->setObjectName(QStringLiteral("Rct_VideoAula"));
    video->setAttribute(Qt::WA_StyledBackground);
    video->setFixedSize(220, 200);
    video->setStyleSheet(
        QStringLiteral("#Rct_VideoAula { background: #45A3CE; border-radius: 10px; }"));
    auto* videoLayout = new QVBoxLayout(video);
    auto* figura = new QLabel(video);
    figura->setPixmap(figuraVideo());
    figura->setAlignment(Qt::AlignCenter);
    videoLayout->addWidget(figura, 1);
    auto* videoTexto = new QLabel(QStringLiteral("Vídeos Aula"), video);
    videoTexto->setObjectName(QStringLiteral("Lab_VideoAula"));
    videoTexto->setAlignment(Qt::AlignCenter);
    videoTexto->setStyleSheet(
        QStringLiteral("color: white; font-size: 17pt; font-weight: bold; background: none;"));
    videoLayout->addWidget(videoTexto);
    auto* lado = new QVBoxLayout;
    lado->addWidget(video);
    lado->addStretch(1);
    corpo->addLayout(lado);

    auto* rodape = new QHBoxLayout;
    rodape->setContentsMargins(24, 0, 24, 16);
    rodape->addStretch(1);
    Btn_OK = new QPushButton(QStringLiteral("OK"), Rct_Painel);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setAutoDefault(false);
    Btn_OK->setFocusPolicy(Qt::NoFocus); // Enter and Esc close from anywhere
    Btn_OK->setCursor(Qt::PointingHandCursor);
    Btn_OK->setMinimumSize(160, 52);
    Btn_OK->setStyleSheet(
        QStringLiteral("QPushButton { background: #2E9E4F; color: white; border: none;"
                       " border-radius: 6px; font-size: 16pt; font-weight: bold; }"
                       "QPushButton:pressed { background: #267F40; }"));
    rodape->addWidget(Btn_OK);
    painel->addLayout(rodape);

    m_entrada = new QPropertyAnimation(Rct_Painel, "pos", this);
    m_entrada->setDuration(150);
    m_entrada->setEasingCurve(QEasingCurve::OutCubic);

    connect(Btn_OK, &QPushButton::clicked, this, &TAjuda::accept);
}

void TAjuda::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QRect alvo = Area_Painel();
    Rct_Painel->setGeometry(alvo);
    m_entrada->stop();
    m_entrada->setStartValue(QPoint(-alvo.width(), alvo.y()));
    m_entrada->setEndValue(alvo.topLeft());
    m_entrada->start();
    setFocus();
}

void TAjuda::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const QRect alvo = Area_Painel();
    if (m_entrada->state() == QAbstractAnimation::Running) {
        m_entrada->setEndValue(alvo.topLeft());
        Rct_Painel->resize(alvo.size());
    } else {
        Rct_Painel->setGeometry(alvo);
    }
}

QRect TAjuda::Area_Painel() const {
    return rect().adjusted(20, 20, -20, -20);
}

void TAjuda::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event); // Esc
}
