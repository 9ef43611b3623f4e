#include "Config_Unit.h"

#include "PrintSerial_Impressao.h"
#include "Relatorio.h"

#include "foundation/Errors.h"
#include "foundation/MessageBox.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A small thermal printer issuing a receipt with a QR code.
QPixmap logo() {
    QPixmap pix(104, 76);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    // the receipt
    QPainterPath papel;
    papel.moveTo(34, 4);
    papel.lineTo(70, 4);
    papel.lineTo(70, 44);
    papel.lineTo(34, 44);
    papel.closeSubpath();
    p.fillPath(papel, Qt::white);
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb0), 1));
    p.drawPath(papel);
    p.setPen(QPen(QColor(0x44, 0x4c, 0x56), 1.6));
    for (int y = 10; y <= 22; y += 4) p.drawLine(38, y, y == 22 ? 54 : 66, y);
    // a QR corner pattern on the receipt
    p.fillRect(QRectF(46, 27, 12, 12), QColor(0x22, 0x22, 0x22));
    p.fillRect(QRectF(48, 29, 8, 8), Qt::white);
    p.fillRect(QRectF(50, 31, 4, 4), QColor(0x22, 0x22, 0x22));
    // the printer's body
    QLinearGradient corpo(0, 36, 0, 72);
    corpo.setColorAt(0, QColor(0x2f, 0x6f, 0xb5));
    corpo.setColorAt(1, QColor(0x1b, 0x44, 0x78));
    p.setPen(Qt::NoPen);
    p.setBrush(corpo);
    p.drawRoundedRect(QRectF(8, 40, 88, 32), 7, 7);
    p.setBrush(QColor(0x10, 0x2a, 0x4a));
    p.drawRoundedRect(QRectF(28, 40, 48, 6), 2, 2);
    p.setBrush(QColor(0x6c, 0xe0, 0x6c));
    p.drawEllipse(QPointF(84, 60), 3.2, 3.2);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(12, 52, 66, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("PrintSerial"));
    return pix;
}

QSpinBox* spin(QWidget* pai, const QString& nome, PrintSerial::Faixa faixa, int valor) {
    auto* s = new QSpinBox(pai);
    s->setObjectName(nome);
    s->setRange(faixa.min, faixa.max);
    s->setValue(valor);
    s->setAlignment(Qt::AlignRight);
    return s;
}

QGroupBox* grupo(QWidget* pai, const QString& nome, const QString& titulo) {
    auto* g = new QGroupBox(titulo, pai);
    g->setObjectName(nome);
    return g;
}

} // namespace

TConfig1::TConfig1(const QString& iniPath, QWidget* parent)
    : QDialog(parent), m_iniPath(iniPath) {
    setObjectName(QStringLiteral("Config1"));
    setWindowTitle(QStringLiteral("Configuração da DLL"));
    const TPrintSerial_Config padrao;

    Img_Logo = new QLabel(this);
    Img_Logo->setObjectName(QStringLiteral("Img_Logo"));
    Img_Logo->setPixmap(logo());
    Img_Logo->setAlignment(Qt::AlignCenter);

    QGroupBox* saida = grupo(this, QStringLiteral("GroupBox1"), QStringLiteral(" Arquivo "));
    Rad_Imprimir = new QRadioButton(QStringLiteral("Imprimir"), saida);
    Rad_Imprimir->setObjectName(QStringLiteral("Rad_Imprimir"));
    Rad_Visualizar = new QRadioButton(QStringLiteral("Visualizar"), saida);
    Rad_Visualizar->setObjectName(QStringLiteral("Rad_Visualizar"));
    Rad_Visualizar->setChecked(padrao.Visualizar);
    Rad_Imprimir->setChecked(!padrao.Visualizar);
    QRCode_Print = new QCheckBox(QStringLiteral("QRCode"), saida);
    QRCode_Print->setObjectName(QStringLiteral("QRCode_Print"));
    QRCode_Print->setChecked(padrao.QRCode_Print);
    auto* ls = new QVBoxLayout(saida);
    ls->setSpacing(2);
    ls->addWidget(Rad_Imprimir);
    ls->addWidget(Rad_Visualizar);
    ls->addWidget(QRCode_Print);

    QGroupBox* fonte = grupo(this, QStringLiteral("GroupBox2"), QStringLiteral("Fonte"));
    Spn_FonteTamanho = spin(fonte, QStringLiteral("Spn_FonteTamanho"), PrintSerial::Faixa_Fonte,
                            padrao.FonteTamanho);
    auto* lf = new QVBoxLayout(fonte);
    auto* rotuloFonte = new QLabel(QStringLiteral("Tamanho:"), fonte);
    rotuloFonte->setBuddy(Spn_FonteTamanho);
    lf->addWidget(rotuloFonte);
    lf->addWidget(Spn_FonteTamanho);
    lf->addStretch();

    QGroupBox* arquivo = grupo(this, QStringLiteral("GroupBox3"), QStringLiteral(" Arquivo "));
    Edt_Arquivo = new QLineEdit(arquivo);
    Edt_Arquivo->setObjectName(QStringLiteral("Edt_Arquivo"));
    SpeedButton1 = new QToolButton(arquivo);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setToolTip(QStringLiteral("Escolher o arquivo"));
    auto* la = new QHBoxLayout(arquivo);
    la->addWidget(Edt_Arquivo, 1);
    la->addWidget(SpeedButton1);

    QGroupBox* papel =
        grupo(this, QStringLiteral("GroupBox4"), QStringLiteral("Tamanho do  Papel  [cm]"));
    Spn_PapelLargura = spin(papel, QStringLiteral("Spn_PapelLargura"), PrintSerial::Faixa_Papel,
                            padrao.PapelLargura);
    Spn_PapelAltura = spin(papel, QStringLiteral("Spn_PapelAltura"), PrintSerial::Faixa_Papel,
                           padrao.PapelAltura);
    auto* lp = new QGridLayout(papel);
    lp->addWidget(new QLabel(QStringLiteral("Largura"), papel), 0, 0);
    lp->addWidget(Spn_PapelLargura, 0, 1);
    lp->addWidget(new QLabel(QStringLiteral("Altura"), papel), 0, 2);
    lp->addWidget(Spn_PapelAltura, 0, 3);
    lp->setColumnStretch(1, 1);
    lp->setColumnStretch(3, 1);

    QGroupBox* margens = grupo(this, QStringLiteral("GroupBox5"), QStringLiteral(" Margens "));
    Spn_MargemSup = spin(margens, QStringLiteral("Spn_MargemSup"), PrintSerial::Faixa_Margem,
                         padrao.MargemSup);
    Spn_MargemDir = spin(margens, QStringLiteral("Spn_MargemDir"), PrintSerial::Faixa_Margem,
                         padrao.MargemDir);
    Spn_MargemEsq = spin(margens, QStringLiteral("Spn_MargemEsq"), PrintSerial::Faixa_Margem,
                         padrao.MargemEsq);
    Spn_MargemInf = spin(margens, QStringLiteral("Spn_MargemInf"), PrintSerial::Faixa_Margem,
                         padrao.MargemInf);
    auto* lm = new QGridLayout(margens);
    lm->addWidget(new QLabel(QStringLiteral("Superior"), margens), 0, 0);
    lm->addWidget(Spn_MargemSup, 0, 1);
    lm->addWidget(new QLabel(QStringLiteral("Direita"), margens), 0, 2);
    lm->addWidget(Spn_MargemDir, 0, 3);
    lm->addWidget(new QLabel(QStringLiteral("Esquerda"), margens), 1, 0);
    lm->addWidget(Spn_MargemEsq, 1, 1);
    lm->addWidget(new QLabel(QStringLiteral("Inferior"), margens), 1, 2);
    lm->addWidget(Spn_MargemInf, 1, 3);
    lm->setColumnStretch(1, 1);
    lm->setColumnStretch(3, 1);

    auto botao = [this](const QString& nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        return b;
    };
    Button3 = botao(QStringLiteral("Button3"), QStringLiteral("Testar Impressão TXT"));
    Button4 = botao(QStringLiteral("Button4"), QStringLiteral("Testar Impressão"));
    Button2 = botao(QStringLiteral("Button2"), QStringLiteral("Cancelar"));
    Button1 = botao(QStringLiteral("Button1"), QStringLiteral("Salvar"));

    auto* linha = new QFrame(this);
    linha->setObjectName(QStringLiteral("Bevel1"));
    linha->setFrameShape(QFrame::HLine);
    linha->setFrameShadow(QFrame::Sunken);

    auto* grade = new QGridLayout(this);
    grade->setContentsMargins(10, 10, 10, 10);
    grade->setHorizontalSpacing(8);
    grade->setVerticalSpacing(8);
    grade->addWidget(Img_Logo, 0, 0);
    grade->addWidget(saida, 0, 1);
    grade->addWidget(fonte, 0, 2);
    grade->addWidget(arquivo, 1, 0, 1, 3);
    grade->addWidget(papel, 2, 0, 1, 3);
    grade->addWidget(margens, 3, 0, 1, 3);
    auto* testes = new QHBoxLayout;
    testes->addWidget(Button3);
    testes->addWidget(Button4);
    grade->addLayout(testes, 4, 0, 1, 3);
    grade->addWidget(linha, 5, 0, 1, 3);
    auto* fim = new QHBoxLayout;
    fim->addStretch();
    fim->addWidget(Button2);
    fim->addWidget(Button1);
    grade->addLayout(fim, 6, 0, 1, 3);

    connect(Button1, &QPushButton::clicked, this, &TConfig1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TConfig1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TConfig1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TConfig1::Button3Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TConfig1::SpeedButton1Click);

    setFixedWidth(Largura);
}

void TConfig1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TConfig1::FormShow() {
    setFixedWidth(Largura);
    IniFile_Abrir();
}

TPrintSerial_Config TConfig1::Config() const {
    TPrintSerial_Config c;
    c.ArquivoOLD = Edt_Arquivo->text();
    c.Visualizar = Rad_Visualizar->isChecked();
    c.CBarra = Impressoras_CBarra;
    c.QRCode_Print = QRCode_Print->isChecked();
    c.PapelLargura = Spn_PapelLargura->value();
    c.PapelAltura = Spn_PapelAltura->value();
    c.FonteTamanho = Spn_FonteTamanho->value();
    c.MargemSup = Spn_MargemSup->value();
    c.MargemInf = Spn_MargemInf->value();
    c.MargemDir = Spn_MargemDir->value();
    c.MargemEsq = Spn_MargemEsq->value();
    return c;
}

void TConfig1::Config_Mostrar(const TPrintSerial_Config& c) {
    Edt_Arquivo->setText(c.ArquivoOLD);
    Rad_Visualizar->setChecked(c.Visualizar);
    Rad_Imprimir->setChecked(!c.Visualizar);
    Impressoras_CBarra = c.CBarra;
    QRCode_Print->setChecked(c.QRCode_Print);
    Spn_PapelLargura->setValue(c.PapelLargura);
    Spn_PapelAltura->setValue(c.PapelAltura);
    Spn_FonteTamanho->setValue(c.FonteTamanho);
    Spn_MargemSup->setValue(c.MargemSup);
    Spn_MargemInf->setValue(c.MargemInf);
    Spn_MargemDir->setValue(c.MargemDir);
    Spn_MargemEsq->setValue(c.MargemEsq);
}

void TConfig1::IniFile_Abrir() {
    Config_Mostrar(PrintSerial::Config_Ler(m_iniPath, Config()));
}

void TConfig1::IniFile_Salva() {
    PrintSerial::Config_Salvar(m_iniPath, Config());
}

void TConfig1::Button1Click() {
    try {
        IniFile_Salva();
    } catch (const Error& e) {
        MessageBox::ShowMessage(e.message());
        return;
    }
    accept();
}

void TConfig1::Button2Click() {
    reject();
}

void TConfig1::SpeedButton1Click() {
    QFileDialog escolha(this, QStringLiteral("Abrir"), QFileInfo(Edt_Arquivo->text()).path(),
                        QStringLiteral("Arquivo TXT (*.txt)"));
    escolha.setObjectName(QStringLiteral("OpenDialog1"));
    escolha.setFileMode(QFileDialog::ExistingFile);
    escolha.setAcceptMode(QFileDialog::AcceptOpen);
    if (escolha.exec() == QDialog::Accepted && !escolha.selectedFiles().isEmpty())
        Edt_Arquivo->setText(QDir::toNativeSeparators(escolha.selectedFiles().constFirst()));
}

void TConfig1::Button3Click() {
    const QString arquivo = Edt_Arquivo->text().trimmed();
    if (arquivo.isEmpty()) return;
    const bool visualizar = Rad_Visualizar->isChecked();
    const QString qrCode = Impressoras_CBarra;
    if (!QFileInfo(arquivo).isFile()) return;
    try {
        QStringList linhas = Relatorio::Linhas_Ler(arquivo);
        const int n = int(linhas.size());
        const Relatorio::TRelatorio relatorio(std::move(linhas),
                                              Relatorio::Pagina_Teste(Config(), n, qrCode));
        PrintSerial::Relatorio_Saida(relatorio, visualizar, QFileInfo(arquivo).fileName(), this);
    } catch (const Error& e) {
        MessageBox::ShowMessage(e.message());
    }
}
