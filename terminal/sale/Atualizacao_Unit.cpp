#include "Atualizacao_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "platform/Platform.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Principal_Unit.h"
#include "widgets/CircleButton.h"

#include <QColor>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>
#include <limits>

namespace {

const char* BAIXAR = "BAIXAR ATUALIZAÇÃO";
// The blinking's rule follows whatever else the entry's sheet says (its red border).
const QString MARCA_PISCAR = QStringLiteral("/*ColorAnim_Update2*/");

QPushButton* botaoComLegenda(const QString& nome, const QString& nomeLegenda,
                             const QString& legenda, const QString& cor, QWidget* pai,
                             QLabel** rotulo) {
    auto* b = new QPushButton(pai);
    b->setObjectName(nome);
    b->setAutoDefault(true); // Enter on the focused button presses it
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(54);
    b->setStyleSheet(QStringLiteral("QPushButton#%1 { background: %2; border: none;"
                                    " border-radius: 6px; }"
                                    "QPushButton#%1:focus { border: 3px solid #2C3E50; }")
                         .arg(nome, cor));
    auto* h = new QHBoxLayout(b);
    h->setContentsMargins(12, 4, 12, 4);
    auto* l = new QLabel(legenda, b);
    l->setObjectName(nomeLegenda);
    l->setAlignment(Qt::AlignCenter);
    l->setAttribute(Qt::WA_TransparentForMouseEvents); // the caption clicks as its button
    l->setStyleSheet(
        QStringLiteral("color: white; font-size: 17px; font-weight: bold; background: none;"));
    h->addWidget(l);
    if (rotulo) *rotulo = l;
    return b;
}

} // namespace

QString TAtualizacao::Texto_Aviso() {
    return QString::fromUtf8(
        "Está disponível uma versão mais recente do seu aplicativo. Para garantir sempre o "
        "melhor desempenho do aplicativo, recomendamos a instalação da versão atualizada. "
        "Clique no botão para baixar seu novos recursos.");
}

TAtualizacao::TAtualizacao(TPrincipal& principal)
    : QWidget(&principal.Login()), m_principal(principal) {
    setObjectName(QStringLiteral("Lyt_Update"));
    setFixedWidth(560);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#Lyt_Update { background: white; border-radius: 12px; }"));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(32, 28, 32, 28);
    box->setSpacing(14);

    Lab_Update_Title = new QLabel(QString::fromUtf8("Atualização Disponível!"), this);
    Lab_Update_Title->setObjectName(QStringLiteral("Lab_Update_Title"));
    Lab_Update_Title->setAlignment(Qt::AlignCenter);
    Lab_Update_Title->setStyleSheet(
        QStringLiteral("font-size: 26px; font-weight: bold; color: #2C3E50;"));
    box->addWidget(Lab_Update_Title);

    Lab_Update_New = new QLabel(Texto_Aviso(), this);
    Lab_Update_New->setObjectName(QStringLiteral("Lab_Update_New"));
    Lab_Update_New->setWordWrap(true);
    Lab_Update_New->setAlignment(Qt::AlignCenter);
    Lab_Update_New->setStyleSheet(QStringLiteral("color: #455A64;"));
    QFont texto = Lab_Update_New->font();
    texto.setPixelSize(17);
    Lab_Update_New->setFont(texto);
    // A fixed-width box does not grow with a wrapped text by itself.
    Lab_Update_New->setMinimumHeight(Lab_Update_New->heightForWidth(560 - 64));
    box->addWidget(Lab_Update_New);

    Progress_Update = new QProgressBar(this);
    Progress_Update->setObjectName(QStringLiteral("Progress_Update"));
    Progress_Update->setTextVisible(false);
    Progress_Update->setFixedHeight(14);
    Progress_Update->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid #B0BEC5; border-radius: 6px;"
                       " background: #ECEFF1; }"
                       "QProgressBar::chunk { background: #45A3CE; border-radius: 6px; }"));
    Progress_Update->hide();
    box->addWidget(Progress_Update);

    Rct_BtUpdate =
        botaoComLegenda(QStringLiteral("Rct_BtUpdate"), QStringLiteral("Lab_BtUpdate"),
                        QString::fromUtf8(BAIXAR), QStringLiteral("#2E9E4F"), this, &Lab_BtUpdate);
    box->addWidget(Rct_BtUpdate);
    Rct_BtUptd_Cancel =
        botaoComLegenda(QStringLiteral("Rct_BtUptd_Cancel"), QStringLiteral("Lab_BtUptd_Cancel"),
                        QStringLiteral("BAIXAR DEPOIS"), QStringLiteral("#90A4AE"), this, nullptr);
    box->addWidget(Rct_BtUptd_Cancel);

    connect(Rct_BtUpdate, &QPushButton::clicked, this, [this] { Atualizacao_Baixar(); });
    connect(Rct_BtUptd_Cancel, &QPushButton::clicked, this, [this] { Atualizacao_Depois(); });

    ColorAnim_Update2 = new QVariantAnimation(this);
    ColorAnim_Update2->setObjectName(QStringLiteral("ColorAnim_Update2"));
    ColorAnim_Update2->setStartValue(QColor(Qt::white));
    ColorAnim_Update2->setEndValue(QColor(0x92, 0xF5, 0x30));
    ColorAnim_Update2->setDuration(1500);
    ColorAnim_Update2->setLoopCount(-1);
    connect(ColorAnim_Update2, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        QPushButton* app = Rct_Update_App();
        if (!app) return;
        QString folha = app->styleSheet();
        const qsizetype marca = folha.indexOf(MARCA_PISCAR);
        if (marca >= 0) folha.truncate(marca);
        app->setStyleSheet(folha + MARCA_PISCAR +
                           QStringLiteral("QPushButton#Rct_Update_App { background: %1; }")
                               .arg(v.value<QColor>().name()));
    });

    principal.Login().Colocar_Aviso(this);
    principal.Ganchos_.Atualizar_App = [this] { Atualizacao_Baixar(); };
}

QPushButton* TAtualizacao::Rct_Update_App() const {
    return m_principal.findChild<QPushButton*>(QStringLiteral("Rct_Update_App"));
}

void TAtualizacao::Piscar_Atualizar_App(bool ligado) {
    if (ligado) {
        ColorAnim_Update2->start();
        return;
    }
    ColorAnim_Update2->stop();
    if (QPushButton* app = Rct_Update_App()) {
        QString folha = app->styleSheet();
        const qsizetype marca = folha.indexOf(MARCA_PISCAR);
        if (marca >= 0) {
            folha.truncate(marca);
            app->setStyleSheet(folha);
        }
    }
}

void TAtualizacao::Atualizacao_webAPI() {
    Piscar_Atualizar_App(false);
    m_principal.Circ_Update_Alert->hide();

    qint32 versao = 0;
    if (!Atualizacao_Versao_Consultar(versao)) return; // silent: no notice
    if (!(m_principal.App_Versao < versao)) return;

    Progress_Update->hide();
    Rct_BtUptd_Cancel->show();
    // The sign-in box goes first: the two together would not fit a small screen, and the
    // window would grow past it.
    m_principal.Login().Lyt_Login->hide();
    show();
    raise();
    Piscar_Atualizar_App(true);
    m_principal.Circ_Update_Alert->show();
    if (QPushButton* app = Rct_Update_App()) app->setToolTip(Texto_Aviso());
    m_principal.Lab_Update_Info->setText(Texto_Aviso());
    Rct_BtUpdate->setFocus();
}

void TAtualizacao::Atualizacao_Depois() {
    QWidget* login = m_principal.Login().Lyt_Login;
    raise();
    login->raise();
    hide();
    login->show();
    m_principal.Login().Focar_Email();
}

void TAtualizacao::Redesenhar() {
    // The download holds the user-interface thread: lay out and paint now, not at the
    // next turn of the loop.
    layout()->activate();
    if (QLayout* l = parentWidget()->layout()) l->activate();
    parentWidget()->repaint();
}

void TAtualizacao::Andamento(qint64 recebidos, qint64 total) {
    Lab_BtUpdate->setText(QStringLiteral("Realizando Download"));
    // The bar counts in ints: a file beyond that counts in kilobytes.
    const int escala = total > std::numeric_limits<int>::max() ? 1024 : 1;
    if (total > 0) Progress_Update->setMaximum(int(total / escala));
    Progress_Update->setValue(int(std::min(recebidos, total > 0 ? total : recebidos) / escala));
    Redesenhar();
}

void TAtualizacao::Atualizacao_Baixar() {
    if (m_download.Conectado()) return; // still connected from this run's download

    Lab_BtUpdate->setText(QStringLiteral("Iniciando Download"));
    Progress_Update->setRange(0, 1);
    Progress_Update->setValue(0);
    Progress_Update->show();
    Rct_BtUptd_Cancel->hide();
    Redesenhar();

    const QString destino = Atualizacao_Destino(m_principal.DModule().Sistema_DirName);
    const TAtualizacao_Download::Resultado r = m_download.Baixar(
        destino, [this](qint64 recebidos, qint64 total) { Andamento(recebidos, total); });

    Progress_Update->hide();
    Rct_BtUptd_Cancel->show();
    if (r == TAtualizacao_Download::Falhou) {
        Lab_BtUpdate->setText(QString::fromUtf8(BAIXAR));
        Redesenhar();
        MessageBox::ShowMessage(QStringLiteral("connection error!"));
        return;
    }
    Lab_BtUpdate->setText(QStringLiteral("Download Finalizado"));
    Redesenhar();
#ifdef Q_OS_WIN
    // The installer replaces this program, which must not be running.
    Platform::shellOpen(destino);
    m_principal.close();
#endif
}
