#include "submission_records.h"

#include "common/formats.h"
#include "common/money.h"
#include "data/database.h"
#include "data/sql_values.h"
#include "print/print_sources.h"
#include "invoice/aid_lookup.h"
#include "invoice/identifiers.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <cmath>

namespace submission {
namespace {

using printsources::text;
using printsources::flag;

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

QString fields(const QStringList& values)
{
    QString line;
    for (const QString& v : values)
        line += v + u':';
    return line;
}

} // namespace

Invoice invoiceFrom(const QVariantMap& f)
{
    Invoice i;
    i.number = f.value(QStringLiteral("Rnbr")).toInt();
    i.billed = sqlvalue::toDate(f.value(QStringLiteral("Datum")));
    i.ordered = sqlvalue::toDate(f.value(QStringLiteral("Datumnar")));
    i.issued = sqlvalue::toDate(f.value(QStringLiteral("DatumIzdavanja")));
    i.confirmation = text(f, "Broj");
    i.insuredFirst = text(f, "Brosig1");
    i.insuredSecond = text(f, "Brosig2");
    i.sickList = text(f, "Brbolesnlist");
    i.country = text(f, "Drz");
    i.policy = text(f, "Dopunsko");
    i.office = text(f, "Pu");
    i.exempt = flag(f, "Osl");
    i.supplementary = flag(f, "Dop");
    for (int n = 0; n < 4; ++n) {
        i.codes[n] = sqlvalue::toText(f.value(QStringLiteral("Pom%1").arg(n + 1)));
        i.quantities[n] = f.value(QStringLiteral("Kol%1").arg(n + 1));
    }
    return i;
}

Supplier supplierFrom(const General& general)
{
    const QString retail = text(general, "SifraMalopr");
    return {retail.size() == 9 ? retail : text(general, "Sifra"), text(general, "Naziv"),
            u'-' + text(general, "Prostor") + u'-' + text(general, "Operater") + u'-' + text(general, "God").right(2),
            text(general, "Oznosn"), text(general, "Ozndop")};
}

std::vector<Invoice> select(Database& db, int twoDigitYear, const QString& mark)
{
    std::vector<Invoice> invoices;
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT Rnbr, Datum, Datumnar, DatumIzdavanja, Broj, Brosig1, Brosig2, Brbolesnlist, Drz, "
                             "Dopunsko, Pu, Osl, Dop, Pom1, Kol1, Pom2, Kol2, Pom3, Kol3, Pom4, Kol4 "
                             "FROM Rn WHERE God = ? AND Izbor = ? ORDER BY Rnbr"));
    q.addBindValue(twoDigitYear);
    q.addBindValue(mark);
    if (!q.exec())
        return invoices;
    while (q.next()) {
        Invoice i;
        i.number = q.value(0).toInt();
        i.billed = sqlvalue::toDate(q.value(1));
        i.ordered = sqlvalue::toDate(q.value(2));
        i.issued = sqlvalue::toDate(q.value(3));
        QString* texts[] = {&i.confirmation, &i.insuredFirst, &i.insuredSecond, &i.sickList, &i.country, &i.policy, &i.office};
        for (int k = 0; k < 7; ++k)
            *texts[k] = sqlvalue::toText(q.value(4 + k));
        i.exempt = sqlvalue::toBool(q.value(11));
        i.supplementary = sqlvalue::toBool(q.value(12));
        for (int n = 0; n < 4; ++n) {
            i.codes[n] = sqlvalue::toText(q.value(13 + 2 * n));
            i.quantities[n] = q.value(14 + 2 * n);
        }
        invoices.push_back(std::move(i));
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

double shareBeforeRounding(double total)
{
    double p = money::basicInt(total * 20 + money::kHalfUp) / 100;
    if (p <= 1.7661)
        return total;
    if (p <= 8.83)
        p = 8.83;
    if (p > 530.88)
        p = 530.88;
    return p;
}

Computed compute(Database& db, const Invoice& invoice)
{
    aids::Catalogue catalogue(db);
    return compute(catalogue, invoice);
}

Computed compute(aids::Catalogue& catalogue, const Invoice& invoice)
{
    Computed c;
    double vat = 0;
    for (int n = 0; n < 4; ++n) {
        const QString& code = invoice.codes[n];
        if (code.isEmpty())
            continue;
        const auto aid = catalogue.find(code.size() == 12 ? aids::List::Old12 : aids::List::New13, code);
        if (!aid) {
            c.unknownCode = code;
            return c;
        }
        const QVariant& quantity = invoice.quantities[n];
        const double net = money::basicInt(aid->price * 100 * quantity.toDouble() + money::kLine) / 100;
        const double lineVat = money::basicInt(aid->vatRate * net + money::kLine) / 100;
        vat += lineVat;
        c.total += net + lineVat;
        c.lines.push_back({code, sqlvalue::toText(quantity), net + lineVat});
    }
    const bool exempt = invoice.exempt, supplementary = invoice.supplementary;
    double p = 0;
    if (!exempt && !supplementary) {
        p = shareBeforeRounding(c.total);
        c.coPayment = money::roundCents(p, money::kHalf);
    }
    if (supplementary) {
        p = shareBeforeRounding(c.total);
        c.supplementary = money::roundCents(p, money::kHalf);
    }
    c.basic = exempt ? c.total : c.total - c.coPayment - c.supplementary;
    if (exempt)
        c.vatBasic = float(vat);
    else
        c.vatBasic = c.total == 0 ? 0.0f : float(vat * (1 - p / c.total));
    c.vatSupplementary = supplementary && c.total != 0 ? float(vat * (p / c.total)) : 0.0f;
    return c;
}

QString amount(double value)
{
    // Nearly every amount is whole cents give or take the binary remainder:
    // written straight from the cents, as the pattern would write them.
    const double cents = std::round(value * 100);
    if (std::fabs(value * 100 - cents) < 1e-6 && std::fabs(cents) < 1e15) {
        const qint64 c = qint64(std::fabs(cents));
        const QString fraction = QString::number(c % 100).rightJustified(2, u'0');
        return (cents < 0 ? QStringLiteral("-") : QString()) + QString::number(c / 100) + u'.' + fraction;
    }
    return format::number(value, u"0.00", QLocale::c());
}

QString record60(const Invoice& invoice, const Supplier& supplier, const Computed& c)
{
    const ConfirmationForms broj = forms(invoice.confirmation);
    const QString& second = invoice.insuredSecond;
    const bool healthNumber = identifiers::isHealthNumber(second);
    const bool foreign = invoice.country.size() == 3 && invoice.country != u"HRV";
    const QString billed = format::date(invoice.billed, u"dd.MM.yyyy");
    return fields({
        QStringLiteral("60"),
        supplier.code,
        supplier.name.left(45),
        broj.oldForm,
        billed,
        QStringLiteral("4"),
        format::date(invoice.ordered, u"dd.MM.yyyy"),
        invoice.supplementary ? supplementaryNumber(invoice, supplier) : QString(),
        zeroPadded(invoice.policy, 8),
        amount(c.total),
        amount(c.coPayment),
        amount(c.supplementary),
        amount(c.vatSupplementary),
        amount(c.basic),
        amount(c.vatBasic),
        healthNumber ? QString() : zeroPadded(second, 8),
        healthNumber ? QString() : zeroPadded(invoice.insuredFirst, 3),
        healthNumber ? second : QString(),
        invoice.sickList,
        invoice.country,
        QString(),
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        basicNumber(invoice, supplier),
        foreign ? QStringLiteral("13004") : QStringLiteral("10055"),
        invoice.supplementary ? QStringLiteral("11201") : QString(),
        broj.newForm,
        QString(),
        issueDate(invoice),
        QString(),
        QString(),
        QStringLiteral("EUR"),
    });
}

QStringList records61(const Invoice& invoice, const Computed& c)
{
    const ConfirmationForms broj = forms(invoice.confirmation);
    const QString billed = format::date(invoice.billed, u"dd.MM.yyyy");
    QStringList records;
    for (const Line& line : c.lines) {
        records << fields({QStringLiteral("61"), broj.oldForm, billed, line.code, line.quantity + QStringLiteral(".00"),
                           amount(line.amount), QString(), broj.newForm, QString(), QString(), QString(), QString()});
    }
    return records;
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
