#include "document_names.h"

#include "data/sql_values.h"

namespace documentname {

QString of(Document document, const QVariantMap& invoice)
{
    const QString year = sqlvalue::toText(invoice.value(QStringLiteral("God"))).trimmed().rightJustified(2, u'0');
    const QString number = sqlvalue::toText(invoice.value(QStringLiteral("Rnbr"))).trimmed();
    const QString invoiceId = year + u'-' + number;
    switch (document) {
    case Document::ConfirmationForm:
        return QStringLiteral("Potvrda-") + invoiceId;
    case Document::BasicInvoice:
        return QStringLiteral("Racun-") + invoiceId + QStringLiteral("-osnovno");
    case Document::SupplementaryInvoice:
        return QStringLiteral("Racun-") + invoiceId
            + (sqlvalue::toBool(invoice.value(QStringLiteral("Dop"))) ? QStringLiteral("-dopunsko")
                                                                     : QStringLiteral("-sudjelovanje"));
    case Document::Bookkeeping:
        return QStringLiteral("Racun-") + invoiceId + QStringLiteral("-knjigovodstvo");
    }
    return {};
}

} // namespace documentname
