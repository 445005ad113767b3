#pragma once

#include "invoice_record.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

class Database;

// Pricing an invoice from the fund's code lists: which list a code is
// found in, the amount and VAT of a line, the patient's co-payment with its
// limits, and the shares of the fund and the supplementary insurance, in
// each of the forms the documents have always shown them.
namespace pricing {

// ---- The code lists

enum class List { Old12, New13 };

// A code of exactly 12 characters is in the old list (KelmorinISO), any
// other code in the current one (OrtopedskaKelmorinISO). Every document
// looks its codes up by this one rule.
List listOf(QStringView code);
QString tableOf(List list);

// The code lists are defined by the position of their columns (counting
// from 0), not by their names, which differ between the fund's releases.
inline constexpr int kCodeColumn = 3;  // Sifra
inline constexpr int kIsoColumn = 4;   // the ISO 9999 class beside the code
inline constexpr int kNameColumn = 5;  // Naziv
inline constexpr int kPriceColumn = 19; // Cijena, per unit without VAT
inline constexpr int kVatColumn = 25;  // PDV, in percent

// ---- Prices a list may hold

// A price of a list is a plain decimal kept to four decimals, from 0 to
// below a million: no aid of the fund costs a million, and such a number
// (another column, a typing error) would overflow every printed amount.
inline constexpr double kPriceLimit = 1000000;
inline constexpr int kPriceDecimals = 4;

// The price a typed or loaded price is kept as: rounded to four decimals
// first, then checked; a price above 0 that rounds to 0 is refused too.
// Without a price, reason says why ("cijena -45 je negativna"), with the
// price as it was typed.
struct AcceptedPrice {
    std::optional<double> price;
    QString reason;
};
AcceptedPrice acceptedPrice(double price, const QString& typed);

// The VAT rates of the fund's lists, in percent.
bool isFundVatRate(double rate);
inline const QString kFundVatRates = QStringLiteral("5, 13 ili 25");

// Why a price or rate stored in a list cannot be used (not a number,
// negative, a million or more), or an empty text. Every document that
// prices an aid refuses such a row, naming its code.
QString storedPriceFault(const QString& code, double price, double vatRate);

// One aid of a code list.
struct Aid {
    QString name;       // column 5
    QVariant iso;       // column 4; may be null
    double price = 0;   // column 19
    double vatRate = 0; // column 25
    // By name, where the list has them: the unit ("cm2" for aids priced per
    // square centimetre of lining) and the lining's width and length.
    QString unit;           // JedMjere
    double liningWidth = 0; // OblogaSir
    double liningLength = 0; // OblogaDuz
};

// The answer of a look-up: the aid, no aid (the code is not in the list),
// or a failure to read the list (error says why).
struct Lookup {
    std::optional<Aid> aid;
    QString error;
    bool failed() const { return !error.isEmpty(); }
};

// The first row of the list with this code.
Lookup find(Database& db, List list, const QString& code);
inline Lookup find(Database& db, const QString& code) { return find(db, listOf(code), code); }

// Looks many codes up (a submission of thousands of invoices): each list's
// columns are read once, each code once.
class Catalogue {
public:
    explicit Catalogue(Database& db) : m_db(db) {}
    Lookup find(List list, const QString& code);
    Lookup find(const QString& code) { return find(listOf(code), code); }

private:
    Database& m_db;
    std::optional<QStringList> m_columns[2];
    QString m_columnsError[2];
    QHash<QString, std::optional<Aid>> m_known[2];
};

// The message of a code its list does not hold.
QString unknownCodeMessage(const QString& code);
// The message of a code list that could not be read.
QString failedLookupMessage(const QString& error);

// ---- Lines

struct LineAmount {
    double net = 0; // without VAT, in whole cents
    double vat = 0; // in whole cents
    double total() const { return net + vat; }
};

// The amount of a line as the invoice amount, the confirmation form and
// the fund's file compute it: net = Int(price * quantity * 100 + 0.51) / 100,
// VAT = Int(net * rate + 0.51) / 100. A remainder of 0.49 of a hundredth
// goes up (12.3449 becomes 12.35).
LineAmount line(double price, double quantity, double vatRate);
// The insurance invoices take the VAT of the unrounded price * quantity.
LineAmount invoiceLine(double price, double quantity, double vatRate);
// The insurance invoices' VAT rate: sunglasses and protective glasses with
// a dioptre carry the full rate, every other aid the reduced one; short
// codes keep their list's rate.
double invoiceVatRate(const QString& code, const Aid& aid);
// The VAT of one piece in whole cents (the bookkeeping copy multiplies it
// by the quantity).
double unitVat(double price, double vatRate);

// A line of the tax recapitulation: the unit price to four decimals (an aid
// sold by the square centimetre of lining is priced by the lining's area,
// at most 400 cm2), the base to cents and the VAT at the rate taken as a
// whole number of percent, each rounded up from 0.499 as the recapitulation
// has always done.
inline constexpr double kMaximumLiningArea = 400;
struct RecapitulationLine {
    double unitPrice = 0;
    double base = 0;
    int rate = 0;
    double vat = 0;
};
RecapitulationLine recapitulationLine(const Aid& aid, double quantity);
// A VAT sum of the recapitulation to cents, rounded as its lines.
double recapitulationCents(double amount);

// Which lines a document prices and how.
enum class Document {
    Amount,           // Iznos on the entry tab
    ConfirmationForm, // the back of the fund's confirmation form
    Invoice,          // the invoices for basic and supplementary insurance
    FundFile,         // the fund's submission file and its cover letter
    Bookkeeping,      // the copy for the bookkeeper
};

struct PricedLine {
    int line = 0; // 1 to 7
    QString code;
    QString quantityText; // as stored
    double quantity = 0;
    Aid aid;
    double vatRate = 0;   // the rate the document applies
    LineAmount amount;
};

// An invoice priced for one document. It stops at the first code no list
// holds (unknownCode), at a code without a quantity in the fund's file
// (missingQuantityCode) or at a list that could not be read (error).
struct Priced {
    std::vector<PricedLine> lines;
    double net = 0, vat = 0;
    double total = 0; // net + VAT in whole cents
    float vatSum = 0; // the VAT sum in single precision (the confirmation form)
    QString unknownCode;
    QString missingQuantityCode;
    QString error;
    bool ok() const { return unknownCode.isEmpty() && missingQuantityCode.isEmpty() && error.isEmpty(); }
};

Priced price(Catalogue& catalogue, const InvoiceRecord& invoice, Document document);
Priced price(Database& db, const InvoiceRecord& invoice, Document document);

// ---- The co-payment

// 20 % of the total is the patient's co-payment, but the whole total when
// 20 % comes to at most 1.7661, and never less than 8.83 or more than 530.88.
inline constexpr double kWholeAmountLimit = 1.7661;
inline constexpr double kMinimumCoPayment = 8.83;
inline constexpr double kMaximumCoPayment = 530.88;
inline constexpr double kCoPaymentPercent = 20;

enum class CoPaymentForm {
    Screen,   // "Iznos sudjelovanja"; 20 % to cents with 0.501, paid rounded with 0.5
    Invoice,  // the insurance invoices; the same
    FundFile, // the fund's file; the same
    Form,     // the confirmation form: 0.509 both times
};

struct CoPayment {
    double share = 0;  // after the limits, before the last rounding
    double amount = 0; // in whole cents
};
CoPayment coPayment(double total, CoPaymentForm form);

// "Pacijent plaća 0.00 €" or "Pacijent ne plaća sudjelovanje!".
QString coPaymentText(double total, bool exempt, bool supplementary);

// The shares of one invoice to the fund (on the invoices and in the file).
struct Shares {
    double coPayment = 0;     // the patient's (none when exempt or supplementary-insured)
    double supplementary = 0; // the supplementary insurance's
    double basic = 0;         // the fund's
    double fundVat = 0, coPaymentVat = 0; // the VAT in the fund's and in the other share
};
// The insurance invoices.
Shares invoiceShares(double total, double vat, bool exempt, bool supplementary);

// The fund's file: as the invoices, but the VAT shares in single precision
// and an exempt invoice is the fund's whole.
struct FileShares {
    double coPayment = 0, supplementary = 0, basic = 0;
    float vatBasic = 0, vatSupplementary = 0;
};
FileShares fileShares(double total, double vat, bool exempt, bool supplementary);

// The confirmation form: the patient's share (none when exempt; the
// supplementary insurance does not change it here), the fund's share and
// the VAT contained in it.
struct FormShares {
    double share = 0;  // S
    double shown = 0;  // S as the form shows it
    double fund = 0;   // X - S
    double fundVat = 0;
};
FormShares formShares(double amount, float vatSum, bool exempt);

// ---- The bookkeeping copy, in single precision as it has always been

// True when the patient pays the whole amount (20 % of it is at most 1.7661).
bool patientPaysAll(double amount);
// The fund's share of every price: 1 for an exempt or supplementary-insured
// patient, else (X - P) / X.
float bookkeepingRatio(double amount, bool exempt, bool supplementary);

struct VatByRate {
    float base5 = 0, vat5 = 0, base25 = 0, vat25 = 0;
};
// The bases and the VAT by rate: the VAT of one piece in whole cents
// times the quantity.
VatByRate bookkeepingVat(const Priced& priced);

} // namespace pricing
