#pragma once

#include "data/general_record.h"
#include "data/invoice_record.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTime>

#include <vector>

namespace pricing {
class Catalogue;
}

// The invoices to the fund as Croatian e-invoices: UBL 2.1 documents by
// EN 16931 with the Croatian rules CIUS-HR and EXT-HR 2025. One document
// per invoice kind the fund pays: the basic-insurance invoice always, the
// supplementary-insurance invoice when the patient is insured
// supplementarily (the co-payment invoice to a patient is a sale to a
// person and no e-invoice).
//
// The amounts are those of the invoice's record in the fund's file, which
// the fund pays by: the lines at their whole price, the VAT by rate, the
// total. The printed invoice of that kind has the same lines and differs at
// most by the rounding of a line's VAT (the user is told); any other
// disagreement stops the document. The share another party
// pays (the co-payment on the basic invoice, the fund's share on the
// supplementary one) is carried as the prepaid amount, so that the amount
// due is the share this invoice asks for.
namespace eracun {

enum class Kind { Basic, Supplementary };

// The fund, Hrvatski zavod za zdravstveno osiguranje: its regional offices
// are units of the one legal person.
inline const QString kFundOib = QStringLiteral("02958272670");
inline const QString kFundName = QStringLiteral("Hrvatski zavod za zdravstveno osiguranje");

// The e-invoice's classification of an aid (KPD): the code's own where
// one is set, else its code list's.
struct Classification {
    QString oldList; // 12-character codes
    QString newList; // all other codes
    QHash<QString, QString> byCode;
    QString of(const QString& code) const;
};

// One document, ready to be written.
struct Document {
    Kind kind = Kind::Basic;
    QString number;   // the invoice number text of that kind
    QString fileName; // "eRacun-" + number + ".xml"
    QByteArray xml;   // UTF-8
    // Its amounts, as written: those of the fund's file.
    double net = 0, vat = 0, total = 0, prepaid = 0, payable = 0;
    // The printed invoice's. They differ from the document's only by the
    // rounding of each line's VAT (a cent per line at most, and a cent more
    // in a share).
    struct Printed {
        double vat = 0, total = 0, prepaid = 0, payable = 0;
    } printed;
    bool differsFromPrinted() const;
};

// What one invoice gives: its documents, or what stops them (each a line
// that names what to fix), in Croatian.
struct Built {
    std::vector<Document> documents;
    QStringList problems;
    bool ok() const { return problems.isEmpty(); }
};

// The kinds an invoice has: the basic one, and the supplementary one when
// the patient is insured supplementarily.
std::vector<Kind> kindsOf(const InvoiceRecord& invoice);

// Builds and checks the documents of these kinds (all of the invoice's
// kinds when `kinds` is empty). `issueTime` is the time the e-invoice was
// first made.
Built build(pricing::Catalogue& catalogue, const InvoiceRecord& invoice, const GeneralRecord& general,
            const Classification& classification, const QTime& issueTime, const std::vector<Kind>& kinds = {});

// The unit a UN/ECE unit code of a document stands for, as the code lists
// write it ("H87" is "kom"); the code itself when the lists have no such unit.
QString unitName(const QString& code);

// One message for an invoice that failed: its number and every problem.
QString problemMessage(const InvoiceRecord& invoice, const QStringList& problems);

// What a user is told of a document whose amounts differ from the printed
// invoice's: which, by how much, and why. Empty when they agree.
QString differenceNote(const Document& document);

} // namespace eracun
