#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <chrono>

// One connection to a database file of the working folder, opened by its
// bare name and closed when the object goes out of scope. Several
// connections to one file may be open at once; what one commits the others
// see at their next read.
//
// Every connection uses SQLite's rollback journal with synchronous=FULL, so
// that a copied Kelmorin.mdb is whole on its own and a saved invoice
// survives a power cut.
class Database {
public:
    enum class Mode {
        ReadWrite, // the file must exist
        ReadOnly,  // the file must exist; upgrade packages are opened so
        Create,    // a new file is made when there is none
    };

    explicit Database(const QString& fileName, Mode mode = Mode::ReadWrite);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    const QString& fileName() const { return m_fileName; }
    // The last error, in words fit for a message.
    const QString& error() const { return m_error; }
    // The end of a failed write: hands the last error to the caller (when it
    // asked for one) and returns false.
    bool failed(QString* error) const
    {
        if (error)
            *error = m_error;
        return false;
    }
    QSqlDatabase& handle() { return m_db; }

    // Runs one statement with bound values.
    bool exec(const QString& sql, const QVariantList& binds = {});
    // The first column of the first row, or an invalid QVariant.
    QVariant scalar(const QString& sql, const QVariantList& binds = {});

    bool hasTable(const QString& table);
    QStringList columns(const QString& table);

    // SQLite's quick check of the file's pages and indexes. A file with a
    // damaged page reads as a shorter file, without an error: a command
    // that sends or sums the invoices first asks this. False with a
    // message that names the file and says what to do; a check that cannot
    // run at all is a failure too.
    bool isSound(QString* message);

private:
    friend class Transaction;
    QString m_fileName;
    QString m_connectionName;
    QSqlDatabase m_db;
    QString m_error;
};

// The message of a damaged database file.
QString damagedDatabaseMessage(const QString& fileName, const QString& detail);

// While it lives, every statement on the connection that runs longer than
// the time given is stopped and fails with the error "interrupted" (a view
// over an endless query).
class StatementDeadline {
public:
    StatementDeadline(Database& db, std::chrono::milliseconds budget);
    ~StatementDeadline();
    StatementDeadline(const StatementDeadline&) = delete;
    StatementDeadline& operator=(const StatementDeadline&) = delete;
    // A statement was stopped.
    bool passed() const { return m_passed; }

private:
    static int check(void* self);
    void* m_connection = nullptr;
    std::chrono::steady_clock::time_point m_end;
    bool m_passed = false;
};

// A transaction that rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    Database& m_db;
    bool m_active = false;
};
