#include "Vendas_Tab_Unit.h"

#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Cupom_Lista.h"
#include "sale/Principal_Unit.h"
#include "widgets/Switch.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QLabel* rotulo(const QString& name, const QString& estilo, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setStyleSheet(estilo);
    return l;
}

// A figure of the entry: a small caption over a large value.
QWidget* cartao(const QString& legenda, QLabel* valor, QWidget* parent) {
    auto* w = new QFrame(parent);
    w->setObjectName(QStringLiteral("Crt_") + valor->objectName());
    w->setStyleSheet(
        QStringLiteral("#%1 { background: white; border-radius: 8px; }").arg(w->objectName()));
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(14, 8, 14, 8);
    auto* l = new QLabel(legenda, w);
    l->setStyleSheet(QStringLiteral("color: #607D8B; font-size: 14px;"));
    v->addWidget(l);
    valor->setParent(w);
    valor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    v->addWidget(valor);
    return w;
}

const char* ESTILO_CAIXA = "QLineEdit { font-size: 24px; padding: 6px; border: 2px solid white;"
                           " border-radius: 6px; background: %1; }";
const char* COR_BUSCA = "#FFFFFF";

} // namespace

TVendas_Tab::TVendas_Tab(TPrincipal& principal, QWidget* tab)
    : QWidget(tab), m_principal(principal) {
    setObjectName(QStringLiteral("Lyt_Vendas"));
    auto* tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->addWidget(this);
    tab->setAttribute(Qt::WA_StyledBackground);
    tab->setStyleSheet(QStringLiteral("#Tab_Vendas { background: #E8EEF1; }"));

    auto* raiz = new QVBoxLayout(this);
    // The item list stands 60 from the right edge and 40 from the top.
    raiz->setContentsMargins(24, 40, 60, 12);
    raiz->setSpacing(14);
    auto* corpo = new QHBoxLayout();
    corpo->setSpacing(24);
    raiz->addLayout(corpo, 1);

    Criar_Entrada();
    Criar_Cupom();
    auto* esquerda = findChild<QWidget*>(QStringLiteral("Lyt_Produto"));
    corpo->addWidget(esquerda, 5);
    corpo->addWidget(Lyt_Cupom, 6);
    Criar_Barra_Busca();
    raiz->addWidget(findChild<QWidget*>(QStringLiteral("Rct_Prod_Busca")));
    Criar_Opcoes();

    m_cupom = new CupomModel(this);
    Lbx_Cupom->setModel(m_cupom);
    Lbx_Cupom->setItemDelegate(new CupomDelegate(Lbx_Cupom));
    connect(Lbx_Cupom, &QListView::clicked, this,
            [this](const QModelIndex& i) { Selecionar_Linha(i); });
    connect(Lbx_Cupom, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { Menu_Linha(pos); });
    connect(Btn_Prod_Delete, &QPushButton::clicked, this, [this] { Btn_Prod_DeleteClick(); });
    Btn_Prod_Delete->hide();
}

TSettings& TVendas_Tab::Config() {
    return m_principal.Config;
}
TVenda& TVendas_Tab::V() {
    return m_principal.Venda;
}
TProdutoEntrada& TVendas_Tab::P() {
    return m_principal.Produto;
}
QString TVendas_Tab::Mascara() {
    return m_principal.Config.conf_Mask_Decimal;
}

void TVendas_Tab::Criar_Entrada() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("Lyt_Produto"));
    auto* v = new QVBoxLayout(painel);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(12);

    auto* topo = new QHBoxLayout();
    topo->setSpacing(18);
    Circ_ProdIMG = rotulo(QStringLiteral("Circ_ProdIMG"),
                          QStringLiteral("background: white; border-radius: 100px;"), painel);
    Circ_ProdIMG->setFixedSize(200, 200);
    Circ_ProdIMG->setAlignment(Qt::AlignCenter);
    Circ_ProdIMG->setCursor(Qt::PointingHandCursor);
    Circ_ProdIMG->installEventFilter(this);
    topo->addWidget(Circ_ProdIMG, 0, Qt::AlignTop);
    auto* nomes = new QVBoxLayout();
    Lab_Prod_Nome =
        rotulo(QStringLiteral("Lab_Prod_Nome"),
               QStringLiteral("font-size: 30px; font-weight: bold; color: #263238;"), painel);
    Lab_Prod_Nome->setWordWrap(true);
    Lab_Prod_CBarra = rotulo(QStringLiteral("Lab_Prod_CBarra"),
                             QStringLiteral("font-size: 20px; color: #455A64;"), painel);
    Lab_Prod_Medida = rotulo(QStringLiteral("Lab_Prod_Medida"),
                             QStringLiteral("font-size: 20px; color: #455A64;"), painel);
    Lyt_Promo = new QFrame(painel);
    Lyt_Promo->setObjectName(QStringLiteral("Lyt_Promo"));
    Lyt_Promo->setStyleSheet(
        QStringLiteral("#Lyt_Promo { background: #FFA500; border-radius: 6px; }"));
    auto* promo = new QHBoxLayout(Lyt_Promo);
    Lab_Prod_Promo =
        rotulo(QStringLiteral("Lab_Prod_Promo"),
               QStringLiteral("font-size: 18px; font-weight: bold; color: white;"), Lyt_Promo);
    promo->addWidget(Lab_Prod_Promo);
    Lyt_Promo->hide();
    nomes->addWidget(Lab_Prod_Nome);
    nomes->addWidget(Lab_Prod_CBarra);
    nomes->addWidget(Lab_Prod_Medida);
    nomes->addWidget(Lyt_Promo);
    nomes->addStretch();
    topo->addLayout(nomes, 1);
    v->addLayout(topo);

    const QString figura = QStringLiteral("font-size: 28px; font-weight: bold; color: #263238;");
    Lab_Prod_Unitario = rotulo(QStringLiteral("Lab_Prod_Unitario"), figura, painel);
    Lab_Prod_Quant = rotulo(QStringLiteral("Lab_Prod_Quant"), figura, painel);
    Lab_Prod_Desc = rotulo(QStringLiteral("Lab_Prod_Desc"), figura, painel);
    Lab_Prod_Total =
        rotulo(QStringLiteral("Lab_Prod_Total"),
               QStringLiteral("font-size: 40px; font-weight: bold; color: #1B5E20;"), painel);
    auto* grade = new QGridLayout();
    grade->setSpacing(12);
    grade->addWidget(cartao(QString::fromUtf8("Valor Unitário"), Lab_Prod_Unitario, painel), 0, 0);
    grade->addWidget(cartao(QStringLiteral("Quantidade"), Lab_Prod_Quant, painel), 0, 1);
    grade->addWidget(cartao(QStringLiteral("Desconto"), Lab_Prod_Desc, painel), 1, 0);
    grade->addWidget(cartao(QStringLiteral("Total do Item"), Lab_Prod_Total, painel), 1, 1);
    v->addLayout(grade);
    v->addStretch(1);
}

void TVendas_Tab::Criar_Cupom() {
    Lyt_Cupom = new QFrame(this);
    Lyt_Cupom->setObjectName(QStringLiteral("Lyt_Cupom"));
    Lyt_Cupom->setStyleSheet(
        QStringLiteral("#Lyt_Cupom { background: white; border-radius: 10px; }"));
    auto* v = new QVBoxLayout(Lyt_Cupom);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto* cab = new QFrame(Lyt_Cupom);
    cab->setObjectName(QStringLiteral("Rct_Cupom_Title"));
    cab->setStyleSheet(QStringLiteral("#Rct_Cupom_Title { background: #45A3CE; "
                                      "border-top-left-radius: 10px; "
                                      "border-top-right-radius: 10px; } QLabel { color: white; }"));
    auto* h = new QHBoxLayout(cab);
    h->setContentsMargins(16, 8, 16, 8);
    Lab_Cupom_Title = rotulo(QStringLiteral("Lab_Cupom_Title"),
                             QStringLiteral("font-size: 22px; font-weight: bold;"), cab);
    Lab_Cupom_Title->setText(QStringLiteral("Caixa Livre"));
    Lab_Cupom_VendNum =
        rotulo(QStringLiteral("Lab_Cupom_VendNum"), QStringLiteral("font-size: 14px;"), cab);
    h->addWidget(Lab_Cupom_Title);
    h->addStretch();
    h->addWidget(Lab_Cupom_VendNum);
    v->addWidget(cab);

    Lbx_Cupom = new QListView(Lyt_Cupom);
    Lbx_Cupom->setObjectName(QStringLiteral("Lbx_Cupom"));
    Lbx_Cupom->setUniformItemSizes(true);
    Lbx_Cupom->setFrameShape(QFrame::NoFrame);
    Lbx_Cupom->setSelectionMode(QAbstractItemView::SingleSelection);
    Lbx_Cupom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lbx_Cupom->setFocusPolicy(Qt::NoFocus);
    Lbx_Cupom->setContextMenuPolicy(Qt::CustomContextMenu);
    Lbx_Cupom->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->addWidget(Lbx_Cupom, 1);

    Mem_Update = new QPlainTextEdit(Lyt_Cupom);
    Mem_Update->setObjectName(QStringLiteral("Mem_Update"));
    Mem_Update->setReadOnly(true);
    Mem_Update->setFocusPolicy(Qt::NoFocus);
    Mem_Update->setFrameShape(QFrame::NoFrame);
    Mem_Update->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { font-family: 'Courier New'; font-size: 16px; padding: 12px; }"));
    Mem_Update->hide();
    v->addWidget(Mem_Update, 1);

    Btn_Prod_Delete = new QPushButton(QStringLiteral("Excluir"), Lbx_Cupom->viewport());
    Btn_Prod_Delete->setObjectName(QStringLiteral("Btn_Prod_Delete"));
    Btn_Prod_Delete->setFocusPolicy(Qt::NoFocus);
    Btn_Prod_Delete->setCursor(Qt::PointingHandCursor);
    Btn_Prod_Delete->setStyleSheet(QStringLiteral(
        "QPushButton { background: #E53935; color: white; font-weight: bold; border-radius: 4px;"
        " padding: 4px 10px; }"));

    auto* rodape = new QFrame(Lyt_Cupom);
    rodape->setObjectName(QStringLiteral("Rct_Cupom_Total"));
    rodape->setStyleSheet(QStringLiteral("#Rct_Cupom_Total { background: #263238; "
                                         "border-bottom-left-radius: 10px; "
                                         "border-bottom-right-radius: 10px; }"
                                         "QLabel { color: white; }"));
    auto* f = new QHBoxLayout(rodape);
    f->setContentsMargins(16, 6, 16, 6);
    auto* legenda = new QLabel(QStringLiteral("TOTAL R$"), rodape);
    legenda->setStyleSheet(QStringLiteral("font-size: 22px; font-weight: bold;"));
    Lab_Cupom_Desc = rotulo(QStringLiteral("Lab_Cupom_Desc"),
                            QStringLiteral("font-size: 16px; color: #FFCC80;"), rodape);
    Lab_Cupom_Total = rotulo(QStringLiteral("Lab_Cupom_Total"),
                             QStringLiteral("font-size: 52px; font-weight: bold;"), rodape);
    Lab_Cupom_Total->setText(QStringLiteral("0,00"));
    Lab_Cupom_Total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f->addWidget(legenda);
    f->addWidget(Lab_Cupom_Desc);
    f->addStretch();
    f->addWidget(Lab_Cupom_Total);
    v->addWidget(rodape);
}

void TVendas_Tab::Criar_Barra_Busca() {
    auto* barra = new QFrame(this);
    barra->setObjectName(QStringLiteral("Rct_Prod_Busca"));
    barra->setStyleSheet(
        QStringLiteral("#Rct_Prod_Busca { background: #263238; border-radius: 10px; }"
                       "QLabel { color: white; font-size: 14px; }"));
    auto* h = new QHBoxLayout(barra);
    h->setContentsMargins(12, 10, 12, 10);
    h->setSpacing(12);

    Edt_Prod_Busca = new QComboBox(barra);
    Edt_Prod_Busca->setObjectName(QStringLiteral("Edt_Prod_Busca"));
    Edt_Prod_Busca->setEditable(true);
    Edt_Prod_Busca->setInsertPolicy(QComboBox::NoInsert);
    Edt_Prod_Busca->setCompleter(nullptr); // a scanned code must never be completed to a name
    Edt_Prod_Busca->setMaxVisibleItems(15);
    Edt_Prod_Busca->setStyleSheet(QStringLiteral(
        "QComboBox { font-size: 24px; padding: 6px; background: white; border-radius: 6px; }"));
    Edt_Prod_Busca->lineEdit()->setPlaceholderText(
        QString::fromUtf8("Código de barras, código ou nome do produto"));
    Edt_Prod_Busca->installEventFilter(
        this); // the combo box passes its keys to its editor directly
    h->addWidget(Edt_Prod_Busca, 1);

    auto caixa = [&](const QString& rct, const QString& edt, const QString& legenda, QFrame*& frame,
                     QLineEdit*& box) {
        frame = new QFrame(barra);
        frame->setObjectName(rct);
        auto* v = new QVBoxLayout(frame);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(2);
        v->addWidget(new QLabel(legenda, frame));
        box = new QLineEdit(frame);
        box->setObjectName(edt);
        box->setFixedWidth(170);
        box->setAlignment(Qt::AlignRight);
        box->setStyleSheet(QString::fromLatin1(ESTILO_CAIXA).arg(QLatin1String(COR_BUSCA)));
        box->installEventFilter(this);
        v->addWidget(box);
        h->addWidget(frame);
    };
    caixa(QStringLiteral("Rct_Prod_Qtd"), QStringLiteral("Edt_Prod_Qtd"),
          QStringLiteral("Quantidade"), Rct_Prod_Qtd, Edt_Prod_Qtd);
    caixa(QStringLiteral("Rct_Prod_Valor"), QStringLiteral("Edt_Prod_Valor"),
          QStringLiteral("Valor"), Rct_Prod_Valor, Edt_Prod_Valor);

    Btn_Prod_Busca_Option = new QPushButton(QStringLiteral("⋮"), barra);
    Btn_Prod_Busca_Option->setObjectName(QStringLiteral("Btn_Prod_Busca_Option"));
    Btn_Prod_Busca_Option->setFixedSize(44, 44);
    Btn_Prod_Busca_Option->setFocusPolicy(Qt::NoFocus);
    Btn_Prod_Busca_Option->setToolTip(QString::fromUtf8("Inserção de produtos"));
    Btn_Prod_Busca_Option->setStyleSheet(
        QStringLiteral("QPushButton { font-size: 24px; color: white; background: #45A3CE; "
                       "border-radius: 22px; }"));
    connect(Btn_Prod_Busca_Option, &QPushButton::clicked, this, [this] { Opcoes_Alternar(); });
    h->addWidget(Btn_Prod_Busca_Option);
}

void TVendas_Tab::Criar_Opcoes() {
    Lyt_Prod_Busca_Option = new QFrame(this);
    Lyt_Prod_Busca_Option->setObjectName(QStringLiteral("Lyt_Prod_Busca_Option"));
    Lyt_Prod_Busca_Option->setStyleSheet(
        QStringLiteral("#Lyt_Prod_Busca_Option { background: white; border: 1px solid #B0BEC5; "
                       "border-radius: 8px; } QAbstractButton { font-size: 16px; }"));
    auto* v = new QVBoxLayout(Lyt_Prod_Busca_Option);
    auto* titulo = new QLabel(QString::fromUtf8("Inserção de produtos"), Lyt_Prod_Busca_Option);
    titulo->setStyleSheet(QStringLiteral("font-size: 18px; font-weight: bold;"));
    v->addWidget(titulo);
    Swt_prod_qtd =
        new Switch(QStringLiteral("Exibir caixa de texto de quantidade"), Lyt_Prod_Busca_Option);
    Swt_prod_qtd->setObjectName(QStringLiteral("Swt_prod_qtd"));
    Swt_prod_valor =
        new Switch(QStringLiteral("Exibir caixa de texto de valores"), Lyt_Prod_Busca_Option);
    Swt_prod_valor->setObjectName(QStringLiteral("Swt_prod_valor"));
    Swt_Buscar_Enter =
        new Switch(QStringLiteral("Buscar pressionando tecla [Enter]"), Lyt_Prod_Busca_Option);
    Swt_Buscar_Enter->setObjectName(QStringLiteral("Swt_Buscar_Enter"));
    for (Switch* s : {Swt_prod_qtd, Swt_prod_valor, Swt_Buscar_Enter}) {
        v->addWidget(s);
        connect(s, &QAbstractButton::toggled, this, [this] { Opcao_Mudou(); });
    }
    Lyt_Prod_Busca_Option->adjustSize();
    Lyt_Prod_Busca_Option->hide();
}

void TVendas_Tab::Opcoes_Alternar() {
    if (Lyt_Prod_Busca_Option->isVisible()) {
        Lyt_Prod_Busca_Option->hide();
    } else {
        // 15 from the left, 10 above the search bar.
        const QWidget* barra = findChild<QWidget*>(QStringLiteral("Rct_Prod_Busca"));
        Lyt_Prod_Busca_Option->adjustSize();
        Lyt_Prod_Busca_Option->move(15, barra->y() - 10 - Lyt_Prod_Busca_Option->height());
        Lyt_Prod_Busca_Option->show();
        Lyt_Prod_Busca_Option->raise();
    }
    m_principal.IniFile_Salva();
}

void TVendas_Tab::Opcao_Mudou() {
    Config().conf_prod_qtd = Swt_prod_qtd->isChecked();
    Config().conf_prod_valor = Swt_prod_valor->isChecked();
    Config().conf_Buscar_Enter = Swt_Buscar_Enter->isChecked();
    m_principal.IniFile_Salva();
    m_principal.IniFile_Read();
}

void TVendas_Tab::Esconder_Opcoes() {
    if (Lyt_Prod_Busca_Option) Lyt_Prod_Busca_Option->hide();
}

void TVendas_Tab::Aplicar_Opcoes() {
    Rct_Prod_Qtd->setVisible(Config().conf_prod_qtd);
    Rct_Prod_Valor->setVisible(Config().conf_prod_valor);
    Swt_prod_qtd->setCheckedSilently(Config().conf_prod_qtd);
    Swt_prod_valor->setCheckedSilently(Config().conf_prod_valor);
    Swt_Buscar_Enter->setCheckedSilently(Config().conf_Buscar_Enter);
}

void TVendas_Tab::mousePressEvent(QMouseEvent* event) {
    // A click on the tab's background gives the keys back to the search box.
    Esconder_Opcoes();
    Focar_Busca();
    QWidget::mousePressEvent(event);
}

void TVendas_Tab::Focar_Busca() {
    Edt_Prod_Busca->setFocus();
    Edt_Prod_Busca->lineEdit()->end(false);
}

void TVendas_Tab::Limpar_Busca() {
    Edt_Prod_Busca->setEditText(QString());
}

void TVendas_Tab::Carregar_ProdList(const QStringList& nomes) {
    const QString texto = Edt_Prod_Busca->currentText();
    Edt_Prod_Busca->clear();
    Edt_Prod_Busca->addItems(nomes);
    Edt_Prod_Busca->setEditText(texto);
}

void TVendas_Tab::Mostrar_Memo(bool memo) {
    Mem_Update->setVisible(memo);
    Lbx_Cupom->setVisible(!memo);
    if (!memo) Mem_Update->clear();
}

double TVendas_Tab::Entrada_Total() const {
    return StringToFloat(Lab_Prod_Total->text());
}

qint64 TVendas_Tab::Item_Selecionado() const {
    const QModelIndex i = Lbx_Cupom->currentIndex();
    return i.isValid() ? i.data(CupomModel::ItemIdRole).toLongLong() : 0;
}

void TVendas_Tab::Selecionar_Linha(const QModelIndex& index) {
    if (!index.isValid()) return;
    Lbx_Cupom->setCurrentIndex(index);
    const QRect r = Lbx_Cupom->visualRect(index);
    Btn_Prod_Delete->adjustSize();
    Btn_Prod_Delete->move(r.right() - Btn_Prod_Delete->width() - 150,
                          r.center().y() - Btn_Prod_Delete->height() / 2);
    Btn_Prod_Delete->setProperty("item_id", index.data(CupomModel::ItemIdRole));
    Btn_Prod_Delete->show();
    Btn_Prod_Delete->raise();
    Focar_Busca();
}

void TVendas_Tab::Menu_Linha(const QPoint& pos) {
    const QModelIndex index = Lbx_Cupom->indexAt(pos);
    if (!index.isValid()) return;
    Selecionar_Linha(index);
    QMenu menu(this);
    menu.addAction(QStringLiteral("Excluir produto selecionado"), this,
                   [this] { Btn_Prod_DeleteClick(); });
    menu.addAction(QStringLiteral("Conceder desconto no item selecionado"), this, [this] {
        if (m_principal.Ganchos_.Desconto_Item) m_principal.Ganchos_.Desconto_Item();
    });
    menu.exec(Lbx_Cupom->viewport()->mapToGlobal(pos));
}

void TVendas_Tab::Focar_Caixa_Seguinte() {
    if (Config().conf_prod_qtd)
        Edt_Prod_Qtd->setFocus();
    else if (Config().conf_prod_valor)
        Edt_Prod_Valor->setFocus();
}

bool TVendas_Tab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edt_Prod_Busca) return Busca_Tecla(event);
    if (watched == Edt_Prod_Qtd) return Qtd_Tecla(event);
    if (watched == Edt_Prod_Valor) return Valor_Tecla(event);
    if (watched == Circ_ProdIMG && event->type() == QEvent::MouseButtonRelease) {
        if (!Lab_Prod_CBarra->text().isEmpty()) Produto_BuscaIMG(Lab_Prod_CBarra->text(), true);
    }
    return false;
}

bool TVendas_Tab::Busca_Tecla(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (enter && !k->isAutoRepeat()) {
            m_enterNaBusca = true;
            if (Config().conf_Buscar_Enter && Edt_Prod_Busca->currentText().trimmed().isEmpty())
                Produto_Consulta();
            return true;
        }
        if (k->key() == Qt::Key_Tab) {
            if (Rct_Prod_Qtd->isVisible()) Edt_Prod_Qtd->setFocus();
            return true;
        }
        // F4 cancels an item; left to the combo box it would open the names' list.
        if (k->key() == Qt::Key_F4) return true;
        return false;
    }
    if (event->type() != QEvent::KeyRelease) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->isAutoRepeat()) return false;
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    // An Enter whose press went to another window (a picker that just closed) is not ours.
    if (enter && !m_enterNaBusca) return false;
    if (enter) m_enterNaBusca = false;

    const QString texto = Edt_Prod_Busca->currentText();
    if (enter && !texto.trimmed().isEmpty()) {
        Produto_Busca(texto);
        if (P().Prod_ID > 0) {
            if (Rct_Prod_Qtd->isVisible())
                Edt_Prod_Qtd->setFocus();
            else if (Rct_Prod_Valor->isVisible())
                Edt_Prod_Valor->setFocus();
            else
                Produto_Insert();
        }
    }
    // A quantity typed before the product: "3*".
    if (texto.contains(QLatin1Char('*')) && StringToFloat(texto) > 0) {
        P().Prod_Quant = StringToFloat(texto);
        Lab_Prod_Quant->setText(FormatFloat(Mascara(), P().Prod_Quant));
        Limpar_Busca();
        Produto_Calc();
    }
    // "-" and a barcode: cancel that item.
    if (enter && texto.startsWith(QLatin1Char('-')) && !SoNumeros(texto).isEmpty()) {
        const QString cbarra = SoNumeros(texto);
        Limpar_Busca();
        if (m_principal.Ganchos_.Cancelar_Item_CBarra)
            m_principal.Ganchos_.Cancelar_Item_CBarra(cbarra);
        throw Abort();
    }
    return enter;
}

bool TVendas_Tab::Qtd_Tecla(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    switch (k->key()) {
    case Qt::Key_Alt:
        m_voltar = true;
        return false;
    case Qt::Key_Tab:
        if (m_voltar || !Rct_Prod_Valor->isVisible())
            Focar_Busca();
        else
            Edt_Prod_Valor->setFocus();
        m_voltar = false;
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        P().Prod_Quant = StringToFloat(Edt_Prod_Qtd->text());
        const QString q = FormatFloat(Mascara(), P().Prod_Quant);
        Lab_Prod_Quant->setText(q);
        Edt_Prod_Qtd->setText(q);
        Produto_Calc();
        if (Rct_Prod_Valor->isVisible())
            Edt_Prod_Valor->setFocus();
        else
            Produto_Insert();
        return true;
    }
    default:
        return false;
    }
}

bool TVendas_Tab::Valor_Tecla(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    switch (k->key()) {
    case Qt::Key_Alt:
        m_voltar = true;
        return false;
    case Qt::Key_Tab:
        Focar_Busca();
        m_voltar = false;
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const TPrecoDigitado r = Produto_Preco_Digitado(
            P(), StringToFloat(Edt_Prod_Valor->text()), StringToFloat(Lab_Prod_Unitario->text()),
            Config().conf_venda_altvalor, Config().conf_Desc_Limit, Mascara());
        Edt_Prod_Valor->setText(r.texto);
        if (r.resultado == TPrecoDigitado::Limite) {
            MessageBox::ShowMessage(r.mensagem);
            return true;
        }
        if (r.digitado) {
            P().Prod_Venda = r.valor;
            P().Preco_Digitado = true;
            Lab_Prod_Unitario->setText(FormatFloat(Mascara(), r.valor));
        }
        Produto_Calc();
        Produto_Insert();
        return true;
    }
    default:
        return false;
    }
}
