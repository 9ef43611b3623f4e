#include "Desconto_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Desconto_Core.h"
#include "sale/Principal_Unit.h"
#include "sale/Seguranca_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString MASCARA = QStringLiteral("0.00,");
const char* COR_OK = "#2E8B57"; // FF2E8B57

bool eEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString estiloCaixa(const char* cor) {
    return QStringLiteral("QLineEdit { font-size: 22pt; font-weight: bold; color: %1; padding: "
                          "4px; border: 1px solid #90A4AE; border-radius: 4px; }")
        .arg(QLatin1String(cor));
}

QString estiloBotao(const QString& cor) {
    return QStringLiteral("QPushButton { background: %1; color: white; border: none;"
                          " border-radius: 6px; }"
                          "QPushButton:pressed { background: %2; }"
                          "QPushButton:focus { border: 3px solid #FFD54F; }")
        .arg(cor, QColor(cor).darker(120).name());
}

} // namespace

TDesconto::TDesconto(TPrincipal& principal, const QString& nome, const QString& titulo,
                     QWidget* parent)
    : PainelModal(nome, titulo, QSize(720, 440), parent), m_principal(principal) {
    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(16);
    grade->setVerticalSpacing(14);
    auto legenda = [this](const QString& t) {
        auto* l = new QLabel(t, Rct_Painel);
        l->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: bold;"));
        return l;
    };

    Cbx_TipoDesc = new QComboBox(Rct_Painel);
    Cbx_TipoDesc->setObjectName(QStringLiteral("Cbx_TipoDesc"));
    Cbx_TipoDesc->addItems(
        {QString::fromUtf8("Monetário  [R$]"), QStringLiteral("Percentual [ % ]")});
    Cbx_TipoDesc->setStyleSheet(QStringLiteral("QComboBox { font-size: 16pt; padding: 4px; }"));
    Edt_Desconto = new QLineEdit(Rct_Painel);
    Edt_Desconto->setObjectName(QStringLiteral("Edt_Desconto"));
    Lab_Total_Novo = legenda(QStringLiteral("TOTAL COM DESCONTO.........:"));
    Lab_Total_Novo->setObjectName(QStringLiteral("Lab_Total_Novo"));
    Edt_Novo_Total = new QLineEdit(Rct_Painel);
    Edt_Novo_Total->setObjectName(QStringLiteral("Edt_Novo_Total"));
    for (QLineEdit* e : {Edt_Desconto, Edt_Novo_Total})
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    grade->addWidget(legenda(QStringLiteral("Tipo de Desconto:")), 0, 0);
    grade->addWidget(Cbx_TipoDesc, 0, 1);
    grade->addWidget(legenda(QStringLiteral("Desconto:")), 1, 0);
    grade->addWidget(Edt_Desconto, 1, 1);
    grade->addWidget(Lab_Total_Novo, 2, 0);
    grade->addWidget(Edt_Novo_Total, 2, 1);
    grade->setColumnStretch(1, 1);
    Corpo()->addLayout(grade);
    Corpo()->addStretch(1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("CANCELAR - [Esc]"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtVender =
        botao(QStringLiteral("OK - [F3]"), QLatin1String(COR_OK), QStringLiteral("Rct_BtVender"));
    // The second Enter of the new total lands on the OK button.
    Rct_BtVender->setFocusPolicy(Qt::StrongFocus);
    for (QPushButton* b : {Rct_BtCancel, Rct_BtVender})
        b->setMinimumSize(220, 56);
    botoes->addWidget(Rct_BtCancel);
    botoes->addStretch(1);
    botoes->addWidget(Rct_BtVender);
    Corpo()->addLayout(botoes);

    for (QWidget* w :
         std::initializer_list<QWidget*>{Cbx_TipoDesc, Edt_Desconto, Edt_Novo_Total, Rct_BtVender})
        w->installEventFilter(this);
    connect(Rct_BtVender, &QPushButton::clicked, this, &TDesconto::Rct_BtVenderClick);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    Pintar(false);
}

bool TDesconto::Percentual() const {
    return Cbx_TipoDesc->currentIndex() == 1;
}

void TDesconto::Pintar(bool limite) {
    m_limite = limite;
    Lab_Total_Novo->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: bold; color: %1;")
                                      .arg(limite ? QLatin1String("red") : QLatin1String("black")));
    Edt_Desconto->setStyleSheet(estiloCaixa(limite ? "red" : "blue"));
    Edt_Novo_Total->setStyleSheet(estiloCaixa(limite ? "red" : "black"));
    Rct_BtVender->setStyleSheet(
        estiloBotao(limite ? QStringLiteral("#E53935") : QString::fromLatin1(COR_OK)));
}

void TDesconto::Calc_Desconto() {
    Pintar(false);
    const double B = Base();
    const double N = Desconto_Novo_Total(B, StringToFloat(Edt_Desconto->text()), Percentual());
    if (Desconto_Alem_Limite(B, N, m_principal.Config.conf_Desc_Limit)) Pintar(true);
    Desconto_Calculado(N);
    Edt_Novo_Total->setText(FormatFloat(MASCARA, N));
}

void TDesconto::Calc_Novo_Total() {
    Pintar(false);
    const double B = Base();
    const double N = StringToFloat(Edt_Novo_Total->text());
    Edt_Desconto->setText(FormatFloat(MASCARA, Desconto_Do_Total(B, N, Percentual())));
    if (Desconto_Alem_Limite(B, N, m_principal.Config.conf_Desc_Limit)) Pintar(true);
}

void TDesconto::Rct_BtVenderClick() {
    if (m_limite && !Permissao(m_principal, 50, QStringLiteral("permitir"))) {
        MessageBox::ShowMessage(QString::fromUtf8("Permissão não concedida para este usuário"));
        Edt_Desconto->setFocus();
        return;
    }
    Gravar(StringToFloat(Edt_Novo_Total->text()));
    accept();
    m_principal.Vendas().Cupom_Busca();
}

bool TDesconto::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == Edt_Desconto) {
        // Leaving the box, not the window: another window opening changes nothing.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
        if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) Calc_Desconto();
        return PainelModal::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return PainelModal::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (eEnter(key) || key == Qt::Key_Escape || key == Qt::Key_F3) {
        // An open drop-down list takes its own Enter and Esc.
        if (watched == Cbx_TipoDesc && Cbx_TipoDesc->view()->isVisible()) return false;
        // Enter, Esc and F3 act on their release, and only when their press came here.
        if (!m_soltura.Soltou(event)) return true;
        if (key == Qt::Key_Escape) {
            reject();
        } else if (key == Qt::Key_F3) {
            // The key on the OK button: the new total as it stands.
            if (watched == Edt_Desconto) Calc_Desconto();
            if (watched == Edt_Novo_Total) Calc_Novo_Total();
            Rct_BtVenderClick();
        } else if (watched == Cbx_TipoDesc) {
            Edt_Desconto->setFocus();
        } else if (watched == Edt_Desconto) {
            Edt_Novo_Total->setFocus(); // leaving the box recomputes the new total
        } else if (watched == Edt_Novo_Total && !OK) {
            Calc_Novo_Total();
            OK = true;
            Rct_BtVender->setFocus();
        } else {
            Rct_BtVenderClick();
        }
        return true;
    }
    if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        if (watched == Edt_Desconto) Calc_Desconto();
        if (watched == Edt_Novo_Total) Calc_Novo_Total();
    }
    return PainelModal::eventFilter(watched, event);
}

// ---- The whole sale --------------------------------------------------------------------

TDesconto_Geral::TDesconto_Geral(TPrincipal& principal, QWidget* parent)
    : TDesconto(principal, QStringLiteral("Desconto_Geral"), QStringLiteral("Desconto Total"),
                parent) {}

double TDesconto_Geral::Base() const {
    // The items' line totals. The screen shows the same as its discount plus its total,
    // but loses the sign of a surcharge or of a total below zero.
    return m_principal.Venda.Venda_Produtos;
}

void TDesconto_Geral::showEvent(QShowEvent* event) {
    TDesconto::showEvent(event);
    const TVenda& v = m_principal.Venda;
    // A discount already given is shown, and edited, in money.
    Cbx_TipoDesc->setCurrentIndex(v.Venda_Desconto != 0 ? 0
                                                        : (m_principal.Config.conf_DescTipo == 1));
    Edt_Desconto->setText(FormatFloat(MASCARA, v.Venda_Desconto));
    Edt_Novo_Total->setText(FormatFloat(MASCARA, v.Venda_Produtos - v.Venda_Desconto));
    OK = false;
    Cbx_TipoDesc->setFocus();
}

void TDesconto_Geral::Gravar(double novo_total) {
    TVenda& v = m_principal.Venda;
    const double desconto = Base() - novo_total;
    Desconto_Geral_Gravar(m_principal.DModule().FDConnection1, v.Venda_ID, desconto);
    v.Venda_Desconto = desconto;
}

// ---- One item --------------------------------------------------------------------------

TDesconto_Item::TDesconto_Item(TPrincipal& principal, QWidget* parent)
    : TDesconto(principal, QStringLiteral("Desconto_Item"), QStringLiteral("Desconto no Item"),
                parent) {}

void TDesconto_Item::showEvent(QShowEvent* event) {
    const TDescontoItem item = Desconto_Item_Carregar(m_principal.DModule().FDConnection1, Item_ID);
    Item_Valor = item.prod_total;
    Item_Desc = item.prod_desc;
    TDesconto::showEvent(event);
    // The discount given is shown in money and the total before it, whatever the kind.
    Edt_Desconto->setText(FormatFloat(MASCARA, Item_Desc));
    Cbx_TipoDesc->setCurrentIndex(m_principal.Config.conf_DescTipo == 1);
    Edt_Novo_Total->setText(FormatFloat(MASCARA, Item_Valor));
    OK = false;
    Cbx_TipoDesc->setFocus();
}

void TDesconto_Item::Desconto_Calculado(double novo_total) {
    Item_Desc = Item_Valor - novo_total;
}

void TDesconto_Item::Gravar(double novo_total) {
    Item_Desc = Item_Valor - novo_total;
    Desconto_Item_Gravar(m_principal.DModule().FDConnection1, Item_ID, Item_Desc);
}

// ---- Openers ---------------------------------------------------------------------------

void Venda_DescontoGeral(TPrincipal& principal) {
    if (principal.Venda.Venda_ID <= 0) {
        MessageBox::ShowMessage(QString::fromUtf8("Não existe uma venda em aberto!"));
        return;
    }
    TDesconto_Geral janela(principal, &principal);
    janela.exec();
    principal.activateWindow(); // no window manager may do it
    principal.Vendas().Focar_Busca();
}

void Venda_DescontoItem(TPrincipal& principal) {
    if (principal.Venda.Venda_ID <= 0) {
        MessageBox::ShowMessage(QString::fromUtf8("Não existe uma venda em aberto!"));
        return;
    }
    const qint64 item = principal.Vendas().Item_Selecionado();
    if (item <= 0) {
        MessageBox::ShowMessage(QString::fromUtf8("Não existem itens para serem cancelados!"));
        return;
    }
    TDesconto_Item janela(principal, &principal);
    janela.Item_ID = item;
    janela.exec();
    principal.activateWindow(); // no window manager may do it
    principal.Vendas().Focar_Busca();
}
