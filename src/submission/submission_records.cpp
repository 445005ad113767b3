#include "submission_records.h"

#include "common/formats.h"
#include "common/money.h"
#include "data/database.h"
#include "data/sql_values.h"
#include "invoice/aid_lookup.h"
#include "invoice/identifiers.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace submission {
namespace {

QString text(const QVariantMap& m, const char* name) { return sqlvalue::toText(m.value(QLatin1String(name))); }
bool flag(const QVariantMap& m, const char* name) { return sqlvalue::toBool(m.value(QLatin1String(name))); }
QString day(const QVariant& v) { return format::date(sqlvalue::toDate(v), u"dd.MM.yyyy"); }

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

QString numberWithMark(const Invoice& invoice, const General& general, const char* mark)
{
    return text(invoice, "Rnbr") + u'-' + text(general, "Prostor") + u'-' + text(general, "Operater") + u'-'
        + text(general, "God").right(2) + text(general, mark);
}

QString issueDate(const Invoice& invoice)
{
    const QDate issued = sqlvalue::toDate(invoice.value(QStringLiteral("DatumIzdavanja")));
    const QDate billed = sqlvalue::toDate(invoice.value(QStringLiteral("Datum")));
    return issued.isValid() && (!billed.isValid() || issued <= billed) ? day(issued) : day(billed);
}

QString fields(const QStringList& values)
{
    QString line;
    for (const QString& v : values)
        line += v + u':';
    return line;
}

} // namespace

std::vector<Invoice> select(Database& db, int twoDigitYear, const QString& mark)
{
    std::vector<Invoice> invoices;
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT * FROM Rn WHERE God = ? AND Izbor = ? ORDER BY Rnbr"));
    q.addBindValue(twoDigitYear);
    q.addBindValue(mark);
    if (!q.exec())
        return invoices;
    const QSqlRecord record = q.record();
    while (q.next()) {
        Invoice invoice;
        for (int i = 0; i < record.count(); ++i)
            invoice.insert(record.fieldName(i), q.value(i));
        invoices.push_back(std::move(invoice));
    }
    return invoices;
}

QString supplierCode(const General& general)
{
    const QString retail = text(general, "SifraMalopr");
    return retail.size() == 9 ? retail : text(general, "Sifra");
}

QString basicNumber(const Invoice& invoice, const General& general) { return numberWithMark(invoice, general, "Oznosn"); }

QString supplementaryNumber(const Invoice& invoice, const General& general)
{
    return numberWithMark(invoice, general, "Ozndop");
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
    Computed c;
    double vat = 0;
    for (int n = 1; n <= 4; ++n) {
        const QString code = sqlvalue::toText(invoice.value(QStringLiteral("Pom%1").arg(n)));
        if (code.isEmpty())
            continue;
        const auto aid = aids::find(db, code.size() == 12 ? aids::List::Old12 : aids::List::New13, code);
        if (!aid) {
            c.unknownCode = code;
            return c;
        }
        const QVariant quantity = invoice.value(QStringLiteral("Kol%1").arg(n));
        const double net = money::basicInt(aid->price * 100 * quantity.toDouble() + money::kLine) / 100;
        const double lineVat = money::basicInt(aid->vatRate * net + money::kLine) / 100;
        vat += lineVat;
        c.total += net + lineVat;
        c.lines.push_back({code, sqlvalue::toText(quantity), net + lineVat});
    }
    const bool exempt = flag(invoice, "Osl"), supplementary = flag(invoice, "Dop");
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

QString amount(double value) { return format::number(value, u"0.00", QLocale::c()); }

QString record60(const Invoice& invoice, const General& general, const Computed& c)
{
    const bool supplementary = flag(invoice, "Dop");
    const ConfirmationForms broj = forms(text(invoice, "Broj"));
    const QString second = text(invoice, "Brosig2");
    const bool healthNumber = identifiers::isHealthNumber(second);
    const QString country = text(invoice, "Drz");
    const bool foreign = country.size() == 3 && country != u"HRV";
    return fields({
        QStringLiteral("60"),
        supplierCode(general),
        text(general, "Naziv").left(45),
        broj.oldForm,
        day(invoice.value(QStringLiteral("Datum"))),
        QStringLiteral("4"),
        day(invoice.value(QStringLiteral("Datumnar"))),
        supplementary ? supplementaryNumber(invoice, general) : QString(),
        zeroPadded(text(invoice, "Dopunsko"), 8),
        amount(c.total),
        amount(c.coPayment),
        amount(c.supplementary),
        amount(c.vatSupplementary),
        amount(c.basic),
        amount(c.vatBasic),
        healthNumber ? QString() : zeroPadded(second, 8),
        healthNumber ? QString() : zeroPadded(text(invoice, "Brosig1"), 3),
        healthNumber ? second : QString(),
        text(invoice, "Brbolesnlist"),
        country,
        QString(),
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        basicNumber(invoice, general),
        foreign ? QStringLiteral("13004") : QStringLiteral("10055"),
        supplementary ? QStringLiteral("11201") : QString(),
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
    const ConfirmationForms broj = forms(text(invoice, "Broj"));
    const QString billed = day(invoice.value(QStringLiteral("Datum")));
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
