#pragma once

#include "sale/Produto_Core.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// The product list's search: the id or barcode for a text of digits (fewer than 9),
// only the barcode for 9 digits or more, otherwise a piece of the name or of the brand.
// The text is bound, never pasted: a quote, "%" and "_" match themselves. At most 80
// rows, in the sort order of the settings (see Produtos_Lista_OrderBy). An empty or
// blank text gives no rows.
QList<TProduto> Produtos_Lista_Pesquisar(db::Connection& c, const QString& texto,
                                         const QString& conf_Buscar_OrderBy);

// The ORDER BY of the product list. The setting is pasted into the statement, so only
// column names of produtos (colunas), each with an optional asc/desc, separated by
// commas, get through; anything else, an empty setting and plain "estoque" give
// "estoque desc". Names and directions come back as the table and lower case spell them.
QString Produtos_Lista_OrderBy(const QString& conf_Buscar_OrderBy, const QStringList& colunas);

// The texts of one row of the product list.
QString Produtos_Lista_Linha1(const TProduto& p); // the name in upper case
QString Produtos_Lista_Linha2(const TProduto& p); // "CÓDIG: 42             | C. BARRA: 789"
QString Produtos_Lista_Linha3(const TProduto& p); // "MARCA: ...            | EST: 2,5"
QString Produtos_Lista_Linha4(const TProduto& p); // "GRUPO: ..."
QString Produtos_Lista_Preco(const TProduto& p);  // "1.234,50"
// "Desc [5,00%]  9,50": the price with the optional discount; empty when it is 0 or less.
QString Produtos_Lista_Desconto(const TProduto& p, double conf_DescOpcional);
// Lines 2 to 4 are painted red when there is no stock left.
bool Produtos_Lista_Sem_Estoque(const TProduto& p);

struct TFuncionario {
    qint32 id = 0;
    QString nome;
};

// The couriers to choose from: the first 50 employees in name order.
QList<TFuncionario> Funcionarios_Lista(db::Connection& c);
