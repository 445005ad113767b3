#include "database.h"

#include "croatian_collation.h"
#include "sql_values.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kelmorin-%1").arg(++counter);
}

QString describe(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

// The engine's "busy" and "locked": another connection holds the file.
bool isBusy(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

} // namespace

Database::Database(const QString& fileName, Mode mode)
    : m_fileName(fileName), m_connectionName(nextConnectionName())
{
    if (mode != Mode::Create && !QFileInfo(fileName).isFile()) {
        m_error = QStringLiteral("Datoteka %1 ne postoji.").arg(fileName);
        return;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(fileName);
    if (mode == Mode::ReadOnly)
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_db.open()) {
        m_error = describe(m_db.lastError());
        return;
    }
    // Every connection sorts names in the Croatian alphabet's order.
    if (!croatian::install(m_db)) {
        m_error = QStringLiteral("Redoslijed hrvatske abecede nije moguće postaviti na vezi s datotekom %1.").arg(fileName);
        m_db.close();
        return;
    }
    QSqlQuery pragma(m_db);
    // Another program holding the file for its own write makes every
    // statement wait out the engine's timeout: say so after the first wait,
    // not after one per statement.
    if (mode != Mode::ReadOnly && !pragma.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) && isBusy(pragma.lastError())) {
        m_error = describe(pragma.lastError());
        pragma.finish();
        m_db.close();
        return;
    }
    pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Renaming a table must not rewrite references to it elsewhere.
    pragma.exec(QStringLiteral("PRAGMA legacy_alter_table=ON"));
    // A file that is not a database shows here, not at the first query.
    if (!pragma.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        m_error = describe(pragma.lastError());
        pragma.finish();
        m_db.close();
    }
}

Database::~Database()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::exec(const QString& sql, const QVariantList& binds)
{
    if (!isOpen())
        return false;
    QSqlQuery query(m_db);
    if (!query.prepare(sql)) {
        m_error = describe(query.lastError());
        return false;
    }
    for (const QVariant& value : binds)
        query.addBindValue(sqlvalue::toStorage(value));
    if (!query.exec()) {
        m_error = describe(query.lastError());
        return false;
    }
    return true;
}

QVariant Database::scalar(const QString& sql, const QVariantList& binds)
{
    if (!isOpen())
        return {};
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        m_error = describe(query.lastError());
        return {};
    }
    for (const QVariant& value : binds)
        query.addBindValue(sqlvalue::toStorage(value));
    if (!query.exec()) {
        m_error = describe(query.lastError());
        return {};
    }
    return query.next() ? query.value(0) : QVariant();
}

bool Database::hasTable(const QString& table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                  {table})
               .toInt()
        > 0;
}

QStringList Database::columns(const QString& table)
{
    QStringList names;
    const QSqlRecord record = m_db.record(table);
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

bool Database::isSound(QString* message)
{
    if (!isOpen()) {
        *message = damagedDatabaseMessage(m_fileName, m_error);
        return false;
    }
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    // The first lines are enough to say what is wrong.
    if (!query.exec(QStringLiteral("PRAGMA quick_check(5)"))) {
        *message = damagedDatabaseMessage(m_fileName, describe(query.lastError()));
        return false;
    }
    QStringList problems;
    while (query.next())
        problems << query.value(0).toString();
    if (query.lastError().isValid()) {
        *message = damagedDatabaseMessage(m_fileName, describe(query.lastError()));
        return false;
    }
    if (problems == QStringList{QStringLiteral("ok")})
        return true;
    *message = damagedDatabaseMessage(m_fileName, problems.isEmpty() ? QStringLiteral("provjera nije dala odgovor")
                                                                    : problems.join(QStringLiteral("; ")));
    return false;
}

QString damagedDatabaseMessage(const QString& fileName, const QString& detail)
{
    const QFileInfo file(fileName);
    return QStringLiteral("Datoteka %1 u mapi %2 je oštećena (%3).\r\n"
                          "Podaci iz nje ne mogu se pouzdano čitati, pa program ništa ne šalje, ne zbraja i ne mijenja.\r\n"
                          "Vratite bazu podataka iz zadnje sigurnosne kopije ili se obratite podršci.")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()), detail);
}

namespace {

sqlite3* connectionOf(QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

} // namespace

StatementDeadline::StatementDeadline(Database& db, std::chrono::milliseconds budget)
    : m_connection(connectionOf(db.handle())), m_end(std::chrono::steady_clock::now() + budget)
{
    if (m_connection)
        sqlite3_progress_handler(static_cast<sqlite3*>(m_connection), 10000, &StatementDeadline::check, this);
}

StatementDeadline::~StatementDeadline()
{
    if (m_connection)
        sqlite3_progress_handler(static_cast<sqlite3*>(m_connection), 0, nullptr, nullptr);
}

int StatementDeadline::check(void* self)
{
    auto* deadline = static_cast<StatementDeadline*>(self);
    if (std::chrono::steady_clock::now() < deadline->m_end)
        return 0;
    deadline->m_passed = true;
    return 1;
}

Transaction::Transaction(Database& db) : m_db(db)
{
    m_active = m_db.exec(QStringLiteral("BEGIN"));
}

Transaction::~Transaction()
{
    if (m_active)
        m_db.exec(QStringLiteral("ROLLBACK"));
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.exec(QStringLiteral("COMMIT")))
        return true;
    // The commit's own error is the one to report; SQLite may already have
    // ended the transaction, and then the rollback fails with a text of its
    // own that says nothing about what went wrong.
    const QString reason = m_db.error();
    m_db.exec(QStringLiteral("ROLLBACK"));
    m_db.m_error = reason;
    return false;
}
