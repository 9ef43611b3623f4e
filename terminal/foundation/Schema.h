#pragma once

#include <QStringList>

namespace db {
class Connection;
}

// The DDL of the shipped database: every table, its keys and the lookup indexes.
QStringList Schema_DDL();
// Creates every table and index on an open, empty connection, in one transaction.
void Schema_Criar(db::Connection& connection);
