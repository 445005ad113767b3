#include "amounts.h"

#include "aid_lookup.h"
#include "common/formats.h"
#include "common/money.h"
#include "data/database.h"

#include <cmath>

namespace amounts {

std::optional<Price> lookUp(Database& db, const QString& code)
{
    const auto aid = aids::find(db, aids::listFor(code), code);
    if (!aid)
        return std::nullopt;
    return Price{aid->price, aid->vatRate};
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
