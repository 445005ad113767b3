#include "amounts.h"

#include "common/formats.h"
#include "common/money.h"
#include "data/database.h"

#include <QSqlQuery>

#include <cmath>

namespace amounts {

std::optional<Price> lookUp(Database& db, const QString& code)
{
    const QString list = code.size() == 12 ? QStringLiteral("KelmorinISO") : QStringLiteral("OrtopedskaKelmorinISO");
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT Cijena, PDV FROM %1 WHERE Sifra = ? ORDER BY rowid LIMIT 1").arg(list));
    q.addBindValue(code);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return Price{q.value(0).toDouble(), q.value(1).toDouble()};
}

double lineNet(double price, int quantity) { return money::basicInt(price * (quantity * 100.0) + money::kLine) / 100.0; }

double lineVat(double net, double ratePercent) { return money::basicInt(net * ratePercent + money::kLine) / 100.0; }

Result compute(Database& db, const std::vector<Line>& lines)
{
    double net = 0, vat = 0;
    for (const Line& line : lines) {
        if (line.code.isEmpty())
            continue;
        const std::optional<Price> price = lookUp(db, line.code);
        if (!price)
            return {std::nullopt, line.code};
        const double l = lineNet(price->price, line.quantity);
        net += l;
        vat += lineVat(l, price->vatRate);
    }
    // Whole cents, without the binary remainder of the sums.
    return {std::round((net + vat) * 100.0) / 100.0, {}};
}

QString unknownCodeMessage(const QString& code)
{
    return QStringLiteral("Šifra ") + code
        + QStringLiteral(" nije upisana u popisu kelmorin! Molim najprije upišite tu šifru u popis kelmorin!");
}

double coPayment(double total)
{
    double p = money::basicInt(20.0 * total + money::kHalfUp) / 100.0;
    if (p <= 1.7661)
        p = total;
    else if (p >= 530.88)
        p = 530.88;
    else if (p <= 8.83)
        p = 8.83;
    return money::roundCents(p, money::kHalf);
}

QString coPaymentText(double total, bool exempt, bool supplementary)
{
    if (exempt || supplementary)
        return QStringLiteral("Pacijent ne plaća sudjelovanje!");
    return QStringLiteral("Pacijent plaća ") + format::number(coPayment(total), u"0.00 €");
}

} // namespace amounts
