// The sale's life and the item entry of the sale tab: each operation runs the sale
// core's statements and shows the result.

#include "Vendas_Tab_Unit.h"

#include "cloud/Imagens_webAPI.h"
#include "foundation/DModule_Unit.h"
#include "foundation/MessageBox.h"
#include "foundation/QueloUtil_Unit.h"
#include "sale/Cupom_Lista.h"
#include "sale/Principal_Unit.h"
#include "sale/Produtos_Lista_Unit.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>

namespace {

const char* ESTILO_QTD_NORMAL = "QLineEdit { font-size: 24px; padding: 6px; border: 2px solid "
                                "white; border-radius: 6px; background: #FFFFFF; }";
const char* ESTILO_QTD_ACIMA = "QLineEdit { font-size: 24px; padding: 6px; border: 2px solid "
                               "red; border-radius: 6px; background: #F08080; }";

} // namespace

// ---- The sale's life -------------------------------------------------------------------

void TVendas_Tab::Venda_Nova() {
    TVenda& v = V();
    db::Connection& c = m_principal.DModule().FDConnection1;
    v.Venda_ID = 0;
    v.Venda_COD.clear();
    v.Entregador_ID = 0;
    Lab_Cupom_Title->setText(QStringLiteral("Produtos"));
    Edt_Prod_Valor->setEnabled(Config().conf_altvalor == 1);

    // An open sale is always resumed, never duplicated.
    if (const qint32 aberta = VendaDB::Aberta(c); aberta > 0) {
        Venda_Abre(aberta);
    } else {
        v.Venda_ID = VendaDB::Proximo_ID(c);
        v.Venda_COD = Venda_Codigo_Novo(Config().Vendedor_ID, v.Venda_ID);
        v.Venda_Dt_Venda = QDate::currentDate();
        try {
            VendaDB::Inserir(c, v.Venda_ID, v.Venda_COD, v.Venda_Dt_Venda);
        } catch (const DbError&) {
            // Not reported: the screen shows the number; the items will tell.
        }
        m_principal.Mostrar_Aba(m_principal.Tab_Vendas);
    }
    // Resuming cleared the screen to "Caixa Livre"; the sale is open again.
    Lab_Cupom_Title->setText(QStringLiteral("Produtos"));
    Lab_Cupom_VendNum->setText(v.Venda_COD);
    Cupom_Busca();
}

void TVendas_Tab::Venda_Abre(qint32 id) {
    Venda_Limpar();
    if (!VendaDB::Carregar(m_principal.DModule().FDConnection1, id, V())) return;
    Lab_Cupom_VendNum->setText(V().Venda_COD);
}

void TVendas_Tab::Venda_Abre_Doc(const QString& venda_cod) {
    Venda_Limpar();
    const qint32 id = VendaDB::ID_Por_Codigo(m_principal.DModule().FDConnection1, venda_cod);
    if (id > 0) Venda_Abre(id);
}

void TVendas_Tab::Venda_Limpar() {
    Lab_Cupom_Title->setText(QStringLiteral("Caixa Livre"));
    if (m_principal.Aba_Atual() != m_principal.Tab_Vendas)
        m_principal.Mostrar_Aba(m_principal.Tab_Vendas);
    Venda_Limpar_Campos(V(), QDate::currentDate());
    Produto_Limpa();
    Lab_Cupom_VendNum->clear();
    Lab_Cupom_Total->setText(QStringLiteral("0,00"));
    Lab_Cupom_Desc->clear();
    Lab_Cupom_Desc->hide();
    m_cupom->Limpar();
    Btn_Prod_Delete->hide();
    BuscaIMG(QStringLiteral("empresas"), 1, false);
    m_principal.DSet_Cartao.Clear();
}

void TVendas_Tab::Venda_Finaliza() {
    if (V().Venda_ID > 0 && StringToFloat(Lab_Cupom_Total->text()) > 0 &&
        m_principal.Ganchos_.Finalizacao)
        m_principal.Ganchos_.Finalizacao();
}

void TVendas_Tab::Venda_Cancelar() {
    if (V().Venda_ID <= 0) return;
    if (!MessageBox::Confirm(QStringLiteral("Deseja Realmente CANCELAR esta venda?"))) return;
    Btn_Prod_Delete->hide();
    VendaDB::Cancelar(m_principal.DModule().FDConnection1, V().Venda_ID);
    Venda_Limpar();
    V().Plano_Nome.clear();
    Cupom_Busca();
}

void TVendas_Tab::Venda_Excluir(qint32 id) {
    if (!MessageBox::Confirm(QStringLiteral("Deseja Realmente EXCLUIR esta venda?"))) return;
    VendaDB::Excluir(m_principal.DModule().FDConnection1, id);
    if (m_principal.Ganchos_.Lista_Atualizar) m_principal.Ganchos_.Lista_Atualizar();
}

// ---- Product lookup --------------------------------------------------------------------

void TVendas_Tab::Limpar_Rotulos_Entrada() {
    for (QLabel* l : {Lab_Prod_Nome, Lab_Prod_CBarra, Lab_Prod_Medida, Lab_Prod_Unitario,
                      Lab_Prod_Quant, Lab_Prod_Desc, Lab_Prod_Total})
        l->clear();
    Circ_ProdIMG->clear();
}

void TVendas_Tab::Produto_Busca(const QString& texto) {
    if (V().Venda_ID <= 0) Venda_Nova();
    const QString T = texto.trimmed();
    const QList<TProduto> achados =
        Produto_Pesquisar(m_principal.DModule().FDConnection1, T, Config().conf_balanca_qtdcod);
    TProdutoEntrada& p = P();
    const QString mascara = Mascara();

    if (achados.isEmpty()) {
        Limpar_Rotulos_Entrada();
        p.Prod_Venda = 0;
        p.Prod_Total = 0;
        return;
    }
    if (achados.size() >= 2 && p.Prod_ID == 0) {
        // Several products: the operator chooses in the product list.
        Limpar_Busca();
        TProdutos_Lista& lista = m_principal.Produtos_Lista();
        lista.Definir_Busca(texto);
        lista.exec();
        if (!lista.C_Barra.isEmpty()) {
            Edt_Prod_Busca->setEditText(lista.C_Barra);
            Produto_Busca(lista.C_Barra);
            throw Abort();
        }
    } else {
        const TProduto& achado = achados.first();
        Produto_Carregar(p, achado);
        Lab_Prod_Nome->setText(achado.produto);
        Lab_Prod_CBarra->setText(achado.cbarra);
        Lab_Prod_Medida->setText(achado.medida);
        Lab_Prod_Unitario->setText(FormatFloat(mascara, p.Prod_Venda));
        Edt_Prod_Valor->setText(Lab_Prod_Unitario->text());
        Edt_Prod_Busca->setEditText(achado.produto);
        Lab_Prod_Quant->setText(FormatFloat(mascara, p.Prod_Quant));
        Edt_Prod_Qtd->setText(Lab_Prod_Quant->text());
        Lab_Prod_Desc->setText(QStringLiteral("0,00"));

        if (Produto_Etiqueta_Balanca(achado, T, Config().conf_balanca_qtdcod)) {
            const double n =
                balanca_valorpeso(T, Config().conf_balanca_qtdcod, Config().conf_balanca_qtdval);
            if (Config().conf_balanca_tipo.toLower() == QLatin1String("valor")) {
                p.Prod_Venda = n;
                p.Prod_Venda_Old = n;
                Lab_Prod_Unitario->setText(FormatFloat(mascara, n));
                Edt_Prod_Valor->setText(Lab_Prod_Unitario->text());
            } else {
                p.Prod_Quant = n;
            }
        }
        Produto_Calc();
        Focar_Busca();
        if (Config().conf_prod_img) Produto_BuscaIMG(Lab_Prod_CBarra->text(), false);
        if (p.Prod_Promo > 0) {
            Lab_Prod_Promo->setText(Produto_Promo_Texto(p, mascara));
            Lyt_Promo->show();
        }
    }
    m_principal.raise();
    m_principal.activateWindow();
    Focar_Caixa_Seguinte();
}

void TVendas_Tab::Produto_Calc() {
    Edt_Prod_Qtd->setStyleSheet(QString::fromLatin1(ESTILO_QTD_NORMAL));
    Lab_Prod_Quant->setStyleSheet(Lab_Prod_Medida->styleSheet() +
                                  QStringLiteral("font-size: 28px; font-weight: bold;"));
    const TProdutoCalculo c = ::Produto_Calc(P(), Mascara(), QDateTime::currentDateTime());
    Lab_Prod_Unitario->setText(c.Lab_Prod_Unitario);
    Edt_Prod_Valor->setText(c.Lab_Prod_Unitario);
    Lab_Prod_Quant->setText(c.Lab_Prod_Quant);
    Lab_Prod_Desc->setText(c.Lab_Prod_Desc);
    Lab_Prod_Total->setText(c.Lab_Prod_Total);
    if (c.Acima_Estoque) {
        // The item can still be entered; the red box only warns.
        Edt_Prod_Qtd->setStyleSheet(QString::fromLatin1(ESTILO_QTD_ACIMA));
        Lab_Prod_Quant->setStyleSheet(
            QStringLiteral("font-size: 28px; font-weight: bold; color: red;"));
    }
}

void TVendas_Tab::Produto_Insert() {
    if (V().Venda_ID <= 0) Venda_Nova();
    if (P().Prod_ID == 0) {
        Focar_Busca();
        return;
    }
    ::Produto_Insert(m_principal.DModule().FDConnection1, V().Venda_ID, V().Venda_COD, P(),
                     Mascara(), QDateTime::currentDateTime());
    Produto_Limpa();
    Cupom_Busca();
}

void TVendas_Tab::Produto_Limpa() {
    Edt_Prod_Qtd->setStyleSheet(QString::fromLatin1(ESTILO_QTD_NORMAL));
    P() = TProdutoEntrada{};
    P().Prod_Dt_Promo = QDateTime::currentDateTime();
    Limpar_Rotulos_Entrada();
    Limpar_Busca();
    Edt_Prod_Qtd->clear();
    Edt_Prod_Valor->clear();
    Lyt_Promo->hide();
    Focar_Busca();
}

void TVendas_Tab::Produto_Consulta() {
    TProdutos_Lista& lista = m_principal.Produtos_Lista();
    lista.Definir_Busca(QString());
    lista.exec();
    if (!lista.C_Barra.isEmpty()) Edt_Prod_Busca->setEditText(lista.C_Barra);
    Focar_Busca();
}

// ---- The item list ---------------------------------------------------------------------

void TVendas_Tab::Cupom_Busca() {
    Btn_Prod_Delete->hide();
    m_principal.Sincronia_Animacao(false);
    Lbx_Cupom->show();
    QList<TItemCupom> itens = Cupom_Itens(m_principal.DModule().FDConnection1, V().Venda_ID);
    V().Venda_Produtos = Cupom_Soma(itens);
    m_cupom->Definir(std::move(itens), Mascara());
    Lab_Cupom_Total->setText(FormatFloat(Mascara(), V().Venda_Produtos - V().Venda_Desconto));
    if (V().Venda_Desconto > 0) {
        Lab_Cupom_Desc->setText(QStringLiteral("Desc: R$ ") +
                                FormatFloat(Mascara(), V().Venda_Desconto));
        Lab_Cupom_Desc->show();
    } else {
        Lab_Cupom_Desc->clear();
        Lab_Cupom_Desc->hide();
    }
    if (m_cupom->rowCount() > 0) {
        const QModelIndex ultima = m_cupom->index(m_cupom->rowCount() - 1);
        Lbx_Cupom->setCurrentIndex(ultima);
        Lbx_Cupom->scrollTo(ultima);
    }
}

void TVendas_Tab::Btn_Prod_DeleteClick() {
    if (m_cupom->rowCount() == 0) return;
    if (!MessageBox::Confirm(QStringLiteral("Deseja Realmente EXCLUIR este item?"))) return;
    const qint64 id = Btn_Prod_Delete->isVisible()
                          ? Btn_Prod_Delete->property("item_id").toLongLong()
                          : Item_Selecionado();
    if (id <= 0) return;
    V().Venda_Desconto = Cupom_Remover_Item(m_principal.DModule().FDConnection1, V().Venda_ID, id,
                                            V().Venda_Desconto, V().Venda_Produtos);
    Cupom_Busca();
}

// ---- Pictures --------------------------------------------------------------------------

void TVendas_Tab::Mostrar_Imagem(const QImage& img) {
    // Round, as its frame is: the corners of a square picture would stand out of it.
    const QSize lado = Circ_ProdIMG->size();
    QPixmap redonda(lado);
    redonda.fill(Qt::transparent);
    QPainter p(&redonda);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath circulo;
    circulo.addEllipse(QRectF(QPointF(0, 0), QSizeF(lado)));
    p.setClipPath(circulo);
    const QImage ajustada = img.scaled(lado, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage((lado.width() - ajustada.width()) / 2, (lado.height() - ajustada.height()) / 2,
                ajustada);
    p.end();
    Circ_ProdIMG->setPixmap(redonda);
}

void TVendas_Tab::Mostrar_Imagem(const QString& arquivo) {
    QImage img;
    if (!img.load(arquivo)) return; // a broken or missing picture leaves the old one
    Mostrar_Imagem(img);
}

void TVendas_Tab::Carregar_Imagem(const QString& arquivo, const QString& tabela, qint64 id,
                                  bool atualizar) {
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    if ((atualizar || !QFileInfo::exists(arquivo)) && DonwLoad_Imagens) {
        try {
            const QString url = DonwLoad_Imagens(tabela, id);
            if (!url.isEmpty()) {
                // A fresh picture: an empty reply must not pass the one on screen, which
                // may be another record's, off as this record's file.
                QImage img;
                TImageViewerHelper::LoadFromURL(img, url, 200, 200);
                if (img.isNull()) return;
                Mostrar_Imagem(img);
                // Written aside and renamed: a failed write keeps the old file whole.
                QSaveFile f(arquivo);
                if (f.open(QIODevice::WriteOnly) && img.save(&f, "PNG")) f.commit();
                return;
            }
        } catch (const std::exception&) {
            return; // every failure leaves the picture as it was
        }
    }
    Mostrar_Imagem(arquivo);
}

void TVendas_Tab::Produto_BuscaIMG(const QString& cbarra, bool atualizar) {
    Carregar_Imagem(Imagem_Produto_Arquivo(m_principal.DModule().Pasta_Empresa(Config()), cbarra),
                    QStringLiteral("produtos"), P().Prod_ID, atualizar);
}

void TVendas_Tab::BuscaIMG(const QString& tabela, qint64 id, bool atualizar) {
    Carregar_Imagem(Imagem_Arquivo(m_principal.DModule().Pasta_Empresa(Config()), tabela, id),
                    tabela, id, atualizar);
}
