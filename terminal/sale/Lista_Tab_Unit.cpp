#include "Lista_Tab_Unit.h"

#include "foundation/DModule_Unit.h"
#include "foundation/Errors.h"
#include "foundation/MessageBox.h"
#include "printing/Impressao_Escolha.h"
#include "printing/Impressao_Web.h"
#include "printing/Print_Options_Unit.h"
#include "sale/Funcionarios_Lista_Unit.h"
#include "sale/Principal_Unit.h"
#include "sale/Vendas_Lista_Modelo.h"
#include "sale/Vendas_Tab_Unit.h"
#include "sale/Web_Tab_Unit.h"
#include "widgets/Desenhos.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

const QString SELECIONE = QStringLiteral("Selecione um item na lista!");

QPushButton* botao(const QString& nome, const QString& texto, const QString& cor, QWidget* pai) {
    auto* b = new QPushButton(texto, pai);
    b->setObjectName(nome);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumHeight(44);
    QFont f = b->font();
    f.setPointSize(12);
    f.setBold(true);
    b->setFont(f);
    b->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: white; border: none;"
                                    " border-radius: 6px; padding: 0 14px; }"
                                    "QPushButton:hover { background: #136489; }")
                         .arg(cor));
    return b;
}

// A small printer: paper in, the body, paper out.
QIcon icone_impressora() {
    QPixmap pm(52, 52);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cor(0x2C, 0x3E, 0x50);
    p.setPen(QPen(cor, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(15, 6, 22, 14));
    p.setBrush(cor);
    p.drawRoundedRect(QRectF(6, 18, 40, 20), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(15, 30, 22, 16));
    p.setPen(QPen(cor, 2));
    p.drawLine(QPointF(19, 36), QPointF(33, 36));
    p.drawLine(QPointF(19, 41), QPointF(30, 41));
    return QIcon(pm);
}

} // namespace

TLista_Tab::TLista_Tab(TPrincipal& principal, QWidget* tab)
    : QWidget(tab), m_principal(principal) {
    setObjectName(QStringLiteral("Lista_Tab"));
    auto* fora = new QVBoxLayout(tab);
    fora->setContentsMargins(0, 0, 0, 0);
    fora->addWidget(this);

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(24, 16, 24, 16);
    raiz->setSpacing(12);
    Criar_Barra();
    auto* barra = new QHBoxLayout;
    barra->setSpacing(10);
    barra->addWidget(Dt_Venda_Busca);
    barra->addWidget(Edt_Venda_Busca, 1);
    barra->addWidget(Bt_Vendas_List);
    raiz->addLayout(barra);

    auto* corpo = new QHBoxLayout;
    corpo->setSpacing(16);
    raiz->addLayout(corpo, 1);

    m_modelo = new VendasListaModel(this);
    Lbx_Vendas_Lista = new QListView(this);
    Lbx_Vendas_Lista->setObjectName(QStringLiteral("Lbx_Vendas_Lista"));
    Lbx_Vendas_Lista->setModel(m_modelo);
    Lbx_Vendas_Lista->setItemDelegate(new VendasListaDelegate(Lbx_Vendas_Lista));
    Lbx_Vendas_Lista->setUniformItemSizes(false);
    Lbx_Vendas_Lista->setSelectionMode(QAbstractItemView::SingleSelection);
    Lbx_Vendas_Lista->setCursor(Qt::PointingHandCursor);
    Lbx_Vendas_Lista->setStyleSheet(
        QStringLiteral("QListView { background: white; border: 1px solid #D0D5D8; }"));
    Lbx_Vendas_Lista->viewport()->installEventFilter(this);
    connect(Lbx_Vendas_Lista->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Linha_Atual_Mudou(); });
    corpo->addWidget(Lbx_Vendas_Lista, 3);

    auto* direita = new QVBoxLayout;
    direita->setSpacing(10);
    corpo->addLayout(direita, 2);
    Criar_Visualizacao(this);
    direita->addWidget(VertScrollBox1, 1);

    Rct_Bt_EdtVenda = botao(QStringLiteral("Rct_Bt_EdtVenda"), QStringLiteral("Reabrir [F3]"),
                            QStringLiteral("#45A3CE"), this);
    Rct_Bt_DelVenda = botao(QStringLiteral("Rct_Bt_DelVenda"), QStringLiteral("Excluir [F4]"),
                            QStringLiteral("#D9534F"), this);
    Rct_Bt_Entregador = botao(QStringLiteral("Rct_Bt_Entregador"),
                              QStringLiteral("Entregador [F6]"), QStringLiteral("#45A3CE"), this);
    Rct_Bt_PrintVenda = botao(QStringLiteral("Rct_Bt_PrintVenda"),
                              QStringLiteral("Imprimir [F7]"), QStringLiteral("#45A3CE"), this);
    Rct_Bt_UpLoad = botao(QStringLiteral("Rct_Bt_UpLoad"), QStringLiteral("Enviar [F8]"),
                          QStringLiteral("#2E9E4F"), this);
    auto* botoes = new QHBoxLayout;
    botoes->setSpacing(8);
    for (QPushButton* b :
         {Rct_Bt_EdtVenda, Rct_Bt_DelVenda, Rct_Bt_Entregador, Rct_Bt_PrintVenda, Rct_Bt_UpLoad})
        botoes->addWidget(b);
    direita->addLayout(botoes);

    connect(Bt_Vendas_List, &QPushButton::clicked, this, [this] { Venda_Lista_Listar(); });
    connect(Rct_Bt_EdtVenda, &QPushButton::clicked, this, [this] { Img_Bt_EdtVendaClick(); });
    connect(Rct_Bt_DelVenda, &QPushButton::clicked, this, [this] { Rct_Bt_DelVendaClick(); });
    connect(Rct_Bt_Entregador, &QPushButton::clicked, this, [this] { Rct_Bt_EntregadorClick(); });
    connect(Rct_Bt_PrintVenda, &QPushButton::clicked, this, [this] { Rct_Bt_PrintVendaClick(); });
    connect(Rct_Bt_UpLoad, &QPushButton::clicked, this, [this] { Venda_Lista_UpLoadBt(); });
    connect(Circ_Cupom_Print, &QPushButton::clicked, this, [this] {
        std::optional<TLista_Selecao> selecao;
        if (const TLista_Linha* l = Selecionada()) selecao = TLista_Selecao{l->tag, l->detalhe};
        Circ_Cupom_PrintClick(m_principal.DModule(), m_principal.Config, selecao,
                              Impressao_Nuvem());
    });

    // The preview composes the receipt as a print would, without printing it, and shows
    // the file it wrote.
    Compor_Cupom = [this](const TLista_Linha& linha, QStringList& linhas) {
        return Impressao_Previa(m_principal.DModule(), m_principal.Config,
                                {linha.tag, linha.detalhe}, Impressao_Nuvem(), linhas);
    };
}

TLista_Tab::~TLista_Tab() = default;

TImpressao_Nuvem TLista_Tab::Impressao_Nuvem() {
    auto web = [this] {
        TDModule& dm = m_principal.DModule();
        return TImpressao_Web{m_principal.Config, m_principal.WebAPI_URL, dm.Sistema_DirName,
                              dm.Pasta_Empresa(m_principal.Config)};
    };
    TImpressao_Nuvem n;
    n.Imprime_Cupom_NaoFiscal_WEB = [web](qint32 id, bool imprimir) {
        return ::Imprime_Cupom_NaoFiscal_WEB(web(), id, imprimir);
    };
    n.Imprime_Lista_Entrega_WEB = [this, web](qint32 id, bool imprimir) {
        return ::Imprime_Lista_Entrega_WEB(web(), id, imprimir, Dt_Venda_Busca->date());
    };
    n.Imprime_Relatorio_GerencialWEB = [web](const QDate& dia) {
        ::Imprime_Relatorio_GerencialWEB(web(), dia);
    };
    n.Imprime_Cupom_Pedido001 = [this](qint32 id) { Imprime_Cupom_Pedido001(id); };
    return n;
}

void TLista_Tab::Imprime_Cupom_Pedido001(qint32 Venda_ID) {
    const QString url = Imprime_Cupom_Pedido001_Endereco(m_principal.DModule().FDConnection1,
                                                         m_principal.Config.Emp_ID, Venda_ID,
                                                         QDate::currentDate());
    m_principal.Web().Abrir_URL(QUrl(url));
    m_principal.Mostrar_Aba(m_principal.Tab_WebBrozer);
}

void TLista_Tab::Criar_Barra() {
    Dt_Venda_Busca = new QDateEdit(QDate::currentDate(), this);
    Dt_Venda_Busca->setObjectName(QStringLiteral("Dt_Venda_Busca"));
    Dt_Venda_Busca->setCalendarPopup(true);
    Dt_Venda_Busca->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    Dt_Venda_Busca->setMinimumHeight(44);
    Edt_Venda_Busca = new QComboBox(this);
    Edt_Venda_Busca->setObjectName(QStringLiteral("Edt_Venda_Busca"));
    Edt_Venda_Busca->setEditable(true);
    Edt_Venda_Busca->setInsertPolicy(QComboBox::NoInsert);
    Edt_Venda_Busca->setMinimumHeight(44);
    Edt_Venda_Busca->lineEdit()->setPlaceholderText(
        QStringLiteral("Cliente, vendedor, entregador ou número da venda"));
    Edt_Venda_Busca->lineEdit()->installEventFilter(this);
    Bt_Vendas_List = botao(QStringLiteral("Bt_Vendas_List"), QStringLiteral("Buscar [F2]"),
                           QStringLiteral("#45A3CE"), this);
    for (QWidget* w : {static_cast<QWidget*>(Dt_Venda_Busca), static_cast<QWidget*>(Edt_Venda_Busca),
                       static_cast<QWidget*>(Edt_Venda_Busca->lineEdit())}) {
        QFont f = w->font();
        f.setPointSize(14);
        w->setFont(f);
    }
    connect(Dt_Venda_Busca, &QDateEdit::dateChanged, this, [this] {
        if (!m_listando) Venda_Lista_Listar();
    });
}

void TLista_Tab::Criar_Visualizacao(QWidget* pai) {
    VertScrollBox1 = new QScrollArea(pai);
    VertScrollBox1->setObjectName(QStringLiteral("VertScrollBox1"));
    VertScrollBox1->setWidgetResizable(true);
    VertScrollBox1->setFrameShape(QFrame::NoFrame);
    auto* conteudo = new QWidget(VertScrollBox1);
    conteudo->setObjectName(QStringLiteral("VertScrollBox1_Conteudo"));
    auto* l = new QVBoxLayout(conteudo);
    l->setContentsMargins(0, 0, 0, 0);
    Lyt_Cupom2 = new QFrame(conteudo);
    Lyt_Cupom2->setObjectName(QStringLiteral("Lyt_Cupom2"));
    Lyt_Cupom2->setStyleSheet(
        QStringLiteral("#Lyt_Cupom2 { background: white; border: 1px solid #D0D5D8; }"));
    auto* lc = new QVBoxLayout(Lyt_Cupom2);
    lc->setContentsMargins(0, 10, 0, 60);
    auto* titulo = new QHBoxLayout;
    titulo->setContentsMargins(25, 0, 15, 0);
    auto* lab = new QLabel(QString::fromUtf8("Pré-Visualização"), Lyt_Cupom2);
    lab->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold; color: #2C3E50;"));
    titulo->addWidget(lab, 1);
    Circ_Cupom_Print = new QPushButton(Lyt_Cupom2);
    Circ_Cupom_Print->setIcon(icone_impressora());
    Circ_Cupom_Print->setIconSize(QSize(26, 26));
    Circ_Cupom_Print->setObjectName(QStringLiteral("Circ_Cupom_Print"));
    Circ_Cupom_Print->setToolTip(QStringLiteral("Imprimir o cupom [F7]"));
    Circ_Cupom_Print->setCursor(Qt::PointingHandCursor);
    Circ_Cupom_Print->setFocusPolicy(Qt::NoFocus);
    Circ_Cupom_Print->setFixedSize(44, 44);
    Circ_Cupom_Print->setStyleSheet(
        QStringLiteral("QPushButton { background: #F5F5F5; border: 1px solid #D0D5D8;"
                       " border-radius: 22px; }"
                       "QPushButton:hover { background: #FFB63E; }"));
    titulo->addWidget(Circ_Cupom_Print);
    lc->addLayout(titulo);
    lc->addSpacing(40);
    Lbx_Vendas_ListCup = new QListWidget(Lyt_Cupom2);
    Lbx_Vendas_ListCup->setObjectName(QStringLiteral("Lbx_Vendas_ListCup"));
    Lbx_Vendas_ListCup->setSelectionMode(QAbstractItemView::NoSelection);
    Lbx_Vendas_ListCup->setFocusPolicy(Qt::NoFocus);
    Lbx_Vendas_ListCup->setFrameShape(QFrame::NoFrame);
    Lbx_Vendas_ListCup->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Lbx_Vendas_ListCup->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Lbx_Vendas_ListCup->setFont(Fonte_Courier(14, false));
    Lbx_Vendas_ListCup->setContentsMargins(25, 0, 0, 0);
    lc->addWidget(Lbx_Vendas_ListCup);
    l->addWidget(Lyt_Cupom2);
    Lab_Lista_Vazia = new QLabel(QStringLiteral("Selecione uma venda para ver o cupom."), conteudo);
    Lab_Lista_Vazia->setObjectName(QStringLiteral("Lab_Lista_Vazia"));
    Lab_Lista_Vazia->setAlignment(Qt::AlignCenter);
    Lab_Lista_Vazia->setStyleSheet(QStringLiteral("color: #808080; font-size: 14pt;"));
    l->addWidget(Lab_Lista_Vazia);
    l->addStretch(1);
    VertScrollBox1->setWidget(conteudo);
    Lyt_Cupom2->hide();
}

const TLista_Linha* TLista_Tab::Selecionada() const {
    const QModelIndex i = Lbx_Vendas_Lista->currentIndex();
    return i.isValid() && m_modelo->Tem(i.row()) ? &m_modelo->Linha(i.row()) : nullptr;
}

void TLista_Tab::Selecionar(int row) {
    Lbx_Vendas_Lista->setCurrentIndex(m_modelo->index(row, 0));
}

void TLista_Tab::Focar_Lista() {
    Lbx_Vendas_Lista->setFocus();
}

void TLista_Tab::Reiniciar() {
    m_listando = true;
    Dt_Venda_Busca->setDate(QDate::currentDate());
    Edt_Venda_Busca->setEditText(QString());
    m_listando = false;
}

void TLista_Tab::Venda_Lista_Listar() {
    TDModule& dm = m_principal.DModule();
    m_listando = true;
    struct Fim {
        bool& f;
        ~Fim() { f = false; }
    } fim{m_listando};

    const QString texto = Edt_Venda_Busca->currentText();
    Edt_Venda_Busca->clear();
    Edt_Venda_Busca->addItems(Venda_Lista_Funcionarios(dm.FDConnection1));
    Edt_Venda_Busca->setCurrentIndex(-1);
    Edt_Venda_Busca->setEditText(texto);

    Lyt_Cupom2->hide();
    Lbx_Vendas_ListCup->clear();
    Lab_Lista_Vazia->show();

    const QDate dia = Dt_Venda_Busca->date();
    QList<TLista_Linha> linhas =
        Venda_Lista_Locais(dm.FDConnection1, dia, m_principal.Config.conf_Mask_Decimal);
    try {
        Venda_Lista_WebAPI(m_principal.Config, m_principal.WebAPI_URL, texto, dia, linhas);
        m_principal.ConexaoWeb = true;
    } catch (const WebAPIError&) {
        // Off-line: the local rows, and the cloud rows read before the failure, stay.
        m_principal.ConexaoWeb = false;
    }
    m_modelo->Definir(std::move(linhas));
    if (m_modelo->rowCount() > 0) Selecionar(0);
}

void TLista_Tab::Linha_Atual_Mudou() {
    if (m_listando) return;
    Venda_Lista_Visualizar(Selecionada());
}

void TLista_Tab::Venda_Lista_Visualizar(const TLista_Linha* linha) {
    Rct_Bt_DelVenda->show();
    Rct_Bt_EdtVenda->show();
    if (linha) {
        const QString d = linha->detalhe.trimmed();
        if (!d.isEmpty() && d != QStringLiteral("Entregador")) {
            Rct_Bt_DelVenda->hide();
            Rct_Bt_EdtVenda->hide();
        }
    }
    Lbx_Vendas_ListCup->setUpdatesEnabled(false);
    Lyt_Cupom2->hide();
    VertScrollBox1->show();
    Lbx_Vendas_ListCup->clear();
    Lab_Lista_Vazia->show();
    QStringList linhas;
    bool composto = false;
    if (linha && linha->tag > 0 && Compor_Cupom) {
        try {
            composto = Compor_Cupom(*linha, linhas);
        } catch (const Error&) {
            composto = false; // a preview that fails shows nothing
        } catch (const Abort&) {
            composto = false;
        }
    }
    if (composto) {
        for (int i = 0; i < linhas.size(); ++i) {
            auto* item = new QListWidgetItem(linhas[i], Lbx_Vendas_ListCup);
            item->setFlags(Qt::ItemIsEnabled);
            item->setFont(Lbx_Vendas_ListCup->font());
            item->setSizeHint(QSize(0, 20));
            item->setData(Qt::UserRole, i);
        }
        Lyt_Cupom2->setFixedHeight(20 * int(linhas.size()) + 150);
        Lyt_Cupom2->show();
        Lab_Lista_Vazia->hide();
    }
    Lbx_Vendas_ListCup->setUpdatesEnabled(true);
}

void TLista_Tab::Img_Bt_EdtVendaClick() {
    const TLista_Linha* l = Selecionada();
    if (!l) {
        MessageBox::ShowMessage(SELECIONE);
        return;
    }
    const QString codigo = Venda_Lista_Codigo_Reabrir(m_principal.DModule().FDConnection1, *l);
    TVendas_Tab& vendas = m_principal.Vendas();
    vendas.Venda_Abre_Doc(codigo);
    m_principal.Mostrar_Aba(m_principal.Tab_Vendas);
    vendas.Cupom_Busca();
}

void TLista_Tab::Rct_Bt_DelVendaClick() {
    const TLista_Linha* l = Selecionada();
    if (!l) {
        MessageBox::ShowMessage(SELECIONE);
        return;
    }
    // Only this terminal's own rows are deleted: the tag of a cloud row or a header is
    // no local sale id.
    if (l->tipo == TLista_Tipo::Entregador) return;
    const qint32 status = l->tipo == TLista_Tipo::Local
                              ? Venda_Lista_Status(m_principal.DModule().FDConnection1, l->tag)
                              : 1;
    if (status == 1) {
        MessageBox::ShowMessage(QStringLiteral("Vendas que já foram enviadas para o servidor não "
                                               "podem ser excluídas do terminal!"));
        return;
    }
    m_principal.Vendas().Venda_Excluir(l->tag);
    Venda_Lista_Listar();
}

void TLista_Tab::Rct_Bt_EntregadorClick() {
    const TLista_Linha* l = Selecionada();
    if (!l) {
        MessageBox::ShowMessage(SELECIONE);
        return;
    }
    if (l->tipo == TLista_Tipo::Entregador) return;
    // The cloud account knows its own sale ids only: a sale still here is sent first.
    if (l->tipo == TLista_Tipo::Local) {
        MessageBox::ShowMessage(QStringLiteral(
            "Envie a venda para o servidor antes de escolher o entregador."));
        return;
    }
    const qint32 venda_id = l->tag;
    TFuncionarios_Lista lista(m_principal.DModule(), window());
    lista.exec();
    if (lista.Funcionario_ID > 0)
        Entregador_Update_WEB(m_principal.Config, m_principal.WebAPI_URL, venda_id,
                              lista.Funcionario_ID);
    Venda_Lista_Listar();
}

void TLista_Tab::Rct_Bt_PrintVendaClick() {
    const std::optional<int> escolha = TPrint_Options::Escolher(
        m_print_options, m_principal.DModule().Sistema_DirName, window());
    if (!escolha) return;
    TLista_Selecao selecao;
    if (const TLista_Linha* l = Selecionada()) selecao = {l->tag, l->detalhe};
    Imprime_Escolha(*escolha, m_principal.DModule(), m_principal.Config, m_principal.ConexaoWeb,
                    selecao, Dt_Venda_Busca->date(), Impressao_Nuvem());
}

void TLista_Tab::Venda_Lista_UpLoadBt() {
    const TLista_Linha* l = Selecionada();
    if (!l) {
        MessageBox::ShowMessage(SELECIONE);
        return;
    }
    if (l->tipo != TLista_Tipo::Local) {
        MessageBox::ShowMessage(QStringLiteral("Esta venda já está no servidor."));
        return;
    }
    const TUpload_Resultado r = Venda_Lista_UpLoad(m_principal, l->tag);
    if (r.Enviada) Venda_Lista_Listar();
    // The reply page, where the operator reads what the account said.
    m_principal.Mostrar_Aba(m_principal.Tab_WebBrozer);
}

bool TLista_Tab::FormKeyUp(int key) {
    switch (key) {
    case Qt::Key_F2:
        Venda_Lista_Listar();
        return true;
    case Qt::Key_F3:
        Img_Bt_EdtVendaClick();
        return true;
    case Qt::Key_F4:
        if (Rct_Bt_DelVenda->isVisible()) Rct_Bt_DelVendaClick();
        return true;
    case Qt::Key_F6:
        Rct_Bt_EntregadorClick();
        return true;
    case Qt::Key_F7:
        Rct_Bt_PrintVendaClick();
        return true;
    case Qt::Key_F8:
        Venda_Lista_UpLoadBt();
        return true;
    default:
        return false;
    }
}

bool TLista_Tab::eventFilter(QObject* watched, QEvent* event) {
    if (Edt_Venda_Busca && watched == Edt_Venda_Busca->lineEdit() &&
        event->type() == QEvent::KeyRelease) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            Venda_Lista_Listar();
            return true;
        }
    }
    if (Lbx_Vendas_Lista && watched == Lbx_Vendas_Lista->viewport() &&
        event->type() == QEvent::MouseButtonRelease) {
        // A click on the picture of a sale not yet sent uploads it.
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex i = Lbx_Vendas_Lista->indexAt(pos);
        const TLista_Linha* l =
            i.isValid() && m_modelo->Tem(i.row()) ? &m_modelo->Linha(i.row()) : nullptr;
        if (l && l->tipo == TLista_Tipo::Local &&
            VendasListaDelegate::Area_Figura(Lbx_Vendas_Lista->visualRect(i)).contains(pos)) {
            Venda_Lista_UpLoadBt();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
