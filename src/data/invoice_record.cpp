#include "invoice_record.h"

#include "record_set.h"
#include "statement.h"
#include "stored_fields.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace aidfields {

QString code(int line) { return QStringLiteral("Pom") + QString::number(line); }
QString quantity(int line) { return QStringLiteral("Kol") + QString::number(line); }

QStringList columns(int lines)
{
    QStringList c;
    for (int n = 1; n <= lines; ++n)
        c << code(n) << quantity(n);
    return c;
}

} // namespace aidfields

namespace {

using Fields = StoredFields<InvoiceRecord>;

const Fields& fields()
{
    static const Fields f = {
        {{"Broj", &InvoiceRecord::confirmation},
         {"Prezime", &InvoiceRecord::surname},
         {"Ime", &InvoiceRecord::firstName},
         {"Brosig1", &InvoiceRecord::insuredFirst},
         {"Brosig2", &InvoiceRecord::insuredSecond},
         {"Brbolesnlist", &InvoiceRecord::sickList},
         {"Drz", &InvoiceRecord::country},
         {"Dopunsko", &InvoiceRecord::policy},
         {"Pu", &InvoiceRecord::office},
         {"Izbor", &InvoiceRecord::mark},
         {"Plac", &InvoiceRecord::paid},
         {"Opaska", &InvoiceRecord::note},
         {"Proizv", &InvoiceRecord::manufacturer},
         {"BrojMalopRn", &InvoiceRecord::retailNumber},
         {"EVrijeme", &InvoiceRecord::einvoiceTime}},
        {{"Datum", &InvoiceRecord::billed},
         {"Datumnar", &InvoiceRecord::ordered},
         {"DatumIzdavanja", &InvoiceRecord::issued}},
        {{"Osl", &InvoiceRecord::exempt}, {"Dop", &InvoiceRecord::supplementary}},
        {{"God", &InvoiceRecord::year}, {"Rnbr", &InvoiceRecord::number}},
        {{"Iznos", &InvoiceRecord::amount}},
    };
    return f;
}

// A quantity goes back as a whole number where it is one (the column holds
// whole numbers), as typed otherwise.
QVariant storedQuantity(const AidLine& line)
{
    if (!line.hasQuantity())
        return line.quantityText.isEmpty() ? QVariant() : QVariant(line.quantityText);
    const double q = line.quantity();
    return q == std::floor(q) && std::fabs(q) < 2e9 ? QVariant(int(q)) : QVariant(q);
}

} // namespace

namespace {

// A quantity as stored: nearly always a few digits, read as such; anything
// else as a number.
std::optional<double> numberOf(const QString& text)
{
    if (!text.isEmpty() && text.size() <= 9) {
        int whole = 0;
        bool digits = true;
        for (QChar c : text) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return whole;
    }
    bool ok = false;
    const double n = QStringView(text).trimmed().toDouble(&ok);
    return ok ? std::optional<double>(n) : std::nullopt;
}

} // namespace

bool AidLine::hasQuantity() const { return numberOf(quantityText).has_value(); }

double AidLine::quantity() const { return numberOf(quantityText).value_or(0); }

bool AidLine::hasBillableQuantity() const
{
    const QString text = quantityText.trimmed();
    if (text.isEmpty() || text.size() > 4 || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    return text.toInt() >= 1;
}

bool InvoiceRecord::isBlank() const
{
    for (const QString* text : {&confirmation, &surname, &firstName, &insuredFirst, &insuredSecond, &sickList}) {
        if (!text->trimmed().isEmpty())
            return false;
    }
    return std::all_of(aids.begin(), aids.end(), [](const AidLine& line) { return line.code.trimmed().isEmpty(); });
}

const QStringList& InvoiceRecord::blankColumns()
{
    static const QStringList names = QStringList{QStringLiteral("Broj"), QStringLiteral("Prezime"), QStringLiteral("Ime"),
                                                 QStringLiteral("Brosig1"), QStringLiteral("Brosig2"),
                                                 QStringLiteral("Brbolesnlist")}
        + aidfields::columns(aidfields::kLines);
    return names;
}

const QStringList& InvoiceRecord::columns()
{
    static const QStringList names = [] {
        return fields().columns() + aidfields::columns(aidfields::kLines);
    }();
    return names;
}

InvoiceRecord::Reader::Reader(const QStringList& names)
{
    for (const QString& column : columns())
        m_from.push_back(int(names.indexOf(column)));
}

namespace {

template <class Row>
InvoiceRecord readRow(const Row& row)
{
    InvoiceRecord r;
    qsizetype k = fields().readRow(r, row);
    // The dates come right after the texts; a date that did not read is
    // looked at again as stored, to tell an empty field from a wrong one.
    const qsizetype firstDate = qsizetype(fields().texts.size());
    for (size_t i = 0; i < fields().dates.size() && r.unreadableDate.isEmpty(); ++i) {
        const auto& f = fields().dates[i];
        if ((r.*f.member).isValid())
            continue;
        const QString stored = row.text(firstDate + qsizetype(i));
        if (!stored.trimmed().isEmpty()) {
            r.unreadableDate = QLatin1String(f.column);
            r.unreadableDateText = stored;
        }
    }
    for (AidLine& line : r.aids) {
        line.code = row.text(k++);
        line.quantityText = row.text(k++);
    }
    return r;
}

template <class Value>
InvoiceRecord readWith(const Value& value)
{
    return readRow(Fields::VariantRow<Value>{value});
}

// The k-th of columns() from a statement's row, where the reader found it.
struct StatementRow {
    const Statement& row;
    const std::vector<int>& from;
    int at(qsizetype k) const { return from[size_t(k)]; }
    QString text(qsizetype k) const { return at(k) >= 0 ? row.text(at(k)) : QString(); }
    QDate date(qsizetype k) const { return at(k) >= 0 ? row.date(at(k)) : QDate(); }
    bool flag(qsizetype k) const { return at(k) >= 0 && row.flag(at(k)); }
    int whole(qsizetype k) const { return at(k) >= 0 ? row.whole(at(k)) : 0; }
    double real(qsizetype k) const { return at(k) >= 0 ? row.real(at(k)) : 0; }
};

} // namespace

InvoiceRecord InvoiceRecord::Reader::read(const QVariantList& values) const
{
    return readWith([&](qsizetype k) {
        const int from = m_from[size_t(k)];
        return from >= 0 && from < values.size() ? values.at(from) : QVariant();
    });
}

InvoiceRecord InvoiceRecord::Reader::read(const Statement& row) const { return readRow(StatementRow{row, m_from}); }

InvoiceRecord InvoiceRecord::read(const QVariantList& values)
{
    static const Reader all(columns());
    return all.read(values);
}

InvoiceRecord InvoiceRecord::fromRow(const RecordSet& set, int row) { return read(rowValues(set, row, columns())); }

void InvoiceRecord::writeTo(RecordSet& set, int row) const
{
    const InvoiceRecord stored = fromRow(set, row);
    fields().writeTo(*this, set, row);
    for (int n = 1; n <= aidfields::kLines; ++n) {
        const AidLine &now = aids[n - 1], &before = stored.aids[n - 1];
        if (now.code != before.code)
            writeField(set, row, aidfields::code(n), now.code);
        if (now.quantityText != before.quantityText)
            writeField(set, row, aidfields::quantity(n), storedQuantity(now));
    }
}
