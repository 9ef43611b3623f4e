#include "Login_Tab_Unit.h"

#include "foundation/DModule_Unit.h"
#include "platform/Hosts.h"
#include "platform/Platform.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cmath>

namespace {

const char* BEM_VINDO = "Seja bem vindo!";
const char* AJUDA =
    "Entre com seu login e senha para ter acesso ao sistema e aproveitar todos os recursos.";

// The round user picture; red and tilted while the error signal runs.
class UserIcon : public QWidget {
public:
    explicit UserIcon(QWidget* parent) : QWidget(parent) { setFixedSize(96, 96); }
    QColor cor = QColor(0x2C, 0x3E, 0x50);
    qreal rotacao = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(width() / 2.0, height() / 2.0);
        p.rotate(rotacao);
        p.setPen(Qt::NoPen);
        p.setBrush(cor);
        p.drawEllipse(QPointF(0, 0), 46, 46);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, -12), 16, 16);
        p.drawPie(QRectF(-28, 8, 56, 48), 0, 180 * 16);
    }
};

QLabel* link(const QString& texto, const QString& endereco, QWidget* parent,
             std::function<void()> antes = {}) {
    auto* l = new QLabel(QStringLiteral("<a href=\"#\" style=\"color:#45A3CE;\">%1</a>").arg(texto),
                         parent);
    l->setCursor(Qt::PointingHandCursor);
    QObject::connect(l, &QLabel::linkActivated, l, [endereco, antes] {
        if (antes) antes();
        Platform::shellOpen(endereco);
    });
    return l;
}

} // namespace

TLogin_Tab::TLogin_Tab(TPrincipal& principal, QWidget* tab) : QWidget(tab), m_principal(principal) {
    setObjectName(QStringLiteral("Lyt_Login_Area"));
    auto* tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->addWidget(this);

    auto* centro = new QVBoxLayout(this);
    centro->addStretch(1);
    Lyt_Login = new QWidget(this);
    Lyt_Login->setObjectName(QStringLiteral("Lyt_Login"));
    Lyt_Login->setFixedWidth(460);
    Lyt_Login->setAttribute(Qt::WA_StyledBackground);
    Lyt_Login->setStyleSheet(QStringLiteral(
        "#Lyt_Login { background: white; border-radius: 12px; }"
        "QLineEdit, QComboBox { font-size: 18px; padding: 8px; border: 1px solid #BDBDBD;"
        " border-radius: 6px; }"
        "QPushButton#Rct_BtEntrar { background: #45A3CE; color: white; font-size: 18px;"
        " font-weight: bold; border-radius: 6px; padding: 12px; }"));
    auto* box = new QVBoxLayout(Lyt_Login);
    box->setContentsMargins(32, 24, 32, 24);
    box->setSpacing(12);

    auto* icone = new UserIcon(Lyt_Login);
    icone->setObjectName(QStringLiteral("Circ_Login_User"));
    Circ_Login_User = icone;
    box->addWidget(icone, 0, Qt::AlignHCenter);

    Lab_Login_Title = new QLabel(QString::fromUtf8(BEM_VINDO), Lyt_Login);
    Lab_Login_Title->setObjectName(QStringLiteral("Lab_Login_Title"));
    Lab_Login_Title->setAlignment(Qt::AlignCenter);
    Lab_Login_Title->setStyleSheet(QStringLiteral("font-size: 26px; font-weight: bold;"));
    box->addWidget(Lab_Login_Title);
    Lab_Login_Help = new QLabel(QString::fromUtf8(AJUDA), Lyt_Login);
    Lab_Login_Help->setObjectName(QStringLiteral("Lab_Login_Help"));
    Lab_Login_Help->setAlignment(Qt::AlignCenter);
    Lab_Login_Help->setWordWrap(true);
    Lab_Login_Help->setMinimumHeight(40); // the box keeps its place while the help is empty
    Lab_Login_Help->setStyleSheet(QStringLiteral("font-size: 14px; color: #555;"));
    box->addWidget(Lab_Login_Help);

    Edt_Usuario_Email = new QComboBox(Lyt_Login);
    Edt_Usuario_Email->setObjectName(QStringLiteral("Edt_Usuario_Email"));
    Edt_Usuario_Email->setEditable(true);
    Edt_Usuario_Email->setInsertPolicy(QComboBox::NoInsert);
    Edt_Usuario_Email->lineEdit()->setPlaceholderText(QStringLiteral("E-mail"));
    Edt_Usuario_Email->installEventFilter(
        this); // the combo box passes its keys to its editor directly
    box->addWidget(Edt_Usuario_Email);

    Edt_Usuario_Password = new QLineEdit(Lyt_Login);
    Edt_Usuario_Password->setObjectName(QStringLiteral("Edt_Usuario_Password"));
    Edt_Usuario_Password->setEchoMode(QLineEdit::Password);
    Edt_Usuario_Password->setPlaceholderText(QStringLiteral("Senha"));
    Edt_Usuario_Password->installEventFilter(this);
    box->addWidget(Edt_Usuario_Password);

    auto* links = new QHBoxLayout();
    links->addWidget(link(QStringLiteral("ESQUECEU?"), Hosts::Site() + "/esqueceu/", Lyt_Login));
    links->addStretch();
    links->addWidget(
        link(QStringLiteral("CADASTRE-SE"), Hosts::Site() + "/app/cadastro/", Lyt_Login));
    box->addLayout(links);

    Rct_BtEntrar = new QPushButton(QStringLiteral("ENTRAR NO SISTEMA"), Lyt_Login);
    Rct_BtEntrar->setObjectName(QStringLiteral("Rct_BtEntrar"));
    Rct_BtEntrar->setCursor(Qt::PointingHandCursor);
    box->addWidget(Rct_BtEntrar);
    connect(Rct_BtEntrar, &QPushButton::clicked, this, [this] { Login_Entrar(); });

    auto* atalhos = new QHBoxLayout();
    auto minimiza = [this] { m_principal.showMinimized(); };
    atalhos->addWidget(
        link(QStringLiteral("Aplicativo WEB"), Hosts::Site() + "/app/", Lyt_Login, minimiza));
    atalhos->addStretch();
    atalhos->addWidget(
        link(QStringLiteral("Loja de aplicativos"), Hosts::Loja_Aplicativo(), Lyt_Login, minimiza));
    atalhos->addStretch();
    atalhos->addWidget(link(QStringLiteral("Tarvel"), Hosts::Fornecedor(), Lyt_Login));
    atalhos->addStretch();
    auto* baixar = new QLabel(
        QStringLiteral("<a href=\"#\" style=\"color:#45A3CE;\">Baixar atualização</a>"), Lyt_Login);
    baixar->setObjectName(QStringLiteral("Img_Download"));
    baixar->setCursor(Qt::PointingHandCursor);
    connect(baixar, &QLabel::linkActivated, this, [this] {
        if (m_principal.Ganchos_.Atualizar_App) m_principal.Ganchos_.Atualizar_App();
    });
    atalhos->addWidget(baixar);
    box->addLayout(atalhos);

    centro->addWidget(Lyt_Login, 0, Qt::AlignHCenter);
    centro->addStretch(1);
}

QString TLogin_Tab::Email_Texto() const {
    return Edt_Usuario_Email->currentText();
}

void TLogin_Tab::Email_Definir(const QString& email) {
    Edt_Usuario_Email->setEditText(email);
}

QStringList TLogin_Tab::Emails() const {
    QStringList l;
    for (int i = 0; i < Edt_Usuario_Email->count(); ++i)
        l << Edt_Usuario_Email->itemText(i);
    return l;
}

void TLogin_Tab::Emails_Carregar(const QStringList& emails) {
    const QString texto = Email_Texto();
    Edt_Usuario_Email->clear();
    Edt_Usuario_Email->addItems(emails);
    Edt_Usuario_Email->setEditText(texto);
}

void TLogin_Tab::Focar_Email() {
    Edt_Usuario_Email->setFocus();
    Edt_Usuario_Email->lineEdit()->end(false);
}

void TLogin_Tab::Colocar_Aviso(QWidget* aviso) {
    auto* centro = static_cast<QVBoxLayout*>(layout());
    centro->insertWidget(centro->indexOf(Lyt_Login) + 1, aviso, 0, Qt::AlignHCenter);
    aviso->hide();
}

void TLogin_Tab::Boas_Vindas() {
    Lab_Login_Title->setText(QString::fromUtf8(BEM_VINDO));
    Lab_Login_Help->setText(QString::fromUtf8(AJUDA));
}

bool TLogin_Tab::Erro_Animando() const {
    return m_erro != nullptr;
}

void TLogin_Tab::Animat_Login_Erro(const QString& titulo) {
    Lab_Login_Title->setText(titulo);
    Lab_Login_Help->clear();
    auto* icone = static_cast<UserIcon*>(Circ_Login_User);
    if (m_erro) m_erro->stop();
    m_erro = new QVariantAnimation(this);
    m_erro->setDuration(1500);
    m_erro->setStartValue(0.0);
    m_erro->setEndValue(1.0);
    connect(m_erro, &QVariantAnimation::valueChanged, this, [icone](const QVariant& v) {
        const double t = v.toDouble();
        icone->cor = QColor(0xE5, 0x39, 0x35);
        icone->rotacao = 15 * std::sin(t * 6 * 3.14159265);
        icone->update();
    });
    connect(m_erro, &QVariantAnimation::finished, this, [this, icone] {
        icone->cor = QColor(0x2C, 0x3E, 0x50);
        icone->rotacao = 0;
        icone->update();
        Boas_Vindas();
        m_erro->deleteLater();
        m_erro = nullptr;
    });
    m_erro->start();
}

void TLogin_Tab::Login_Entrar() {
    TPrincipal& p = m_principal;
    if (Email_Texto().trimmed().isEmpty()) {
        p.Mostrar_Aba(p.Tab_Login);
        Animat_Login_Erro(QStringLiteral("Preencha o Email"));
        Focar_Email();
        return;
    }
    if (Edt_Usuario_Password->text().trimmed().isEmpty()) {
        p.Mostrar_Aba(p.Tab_Login);
        Animat_Login_Erro(QStringLiteral("Preencha a Senha"));
        Edt_Usuario_Password->setFocus();
        return;
    }
    const QString email = Email_Texto();
    const QString senha = Edt_Usuario_Password->text();
    if (Login_webAPI) Login_webAPI(email, senha);

    SettingsFile arquivo(p.DModule().Sistema_DirName);
    if (p.Config.Emp_Nome.trimmed().isEmpty()) {
        arquivo.Open_User_OLD(p.Config, email, senha);
        // Saved only when it let the operator in: a refused attempt would otherwise
        // write its empty fields over that e-mail's saved credentials.
        if (!p.Config.Emp_Nome.trimmed().isEmpty()) p.IniFile_Salva();
    }
    const bool entrou = !p.Config.Emp_Nome.trimmed().isEmpty();
    if (entrou) {
        p.Mostrar_Logado();
        p.Mostrar_Aba(p.Tab_Vendas);
        p.Vendas().Venda_Limpar();
        p.Venda_Alert();
        p.Inicia_TelaVenda(true);
        p.Sincronia_Alert();
        p.Vendas().Focar_Busca();
    } else {
        Animat_Login_Erro(QString::fromUtf8("Usuário Não Encontrado"));
        Focar_Email();
    }
    p.IniFile_Read();
    p.DModule().Criar_Pasta_Empresa(p.Config);
    p.Sincronia_Alert();
    p.Inicia_TelaVenda(true);
    if (entrou) {
        // The sale screen now stands on the company's own database. The boxes are
        // emptied last, as reading the settings put the e-mail back.
        p.Venda_Alert();
        p.Vendas().Focar_Busca();
        Edt_Usuario_Email->setEditText(QString());
        Edt_Usuario_Password->clear();
    }
}

bool TLogin_Tab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        // Esc in the sign-in box ends the program at once.
        m_principal.close();
        return true;
    }
    if (watched == Edt_Usuario_Email) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
            Edt_Usuario_Password->setFocus();
            return true;
        }
    } else if (watched == Edt_Usuario_Password) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Login_Entrar();
            return true;
        }
        if (key == Qt::Key_Tab) {
            Focar_Email();
            return true;
        }
    }
    return false;
}
