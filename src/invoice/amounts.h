#pragma once

#include <QString>

#include <optional>
#include <vector>

class Database;

// The amount of an invoice from the fund's code lists. A code of exactly
// 12 characters is priced from the old list (KelmorinISO), any other from
// the current one (OrtopedskaKelmorinISO); prices are without VAT.
namespace amounts {

struct Line {
    QString code;
    int quantity = 0;
};

struct Price {
    double price = 0;   // Cijena, per unit without VAT
    double vatRate = 0; // PDV in percent
};

// The first row of the code's list with this code, found through the index.
std::optional<Price> lookUp(Database& db, const QString& code);

// Line amount without VAT: Int(price * quantity * 100 + 0.51) / 100, so a
// remainder of 0.49 of a cent already rounds up.
double lineNet(double price, int quantity);
// Its VAT: Int(net * rate + 0.51) / 100.
double lineVat(double net, double ratePercent);

struct Result {
    std::optional<double> amount; // net + VAT of every line; none on an unknown code
    QString unknownCode;
};
// Lines with an empty code are skipped; the first unknown code stops.
Result compute(Database& db, const std::vector<Line>& lines);
QString unknownCodeMessage(const QString& code);

// The patient's co-payment on an invoice of total T: 20 % in whole cents,
// the whole amount when that is at most 1.7661, at least 8.83 and at most
// 530.88, then rounded to cents.
double coPayment(double total);
// The text of "Iznos sudjelovanja".
QString coPaymentText(double total, bool exempt, bool supplementary);

} // namespace amounts
