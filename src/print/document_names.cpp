#include "document_names.h"

namespace documentname {

QString of(Document document, const InvoiceRecord& invoice)
{
    const QString invoiceId = QString::number(invoice.year).rightJustified(2, u'0') + u'-' + QString::number(invoice.number);
    switch (document) {
    case Document::ConfirmationForm:
        return QStringLiteral("Potvrda-") + invoiceId;
    case Document::BasicInvoice:
        return QStringLiteral("Racun-") + invoiceId + QStringLiteral("-osnovno");
    case Document::SupplementaryInvoice:
        return QStringLiteral("Racun-") + invoiceId
            + (invoice.supplementary ? QStringLiteral("-dopunsko") : QStringLiteral("-sudjelovanje"));
    case Document::Bookkeeping:
        return QStringLiteral("Racun-") + invoiceId + QStringLiteral("-knjigovodstvo");
    }
    return {};
}

} // namespace documentname
