#include "Database.h"

#include <QRegularExpression>
#include <QThread>

#include <sqlite3.h>

#include <limits>

namespace db {

namespace {

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

[[noreturn]] void throwWithSql(const QString& message, const QString& sql) {
    if (sql.trimmed().isEmpty()) throw DbError(message);
    throw DbError(message + QLatin1Char('\n') + sql);
}

// NOW(): the current local date-time in the storage form.
void nowFunction(sqlite3_context* context, int, sqlite3_value**) {
    const QByteArray text = dateTimeToText(QDateTime::currentDateTime()).toUtf8();
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

// Parameters are written with their colon; a bare name gets one.
QString parameterKey(const QString& name) {
    QString key = name.trimmed().toLower();
    if (!key.isEmpty() && key[0] != QLatin1Char(':') && key[0] != QLatin1Char('@') &&
        key[0] != QLatin1Char('$'))
        key.prepend(QLatin1Char(':'));
    return key;
}

} // namespace

// ---- storage forms ----

QString dateToText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString dateTimeToText(const QDateTime& dateTime) {
    if (!dateTime.isValid()) return QString();
    return dateTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

// "YYYY-MM-DD", optionally followed by a time of day "HH:MM[:SS[.fff]]" (also after
// a "T", as SQLite's own date functions accept it).
bool parseStorage(const QString& text, QDate& date, QTime& time) {
    static const QRegularExpression form(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3})\d*)?)?)?$)"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return false;
    date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return false;
    time = QTime(0, 0);
    if (m.hasCaptured(4)) {
        QString millis = m.captured(7);
        while (!millis.isEmpty() && millis.size() < 3)
            millis += QLatin1Char('0');
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                     millis.toInt());
        if (!time.isValid()) return false;
    }
    return true;
}

} // namespace

QDate textToDate(const QString& text) {
    QDate date;
    QTime time;
    return parseStorage(text, date, time) ? date : QDate();
}

QDateTime textToDateTime(const QString& text) {
    QDate date;
    QTime time;
    return parseStorage(text, date, time) ? QDateTime(date, time) : QDateTime();
}

// ---- Connection ----

Connection::~Connection() {
    closeHandle();
    std::lock_guard lock(m_queriesLock);
    for (Query* query : m_queries)
        query->m_connection = nullptr;
    m_queries.clear();
}

void Connection::open(const QString& path, Journal journal, Sync sync) {
    if (m_db) close();
    if (path.trimmed().isEmpty()) throw DbError(QStringLiteral("no database file given"));

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto giveUp = [&](const QString& message) {
        sqlite3_close_v2(db);
        throw DbError(message + QStringLiteral("\n") + path);
    };
    if (rc != SQLITE_OK) {
        giveUp(db ? sqliteMessage(db) : QString::fromUtf8(sqlite3_errstr(rc)));
    }
    sqlite3_busy_timeout(db, 5000);

    // schema_version reads the first page, so a file that is not a database fails here
    // and not at the first statement of some screen.
    const char* setup = journal == Journal::Wal
                            ? "PRAGMA schema_version; PRAGMA journal_mode=WAL;"
                            : "PRAGMA schema_version; PRAGMA journal_mode=DELETE;";
    const char* syncSql =
        sync == Sync::Full ? "PRAGMA synchronous=FULL;" : "PRAGMA synchronous=NORMAL;";
    for (const char* sql : {setup, syncSql}) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            giveUp(sqliteMessage(db));
    }
    if (sqlite3_create_function_v2(db, "NOW", 0, SQLITE_UTF8, nullptr, nowFunction, nullptr,
                                   nullptr, nullptr) != SQLITE_OK)
        giveUp(sqliteMessage(db));

    m_db = db;
    m_path = path;
    m_thread = QThread::currentThread();
    ++m_generation;
}

void Connection::close() {
    if (!m_db) return;
    if (QThread::currentThread() != m_thread)
        throw DbError(QStringLiteral("database connection used from another thread"));
    closeHandle();
}

void Connection::closeHandle() noexcept {
    if (!m_db) return;
    {
        std::lock_guard lock(m_queriesLock);
        for (Query* query : m_queries)
            query->finalize();
    }
    // _v2 defers the close while any statement we do not know of is still alive.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_thread = nullptr;
}

void Connection::attach(Query* query) {
    std::lock_guard lock(m_queriesLock);
    m_queries.insert(query);
}

void Connection::detach(Query* query) {
    std::lock_guard lock(m_queriesLock);
    m_queries.erase(query);
}

sqlite3* Connection::handle() const {
    if (!m_db) throw DbError(QStringLiteral("database connection is not open"));
    if (QThread::currentThread() != m_thread)
        throw DbError(QStringLiteral("database connection used from another thread"));
    return m_db;
}

void Connection::exec(const QString& sql) {
    sqlite3* db = handle();
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message =
            error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_free(error);
        throwWithSql(message, sql);
    }
}

qint64 Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(handle());
}

int Connection::changes() const {
    return sqlite3_changes(handle());
}

// ---- Query ----

Query::Query(Connection& connection) : m_connection(&connection) {
    connection.attach(this);
}

Query::~Query() {
    if (!m_connection) return;
    m_connection->detach(this);
    finalize();
}

Connection& Query::connection() const {
    if (!m_connection) throw DbError(QStringLiteral("the query's database connection is gone"));
    return *m_connection;
}

sqlite3* Query::handle() const {
    return connection().handle();
}

void Query::finalize() noexcept {
    if (m_stmt) sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_open = false;
    m_eof = true;
    m_hadRows = false;
}

void Query::sqlChanged() {
    finalize();
    m_columns.clear();
    m_parameters.clear();
    m_values.clear();
}

void Query::close() {
    if (m_stmt) sqlite3_reset(m_stmt); // releases the read lock
    m_open = false;
    m_eof = true;
    m_hadRows = false;
}

void Query::clearSql() {
    m_sql.clear();
    sqlChanged();
}

void Query::addSql(const QString& line) {
    m_sql.append(line);
    sqlChanged();
}

void Query::setSql(const QString& sql) {
    m_sql = QStringList{sql};
    sqlChanged();
}

QString Query::sql() const {
    return m_sql.join(QLatin1Char('\n'));
}

[[noreturn]] void Query::fail(const QString& what) const {
    throwWithSql(what, sql());
}

void Query::prepare() {
    sqlite3* db = handle();
    if (m_stmt) return;

    const QByteArray text = sql().toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, &tail) != SQLITE_OK)
        fail(sqliteMessage(db));
    if (!stmt) fail(QStringLiteral("the query holds no SQL statement"));

    // A second statement would be dropped without a word; refuse it instead.
    if (tail && *tail) {
        sqlite3_stmt* rest = nullptr;
        const int size = int(text.constData() + text.size() - tail);
        const int rc = sqlite3_prepare_v2(db, tail, size, &rest, nullptr);
        const bool more = rc != SQLITE_OK || rest;
        sqlite3_finalize(rest);
        if (more) {
            sqlite3_finalize(stmt);
            fail(QStringLiteral("a query runs one statement only"));
        }
    }

    m_parameters.clear();
    for (int i = 1, n = sqlite3_bind_parameter_count(stmt); i <= n; ++i) {
        const char* name = sqlite3_bind_parameter_name(stmt, i);
        if (name) m_parameters.insert(QString::fromUtf8(name).toLower());
    }
    m_stmt = stmt;
    readColumns();
}

void Query::readColumns() {
    m_columns.clear();
    for (int i = 0, n = sqlite3_column_count(m_stmt); i < n; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(m_stmt, i)).toLower();
        if (!m_columns.contains(name)) m_columns.insert(name, i); // the first of equal names
    }
}

void Query::setValue(const QString& name, Value value) {
    prepare();
    const QString key = parameterKey(name);
    if (!m_parameters.contains(key))
        fail(QStringLiteral("the query has no parameter %1").arg(name));
    m_values.insert(key, std::move(value));
}

void Query::bind(const QString& name, const QString& value) {
    Value v;
    v.kind = Value::Text;
    v.text = value.toUtf8();
    setValue(name, std::move(v));
}

void Query::bind(const QString& name, const char* value) {
    bind(name, QString::fromUtf8(value));
}

void Query::bind(const QString& name, int value) {
    bind(name, qint64(value));
}

void Query::bind(const QString& name, qint64 value) {
    Value v;
    v.kind = Value::Integer;
    v.integer = value;
    setValue(name, std::move(v));
}

void Query::bind(const QString& name, double value) {
    Value v;
    v.kind = Value::Real;
    v.real = value;
    setValue(name, std::move(v));
}

void Query::bind(const QString& name, bool value) {
    bind(name, qint64(value ? 1 : 0));
}

void Query::bind(const QString& name, const QDate& value) {
    if (value.isValid())
        bind(name, dateToText(value));
    else
        bindNull(name);
}

void Query::bind(const QString& name, const QDateTime& value) {
    if (value.isValid())
        bind(name, dateTimeToText(value));
    else
        bindNull(name);
}

void Query::bindNull(const QString& name) {
    setValue(name, Value{});
}

// Prepares (again, after a reconnect), rewinds and binds every kept value.
void Query::start() {
    prepare();
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_open = false;
    m_eof = true;
    m_hadRows = false;

    for (int i = 1, n = sqlite3_bind_parameter_count(m_stmt); i <= n; ++i) {
        const char* name = sqlite3_bind_parameter_name(m_stmt, i);
        const QString key = name ? QString::fromUtf8(name).toLower() : QString();
        const auto found = m_values.constFind(key);
        if (!name || found == m_values.constEnd())
            fail(QStringLiteral("parameter %1 has no value")
                     .arg(name ? QString::fromUtf8(name) : QStringLiteral("?%1").arg(i)));
        const Value& v = *found;
        int rc = SQLITE_OK;
        switch (v.kind) {
        case Value::Null:
            rc = sqlite3_bind_null(m_stmt, i);
            break;
        case Value::Integer:
            rc = sqlite3_bind_int64(m_stmt, i, v.integer);
            break;
        case Value::Real:
            rc = sqlite3_bind_double(m_stmt, i, v.real);
            break;
        case Value::Text:
            // An empty text stays a text, not NULL.
            rc = sqlite3_bind_text(m_stmt, i, v.text.isEmpty() ? "" : v.text.constData(),
                                   int(v.text.size()), SQLITE_TRANSIENT);
            break;
        }
        if (rc != SQLITE_OK) fail(sqliteMessage(sqlite3_db_handle(m_stmt)));
    }

    // The columns may differ from the last run if the schema changed in between.
    readColumns();
}

void Query::open() {
    start();
    const int rc = sqlite3_step(m_stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const QString message = sqliteMessage(sqlite3_db_handle(m_stmt));
        sqlite3_reset(m_stmt);
        fail(message);
    }
    m_open = true;
    m_eof = rc == SQLITE_DONE;
    m_hadRows = rc == SQLITE_ROW;
}

bool Query::isOpen() const {
    return m_open;
}

bool Query::eof() const {
    return !m_open || m_eof;
}

bool Query::isEmpty() const {
    return !m_open || !m_hadRows;
}

void Query::next() {
    if (!m_open || m_eof) return; // stepping past the end would start the statement again
    handle();
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return;
    m_eof = true;
    if (rc != SQLITE_DONE) {
        const QString message = sqliteMessage(sqlite3_db_handle(m_stmt));
        sqlite3_reset(m_stmt);
        fail(message);
    }
}

int Query::exec() {
    start();
    sqlite3* db = sqlite3_db_handle(m_stmt);
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        const QString message = sqliteMessage(db);
        sqlite3_reset(m_stmt);
        fail(message);
    }
    // sqlite3_changes() keeps the count of the last INSERT/UPDATE/DELETE, so a SELECT or
    // DDL statement would report someone else's rows.
    const bool changed = sqlite3_total_changes64(db) != before;
    const int rows = changed ? sqlite3_changes(db) : 0;
    sqlite3_reset(m_stmt);
    return rows;
}

int Query::fieldCount() const {
    const_cast<Query*>(this)->prepare();
    return sqlite3_column_count(m_stmt);
}

QString Query::fieldName(int column) const {
    if (column < 0 || column >= fieldCount())
        fail(QStringLiteral("the query has no column %1").arg(column));
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

Field Query::field(const QString& name) const {
    const_cast<Query*>(this)->prepare();
    const auto found = m_columns.constFind(name.toLower());
    if (found == m_columns.constEnd()) fail(QStringLiteral("field '%1' not found").arg(name));
    return Field(this, *found);
}

Field Query::field(int column) const {
    if (column < 0 || column >= fieldCount())
        fail(QStringLiteral("the query has no column %1").arg(column));
    return Field(this, column);
}

sqlite3_stmt* Query::currentRow() const {
    handle();
    if (!m_stmt || !m_open || m_eof) fail(QStringLiteral("the query has no current row"));
    return m_stmt;
}

// ---- Field ----

bool Field::isNull() const {
    return sqlite3_column_type(m_query->currentRow(), m_column) == SQLITE_NULL;
}

QString Field::asString() const {
    sqlite3_stmt* stmt = m_query->currentRow();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, m_column));
    if (!text) return QString();
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, m_column));
}

qint32 Field::asInteger() const {
    const qint64 value = asInt64();
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        m_query->fail(QStringLiteral("field '%1' holds %2, too large for an integer")
                          .arg(m_query->fieldName(m_column))
                          .arg(value));
    return qint32(value);
}

qint64 Field::asInt64() const {
    return sqlite3_column_int64(m_query->currentRow(), m_column);
}

double Field::asFloat() const {
    return sqlite3_column_double(m_query->currentRow(), m_column);
}

bool Field::asBoolean() const {
    return asInt64() != 0;
}

QDate Field::asDate() const {
    return textToDate(asString());
}

QDateTime Field::asDateTime() const {
    return textToDateTime(asString());
}

QVariant Field::value() const {
    sqlite3_stmt* stmt = m_query->currentRow();
    switch (sqlite3_column_type(stmt, m_column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt, m_column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, m_column));
    case SQLITE_TEXT:
        return QVariant(asString());
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt, m_column);
        return QVariant(
            QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt, m_column)));
    }
    default:
        return QVariant();
    }
}

// ---- Transaction ----

Transaction::Transaction(Connection& connection)
    : m_connection(connection), m_generation(connection.m_generation) {
    connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (m_done) return;
    // Closing the connection already rolled back; a later connection is not ours.
    if (!m_connection.m_db || m_connection.m_generation != m_generation) return;
    try {
        sqlite3* db = m_connection.handle();
        if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    } catch (const DbError&) {
        // Another thread's guard: nothing we may do here.
    }
}

void Transaction::commit() {
    if (m_done) throw DbError(QStringLiteral("the transaction has already been committed"));
    if (!m_connection.m_db || m_connection.m_generation != m_generation)
        throw DbError(QStringLiteral("the transaction's connection was closed"));
    m_connection.exec(QStringLiteral("COMMIT"));
    m_done = true;
}

} // namespace db
