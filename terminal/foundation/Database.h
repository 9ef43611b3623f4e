#pragma once

#include "Errors.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <mutex>
#include <unordered_set>

struct sqlite3;
struct sqlite3_stmt;
class QThread;

// A small query layer over the SQLite C API. A connection belongs to the thread that
// opened it; every thread that touches the database opens its own. Failures throw
// DbError with SQLite's message.
//
// Query objects may outlive a close() or a reconnect of their connection: closing
// finalizes their statements and they prepare again, on the new file, when next run.
//
// Storage forms: dates "YYYY-MM-DD", date-times "YYYY-MM-DD HH:MM:SS" (local time).
// NOW() is registered on every connection and yields the current date-time in that form.

namespace db {

QString dateToText(const QDate& date);
QString dateTimeToText(const QDateTime& dateTime);
// Reads either storage form (a date reads as midnight); an invalid value for
// anything else.
QDate textToDate(const QString& text);
QDateTime textToDateTime(const QString& text);

enum class Journal {
    Delete, // rollback journal: one file, safe to copy as it stands (the shipped database)
    Wal     // write-ahead log (company databases)
};

enum class Sync { Full, Normal };

class Query;

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens (creating if missing) the file, checks that it is a database, sets the
    // busy time-out, journal mode and synchronous level, registers NOW(). An open
    // connection is closed first. Throws DbError and stays closed on failure.
    void open(const QString& path, Journal journal = Journal::Delete, Sync sync = Sync::Full);
    // Finalizes the statements of its queries and closes the file. Throws when called
    // from a thread other than the one that opened it.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }

    // Runs one or more statements without parameters.
    void exec(const QString& sql);
    qint64 lastInsertId() const;
    int changes() const;

    sqlite3* handle() const; // throws when closed or used from another thread

private:
    friend class Query;
    friend class Transaction;
    void closeHandle() noexcept;
    void attach(Query* query);
    void detach(Query* query);

    sqlite3* m_db = nullptr;
    QString m_path;
    QThread* m_thread = nullptr;
    quint64 m_generation = 0; // counts opens, so a guard never touches a later connection
    std::mutex m_queriesLock;
    std::unordered_set<Query*> m_queries;
};

// The value of one column of the current row.
class Field {
public:
    bool isNull() const;
    QString asString() const;
    qint32 asInteger() const;
    qint64 asInt64() const;
    double asFloat() const;
    bool asBoolean() const; // integer other than 0
    QDate asDate() const;
    QDateTime asDateTime() const;
    QVariant value() const;

private:
    friend class Query;
    Field(const Query* query, int column) : m_query(query), m_column(column) {}
    const Query* m_query;
    int m_column;
};

// A statement object used as: close(), setSql() (or clearSql() and addSql() line by
// line), bind the named parameters, then open() and walk with eof()/next(), or exec().
class Query {
public:
    explicit Query(Connection& connection);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void close();
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QString& sql);
    QString sql() const;

    // Named parameters, written with their colon (":id"), compared without regard to
    // case. Binding a name the SQL does not hold throws DbError; so does running a
    // statement with a parameter left without a value. Values are kept until the SQL
    // changes. An invalid date or date-time binds NULL.
    void bind(const QString& name, const QString& value);
    void bind(const QString& name, const char* value);
    void bind(const QString& name, int value);
    void bind(const QString& name, qint64 value);
    void bind(const QString& name, double value);
    void bind(const QString& name, bool value);
    void bind(const QString& name, const QDate& value);
    void bind(const QString& name, const QDateTime& value);
    void bindNull(const QString& name);

    // Runs a statement that yields rows and stands on the first one (from the start
    // again when already open).
    void open();
    bool isOpen() const;
    bool eof() const;
    bool isEmpty() const; // no rows at all
    void next();

    // Runs a statement that yields no rows; returns the rows changed.
    int exec();

    int fieldCount() const;
    QString fieldName(int column) const;
    // Column by name, without regard to case. Throws DbError for an unknown name.
    // Reading a field with no current row throws DbError.
    Field field(const QString& name) const;
    Field field(int column) const;

    // Throws DbError when the connection has been destroyed.
    Connection& connection() const;

private:
    friend class Field;
    friend class Connection;

    struct Value {
        enum Kind { Null, Integer, Real, Text } kind = Null;
        qint64 integer = 0;
        double real = 0;
        QByteArray text;
    };

    sqlite3* handle() const;
    void prepare();
    void readColumns();
    void finalize() noexcept;
    void sqlChanged();
    void setValue(const QString& name, Value value);
    void start();
    [[noreturn]] void fail(const QString& what) const;
    sqlite3_stmt* currentRow() const;

    Connection* m_connection; // null once the connection is destroyed
    QStringList m_sql;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_open = false;
    bool m_eof = true;
    bool m_hadRows = false;
    QHash<QString, int> m_columns;  // lower-cased name -> index
    QSet<QString> m_parameters;     // lower-cased names the statement holds
    QHash<QString, Value> m_values; // lower-cased name -> bound value
};

// Begins a transaction (taking the write lock at once, so that two connections never
// deadlock upgrading read locks); rolls it back on destruction unless commit() was called.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    quint64 m_generation;
    bool m_done = false;
};

} // namespace db
