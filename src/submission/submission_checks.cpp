#include "submission_checks.h"

#include "common/dialogs.h"
#include "data/business_year.h"
#include "data/sql_values.h"
#include "invoice/identifiers.h"

namespace submission {
namespace {

// Empty when the invoice may go; otherwise the message that stops the run.
QString hardError(const Invoice& invoice)
{
    const QString number = QString::number(invoice.number), &broj = invoice.confirmation;
    if (!identifiers::isSubmittableConfirmationNumber(broj))
        return QStringLiteral("Neispravno upisan broj potvrde kod računa s rednim br. ") + number + QStringLiteral(" (")
            + broj + QStringLiteral(").\r\nMora biti u formatu xxx/xxxxxxxxx ili 14 znamenkasti broj. Molim ispravite ili "
                                    "ga isključite sa diskete!");
    if (invoice.ordered.isValid() && invoice.billed.isValid() && invoice.ordered > invoice.billed)
        return QStringLiteral("Datum obračuna ne smije biti manji od datuma narudžbe  kod računa s rednim br. ") + number
            + QStringLiteral("\r\nMolim ispravite ili ga isključite sa diskete!");
    // A code without a quantity would go to the fund as ":.00:".
    for (const AidLine& line : invoice.offered()) {
        if (!line.isEmpty() && !line.hasQuantity())
            return QStringLiteral("Nije upisana količina kelmorin ") + line.code + QStringLiteral(" kod računa s rednim br. ")
                + number + QStringLiteral("\r\nMolim ispravite ili ga isključite sa diskete!");
    }
    return {};
}

QString possibleErrors(const Invoice& invoice)
{
    const QString number = QString::number(invoice.number), &broj = invoice.confirmation;
    QString found;
    for (QChar c : broj) {
        if (c != u'/' && !(c.isDigit() && c.unicode() < 128))
            found += QStringLiteral("Neispravno upisan broj potvrde ") + broj + QStringLiteral("  kod računa br. ") + number
                + QStringLiteral("\r\n");
    }
    if (invoice.sickList.isEmpty() && !identifiers::isSubmittableInsuredNumber(invoice.insuredSecond))
        found += QStringLiteral("Neispravno upisan broj osigurane osobe ") + invoice.insuredSecond
            + QStringLiteral(" kod računa br. ") + number + QStringLiteral("\r\n");
    return found;
}

} // namespace

bool kindOfAidsIsValid(const General& general)
{
    const int kind = invoices::leadingNumber(general.kindOfAids);
    return kind >= 1 && kind <= 5;
}

bool checkInvoices(const std::vector<Invoice>& invoices, Dialogs& dialogs)
{
    QString gathered;
    for (const Invoice& invoice : invoices) {
        const QString error = hardError(invoice);
        if (!error.isEmpty()) {
            dialogs.message(error);
            return false;
        }
        if (invoice.ordered.isValid() && invoice.billed.isValid() && invoice.ordered.daysTo(invoice.billed) > 30)
            dialogs.message(QStringLiteral("Datum obračuna je više od 30 dana veći od datuma narudžbe  kod računa s rednim br. ")
                            + QString::number(invoice.number) + QStringLiteral(" (program će ipak nastaviti dalje)"));
        gathered += possibleErrors(invoice);
    }
    if (gathered.isEmpty())
        return true;
    return dialogs.okCancel(gathered + QStringLiteral("\r\nŽelite li nastaviti?"), QStringLiteral("Pronađene moguće greške"));
}

} // namespace submission
