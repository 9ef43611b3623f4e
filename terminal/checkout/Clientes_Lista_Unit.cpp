#include "Clientes_Lista_Unit.h"

#include "widgets/Desenhos.h"
#include "widgets/Lista_Modelo.h"

#include "foundation/DModule_Unit.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"
#include "sale/Venda_Core.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Papel { Papel_CPF = Qt::UserRole, Papel_ID };

const QString Titulo_Lista = QStringLiteral("Lista de Clientes ");
const QString Titulo_Cad = QStringLiteral("Cadastro de Clientes ");

// A line edit that shows what is typed in upper case.
void maiusculas(QLineEdit* e) {
    QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
        const QString u = t.toUpper();
        if (u == t) return;
        const int cursor = e->cursorPosition();
        e->setText(u);
        e->setCursorPosition(cursor);
    });
}

// Selects the entry equal to the text, adding it when the list lacks it.
void escolher(QComboBox* c, const QString& texto) {
    int i = c->findText(texto, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i < 0) {
        c->addItem(texto);
        i = c->count() - 1;
    }
    c->setCurrentIndex(i);
}

// The entry picked: the one whose text the box shows exactly; empty when none.
QString escolhido(const QComboBox* c) {
    const QString t = c->currentText();
    return c->findText(t, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0 ? t : QString();
}

} // namespace

class TClientes_Modelo : public TLista_Modelo<TCliente_Linha> {
public:
    using TLista_Modelo::TLista_Modelo;

    QVariant data(const QModelIndex& indice, int papel) const override {
        const TCliente_Linha* linha = Da(indice);
        if (!linha) return {};
        const TCliente_Linha& l = *linha;
        switch (papel) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return Clientes_Lista_Linha1(l);
        case Papel_CPF:
            return l.cpf_cnpj;
        case Papel_ID:
            return l.id;
        default:
            return {};
        }
    }
};

namespace {

// A row 75 high with a margin of 10: the icon, the name, the id and document, the city.
class TClientes_Delegate : public QStyledItemDelegate {
public:
    TClientes_Delegate(const TClientes_Modelo& modelo, QObject* pai)
        : QStyledItemDelegate(pai), m_modelo(modelo), m_nome(Fonte_Courier(14, true)),
          m_linha(Fonte_Courier(13, false)), m_cidade(Fonte_Courier(14, true)) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        const int texto = QFontMetrics(m_nome).height() + QFontMetrics(m_linha).height() +
                          QFontMetrics(m_cidade).height();
        return QSize(0, std::max(75, texto + 8) + 10);
    }

    void paint(QPainter* p, const QStyleOptionViewItem& opcao,
               const QModelIndex& indice) const override {
        const TCliente_Linha& l = m_modelo.Linha(indice.row());
        const QRect r = opcao.rect.adjusted(0, 0, 0, -10);
        const bool selecionado = opcao.state & QStyle::State_Selected;
        p->save();
        p->fillRect(r, selecionado ? QColor(0xD4, 0xEC, 0xF7) : QColor(Qt::white));
        if (selecionado)
            p->fillRect(QRect(r.left(), r.top(), 6, r.height()), QColor(0x45, 0xA3, 0xCE));
        p->setPen(QColor(0xE0, 0xE4, 0xE6));
        p->drawLine(r.bottomLeft(), r.bottomRight());
        Desenhar_Pessoa(p, QRectF(r.left() + 14, r.center().y() - 18, 36, 36),
                        QColor(0x45, 0xA3, 0xCE));

        const QFontMetrics fn(m_nome), fl(m_linha), fc(m_cidade);
        const int x = r.left() + 64;
        const int largura = std::max(0, r.right() - 12 - x);
        int y = r.top() + 4;
        p->setFont(m_nome);
        p->setPen(Clientes_Lista_Sem_Credito(l) ? QColor(Qt::red) : QColor(Qt::black));
        p->drawText(QRect(x, y, largura, fn.height()), Qt::AlignLeft | Qt::AlignVCenter,
                    fn.elidedText(Clientes_Lista_Linha1(l), Qt::ElideRight, largura));
        y += fn.height();
        p->setFont(m_linha);
        p->setPen(Qt::black);
        p->drawText(QRect(x, y, largura, fl.height()), Qt::AlignLeft | Qt::AlignVCenter,
                    fl.elidedText(Clientes_Lista_Linha2(l), Qt::ElideRight, largura));
        y += fl.height();
        p->setFont(m_cidade);
        p->drawText(QRect(x, y, largura, fc.height()), Qt::AlignRight | Qt::AlignVCenter,
                    fc.elidedText(l.cidade, Qt::ElideRight, largura));
        p->restore();
    }

private:
    const TClientes_Modelo& m_modelo;
    QFont m_nome, m_linha, m_cidade;
};

const char* const Estilo_Campo =
    "QLineEdit, QComboBox, QDateEdit { font-size: 16pt; padding: 3px 8px; min-height: 40px;"
    " border: 2px solid #B0BEC5; border-radius: 5px; }"
    "QLineEdit:focus, QComboBox:focus, QDateEdit:focus { border-color: #45A3CE; }"
    "QLabel { font-size: 13pt; color: #37474F; }";

} // namespace

TClientes_Lista::TClientes_Lista(db::Connection& conexao, const TSettings& config, TVenda& venda,
                                 QWidget* parent)
    : PainelModal(QStringLiteral("Clientes_Lista"), Titulo_Lista, QSize(1024, 740), parent),
      m_conexao(conexao), m_config(config), m_venda(venda) {
    Cobrir_Pai();
    Rct_Painel->setMaximumWidth(960);
    m_titulo = Rct_Painel->findChild<QLabel*>(QStringLiteral("Lab_Titulo"));

    auto* icone = new QLabel;
    QPixmap pm(36, 36);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        Desenhar_Pessoa(&p, QRectF(0, 0, 36, 36), Qt::white);
    }
    icone->setPixmap(pm);
    Titulo()->insertWidget(0, icone);

    Lab_Subtitulo =
        new QLabel(QStringLiteral("Clientes cadastrado no site e neste terminal"), Rct_Painel);
    Lab_Subtitulo->setObjectName(QStringLiteral("Lab_Subtitulo"));
    Lab_Subtitulo->setStyleSheet(QStringLiteral("color: #455A64; font-size: 13pt;"));
    Corpo()->addWidget(Lab_Subtitulo);

    TabControl1 = new QStackedWidget(Rct_Painel);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    Corpo()->addWidget(TabControl1, 1);

    // --- list page
    Tb_Lista = new QWidget;
    Tb_Lista->setObjectName(QStringLiteral("Tb_Lista"));
    auto* lista = new QVBoxLayout(Tb_Lista);
    lista->setContentsMargins(0, 0, 0, 0);
    lista->setSpacing(10);
    auto* busca = new QHBoxLayout;
    Edt_Busca = new QLineEdit(Tb_Lista);
    Edt_Busca->setObjectName(QStringLiteral("Edt_Busca"));
    Edt_Busca->setPlaceholderText(QStringLiteral("Código, CPF/CNPJ, RG/IE, nome ou apelido"));
    Edt_Busca->setMinimumHeight(52);
    Edt_Busca->setStyleSheet(
        QStringLiteral("QLineEdit { font-size: 18pt; padding: 4px 10px; border: 2px solid #45A3CE;"
                       " border-radius: 6px; }"));
    Edt_Busca->installEventFilter(this);
    busca->addWidget(Edt_Busca, 1);
    SpeedButton2 =
        botao(QStringLiteral("+"), QStringLiteral("#45A3CE"), QStringLiteral("SpeedButton2"));
    SpeedButton2->setToolTip(QStringLiteral("Cadastrar cliente (Insert)"));
    SpeedButton2->setFixedSize(56, 52);
    QFont mais = SpeedButton2->font();
    mais.setPointSize(24);
    SpeedButton2->setFont(mais);
    busca->addWidget(SpeedButton2);
    lista->addLayout(busca);

    m_modelo = new TClientes_Modelo(this);
    Lbx_Cupom = new QListView(Tb_Lista);
    Lbx_Cupom->setObjectName(QStringLiteral("Lbx_Cupom"));
    Lbx_Cupom->setModel(m_modelo);
    Lbx_Cupom->setItemDelegate(new TClientes_Delegate(*m_modelo, Lbx_Cupom));
    Lbx_Cupom->setSelectionMode(QAbstractItemView::SingleSelection);
    Lbx_Cupom->setUniformItemSizes(true);
    Lbx_Cupom->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    Lbx_Cupom->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Lbx_Cupom->setStyleSheet(QStringLiteral("QListView { border: 1px solid #CFD8DC; }"));
    Lbx_Cupom->installEventFilter(this);
    lista->addWidget(Lbx_Cupom, 1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("CANCELAR"), QStringLiteral("#D3D3D3"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtCancel->setStyleSheet(QStringLiteral(
        "QPushButton { background: #D3D3D3; color: #708090; border: none; border-radius: 6px; }"
        "QPushButton:hover, QPushButton:pressed { background: #808080; color: white; }"));
    Rct_BtCancel->setMinimumSize(200, 54);
    botoes->addWidget(Rct_BtCancel);
    auto* teclas = new QLabel(
        QStringLiteral("↑ ↓ escolher   Enter vender   Insert cadastrar   Esc cancelar"), Tb_Lista);
    teclas->setAlignment(Qt::AlignCenter);
    teclas->setStyleSheet(QStringLiteral("color: #607D8B; font-size: 11pt;"));
    teclas->setWordWrap(true);
    botoes->addWidget(teclas, 1);
    Rct_BtVender =
        botao(QStringLiteral("VENDER"), QStringLiteral("#2E8B57"), QStringLiteral("Rct_BtVender"));
    Rct_BtVender->setStyleSheet(QStringLiteral(
        "QPushButton { background: #2E8B57; color: white; border: none; border-radius: 6px; }"
        "QPushButton:hover, QPushButton:pressed { background: #32CD32; color: black; }"));
    Rct_BtVender->setMinimumSize(200, 54);
    botoes->addWidget(Rct_BtVender);
    lista->addLayout(botoes);
    TabControl1->addWidget(Tb_Lista);

    // --- registration page
    Tb_Cad = new QWidget;
    Tb_Cad->setObjectName(QStringLiteral("Tb_Cad"));
    Tb_Cad->setStyleSheet(QString::fromLatin1(Estilo_Campo));
    auto* cad = new QVBoxLayout(Tb_Cad);
    cad->setContentsMargins(0, 0, 0, 0);
    cad->setSpacing(6);
    Lab_Client_Title = new QLabel(Tb_Cad);
    Lab_Client_Title->setObjectName(QStringLiteral("Lab_Client_Title"));
    Lab_Client_Alert = new QLabel(Tb_Cad);
    Lab_Client_Alert->setObjectName(QStringLiteral("Lab_Client_Alert"));
    cad->addWidget(Lab_Client_Title);
    cad->addWidget(Lab_Client_Alert);

    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(14);
    grade->setVerticalSpacing(2);
    auto rotulo = [&](const QString& texto, int linha, int coluna, int largura = 1) {
        auto* l = new QLabel(texto, Tb_Cad);
        grade->addWidget(l, linha, coluna, 1, largura);
    };
    auto edit = [&](const char* nome, int maximo = 0) {
        auto* e = new QLineEdit(Tb_Cad);
        e->setObjectName(QString::fromLatin1(nome));
        if (maximo > 0) e->setMaxLength(maximo);
        e->installEventFilter(this);
        return e;
    };
    auto combo = [&](const char* nome) {
        auto* c = new QComboBox(Tb_Cad);
        c->setObjectName(QString::fromLatin1(nome));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->installEventFilter(this);
        return c;
    };
    auto dentro = [&](QLineEdit* e, QToolButton* b) {
        // A button inside the box, on its right.
        auto* l = new QHBoxLayout(e);
        l->setContentsMargins(0, 0, 4, 0);
        l->addStretch(1);
        l->addWidget(b);
        e->setTextMargins(0, 0, 44, 0);
    };

    rotulo(QStringLiteral("CPF do Cliente:"), 0, 0);
    rotulo(QStringLiteral("Nome Completo:"), 0, 1, 2);
    Edt_Client_CPF = edit("Edt_Client_CPF", 18);
    SpeedButton3 = new QToolButton(Edt_Client_CPF);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setText(QStringLiteral("..."));
    SpeedButton3->setToolTip(QStringLiteral("Gerar um CPF (F2)"));
    SpeedButton3->setFocusPolicy(Qt::NoFocus);
    SpeedButton3->setCursor(Qt::PointingHandCursor);
    dentro(Edt_Client_CPF, SpeedButton3);
    grade->addWidget(Edt_Client_CPF, 1, 0);
    Cbx_Client_Nome = combo("Cbx_Client_Nome");
    grade->addWidget(Cbx_Client_Nome, 1, 1, 1, 2);

    rotulo(QStringLiteral("CEP:"), 2, 0);
    rotulo(QStringLiteral("Nascimento:"), 2, 1);
    rotulo(QStringLiteral("Celular: (Wtzp)"), 2, 2);
    Edt_Client_CEP = edit("Edt_Client_CEP", 10);
    maiusculas(Edt_Client_CEP);
    Image1 = new QToolButton(Edt_Client_CEP);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setIcon(Icone_Lupa(QColor(0x45, 0xA3, 0xCE)));
    Image1->setIconSize(QSize(22, 22));
    Image1->setAutoRaise(true);
    Image1->setToolTip(QStringLiteral("Buscar o endereço do CEP (F3)"));
    Image1->setFocusPolicy(Qt::NoFocus);
    Image1->setCursor(Qt::PointingHandCursor);
    dentro(Edt_Client_CEP, Image1);
    grade->addWidget(Edt_Client_CEP, 3, 0);
    Dt_Client_Nasc = new QDateEdit(Tb_Cad);
    Dt_Client_Nasc->setObjectName(QStringLiteral("Dt_Client_Nasc"));
    Dt_Client_Nasc->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    Dt_Client_Nasc->setCalendarPopup(true);
    Dt_Client_Nasc->setDate(QDate::currentDate());
    Dt_Client_Nasc->installEventFilter(this);
    grade->addWidget(Dt_Client_Nasc, 3, 1);
    Edt_Client_Fone = edit("Edt_Client_Fone", 20);
    maiusculas(Edt_Client_Fone);
    grade->addWidget(Edt_Client_Fone, 3, 2);

    rotulo(QStringLiteral("Endereço:"), 4, 0, 2);
    rotulo(QStringLiteral("Número:"), 4, 2);
    Edt_Client_End = edit("Edt_Client_End", 68);
    maiusculas(Edt_Client_End);
    grade->addWidget(Edt_Client_End, 5, 0, 1, 2);
    Edt_Client_Num = edit("Edt_Client_Num", 10);
    maiusculas(Edt_Client_Num);
    grade->addWidget(Edt_Client_Num, 5, 2);

    rotulo(QStringLiteral("Bairro:"), 6, 0);
    rotulo(QStringLiteral("Estado:"), 6, 1);
    rotulo(QStringLiteral("Cidade:"), 6, 2);
    Edt_Client_Bairro = edit("Edt_Client_Bairro", 40);
    maiusculas(Edt_Client_Bairro);
    grade->addWidget(Edt_Client_Bairro, 7, 0);
    Cbx_Client_Estado = combo("Cbx_Client_Estado");
    grade->addWidget(Cbx_Client_Estado, 7, 1);
    Cbx_Client_Cidade = combo("Cbx_Client_Cidade");
    grade->addWidget(Cbx_Client_Cidade, 7, 2);

    rotulo(QStringLiteral("Ponto de Referência:"), 8, 0, 3);
    Edt_Client_Referencia = edit("Edt_Client_Referencia", 250);
    maiusculas(Edt_Client_Referencia);
    grade->addWidget(Edt_Client_Referencia, 9, 0, 1, 3);
    grade->setColumnStretch(0, 1);
    grade->setColumnStretch(1, 1);
    grade->setColumnStretch(2, 1);
    cad->addLayout(grade);
    cad->addStretch(1);

    auto* botoesCad = new QHBoxLayout;
    Rct_Bt_Voltar = botao(QStringLiteral("CANCELAR"), QStringLiteral("#D3D3D3"),
                          QStringLiteral("Rct_Bt_Voltar"));
    Rct_Bt_Voltar->setStyleSheet(Rct_BtCancel->styleSheet());
    Rct_Bt_Voltar->setMinimumSize(200, 54);
    botoesCad->addWidget(Rct_Bt_Voltar);
    auto* teclasCad = new QLabel(
        QStringLiteral(
            "Enter  próximo    F2  gerar CPF    F3  buscar CEP    F5  salvar    Esc  voltar"),
        Tb_Cad);
    teclasCad->setAlignment(Qt::AlignCenter);
    teclasCad->setStyleSheet(QStringLiteral("color: #607D8B; font-size: 11pt;"));
    teclasCad->setWordWrap(true);
    botoesCad->addWidget(teclasCad, 1);
    Rec_Bt_Salvar =
        botao(QStringLiteral("SALVAR"), QStringLiteral("#2E8B57"), QStringLiteral("Rec_Bt_Salvar"));
    Rec_Bt_Salvar->setMinimumSize(200, 54);
    botoesCad->addWidget(Rec_Bt_Salvar);
    cad->addLayout(botoesCad);
    TabControl1->addWidget(Tb_Cad);

    setTabOrder(Edt_Client_CPF, Cbx_Client_Nome);
    setTabOrder(Cbx_Client_Nome, Edt_Client_CEP);
    setTabOrder(Edt_Client_CEP, Dt_Client_Nasc);
    setTabOrder(Dt_Client_Nasc, Edt_Client_Fone);
    setTabOrder(Edt_Client_Fone, Edt_Client_End);
    setTabOrder(Edt_Client_End, Edt_Client_Num);
    setTabOrder(Edt_Client_Num, Edt_Client_Bairro);
    setTabOrder(Edt_Client_Bairro, Cbx_Client_Estado);
    setTabOrder(Cbx_Client_Estado, Cbx_Client_Cidade);
    setTabOrder(Cbx_Client_Cidade, Edt_Client_Referencia);

    connect(SpeedButton2, &QPushButton::clicked, this, &TClientes_Lista::SpeedButton2Click);
    connect(Rct_BtVender, &QPushButton::clicked, this, &TClientes_Lista::Rct_BtVenderClick);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &TClientes_Lista::Rct_BtCancelClick);
    connect(SpeedButton3, &QToolButton::clicked, this, &TClientes_Lista::SpeedButton3Click);
    connect(Image1, &QToolButton::clicked, this, &TClientes_Lista::Image1Click);
    connect(Rec_Bt_Salvar, &QPushButton::clicked, this, &TClientes_Lista::Lab_Bt_SalvarClick);
    connect(Rct_Bt_Voltar, &QPushButton::clicked, this, &TClientes_Lista::Lab_Bt_VoltarClick);
    connect(Lbx_Cupom, &QListView::clicked, this, [this](const QModelIndex& i) {
        Selecionar_Linha(i.row());
        Edt_Busca->setFocus();
    });
    connect(Lbx_Cupom, &QListView::doubleClicked, this, [this](const QModelIndex& i) {
        Selecionar_Linha(i.row());
        Rct_BtVenderClick();
    });

    Alerta_Normal();
    Preencher_Listas();
    Mostrar_Pagina(Tb_Lista);
}

TClientes_Lista::TClientes_Lista(TDModule& DModule, const TSettings& config, TVenda& venda,
                                 QWidget* parent)
    : TClientes_Lista(DModule.FDConnection1, config, venda, parent) {}

TClientes_Lista::~TClientes_Lista() = default;

void TClientes_Lista::Preencher_Listas() {
    if (m_config.conf_Cliente_Lista) Cbx_Client_Nome->addItems(Clientes_Nomes(m_conexao));
    Cbx_Client_Nome->setCurrentIndex(-1);
    Cbx_Client_Estado->addItems(Clientes_Estados(m_conexao));
    Cbx_Client_Cidade->addItems(Clientes_Cidades(m_conexao));
    if (!m_config.Emp_UF.isEmpty()) escolher(Cbx_Client_Estado, m_config.Emp_UF);
    if (!m_config.Emp_Cidade.isEmpty()) escolher(Cbx_Client_Cidade, m_config.Emp_Cidade);
}

void TClientes_Lista::Mostrar_Pagina(QWidget* pagina) {
    TabControl1->setCurrentWidget(pagina);
    if (m_titulo) m_titulo->setText(pagina == Tb_Cad ? Titulo_Cad : Titulo_Lista);
    setWindowTitle(pagina == Tb_Cad ? Titulo_Cad : Titulo_Lista);
    (pagina == Tb_Cad ? static_cast<QWidget*>(Edt_Client_CPF) : Edt_Busca)->setFocus();
}

void TClientes_Lista::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    CPF_CNPJ.clear();
    Temp_Busca.clear();
    Mostrar_Pagina(Tb_Lista);
    Cliente_Busca();
    Edt_Busca->end(false);
}

void TClientes_Lista::Cliente_Busca() {
    m_modelo->Definir(Clientes_Pesquisar(m_conexao, Edt_Busca->text()));
    if (m_modelo->rowCount() > 0) Lbx_Cupom->setCurrentIndex(m_modelo->index(0));
}

int TClientes_Lista::Linha_Selecionada() const {
    const QModelIndexList sel = Lbx_Cupom->selectionModel()->selectedIndexes();
    return sel.isEmpty() ? -1 : sel.first().row();
}

void TClientes_Lista::Selecionar_Linha(int linha) {
    if (linha < 0 || linha >= m_modelo->rowCount()) return;
    const QModelIndex i = m_modelo->index(linha);
    Lbx_Cupom->setCurrentIndex(i);
    Lbx_Cupom->scrollTo(i);
    Edt_Busca->setText(i.data(Papel_CPF).toString());
    Edt_Busca->end(false);
}

void TClientes_Lista::Mover_Selecao(int passo) {
    const int n = m_modelo->rowCount();
    if (n == 0) return;
    const int atual = Linha_Selecionada();
    Selecionar_Linha(atual < 0 ? 0 : std::clamp(atual + passo, 0, n - 1));
}

void TClientes_Lista::Rct_BtVenderClick() {
    if (m_modelo->rowCount() == 1) Lbx_Cupom->setCurrentIndex(m_modelo->index(0));
    if (Edt_Busca->text() != Temp_Busca) {
        Temp_Busca = Edt_Busca->text();
        return;
    }
    Escolher();
}

void TClientes_Lista::Escolher() {
    const int linha = Linha_Selecionada();
    if (linha < 0) return;
    CPF_CNPJ = m_modelo->Linha(linha).cpf_cnpj;
    accept();
}

void TClientes_Lista::Rct_BtCancelClick() {
    CPF_CNPJ.clear();
    PainelModal::reject();
}

void TClientes_Lista::reject() {
    if (TabControl1->currentWidget() == Tb_Cad)
        Lab_Bt_VoltarClick();
    else
        Rct_BtCancelClick();
}

void TClientes_Lista::SpeedButton2Click() {
    Mostrar_Pagina(Tb_Cad);
}

void TClientes_Lista::SpeedButton3Click() {
    if (Edt_Client_CPF->text().isEmpty()) Edt_Client_CPF->setText(GeraCPF(false));
}

void TClientes_Lista::Image1Click() {
    if (SoNumeros(Edt_Client_CEP->text()).size() < 8) {
        MessageBox::ShowMessage(QStringLiteral("O CEP precisa ter 8 dígitos numéricos"));
        return;
    }
    Edt_Client_CEP->setText(FormataCEP(Edt_Client_CEP->text()));
    TCEP r;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool achou = CEP_Buscar(Edt_Client_CEP->text(), r);
    QApplication::restoreOverrideCursor();
    if (!achou) {
        MessageBox::ShowMessage(QStringLiteral("CEP não encontrado."));
        return;
    }
    Edt_Client_CEP->setText(r.cep.toUpper());
    Edt_Client_End->setText(r.logradouro.toUpper());
    Edt_Client_Bairro->setText(r.bairro.toUpper());
    Edt_Client_Referencia->setText(r.complemento.toUpper());
    if (!r.uf.isEmpty()) escolher(Cbx_Client_Estado, r.uf.toUpper());
    if (!r.localidade.isEmpty()) escolher(Cbx_Client_Cidade, r.localidade.toUpper());
}

bool TClientes_Lista::Edt_Client_CPFExit() {
    const QString texto = Edt_Client_CPF->text();
    if (texto.isEmpty()) return true;
    // Only the customer loaded into this form is itself; the sale's customer is not.
    if (Cliente_CPF_Duplicado(m_conexao, texto, m_carregado)) {
        MessageBox::ShowMessage(
            QStringLiteral("Existe outro cadastro com este mesmo CPF ou CNPJ."));
        Edt_Client_CPF->clear();
        Edt_Client_CPF->setFocus();
        return false;
    }
    Edt_Client_CPF->setStyleSheet(
        Cliente_Documento_Valido(texto) ? QString() : QStringLiteral("QLineEdit { color: red; }"));
    return true;
}

void TClientes_Lista::Edt_Client_FoneExit() {
    Edt_Client_Fone->setText(FormataTelefone(Edt_Client_Fone->text()));
}

void TClientes_Lista::Edt_Client_CEPExit() {
    Edt_Client_CEP->setText(FormataCEP(Edt_Client_CEP->text()));
}

void TClientes_Lista::Alerta_Normal() {
    Lab_Client_Title->setText(QStringLiteral("Identificação do Cliente"));
    Lab_Client_Alert->setText(QStringLiteral("Preencha corretamente os dados de Entrega."));
    Lab_Client_Title->setStyleSheet(
        QStringLiteral("QLabel { color: black; font-size: 16pt; font-weight: bold; }"));
    Lab_Client_Alert->setStyleSheet(QStringLiteral("QLabel { color: black; font-size: 13pt; }"));
}

void TClientes_Lista::Abre_Cliente() {
    Alerta_Normal();
    Edt_Client_CPF->setStyleSheet(QString());
    try {
        TCliente_Registro r;
        if (!Cliente_Carregar(m_conexao, Edt_Client_CPF->text(), Cbx_Client_Nome->currentText(), r))
            return;
        // Leaving the state or city of a customer already loaded would wipe the edits.
        if (r.id == m_carregado) return;
        m_venda.Venda_Cliente_ID = r.id;
        m_carregado = r.id;
        Edt_Client_CPF->setText(r.cpf_cnpj);
        Cbx_Client_Nome->setEditText(r.nome);
        Edt_Client_End->setText(r.endereco);
        Edt_Client_Bairro->setText(r.bairro);
        Edt_Client_Num->setText(r.numero);
        Edt_Client_CEP->setText(r.cep);
        Edt_Client_Fone->setText(r.fone);
        if (!r.cidade.isEmpty()) escolher(Cbx_Client_Cidade, r.cidade);
        const int uf =
            Cbx_Client_Estado->findText(r.estado, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (uf >= 0) Cbx_Client_Estado->setCurrentIndex(uf);
    } catch (const Error& e) {
        MessageBox::ShowMessage(QStringLiteral("[Abre_Cliente] Erro: ") + e.message());
    }
}

TCliente_Form TClientes_Lista::Ler_Form() const {
    TCliente_Form f;
    f.cpf = Edt_Client_CPF->text();
    f.nome = Cbx_Client_Nome->currentText();
    f.cep = Edt_Client_CEP->text();
    f.nascimento = Dt_Client_Nasc->date();
    f.fone = Edt_Client_Fone->text();
    f.endereco = Edt_Client_End->text();
    f.numero = Edt_Client_Num->text();
    f.bairro = Edt_Client_Bairro->text();
    f.estado_digitado = Cbx_Client_Estado->currentText();
    f.cidade_digitada = Cbx_Client_Cidade->currentText();
    f.estado = escolhido(Cbx_Client_Estado);
    f.cidade = escolhido(Cbx_Client_Cidade);
    f.referencia = Edt_Client_Referencia->text();
    return f;
}

QWidget* TClientes_Lista::Campo(Campo_Cliente campo) const {
    switch (campo) {
    case Campo_Cliente::CPF:
        return Edt_Client_CPF;
    case Campo_Cliente::Nome:
        return Cbx_Client_Nome;
    case Campo_Cliente::CEP:
        return Edt_Client_CEP;
    case Campo_Cliente::Estado:
        return Cbx_Client_Estado;
    case Campo_Cliente::Cidade:
        return Cbx_Client_Cidade;
    case Campo_Cliente::Endereco:
        return Edt_Client_End;
    case Campo_Cliente::Bairro:
        return Edt_Client_Bairro;
    case Campo_Cliente::Numero:
        return Edt_Client_Num;
    case Campo_Cliente::Fone:
        return Edt_Client_Fone;
    case Campo_Cliente::Nenhum:
        break;
    }
    return nullptr;
}

void TClientes_Lista::Lab_Bt_SalvarClick() {
    if (!Edt_Client_CPFExit()) return;
    TCliente_Form f = Ler_Form();
    const TCliente_Validacao v = Cliente_Validar(f);
    Edt_Client_CEP->setText(f.cep);
    Edt_Client_Num->setText(f.numero);
    Edt_Client_Fone->setText(f.fone);
    if (v.campo != Campo_Cliente::Nenhum) {
        MessageBox::ShowMessage(v.mensagem);
        QWidget* w = Campo(v.campo);
        if (v.esvaziar) {
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->clear();
            if (auto* c = qobject_cast<QComboBox*>(w)) c->setEditText(QString());
        }
        w->setFocus();
        return;
    }

    m_venda.Venda_Cliente_ID = 0;
    m_venda.Venda_Cliente_CPF = f.cpf;
    Cliente_Digitado = f;

    Alerta_Normal();
    const TCliente_Validacao guarda = Cliente_Salva_Conferir(f);
    if (guarda.campo != Campo_Cliente::Nenhum) {
        Lab_Client_Alert->setText(guarda.mensagem);
        Lab_Client_Alert->setStyleSheet(QStringLiteral("QLabel { color: red; font-size: 13pt; }"));
        Campo(guarda.campo)->setFocus();
        return;
    }
    try {
        // A customer loaded into the form is rewritten, not registered a second time.
        if (m_carregado > 0) {
            Cliente_Atualiza(m_conexao, m_carregado, f, m_config);
            m_venda.Venda_Cliente_ID = m_carregado;
        } else {
            m_venda.Venda_Cliente_ID = Cliente_Salva(m_conexao, f, m_config);
        }
    } catch (const Error&) {
        m_venda.Venda_Cliente_ID = 0;
    }
    if (m_venda.Venda_Cliente_ID > 0) {
        CPF_CNPJ = m_venda.Venda_Cliente_CPF;
        accept();
    }
}

void TClientes_Lista::Lab_Bt_VoltarClick() {
    Mostrar_Pagina(Tb_Lista);
    Edt_Busca->clear();
    Edt_Busca->setFocus();
    Cliente_Busca();
}

void TClientes_Lista::Saiu_Do_Campo(QObject* campo) {
    if (m_saindo || TabControl1->currentWidget() != Tb_Cad || !isVisible()) return;
    m_saindo = true;
    if (campo == Edt_Client_CPF)
        Edt_Client_CPFExit();
    else if (campo == Edt_Client_Fone)
        Edt_Client_FoneExit();
    else if (campo == Edt_Client_CEP)
        Edt_Client_CEPExit();
    else if (campo == Cbx_Client_Nome || campo == Cbx_Client_Estado || campo == Cbx_Client_Cidade)
        Abre_Cliente();
    m_saindo = false;
}

bool TClientes_Lista::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto razao = static_cast<QFocusEvent*>(event)->reason();
        if (razao != Qt::PopupFocusReason && razao != Qt::ActiveWindowFocusReason)
            Saiu_Do_Campo(watched);
        return PainelModal::eventFilter(watched, event);
    }
    const bool tecla = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!tecla) return PainelModal::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    const bool desce = event->type() == QEvent::KeyPress;

    if (watched == Edt_Busca) {
        if (enter) {
            // Down confirms (or notes the text), up searches: Enter on a new text
            // searches, a second Enter takes the selected customer.
            if (!k->isAutoRepeat()) {
                if (desce)
                    Rct_BtVenderClick();
                else if (isVisible() && TabControl1->currentWidget() == Tb_Lista)
                    Cliente_Busca();
            }
            return true;
        }
        if (desce && (k->key() == Qt::Key_Down || k->key() == Qt::Key_Up)) {
            Mover_Selecao(k->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
        if (desce && k->key() == Qt::Key_Insert) {
            SpeedButton2Click();
            return true;
        }
    } else if (watched == Lbx_Cupom) {
        if (enter) {
            if (desce && !k->isAutoRepeat()) Escolher();
            return true;
        }
    } else if (TabControl1->currentWidget() == Tb_Cad && desce) {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (enter && !(combo && combo->view()->isVisible())) {
            focusNextChild();
            return true;
        }
        switch (k->key()) {
        case Qt::Key_F2:
            SpeedButton3Click();
            return true;
        case Qt::Key_F3:
            Image1Click();
            return true;
        case Qt::Key_F5:
            Lab_Bt_SalvarClick();
            return true;
        default:
            break;
        }
    }
    return PainelModal::eventFilter(watched, event);
}
