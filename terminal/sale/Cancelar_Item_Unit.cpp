#include "Cancelar_Item_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Cancelamento_Core.h"
#include "sale/Cupom_Lista.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

bool eEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

enum Tipo { Ultimo_Item, Por_Numero, Codigo_Barra };

} // namespace

TCancelar_Item::TCancelar_Item(TPrincipal& principal, QWidget* parent)
    : PainelModal(QStringLiteral("Cancelar_Item"), QStringLiteral("Cancelamento de Item"),
                  QSize(760, 500), parent),
      m_principal(principal) {
    auto legenda = [this](const QString& t) {
        auto* l = new QLabel(t, Rct_Painel);
        l->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: bold;"));
        return l;
    };
    const QString caixa = QStringLiteral("font-size: 18pt; padding: 4px;");
    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(16);
    grade->setVerticalSpacing(12);
    Cbx_TipoCancel = new QComboBox(Rct_Painel);
    Cbx_TipoCancel->setObjectName(QStringLiteral("Cbx_TipoCancel"));
    Cbx_TipoCancel->addItems({QStringLiteral("01 - Ultimo Item"), QStringLiteral("02 - Por Numero"),
                              QString::fromUtf8("03 - Código de Barra")});
    Cbx_TipoCancel->setStyleSheet(caixa);
    Spn_ItemID = new QSpinBox(Rct_Painel);
    Spn_ItemID->setObjectName(QStringLiteral("Spn_ItemID"));
    Spn_ItemID->setMinimum(1);
    Spn_ItemID->setStyleSheet(caixa);
    Edt_CBarra = new QLineEdit(Rct_Painel);
    Edt_CBarra->setObjectName(QStringLiteral("Edt_CBarra"));
    Edt_CBarra->setStyleSheet(caixa);
    grade->addWidget(legenda(QStringLiteral("Cancelamento: ")), 0, 0);
    grade->addWidget(Cbx_TipoCancel, 0, 1);
    grade->addWidget(legenda(QString::fromUtf8("N° do Item:")), 1, 0);
    grade->addWidget(Spn_ItemID, 1, 1);
    grade->addWidget(legenda(QString::fromUtf8("Cód. Barra:")), 2, 0);
    grade->addWidget(Edt_CBarra, 2, 1);
    grade->setColumnStretch(1, 1);
    Corpo()->addLayout(grade);

    // The item found, as the sale screen's list shows it.
    auto* item = new QWidget(Rct_Painel);
    item->setObjectName(QStringLiteral("Rct_Item"));
    item->setAttribute(Qt::WA_StyledBackground);
    item->setStyleSheet(QStringLiteral("#Rct_Item { background: #ECEFF1; border-radius: 6px; }"));
    auto* linhas = new QVBoxLayout(item);
    Lab_Prod_Nome = new QLabel(item);
    Lab_Prod_Nome->setObjectName(QStringLiteral("Lab_Prod_Nome"));
    Lab_Prod_Nome->setStyleSheet(QStringLiteral("font-size: 17pt; font-weight: bold;"));
    Lab_Prod_Line2 = new QLabel(item);
    Lab_Prod_Line2->setObjectName(QStringLiteral("Lab_Prod_Line2"));
    Lab_Prod_Line2->setStyleSheet(QStringLiteral("font-family: 'Courier New'; font-size: 15pt;"));
    Lab_Prod_Line3 = new QLabel(item);
    Lab_Prod_Line3->setObjectName(QStringLiteral("Lab_Prod_Line3"));
    Lab_Prod_Line3->setStyleSheet(
        QStringLiteral("font-size: 20pt; font-weight: bold; color: #C62828;"));
    Lab_Prod_Line3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* l : {Lab_Prod_Nome, Lab_Prod_Line2, Lab_Prod_Line3})
        linhas->addWidget(l);
    Corpo()->addWidget(item);
    Corpo()->addStretch(1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("Cancelar"), QStringLiteral("#607D8B"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtVender = botao(QStringLiteral("Excluir Item"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtVender"));
    for (QPushButton* b : {Rct_BtCancel, Rct_BtVender})
        b->setMinimumSize(200, 52);
    botoes->addWidget(Rct_BtCancel);
    botoes->addStretch(1);
    botoes->addWidget(Rct_BtVender);
    Corpo()->addLayout(botoes);

    for (QWidget* w : std::initializer_list<QWidget*>{Cbx_TipoCancel, Spn_ItemID, Edt_CBarra})
        w->installEventFilter(this);
    connect(Cbx_TipoCancel, &QComboBox::currentIndexChanged, this,
            &TCancelar_Item::Cbx_TipoCancelChange);
    connect(Spn_ItemID, &QSpinBox::valueChanged, this, &TCancelar_Item::Carregar_Numero);
    connect(Rct_BtVender, &QPushButton::clicked, this, &TCancelar_Item::Rct_BtVenderClick);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TCancelar_Item::Linhas() const {
    return m_principal.Vendas().Lbx_Cupom->model()->rowCount();
}

void TCancelar_Item::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    if (!Edt_CBarra->text().trimmed().isEmpty()) {
        Buscar_CBarra();
    } else {
        Spn_ItemID->setRange(1, std::max(1, Linhas()));
        Carregar_Numero();
    }
    Cbx_TipoCancel->setFocus();
}

void TCancelar_Item::Cbx_TipoCancelChange() {
    Spn_ItemID->setRange(1, std::max(1, Linhas()));
    switch (Cbx_TipoCancel->currentIndex()) {
    case Ultimo_Item:
        Spn_ItemID->setEnabled(false);
        Edt_CBarra->setEnabled(false);
        Spn_ItemID->setValue(Linhas());
        // Loaded even when the number already was the last one: a barcode may have
        // shown another item since.
        Carregar_Numero();
        break;
    case Por_Numero:
        Spn_ItemID->setEnabled(true);
        Edt_CBarra->setEnabled(false);
        break;
    default:
        Edt_CBarra->setEnabled(true);
        Spn_ItemID->setEnabled(false);
        break;
    }
}

void TCancelar_Item::Mostrar(const TItemCancelamento& item) {
    Lab_Prod_Nome->setText(item.Linha1());
    Lab_Prod_Line2->setText(item.Linha2());
    Lab_Prod_Line3->setText(item.Linha3());
}

void TCancelar_Item::Carregar_Numero() {
    QListView* lista = m_principal.Vendas().Lbx_Cupom;
    const int linha = Spn_ItemID->value() - 1;
    const bool existe = linha >= 0 && linha < Linhas();
    // A number beyond the list keeps the item shown.
    if (existe) ProdID = lista->model()->index(linha, 0).data(CupomModel::ItemIdRole).toLongLong();
    const auto item = Cancelamento_Item_Carregar(m_principal.DModule().FDConnection1, ProdID);
    if (!item) return;
    Edt_CBarra->setText(item->prod_cbarra);
    Mostrar(*item);
    if (existe) lista->setCurrentIndex(lista->model()->index(linha, 0));
}

void TCancelar_Item::Buscar_CBarra() {
    const auto item =
        Cancelamento_Item_CBarra(m_principal.DModule().FDConnection1, SoNumeros(Edt_CBarra->text()),
                                 m_principal.Venda.Venda_COD);
    // A barcode the sale does not hold changes nothing.
    if (!item) return;
    ProdID = item->id;
    Mostrar(*item);
}

void TCancelar_Item::Rct_BtVenderClick() {
    if (ProdID < 1) {
        Cbx_TipoCancel->setFocus();
        return;
    }
    Cancelamento_Item_Excluir(m_principal.DModule().FDConnection1, ProdID);
    Edt_CBarra->clear();
    accept();
    m_principal.Vendas().Cupom_Busca();
}

bool TCancelar_Item::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edt_CBarra && event->type() == QEvent::MouseButtonPress) {
        Buscar_CBarra();
        return PainelModal::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return PainelModal::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (!eEnter(k->key())) return PainelModal::eventFilter(watched, event);
    if (watched == Edt_CBarra) {
        Buscar_CBarra();
    } else if (watched == Cbx_TipoCancel && Spn_ItemID->isEnabled()) {
        Spn_ItemID->setFocus();
        Spn_ItemID->selectAll();
    } else if (ProdID >= 1) {
        Rct_BtVenderClick();
    }
    return true;
}

void Cancelamento_Item(TPrincipal& principal, const QString& cbarra) {
    if (principal.Venda.Venda_ID <= 0) {
        MessageBox::ShowMessage(QString::fromUtf8("Não existe uma venda em aberto!"));
        return;
    }
    if (principal.Vendas().Lbx_Cupom->model()->rowCount() == 0) {
        MessageBox::ShowMessage(QString::fromUtf8("Não existem itens para serem cancelados!"));
        return;
    }
    TCancelar_Item janela(principal, &principal);
    janela.Cbx_TipoCancel->setCurrentIndex(2); // "03 - Código de Barra"
    janela.Edt_CBarra->setText(SoNumeros(cbarra));
    janela.exec();
    // Without a window manager nobody else gives the keys back to the main window.
    principal.activateWindow();
    principal.Vendas().Focar_Busca();
}
