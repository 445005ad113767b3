#include "price_file.h"

#include "common/cp1250.h"
#include "common/text_file.h"
#include "data/pricing.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace pricefile {
namespace {

struct Record {
    int line = 0;
    QStringList fields;
};

// Splits the text into records; a quoted field may hold separators, doubled
// quotes and line breaks. False (with the line) when a quote is not closed.
bool splitRecords(const QString& text, QChar separator, std::vector<Record>& records, int* badLine)
{
    int line = 1;
    Record current{1, {}};
    QString field;
    bool quoted = false, wasQuoted = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                if (c != u'\r')
                    field += c;
            }
            continue;
        }
        if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            current.fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            current.fields << field;
            records.push_back(std::move(current));
            field.clear();
            wasQuoted = false;
            ++line;
            current = Record{line, {}};
        } else {
            field += c;
        }
    }
    if (quoted) {
        *badLine = current.line;
        return false;
    }
    if (!field.isEmpty() || !current.fields.isEmpty()) {
        current.fields << field;
        records.push_back(std::move(current));
    }
    return true;
}

bool startsWithWord(const QString& heading, QStringView word)
{
    return heading == word || (heading.startsWith(word) && !heading.at(word.size()).isLetter());
}

struct Columns {
    int code = -1, name = -1, price = -1, vat = -1;
};

// The column of a heading; exact headings win over longer ones ("Cijena"
// over "Cijena s PDV-om"), a price without VAT over one with it.
int findColumn(const QStringList& headings, QStringView word, bool price, QString* ambiguity)
{
    QList<int> exact, prefixed;
    for (int i = 0; i < headings.size(); ++i) {
        const QString h = folded(headings[i]);
        if (h == word)
            exact << i;
        else if (startsWithWord(h, word) || (word == u"pdv" && startsWithWord(h, u"stopa pdv")))
            prefixed << i;
    }
    if (!exact.isEmpty())
        return exact.first();
    if (price && prefixed.size() > 1) {
        QList<int> withoutVat;
        for (int i : prefixed) {
            if (folded(headings[i]).contains(u"bez pdv"))
                withoutVat << i;
        }
        if (withoutVat.size() == 1)
            return withoutVat.first();
    }
    if (prefixed.size() > 1) {
        QStringList names;
        for (int i : prefixed)
            names << u'"' + headings[i].trimmed() + u'"';
        *ambiguity = names.join(QStringLiteral(", "));
        return -1;
    }
    return prefixed.isEmpty() ? -1 : prefixed.first();
}

bool looksLikeHeader(const QStringList& fields)
{
    bool code = false, price = false;
    for (const QString& f : fields) {
        const QString h = folded(f);
        code = code || startsWithWord(h, u"sifra");
        price = price || startsWithWord(h, u"cijena");
    }
    return code && price;
}

QString field(const QStringList& fields, int column)
{
    return column >= 0 && column < fields.size() ? fields[column].trimmed() : QString();
}

bool allEmpty(const QStringList& fields)
{
    for (const QString& f : fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

Result failed(int line, const QString& reason)
{
    Result r;
    r.failure = {line, reason};
    return r;
}

} // namespace

QString folded(QStringView text)
{
    const QString decomposed = text.toString().trimmed().toLower().normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += c == u'đ' ? u'd' : c;
    }
    return out.simplified();
}

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return cp1250::decode(bytes);
}

QChar decimalMark(const QStringList& prices)
{
    int comma = 0, point = 0;
    for (const QString& text : prices) {
        const qsizetype c = text.lastIndexOf(u','), p = text.lastIndexOf(u'.');
        if (c >= 0 && p >= 0) {
            (c > p ? comma : point) += 1;
        } else if (c >= 0 || p >= 0) {
            const qsizetype at = std::max(c, p);
            const qsizetype after = text.size() - at - 1;
            // "1,234" or "1.234" alone could be either; other lengths decide.
            if (text.count(text[at]) == 1 && after != 3)
                (c >= 0 ? comma : point) += 1;
        }
    }
    if (comma > 0 && point == 0)
        return u',';
    if (point > 0 && comma == 0)
        return u'.';
    return {};
}

std::optional<double> number(QStringView input, QChar decimal)
{
    QString t;
    for (QChar c : input) {
        if (!c.isSpace() && c != QChar(0x00A0) && c != QChar(0x202F) && c != u'\'')
            t += c;
    }
    if (t.endsWith(u'€'))
        t.chop(1);
    else if (t.endsWith(QStringLiteral("EUR"), Qt::CaseInsensitive))
        t.chop(3);
    // Plain decimal numbers only: no exponents, no "inf" or "nan".
    if (t.isEmpty() || std::any_of(t.begin(), t.end(), [](QChar c) { return !c.isDigit() && c != u'.' && c != u',' && c != u'-' && c != u'+'; }))
        return std::nullopt;
    const qsizetype comma = t.lastIndexOf(u','), point = t.lastIndexOf(u'.');
    if (comma >= 0 && point >= 0) {
        // 1.234,56 or 1,234.56: the last one marks the decimals.
        const QChar grouping = comma > point ? u'.' : u',';
        t.remove(grouping);
        t.replace(u',', u'.');
    } else if (t.count(u',') + t.count(u'.') > 1) {
        // 1.234.567: grouping only, in threes.
        const QChar sep = comma >= 0 ? u',' : u'.';
        const QStringList groups = t.split(sep);
        for (int i = 1; i < groups.size(); ++i) {
            if (groups[i].size() != 3)
                return std::nullopt;
        }
        t.remove(sep);
    } else if (!decimal.isNull() && (t.contains(u',') || t.contains(u'.')) && !t.contains(decimal)) {
        // The file's other prices use the other mark for decimals: this one
        // groups thousands ("1.234" in a file of "12,50"), in threes.
        const QChar sep = decimal == u',' ? u'.' : u',';
        const QStringList groups = t.split(sep);
        if (groups.size() != 2 || groups[1].size() != 3)
            return std::nullopt;
        t.remove(sep);
    } else {
        t.replace(u',', u'.');
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> vatRate(QStringView text)
{
    QString t = folded(text);
    if (t.startsWith(u"pdv"))
        t = t.mid(3).trimmed();
    if (t.startsWith(u"stopa"))
        t = t.mid(5).trimmed();
    if (t == u"opca" || t == u"opca stopa")
        return 25.0;
    bool percent = false;
    if (t.endsWith(u'%')) {
        t.chop(1);
        percent = true;
    }
    std::optional<double> rate = number(t);
    if (!rate)
        return std::nullopt;
    if (!percent && *rate > 0 && *rate < 1)
        *rate = std::round(*rate * 10000) / 100; // 0,05 is 5 %
    // Only the fund's rates: "0,5" is no 50 % and "100" no rate at all.
    if (!pricing::isFundVatRate(*rate))
        return std::nullopt;
    return *rate;
}

QString describe(const Failure& failure)
{
    return failure.line > 0 ? QStringLiteral("Redak %1: %2").arg(failure.line).arg(failure.reason) : failure.reason;
}

Result read(const QString& path)
{
    QString error;
    const std::optional<QByteArray> bytes = textfile::readBytes(path, kMaxSize, &error);
    if (!bytes)
        return failed(0, error);
    return parse(*bytes);
}

std::optional<double> plainDecimal(QStringView input)
{
    const QString text = input.trimmed().toString();
    qsizetype marks = 0, digits = 0;
    for (QChar c : text) {
        if (c == u',' || c == u'.')
            ++marks;
        else if (c >= u'0' && c <= u'9')
            ++digits;
        else
            return std::nullopt;
    }
    if (marks > 1 || digits == 0 || text.startsWith(u',') || text.startsWith(u'.'))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(QString(text).replace(u',', u'.'), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

namespace {

// The records of the text and the index of the header row among them: the
// separator is the one with which a header row appears among the first rows
// (titles above the table are passed over). A failure when there is none.
std::optional<Failure> findTable(const QString& text, std::vector<Record>& records, int& header)
{
    header = -1;
    int badLine = 0;
    for (QChar separator : {u';', u',', u'\t'}) {
        std::vector<Record> candidate;
        int unclosed = 0;
        if (!splitRecords(text, separator, candidate, &unclosed)) {
            if (!badLine)
                badLine = unclosed;
            continue;
        }
        for (int i = 0; i < int(candidate.size()) && i < 30; ++i) {
            if (looksLikeHeader(candidate[i].fields)) {
                header = i;
                break;
            }
        }
        if (header >= 0) {
            records = std::move(candidate);
            return std::nullopt;
        }
    }
    if (badLine)
        return Failure{badLine, QStringLiteral("navodnik (\") otvoren u ovom retku nije zatvoren.")};
    return Failure{0, QStringLiteral("U datoteci nema retka sa zaglavljem stupaca \"Šifra\" i \"Cijena\".")};
}

// The columns the header row names; a failure when the code or the price
// has none, or when two columns could be the one.
std::optional<Failure> findColumns(const Record& head, Columns& c)
{
    QString ambiguity;
    c.code = findColumn(head.fields, u"sifra", false, &ambiguity);
    if (c.code >= 0)
        c.price = findColumn(head.fields, u"cijena", true, &ambiguity);
    if (c.price >= 0)
        c.name = findColumn(head.fields, u"naziv", false, &ambiguity);
    if (ambiguity.isEmpty())
        c.vat = findColumn(head.fields, u"pdv", false, &ambiguity);
    if (!ambiguity.isEmpty())
        return Failure{head.line, QStringLiteral("nije jasno koji je stupac pravi: %1.").arg(ambiguity)};
    if (c.code < 0)
        return Failure{head.line, QStringLiteral("nema stupca \"Šifra\".")};
    if (c.price < 0)
        return Failure{head.line, QStringLiteral("nema stupca \"Cijena\".")};
    return std::nullopt;
}

// Why a row with this code is passed over (a title, a note, a repeated
// code); empty when the code is one of the fund's.
QString codeRefusal(const QString& code, const QHash<QString, int>& seen)
{
    if (code.isEmpty())
        return QStringLiteral("nema šifre");
    if (std::any_of(code.begin(), code.end(), [](QChar c) { return c.isSpace(); }))
        return QStringLiteral("\"%1\" nije šifra").arg(code);
    // The fund's codes are digits; anything else is a title or a note.
    if (!std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QStringLiteral("\"%1\" nije šifra (šifra ima samo znamenke)").arg(code);
    if (code.size() != 12 && code.size() != 13)
        return QStringLiteral("šifra \"%1\" ima %2 znakova (treba 12 ili 13)").arg(code).arg(code.size());
    if (const auto it = seen.constFind(code); it != seen.constEnd())
        return QStringLiteral("šifra %1 već je u retku %2").arg(code).arg(*it);
    return {};
}

} // namespace

Result parse(const QByteArray& bytes)
{
    if (bytes.contains('\0') && !bytes.startsWith("\xFF\xFE"))
        return failed(0, QStringLiteral("Datoteka nije tekstualna (CSV) datoteka."));
    const QString text = decode(bytes);

    std::vector<Record> records;
    int header = -1;
    if (const std::optional<Failure> failure = findTable(text, records, header))
        return failed(failure->line, failure->reason);
    Columns c;
    if (const std::optional<Failure> failure = findColumns(records[header], c))
        return failed(failure->line, failure->reason);

    Content content;
    content.hasNames = c.name >= 0;
    content.hasVat = c.vat >= 0;
    QHash<QString, int> seen;
    // A file writes its decimals one way; "1.234" is read by the others.
    QStringList prices;
    for (size_t i = header + 1; i < records.size(); ++i)
        prices << field(records[i].fields, c.price).remove(u' ');
    const QChar decimal = decimalMark(prices);
    for (size_t i = header + 1; i < records.size(); ++i) {
        const Record& r = records[i];
        if (allEmpty(r.fields))
            continue;
        const QString code = field(r.fields, c.code);
        const QString priceText = field(r.fields, c.price);
        if (const QString refusal = codeRefusal(code, seen); !refusal.isEmpty()) {
            content.skipped.push_back({r.line, refusal});
            continue;
        }
        if (priceText.isEmpty()) {
            content.skipped.push_back({r.line, QStringLiteral("šifra %1 nema cijenu").arg(code)});
            continue;
        }
        // A price that is there but is no number means the file is not what
        // it seems (another column, another format): none of it is taken.
        const std::optional<double> price = number(priceText, decimal);
        if (!price)
            return failed(r.line, QStringLiteral("cijena \"%1\" nije broj.").arg(priceText));
        const pricing::AcceptedPrice accepted = pricing::acceptedPrice(*price, priceText);
        if (!accepted.price)
            return failed(r.line, accepted.reason + u'.');
        Row row;
        row.line = r.line;
        row.code = code;
        row.price = *accepted.price;
        if (c.name >= 0)
            row.name = field(r.fields, c.name);
        if (c.vat >= 0) {
            const QString vatText = field(r.fields, c.vat);
            if (!vatText.isEmpty()) {
                row.vatRate = vatRate(vatText);
                if (!row.vatRate)
                    return failed(r.line, QStringLiteral("stopa PDV-a \"%1\" nije razumljiva.").arg(vatText));
            }
        }
        seen.insert(code, r.line);
        content.rows.push_back(std::move(row));
    }
    Result result;
    result.content = std::move(content);
    return result;
}

} // namespace pricefile
