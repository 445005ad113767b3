#pragma once

#include <QDateTime>
#include <QVariant>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <array>
#include <string>
#include <vector>

#include "data/general_record.h"
#include "data/invoice_record.h"

class Database;
namespace pricing {
class Catalogue;
}

// The fund's submission file: one record "60" per invoice and one record
// "61" per aid line, fields ended by colons, amounts with a decimal point,
// Windows-1250 text with CR LF.
namespace submission {

using General = GeneralRecord;
using Invoice = InvoiceRecord;

// The supplier as the file names it.
struct Supplier {
    QString code;     // the retail location's code when it has the fund's nine characters, else Sifra
    QString name;     // Naziv
    QString numberTail; // "-P1-2-24": premises, register and the year's last two digits
    QString basicMark, supplementaryMark; // Oznosn, Ozndop
};
Supplier supplierFrom(const General& general);

// The marked invoices of the business year in ascending Rnbr; none with
// *error set when they could not be read.
std::vector<Invoice> select(Database& db, int twoDigitYear, const QString& mark, QString* error);

// "15-P1-2-24" + the basic or the supplementary mark.
QString basicNumber(const Invoice& invoice, const Supplier& supplier);
QString supplementaryNumber(const Invoice& invoice, const Supplier& supplier);

struct Line {
    QString code;
    QString quantity; // as stored
    double amount = 0; // net + VAT
    // The same line priced: its place on the invoice (1 to 4), its net
    // amount and VAT in whole cents, its code list's VAT rate.
    int position = 0;
    double net = 0, vat = 0, vatRate = 0;
};

// One invoice worked out again from the code lists (aid lines 1 to 4).
struct Computed {
    QString unknownCode;         // an aid no list holds: the invoice cannot be sent
    QString missingQuantityCode; // an aid without a quantity: the invoice cannot be sent
    QString error;               // a code list that could not be read
    bool ok() const { return unknownCode.isEmpty() && missingQuantityCode.isEmpty() && error.isEmpty(); }
    std::vector<Line> lines;
    double net = 0, vat = 0;  // the sums of the lines
    double total = 0;         // T
    double coPayment = 0;     // P, the patient's share
    double supplementary = 0; // S, the supplementary insurance's share
    double basic = 0;         // B, the fund's share
    float vatSupplementary = 0;
    float vatBasic = 0;
};
Computed compute(pricing::Catalogue& catalogue, const Invoice& invoice);
Computed compute(Database& db, const Invoice& invoice);

QString record60(const Invoice& invoice, const Supplier& supplier, const Computed& c);
QStringList records61(const Invoice& invoice, const Computed& c);
// The invoice's record 60 and its records 61, each ended by CR LF.
QString records(const Invoice& invoice, const Supplier& supplier, const Computed& c);
// The same appended to a block as the file's Windows-1250 bytes (a buffer
// used again for every invoice of a run).
void appendRecordBytes(std::string& bytes, const Invoice& invoice, const Supplier& supplier, const Computed& c);

// Supplier code + office code + medium number "0000" + ".O" + the year's
// last two digits.
QString fileName(const QString& supplierCode, const QString& officeCode, int medium, const QString& mediumDate);

// An older file of the same name in the folder gets the date and time in
// its name; returns the new name, or an empty text when there was none.
QString moveAside(const QString& folder, const QString& name, const QDateTime& now);

// An amount as the file writes it: "0.00" with a decimal point.
QString amount(double value);

} // namespace submission
