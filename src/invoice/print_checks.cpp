#include "print_checks.h"

#include "common/dialogs.h"
#include "identifiers.h"

namespace printchecks {
namespace {

const QString kInsuredNumberMissing = QStringLiteral("Molim upišite broj osigurane osobe ili MBO!");

Result stop(const QString& message) { return {Verdict::Stop, message}; }
Result pass() { return {Verdict::Pass, {}}; }

} // namespace

QString unreadableDateMessage(const InvoiceRecord& invoice)
{
    if (invoice.unreadableDate.isEmpty())
        return {};
    return QStringLiteral("Račun s rednim br. %1: polje %2 sadrži datum koji ne postoji (%3).")
        .arg(QString::number(invoice.number), invoice.unreadableDate, invoice.unreadableDateText);
}

QString quantityMessage(const InvoiceRecord& invoice)
{
    const QString number = QString::number(invoice.number);
    for (const AidLine& line : invoice.offered()) {
        if (line.isEmpty() || line.hasBillableQuantity())
            continue;
        // Only an empty quantity is one not entered; "2,5" or "-2" is named
        // as typed.
        if (line.quantityText.trimmed().isEmpty())
            return QStringLiteral("Nije upisana količina kelmorin ") + line.code + QStringLiteral(" kod računa s rednim br. ")
                + number;
        // Nothing, a part of a piece or more than a box takes would reach
        // the fund as "0.00", "2.5.00" or a sum nobody billed.
        return QStringLiteral("Količina kelmorin ") + line.code + QStringLiteral(" kod računa s rednim br. ") + number
            + QStringLiteral(" mora biti cijeli broj od 1 do 9999 (upisano: ") + line.quantityText + QStringLiteral(").");
    }
    return {};
}

Result evaluate(Check check, const InvoiceRecord& f, Print print)
{
    const bool noSickList = f.sickList.isEmpty();
    const bool datesKnown = f.billed.isValid() && f.ordered.isValid();
    switch (check) {
    case Check::PatientName:
        return f.surname.isEmpty() || f.firstName.isEmpty()
            ? stop(QStringLiteral("Molim upišite ime i prezime pacijenta!")) : pass();
    case Check::ConfirmationNumber:
        return f.confirmation.isEmpty() ? stop(QStringLiteral("Molim upišite broj potvrde!")) : pass();
    case Check::InsuredOrHealthNumber:
    case Check::InsuredNumberForForm:
        return noSickList && f.insuredSecond.isEmpty() ? stop(kInsuredNumberMissing) : pass();
    case Check::InsuredNumberGiven:
        return noSickList && f.insuredFirst.isEmpty() && f.insuredSecond.isEmpty()
            ? stop(QStringLiteral("Molim upišite broj osigurane osobe ili matični broj!")) : pass();
    case Check::HealthNumberForm:
        return noSickList && f.insuredFirst.isEmpty() && !identifiers::isHealthNumber(f.insuredSecond)
            ? stop(QStringLiteral("Neispravno upisan broj osigurane osobe ili MB!")) : pass();
    case Check::OrderNotAfterBilling:
        return datesKnown && f.ordered > f.billed
            ? stop(QStringLiteral("Datum obračuna ne smije biti manji od datuma narudžbe! Molim ispravite!")) : pass();
    case Check::BillingWithin30Days:
        if (!datesKnown || f.ordered.daysTo(f.billed) <= 30)
            return pass();
        return {Verdict::Warn,
                QStringLiteral("Datum obračuna može biti maksimalno 30 dana veći od datuma narudžbe! Molim ispravite (")
                    + (print == Print::Invoice ? QStringLiteral("račun će se ipak isprintati)!")
                                               : QStringLiteral("program će ipak nastaviti s ispisom)!"))};
    case Check::ConventionPair:
        return f.sickList.isEmpty() != f.country.isEmpty()
            ? stop(QStringLiteral("Polja broj bol. lista i država moraju biti popunjena samo kod konvencija s "
                                  "bolesničkim listom ili oba prazna kod svih ostalih. Molim ispravite!"))
            : pass();
    case Check::CountryCode:
        return !f.country.isEmpty() && f.country.size() != 3
            ? stop(QStringLiteral("Šifra države mora imati 3 slova i strogo je određena (pogledati "
                                  "Opcije-Šifrarnici). Molim ispravite!"))
            : pass();
    case Check::ConfirmationCharacters:
        return identifiers::hasOnlyDigitsAndSlashes(f.confirmation)
            ? pass()
            : stop(QStringLiteral("Neispravno upisan broj potvrde ") + f.confirmation
                   + QStringLiteral("\r\nMolim ispravite!"));
    case Check::StoredDates:
    case Check::Quantities: {
        const QString found = check == Check::StoredDates ? unreadableDateMessage(f) : quantityMessage(f);
        return found.isEmpty() ? pass() : stop(found + QStringLiteral("\r\nMolim ispravite!"));
    }
    }
    return pass();
}

const std::vector<Check>& confirmationFormSequence()
{
    static const std::vector<Check> sequence = {
        Check::PatientName,          Check::InsuredNumberGiven,  Check::HealthNumberForm,
        Check::StoredDates,          Check::OrderNotAfterBilling, Check::BillingWithin30Days, Check::ConventionPair,
        Check::CountryCode,          Check::InsuredNumberForForm, Check::Quantities,
    };
    return sequence;
}

const std::vector<Check>& invoiceSequence()
{
    static const std::vector<Check> sequence = {
        Check::ConfirmationNumber,   Check::InsuredOrHealthNumber, Check::OrderNotAfterBilling,
        Check::BillingWithin30Days,  Check::CountryCode,           Check::ConfirmationCharacters,
        Check::InsuredNumberGiven,   Check::HealthNumberForm,      Check::StoredDates,
        Check::Quantities,
    };
    return sequence;
}

bool run(const std::vector<Check>& checks, const InvoiceRecord& invoice, Print print, Dialogs& dialogs)
{
    for (Check check : checks) {
        const Result result = evaluate(check, invoice, print);
        if (result.verdict == Verdict::Pass)
            continue;
        dialogs.message(result.message);
        if (result.verdict == Verdict::Stop)
            return false;
    }
    return true;
}

} // namespace printchecks
