#include "Configuracoes_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "sale/Principal_Unit.h"
#include "widgets/Switch.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int TAMANHO_FONTE = 15;
constexpr int ALTURA_CONTROLE = 40;
constexpr int LARGURA_CONTROLE = 320;

void selecionar(QComboBox* lista, int indice) {
    lista->setCurrentIndex(indice >= 0 && indice < lista->count() ? indice : -1);
}

} // namespace

TConfiguracoes::TConfiguracoes(TPrincipal& principal)
    : PainelModal(QStringLiteral("Configuracoes"), QString::fromUtf8("Configurações"),
                  QSize(960, 740), &principal),
      m_principal(principal) {
    Cobrir_Pai();
    Entrar_Pela_Direita();
    Rct_Painel->setMaximumWidth(940);

    Escolher_Arquivo = [this](const QString& atual) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Pasta de Arquivo"), atual,
                                            QStringLiteral("Arquivo de Texto [TXT] (*.txt)"));
    };

    VertScrollBox = new QScrollArea(Rct_Painel);
    VertScrollBox->setObjectName(QStringLiteral("VertScrollBox"));
    VertScrollBox->setWidgetResizable(true);
    VertScrollBox->setFrameShape(QFrame::NoFrame);
    VertScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lista = new QWidget;
    m_lista->setObjectName(QStringLiteral("Lyt_Grupos"));
    // Large type for a screen read at arm's length; the sheet carries it to every row.
    m_lista->setStyleSheet(
        QStringLiteral(
            "#Lyt_Grupos { background: white; }"
            "#Lyt_Grupos QWidget { font-size: %1pt; }"
            "QLineEdit { padding: 4px 8px; border: 1px solid #B0BEC5; border-radius: 4px; }"
            "QLineEdit:focus { border: 2px solid #45A3CE; }")
            .arg(TAMANHO_FONTE));
    m_grupos = new QVBoxLayout(m_lista);
    m_grupos->setContentsMargins(8, 4, 24, 12);
    m_grupos->setSpacing(6);
    VertScrollBox->setWidget(m_lista);
    Corpo()->addWidget(VertScrollBox, 1);

    using namespace Configuracoes;

    QVBoxLayout* g = Grupo(QStringLiteral("Terminal"));
    Cbx_TerminalTipo =
        Lista(g, "Cbx_TerminalTipo", QStringLiteral("Tipo de Terminal"), Terminal_Tipos());
    Spn_TerminalNum =
        Numero(g, "Spn_TerminalNum", QString::fromUtf8("Número do Terminal"), Faixa_Terminal_Num);

    g = Grupo(QString::fromUtf8("Inserção de produtos"));
    Swt_prod_qtd = Chave(g, "Swt_prod_qtd", QStringLiteral("Exibir caixa de texto de quantidade"));
    Swt_prod_valor = Chave(g, "Swt_prod_valor", QStringLiteral("Exibir caixa de texto de valores"));
    Swt_prod_img = Chave(g, "Swt_prod_img", QStringLiteral("Carregar Imagens dos Produtos"));
    Swt_Buscar_Enter =
        Chave(g, "Swt_Buscar_Enter", QStringLiteral("Buscar pressionando tecla [Enter]"));
    Cbx_DescTipo =
        Lista(g, "Cbx_DescTipo", QStringLiteral("Sugerir desconto tipo [% ou R$]"), Desc_Tipos());
    Edt_DescOpcional = new QDoubleSpinBox;
    Edt_DescOpcional->setObjectName(QStringLiteral("Edt_DescOpcional"));
    Edt_DescOpcional->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    Edt_DescOpcional->setDecimals(2);
    Edt_DescOpcional->setRange(0, DescOpcional_Maximo);
    Linha(g, QStringLiteral("Sugerir desconto do item [ % ]"), Edt_DescOpcional);
    Edt_Casa_Decimal =
        Numero(g, "Edt_Casa_Decimal",
               QString::fromUtf8("Arredondamento de Frações [Casas Decimais]"), Faixa_Casa_Decimal);
    Cbx_Buscar_OrderBy =
        Lista(g, "Cbx_Buscar_OrderBy", QStringLiteral("Ordenar itens na busca por "), Ordens());

    g = Grupo(QString::fromUtf8("Finalização da Venda"));
    Switch_sugerir_valor = Chave(g, "Switch_sugerir_valor",
                                 QStringLiteral("Sugerir valor total como valor de entrada"));
    Swt_Cliente_Obriga =
        Chave(g, "Swt_Cliente_Obriga", QString::fromUtf8("Obrigar identificação do cliente"));
    Swt_Cliente_Lista =
        Chave(g, "Swt_Cliente_Lista", QString::fromUtf8("Listar clientes nas caixas se sugestões"));
    Switch_enviar_venda =
        Chave(g, "Switch_enviar_venda",
              QString::fromUtf8("Enviar venda ao servidor logo após a realização"));
    Switch_imprimir_venda =
        Chave(g, "Switch_imprimir_venda",
              QString::fromUtf8("Sugerir impressão não fiscal após finalização"));
    Cbx_Cupom_Mod = Lista(g, "Cbx_Cupom_Mod", QStringLiteral("Modelo do Cupom"), Cupom_Modelos());
    Spn_Cupom_Copias =
        Numero(g, "Spn_Cupom_Copias", QString::fromUtf8("Número de Cópias"), Faixa_Cupom_Copias);
    Switch_imprimir_pedido =
        Chave(g, "Switch_imprimir_pedido",
              QString::fromUtf8("Sugerir impressão Pedido de Compra após finalização"));

    g = Grupo(QStringLiteral("Listagem de Vendas"));
    Swt_Listar_Excluidos =
        Chave(g, "Swt_Listar_Excluidos", QString::fromUtf8("Listar vendas excluídas do sistema"));

    g = Grupo(QStringLiteral("Formas Pagamentos"));
    Swt_FormaPG_Din = Chave(g, "Swt_FormaPG_Din", QStringLiteral("Dinheiro"));
    Swt_FormaPG_PIX = Chave(g, "Swt_FormaPG_PIX", QStringLiteral("PIX"));
    Swt_FormaPG_Car = Chave(g, "Swt_FormaPG_Car", QString::fromUtf8("Cartão"));
    Swt_FormaPG_Che = Chave(g, "Swt_FormaPG_Che", QStringLiteral("Cheque"));

    g = Grupo(QString::fromUtf8("Configuração da Balança"));
    Cbx_balanca_tipo = Lista(g, "Cbx_balanca_tipo",
                             QString::fromUtf8("Tipo de Valor no Cód. Barras:"), Balanca_Tipos());
    spn_balanca_qtdcod =
        Numero(g, "spn_balanca_qtdcod", QString::fromUtf8("Quantidade de Caracteres do Código:"),
               Faixa_Balanca);
    spn_balanca_qtdval =
        Numero(g, "spn_balanca_qtdval", QStringLiteral("Quantidade de Caracteres do Valor/Peso:"),
               Faixa_Balanca);

    g = Grupo(QStringLiteral("Terminal de Consulta"));
    Cbx_Terminal_Mod =
        Lista(g, "Cbx_Terminal_Mod", QStringLiteral("Modelo do Terminal:"), Terminal_Modelos());
    Edt_Terminal_File = new QLineEdit;
    Edt_Terminal_File->setObjectName(QStringLiteral("Edt_Terminal_File"));
    Edt_Terminal_File->installEventFilter(this);
    Linha(g, QStringLiteral("Pasta de Arquivo:"), Edt_Terminal_File);

    g = Grupo(QString::fromUtf8("Usar certificados de segurança"));
    Swt_Cert_SSL2 = Chave(g, "Swt_Cert_SSL2", QStringLiteral("Usar SSL2.0"));
    Swt_Cert_SSL3 = Chave(g, "Swt_Cert_SSL3", QStringLiteral("Usar SSL3.0"));
    Swt_Cert_TSL1 = Chave(g, "Swt_Cert_TSL1", QStringLiteral("Usar TLS1.0"));
    Swt_Cert_TSL11 = Chave(g, "Swt_Cert_TSL11", QStringLiteral("Usar TLS1.1"));
    Swt_Cert_TSL12 = Chave(g, "Swt_Cert_TSL12", QStringLiteral("Usar TLS1.2"));
    Swt_Cert_TSL13 = Chave(g, "Swt_Cert_TSL13", QStringLiteral("Usar TLS1.3"));
    Cbx_ProtHTTP = Lista(g, "Cbx_ProtHTTP", QStringLiteral("Protocolo:"), Protocolos());
    Cbx_MetdHTTP = Lista(g, "Cbx_MetdHTTP", QString::fromUtf8("Método HTTP:"), Metodos());

    g = Grupo(QStringLiteral("Ajustar Sistema"));
    Rct_BtRestaurar = new QPushButton(QStringLiteral("Restaurar"));
    Rct_BtRestaurar->setObjectName(QStringLiteral("Rct_BtRestaurar"));
    Rct_BtRestaurar->setAutoDefault(false); // Enter saves the window; Space restores
    Rct_BtRestaurar->setCursor(Qt::PointingHandCursor);
    Rct_BtRestaurar->setMinimumHeight(ALTURA_CONTROLE);
    Rct_BtRestaurar->setStyleSheet(QStringLiteral(
        "QPushButton { background: #D9434A; color: white; font-weight: bold; border: none;"
        " border-radius: 6px; padding: 4px 24px; }"
        "QPushButton:focus { border: 2px solid #2C3E50; }"));
    Linha(g, QString::fromUtf8("Restaurar sistema ao padrão de fabrica"), Rct_BtRestaurar);
    Lab_Restaurar = Rct_BtRestaurar->parentWidget()->findChild<QLabel*>();
    Lab_Restaurar->setObjectName(QStringLiteral("Lab_Restaurar"));
    Lab_Restaurar->setCursor(Qt::PointingHandCursor);
    Lab_Restaurar->installEventFilter(this);
    m_grupos->addStretch(1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("Cancelar"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtVender =
        botao(QStringLiteral("Salvar"), QStringLiteral("#2E9E4F"), QStringLiteral("Rct_BtVender"));
    for (QPushButton* b : {Rct_BtCancel, Rct_BtVender})
        b->setMinimumSize(200, 56);
    botoes->addWidget(Rct_BtCancel);
    botoes->addStretch(1);
    botoes->addWidget(Rct_BtVender);
    Corpo()->addLayout(botoes);

    connect(Rct_BtVender, &QPushButton::clicked, this, &TConfiguracoes::BtSalvar_Click);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &TConfiguracoes::BtCancelar_Click);
    connect(Rct_BtRestaurar, &QPushButton::clicked, this, &TConfiguracoes::BtRestaurar_Click);
}

QVBoxLayout* TConfiguracoes::Grupo(const QString& titulo) {
    auto* cabecalho = new QLabel(titulo, m_lista);
    cabecalho->setStyleSheet(QStringLiteral("color: #45A3CE; font-size: 18pt; font-weight: bold;"
                                            " border-bottom: 2px solid #45A3CE;"
                                            " padding-top: 14px; padding-bottom: 2px;"));
    m_grupos->addWidget(cabecalho);
    auto* linhas = new QVBoxLayout;
    linhas->setContentsMargins(16, 2, 0, 2);
    linhas->setSpacing(4);
    m_grupos->addLayout(linhas);
    return linhas;
}

Switch* TConfiguracoes::Chave(QVBoxLayout* grupo, const char* nome, const QString& legenda) {
    auto* s = new Switch(legenda, m_lista);
    s->setObjectName(QLatin1String(nome));
    s->setMinimumHeight(ALTURA_CONTROLE);
    grupo->addWidget(s);
    return s;
}

void TConfiguracoes::Linha(QVBoxLayout* grupo, const QString& legenda, QWidget* controle) {
    auto* linha = new QWidget(m_lista);
    auto* h = new QHBoxLayout(linha);
    h->setContentsMargins(0, 0, 2, 0);
    auto* rotulo = new QLabel(legenda, linha);
    h->addWidget(rotulo, 1);
    controle->setParent(linha);
    controle->setMinimumHeight(ALTURA_CONTROLE);
    if (qobject_cast<QLineEdit*>(controle))
        controle->setMinimumWidth(2 * LARGURA_CONTROLE);
    else if (!qobject_cast<QPushButton*>(controle))
        controle->setFixedWidth(LARGURA_CONTROLE);
    h->addWidget(controle);
    grupo->addWidget(linha);
}

QComboBox* TConfiguracoes::Lista(QVBoxLayout* grupo, const char* nome, const QString& legenda,
                                 const QStringList& entradas) {
    auto* c = new QComboBox;
    c->setObjectName(QLatin1String(nome));
    c->addItems(entradas);
    Linha(grupo, legenda, c);
    return c;
}

QSpinBox* TConfiguracoes::Numero(QVBoxLayout* grupo, const char* nome, const QString& legenda,
                                 Configuracoes::Faixa faixa) {
    auto* n = new QSpinBox;
    n->setObjectName(QLatin1String(nome));
    n->setRange(faixa.minimo, faixa.maximo);
    Linha(grupo, legenda, n);
    return n;
}

TConfiguracoes_Tela TConfiguracoes::Tela() const {
    TConfiguracoes_Tela t;
    t.Cbx_TerminalTipo = Cbx_TerminalTipo->currentIndex();
    t.Spn_TerminalNum = Spn_TerminalNum->value();
    t.Swt_prod_qtd = Swt_prod_qtd->isChecked();
    t.Swt_prod_valor = Swt_prod_valor->isChecked();
    t.Swt_prod_img = Swt_prod_img->isChecked();
    t.Swt_Buscar_Enter = Swt_Buscar_Enter->isChecked();
    t.Cbx_DescTipo = Cbx_DescTipo->currentIndex();
    t.Edt_DescOpcional = Edt_DescOpcional->value();
    t.Edt_Casa_Decimal = Edt_Casa_Decimal->value();
    t.Cbx_Buscar_OrderBy = Cbx_Buscar_OrderBy->currentIndex();
    t.Switch_sugerir_valor = Switch_sugerir_valor->isChecked();
    t.Swt_Cliente_Obriga = Swt_Cliente_Obriga->isChecked();
    t.Swt_Cliente_Lista = Swt_Cliente_Lista->isChecked();
    t.Switch_enviar_venda = Switch_enviar_venda->isChecked();
    t.Switch_imprimir_venda = Switch_imprimir_venda->isChecked();
    t.Cbx_Cupom_Mod = Cbx_Cupom_Mod->currentIndex();
    t.Spn_Cupom_Copias = Spn_Cupom_Copias->value();
    t.Switch_imprimir_pedido = Switch_imprimir_pedido->isChecked();
    t.Swt_Listar_Excluidos = Swt_Listar_Excluidos->isChecked();
    t.Swt_FormaPG_Din = Swt_FormaPG_Din->isChecked();
    t.Swt_FormaPG_PIX = Swt_FormaPG_PIX->isChecked();
    t.Swt_FormaPG_Car = Swt_FormaPG_Car->isChecked();
    t.Swt_FormaPG_Che = Swt_FormaPG_Che->isChecked();
    t.Cbx_balanca_tipo = Cbx_balanca_tipo->currentIndex();
    t.spn_balanca_qtdcod = spn_balanca_qtdcod->value();
    t.spn_balanca_qtdval = spn_balanca_qtdval->value();
    t.Cbx_Terminal_Mod = Cbx_Terminal_Mod->currentIndex();
    t.Edt_Terminal_File = Edt_Terminal_File->text();
    t.Swt_Cert_SSL2 = Swt_Cert_SSL2->isChecked();
    t.Swt_Cert_SSL3 = Swt_Cert_SSL3->isChecked();
    t.Swt_Cert_TSL1 = Swt_Cert_TSL1->isChecked();
    t.Swt_Cert_TSL11 = Swt_Cert_TSL11->isChecked();
    t.Swt_Cert_TSL12 = Swt_Cert_TSL12->isChecked();
    t.Swt_Cert_TSL13 = Swt_Cert_TSL13->isChecked();
    t.Cbx_ProtHTTP = Cbx_ProtHTTP->currentIndex();
    t.Cbx_MetdHTTP = Cbx_MetdHTTP->currentIndex();
    return t;
}

void TConfiguracoes::Tela_Mostrar(const TConfiguracoes_Tela& t) {
    selecionar(Cbx_TerminalTipo, t.Cbx_TerminalTipo);
    Spn_TerminalNum->setValue(t.Spn_TerminalNum);
    Swt_prod_qtd->setCheckedSilently(t.Swt_prod_qtd);
    Swt_prod_valor->setCheckedSilently(t.Swt_prod_valor);
    Swt_prod_img->setCheckedSilently(t.Swt_prod_img);
    Swt_Buscar_Enter->setCheckedSilently(t.Swt_Buscar_Enter);
    selecionar(Cbx_DescTipo, t.Cbx_DescTipo);
    Edt_DescOpcional->setValue(t.Edt_DescOpcional);
    Edt_Casa_Decimal->setValue(t.Edt_Casa_Decimal);
    selecionar(Cbx_Buscar_OrderBy, t.Cbx_Buscar_OrderBy);
    Switch_sugerir_valor->setCheckedSilently(t.Switch_sugerir_valor);
    Swt_Cliente_Obriga->setCheckedSilently(t.Swt_Cliente_Obriga);
    Swt_Cliente_Lista->setCheckedSilently(t.Swt_Cliente_Lista);
    Switch_enviar_venda->setCheckedSilently(t.Switch_enviar_venda);
    Switch_imprimir_venda->setCheckedSilently(t.Switch_imprimir_venda);
    selecionar(Cbx_Cupom_Mod, t.Cbx_Cupom_Mod);
    Spn_Cupom_Copias->setValue(t.Spn_Cupom_Copias);
    Switch_imprimir_pedido->setCheckedSilently(t.Switch_imprimir_pedido);
    Swt_Listar_Excluidos->setCheckedSilently(t.Swt_Listar_Excluidos);
    Swt_FormaPG_Din->setCheckedSilently(t.Swt_FormaPG_Din);
    Swt_FormaPG_PIX->setCheckedSilently(t.Swt_FormaPG_PIX);
    Swt_FormaPG_Car->setCheckedSilently(t.Swt_FormaPG_Car);
    Swt_FormaPG_Che->setCheckedSilently(t.Swt_FormaPG_Che);
    selecionar(Cbx_balanca_tipo, t.Cbx_balanca_tipo);
    spn_balanca_qtdcod->setValue(t.spn_balanca_qtdcod);
    spn_balanca_qtdval->setValue(t.spn_balanca_qtdval);
    selecionar(Cbx_Terminal_Mod, t.Cbx_Terminal_Mod);
    Edt_Terminal_File->setText(t.Edt_Terminal_File);
    Swt_Cert_SSL2->setCheckedSilently(t.Swt_Cert_SSL2);
    Swt_Cert_SSL3->setCheckedSilently(t.Swt_Cert_SSL3);
    Swt_Cert_TSL1->setCheckedSilently(t.Swt_Cert_TSL1);
    Swt_Cert_TSL11->setCheckedSilently(t.Swt_Cert_TSL11);
    Swt_Cert_TSL12->setCheckedSilently(t.Swt_Cert_TSL12);
    Swt_Cert_TSL13->setCheckedSilently(t.Swt_Cert_TSL13);
    selecionar(Cbx_ProtHTTP, t.Cbx_ProtHTTP);
    selecionar(Cbx_MetdHTTP, t.Cbx_MetdHTTP);
}

void TConfiguracoes::showEvent(QShowEvent* event) {
    // Every control from the main window's settings; then the panel slides in.
    Tela_Mostrar(Configuracoes_Carregar(m_principal.Config));
    VertScrollBox->verticalScrollBar()->setValue(0);
    PainelModal::showEvent(event);
    Cbx_TerminalTipo->setFocus();
}

void TConfiguracoes::BtSalvar_Click() {
    TSettings& s = m_principal.Config;
    Configuracoes_Salvar(Tela(), s);
    if (!s.Emp_Nome.trimmed().isEmpty()) {
        m_principal.IniFile_Salva();
    } else {
        // Nobody signed in: the user fields in memory are empty, and writing them would
        // wipe the saved credentials of the e-mail in the login box.
        SettingsFile(m_principal.DModule().Sistema_DirName).Conf_Salva(s);
    }
    accept();
}

void TConfiguracoes::BtCancelar_Click() {
    reject();
    m_principal.IniFile_Read();
}

void TConfiguracoes::BtRestaurar_Click() {
    if (!MessageBox::Confirm(Padrao_Fabrica_Pergunta())) return;
    Padrao_Fabrica(m_principal.DModule(), m_principal.Config);
    m_restaurado = true;
    // At once and without a further word: the main window closes, which ends the program.
    reject();
    m_principal.close();
}

void TConfiguracoes::Pasta_Arquivo() {
    if (!Escolher_Arquivo) return;
    const QString caminho = Escolher_Arquivo(Edt_Terminal_File->text());
    if (!caminho.isEmpty()) Edt_Terminal_File->setText(QDir::toNativeSeparators(caminho));
}

void TConfiguracoes::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) BtSalvar_Click();
        return;
    case Qt::Key_Escape:
        BtCancelar_Click();
        return;
    default:
        PainelModal::keyPressEvent(event);
    }
}

bool TConfiguracoes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Edt_Terminal_File) {
            Pasta_Arquivo();
            return true;
        }
        if (watched == Lab_Restaurar) {
            BtRestaurar_Click();
            return true;
        }
    }
    return PainelModal::eventFilter(watched, event);
}

void Configuracoes_Abre(TPrincipal& principal) {
    TConfiguracoes janela(principal);
    janela.exec();
    // Nothing more runs on a terminal that was just reset: no settings are read back
    // and no list touches the closed database.
    if (janela.Restaurado()) throw Abort{};
}
