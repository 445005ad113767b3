#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <vector>

class Database;

// A live set of rows of one table: what the main window keeps open for the
// whole run (the invoices of the business year, the general data, the code
// lists). Rows are read whole, so no query is left open on the file; a row
// has a current position, edits go into the row at once and are written back
// when the row is left, when a command saves it, or at exit.
class RecordSet : public QObject {
    Q_OBJECT

public:
    // One field the rows are ordered by; texts in the order of the
    // Croatian alphabet when `croatian` is set (numbers and dates sort as
    // such).
    struct Order {
        QString field;
        bool croatian = false;
    };
    // Names are quoted and values bound when the rows are read: a query
    // holds no SQL text of its own.
    struct Query {
        QString table;
        QStringList columns;   // empty: every column in the table's order
        QString whereField;    // only the rows whose field holds whereValue; empty: every row
        QVariant whereValue;
        std::vector<Order> orderBy;
    };

    RecordSet(Database& db, Query query, QObject* parent = nullptr);

    // Reads the rows anew; the current row stays on the same record when it
    // is still there, otherwise it goes to the last row.
    bool reload();
    const QString& error() const { return m_error; }
    const Query& query() const { return m_query; }
    // The order of the rows from the next reload on; fields of the set.
    void setOrderBy(std::vector<Order> order) { m_query.orderBy = std::move(order); }
    // The value of the condition from the next reload on (one patient's
    // visits, then another's).
    void setWhereValue(QVariant value) { m_query.whereValue = std::move(value); }
    Database& database() { return m_db; }

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return int(m_fields.size()); }
    const QStringList& fieldNames() const { return m_fields; }
    int fieldIndex(QStringView name) const; // -1 when unknown; case-insensitive

    QVariant value(int row, int column) const;
    QVariant value(int row, QStringView field) const;
    // Changes a value of a row; it is written by save(). False for an unknown
    // row or column.
    bool setValue(int row, int column, const QVariant& value);
    bool isDirty(int row) const;
    // The row's key in its table (SQLite's rowid); -1 for an unknown row.
    qint64 key(int row) const { return row >= 0 && row < rowCount() ? m_rows[row].key : -1; }
    bool save(int row);
    bool saveAll();

    int current() const { return m_current; }
    // Saves the row being left, then moves; false when the save failed.
    bool setCurrent(int row);
    bool moveLast() { return setCurrent(rowCount() - 1); }
    QVariant field(QStringView name) const { return value(m_current, name); }
    // Every field of the current row by name.
    QVariantMap currentRow() const;
    bool setField(QStringView name, const QVariant& v) { return setValue(m_current, fieldIndex(name), v); }

    // Inserts a row at once with the given fields (the rest stay NULL) and
    // appends it to the set; returns its row, or -1.
    int append(const QVariantMap& values);
    // The first row whose field equals the value, or -1.
    int findFirst(QStringView field, const QVariant& value) const;

Q_SIGNALS:
    void aboutToReset();
    void reset();
    void aboutToAppend(int row);
    void rowChanged(int row);
    void rowAppended(int row);
    void currentChanged(int row);

private:
    struct Row {
        qint64 key = 0;
        QVariantList values;
        std::vector<bool> dirty;
    };

    QString selectSql(const QString& extraWhere) const;
    bool readRows(const QString& sql, const QVariantList& binds, std::vector<Row>& out);

    Database& m_db;
    Query m_query;
    QStringList m_fields;
    std::vector<Row> m_rows;
    int m_current = -1;
    QString m_error;
};
