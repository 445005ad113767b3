#include "submission_checks.h"

#include "common/dialogs.h"
#include "common/fund_text.h"
#include "data/business_year.h"
#include "data/sql_values.h"
#include "invoice/identifiers.h"
#include "invoice/print_checks.h"

#include <QRegularExpression>

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
    // A code without a quantity, a part of a piece or more than a box takes
    // would reach the fund as ":.00:", "2.5.00" or a sum nobody billed.
    if (const QString quantity = printchecks::quantityMessage(invoice); !quantity.isEmpty())
        return quantity + QStringLiteral("\r\nMolim ispravite ili ga isključite sa diskete!");
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

QString unsafeValueMessage(const std::vector<Invoice>& invoices, const General& general)
{
    const QString tail = QStringLiteral("\r\nTaj znak fajl za HZZO ne može prenijeti. Molim ispravite! Fajl nije napravljen.");
    const std::pair<const char*, const QString*> generalFields[] = {
        {"Naziv", &general.name},         {"Sifra", &general.code},        {"SifraMalopr", &general.retailCode},
        {"Prostor", &general.premises},   {"Operater", &general.registerMark}, {"Oznosn", &general.basicMark},
        {"Ozndop", &general.supplementaryMark},
    };
    for (const auto& [name, value] : generalFields) {
        if (const auto c = fundtext::firstUnsafe(*value))
            return QStringLiteral("Opći podaci: polje %1 sadrži znak %2.").arg(QLatin1String(name), fundtext::name(*c)) + tail;
    }
    for (const Invoice& invoice : invoices) {
        // A date that does not exist would go as an empty field and slip
        // past the check of the order date.
        if (const QString date = printchecks::unreadableDateMessage(invoice); !date.isEmpty())
            return date + QStringLiteral("\r\nMolim ispravite! Fajl nije napravljen.");
        const std::pair<const char*, const QString*> fields[] = {
            {"Broj", &invoice.confirmation}, {"Brosig1", &invoice.insuredFirst}, {"Brosig2", &invoice.insuredSecond},
            {"Brbolesnlist", &invoice.sickList}, {"Drz", &invoice.country}, {"Dopunsko", &invoice.policy},
        };
        for (const auto& [name, value] : fields) {
            if (const auto c = fundtext::firstUnsafe(*value))
                return QStringLiteral("Račun s rednim br. %1: polje %2 sadrži znak %3.")
                           .arg(QString::number(invoice.number), QLatin1String(name), fundtext::name(*c))
                    + tail;
        }
        for (const AidLine& line : invoice.aids) {
            if (const auto c = fundtext::firstUnsafe(line.code))
                return QStringLiteral("Račun s rednim br. %1: šifra pomagala sadrži znak %2.")
                           .arg(QString::number(invoice.number), fundtext::name(*c))
                    + tail;
        }
    }
    return {};
}

QString supplierCodeMessage(const Supplier& supplier)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (digits.match(supplier.code).hasMatch())
        return {};
    return QStringLiteral("Šifra isporučitelja \"%1\" smije imati samo znamenke: od nje se gradi ime fajla za HZZO.\r\n"
                          "Molim ispravite (Opći podaci)! Fajl nije napravljen.")
        .arg(supplier.code);
}

} // namespace submission
