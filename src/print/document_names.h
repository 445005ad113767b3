#pragma once

#include "data/invoice_record.h"

#include <QString>

// The name a print goes out under: the print dialog's title and the PDF
// file it offers, so that a folder of saved prints says what each file is
// (Racun-26-15-osnovno.pdf, Potvrda-26-15.pdf).
namespace documentname {

enum class Document { ConfirmationForm, BasicInvoice, SupplementaryInvoice, Bookkeeping };

// From the invoice's two-digit year and number; the supplementary invoice
// is named after what it bills (supplementary insurance or the patient's
// co-payment).
QString of(Document document, const InvoiceRecord& invoice);

} // namespace documentname
