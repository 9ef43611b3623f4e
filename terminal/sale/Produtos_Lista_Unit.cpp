#include "Produtos_Lista_Unit.h"

#include "widgets/Desenhos.h"
#include "widgets/Lista_Modelo.h"

#include "foundation/DModule_Unit.h"
#include "foundation/Settings.h"
#include "sale/Listas_Core.h"

#include <QAbstractListModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const QColor Azul(0x45, 0xA3, 0xCE);
const QColor Vermelho(0xD5, 0x00, 0x00);

enum Papel { Papel_CBarra = Qt::UserRole, Papel_ID };

// An empty family keeps the application's font.
QFont fonte(const QString& familia, int pontos, bool negrito) {
    QFont f;
    if (!familia.isEmpty()) {
        f.setFamily(familia);
        f.setStyleHint(QFont::Monospace);
    }
    f.setPointSize(pontos);
    f.setBold(negrito);
    return f;
}

} // namespace

// The rows of the search, as the core read them.
class TProdutos_Modelo : public TLista_Modelo<TProduto> {
public:
    using TLista_Modelo::TLista_Modelo;

    QVariant data(const QModelIndex& indice, int papel) const override {
        const TProduto* linha = Da(indice);
        if (!linha) return {};
        const TProduto& p = *linha;
        switch (papel) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return Produtos_Lista_Linha1(p);
        case Papel_CBarra:
            return p.cbarra;
        case Papel_ID:
            return p.id;
        default:
            return {};
        }
    }
};

namespace {

// Paints a row: cart, name, the three code lines, and the price column at the right.
class TProdutos_Delegate : public QStyledItemDelegate {
public:
    TProdutos_Delegate(const TProdutos_Modelo& modelo, const TSettings& config, QObject* pai)
        : QStyledItemDelegate(pai), m_modelo(modelo), m_config(config),
          m_nome(fonte(QString(), 14, true)),
          m_linha(fonte(QStringLiteral("Courier New"), 13, false)),
          m_preco(fonte(QStringLiteral("Courier New"), 16, true)),
          m_desc(fonte(QString(), 12, true)) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        const int altura =
            Margem * 2 + QFontMetrics(m_nome).height() + 3 * QFontMetrics(m_linha).height() + 4;
        return QSize(0, altura); // rows take the view's width
    }

    void paint(QPainter* p, const QStyleOptionViewItem& opcao,
               const QModelIndex& indice) const override {
        const TProduto& prod = m_modelo.Linha(indice.row());
        const QRect r = opcao.rect;
        const bool selecionado = opcao.state & QStyle::State_Selected;
        p->save();
        p->fillRect(r, selecionado ? QColor(0xD4, 0xEC, 0xF7) : QColor(Qt::white));
        if (selecionado) p->fillRect(QRect(r.left(), r.top(), 6, r.height()), Azul);
        p->setPen(QColor(0xE0, 0xE4, 0xE6));
        p->drawLine(r.bottomLeft(), r.bottomRight());

        Desenhar_Carrinho(p, QRectF(r.left() + 16, r.center().y() - 20, 40, 40), Azul);

        const QString preco = Produtos_Lista_Preco(prod);
        const QString desc = Produtos_Lista_Desconto(prod, m_config.conf_DescOpcional);
        const QFontMetrics fmNome(m_nome), fmLinha(m_linha), fmPreco(m_preco), fmDesc(m_desc);
        const int direita = r.right() - 16;
        const int larguraPreco =
            std::max(fmPreco.horizontalAdvance(preco), fmDesc.horizontalAdvance(desc));
        const int x = r.left() + 72;
        const int larguraTexto = std::max(0, direita - larguraPreco - 24 - x);
        int y = r.top() + Margem;

        p->setFont(m_nome);
        p->setPen(Qt::black);
        p->drawText(QRect(x, y, larguraTexto, fmNome.height()), Qt::AlignLeft | Qt::AlignVCenter,
                    fmNome.elidedText(Produtos_Lista_Linha1(prod), Qt::ElideRight, larguraTexto));
        p->setFont(m_preco);
        p->drawText(QRect(direita - larguraPreco, y, larguraPreco, fmNome.height()),
                    Qt::AlignRight | Qt::AlignVCenter, preco);
        y += fmNome.height() + 4;

        if (!desc.isEmpty()) {
            p->setFont(m_desc);
            p->setPen(QColor(0x80, 0x80, 0x80));
            p->drawText(QRect(direita - larguraPreco, y, larguraPreco, fmLinha.height()),
                        Qt::AlignRight | Qt::AlignVCenter, desc);
        }

        p->setFont(m_linha);
        p->setPen(Produtos_Lista_Sem_Estoque(prod) ? Vermelho : QColor(Qt::black));
        for (const QString& linha : {Produtos_Lista_Linha2(prod), Produtos_Lista_Linha3(prod),
                                     Produtos_Lista_Linha4(prod)}) {
            p->drawText(QRect(x, y, larguraTexto, fmLinha.height()),
                        Qt::AlignLeft | Qt::AlignVCenter,
                        fmLinha.elidedText(linha, Qt::ElideRight, larguraTexto));
            y += fmLinha.height();
        }
        p->restore();
    }

private:
    static constexpr int Margem = 8;
    const TProdutos_Modelo& m_modelo;
    const TSettings& m_config;
    QFont m_nome, m_linha, m_preco, m_desc;
};

} // namespace

TProdutos_Lista::TProdutos_Lista(db::Connection& conexao, const TSettings& config, QWidget* parent)
    : PainelModal(QStringLiteral("Produtos_Lista"), QStringLiteral("Produtos encontrados"),
                  QSize(1024, 740), parent),
      m_conexao(conexao), m_config(config) {
    Cobrir_Pai();
    Rct_Painel->setMaximumWidth(960);

    auto* icone = new QLabel;
    QPixmap pm(36, 36);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        Desenhar_Carrinho(&p, QRectF(0, 0, 36, 36), Qt::white);
    }
    icone->setPixmap(pm);
    Titulo()->insertWidget(0, icone);

    auto* busca = new QHBoxLayout;
    busca->setSpacing(8);
    Edt_Prod_Busca = new QLineEdit(Rct_Painel);
    Edt_Prod_Busca->setObjectName(QStringLiteral("Edt_Prod_Busca"));
    Edt_Prod_Busca->setPlaceholderText(QStringLiteral("Código, código de barras, nome ou marca"));
    Edt_Prod_Busca->setMinimumHeight(52);
    Edt_Prod_Busca->setStyleSheet(
        QStringLiteral("QLineEdit { font-size: 18pt; padding: 4px 10px; border: 2px solid #45A3CE;"
                       " border-radius: 6px; }"));
    Edt_Prod_Busca->installEventFilter(this);
    busca->addWidget(Edt_Prod_Busca, 1);
    Btn_Prod_Busca = new QPushButton(Rct_Painel);
    Btn_Prod_Busca->setObjectName(QStringLiteral("Btn_Prod_Busca"));
    Btn_Prod_Busca->setToolTip(QStringLiteral("Buscar"));
    Btn_Prod_Busca->setIcon(Icone_Lupa(Qt::white));
    Btn_Prod_Busca->setIconSize(QSize(30, 30));
    Btn_Prod_Busca->setFixedSize(56, 52);
    Btn_Prod_Busca->setAutoDefault(false);
    Btn_Prod_Busca->setFocusPolicy(Qt::NoFocus);
    Btn_Prod_Busca->setStyleSheet(
        QStringLiteral("QPushButton { background: #45A3CE; border: none; border-radius: 6px; }"
                       "QPushButton:pressed { background: #3889AE; }"));
    busca->addWidget(Btn_Prod_Busca);
    Corpo()->addLayout(busca);

    Lab_Aviso = new QLabel(QStringLiteral("A descrição retornou mais de um produto"), Rct_Painel);
    Lab_Aviso->setObjectName(QStringLiteral("Lab_Aviso"));
    Lab_Aviso->setStyleSheet(QStringLiteral("color: #455A64; font-size: 13pt;"));
    Corpo()->addWidget(Lab_Aviso);

    m_modelo = new TProdutos_Modelo(this);
    Lbx_Cupom = new QListView(Rct_Painel);
    Lbx_Cupom->setObjectName(QStringLiteral("Lbx_Cupom"));
    Lbx_Cupom->setModel(m_modelo);
    Lbx_Cupom->setItemDelegate(new TProdutos_Delegate(*m_modelo, m_config, Lbx_Cupom));
    Lbx_Cupom->setSelectionMode(QAbstractItemView::SingleSelection);
    Lbx_Cupom->setUniformItemSizes(true);
    Lbx_Cupom->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    Lbx_Cupom->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Lbx_Cupom->setStyleSheet(QStringLiteral("QListView { border: 1px solid #CFD8DC; }"));
    Lbx_Cupom->installEventFilter(this);
    Corpo()->addWidget(Lbx_Cupom, 1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("CANCELAR"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtCancel->setMinimumSize(200, 54);
    botoes->addWidget(Rct_BtCancel);
    auto* teclas =
        new QLabel(QStringLiteral("↑ ↓  escolher    Enter  vender    Esc  cancelar"), Rct_Painel);
    teclas->setAlignment(Qt::AlignCenter);
    teclas->setStyleSheet(QStringLiteral("color: #607D8B; font-size: 12pt;"));
    botoes->addWidget(teclas, 1);
    Rct_BtVender =
        botao(QStringLiteral("VENDER"), QStringLiteral("#2E9E4F"), QStringLiteral("Rct_BtVender"));
    Rct_BtVender->setMinimumSize(200, 54);
    botoes->addWidget(Rct_BtVender);
    Corpo()->addLayout(botoes);

    setTabOrder(Edt_Prod_Busca, Lbx_Cupom);

    connect(Btn_Prod_Busca, &QPushButton::clicked, this, [this] {
        Prod_Busca();
        Edt_Prod_Busca->setFocus();
    });
    connect(Rct_BtVender, &QPushButton::clicked, this, &TProdutos_Lista::BtVender_Click);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &TProdutos_Lista::reject);
    connect(Lbx_Cupom, &QListView::clicked, this,
            [this](const QModelIndex& i) { Selecionar_Linha(i.row()); });
    connect(Lbx_Cupom, &QListView::doubleClicked, this, [this](const QModelIndex& i) {
        Selecionar_Linha(i.row());
        BtVender_Click();
    });
}

TProdutos_Lista::TProdutos_Lista(TDModule& DModule, const TSettings& config, QWidget* parent)
    : TProdutos_Lista(DModule.FDConnection1, config, parent) {}

TProdutos_Lista::~TProdutos_Lista() = default;

void TProdutos_Lista::Definir_Busca(const QString& texto) {
    m_busca_inicial = texto;
}

void TProdutos_Lista::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);

    // The window lives for the whole run; each opening starts as a fresh one would.
    C_Barra.clear();
    Temp_Busca.clear();
    Edt_Prod_Busca->setText(m_busca_inicial);
    m_busca_inicial.clear();

    Edt_Prod_Busca->setFocus();
    Prod_Busca();
    Edt_Prod_Busca->end(false);
}

void TProdutos_Lista::Prod_Busca() {
    m_modelo->Definir({});
    m_modelo->Definir(
        Produtos_Lista_Pesquisar(m_conexao, Edt_Prod_Busca->text(), m_config.conf_Buscar_OrderBy));
    if (m_modelo->rowCount() > 0) Lbx_Cupom->setCurrentIndex(m_modelo->index(0));
}

int TProdutos_Lista::Linha_Selecionada() const {
    const QModelIndexList sel = Lbx_Cupom->selectionModel()->selectedIndexes();
    return sel.isEmpty() ? -1 : sel.first().row();
}

void TProdutos_Lista::Selecionar_Linha(int linha) {
    if (linha < 0 || linha >= m_modelo->rowCount()) return;
    const QModelIndex i = m_modelo->index(linha);
    Lbx_Cupom->setCurrentIndex(i);
    Lbx_Cupom->scrollTo(i);
    Edt_Prod_Busca->setText(i.data(Papel_CBarra).toString());
}

void TProdutos_Lista::Mover_Selecao(int passo) {
    const int n = m_modelo->rowCount();
    if (n == 0) return;
    const int atual = Linha_Selecionada();
    Selecionar_Linha(atual < 0 ? 0 : std::clamp(atual + passo, 0, n - 1));
}

void TProdutos_Lista::BtVender_Click() {
    if (m_modelo->rowCount() == 1) Lbx_Cupom->setCurrentIndex(m_modelo->index(0));
    // A list whose row was deselected (Ctrl+click) has nothing to hand back: only note.
    if (Edt_Prod_Busca->text() == Temp_Busca && Linha_Selecionada() >= 0)
        Escolher();
    else
        Temp_Busca = Edt_Prod_Busca->text();
}

void TProdutos_Lista::Escolher() {
    const int linha = Linha_Selecionada();
    if (linha < 0) return;
    C_Barra = m_modelo->Linha(linha).cbarra;
    accept();
}

void TProdutos_Lista::reject() {
    C_Barra.clear();
    PainelModal::reject();
}

bool TProdutos_Lista::eventFilter(QObject* watched, QEvent* event) {
    const bool tecla = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!tecla) return PainelModal::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    const bool desce = event->type() == QEvent::KeyPress;

    if (watched == Edt_Prod_Busca) {
        if (enter) {
            // Down chooses (or notes the text), up searches: typing and Enter twice
            // searches, then chooses. A held key repeats neither.
            if (!k->isAutoRepeat()) {
                if (desce)
                    BtVender_Click();
                else if (isVisible())
                    Prod_Busca();
            }
            return true;
        }
        if (desce && (k->key() == Qt::Key_Down || k->key() == Qt::Key_Up)) {
            Mover_Selecao(k->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
    } else if (watched == Lbx_Cupom && enter) {
        if (desce && !k->isAutoRepeat()) Escolher();
        return true;
    }
    return PainelModal::eventFilter(watched, event);
}
