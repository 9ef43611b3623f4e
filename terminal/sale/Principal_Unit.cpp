#include "Principal_Unit.h"

#include "checkout/Finalizacao_Unit.h"
#include "cloud/Imagens_webAPI.h"
#include "cloud/Login_Core.h"
#include "cloud/WebAPI.h"
#include "foundation/DModule_Unit.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "platform/Hosts.h"
#include "platform/Platform.h"
#include "printing/Cupom_NaoFiscal.h"
#include "sale/Ajuda_Unit.h"
#include "sale/Atualizacao_Unit.h"
#include "sale/Cancelar_Item_Unit.h"
#include "sale/Configuracoes_Unit.h"
#include "sale/Desconto_Unit.h"
#include "sale/Devolucao_Unit.h"
#include "sale/Lista_Tab_Unit.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Produtos_Lista_Unit.h"
#include "sale/Sincronia_Tela_Unit.h"
#include "sale/Vendas_Tab_Unit.h"
#include "sale/Web_Tab_Unit.h"
#include "widgets/CircleButton.h"
#include "widgets/Transicoes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int ALTURA_TITULO = 56;
constexpr int ALTURA_PAINEL_UPDATE = 190;
const char* COR_LATERAL = "rgba(240, 241, 241, 189)"; // BDF0F1F1

QWidget* novaAba(const QString& name, QStackedWidget* owner) {
    auto* tab = new QWidget(owner);
    tab->setObjectName(name);
    owner->addWidget(tab);
    return tab;
}

CircleButton* botao(const QString& name, const QString& glyph, const QString& hint,
                    QWidget* parent) {
    auto* b = new CircleButton(glyph, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    return b;
}

// A side tab at the window's right edge: slides 140 to the left under the mouse.
class AbaLateral : public QWidget {
public:
    AbaLateral(const QString& name, const QString& titulo, const QString& mensagem, QWidget* parent)
        : QWidget(parent), m_mensagem(mensagem) {
        setObjectName(name);
        setAttribute(Qt::WA_StyledBackground);
        setStyleSheet(QStringLiteral("#%1 { background: %2; border-top-left-radius: 8px; "
                                     "border-bottom-left-radius: 8px; }")
                          .arg(name, QLatin1String(COR_LATERAL)));
        setCursor(Qt::PointingHandCursor);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(12, 8, 8, 8);
        m_titulo = new QLabel(titulo, this);
        m_titulo->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 14px;"));
        m_texto = new QLabel(mensagem, this);
        m_texto->setWordWrap(true);
        layout->addWidget(m_titulo);
        layout->addWidget(m_texto);
        layout->addStretch();
        recolher();
    }
    std::function<void()> onClick;
    int altura() const { return m_aberta && !m_mensagem.isEmpty() ? 130 : 40; }

protected:
    void enterEvent(QEnterEvent*) override {
        m_aberta = true;
        m_titulo->show();
        m_texto->setVisible(!m_mensagem.isEmpty());
        deslizar(-140);
    }
    void leaveEvent(QEvent*) override {
        deslizar(140);
        recolher();
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        if (onClick) onClick();
    }

private:
    void recolher() {
        m_aberta = false;
        m_titulo->hide();
        m_texto->hide();
    }
    void deslizar(int dx) {
        const int largura = m_aberta ? 190 : 50;
        setGeometry(x() + dx, y(), largura, altura());
    }
    QLabel* m_titulo;
    QLabel* m_texto;
    QString m_mensagem;
    bool m_aberta = false;
};

} // namespace

TPrincipal::TPrincipal(TDModule& DModule, QWidget* parent) : QWidget(parent), m_dm(DModule) {
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(Titulo());
    setWindowFlag(Qt::FramelessWindowHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Criar_Barra_Titulo();
    layout->addWidget(Rct_Title);

    TbCtrl_Principal = new QStackedWidget(this);
    TbCtrl_Principal->setObjectName(QStringLiteral("TbCtrl_Principal"));
    Tab_Login = novaAba(QStringLiteral("Tab_Login"), TbCtrl_Principal);
    Tab_Vendas = novaAba(QStringLiteral("Tab_Vendas"), TbCtrl_Principal);
    Tab_Lista = novaAba(QStringLiteral("Tab_Lista"), TbCtrl_Principal);
    Tab_WebBrozer = novaAba(QStringLiteral("Tab_WebBrozer"), TbCtrl_Principal);
    TbCtrl_Principal->setStyleSheet(
        QStringLiteral("#TbCtrl_Principal, #Tab_Login, #Tab_Lista, #Tab_WebBrozer "
                       "{ background: #F0F1F1; }"));
    layout->addWidget(TbCtrl_Principal, 1);

    m_login = new TLogin_Tab(*this, Tab_Login);
    m_vendas = new TVendas_Tab(*this, Tab_Vendas);
    m_web = new TWeb_Tab(Tab_WebBrozer);
    m_lista = new TLista_Tab(*this, Tab_Lista);
    Ganchos_.Lista_Reiniciar = [this] { m_lista->Reiniciar(); };
    Ganchos_.Lista_Atualizar = [this] {
        m_lista->Venda_Lista_Listar();
        m_lista->Venda_Lista_Visualizar(nullptr);
        if (Aba_Atual() == Tab_Lista) m_lista->Focar_Lista();
    };
    // After a checkout: false when the upload failed, which has shown its message and
    // ends the checkout's action there (no receipt, no order page).
    Ganchos_.Venda_Enviar = [this](qint32 id) {
        try {
            Venda_Lista_UpLoad(*this, id);
            return true;
        } catch (const Abort&) {
            return false;
        }
    };
    Ganchos_.Venda_Imprimir = [this](qint32 id) { Venda_Imprimir_Cupom(m_dm, Config, id); };
    Ganchos_.Venda_Pedido = [this](qint32 id) { m_lista->Imprime_Cupom_Pedido001(id); };

    Criar_Painel_Update();
    Criar_Abas_Laterais();
    m_sincronia = new TSincronia_Tela(*this);
    Ganchos_.Sincronia = [this] { m_sincronia->Img_UpdateClick(); };
    m_atualizacao = new TAtualizacao(*this);
    Ganchos_.Configuracoes = [this] { Configuracoes_Abre(*this); };
    Ganchos_.Cancelar_Item = [this] { Cancelamento_Item(*this, QString()); };
    Ganchos_.Cancelar_Item_CBarra = [this](const QString& cbarra) {
        Cancelamento_Item(*this, cbarra);
    };
    Ganchos_.Desconto_Geral = [this] { Venda_DescontoGeral(*this); };
    Ganchos_.Desconto_Item = [this] { Venda_DescontoItem(*this); };
    Ganchos_.Devolucao = [this] { Devolucao_Abre(*this); };
    m_vendas->DonwLoad_Imagens = [this](const QString& tabela, qint64 id) {
        return ::DonwLoad_Imagens(Config, WebAPI_URL, tabela, id);
    };
    Ganchos_.Finalizacao = [this] {
        // A new window for every checkout, so nothing typed survives an Esc.
        TFinalizacao finalizacao(*this, this);
        finalizacao.exec();
    };
    m_login->Login_webAPI = [this](const QString& email, const QString& senha) {
        try {
            ::Login_webAPI(Config, WebAPI_URL, email, senha);
            m_login->Email_Definir(Config.Usuario_Email);
            ConexaoWeb = true;
            IniFile_Salva();
            IniFile_Read();
            m_login->Emails_Carregar(
                SettingsFile(m_dm.Sistema_DirName)
                    .List_Usuario_Email_Add(m_login->Emails(), Config.Usuario_Email));
        } catch (const WebAPIError& e) {
            ConexaoWeb = false;
            WebAPI_Falha_Clipboard(e);
        }
    };
    FormCreate();

    qApp->installEventFilter(this);

    // Without a window manager (a kiosk session) full screen is only a request: take
    // the whole screen ourselves.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
}

TPrincipal::~TPrincipal() {
    qApp->removeEventFilter(this);
}

TProdutos_Lista& TPrincipal::Produtos_Lista() {
    if (!m_produtos) m_produtos = new TProdutos_Lista(m_dm, Config, this);
    return *m_produtos;
}

void TPrincipal::Criar_Barra_Titulo() {
    Rct_Title = new QWidget(this);
    Rct_Title->setObjectName(QStringLiteral("Rct_Title"));
    Rct_Title->setFixedHeight(ALTURA_TITULO);
    Rct_Title->setAttribute(Qt::WA_StyledBackground);
    Rct_Title->setStyleSheet(QStringLiteral("#Rct_Title { background: #2C3E50; }"
                                            "QLabel { color: white; }"));
    auto* h = new QHBoxLayout(Rct_Title);
    h->setContentsMargins(12, 0, 12, 0);
    h->setSpacing(10);

    Circ_AppLogo = new QWidget(Rct_Title);
    Circ_AppLogo->setObjectName(QStringLiteral("Circ_AppLogo"));
    auto* logo = new QHBoxLayout(Circ_AppLogo);
    logo->setContentsMargins(0, 0, 0, 0);
    auto* marca = new CircleButton(QStringLiteral("B"), Circ_AppLogo);
    marca->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* nome = new QLabel(QStringLiteral("Balcona"), Circ_AppLogo);
    nome->setStyleSheet(QStringLiteral("font-size: 22px; font-weight: bold;"));
    logo->addWidget(marca);
    logo->addWidget(nome);
    h->addWidget(Circ_AppLogo);

    Lyt_Logado = new QWidget(Rct_Title);
    Lyt_Logado->setObjectName(QStringLiteral("Lyt_Logado"));
    auto* logado = new QHBoxLayout(Lyt_Logado);
    logado->setContentsMargins(20, 0, 0, 0);
    logado->setSpacing(12);
    Lyt_User_Name = new QWidget(Lyt_Logado);
    Lyt_User_Name->setObjectName(QStringLiteral("Lyt_User_Name"));
    auto* nomes = new QVBoxLayout(Lyt_User_Name);
    nomes->setContentsMargins(0, 4, 0, 4);
    nomes->setSpacing(0);
    Lab_User_Name = new QLabel(Lyt_User_Name);
    Lab_User_Name->setObjectName(QStringLiteral("Lab_User_Name"));
    Lab_User_Name->setStyleSheet(QStringLiteral("font-size: 16px; font-weight: bold;"));
    Lab_Emp_Name = new QLabel(Lyt_User_Name);
    Lab_Emp_Name->setObjectName(QStringLiteral("Lab_Emp_Name"));
    Lab_Emp_Name->setStyleSheet(QStringLiteral("font-size: 13px;"));
    nomes->addWidget(Lab_User_Name);
    nomes->addWidget(Lab_Emp_Name);
    logado->addWidget(Lyt_User_Name);
    Circ_Vendas = botao(QStringLiteral("Circ_Vendas"), QStringLiteral("☰"),
                        QStringLiteral("Lista de Vendas [F12]"), Lyt_Logado);
    Circ_Vendas_Alert = new Badge(QStringLiteral("Circ_Vendas_Alert"),
                                  QStringLiteral("Lab_Vendas_Alert"), Circ_Vendas);
    Circ_Update = botao(QStringLiteral("Circ_Update"), QStringLiteral("⟳"),
                        QStringLiteral("Sincronizar [F5]"), Lyt_Logado);
    Circ_Update_Alert = new Badge(QStringLiteral("Circ_Update_Alert"),
                                  QStringLiteral("Lab_Update_Alert"), Circ_Update);
    Circ_Update_Alert->label()->setText(QStringLiteral("!"));
    logado->addWidget(Circ_Vendas);
    logado->addWidget(Circ_Update);
    h->addWidget(Lyt_Logado);
    h->addStretch(1);

    Circ_Voltar = botao(QStringLiteral("Circ_Voltar"), QStringLiteral("←"),
                        QStringLiteral("Voltar"), Rct_Title);
    Circ_Config = botao(QStringLiteral("Circ_Config"), QStringLiteral("⚙"),
                        QStringLiteral("Configurações [F10]"), Rct_Title);
    Circ_Minimize = botao(QStringLiteral("Circ_Minimize"), QStringLiteral("–"),
                          QStringLiteral("Minimizar"), Rct_Title);
    Circ_Close = botao(QStringLiteral("Circ_Close"), QStringLiteral("✕"),
                       QStringLiteral("Finalizar"), Rct_Title);
    Circ_Close->setTag(1);
    for (auto* b : {Circ_Voltar, Circ_Config, Circ_Minimize, Circ_Close})
        h->addWidget(b);

    connect(Circ_Vendas, &QAbstractButton::clicked, this, [this] { Img_VendasClick(); });
    connect(Circ_Update, &QAbstractButton::clicked, this, [this] {
        if (Ganchos_.Sincronia) Ganchos_.Sincronia();
    });
    connect(Circ_Voltar, &QAbstractButton::clicked, this, [this] { Img_VoltarClick(); });
    connect(Circ_Config, &QAbstractButton::clicked, this, [this] { Img_ConfigClick(); });
    connect(Circ_Minimize, &QAbstractButton::clicked, this, [this] { showMinimized(); });
    connect(Circ_Close, &QAbstractButton::clicked, this, [this] { Img_CloseClick(); });
}

void TPrincipal::Criar_Painel_Update() {
    Rct_Update = new QWidget(this);
    Rct_Update->setObjectName(QStringLiteral("Rct_Update"));
    Rct_Update->setAttribute(Qt::WA_StyledBackground);
    Rct_Update->setStyleSheet(
        QStringLiteral("#Rct_Update { background: %1; }").arg(QLatin1String(COR_LATERAL)));
    auto* v = new QVBoxLayout(Rct_Update);
    auto* h = new QHBoxLayout();
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
    } entradas[] = {
        {"Img_Update_Simples", "Sincronia simples",
         "Busca no sistema web somente os registros alterados desde a última sincronia."},
        {"Img_Update_Completa", "Sincr. Completa",
         "Apaga os dados locais da empresa e busca todos os registros do sistema web."},
        {"Rct_Update_App", "Atualizar App", "Baixa e instala a versão mais recente do aplicativo."},
    };
    for (const auto& e : entradas) {
        auto* b = new QPushButton(QString::fromUtf8(e.caption), Rct_Update);
        b->setObjectName(QLatin1String(e.name));
        b->setToolTip(QString::fromUtf8(e.hint));
        b->setMinimumHeight(60);
        b->installEventFilter(this);
        h->addWidget(b);
    }
    v->addLayout(h);
    Lab_Update_Info = new QLabel(Rct_Update);
    Lab_Update_Info->setObjectName(QStringLiteral("Lab_Update_Info"));
    Lab_Update_Info->setWordWrap(true);
    v->addWidget(Lab_Update_Info);
    Estacionar_Painel_Update();
}

void TPrincipal::Estacionar_Painel_Update() {
    // Parked above the window's top edge until the synchronisation opens it.
    Rct_Update->setGeometry(0, -ALTURA_PAINEL_UPDATE, width(), ALTURA_PAINEL_UPDATE);
    Rct_Update->setGraphicsEffect(nullptr);
}

void TPrincipal::Criar_Abas_Laterais() {
    auto* video = new AbaLateral(
        QStringLiteral("Rct_VideoAula"), QString::fromUtf8("Vídeo Aulas"),
        QString::fromUtf8("Melhore sua aprendizagem com nosso material de apoio e vídeo-aulas "
                          "interativas."),
        this);
    video->onClick = [] { Platform::shellOpen(Hosts::Site() + "/treinamento/?app=win"); };
    auto* app = new AbaLateral(QStringLiteral("Rct_Atalho_App"), QStringLiteral("Aplicativo WEB"),
                               QString(), this);
    app->onClick = [this] {
        showMinimized();
        Platform::shellOpen(Hosts::Site() + "/app/");
    };
    Rct_VideoAula = video;
    Rct_Atalho_App = app;
    Posicionar_Abas_Laterais();
}

void TPrincipal::Posicionar_Abas_Laterais() {
    const int meio = height() / 2;
    Rct_VideoAula->setGeometry(width() - 50, meio - 50, 50, 40);
    Rct_Atalho_App->setGeometry(width() - 50, meio - 110, 50, 40);
    Rct_VideoAula->raise();
    Rct_Atalho_App->raise();
}

void TPrincipal::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Estacionar_Painel_Update();
    Posicionar_Abas_Laterais();
    if (m_vendas) m_vendas->Esconder_Opcoes();
}

void TPrincipal::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    // FormActivate: back from another program, the operator types straight on.
    if (windowState() == Qt::WindowNoState) setWindowState(Qt::WindowFullScreen);
    if (Aba_Atual() == Tab_Vendas) m_vendas->Focar_Busca();
    m_vendas->Esconder_Opcoes();
}

void TPrincipal::FormCreate() {
    // The defaults that hold before any read of the settings file.
    Config.conf_cupom_modelo = 1;
    Config.conf_cupom_copias = 1;
    Config.conf_venda_altvalor = 0;
    Config.conf_balanca_qtdcod = 7;
    Config.conf_balanca_qtdval = 4;
    Config.conf_balanca_tipo = QStringLiteral("valor");
    Config.conf_Cert_SSL2 = false;
    Config.Emp_Site.clear();
    Config.Emp_Email.clear();
    Config.Emp_Instagram.clear();
    Config.Emp_Facebook.clear();
    Config.Emp_TikTok.clear();
    Config.Emp_twitter.clear();
    Config.Emp_youtube.clear();
    Circ_Vendas_Alert->hide();
    Circ_Update_Alert->hide();
    TbCtrl_Principal->setCurrentWidget(Tab_Login);
    TbCtrl_PrincipalChange();
}

void TPrincipal::IniFile_Read() {
    SettingsFile(m_dm.Sistema_DirName)
        .IniFile_Read(Config, m_login->Email_Texto(), Platform::executablePath());
    m_login->Email_Definir(Config.Usuario_Email);
    m_vendas->Aplicar_Opcoes();
    m_login->Emails_Carregar(
        SettingsFile(m_dm.Sistema_DirName).List_Usuario_Email_Read(m_login->Emails()));
}

void TPrincipal::IniFile_Salva() {
    SettingsFile(m_dm.Sistema_DirName).IniFile_Salva(Config, m_login->Email_Texto());
    m_vendas->Aplicar_Opcoes();
}

void TPrincipal::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    FormShow();
}

void TPrincipal::FormShow() {
    IniFile_Read();
    WebAPI_URL = WebAPI_Base(Config.conf_ProtHTTP);
    Mostrar_Aba(Tab_Login);
    m_login->Focar_Email();
    Posicionar_Abas_Laterais();
    m_atualizacao->Atualizacao_webAPI();
}

void TPrincipal::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TPrincipal::FormClose() {
    m_dm.FDConnection1.close();
    QCoreApplication::quit();
}

QWidget* TPrincipal::Aba_Atual() const {
    return TbCtrl_Principal->currentWidget();
}

void TPrincipal::Mostrar_Aba(QWidget* aba) {
    Deslizar_Aba(TbCtrl_Principal, aba);
    TbCtrl_PrincipalChange();
}

void TPrincipal::TbCtrl_PrincipalChange() {
    QWidget* aba = Aba_Atual();
    Lyt_Logado->setVisible(aba == Tab_Vendas);
    Circ_Config->setVisible(aba == Tab_Lista || aba == Tab_Login);
    Circ_Voltar->setVisible(aba == Tab_Lista || aba == Tab_WebBrozer);
    Circ_AppLogo->setVisible(aba != Tab_WebBrozer);
    Estacionar_Painel_Update();

    if (aba == Tab_Vendas) {
        m_vendas->Focar_Busca();
    } else if (aba == Tab_Login) {
        m_login->Focar_Email();
    } else if (aba == Tab_Lista || aba == Tab_WebBrozer) {
        if (Ganchos_.Lista_Atualizar) Ganchos_.Lista_Atualizar();
    }
}

void TPrincipal::Img_VendasClick() {
    if (Venda.Venda_ID > 0) {
        MessageBox::ShowMessage(QString::fromUtf8(
            "Existe uma venda em aberto. Finalize a venda para consultar a lista."));
        return;
    }
    if (Aba_Atual() != Tab_Vendas) return;
    if (Ganchos_.Lista_Reiniciar) Ganchos_.Lista_Reiniciar();
    Mostrar_Aba(Tab_Lista);
}

void TPrincipal::Img_VoltarClick() {
    Mostrar_Aba(Aba_Atual() == Tab_WebBrozer ? Tab_Lista : Tab_Vendas);
}

void TPrincipal::Img_ConfigClick() {
    if (Ganchos_.Configuracoes) Ganchos_.Configuracoes();
    IniFile_Read();
    if (Ganchos_.Lista_Atualizar) Ganchos_.Lista_Atualizar();
}

void TPrincipal::Img_CloseClick() {
    QWidget* aba = Aba_Atual();
    if (aba == Tab_Vendas && Venda.Venda_ID > 0) {
        MessageBox::ShowMessage(QString::fromUtf8(
            "Atenção!\n\n"
            "Existe uma venda em aberto e por isso o sistema não poderá ser fechado. para "
            "continuar escolha as segintes opções clicando em:\n\n"
            "[F3] - Para Concluir a Venda \n\n"
            "[F6] - Para Cancelar"));
        return;
    }
    if (aba == Tab_Login) {
        close();
        return;
    }
    if (MessageBox::Confirm(QStringLiteral("Deseja Finalizar o Sistema?"))) Sair();
    TbCtrl_PrincipalChange();
}

void TPrincipal::Sair() {
    m_vendas->Limpar_Busca();
    const QString email = Config.Usuario_Email;
    Deslizar_Aba(TbCtrl_Principal, Tab_Login);
    m_login->Email_Definir(email);
    m_login->Focar_Email();
    Config.Usuario_Email.clear();
    Config.Usuario_Nome.clear();
    Config.Usuario_Password.clear();
    Config.Vendedor_ID = 0;
    Config.Emp_ID = 0;
    Config.Emp_Nome.clear();
    Config.Emp_Endereco.clear();
    Config.Emp_Numero.clear();
    Config.Emp_Bairro.clear();
    Config.Emp_Cidade.clear();
    Config.Emp_UF.clear();
    Config.Emp_Fone.clear();
    Config.Emp_CNPJ.clear();
    Config.Emp_Site.clear();
    Config.Emp_Email.clear();
    Config.Emp_Instagram.clear();
    Config.Emp_Facebook.clear();
    Config.Emp_TikTok.clear();
    Config.Emp_twitter.clear();
    Config.Emp_youtube.clear();
}

void TPrincipal::Mostrar_Logado() {
    Lyt_User_Name->show();
    Lab_User_Name->setText(Config.Usuario_Nome.trimmed());
    Lab_Emp_Name->setText(Config.Emp_Nome + QStringLiteral(" [") + Config.Emp_CNPJ +
                          QLatin1Char(']'));
}

void TPrincipal::Venda_Alert() {
    Circ_Vendas_Alert->hide();
    qint32 n = 0;
    try {
        n = VendaDB::NaoEnviadas(m_dm.FDConnection1);
    } catch (const DbError&) {
        return; // no database yet: no badge
    }
    if (n > 0) {
        Circ_Vendas_Alert->label()->setText(QString::number(n));
        Circ_Vendas_Alert->show();
    }
}

void TPrincipal::Sincronia_Alert() {
    IniFile_Read();
    if (Sincronia_Atrasada(Config.Dt_Sinc_Update, QDateTime::currentDateTime()))
        Sincronia_Animacao(true);
}

void TPrincipal::Sincronia_Animacao(bool ligada) {
    Circ_Update->setBlinking(ligada);
}

bool TPrincipal::Sincronia_Animando() const {
    return Circ_Update->isBlinking();
}

void TPrincipal::Inicia_TelaVenda(bool com_remetente) {
    QDir().mkpath(m_dm.Pasta_Empresa(Config));
    if (!com_remetente) return;
    const QStringList nomes = ProdList_Gerar(
        m_dm.FDConnection1, m_dm.Pasta_Empresa(Config) + QStringLiteral("ProdList.txt"));
    m_vendas->Carregar_ProdList(nomes);
    m_vendas->BuscaIMG(QStringLiteral("empresas"), 1, false);
}

void TPrincipal::Abrir_Ajuda() {
    TAjuda ajuda(this);
    ajuda.exec();
}

void TPrincipal::Abrir_Calculadora() {
#ifdef Q_OS_WIN
    QProcess::startDetached(QStringLiteral("CALC.EXE"), {});
#else
    // The first calculator this desktop has; none shows nothing.
    for (const char* programa : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"})
        if (QProcess::startDetached(QString::fromLatin1(programa), {})) return;
#endif
}

bool TPrincipal::eventFilter(QObject* watched, QEvent* event) {
    // Descriptions of the synchronisation panel's entries while the mouse is over them.
    if (auto* b = qobject_cast<QPushButton*>(watched); b && b->parent() == Rct_Update) {
        if (event->type() == QEvent::Enter) Lab_Update_Info->setText(b->toolTip());
        return false;
    }
    // The window's keys, after the focused control had its say; once per release, and
    // never while a modal window is up.
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focus = QApplication::focusWidget();
        const bool alvo = watched == (focus ? static_cast<QObject*>(focus) : this);
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && !key->isAutoRepeat() && m_ignorar_soltura == key->key()) {
            m_ignorar_soltura = 0;
        } else if (alvo && w && w->window() == this && !key->isAutoRepeat() &&
                   !QApplication::activeModalWidget()) {
            FormKeyUp(key->key());
        }
    } else if (event->type() == QEvent::Enter && watched == TbCtrl_Principal) {
        // The mouse back in the tab area parks the synchronisation panel again.
        Estacionar_Painel_Update();
    }
    return false;
}

void TPrincipal::FormKeyUp(int key) {
    m_vendas->Esconder_Opcoes();
    QWidget* aba = Aba_Atual();
    const bool venda = aba == Tab_Vendas;
    const bool lista = aba == Tab_Lista;
    auto chama = [](const std::function<void()>& f) {
        if (f) f();
    };
    if (lista && m_lista->FormKeyUp(key)) return;
    switch (key) {
    case Qt::Key_Escape:
        if (lista)
            Img_VoltarClick();
        else if (venda && Venda.Venda_ID <= 0)
            Img_CloseClick();
        break;
    case Qt::Key_F1:
        if (venda) Abrir_Ajuda();
        break;
    case Qt::Key_F2:
        if (venda) m_vendas->Venda_Nova();
        break;
    case Qt::Key_F3:
        if (venda) m_vendas->Venda_Finaliza();
        break;
    case Qt::Key_F4:
        if (venda) chama(Ganchos_.Cancelar_Item);
        break;
    case Qt::Key_F5:
        if (venda) chama(Ganchos_.Sincronia);
        break;
    case Qt::Key_F6:
        if (venda) m_vendas->Venda_Cancelar();
        break;
    case Qt::Key_F7:
        if (venda) Abrir_Calculadora();
        break;
    case Qt::Key_F8:
        if (venda)
            chama(m_vendas->Entrada_Total() > 0 ? Ganchos_.Desconto_Item : Ganchos_.Desconto_Geral);
        break;
    case Qt::Key_F9:
        if (venda) chama(Ganchos_.Devolucao);
        break;
    case Qt::Key_F10:
        Img_ConfigClick();
        break;
    case Qt::Key_F11:
        if (venda) m_vendas->Produto_Consulta();
        break;
    case Qt::Key_F12:
        if (venda)
            Img_VendasClick();
        else if (lista)
            Img_VoltarClick();
        break;
    default:
        break;
    }
}
