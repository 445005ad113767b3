#pragma once

#include "record_set.h"
#include "sql_values.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

#include <vector>

// The values of the named columns of a row of a set, in that order.
inline QVariantList rowValues(const RecordSet& set, int row, const QStringList& columns)
{
    QVariantList values;
    values.reserve(columns.size());
    for (const QString& column : columns)
        values << set.value(row, column);
    return values;
}

// Puts a value into a column of a row of a set.
inline void writeField(RecordSet& set, int row, const QString& column, const QVariant& value)
{
    set.setValue(row, set.fieldIndex(column), value);
}

// The fields of a typed record and the stored columns they come from, one
// table per record type: the record's reader, its writer and the list of
// columns it selects are all driven by this one table, so a field name is
// written down once.
template <class Record>
struct StoredFields {
    struct Text { const char* column; QString Record::*member; };
    struct Date { const char* column; QDate Record::*member; };
    struct Flag { const char* column; bool Record::*member; };
    struct Whole { const char* column; int Record::*member; };
    struct Real { const char* column; double Record::*member; };
    std::vector<Text> texts;
    std::vector<Date> dates;
    std::vector<Flag> flags;
    std::vector<Whole> wholes;
    std::vector<Real> reals;

    QStringList columns() const
    {
        QStringList c;
        for (const auto& f : texts) c << QLatin1String(f.column);
        for (const auto& f : dates) c << QLatin1String(f.column);
        for (const auto& f : flags) c << QLatin1String(f.column);
        for (const auto& f : wholes) c << QLatin1String(f.column);
        for (const auto& f : reals) c << QLatin1String(f.column);
        return c;
    }

    // Fills the record from the values of columns(), in that order; `value`
    // gives the k-th of them.
    template <class Value>
    qsizetype read(Record& r, const Value& value) const
    {
        return readRow(r, VariantRow<Value>{value});
    }

    // The same from a row that gives the k-th value already typed, with
    // text(k), date(k), flag(k), whole(k) and real(k) read as the stored
    // values are read (sqlvalue).
    template <class Row>
    qsizetype readRow(Record& r, const Row& row) const
    {
        qsizetype k = 0;
        for (const auto& f : texts) r.*f.member = row.text(k++);
        for (const auto& f : dates) r.*f.member = row.date(k++);
        for (const auto& f : flags) r.*f.member = row.flag(k++);
        for (const auto& f : wholes) r.*f.member = row.whole(k++);
        for (const auto& f : reals) r.*f.member = row.real(k++);
        return k;
    }

    template <class Value>
    struct VariantRow {
        const Value& value;
        QString text(qsizetype k) const { return sqlvalue::toText(value(k)); }
        QDate date(qsizetype k) const { return sqlvalue::toDate(value(k)); }
        bool flag(qsizetype k) const { return sqlvalue::toBool(value(k)); }
        int whole(qsizetype k) const { return value(k).toInt(); }
        double real(qsizetype k) const { return value(k).toDouble(); }
    };

    // Puts every field in which `r` differs from the row's record into the
    // row, so that an untouched NULL stays NULL.
    void writeTo(const Record& r, RecordSet& set, int row) const
    {
        const Record stored = Record::fromRow(set, row);
        differences(r, stored, [&](const char* column, const QVariant& v) {
            writeField(set, row, QString::fromLatin1(column), v);
        });
    }

    template <class Write>
    void differences(const Record& r, const Record& stored, const Write& write) const
    {
        for (const auto& f : texts)
            if (r.*f.member != stored.*f.member) write(f.column, QVariant(r.*f.member));
        for (const auto& f : dates)
            if (r.*f.member != stored.*f.member)
                write(f.column, (r.*f.member).isValid() ? QVariant(r.*f.member) : QVariant());
        for (const auto& f : flags)
            if (r.*f.member != stored.*f.member) write(f.column, QVariant(r.*f.member));
        for (const auto& f : wholes)
            if (r.*f.member != stored.*f.member) write(f.column, QVariant(r.*f.member));
        for (const auto& f : reals)
            if (r.*f.member != stored.*f.member) write(f.column, QVariant(r.*f.member));
    }
};
