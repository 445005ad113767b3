#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

class Database;
struct sqlite3;
struct sqlite3_stmt;

// The SQLite connection under a Database, for the engine's own interfaces
// (the online backup); null when the connection is not SQLite's.
sqlite3* engineConnection(Database& db);

// One SELECT run straight on the SQLite connection under a Database, for
// reads of thousands of rows (a year's invoices for the fund's file): the
// values come from the engine's own row without passing through Qt's
// per-row cache of variants. Values take only bound parameters. The values
// read are the same as QSqlQuery::value() gives for the same row.
class Statement {
public:
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // The statement could be prepared (else error() says why).
    bool isValid() const { return m_statement != nullptr; }
    // The engine's message of the last failure; empty when none.
    const QString& error() const { return m_error; }

    // Binds the n-th "?" (from 1).
    bool bind(int n, qint64 value);
    bool bind(int n, const QString& value);
    // A value as the program stores it (NULL, a number, a date as text...).
    bool bind(int n, const QVariant& value);

    // The columns of the result, with their names.
    int columnCount() const;
    QString columnName(int column) const;

    // Steps to the next row: false after the last one, or on a failure
    // (error() is set then).
    bool next();

    // The columns of the current row (from 0), as the program reads stored
    // values: NULL gives an empty text, an invalid date, false and 0.
    bool isNull(int column) const;
    QVariant value(int column) const;
    QString text(int column) const;
    QDate date(int column) const;
    bool flag(int column) const;
    int whole(int column) const;
    double real(int column) const;

private:
    bool failed();

    sqlite3* m_connection = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    QString m_error;
};
