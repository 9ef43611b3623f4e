#include "Finalizacao_Unit.h"

#include "checkout/Clientes_Lista_Unit.h"
#include "checkout/Pix_Pagina_Unit.h"
#include "foundation/DModule_Unit.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString MASCARA = QStringLiteral("0.00,");

QLabel* rotulo(const QString& texto, QWidget* pai, const QString& nome = QString()) {
    auto* l = new QLabel(texto, pai);
    if (!nome.isEmpty()) l->setObjectName(nome);
    return l;
}

QLineEdit* campo(const QString& nome, QWidget* pai) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(nome);
    return e;
}

bool eEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TFinalizacao::TFinalizacao(TPrincipal& principal, QWidget* parent)
    : PainelModal(QStringLiteral("Finalizacao"), QStringLiteral("Finalizar Venda"),
                  QSize(1000, 660), parent),
      DSet_Cartao(principal.DSet_Cartao), m_principal(principal) {
    auto* linha = new QHBoxLayout;
    Corpo()->addLayout(linha, 1);
    Criar_Paginas();
    linha->addWidget(TbCtrl_Pagamento, 3);
    auto* direita = new QVBoxLayout;
    linha->addLayout(direita, 2);
    Criar_Pagamentos();
    direita->addWidget(rotulo(QStringLiteral("Forma de Pagamento"), Rct_Painel));
    direita->addWidget(Lab_Cupom_Total);
    for (QWidget* w :
         {Lbx_Item_Din, Lbx_Item_PIX, Lbx_Item_Cart, Lbx_Item_Cheq, Lbx_Item_Rest, Lbx_Item_Troco})
        direita->addWidget(w);
    direita->addStretch(1);
    direita->addWidget(rotulo(QStringLiteral("[F3] Finaliza ou [Esc] Retorna"), Rct_Painel));
    QPushButton* finalizar = botao(QStringLiteral("Finalizar - [F3]"), QStringLiteral("#1B759E"),
                                   QStringLiteral("Rct_BtFinalizar"));
    finalizar->setMinimumHeight(50);
    connect(finalizar, &QPushButton::clicked, this, [this] { Finaliza(); });
    direita->addWidget(finalizar);

    // Opening: the customer, the amounts already recorded, the lists and the rows shown.
    TVenda& v = m_principal.Venda;
    Lab_Cupom_Total->setText(m_principal.Vendas().Lab_Cupom_Total->text());
    Mostrar_Pagina(Finaliza_Pagina::Cliente);
    Cliente_Cores(false);
    Abre_Cliente(v.Venda_Cliente_CPF);
    Edt_PG_Dinheiro->setText(m_principal.Config.conf_sugerir_valor
                                 ? Lab_Cupom_Total->text()
                                 : FormatFloat(MASCARA, v.Venda_Entrada));
    Edt_PG_PIX->setText(FormatFloat(MASCARA, v.Venda_PIX));
    Edt_PG_Cheque->setText(FormatFloat(MASCARA, v.Venda_Cheque));
    Edt_PG_Cartao->setText(FormatFloat(MASCARA, v.Venda_Cartao));
    Edt_PG_Restante->clear();
    Cartao_List(); // card payments entered at an earlier checkout of this sale
    Formas_Mostrar();
    Venda_Finaliza_Calc();
    Listas_Preencher();
    Fonte_Legivel();
}

void TFinalizacao::Fonte_Legivel() {
    // The style sheet stops fonts passing to children, so each control that has no type
    // of its own gets the window's reading size here.
    for (QWidget* c : findChildren<QWidget*>()) {
        if (c->testAttribute(Qt::WA_SetFont)) continue;
        if (!qobject_cast<QLabel*>(c) && !qobject_cast<QComboBox*>(c) &&
            !qobject_cast<QLineEdit*>(c) && !qobject_cast<QAbstractSpinBox*>(c) &&
            !qobject_cast<QListWidget*>(c) && !qobject_cast<QPushButton*>(c))
            continue;
        QFont f = c->font();
        f.setPointSize(13);
        c->setFont(f);
    }
}

void TFinalizacao::Criar_Pagamentos() {
    Lab_Cupom_Total = rotulo(QString(), Rct_Painel, QStringLiteral("Lab_Cupom_Total"));
    QFont grande = Lab_Cupom_Total->font();
    grande.setPointSize(24);
    grande.setBold(true);
    Lab_Cupom_Total->setFont(grande);
    Lab_Cupom_Total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto fila = [this](const QString& nome, const QString& legenda, const QString& nomeCampo,
                       QLineEdit*& e) {
        auto* w = new QWidget(Rct_Painel);
        w->setObjectName(nome);
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        QLabel* r = rotulo(legenda, w);
        l->addWidget(r, 1);
        e = campo(nomeCampo, w);
        // Amounts are read across the counter: large type for captions and fields, set on
        // each control because the window's style sheet stops fonts passing to children.
        QFont f = r->font();
        f.setPointSize(18);
        r->setFont(f);
        e->setFont(f);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setText(QStringLiteral("0,00"));
        e->installEventFilter(this);
        l->addWidget(e, 1);
        return w;
    };
    Lbx_Item_Din = fila(QStringLiteral("Lbx_Item_Din"), QStringLiteral("Dinheiro"),
                        QStringLiteral("Edt_PG_Dinheiro"), Edt_PG_Dinheiro);
    Lbx_Item_PIX = fila(QStringLiteral("Lbx_Item_PIX"), QStringLiteral("PIX"),
                        QStringLiteral("Edt_PG_PIX"), Edt_PG_PIX);
    Lbx_Item_Cart = fila(QStringLiteral("Lbx_Item_Cart"), QStringLiteral("Cartão"),
                         QStringLiteral("Edt_PG_Cartao"), Edt_PG_Cartao);
    Lbx_Item_Cheq = fila(QStringLiteral("Lbx_Item_Cheq"), QStringLiteral("Cheque"),
                         QStringLiteral("Edt_PG_Cheque"), Edt_PG_Cheque);
    Lbx_Item_Rest = fila(QStringLiteral("Lbx_Item_Rest"), QStringLiteral("A Prazo"),
                         QStringLiteral("Edt_PG_Restante"), Edt_PG_Restante);
    Lbx_Item_Troco = fila(QStringLiteral("Lbx_Item_Troco"), QStringLiteral("Troco"),
                          QStringLiteral("Edt_PG_Troco"), Edt_PG_Troco);
    m_campos = {Edt_PG_Dinheiro, Edt_PG_PIX, Edt_PG_Cartao, Edt_PG_Cheque};
    // Computed amounts: read-only and skipped by Tab.
    for (QLineEdit* e : {Edt_PG_Restante, Edt_PG_Troco}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->removeEventFilter(this);
    }
    Edt_PG_Restante->setEnabled(false);
}

void TFinalizacao::Criar_Paginas() {
    TbCtrl_Pagamento = new QStackedWidget(Rct_Painel);
    TbCtrl_Pagamento->setObjectName(QStringLiteral("TbCtrl_Pagamento"));
    auto pagina = [this](const QString& nome) {
        auto* p = new QWidget(TbCtrl_Pagamento);
        p->setObjectName(nome);
        TbCtrl_Pagamento->addWidget(p);
        return p;
    };
    auto filtrar = [this](QWidget* w) { w->installEventFilter(this); };

    // Customer.
    TbCtrl_Cliente = pagina(QStringLiteral("TbCtrl_Cliente"));
    auto* cl = new QVBoxLayout(TbCtrl_Cliente);
    Lab_Client_Title = rotulo(CLIENTE_TITULO, TbCtrl_Cliente, QStringLiteral("Lab_Client_Title"));
    Lab_Client_Alert = rotulo(CLIENTE_ALERTA, TbCtrl_Cliente, QStringLiteral("Lab_Client_Alert"));
    Lab_Client_Nome = rotulo(QString(), TbCtrl_Cliente, QStringLiteral("Lab_Client_Nome"));
    QFont nome = Lab_Client_Nome->font();
    nome.setPointSize(20);
    nome.setBold(true);
    Lab_Client_Nome->setFont(nome);
    Lab_Client_Nome->setStyleSheet(QStringLiteral("color: #136489;"));
    Lab_Client_CPF = rotulo(QString(), TbCtrl_Cliente, QStringLiteral("Lab_Client_CPF"));
    Lab_Client_Nasc = rotulo(QString(), TbCtrl_Cliente, QStringLiteral("Lab_Client_Nasc"));
    Lab_Client_End = rotulo(QString(), TbCtrl_Cliente, QStringLiteral("Lab_Client_End"));
    Lab_Client_Bairro = rotulo(QString(), TbCtrl_Cliente, QStringLiteral("Lab_Client_Bairro"));
    Lab_Client_CEP = rotulo(QString(), TbCtrl_Cliente, QStringLiteral("Lab_Client_CEP"));
    for (QLabel* l : {Lab_Client_Title, Lab_Client_Alert, Lab_Client_Nome, Lab_Client_CPF,
                      Lab_Client_Nasc, Lab_Client_End, Lab_Client_Bairro, Lab_Client_CEP})
        cl->addWidget(l);
    Img_Busca_Cliente = new QPushButton(QStringLiteral("Buscar Cliente [F11]"), TbCtrl_Cliente);
    Img_Busca_Cliente->setObjectName(QStringLiteral("Img_Busca_Cliente"));
    Img_Busca_Cliente->setFocusPolicy(Qt::NoFocus);
    Img_Busca_Cliente->setAutoDefault(false);
    Img_Busca_Cliente->setCursor(Qt::PointingHandCursor);
    Img_Busca_Cliente->setStyleSheet(
        QStringLiteral("QPushButton { background: #FFA500; border-radius: 6px; padding: 6px; }"
                       " QPushButton:hover { background: #136489; color: white; }"));
    connect(Img_Busca_Cliente, &QPushButton::clicked, this, [this] { Img_Busca_ClienteClick(); });
    cl->addWidget(Img_Busca_Cliente, 0, Qt::AlignLeft);
    auto* fl = new QFormLayout;
    cl->addLayout(fl);
    Cbx_Vendedor = new QComboBox(TbCtrl_Cliente);
    Cbx_Vendedor->setObjectName(QStringLiteral("Cbx_Vendedor"));
    Cbx_Entregador = new QComboBox(TbCtrl_Cliente);
    Cbx_Entregador->setObjectName(QStringLiteral("Cbx_Entregador"));
    fl->addRow(QStringLiteral("Vendedor Comissionado:"), Cbx_Vendedor);
    fl->addRow(QStringLiteral("Entregador:"), Cbx_Entregador);
    filtrar(Cbx_Vendedor);
    filtrar(Cbx_Entregador);
    setTabOrder(Cbx_Vendedor, Cbx_Entregador);
    connect(Cbx_Vendedor, &QComboBox::currentIndexChanged, this, [this] { Cbx_VendedorChange(); });
    connect(Cbx_Entregador, &QComboBox::currentIndexChanged, this,
            [this] { Cbx_VendedorChange(); });
    auto* cred = new QHBoxLayout;
    cl->addLayout(cred);
    auto caixa = [&](const QString& titulo, const QString& nomeRotulo) {
        auto* v = new QVBoxLayout;
        v->addWidget(rotulo(titulo, TbCtrl_Cliente));
        QLabel* l = rotulo(QString(), TbCtrl_Cliente, nomeRotulo);
        v->addWidget(l);
        cred->addLayout(v);
        return l;
    };
    Lab_Cred_Limite = caixa(QStringLiteral("Limite de Crédito"), QStringLiteral("Lab_Cred_Limite"));
    Lab_Cred_Situacao = caixa(QStringLiteral("Crédito:"), QStringLiteral("Lab_Cred_Situacao"));
    Lab_Cred_Restante =
        caixa(QStringLiteral("Crédito Restante"), QStringLiteral("Lab_Cred_Restante"));
    cl->addStretch(1);

    // Card.
    TbCtrl_Pag_Cartao = pagina(QStringLiteral("TbCtrl_Pag_Cartao"));
    auto* ca = new QFormLayout(TbCtrl_Pag_Cartao);
    ca->addRow(rotulo(QStringLiteral("Cartão de Crédito"), TbCtrl_Pag_Cartao));
    ca->addRow(
        rotulo(QStringLiteral("Preencha corretamente os dados necessários."), TbCtrl_Pag_Cartao));
    Cbx_Cart_Forma = new QComboBox(TbCtrl_Pag_Cartao);
    Cbx_Cart_Forma->setObjectName(QStringLiteral("Cbx_Cart_Forma"));
    Cbx_Cart_Forma->addItems({QStringLiteral("Crédito"), QStringLiteral("Débito")});
    Spn_Cart_Parcelas = new QSpinBox(TbCtrl_Pag_Cartao);
    Spn_Cart_Parcelas->setObjectName(QStringLiteral("Spn_Cart_Parcelas"));
    Spn_Cart_Parcelas->setRange(1, Cartao_Parcelas_Max(Cbx_Cart_Forma->currentText()));
    connect(Cbx_Cart_Forma, &QComboBox::currentTextChanged, this, [this](const QString& forma) {
        Spn_Cart_Parcelas->setMaximum(Cartao_Parcelas_Max(forma));
    });
    Edt_Cart_Valor = campo(QStringLiteral("Edt_Cart_Valor"), TbCtrl_Pag_Cartao);
    Edt_Cart_Valor->setAlignment(Qt::AlignCenter);
    Bt_Cart_Adicionar = new QPushButton(QStringLiteral("Adicionar"), TbCtrl_Pag_Cartao);
    Bt_Cart_Adicionar->setObjectName(QStringLiteral("Bt_Cart_Adicionar"));
    Bt_Cart_Adicionar->setAutoDefault(false);
    connect(Bt_Cart_Adicionar, &QPushButton::clicked, this, [this] { Bt_Cart_AdicionarClick(); });
    Edt_Cart_Prorietario = campo(QStringLiteral("Edt_Cart_Prorietario"), TbCtrl_Pag_Cartao);
    Cbx_Cart_Operad = new QComboBox(TbCtrl_Pag_Cartao);
    Cbx_Cart_Operad->setObjectName(QStringLiteral("Cbx_Cart_Operad"));
    Lbx_Cartao = new QListWidget(TbCtrl_Pag_Cartao);
    Lbx_Cartao->setObjectName(QStringLiteral("Lbx_Cartao"));
    ca->addRow(QStringLiteral("Forma:"), Cbx_Cart_Forma);
    ca->addRow(QStringLiteral("Parcelas:"), Spn_Cart_Parcelas);
    ca->addRow(QStringLiteral("Valor: [R$]"), Edt_Cart_Valor);
    ca->addRow(Bt_Cart_Adicionar);
    ca->addRow(QStringLiteral("Nome do Proprietário:"), Edt_Cart_Prorietario);
    ca->addRow(QStringLiteral("Operadora:"), Cbx_Cart_Operad);
    ca->addRow(Lbx_Cartao);
    QWidget* cartao[] = {Cbx_Cart_Forma,    Spn_Cart_Parcelas,    Edt_Cart_Valor,
                         Bt_Cart_Adicionar, Edt_Cart_Prorietario, Cbx_Cart_Operad};
    for (QWidget* w : cartao)
        filtrar(w);
    filtrar(Lbx_Cartao);
    for (int i = 1; i < 6; ++i)
        setTabOrder(cartao[i - 1], cartao[i]);

    // Cheque.
    TbCtrl_Pag_Cheque = pagina(QStringLiteral("TbCtrl_Pag_Cheque"));
    auto* ch = new QFormLayout(TbCtrl_Pag_Cheque);
    Edt_Cheq_Cliente = campo(QStringLiteral("Edt_Cheq_Cliente"), TbCtrl_Pag_Cheque);
    Edt_Cheq_CPF = campo(QStringLiteral("Edt_Cheq_CPF"), TbCtrl_Pag_Cheque);
    Cbx_Cheq_Banco = new QComboBox(TbCtrl_Pag_Cheque);
    Cbx_Cheq_Banco->setObjectName(QStringLiteral("Cbx_Cheq_Banco"));
    Cbx_Cheq_Banco->addItems(
        {QStringLiteral("BANCO DO BRASIL"), QStringLiteral("BANCO DO NORDESTE"),
         QStringLiteral("BANCO HSBC"), QStringLiteral("BANCO REAL"), QStringLiteral("BBV"),
         QStringLiteral("BRADESCO"), QStringLiteral("CAIXA ECONÔMICA"), QStringLiteral("ITAU"),
         QStringLiteral("SANTANDER"), QStringLiteral("UNIBANCO")});
    // No bank until the operator picks one: finalising asks for it.
    Cbx_Cheq_Banco->setCurrentIndex(-1);
    Edt_Cheq_Numero = campo(QStringLiteral("Edt_Cheq_Numero"), TbCtrl_Pag_Cheque);
    Edt_Cheq_Agencia = campo(QStringLiteral("Edt_Cheq_Agencia"), TbCtrl_Pag_Cheque);
    Edt_Cheq_Conta = campo(QStringLiteral("Edt_Cheq_Conta"), TbCtrl_Pag_Cheque);
    Dt_Cheq_Compensacao = new QDateEdit(QDate::currentDate(), TbCtrl_Pag_Cheque);
    Dt_Cheq_Compensacao->setObjectName(QStringLiteral("Dt_Cheq_Compensacao"));
    ch->addRow(QStringLiteral("Cliente:"), Edt_Cheq_Cliente);
    ch->addRow(QStringLiteral("CPF:"), Edt_Cheq_CPF);
    ch->addRow(QStringLiteral("Banco:"), Cbx_Cheq_Banco);
    ch->addRow(QStringLiteral("Número:"), Edt_Cheq_Numero);
    ch->addRow(QStringLiteral("Agência:"), Edt_Cheq_Agencia);
    ch->addRow(QStringLiteral("Conta:"), Edt_Cheq_Conta);
    ch->addRow(QStringLiteral("Compensação:"), Dt_Cheq_Compensacao);
    QWidget* ordem[] = {Edt_Cheq_Cliente, Edt_Cheq_CPF,   Cbx_Cheq_Banco,     Edt_Cheq_Numero,
                        Edt_Cheq_Agencia, Edt_Cheq_Conta, Dt_Cheq_Compensacao};
    for (QWidget* w : ordem)
        filtrar(w);
    for (int i = 1; i < 7; ++i)
        setTabOrder(ordem[i - 1], ordem[i]);

    // Plan.
    TbCtrl_Pag_Restante = pagina(QStringLiteral("TbCtrl_Pag_Restante"));
    auto* pl = new QVBoxLayout(TbCtrl_Pag_Restante);
    pl->addWidget(rotulo(QStringLiteral("Parcelamento"), TbCtrl_Pag_Restante));
    Cbx_Rest_Plano = new QComboBox(TbCtrl_Pag_Restante);
    Cbx_Rest_Plano->setObjectName(QStringLiteral("Cbx_Rest_Plano"));
    pl->addWidget(Cbx_Rest_Plano);
    Lab_Rest_MsgErro = rotulo(QStringLiteral("Preencha corretamente os dados necessários."),
                              TbCtrl_Pag_Restante, QStringLiteral("Lab_Rest_MsgErro"));
    pl->addWidget(Lab_Rest_MsgErro);
    const QDate primeira = m_principal.Venda.Plano_Dt_Primeira;
    Dt_Plano_Primeira =
        new QDateEdit(primeira.isValid() ? primeira : QDate::currentDate(), TbCtrl_Pag_Restante);
    Dt_Plano_Primeira->setObjectName(QStringLiteral("Dt_Plano_Primeira"));
    pl->addWidget(Dt_Plano_Primeira);
    Lbx_Rest_Plano = new QListWidget(TbCtrl_Pag_Restante);
    Lbx_Rest_Plano->setObjectName(QStringLiteral("Lbx_Rest_Plano"));
    pl->addWidget(Lbx_Rest_Plano, 1);
    filtrar(Cbx_Rest_Plano);
    filtrar(Dt_Plano_Primeira);
    connect(Cbx_Rest_Plano, &QComboBox::activated, this, [this] { Plano_Escolhido(); });
    connect(Dt_Plano_Primeira, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        m_principal.Venda.Plano_Dt_Primeira = d;
        Plano_List();
    });

    // PIX: the charge's key and QR code, asked for when finalising.
    TbCtrl_Pag_Pix = pagina(QStringLiteral("TbCtrl_Pag_Pix"));
    Pix = new TPix_Pagina(TbCtrl_Pag_Pix);
}

void TFinalizacao::Listas_Preencher() {
    TSettings& cfg = m_principal.Config;
    db::Connection& c = m_principal.DModule().FDConnection1;
    const QSignalBlocker b1(Cbx_Vendedor), b2(Cbx_Entregador), b3(Cbx_Rest_Plano);
    try {
        Cbx_Cart_Operad->clear();
        Cbx_Cart_Operad->addItems(Operadoras_Lista(c));
        Cbx_Rest_Plano->clear();
        Cbx_Rest_Plano->addItems(Planos_Lista(c));
        Cbx_Rest_Plano->setCurrentIndex(Cbx_Rest_Plano->findText(m_principal.Venda.Plano_Nome));

        Cbx_Vendedor->clear();
        Cbx_Entregador->clear();
        Vendedor_ID_Array.clear();
        Entregador_ID_Array = {0};
        Cbx_Entregador->addItem(QStringLiteral("SEM ENTREGA"));
        int vendedor = -1, entregador = -1;
        // The lists have room for 999 employees besides "SEM ENTREGA".
        const QList<TFuncionario> lista = Vendedores_Lista(c).mid(0, 999);
        for (const TFuncionario& f : lista) {
            Vendedor_ID_Array << f.id;
            Entregador_ID_Array << f.id;
            Cbx_Vendedor->addItem(f.nome);
            Cbx_Entregador->addItem(f.nome);
            if (f.id == cfg.Funcionario_ID || f.nome == cfg.Vendedor_Nome)
                vendedor = Cbx_Vendedor->count() - 1;
            if (f.id == m_principal.Venda.Entregador_ID || f.nome == cfg.Vendedor_Nome)
                entregador = Cbx_Entregador->count() - 1;
        }
        if (!cfg.Vendedor_Nome_Old.isEmpty())
            vendedor = Cbx_Vendedor->findText(cfg.Vendedor_Nome_Old);
        Cbx_Vendedor->setCurrentIndex(vendedor);
        Cbx_Entregador->setCurrentIndex(entregador < 0 ? 0 : entregador);
    } catch (const Error& e) {
        MessageBox::ShowMessage(e.message());
    }
    Cbx_VendedorChange();
}

void TFinalizacao::Formas_Mostrar() {
    const TSettings& cfg = m_principal.Config;
    Lbx_Item_Din->setVisible(cfg.conf_FormaPG_Din);
    Lbx_Item_PIX->setVisible(cfg.conf_FormaPG_PIX);
    Lbx_Item_Cart->setVisible(cfg.conf_FormaPG_Car);
    Lbx_Item_Cheq->setVisible(cfg.conf_FormaPG_Che);
}

void TFinalizacao::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    if (m_preparado) return;
    m_preparado = true;
    Edt_PG_Dinheiro->setFocus();
    Edt_PG_Dinheiro->selectAll();
}

TFinaliza_Campos TFinalizacao::Campos() const {
    TFinaliza_Campos c;
    c.Lab_Cupom_Total = Lab_Cupom_Total->text();
    c.Edt_PG_Dinheiro = Edt_PG_Dinheiro->text();
    c.Edt_PG_PIX = Edt_PG_PIX->text();
    c.Edt_PG_Cartao = Edt_PG_Cartao->text();
    c.Edt_PG_Cheque = Edt_PG_Cheque->text();
    c.Edt_PG_Restante = Edt_PG_Restante->text();
    c.Edt_PG_Troco = Edt_PG_Troco->text();
    return c;
}

void TFinalizacao::Venda_Finaliza_Calc() {
    const TFinaliza_Calc r = ::Venda_Finaliza_Calc(Campos());
    Edt_PG_Dinheiro->setText(r.Campos.Edt_PG_Dinheiro);
    Edt_PG_PIX->setText(r.Campos.Edt_PG_PIX);
    Edt_PG_Cartao->setText(r.Campos.Edt_PG_Cartao);
    Edt_PG_Cheque->setText(r.Campos.Edt_PG_Cheque);
    Edt_PG_Restante->setText(r.Campos.Edt_PG_Restante);
    Edt_PG_Restante->setEnabled(false);
    Edt_PG_Troco->setText(r.Campos.Edt_PG_Troco);
    Lbx_Item_Troco->setVisible(r.Troco_Visivel);
    Lbx_Item_Rest->setVisible(r.Restante_Visivel);
}

void TFinalizacao::Cliente_Cores(bool vermelho) {
    const QString cor = vermelho ? QStringLiteral("color: red;") : QStringLiteral("color: black;");
    Lab_Client_Title->setStyleSheet(cor);
    Lab_Client_Alert->setStyleSheet(cor);
}

void TFinalizacao::Abre_Cliente(const QString& cpf) {
    Lab_Client_Title->setText(CLIENTE_TITULO);
    Lab_Client_Alert->setText(CLIENTE_ALERTA);
    Cliente_Cores(false);
    try {
        const TCliente_Venda r =
            ::Abre_Cliente(m_principal.DModule().FDConnection1, cpf, QDate::currentDate());
        Lab_Client_Nome->setText(r.Lab_Client_Nome);
        Lab_Client_CPF->setText(r.Lab_Client_CPF);
        Lab_Client_Nasc->setText(r.Lab_Client_Nasc);
        Lab_Client_End->setText(r.Lab_Client_End);
        Lab_Client_Bairro->setText(r.Lab_Client_Bairro);
        Lab_Client_CEP->setText(r.Lab_Client_CEP);
        TVenda& v = m_principal.Venda;
        v.Venda_Cliente_ID = r.id;
        v.Venda_Cliente_CPF = r.CPF;
        v.Venda_Entreg_endereco = r.Endereco;
        v.Venda_Entreg_cidade = r.Cidade;
        v.Venda_Entreg_bairro = r.Bairro;
        v.Venda_Entreg_cep = r.CEP;
    } catch (const Error& e) {
        MessageBox::ShowMessage(QStringLiteral("[Abre_Cliente] Erro: ") + e.message());
        return;
    }
    Credito_Validar(m_principal.Venda.Venda_Cliente_CPF);
}

bool TFinalizacao::Credito_Validar(const QString& ClieCPF) {
    const TFinaliza_Calc v = ::Venda_Finaliza_Calc(Campos());
    TCredito_Resultado r;
    try {
        r = ::Credito_Validar(m_principal.DModule().FDConnection1, ClieCPF, v.R, v.C);
    } catch (const Error& e) {
        // A check that cannot be made does not approve the sale.
        MessageBox::ShowMessage(e.message());
        return false;
    }
    Lab_Client_Title->setText(r.Titulo);
    Lab_Client_Alert->setText(r.Alerta);
    if (r.Consultado) {
        Lab_Cred_Limite->setText(r.Lab_Cred_Limite);
        Lab_Cred_Situacao->setText(r.Lab_Cred_Situacao);
        Lab_Cred_Restante->setText(r.Lab_Cred_Restante);
    }
    Cliente_Cores(!r.Aprovado);
    if (!r.Aprovado) Mostrar_Pagina(Finaliza_Pagina::Cliente);
    return r.Aprovado;
}

void TFinalizacao::Cbx_VendedorChange() {
    const int v = Cbx_Vendedor->currentIndex();
    if (v >= 0 && v < Vendedor_ID_Array.size()) Vendedor_ID = Vendedor_ID_Array[v];
    const int e = Cbx_Entregador->currentIndex();
    if (e >= 0 && e < Entregador_ID_Array.size())
        m_principal.Venda.Entregador_ID = Entregador_ID_Array[e];
}

void TFinalizacao::Img_Busca_ClienteClick() {
    delete Clientes_Lista;
    Clientes_Lista =
        new TClientes_Lista(m_principal.DModule(), m_principal.Config, m_principal.Venda, this);
    Clientes_Lista->exec();
    // Closed without a choice: the sale keeps its customer.
    const QString doc = Clientes_Lista->CPF_CNPJ.trimmed();
    if (!doc.isEmpty()) {
        m_principal.Venda.Venda_Cliente_CPF = doc;
        Abre_Cliente(doc);
        raise();
        activateWindow();
    }
    Cbx_Entregador->setFocus();
}

void TFinalizacao::Cartao_List() {
    Lbx_Cartao->clear();
    for (const TCartao_Linha& l : DSet_Cartao.Linhas()) {
        const TCartao_Textos t = Cartao_Linha_Textos(l);
        auto* item = new QListWidgetItem(t.Operadora + QStringLiteral("   ") + t.Forma +
                                             QStringLiteral("   ") + t.Parcelas +
                                             QStringLiteral("   ") + t.Valor,
                                         Lbx_Cartao);
        item->setData(Qt::UserRole, l.id);
    }
    Total_Cartao = DSet_Cartao.SUM_Valor();
}

void TFinalizacao::Pg_Cartao_Prepara() {
    Mostrar_Pagina(Finaliza_Pagina::Cartao);
    Cartao_List();
    Cbx_Cart_Operad->setCurrentIndex(Cbx_Cart_Operad->count() > 0 ? 0 : -1);
    Cbx_Cart_Forma->setCurrentIndex(0);
    Edt_Cart_Prorietario->clear();
    Spn_Cart_Parcelas->setValue(1);
    Edt_Cart_Valor->setText(
        Cartao_Valor_Restante(StringToFloat(Edt_PG_Cartao->text()), Total_Cartao));
}

void TFinalizacao::Bt_Cart_AdicionarClick() {
    TCartao_Entrada e;
    e.Forma = Cbx_Cart_Forma->currentText();
    e.Parcelas = Spn_Cart_Parcelas->value();
    e.Valor = Edt_Cart_Valor->text();
    e.Proprietario = Edt_Cart_Prorietario->text();
    e.Operadora = Cbx_Cart_Operad->currentText();
    for (int i = 0; i < Cbx_Cart_Operad->count(); ++i)
        e.Operadoras << Cbx_Cart_Operad->itemText(i);
    e.Edt_PG_Cartao = Edt_PG_Cartao->text();
    const TCartao_Resultado r = Cartao_Adicionar(DSet_Cartao, e);
    if (!r.Adicionado) {
        MessageBox::ShowMessage(r.Mensagem);
        if (r.Mostra_Pagina) Mostrar_Pagina(Finaliza_Pagina::Cartao);
    } else {
        Cartao_List();
        Edt_Cart_Valor->setText(r.Edt_Cart_Valor);
    }
    if (!r.Foco.isEmpty())
        if (auto* f = findChild<QWidget*>(r.Foco)) f->setFocus();
    if (r.Finalizar) Finaliza();
}

void TFinalizacao::Plano_List() {
    const TVenda& v = m_principal.Venda;
    Lbx_Rest_Plano->clear();
    for (const TPlano_Linha& l :
         ::Plano_List(v.Plano_Dt_Primeira, v.Plano_Parcelas, StringToFloat(Edt_PG_Restante->text()),
                      v.Plano_Periodicidade))
        Lbx_Rest_Plano->addItem(l.Parcela + QStringLiteral("   ") + l.Dia + QStringLiteral("   ") +
                                l.Valor);
}

void TFinalizacao::Plano_Escolhido() {
    try {
        const TPlano p = Plano_Abre(m_principal.DModule().FDConnection1,
                                    Cbx_Rest_Plano->currentText(), 0, QDate::currentDate());
        Plano_Aplica(m_principal.Venda, p);
        Dt_Plano_Primeira->setEnabled(p.Data_Habilitada);
        Lab_Rest_MsgErro->setText(QStringLiteral("Preencha corretamente os dados necessários."));
        Lab_Rest_MsgErro->setStyleSheet(QString());
        const QSignalBlocker b(Dt_Plano_Primeira);
        Dt_Plano_Primeira->setDate(p.Plano_Dt_Primeira);
        Plano_List();
    } catch (const Error& e) {
        MessageBox::ShowMessage(QStringLiteral("[Plano_Abre] Erro: ") + e.message());
    }
}

void TFinalizacao::Mostrar_Pagina(Finaliza_Pagina pagina) {
    QWidget* p = TbCtrl_Cliente;
    switch (pagina) {
    case Finaliza_Pagina::Cliente:
        p = TbCtrl_Cliente;
        break;
    case Finaliza_Pagina::Cartao:
        p = TbCtrl_Pag_Cartao;
        break;
    case Finaliza_Pagina::Cheque:
        p = TbCtrl_Pag_Cheque;
        break;
    case Finaliza_Pagina::Restante:
        p = TbCtrl_Pag_Restante;
        break;
    case Finaliza_Pagina::Pix:
        p = TbCtrl_Pag_Pix;
        break;
    }
    TbCtrl_Pagamento->setCurrentWidget(p);
}

Finaliza_Pagina TFinalizacao::Pagina_Atual() const {
    QWidget* p = TbCtrl_Pagamento->currentWidget();
    if (p == TbCtrl_Pag_Cartao) return Finaliza_Pagina::Cartao;
    if (p == TbCtrl_Pag_Cheque) return Finaliza_Pagina::Cheque;
    if (p == TbCtrl_Pag_Restante) return Finaliza_Pagina::Restante;
    if (p == TbCtrl_Pag_Pix) return Finaliza_Pagina::Pix;
    return Finaliza_Pagina::Cliente;
}

QLineEdit* TFinalizacao::Ultimo_Campo() const {
    if (!Lbx_Item_Cheq->isHidden()) return Edt_PG_Cheque;
    if (!Lbx_Item_Cart->isHidden()) return Edt_PG_Cartao;
    if (!Lbx_Item_PIX->isHidden()) return Edt_PG_PIX;
    return Edt_PG_Dinheiro;
}

void TFinalizacao::Focar_Pagina() {
    switch (Pagina_Atual()) {
    case Finaliza_Pagina::Cliente:
        Cbx_Vendedor->setFocus();
        break;
    case Finaliza_Pagina::Cartao:
        Cbx_Cart_Forma->setFocus();
        break;
    case Finaliza_Pagina::Cheque:
        Edt_Cheq_Cliente->setFocus();
        break;
    case Finaliza_Pagina::Restante:
        Cbx_Rest_Plano->setFocus();
        break;
    case Finaliza_Pagina::Pix:
        break;
    }
}

bool TFinalizacao::eventFilter(QObject* watched, QEvent* event) {
    auto* e = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::FocusIn && e && m_campos.contains(e)) {
        QTimer::singleShot(0, e, [e] { e->selectAll(); });
        return PainelModal::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return PainelModal::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();

    if (e && m_campos.contains(e)) {
        if (eEnter(key) || key == Qt::Key_Tab) {
            if (e == Ultimo_Campo()) {
                Venda_Finaliza_Calc();
                Focar_Pagina();
            } else {
                // The next payment field shown.
                for (int i = m_campos.indexOf(e) + 1; i < m_campos.size(); ++i)
                    if (!m_campos[i]->parentWidget()->isHidden()) {
                        m_campos[i]->setFocus();
                        break;
                    }
                Venda_Finaliza_Calc();
            }
            Venda_Finaliza_Calc();
            Credito_Validar(m_principal.Venda.Venda_Cliente_CPF);
            return true;
        }
        if (key == Qt::Key_F3) {
            Finaliza();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
        return PainelModal::eventFilter(watched, event);
    }

    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !TbCtrl_Pagamento->isAncestorOf(w)) return PainelModal::eventFilter(watched, event);
    if (key == Qt::Key_F3) {
        Finaliza();
        return true;
    }
    if (w == Lbx_Cartao && key == Qt::Key_Delete) {
        if (QListWidgetItem* item = Lbx_Cartao->currentItem()) {
            DSet_Cartao.Delete(item->data(Qt::UserRole).toInt());
            Cartao_List();
        }
        return true;
    }
    if ((key == Qt::Key_F11 || key == Qt::Key_Insert) &&
        (w == Cbx_Vendedor || w == Cbx_Entregador)) {
        Img_Busca_ClienteClick();
        return true;
    }
    if (eEnter(key) && w == Bt_Cart_Adicionar) {
        Bt_Cart_AdicionarClick();
        return true;
    }
    if (eEnter(key)) {
        auto* combo = qobject_cast<QComboBox*>(w);
        if (combo && combo->view()->isVisible()) return PainelModal::eventFilter(watched, event);
        const bool finaliza = w == Cbx_Entregador || w == Dt_Cheq_Compensacao ||
                              (w == Cbx_Rest_Plano && !Dt_Plano_Primeira->isEnabled());
        if (finaliza) {
            Finaliza();
            if (!isVisible() || result() == QDialog::Accepted) return true;
        }
        focusNextChild();
        if (e) e->setText(RemoveAcentos(e->text()).toUpper());
        return true;
    }
    if (key == Qt::Key_Escape) {
        QWidget* primeiro = nullptr;
        switch (Pagina_Atual()) {
        case Finaliza_Pagina::Cliente:
            primeiro = Cbx_Vendedor;
            break;
        case Finaliza_Pagina::Cartao:
            primeiro = Cbx_Cart_Forma;
            break;
        case Finaliza_Pagina::Cheque:
            primeiro = Edt_Cheq_Cliente;
            break;
        case Finaliza_Pagina::Restante:
            primeiro = Cbx_Rest_Plano;
            break;
        case Finaliza_Pagina::Pix:
            break;
        }
        if (w == primeiro || !primeiro)
            Edt_PG_Dinheiro->setFocus();
        else
            primeiro->setFocus();
        return true;
    }
    return PainelModal::eventFilter(watched, event);
}

void TFinalizacao::Finaliza() {
    // Step 2 comes before the checks: the seller is remembered even when they refuse.
    if (Cbx_Vendedor->currentIndex() >= 0)
        m_principal.Config.Vendedor_Nome_Old = Cbx_Vendedor->currentText();

    TFinaliza_Estado estado;
    estado.Vendedor_Selecionado = Cbx_Vendedor->currentIndex() >= 0;
    if (estado.Vendedor_Selecionado)
        estado.Credito_Aprovado = Credito_Validar(m_principal.Venda.Venda_Cliente_CPF);
    estado.pix_ok = Pix->pix.pix_ok;
    estado.Plano_ID = m_principal.Venda.Plano_ID;
    estado.Venda_Cliente_ID = m_principal.Venda.Venda_Cliente_ID;
    estado.Pagina_Atual = Pagina_Atual();
    estado.Cheque = {Edt_Cheq_Cliente->text(),      Edt_Cheq_CPF->text(),
                     Cbx_Cheq_Banco->currentText(), Edt_Cheq_Numero->text(),
                     Edt_Cheq_Agencia->text(),      Edt_Cheq_Conta->text(),
                     Dt_Cheq_Compensacao->date()};

    const TFinaliza_Passo p = Finaliza_Validar(Campos(), estado, DSet_Cartao);
    if (p.Recusa == Finaliza_Recusa::Nenhuma) {
        Venda_Finaliza_Cupom();
        return;
    }
    if (p.Recusa == Finaliza_Recusa::Pix) {
        // The charge for the customer to pay; the operator finalises again once paid.
        Mostrar_Pagina(Finaliza_Pagina::Pix);
        Pix->PIX_webAPI(m_principal, Edt_PG_PIX->text());
        return;
    }
    if (p.Recusa == Finaliza_Recusa::Cartao_Vazio) Pg_Cartao_Prepara();
    if (p.Recusa == Finaliza_Recusa::Plano) {
        // The plan page warns in place, without a box.
        Lab_Rest_MsgErro->setText(p.Mensagem);
        Lab_Rest_MsgErro->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    } else if (!p.Mensagem.isEmpty()) {
        MessageBox::ShowMessage(p.Mensagem);
    }
    if (p.Mostra_Pagina) Mostrar_Pagina(p.Pagina);
    if (!p.Foco.isEmpty())
        if (auto* f = findChild<QWidget*>(p.Foco)) f->setFocus();
}

bool TFinalizacao::Venda_Finaliza_Cupom() {
    TVenda& v = m_principal.Venda;
    const qint32 id = v.Venda_ID; // clearing the screen forgets it
    v.Plano_Dt_Primeira = Dt_Plano_Primeira->date();
    const TCheque cheque{Edt_Cheq_Cliente->text(),      Edt_Cheq_CPF->text(),
                         Cbx_Cheq_Banco->currentText(), Edt_Cheq_Numero->text(),
                         Edt_Cheq_Agencia->text(),      Edt_Cheq_Conta->text(),
                         Dt_Cheq_Compensacao->date()};
    try {
        Venda_Finaliza_Grava(m_principal.DModule().FDConnection1, v, Campos(), Vendedor_ID,
                             v.Entregador_ID, cheque, DSet_Cartao, QDate::currentDate());
    } catch (const DbError& e) {
        // Nothing was written: the operator may try again or return to the sale.
        MessageBox::ShowMessage(e.message());
        return false;
    }
    try {
        m_principal.Vendas().Venda_Limpar();
        m_principal.Vendas().Cupom_Busca();
    } catch (const Error&) {
        // The sale is concluded; a screen that did not clear is cleared by the next sale.
    }
    try {
        m_principal.IniFile_Salva();
    } catch (const Error& e) {
        MessageBox::ShowMessage(e.message());
    }
    accept();

    // The sale is saved whatever happens below; a failed upload has said why and ends
    // the action, so nothing is printed for a sale the account has not taken.
    const TSettings& conf = m_principal.Config;
    const TPrincipal::Ganchos& g = m_principal.Ganchos_;
    if (conf.conf_enviar_venda && g.Venda_Enviar && !g.Venda_Enviar(id)) return true;
    if (conf.conf_imprimir_venda && g.Venda_Imprimir) g.Venda_Imprimir(id);
    if (conf.conf_imprimir_pedido && g.Venda_Pedido) g.Venda_Pedido(id);
    m_principal.Venda_Alert();
    return true;
}
