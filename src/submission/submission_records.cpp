#include "submission_records.h"

#include "common/cp1250.h"
#include "common/formats.h"
#include "common/money.h"
#include "data/database.h"
#include "data/sql_values.h"
#include "data/statement.h"
#include "invoice/identifiers.h"
#include "data/pricing.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace submission {
namespace {

// A number written with a pattern of zeros ("00000000"): digits are padded
// to the width as a number would be; any other text stays as it is.
QString zeroPadded(const QString& value, int width)
{
    if (value.isEmpty())
        return {};
    for (QChar c : value) {
        if (!c.isDigit() || c.unicode() > 127)
            return value;
    }
    QString digits = value;
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    return digits.size() >= width ? digits : QString(width - digits.size(), u'0') + digits;
}

struct ConfirmationForms {
    QString oldForm, newForm;
};

// 13 or 14 digits are the new form; a number with a slash is the old form
// and loses at most two leading zeros.
ConfirmationForms forms(const QString& broj)
{
    if (identifiers::matches(broj, u"##############") || identifiers::matches(broj, u"#############"))
        return {{}, broj};
    if (!identifiers::matches(broj, u"*/*"))
        return {};
    QString old = broj;
    for (int i = 0; i < 2 && old.startsWith(u'0'); ++i)
        old.remove(0, 1);
    return {old, {}};
}

QString issueDate(const Invoice& invoice)
{
    return format::date(invoice.issued.isValid() && (!invoice.billed.isValid() || invoice.issued <= invoice.billed)
                            ? invoice.issued
                            : invoice.billed,
                        u"dd.MM.yyyy");
}

// The file's lines are built either as text (the records one by one) or
// straight as the file's Windows-1250 bytes (a whole run of thousands of
// invoices); the layout of the records is written once, for both.
struct TextSink {
    QString& out;
    void text(QStringView value) { out += value; }
    void ascii(const char* bytes, qsizetype size) { out += QLatin1StringView(bytes, size); }
    void ascii(char c) { out += QLatin1Char(c); }
};

struct ByteSink {
    std::string& out;
    void text(QStringView value)
    {
        const size_t at = out.size();
        out.resize(at + size_t(value.size()));
        char* to = out.data() + at;
        for (QChar c : value) {
            if (c.unicode() >= 0x80) {
                out.resize(at);
                const QByteArray encoded = cp1250::encode(value);
                out.append(encoded.constData(), size_t(encoded.size()));
                return;
            }
            *to++ = char(c.unicode());
        }
    }
    void ascii(const char* bytes, qsizetype size) { out.append(bytes, size_t(size)); }
    void ascii(char c) { out.push_back(c); }
};

// Writes an amount as the file does: "0.00" with a decimal point.
template <class Sink>
void appendAmount(Sink& out, double value);

// Fields ended by colons, written into a line.
template <class Sink>
class Fields {
public:
    explicit Fields(Sink& out) : m_out(out) {}
    Fields& operator<<(QStringView value)
    {
        m_out.text(value);
        m_out.ascii(':');
        return *this;
    }
    Fields& operator<<(double money)
    {
        appendAmount(m_out, money);
        m_out.ascii(':');
        return *this;
    }

private:
    Sink& m_out;
};

struct Common {
    ConfirmationForms broj;
    QString billed;
};

Common commonOf(const Invoice& invoice) { return {forms(invoice.confirmation), format::date(invoice.billed, u"dd.MM.yyyy")}; }

template <class Sink>
void append60(Sink& out, const Invoice& invoice, const Supplier& supplier, const Computed& c, const Common& k)
{
    const QString& second = invoice.insuredSecond;
    const bool healthNumber = identifiers::isHealthNumber(second);
    const bool foreign = invoice.country.size() == 3 && invoice.country != u"HRV";
    Fields f(out);
    f << u"60" << supplier.code << QStringView(supplier.name).left(45) << k.broj.oldForm << k.billed << u"4"
      << format::date(invoice.ordered, u"dd.MM.yyyy")
      << (invoice.supplementary ? supplementaryNumber(invoice, supplier) : QString()) << zeroPadded(invoice.policy, 8)
      << c.total << c.coPayment << c.supplementary << double(c.vatSupplementary) << c.basic << double(c.vatBasic)
      << (healthNumber ? QString() : zeroPadded(second, 8)) << (healthNumber ? QString() : zeroPadded(invoice.insuredFirst, 3))
      << (healthNumber ? second : QString()) << invoice.sickList << invoice.country << u"" << u"0.00" << u"0.00"
      << basicNumber(invoice, supplier) << (foreign ? u"13004" : u"10055") << (invoice.supplementary ? u"11201" : u"")
      << k.broj.newForm << u"" << issueDate(invoice) << u"" << u"" << u"EUR";
}

template <class Sink>
void append61(Sink& out, const Line& line, const Common& k)
{
    Fields f(out);
    f << u"61" << k.broj.oldForm << k.billed << line.code;
    out.text(line.quantity);
    out.ascii(".00:", 4);
    appendAmount(out, line.amount);
    // An empty field, the new form of the number and four empty fields.
    out.ascii("::", 2);
    out.text(k.broj.newForm);
    out.ascii(":::::", 5);
}

template <class Sink>
void appendBlock(Sink& out, const Invoice& invoice, const Supplier& supplier, const Computed& c)
{
    const Common k = commonOf(invoice);
    append60(out, invoice, supplier, c, k);
    out.ascii("\r\n", 2);
    for (const Line& line : c.lines) {
        append61(out, line, k);
        out.ascii("\r\n", 2);
    }
}

} // namespace

Supplier supplierFrom(const General& general)
{
    const QString& retail = general.retailCode;
    return {retail.size() == 9 ? retail : general.code, general.name,
            u'-' + general.premises + u'-' + general.registerMark + u'-' + general.yearDigits(), general.basicMark,
            general.supplementaryMark};
}

std::vector<Invoice> select(Database& db, int twoDigitYear, const QString& mark, QString* error)
{
    std::vector<Invoice> invoices;
    // Only the fields the file and the letter need: a year holds thousands
    // of invoices, read straight from the engine's rows.
    static const QStringList columns = [] {
        const QStringList c = {"Rnbr", "Datum", "Datumnar", "DatumIzdavanja", "Broj", "Brosig1", "Brosig2", "Brbolesnlist",
                               "Drz", "Dopunsko", "Pu", "Osl", "Dop"};
        return c + aidfields::columns(aidfields::kOfferedLines);
    }();
    static const Invoice::Reader reader(columns);
    const QVariant count = db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE God = ? AND Izbor = ?"), {twoDigitYear, mark});
    Statement q(db, QStringLiteral("SELECT %1 FROM Rn WHERE God = ? AND Izbor = ? ORDER BY Rnbr").arg(columns.join(QStringLiteral(", "))));
    if (!q.bind(1, twoDigitYear) || !q.bind(2, mark)) {
        *error = q.error();
        return invoices;
    }
    invoices.reserve(size_t(count.toLongLong()));
    while (q.next())
        invoices.push_back(reader.read(q));
    if (!q.error().isEmpty()) {
        *error = q.error();
        invoices.clear();
    }
    return invoices;
}

QString basicNumber(const Invoice& invoice, const Supplier& supplier)
{
    return QString::number(invoice.number) + supplier.numberTail + supplier.basicMark;
}

QString supplementaryNumber(const Invoice& invoice, const Supplier& supplier)
{
    return QString::number(invoice.number) + supplier.numberTail + supplier.supplementaryMark;
}

Computed compute(Database& db, const Invoice& invoice)
{
    pricing::Catalogue catalogue(db);
    return compute(catalogue, invoice);
}

Computed compute(pricing::Catalogue& catalogue, const Invoice& invoice)
{
    Computed c;
    const pricing::Priced priced = pricing::price(catalogue, invoice, pricing::Document::FundFile);
    c.unknownCode = priced.unknownCode;
    c.missingQuantityCode = priced.missingQuantityCode;
    c.error = priced.error;
    if (!c.ok())
        return c;
    c.lines.reserve(priced.lines.size());
    for (const pricing::PricedLine& l : priced.lines)
        c.lines.push_back({l.code, l.quantityText, l.amount.total(), l.line, l.amount.net, l.amount.vat, l.vatRate});
    c.net = priced.net;
    c.vat = priced.vat;
    c.total = priced.total;
    const pricing::FileShares shares = pricing::fileShares(c.total, priced.vat, invoice.exempt, invoice.supplementary);
    c.coPayment = shares.coPayment;
    c.supplementary = shares.supplementary;
    c.basic = shares.basic;
    c.vatBasic = shares.vatBasic;
    c.vatSupplementary = shares.vatSupplementary;
    return c;
}

namespace {

template <class Sink>
void appendAmount(Sink& out, double value)
{
    // Nearly every amount is whole cents give or take the binary remainder
    // (the VAT shares are single precision: 20.53 is 20.530000686...):
    // written straight from the cents, as the pattern would write them. The
    // pattern rounds the value's 15 significant digits half up; below 1e11
    // those digits lie within a thousandth of a cent of the value, so a
    // value within a quarter of a cent of whole cents gives those cents.
    const double cents = std::round(value * 100);
    if (std::fabs(value * 100 - cents) < 0.25 && std::fabs(value) < 1e11) {
        qint64 c = qint64(std::fabs(cents));
        char digits[24];
        int at = 24;
        digits[--at] = char('0' + c % 10);
        c /= 10;
        digits[--at] = char('0' + c % 10);
        c /= 10;
        digits[--at] = '.';
        do {
            digits[--at] = char('0' + c % 10);
            c /= 10;
        } while (c > 0);
        if (cents < 0)
            digits[--at] = '-';
        out.ascii(digits + at, 24 - at);
        return;
    }
    out.text(format::number(value, u"0.00", QLocale::c()));
}

} // namespace

QString amount(double value)
{
    QString text;
    TextSink sink{text};
    appendAmount(sink, value);
    return text;
}

QString record60(const Invoice& invoice, const Supplier& supplier, const Computed& c)
{
    QString line;
    TextSink sink{line};
    append60(sink, invoice, supplier, c, commonOf(invoice));
    return line;
}

QStringList records61(const Invoice& invoice, const Computed& c)
{
    const Common k = commonOf(invoice);
    QStringList records;
    for (const Line& line : c.lines) {
        QString record;
        TextSink sink{record};
        append61(sink, line, k);
        records << record;
    }
    return records;
}

QString records(const Invoice& invoice, const Supplier& supplier, const Computed& c)
{
    QString block;
    block.reserve(256 + 80 * qsizetype(c.lines.size()));
    TextSink sink{block};
    appendBlock(sink, invoice, supplier, c);
    return block;
}

void appendRecordBytes(std::string& bytes, const Invoice& invoice, const Supplier& supplier, const Computed& c)
{
    ByteSink sink{bytes};
    appendBlock(sink, invoice, supplier, c);
}

QString fileName(const QString& supplierCode, const QString& officeCode, int medium, const QString& mediumDate)
{
    return supplierCode + officeCode + format::number(medium, u"0000", QLocale::c()) + QStringLiteral(".O")
        + mediumDate.right(2);
}

QString moveAside(const QString& folder, const QString& name, const QDateTime& now)
{
    const QDir dir(folder);
    if (!QFile::exists(dir.filePath(name)))
        return {};
    const QString aside = name.left(16) + now.toString(QStringLiteral("ddMMyyhhmmss")) + name.right(4);
    QFile::remove(dir.filePath(aside));
    return QFile::rename(dir.filePath(name), dir.filePath(aside)) ? aside : QString();
}

} // namespace submission
