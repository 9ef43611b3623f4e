// Speed of the sale screen on a large catalogue: a barcode scan from Enter until the item
// is in the list and the total is shown, and the searches by name.
//
//     build/bench/bench_venda [scans]

#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "sale/Listas_Core.h"
#include "sale/Produto_Core.h"
#include "sale/Vendas_Tab_Unit.h"
#include "widgets/Application.h"

#include "support/Balcao.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int PRODUTOS = 100000;
constexpr int ITENS = 1000;

struct Figuras {
    double mediana, p90, maximo;
};

Figuras medir(int vezes, const std::function<void(int)>& acao) {
    std::vector<double> ms;
    ms.reserve(vezes);
    for (int i = 0; i < vezes; ++i) {
        QElapsedTimer t;
        t.start();
        acao(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back()};
}

void mostrar(const char* nome, const Figuras& f) {
    std::printf("%-48s median %7.2f ms   p90 %7.2f ms   max %7.2f ms\n", nome, f.mediana, f.p90,
                f.maximo);
}

QString cbarra(int i) {
    return QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0'));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says at every scan that it cannot raise a window.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (!m.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(m));
    });
    Application app(argc, argv);
    const int scans = argc > 1 ? std::max(10, atoi(argv[1])) : 300;

    QElapsedTimer preparo;
    preparo.start();
    Balcao b(
        [](TSettings& s) {
            s.conf_prod_qtd = false; // Enter in the search box enters the item
            s.conf_prod_valor = false;
        },
        [](db::Connection& c) { Balcao::Catalogo_Grande(c, PRODUTOS); });
    TVendas_Tab& v = b.w().Vendas();
    v.Venda_Nova();
    {
        // An open sale of 1,000 items.
        db::Connection& c = b.dm().FDConnection1;
        db::Transaction t(c);
        db::Query q(c);
        q.setSql(QStringLiteral(
            "insert into venda_produtos (venda_id, venda_cod, prod_id, produto, prod_cbarra,"
            " prod_medida, prod_venda, prod_qtd, prod_total, prod_geral) values (:venda_id,"
            " :venda_cod, :prod_id, :produto, :prod_cbarra, 'UN', 2, 1, 2, 2)"));
        for (int i = 1; i <= ITENS; ++i) {
            q.bind(QStringLiteral(":venda_id"), b.w().Venda.Venda_ID);
            q.bind(QStringLiteral(":venda_cod"), b.w().Venda.Venda_COD);
            q.bind(QStringLiteral(":prod_id"), i);
            q.bind(QStringLiteral(":produto"), QStringLiteral("Produto %1").arg(i));
            q.bind(QStringLiteral(":prod_cbarra"), cbarra(i));
            q.exec();
        }
        t.commit();
    }
    v.Cupom_Busca();
    std::printf("catalogue of %d products, open sale of %d items (set up in %.1f s)\n\n", PRODUTOS,
                ITENS, preparo.elapsed() / 1000.0);

    // The scan: the barcode typed into the search box at once (a scanner's burst is
    // not what we time), then Enter down and up, until the list and total are shown.
    QComboBox* busca = v.Edt_Prod_Busca;
    const Figuras scan = medir(scans, [&](int i) {
        v.Focar_Busca();
        busca->setEditText(cbarra(1 + (i * 7919) % PRODUTOS));
        QTest::keyClick(busca, Qt::Key_Return);
        v.Lbx_Cupom->viewport()->repaint();
        v.Lab_Cupom_Total->repaint();
    });
    const int linhas = v.Lbx_Cupom->model()->rowCount();
    if (linhas != ITENS + scans) {
        std::fprintf(stderr, "bench: the list holds %d rows, not %d\n", linhas, ITENS + scans);
        return 1;
    }
    mostrar("barcode scan, Enter to list and total shown", scan);

    db::Connection& c = b.dm().FDConnection1;
    mostrar("name search, sale screen statement", medir(50, [&](int i) {
                Produto_Pesquisar(c, QStringLiteral("Produto %1").arg(50000 + i), 7);
            }));
    mostrar("name search, product list (LIMIT 80, sorted)", medir(50, [&](int i) {
                Produtos_Lista_Pesquisar(c, QStringLiteral("uto %1").arg(5 + i % 5),
                                         QStringLiteral("estoque desc, produto"));
            }));
    MessageBox::clearShown();
    return 0;
}
