#include "Funcionarios_Lista_Unit.h"

#include "widgets/Desenhos.h"

#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "sale/Listas_Core.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

enum Papel { Papel_ID = Qt::UserRole };

// A row of 40: the icon, then the name, the whole row marked when selected.
class TFuncionarios_Delegate : public QStyledItemDelegate {
public:
    explicit TFuncionarios_Delegate(QObject* pai) : QStyledItemDelegate(pai) {
        m_fonte.setPointSize(15);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(0, 40);
    }
    void paint(QPainter* p, const QStyleOptionViewItem& opcao,
               const QModelIndex& indice) const override {
        const QRect r = opcao.rect;
        p->save();
        if (opcao.state & QStyle::State_Selected) {
            p->fillRect(r, QColor(0xD4, 0xEC, 0xF7));
            p->fillRect(QRect(r.left(), r.top(), 5, r.height()), QColor(0x45, 0xA3, 0xCE));
        } else {
            p->fillRect(r, Qt::white);
        }
        p->setPen(QColor(0xE0, 0xE4, 0xE6));
        p->drawLine(r.bottomLeft(), r.bottomRight());
        indice.data(Qt::DecorationRole)
            .value<QIcon>()
            .paint(p, QRect(r.left() + 14, r.top() + 6, 28, 28));
        p->setFont(m_fonte);
        p->setPen(Qt::black);
        p->drawText(r.adjusted(56, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    indice.data(Qt::DisplayRole).toString());
        p->restore();
    }

private:
    QFont m_fonte;
};

} // namespace

TFuncionarios_Lista::TFuncionarios_Lista(db::Connection& conexao, QWidget* parent)
    : PainelModal(QStringLiteral("Funcionarios_Lista"), QStringLiteral("Lista de Entregadores"),
                  QSize(680, 640), parent),
      m_conexao(conexao) {
    Lab_Info = new QLabel(QStringLiteral("Indentifique o entregador para esta venda"), Rct_Painel);
    Lab_Info->setObjectName(QStringLiteral("Lab_Info"));
    Lab_Info->setStyleSheet(QStringLiteral("color: #455A64; font-size: 14pt;"));
    Corpo()->addWidget(Lab_Info);

    m_modelo = new QStandardItemModel(this);
    Lbx_Funcionarios = new QListView(Rct_Painel);
    Lbx_Funcionarios->setObjectName(QStringLiteral("Lbx_Funcionarios"));
    Lbx_Funcionarios->setModel(m_modelo);
    Lbx_Funcionarios->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lbx_Funcionarios->setSelectionMode(QAbstractItemView::SingleSelection);
    Lbx_Funcionarios->setUniformItemSizes(true);
    Lbx_Funcionarios->setStyleSheet(QStringLiteral("QListView { border: 1px solid #CFD8DC; }"));
    Lbx_Funcionarios->setItemDelegate(new TFuncionarios_Delegate(Lbx_Funcionarios));
    Lbx_Funcionarios->viewport()->installEventFilter(this);
    Corpo()->addWidget(Lbx_Funcionarios, 1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("CANCELAR"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtCancel"));
    botoes->addWidget(Rct_BtCancel);
    botoes->addStretch(1);
    Rct_BtSelecionar = botao(QStringLiteral("SELECIONAR"), QStringLiteral("#2E9E4F"),
                             QStringLiteral("Rct_BtSelecionar"));
    botoes->addWidget(Rct_BtSelecionar);
    for (QPushButton* b : {Rct_BtCancel, Rct_BtSelecionar}) {
        b->setMinimumSize(180, 52);
        QFont fonte = b->font();
        fonte.setPointSize(15);
        b->setFont(fonte);
    }
    Corpo()->addLayout(botoes);

    connect(Rct_BtSelecionar, &QPushButton::clicked, this,
            &TFuncionarios_Lista::BtSelecionar_Click);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &TFuncionarios_Lista::reject);
}

TFuncionarios_Lista::TFuncionarios_Lista(TDModule& DModule, QWidget* parent)
    : TFuncionarios_Lista(DModule.FDConnection1, parent) {}

void TFuncionarios_Lista::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    Funcionario_ID = 0;
    Carregar();
    Lbx_Funcionarios->setFocus();
}

void TFuncionarios_Lista::Carregar() {
    m_modelo->clear();
    const QIcon icone = Icone_Pessoa(QColor(0x45, 0xA3, 0xCE));
    for (const TFuncionario& f : Funcionarios_Lista(m_conexao)) {
        auto* item = new QStandardItem(icone, f.nome.toUpper());
        item->setData(f.id, Papel_ID);
        m_modelo->appendRow(item);
    }
    if (m_modelo->rowCount() > 0) Lbx_Funcionarios->setCurrentIndex(m_modelo->index(0, 0));
}

void TFuncionarios_Lista::BtSelecionar_Click() {
    const QModelIndexList sel = Lbx_Funcionarios->selectionModel()->selectedIndexes();
    if (sel.isEmpty()) {
        MessageBox::ShowMessage(QStringLiteral("Selecione um item na lista!"));
        return;
    }
    Funcionario_ID = sel.first().data(Papel_ID).toInt();
    accept();
}

void TFuncionarios_Lista::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) BtSelecionar_Click();
        return;
    }
    PainelModal::keyPressEvent(event); // Esc cancels
}

bool TFuncionarios_Lista::eventFilter(QObject* watched, QEvent* event) {
    // The whole list answers a double click, as the list box did: on a row it picks
    // that row, elsewhere the selected one (or asks for one).
    if (watched == Lbx_Funcionarios->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QModelIndex i =
            Lbx_Funcionarios->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (i.isValid()) Lbx_Funcionarios->setCurrentIndex(i);
        BtSelecionar_Click();
        return true;
    }
    return PainelModal::eventFilter(watched, event);
}
