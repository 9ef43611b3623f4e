#include "Ajuda_Unit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
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

TAjuda::TAjuda(QWidget* parent)
    : PainelModal(QStringLiteral("Ajuda"), QStringLiteral("Instruções e Vídeos"), QSize(900, 640),
                  parent) {
    Corpo()->setContentsMargins(24, 20, 24, 16);
    Corpo()->setSpacing(12);
    auto* colunas = new QHBoxLayout;
    colunas->setSpacing(28);
    Corpo()->addLayout(colunas, 1);

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
    colunas->addLayout(grade, 1);

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
    colunas->addLayout(lado);

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    Btn_OK = botao(QStringLiteral("OK"), QStringLiteral("#2E9E4F"), QStringLiteral("Btn_OK"));
    Btn_OK->setMinimumSize(160, 52);
    rodape->addWidget(Btn_OK);
    Corpo()->addLayout(rodape);

    connect(Btn_OK, &QPushButton::clicked, this, &TAjuda::accept);
}

void TAjuda::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    setFocus(); // Enter and Esc close from anywhere
}

void TAjuda::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    PainelModal::keyPressEvent(event); // Esc
}
