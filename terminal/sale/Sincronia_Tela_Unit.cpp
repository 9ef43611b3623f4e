#include "Sincronia_Tela_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "platform/Platform.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"
#include "widgets/CircleButton.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>

namespace {
constexpr int TOPO_ESTACIONADO = -190;
constexpr int TOPO_ABERTO = 59;
const QDateTime PRIMEIRA_SINCRONIA(QDate(1982, 3, 15), QTime(0, 0));
} // namespace

TSincronia_Tela::TSincronia_Tela(TPrincipal& principal)
    : QObject(&principal), m_principal(principal) {
    setObjectName(QStringLiteral("Sincronia_Tela"));
    for (QPushButton* b : Entradas())
        b->installEventFilter(this);
    connect(m_principal.findChild<QPushButton*>(QStringLiteral("Img_Update_Simples")),
            &QPushButton::clicked, this, [this] { Img_Update_Simples(); });
    connect(m_principal.findChild<QPushButton*>(QStringLiteral("Img_Update_Completa")),
            &QPushButton::clicked, this, [this] { Img_Update_Completa(); });
    connect(m_principal.findChild<QPushButton*>(QStringLiteral("Rct_Update_App")),
            &QPushButton::clicked, this, [this] {
                Estacionar();
                if (m_principal.Ganchos_.Atualizar_App) m_principal.Ganchos_.Atualizar_App();
            });
}

QList<QPushButton*> TSincronia_Tela::Entradas() const {
    return {m_principal.findChild<QPushButton*>(QStringLiteral("Img_Update_Simples")),
            m_principal.findChild<QPushButton*>(QStringLiteral("Img_Update_Completa")),
            m_principal.findChild<QPushButton*>(QStringLiteral("Rct_Update_App"))};
}

bool TSincronia_Tela::Aberto() const {
    return m_principal.Rct_Update->y() > TOPO_ESTACIONADO;
}

void TSincronia_Tela::Img_UpdateClick() {
    QWidget* painel = m_principal.Rct_Update;
    painel->setGeometry(0, TOPO_ESTACIONADO, m_principal.width(), painel->height());
    painel->raise();
    m_principal.Rct_Title->raise();
    painel->raise();
    auto* anim = new QPropertyAnimation(painel, "pos", painel);
    anim->setDuration(200);
    anim->setStartValue(QPoint(0, TOPO_ESTACIONADO));
    anim->setEndValue(QPoint(0, TOPO_ABERTO));
    anim->start(QAbstractAnimation::DeleteWhenStopped);
    painel->move(0, TOPO_ABERTO); // open at once for the keys; the animation only shows it
    Entradas().first()->setFocus();
}

void TSincronia_Tela::Estacionar() {
    for (auto* anim : m_principal.Rct_Update->findChildren<QPropertyAnimation*>())
        anim->stop();
    m_principal.Rct_Update->move(0, TOPO_ESTACIONADO);
    if (m_principal.Aba_Atual() == m_principal.Tab_Vendas) m_principal.Vendas().Focar_Busca();
}

bool TSincronia_Tela::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const QList<QPushButton*> entradas = Entradas();
    const int atual = entradas.indexOf(static_cast<QPushButton*>(watched));
    if (atual < 0) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        entradas[(atual + entradas.size() - 1) % entradas.size()]->setFocus();
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
        entradas[(atual + 1) % entradas.size()]->setFocus();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        entradas[atual]->click();
        m_principal.Ignorar_Soltura(static_cast<QKeyEvent*>(event)->key());
        return true;
    case Qt::Key_Escape:
        Estacionar();
        m_principal.Ignorar_Soltura(Qt::Key_Escape);
        return true;
    default:
        return false;
    }
}

void TSincronia_Tela::Img_Update_Simples() {
    TPrincipal& p = m_principal;
    if (!p.ConexaoWeb) {
        Estacionar();
        return;
    }
    if (p.Config.Usuario_Password.trimmed().isEmpty() ||
        p.Config.Usuario_Nome.trimmed().isEmpty()) {
        Estacionar();
        p.Img_CloseClick();
        return;
    }
    if (!Tarvel_Sincronia_Donwload::Ativa()) {
        p.Vendas().Edt_Prod_Busca->setEditText(QStringLiteral("Iniciando Sincronia..."));
        p.Sincronia_Animacao(true);
        p.repaint();

        TSincronia_Parametros param;
        param.Config = p.Config;
        param.WebAPI_URL = p.WebAPI_URL;
        param.Banco = p.DModule().Pasta_Empresa(p.Config) + QStringLiteral("dbase.s3db");
        param.ArquivoJSON = Platform::mapFixedPath(QStringLiteral("C:\\Tarvel\\JSONText.txt"));
        param.ArquivoLog = Platform::appDataDir() + QStringLiteral("LogError.txt");
        auto* worker = new Tarvel_Sincronia_Donwload(param, *this, this);
        worker->start();
        Terminal_GerarArquivo(p.Config, param.Banco);
    }
    Estacionar();
}

void TSincronia_Tela::Img_Update_Completa() {
    TPrincipal& p = m_principal;
    if (Tarvel_Sincronia_Donwload::Ativa()) {
        Estacionar();
        return; // the database cannot be replaced under a running worker
    }
    const QDate desde = QDate::currentDate().addDays(-15);
    if (VendaDB::NaoEnviadas_Desde(p.DModule().FDConnection1, desde) &&
        !MessageBox::Confirm(QString::fromUtf8(
            "Existem venda não enviadas no últimos 15 dias. Esta vendas serão perdidas. \n\n"
            "Deseja Realmente EXCLUIR esta venda?"))) {
        Estacionar();
        return;
    }
    p.DModule().Excluir_Banco_Empresa(p.Config);
    p.DModule().Criar_Pasta_Empresa(p.Config);
    p.Config.Dt_Sinc_Update = PRIMEIRA_SINCRONIA;
    Img_Update_Simples();
}

void TSincronia_Tela::Alert_Exe_Update(const QDateTime& data) {
    if (!(m_principal.Config.Dt_Exe_Update < data)) return;
    m_principal.Sincronia_Animacao(true);
    if (auto* app = m_principal.findChild<QPushButton*>(QStringLiteral("Rct_Update_App")))
        app->setStyleSheet(QStringLiteral("QPushButton { border: 2px solid #FF0000; }"));
}

void TSincronia_Tela::Iniciar_Sincronia() {
    TVendas_Tab& v = m_principal.Vendas();
    m_principal.Circ_Update->show();
    m_principal.Sincronia_Animacao(true);
    v.Mostrar_Memo(true);
    v.Mem_Update->clear();
    v.Lab_Cupom_Title->setText(QStringLiteral("Atualizando..."));
}

void TSincronia_Tela::Update_Title(const QString& Retorno_Titulo, const QString& Retorno_Mensag) {
    TVendas_Tab& v = m_principal.Vendas();
    v.Edt_Prod_Busca->setEditText(Retorno_Titulo);
    v.Mostrar_Memo(true);
    v.Mem_Update->appendPlainText(Retorno_Mensag);
}

void TSincronia_Tela::Update_Progress(const QString& Retorno_Titulo) {
    m_principal.Vendas().Edt_Prod_Busca->setEditText(Retorno_Titulo);
    m_principal.Sincronia_Animacao(true);
}

void TSincronia_Tela::FinalizaSincronia(bool Ok, const QDateTime& Exe_Update) {
    TPrincipal& p = m_principal;
    TVendas_Tab& v = p.Vendas();
    if (!Ok) {
        // The operator learns it from the search box; the list comes back, and the old
        // date of the last synchronisation stays, so the next run asks again.
        v.Mostrar_Memo(false);
        v.Edt_Prod_Busca->setEditText(QStringLiteral("Erro Inesperado!"));
        v.Lab_Cupom_Title->setText(p.Venda.Venda_ID > 0 ? QStringLiteral("Produtos")
                                                        : QStringLiteral("Caixa Livre"));
        return;
    }
    p.Circ_Update->show();
    p.Sincronia_Animacao(false);
    p.Circ_Update->setFillColor(QColor(0x32, 0xCD, 0x32));
    v.Mostrar_Memo(false);
    v.Limpar_Busca();
    v.Lab_Cupom_Title->setText(QStringLiteral("Produtos"));
    QDir().mkpath(p.DModule().Sistema_DirName);
    SettingsFile(p.DModule().Sistema_DirName)
        .Gravar_Dt_Sinc_Update(p.Config.Usuario_Email, QDateTime::currentDateTime());
    Alert_Exe_Update(Exe_Update);
    // The names of the new catalogue go into the search box's list at once.
    p.Inicia_TelaVenda(true);
}

void TSincronia_Tela::Diagnostico(const QString& texto) {
    Platform::setClipboardText(texto);
}
