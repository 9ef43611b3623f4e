#include "Devolucao_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Produtos_Lista_Unit.h"
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
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

bool eEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Leaving a box is the operator's move (keys or mouse); focus set by the window itself,
// or a window or drop-down list opening, is not.
bool saidaDoOperador(QEvent* event) {
    switch (static_cast<QFocusEvent*>(event)->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace

TDevolucao::TDevolucao(TPrincipal& principal, QWidget* parent)
    : PainelModal(QStringLiteral("Devolucao"), QString::fromUtf8("Devolução de mercadorias"),
                  QSize(980, 560), parent),
      m_principal(principal) {
    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(16);
    grade->setVerticalSpacing(10);
    const QString estilo = QStringLiteral("font-size: 15pt; padding: 3px;");
    int linha = 0;
    auto campo = [&](const QString& legenda, QWidget* w, const QString& nome, int coluna = 0,
                     int largura = 3) {
        w->setObjectName(nome);
        w->setStyleSheet(estilo);
        auto* l = new QLabel(legenda, Rct_Painel);
        l->setStyleSheet(QStringLiteral("font-size: 13pt; color: #455A64;"));
        grade->addWidget(l, linha, coluna, 1, largura);
        grade->addWidget(w, linha + 1, coluna, 1, largura);
    };
    Edt_Client_CPF = new QLineEdit(Rct_Painel);
    Cbx_Client_Nome = new QComboBox(Rct_Painel);
    Cbx_Client_Nome->setEditable(true);
    campo(QStringLiteral("CPF do Cliente:"), Edt_Client_CPF, QStringLiteral("Edt_Client_CPF"), 0,
          1);
    campo(QStringLiteral("Nome Completo:"), Cbx_Client_Nome, QStringLiteral("Cbx_Client_Nome"), 1,
          2);
    linha += 2;
    Cbx_Motivo = new QComboBox(Rct_Painel);
    Cbx_Motivo->addItems(Devolucao_Motivos());
    Edt_Venda_Cod = new QLineEdit(Rct_Painel);
    campo(QString::fromUtf8("Motivo da Devolução:"), Cbx_Motivo, QStringLiteral("Cbx_Motivo"), 0,
          2);
    campo(QString::fromUtf8("Código da Venda:"), Edt_Venda_Cod, QStringLiteral("Edt_Venda_Cod"), 2,
          1);
    linha += 2;
    Edt_Prod_CBarra = new QLineEdit(Rct_Painel);
    Cbx_Prod_Nome = new QComboBox(Rct_Painel);
    Cbx_Prod_Nome->setEditable(true);
    Cbx_Prod_Nome->setInsertPolicy(QComboBox::NoInsert);
    Cbx_Prod_Nome->setCompleter(nullptr);
    Cbx_Prod_Nome->setMaxVisibleItems(15);
    campo(QString::fromUtf8("Cód. Barras:"), Edt_Prod_CBarra, QStringLiteral("Edt_Prod_CBarra"), 0,
          1);
    campo(QString::fromUtf8("Descrição do Produtos:"), Cbx_Prod_Nome,
          QStringLiteral("Cbx_Prod_Nome"), 1, 2);
    linha += 2;
    Edt_Prod_Unitario = new QLineEdit(Rct_Painel);
    Spn_Venda_Qtd = new QSpinBox(Rct_Painel);
    Spn_Venda_Qtd->setRange(0, 999999);
    Spn_Venda_Qtd->setKeyboardTracking(false);
    Edt_Prod_Total = new QLineEdit(Rct_Painel);
    Edt_Prod_Total->setReadOnly(true);
    campo(QStringLiteral("Valor Unit na Data:"), Edt_Prod_Unitario,
          QStringLiteral("Edt_Prod_Unitario"), 0, 1);
    campo(QStringLiteral("Qtantidade:"), Spn_Venda_Qtd, QStringLiteral("Spn_Venda_Qtd"), 1, 1);
    campo(QStringLiteral("Total:"), Edt_Prod_Total, QStringLiteral("Edt_Prod_Total"), 2, 1);
    for (QLineEdit* e : {Edt_Prod_Unitario, Edt_Prod_Total})
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Spn_Venda_Qtd->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edt_Prod_Total->setStyleSheet(estilo +
                                  QStringLiteral("font-weight: bold; background: #ECEFF1;"));
    for (int c = 0; c < 3; ++c)
        grade->setColumnStretch(c, 1);
    Corpo()->addLayout(grade);

    Lab_Prod_Aviso =
        new QLabel(QString::fromUtf8("A descrição retornou mais de um produto"), Rct_Painel);
    Lab_Prod_Aviso->setObjectName(QStringLiteral("Lab_Prod_Aviso"));
    Lab_Prod_Aviso->setStyleSheet(QStringLiteral("color: #E65100; font-size: 13pt;"));
    Lab_Prod_Aviso->hide();
    Corpo()->addWidget(Lab_Prod_Aviso);
    Corpo()->addStretch(1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("CANCELAR"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtGerar = botao(QString::fromUtf8("GERAR CRÉDITO"), QStringLiteral("#2E8B57"),
                        QStringLiteral("Rct_BtGerar"));
    for (QPushButton* b : {Rct_BtCancel, Rct_BtGerar})
        b->setMinimumSize(220, 52);
    botoes->addWidget(Rct_BtCancel);
    botoes->addStretch(1);
    botoes->addWidget(Rct_BtGerar);
    Corpo()->addLayout(botoes);

    const QList<QWidget*> ordem{Edt_Client_CPF,    Cbx_Client_Nome, Cbx_Motivo,
                                Edt_Venda_Cod,     Edt_Prod_CBarra, Cbx_Prod_Nome,
                                Edt_Prod_Unitario, Spn_Venda_Qtd,   Edt_Prod_Total};
    for (qsizetype i = 0; i < ordem.size(); ++i) {
        ordem[i]->installEventFilter(this);
        if (i > 0) setTabOrder(ordem[i - 1], ordem[i]);
    }
    connect(Edt_Prod_Unitario, &QLineEdit::editingFinished, this, &TDevolucao::Produto_Calc);
    connect(Spn_Venda_Qtd, &QSpinBox::valueChanged, this, &TDevolucao::Produto_Calc);
    connect(Rct_BtGerar, &QPushButton::clicked, this, &TDevolucao::Rct_BtGerarClick);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TDevolucao::Mascara() const {
    return m_principal.Config.conf_Mask_Decimal;
}

void TDevolucao::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    // The sale screen's product names, for the operator to pick from.
    const QComboBox* busca = m_principal.Vendas().Edt_Prod_Busca;
    const QString texto = Cbx_Prod_Nome->currentText();
    Cbx_Prod_Nome->clear();
    for (int i = 0; i < busca->count(); ++i)
        Cbx_Prod_Nome->addItem(busca->itemText(i));
    Cbx_Prod_Nome->setEditText(texto);
    Edt_Client_CPF->setFocus();
}

void TDevolucao::Produto_Busca(const QString& texto) {
    if (m_principal.Venda.Venda_ID <= 0) m_principal.Vendas().Venda_Nova();
    const QList<TProduto> achados =
        Devolucao_Pesquisar(m_principal.DModule().FDConnection1, texto.trimmed());
    Lab_Prod_Aviso->hide();
    if (achados.isEmpty()) {
        Cbx_Prod_Nome->setEditText(QString());
        Edt_Prod_CBarra->clear();
        Edt_Prod_Unitario->clear();
        Produto = TDevolucaoProduto{};
        const QSignalBlocker bloqueio(Spn_Venda_Qtd);
        Spn_Venda_Qtd->setValue(0);
        return;
    }
    if (achados.size() >= 2 && Produto.Prod_ID == 0) {
        // Several products: the operator chooses in the product list.
        Lab_Prod_Aviso->show();
        Cbx_Prod_Nome->setEditText(QString());
        TProdutos_Lista& lista = m_principal.Produtos_Lista();
        lista.Definir_Busca(texto);
        lista.exec();
        if (!lista.C_Barra.isEmpty()) {
            Edt_Prod_CBarra->setText(lista.C_Barra);
            Produto_Busca(lista.C_Barra);
            Lab_Prod_Aviso->show(); // the note stays with the product chosen
        }
        return;
    }
    const TProduto& achado = achados.first();
    Devolucao_Carregar(Produto, achado);
    Cbx_Prod_Nome->setEditText(achado.produto);
    Edt_Prod_CBarra->setText(achado.cbarra);
    Edt_Prod_Unitario->setText(FormatFloat(Mascara(), Produto.Prod_Venda));
    {
        const QSignalBlocker bloqueio(Spn_Venda_Qtd);
        Spn_Venda_Qtd->setValue(Produto.Prod_Quant);
    }
    Edt_Prod_Unitario->setFocus();
    Produto_Calc();
}

void TDevolucao::Produto_Calc() {
    if (m_calculando) return;
    m_calculando = true;
    // The product's price and the loaded quantity stand: what was typed over them goes.
    Devolucao_Calc(Produto);
    Edt_Prod_Unitario->setText(FormatFloat(Mascara(), Produto.Prod_Venda));
    Spn_Venda_Qtd->setValue(Produto.Prod_Quant);
    Edt_Prod_Total->setText(FormatFloat(Mascara(), Produto.Prod_Total));
    m_calculando = false;
}

void TDevolucao::Rct_BtGerarClick() {
    MessageBox::ShowMessage(QStringLiteral("ok"));
}

bool TDevolucao::Caixa_Entrada(QObject* w) const {
    return w == Edt_Client_CPF || w == Cbx_Client_Nome || w == Edt_Venda_Cod ||
           w == Edt_Prod_CBarra || w == Cbx_Prod_Nome || w == Edt_Prod_Unitario ||
           w == Spn_Venda_Qtd || w == Edt_Prod_Total;
}

bool TDevolucao::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == Spn_Venda_Qtd) Produto_Calc();
        break;
    case QEvent::FocusOut:
        // After the focus has moved on, so that the lookup may move it again.
        if ((watched == Edt_Prod_CBarra || watched == Cbx_Prod_Nome) && saidaDoOperador(event)) {
            const QString texto =
                watched == Edt_Prod_CBarra ? Edt_Prod_CBarra->text() : Cbx_Prod_Nome->currentText();
            QTimer::singleShot(0, this, [this, texto] { Produto_Busca(texto); });
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (!eEnter(key) && key != Qt::Key_Escape) break;
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo && combo->view()->isVisible()) break; // the drop-down list's own keys
        // Enter and Esc act on their release, and only when their press came here.
        if (!m_soltura.Soltou(event)) return true;
        if (key == Qt::Key_Escape) {
            reject();
        } else if (Caixa_Entrada(watched)) {
            focusNextChild();
            if (watched == Edt_Venda_Cod) Rct_BtGerarClick();
        } else {
            Rct_BtGerarClick();
        }
        return true;
    }
    default:
        break;
    }
    return PainelModal::eventFilter(watched, event);
}

void Devolucao_Abre(TPrincipal& principal) {
    TDevolucao janela(principal, &principal);
    janela.exec();
    // Without a window manager nobody else gives the keys back to the main window.
    principal.activateWindow();
    principal.Vendas().Focar_Busca();
}
