#include "Print_Options_Unit.h"

#include "Impressao_Perfil.h"

#include "foundation/MessageBox.h"
#include "widgets/Desenhos.h"
#include "widgets/Switch.h"

#include <QComboBox>
#include <QEasingCurve>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QSequentialAnimationGroup>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QColor Azul(0x45, 0xA3, 0xCE);
constexpr QSize Tamanho_Cartao(860, 580);

// A till receipt with its lines and torn foot.
QPixmap Figura_Cupom() {
    QPixmap pm(96, 96);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath papel;
    papel.moveTo(24, 8);
    papel.lineTo(72, 8);
    papel.lineTo(72, 84);
    for (int i = 0; i < 6; ++i) {
        papel.lineTo(72 - 4 - 8 * i, 90);
        papel.lineTo(72 - 8 - 8 * i, 84);
    }
    papel.closeSubpath();
    p.setPen(QPen(Azul.darker(130), 2.5));
    p.setBrush(Qt::white);
    p.drawPath(papel);
    p.setPen(QPen(Azul, 3, Qt::SolidLine, Qt::RoundCap));
    for (int y = 22; y <= 62; y += 10)
        p.drawLine(32, y, y == 62 ? 50 : 64, y);
    p.drawLine(56, 74, 64, 74);
    return pm;
}

// An order sheet with a cart.
QPixmap Figura_Pedido() {
    QPixmap pm(96, 96);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Azul.darker(130), 2.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(18, 8, 60, 80), 5, 5);
    p.setBrush(Azul.darker(130));
    p.drawRoundedRect(QRectF(36, 4, 24, 10), 3, 3);
    p.setPen(QPen(Azul, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(28, 26, 68, 26);
    p.drawLine(28, 36, 58, 36);
    Desenhar_Carrinho(&p, QRectF(30, 46, 38, 36), QColor(0xFF, 0xA5, 0x00));
    return pm;
}

// A bar chart.
QPixmap Figura_Gerencial() {
    QPixmap pm(96, 96);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Azul.darker(130), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(12, 84, 86, 84);
    p.drawLine(12, 84, 12, 10);
    p.setPen(Qt::NoPen);
    const QColor cores[] = {Azul, QColor(0xFF, 0xA5, 0x00), QColor(0x4C, 0xAF, 0x50), Azul};
    const int alturas[] = {30, 52, 40, 66};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(cores[i]);
        p.drawRoundedRect(QRectF(20 + i * 17, 80 - alturas[i], 12, alturas[i]), 2, 2);
    }
    return pm;
}

QPixmap Figura_Engrenagem(const QColor& cor) {
    QPixmap pm(40, 40);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(20, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    for (int i = 0; i < 8; ++i) {
        p.drawRoundedRect(QRectF(-3.5, -17, 7, 10), 1.5, 1.5);
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 12, 12);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), 5, 5);
    return pm;
}

QLabel* Rotulo(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    l->setStyleSheet(QStringLiteral("color: #37474F; font-size: 13pt;"));
    return l;
}

// The keys of the tab, for an operator who does not reach for the mouse.
QLabel* Rotulo_Teclas(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QStringLiteral("Lab_Teclas"));
    l->setStyleSheet(QStringLiteral("color: #78909C; font-size: 11pt;"));
    return l;
}

QPushButton* Botao(const QString& texto, const QString& nome, QWidget* pai) {
    auto* b = new QPushButton(texto, pai);
    b->setObjectName(nome);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus); // Enter and Esc belong to the screen
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumSize(180, 54);
    QFont f = b->font();
    f.setPointSize(16);
    f.setBold(true);
    b->setFont(f);
    return b;
}

QString Estilo_Botao(const QString& fundo, const QString& texto) {
    return QStringLiteral("QPushButton { background: %1; color: %2; border: none;"
                          " border-radius: 8px; }")
        .arg(fundo, texto);
}

} // namespace

TPrint_Options::TPrint_Options(const QString& Sistema_DirName, QWidget* parent)
    : QDialog(parent), m_dir(Sistema_DirName) {
    setObjectName(QStringLiteral("Print_Options"));
    setWindowTitle(QStringLiteral("Opções de Impressão"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);

    Lyt_Cupom = new QWidget(this);
    Lyt_Cupom->setObjectName(QStringLiteral("Lyt_Cupom"));
    Lyt_Cupom->setAttribute(Qt::WA_StyledBackground);
    Lyt_Cupom->setStyleSheet(
        QStringLiteral("#Lyt_Cupom { background: white; border-radius: 14px; }"));
    Lyt_Cupom->resize(Tamanho_Cartao);
    auto* cartao = new QVBoxLayout(Lyt_Cupom);
    cartao->setContentsMargins(28, 22, 28, 22);
    TbCtrl_Print = new QStackedWidget(Lyt_Cupom);
    TbCtrl_Print->setObjectName(QStringLiteral("TbCtrl_Print"));
    cartao->addWidget(TbCtrl_Print);
    TbCtrl_Print->addWidget(Criar_Opcoes());
    TbCtrl_Print->addWidget(Criar_Config());
    TbCtrl_Print->setCurrentWidget(Tab_Opcoes);

    auto* deslize = new QPropertyAnimation(Lyt_Cupom, "pos", this);
    deslize->setDuration(1000);
    deslize->setEasingCurve(QEasingCurve::OutElastic);
    m_entrada = new QSequentialAnimationGroup(this);
    m_entrada->addPause(500);
    m_entrada->addAnimation(deslize);

    if (parent) {
        setGeometry(parent->window()->geometry());
    } else if (QScreen* tela = screen()) {
        setGeometry(tela->geometry());
    }
}

QWidget* TPrint_Options::Criar_Opcoes() {
    Tab_Opcoes = new QWidget;
    Tab_Opcoes->setObjectName(QStringLiteral("Tab_Opcoes"));
    auto* v = new QVBoxLayout(Tab_Opcoes);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(14);

    auto* titulo = new QLabel(QStringLiteral("Opções de Impressão"), Tab_Opcoes);
    titulo->setObjectName(QStringLiteral("Lab_Titulo"));
    titulo->setStyleSheet(QStringLiteral("color: #1B759E; font-size: 22pt; font-weight: bold;"));
    v->addWidget(titulo);

    Lbx_Options = new QListWidget(Tab_Opcoes);
    Lbx_Options->setObjectName(QStringLiteral("Lbx_Options"));
    Lbx_Options->setViewMode(QListView::IconMode);
    Lbx_Options->setFlow(QListView::LeftToRight);
    Lbx_Options->setWrapping(false);
    Lbx_Options->setMovement(QListView::Static);
    Lbx_Options->setResizeMode(QListView::Adjust);
    Lbx_Options->setIconSize(QSize(96, 96));
    Lbx_Options->setGridSize(QSize(262, 206));
    Lbx_Options->setWordWrap(true);
    Lbx_Options->setSelectionMode(QAbstractItemView::SingleSelection);
    Lbx_Options->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Lbx_Options->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Lbx_Options->setFixedHeight(214);
    Lbx_Options->setStyleSheet(
        QStringLiteral("QListWidget { border: none; font-size: 15pt; color: #37474F; }"
                       "QListWidget::item { border-radius: 10px; padding: 6px; }"
                       "QListWidget::item:selected { background: #D6ECF6; color: #1B759E; }"));
    const QPixmap figuras[] = {Figura_Cupom(), Figura_Pedido(), Figura_Gerencial()};
    const QString textos[] = {QStringLiteral("Cupom Não Fiscal"),
                              QStringLiteral("Pedido de Compra Model 01"),
                              QStringLiteral("Gerencial de Vendas")};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QListWidgetItem(QIcon(figuras[i]), textos[i], Lbx_Options);
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        item->setSizeHint(QSize(250, 198));
    }
    Lbx_Options->setCurrentRow(-1);
    v->addWidget(Lbx_Options);

    WBrowser_Print = new QTextBrowser(Tab_Opcoes);
    WBrowser_Print->setObjectName(QStringLiteral("WBrowser_Print"));
    WBrowser_Print->setOpenExternalLinks(true);
    WBrowser_Print->setFocusPolicy(Qt::NoFocus);
    WBrowser_Print->setStyleSheet(
        QStringLiteral("QTextBrowser { border: 1px solid #CFD8DC; border-radius: 6px; }"));
    WBrowser_Print->hide();
    v->addWidget(WBrowser_Print, 1);
    v->addStretch();
    v->addWidget(Rotulo_Teclas(
        QStringLiteral("[Enter] Imprimir    [Esc] Cancelar    [F2] Configurar"), Tab_Opcoes));

    auto* botoes = new QHBoxLayout;
    botoes->setSpacing(16);
    Rectangle2 = new QPushButton(Tab_Opcoes);
    Rectangle2->setObjectName(QStringLiteral("Rectangle2"));
    Rectangle2->setFocusPolicy(Qt::NoFocus);
    Rectangle2->setCursor(Qt::PointingHandCursor);
    Rectangle2->setFixedSize(54, 54);
    Rectangle2->setToolTip(QStringLiteral("Configurar a impressão da opção escolhida [F2]"));
    Rectangle2->setStyleSheet(
        QStringLiteral("QPushButton { background: #ECEFF1; border: none; border-radius: 27px; }"
                       "QPushButton:hover { background: #CFD8DC; }"));
    auto* engrenagem = new QHBoxLayout(Rectangle2);
    engrenagem->setContentsMargins(7, 7, 7, 7);
    Image4 = new QLabel(Rectangle2);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setPixmap(Figura_Engrenagem(QColor(0x60, 0x7D, 0x8B)));
    Image4->setAttribute(Qt::WA_TransparentForMouseEvents);
    engrenagem->addWidget(Image4);
    botoes->addWidget(Rectangle2);
    botoes->addStretch();

    Rct_BtCancel = Botao(QStringLiteral("CANCELAR"), QStringLiteral("Rct_BtCancel"), Tab_Opcoes);
    Rct_BtCancel->setToolTip(QStringLiteral("[Esc]"));
    Rct_BtOk = Botao(QStringLiteral("IMPRIMIR"), QStringLiteral("Rct_BtOk"), Tab_Opcoes);
    Rct_BtOk->setToolTip(QStringLiteral("[Enter]"));
    for (QPushButton* b : {Rct_BtCancel, Rct_BtOk}) {
        Botao_Cores(b, false);
        b->installEventFilter(this);
    }
    botoes->addWidget(Rct_BtCancel);
    botoes->addWidget(Rct_BtOk);
    v->addLayout(botoes);

    connect(Rct_BtOk, &QPushButton::clicked, this, &TPrint_Options::Rct_BtOkClick);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &TPrint_Options::Rct_BtCancelClick);
    connect(Rectangle2, &QPushButton::clicked, this, &TPrint_Options::Rectangle2Click);
    return Tab_Opcoes;
}

QWidget* TPrint_Options::Criar_Config() {
    Tab_Config = new QWidget;
    Tab_Config->setObjectName(QStringLiteral("Tab_Config"));
    auto* v = new QVBoxLayout(Tab_Config);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(10);

    Lab_Config_Titulo = new QLabel(Tab_Config);
    Lab_Config_Titulo->setObjectName(QStringLiteral("Lab_Config_Titulo"));
    Lab_Config_Titulo->setStyleSheet(
        QStringLiteral("color: #1B759E; font-size: 20pt; font-weight: bold;"));
    v->addWidget(Lab_Config_Titulo);

    const QString campo = QStringLiteral("font-size: 13pt; min-height: 34px;");
    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(14);
    grade->setVerticalSpacing(8);

    Cbx_Impress_Nome = new QComboBox(Tab_Config);
    Cbx_Impress_Nome->setObjectName(QStringLiteral("Cbx_Impress_Nome"));
    Cbx_Impress_Nome->addItems(Impressora_Tipos());
    Cbx_Impress_Nome->setCurrentIndex(-1);
    Cbx_Impress_Nome->setStyleSheet(campo);
    grade->addWidget(Rotulo(QStringLiteral("Tipo de Impressora:"), Tab_Config), 0, 0);
    grade->addWidget(Cbx_Impress_Nome, 0, 1, 1, 3);

    Lab_Impress_Porta = Rotulo(QStringLiteral("Porta:"), Tab_Config);
    Lab_Impress_Porta->setObjectName(QStringLiteral("Lab_Impress_Porta"));
    Cbx_Impress_Porta = new QComboBox(Tab_Config);
    Cbx_Impress_Porta->setObjectName(QStringLiteral("Cbx_Impress_Porta"));
    Cbx_Impress_Porta->setEditable(true); // a port or file name of the operator's own
    Cbx_Impress_Porta->setInsertPolicy(QComboBox::NoInsert);
    Cbx_Impress_Porta->setStyleSheet(campo);
    grade->addWidget(Lab_Impress_Porta, 1, 0);
    grade->addWidget(Cbx_Impress_Porta, 1, 1, 1, 3);

    auto spin = [&](const char* nome, int minimo, int maximo) {
        auto* s = new QSpinBox(Tab_Config);
        s->setObjectName(QLatin1String(nome));
        s->setRange(minimo, maximo);
        s->setStyleSheet(campo);
        return s;
    };
    // A feed of -1 (no empty lines at all) is kept as an edited file holds it.
    Spn_Impress_Linha = spin("Spn_Impress_Linha", -1, 100);
    Spn_Impress_MgEsq = spin("Spn_Impress_MgEsq", 0, 100);
    Spn_Impress_Colunas = spin("Spn_Impress_Colunas", 0, 500);
    Spn_Impress_Fonte = spin("Spn_Impress_Fonte", 0, 100);
    grade->addWidget(Rotulo(QStringLiteral("Salto de Linha:"), Tab_Config), 2, 0);
    grade->addWidget(Spn_Impress_Linha, 2, 1);
    grade->addWidget(Rotulo(QStringLiteral("Margem Esqueda:"), Tab_Config), 2, 2);
    grade->addWidget(Spn_Impress_MgEsq, 2, 3);
    grade->addWidget(Rotulo(QStringLiteral("Caracteres por Linha:"), Tab_Config), 3, 0);
    grade->addWidget(Spn_Impress_Colunas, 3, 1);
    grade->addWidget(Rotulo(QStringLiteral("Tamanho da Fonte:"), Tab_Config), 3, 2);
    grade->addWidget(Spn_Impress_Fonte, 3, 3);
    grade->setColumnStretch(1, 1);
    grade->setColumnStretch(3, 1);
    v->addLayout(grade);

    auto* chaves = new QHBoxLayout;
    chaves->setSpacing(28);
    auto chave = [&](const char* nome, const QString& texto) {
        auto* s = new Switch(texto, Tab_Config);
        s->setObjectName(QLatin1String(nome));
        QFont f = s->font();
        f.setPointSize(13);
        s->setFont(f);
        chaves->addWidget(s);
        return s;
    };
    Swth_Impess_Gaveta = chave("Swth_Impess_Gaveta", QStringLiteral("Abrir Gaveta"));
    Swth_Impess_Papel = chave("Swth_Impess_Papel", QStringLiteral("Cortar Papel"));
    Swth_Impess_CBarra = chave("Swth_Impess_CBarra", QStringLiteral("Imprimir C. Barra"));
    chaves->addStretch();
    v->addLayout(chaves);

    v->addWidget(Rotulo(QStringLiteral("Mensagem do Cupom:"), Tab_Config));
    Mem_Mensagem = new QPlainTextEdit(Tab_Config);
    Mem_Mensagem->setObjectName(QStringLiteral("Mem_Mensagem"));
    Mem_Mensagem->setFont(Fonte_Courier(13, false));
    Mem_Mensagem->setTabChangesFocus(true);
    v->addWidget(Mem_Mensagem, 1);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(Rotulo_Teclas(QStringLiteral("[F2] Salvar    [Esc] Voltar"), Tab_Config));
    botoes->addStretch();
    Rectangle4 = Botao(QStringLiteral("VOLTAR"), QStringLiteral("Rectangle4"), Tab_Config);
    Rectangle4->setToolTip(QStringLiteral("[Esc]"));
    Rectangle4->setStyleSheet(Estilo_Botao(QStringLiteral("#D3D3D3"), QStringLiteral("#708090")));
    Rectangle3 = Botao(QStringLiteral("SALVAR"), QStringLiteral("Rectangle3"), Tab_Config);
    Rectangle3->setToolTip(QStringLiteral("[F2]"));
    Rectangle3->setStyleSheet(Estilo_Botao(QStringLiteral("#3797C3"), QStringLiteral("white")));
    botoes->addWidget(Rectangle4);
    botoes->addWidget(Rectangle3);
    v->addLayout(botoes);

    connect(Cbx_Impress_Nome, &QComboBox::currentIndexChanged, this,
            [this](int) { Cbx_Impress_NomeChange(); });
    connect(Rectangle3, &QPushButton::clicked, this, &TPrint_Options::Rectangle3Click);
    connect(Rectangle4, &QPushButton::clicked, this, &TPrint_Options::Rectangle4Click);
    return Tab_Config;
}

std::optional<int> TPrint_Options::Escolher(std::unique_ptr<TPrint_Options>& tela,
                                            const QString& Sistema_DirName, QWidget* parent) {
    tela.reset();
    tela = std::make_unique<TPrint_Options>(Sistema_DirName, parent);
    tela->exec();
    return tela->ResultPrint;
}

QString TPrint_Options::Perfil_NNN() const {
    const QList<QListWidgetItem*> escolhido = Lbx_Options->selectedItems();
    return Perfil_Numero(escolhido.isEmpty() ? -1 : Lbx_Options->row(escolhido.first()));
}

void TPrint_Options::Rct_BtOkClick() {
    const QString nnn = Perfil_NNN();
    if (nnn != QLatin1String("000")) ResultPrint = nnn.toInt() - 1;
    accept();
}

void TPrint_Options::Rct_BtCancelClick() {
    reject();
}

void TPrint_Options::Cbx_Impress_NomeChange() {
    const QString atual = Cbx_Impress_Porta->currentText();
    QStringList portas;
    QString rotulo;
    if (Impressora_Portas(Cbx_Impress_Nome->currentText(), portas, rotulo)) {
        Cbx_Impress_Porta->clear();
        Cbx_Impress_Porta->addItems(portas);
        Lab_Impress_Porta->setText(rotulo);
    }
    Cbx_Impress_Porta->setCurrentIndex(Cbx_Impress_Porta->findText(atual));
}

void TPrint_Options::Rectangle2Click() {
    const QString nnn = Perfil_NNN();
    const TPerfil_Impressao p = Perfil_Ler(m_dir, nnn);
    const int tipo = Cbx_Impress_Nome->findText(p.impress_nome);
    if (tipo < 0) {
        // Types that only an edited file holds cannot be shown here.
        MessageBox::ShowMessage(
            QStringLiteral("Tipo de impressora não reconhecido: \"%1\".").arg(p.impress_nome));
        return;
    }
    {
        const QSignalBlocker calado(Cbx_Impress_Nome);
        Cbx_Impress_Nome->setCurrentIndex(tipo);
    }
    Cbx_Impress_NomeChange();
    const int porta = Cbx_Impress_Porta->findText(p.impress_porta);
    Cbx_Impress_Porta->setCurrentIndex(porta);
    if (porta < 0) Cbx_Impress_Porta->setEditText(p.impress_porta);
    Spn_Impress_Linha->setValue(p.impress_Salto);
    Spn_Impress_MgEsq->setValue(p.impress_MgEsq);
    Spn_Impress_Colunas->setValue(p.impress_Colunas);
    Spn_Impress_Fonte->setValue(p.impress_Fonte);
    Swth_Impess_Gaveta->setCheckedSilently(p.impress_Gaveta);
    Swth_Impess_Papel->setCheckedSilently(p.impress_Papel);
    Swth_Impess_CBarra->setCheckedSilently(p.impress_CBarra);
    Mem_Mensagem->setPlainText(p.impress_Mensagem);

    Lab_Config_Titulo->setText(nnn == QLatin1String("000")
                                   ? QStringLiteral("Configurar Impressão")
                                   : QStringLiteral("Configurar Impressão - ") +
                                         Lbx_Options->item(nnn.toInt() - 1)->text());
    TbCtrl_Print->setCurrentWidget(Tab_Config);
    Cbx_Impress_Nome->setFocus();
}

void TPrint_Options::Rectangle3Click() {
    TPerfil_Impressao p;
    p.impress_nome =
        Cbx_Impress_Nome->currentIndex() < 0 ? QString() : Cbx_Impress_Nome->currentText();
    p.impress_porta = Cbx_Impress_Porta->currentText();
    p.impress_Salto = Spn_Impress_Linha->value();
    p.impress_MgEsq = Spn_Impress_MgEsq->value();
    p.impress_Colunas = Spn_Impress_Colunas->value();
    p.impress_Fonte = Spn_Impress_Fonte->value();
    p.impress_Gaveta = Swth_Impess_Gaveta->isChecked();
    p.impress_Papel = Swth_Impess_Papel->isChecked();
    p.impress_CBarra = Swth_Impess_CBarra->isChecked();
    p.impress_Mensagem = Mem_Mensagem->toPlainText();
    // A refusal or a file that cannot be written ends here, on the settings tab.
    Perfil_Salvar(m_dir, Perfil_NNN(), p);
    Rectangle4Click();
}

void TPrint_Options::Rectangle4Click() {
    TbCtrl_Print->setCurrentWidget(Tab_Opcoes);
    Lbx_Options->setFocus();
}

QPoint TPrint_Options::Posicao_Final() const {
    return {(width() - Lyt_Cupom->width()) / 2,
            int(std::lround((height() - Lyt_Cupom->height()) / 2.0))};
}

bool TPrint_Options::Deslizando() const {
    return m_entrada->state() == QAbstractAnimation::Running;
}

void TPrint_Options::FormShow() {
    const QString pagina = m_dir + QStringLiteral("Relatorio.html");
    if (QFileInfo::exists(pagina)) {
        WBrowser_Print->setSource(QUrl::fromLocalFile(pagina));
        WBrowser_Print->show();
    } else {
        WBrowser_Print->hide();
    }
}

void TPrint_Options::showEvent(QShowEvent* event) {
    if (parentWidget()) {
        QWidget* janela = parentWidget()->window();
        setGeometry(janela->geometry());
        m_fundo = janela->grab();
    }
    QDialog::showEvent(event);
    FormShow();
    Lyt_Cupom->resize(Tamanho_Cartao.boundedTo(size()));
    const QPoint fim = Posicao_Final();
    auto* deslize = static_cast<QPropertyAnimation*>(m_entrada->animationAt(1));
    m_entrada->stop();
    deslize->setStartValue(QPoint(width() + 800, fim.y()));
    deslize->setEndValue(fim);
    Lyt_Cupom->move(width() + 800, fim.y());
    m_entrada->start();
    Lbx_Options->setFocus();
}

void TPrint_Options::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Lyt_Cupom->resize(Tamanho_Cartao.boundedTo(size()));
    auto* deslize = static_cast<QPropertyAnimation*>(m_entrada->animationAt(1));
    if (Deslizando())
        deslize->setEndValue(Posicao_Final());
    else if (isVisible())
        Lyt_Cupom->move(Posicao_Final());
}

void TPrint_Options::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_fundo.isNull()) p.drawPixmap(rect(), m_fundo);
    p.fillRect(rect(), QColor::fromRgba(0xA5000000));
}

void TPrint_Options::keyPressEvent(QKeyEvent* event) {
    const bool opcoes = TbCtrl_Print->currentWidget() == Tab_Opcoes;
    switch (event->key()) {
    case Qt::Key_Escape:
        opcoes ? Rct_BtCancelClick() : Rectangle4Click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (opcoes) Rct_BtOkClick();
        return;
    case Qt::Key_F2:
        opcoes ? Rectangle2Click() : Rectangle3Click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TPrint_Options::Botao_Cores(QPushButton* botao, bool sob_mouse) {
    if (botao == Rct_BtOk)
        botao->setStyleSheet(
            sob_mouse ? Estilo_Botao(QStringLiteral("#6495ED"), QStringLiteral("black"))
                      : Estilo_Botao(QStringLiteral("#3797C3"), QStringLiteral("white")));
    else
        botao->setStyleSheet(
            sob_mouse ? Estilo_Botao(QStringLiteral("#808080"), QStringLiteral("white"))
                      : Estilo_Botao(QStringLiteral("#D3D3D3"), QStringLiteral("#708090")));
}

bool TPrint_Options::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Rct_BtOk || watched == Rct_BtCancel) &&
        (event->type() == QEvent::Enter || event->type() == QEvent::Leave))
        Botao_Cores(static_cast<QPushButton*>(watched), event->type() == QEvent::Enter);
    return QDialog::eventFilter(watched, event);
}
