#include "pricing.h"

#include "common/formats.h"
#include "common/money.h"
#include "database.h"
#include "sql_values.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>

namespace pricing {
namespace {

// The names of a list's columns, which the look-up addresses by position.
std::optional<QStringList> listColumns(Database& db, List list, QString* error)
{
    const QString table = tableOf(list);
    const QStringList columns = db.columns(table);
    if (columns.size() <= kVatColumn) {
        *error = columns.isEmpty() ? QStringLiteral("Tablica %1 ne postoji ili se ne može pročitati.").arg(table)
                                   : QStringLiteral("Tablica %1 ima %2 stupaca, a popis kelmorin ih ima barem %3.")
                                         .arg(table)
                                         .arg(columns.size())
                                         .arg(kVatColumn + 1);
        return std::nullopt;
    }
    return columns;
}

// A column the list may have under its name, or NULL.
QString namedOrNull(const QStringList& columns, const char* name)
{
    for (const QString& column : columns) {
        if (column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return sqlvalue::quotedName(column);
    }
    return QStringLiteral("NULL");
}

Lookup findIn(Database& db, List list, const QStringList& columns, const QString& code)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7 FROM %8 WHERE %9 = ? ORDER BY rowid LIMIT 1")
                  .arg(sqlvalue::quotedName(columns[kNameColumn]), sqlvalue::quotedName(columns[kIsoColumn]),
                       sqlvalue::quotedName(columns[kPriceColumn]), sqlvalue::quotedName(columns[kVatColumn]),
                       namedOrNull(columns, "JedMjere"), namedOrNull(columns, "OblogaSir"), namedOrNull(columns, "OblogaDuz"),
                       tableOf(list), sqlvalue::quotedName(columns[kCodeColumn])));
    q.addBindValue(code);
    if (!q.exec())
        return {std::nullopt, q.lastError().text()};
    if (!q.next())
        return {std::nullopt, q.lastError().isValid() ? q.lastError().text() : QString()};
    Aid aid{q.value(0).toString(), q.value(1), q.value(2).toDouble(), q.value(3).toDouble(), q.value(4).toString(),
            q.value(5).toDouble(), q.value(6).toDouble()};
    if (const QString fault = storedPriceFault(code, aid.price, aid.vatRate); !fault.isEmpty())
        return {std::nullopt, fault};
    return {std::move(aid), {}};
}

double cents(double amount, double k) { return money::roundCents(amount, k); }

} // namespace

AcceptedPrice acceptedPrice(double price, const QString& typed)
{
    if (!std::isfinite(price))
        return {std::nullopt, QStringLiteral("cijena %1 nije broj").arg(typed)};
    const double scale = std::pow(10.0, kPriceDecimals);
    const double kept = std::round(price * scale) / scale;
    if (price < 0)
        return {std::nullopt, QStringLiteral("cijena %1 je negativna").arg(typed)};
    if (kept >= kPriceLimit)
        return {std::nullopt, QStringLiteral("cijena %1 je prevelika za cijenu pomagala (najviše 999999,9999)").arg(typed)};
    if (kept == 0 && price > 0)
        return {std::nullopt, QStringLiteral("cijena %1 na četiri decimale je 0").arg(typed)};
    return {kept == 0 ? 0.0 : kept, {}};
}

bool isFundVatRate(double rate) { return rate == 5 || rate == 13 || rate == 25; }

QString storedPriceFault(const QString& code, double price, double vatRate)
{
    QString what;
    if (!std::isfinite(price) || price < 0 || price >= kPriceLimit)
        what = QStringLiteral("cijena %1").arg(price, 0, 'g', 17);
    else if (!std::isfinite(vatRate) || vatRate < 0 || vatRate > 100)
        what = QStringLiteral("stopa PDV-a %1").arg(vatRate, 0, 'g', 17);
    if (what.isEmpty())
        return {};
    return QStringLiteral("Šifra %1 u popisu kelmorin ima neispravnu vrijednost (%2); cijena mora biti od 0 do 999999,9999, "
                          "a stopa PDV-a od 0 do 100.\r\nIspravite je u popisu kelmorin i ponovite naredbu.")
        .arg(code, what);
}

List listOf(QStringView code) { return code.size() == 12 ? List::Old12 : List::New13; }

QString tableOf(List list)
{
    return list == List::Old12 ? QStringLiteral("KelmorinISO") : QStringLiteral("OrtopedskaKelmorinISO");
}

Lookup find(Database& db, List list, const QString& code)
{
    QString error;
    const std::optional<QStringList> columns = listColumns(db, list, &error);
    if (!columns)
        return {std::nullopt, error};
    return findIn(db, list, *columns, code);
}

Lookup Catalogue::find(List list, const QString& code)
{
    const int i = list == List::Old12 ? 0 : 1;
    if (!m_columns[i]) {
        m_columns[i] = listColumns(m_db, list, &m_columnsError[i]);
        if (!m_columns[i])
            return {std::nullopt, m_columnsError[i]};
    }
    auto& known = m_known[i];
    const auto it = known.constFind(code);
    if (it != known.constEnd())
        return {*it, {}};
    Lookup found = findIn(m_db, list, *m_columns[i], code);
    if (!found.failed())
        known.insert(code, found.aid);
    return found;
}

QString unknownCodeMessage(const QString& code)
{
    return QStringLiteral("Šifra ") + code
        + QStringLiteral(" nije upisana u popisu kelmorin! Molim najprije upišite tu šifru u popis kelmorin!");
}

QString failedLookupMessage(const QString& error)
{
    return QStringLiteral("Popis kelmorin nije moguće pročitati!\r\n") + error;
}

LineAmount line(double price, double quantity, double vatRate)
{
    const double net = cents(price * quantity, money::kLine);
    return {net, cents(net * vatRate / 100, money::kLine)};
}

LineAmount invoiceLine(double price, double quantity, double vatRate)
{
    return {cents(price * quantity, money::kLine), cents(price * quantity * vatRate / 100, money::kLine)};
}

double invoiceVatRate(const QString& code, const Aid& aid)
{
    if (code.size() < 9)
        return aid.vatRate;
    const QStringView group = QStringView(code).left(10);
    return group == u"2103031412" || group == u"2103031413" ? 25 : 5;
}

double unitVat(double price, double vatRate) { return cents(price * vatRate / 100, money::kLine); }

RecapitulationLine recapitulationLine(const Aid& aid, double quantity)
{
    double area = 1;
    if (aid.unit == u"cm2")
        area = std::min(std::nearbyint(aid.liningWidth * aid.liningLength), kMaximumLiningArea);
    RecapitulationLine r;
    r.unitPrice = money::basicInt(aid.price * area * 10000 + money::kHalfUp) / 10000;
    r.base = money::basicInt(r.unitPrice * 100 * quantity + money::kHalfUp) / 100;
    r.rate = int(std::clamp(std::nearbyint(aid.vatRate), 0.0, 255.0));
    r.vat = money::basicInt(r.rate * r.base + money::kHalfUp) / 100;
    return r;
}

double recapitulationCents(double amount) { return money::basicInt(amount * 100 + money::kHalfUp) / 100; }

Priced price(Database& db, const InvoiceRecord& invoice, Document document)
{
    Catalogue catalogue(db);
    return price(catalogue, invoice, document);
}

Priced price(Catalogue& catalogue, const InvoiceRecord& invoice, Document document)
{
    Priced p;
    const int lines = document == Document::Invoice ? aidfields::kLines : aidfields::kOfferedLines;
    p.lines.reserve(size_t(lines));
    for (int n = 1; n <= lines; ++n) {
        const AidLine& stored = invoice.aids[size_t(n - 1)];
        if (stored.isEmpty())
            continue;
        if (document == Document::FundFile && !stored.hasQuantity()) {
            p.missingQuantityCode = stored.code;
            return p;
        }
        const double quantity = stored.quantity();
        if (document == Document::Invoice && quantity <= 0)
            continue;
        Lookup found = catalogue.find(stored.code);
        if (found.failed()) {
            p.error = found.error;
            return p;
        }
        if (!found.aid) {
            p.unknownCode = stored.code;
            return p;
        }
        const double rate = found.aid->vatRate;
        PricedLine l{n, stored.code, stored.quantityText, quantity, std::move(*found.aid), rate, {}};
        if (document == Document::Invoice) {
            l.vatRate = invoiceVatRate(stored.code, l.aid);
            l.amount = invoiceLine(l.aid.price, quantity, l.vatRate);
        } else {
            l.amount = line(l.aid.price, quantity, l.vatRate);
        }
        p.net += l.amount.net;
        p.vat += l.amount.vat;
        p.vatSum += float(l.amount.vat);
        p.lines.push_back(std::move(l));
    }
    // Whole cents, without the binary remainder of the sums.
    p.total = std::round((p.net + p.vat) * 100) / 100;
    return p;
}

CoPayment coPayment(double total, CoPaymentForm form)
{
    const double k = form == CoPaymentForm::Form ? money::kNearlyUp : money::kHalfUp;
    double share = cents(total * kCoPaymentPercent / 100, k);
    if (share <= kWholeAmountLimit)
        share = total;
    else if (share >= kMaximumCoPayment)
        share = kMaximumCoPayment;
    else if (share <= kMinimumCoPayment)
        share = kMinimumCoPayment;
    return {share, cents(share, form == CoPaymentForm::Form ? money::kNearlyUp : money::kHalf)};
}

QString coPaymentText(double total, bool exempt, bool supplementary)
{
    if (exempt || supplementary)
        return QStringLiteral("Pacijent ne plaća sudjelovanje!");
    return QStringLiteral("Pacijent plaća ") + format::number(coPayment(total, CoPaymentForm::Screen).amount, u"0.00 €");
}

namespace {

// Who pays the co-payment of a total: the patient (neither exempt nor
// supplementary-insured) or the supplementary insurance; `share` is the
// one computed last, before its rounding.
struct Split {
    double patient = 0, insurance = 0, share = 0;
};

Split split(double total, bool exempt, bool supplementary, CoPaymentForm form)
{
    Split s;
    if (!exempt && !supplementary) {
        const CoPayment c = coPayment(total, form);
        s.share = c.share;
        s.patient = c.amount;
    }
    if (supplementary) {
        const CoPayment c = coPayment(total, form);
        s.share = c.share;
        s.insurance = c.amount;
    }
    return s;
}

} // namespace

Shares invoiceShares(double total, double vat, bool exempt, bool supplementary)
{
    const Split p = split(total, exempt, supplementary, CoPaymentForm::Invoice);
    Shares s{p.patient, p.insurance, total - p.patient - p.insurance, 0, 0};
    if (total != 0) {
        s.fundVat = exempt ? vat : vat * (1 - p.share / total);
        s.coPaymentVat = exempt && !supplementary ? 0 : vat * p.share / total;
    }
    return s;
}

FileShares fileShares(double total, double vat, bool exempt, bool supplementary)
{
    const Split p = split(total, exempt, supplementary, CoPaymentForm::FundFile);
    FileShares s{p.patient, p.insurance, exempt ? total : total - p.patient - p.insurance, 0, 0};
    if (exempt)
        s.vatBasic = float(vat);
    else
        s.vatBasic = total == 0 ? 0.0f : float(vat * (1 - p.share / total));
    s.vatSupplementary = supplementary && total != 0 ? float(vat * (p.share / total)) : 0.0f;
    return s;
}

FormShares formShares(double amount, float vatSum, bool exempt)
{
    FormShares s;
    if (!exempt) {
        const CoPayment c = coPayment(amount, CoPaymentForm::Form);
        s.share = c.share;
        s.shown = c.amount;
    }
    s.fund = amount - s.share;
    // The VAT contained in the fund's share; nothing to share out of 0.
    s.fundVat = amount == 0 ? 0 : cents(s.fund * vatSum / amount, money::kNearlyUp);
    return s;
}

bool patientPaysAll(double amount)
{
    return cents(amount * kCoPaymentPercent / 100, money::kHalfUp) <= kWholeAmountLimit;
}

float bookkeepingRatio(double amount, bool exempt, bool supplementary)
{
    if (exempt || supplementary || amount == 0)
        return 1.0f;
    // The limits as amounts: 20 % of 44.15 is the smallest co-payment, 20 %
    // of 2654.40 the largest.
    const float x = float(amount);
    float p = float(money::basicInt(x * 20.0f + float(money::kHalfUp))) / 100.0f;
    if (x < float(kMinimumCoPayment * 100 / kCoPaymentPercent))
        p = float(kMinimumCoPayment);
    if (x > float(kMaximumCoPayment * 100 / kCoPaymentPercent))
        p = float(kMaximumCoPayment);
    return (x - p) / x;
}

VatByRate bookkeepingVat(const Priced& priced)
{
    VatByRate v;
    for (const PricedLine& l : priced.lines) {
        const float q = float(l.quantity), c = float(l.aid.price);
        if (l.aid.vatRate == 5) {
            v.base5 += q * c;
            v.vat5 += float(std::round(unitVat(l.aid.price, 5) * 100)) * q / 100;
        } else {
            v.base25 += q * c;
            v.vat25 += float(std::round(unitVat(l.aid.price, 25) * 100)) * q / 100;
        }
    }
    return v;
}

} // namespace pricing
