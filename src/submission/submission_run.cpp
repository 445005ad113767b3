#include "submission_run.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/print_target.h"
#include "common/text_file.h"
#include "cover_letter.h"
#include "data/business_year.h"
#include "data/regional_offices.h"
#include "data/session.h"
#include "data/pricing.h"
#include "media.h"
#include "submission_checks.h"

#include <QDir>
#include <QRegularExpression>

#include <climits>

namespace {

using namespace submission;

// The three digits of an office code; "14" is office 014.
QString officeCode(const QString& answer)
{
    const QString code = QString(QStringLiteral("000") + answer).right(3);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{3}$"));
    return digits.match(code).hasMatch() ? code : QString();
}

QString mediumDate(QString date)
{
    if (date.endsWith(u'.'))
        date.chop(1);
    return date;
}

// The file's name ends with the date's last two characters: a year.
bool dateIsUsable(const QString& date, Dialogs& dialogs)
{
    static const QRegularExpression year(QStringLiteral("^[0-9]{2}$"));
    if (year.match(date.right(2)).hasMatch())
        return true;
    dialogs.message(QStringLiteral("Datum formiranja ") + date
                    + QStringLiteral(" mora završavati godinom (dd.mm.gggg); fajl nije napravljen."));
    return false;
}

} // namespace

int SubmissionRun::copies(const QString& answer)
{
    bool ok = false;
    double n = QLocale().toDouble(answer.trimmed(), &ok);
    if (!ok)
        n = QLocale::c().toDouble(answer.trimmed(), &ok);
    return ok && n >= 1 && n <= INT_MAX ? int(n) : 0;
}

std::optional<SubmissionRun::Prepared> SubmissionRun::prepare(const QString& mark, Result& result)
{
    Dialogs& dialogs = m_services.dialogs;
    RecordSet& generalData = m_session.generalData();
    Prepared p{GeneralRecord::fromRow(generalData, generalData.current()), {}};
    if (!kindOfAidsIsValid(p.general)) {
        dialogs.message(kKindOfAidsMessage);
        return std::nullopt;
    }
    if (mark.isEmpty())
        return std::nullopt;
    QString error;
    // A damaged page would silently leave invoices out of the fund's file.
    if (!m_session.database().isSound(&error)) {
        dialogs.message(error);
        result.outcome = Outcome::Failed;
        return std::nullopt;
    }
    p.invoices = select(m_session.database(), m_session.twoDigitYear(), mark, &error);
    if (!error.isEmpty()) {
        dialogs.message(QStringLiteral("Računi se ne mogu pročitati!\r\n") + error);
        result.outcome = Outcome::Failed;
        return std::nullopt;
    }
    if (p.invoices.empty()) {
        dialogs.message(kNothingChosenMessage);
        return std::nullopt;
    }
    for (const QString& refusal : {unsafeValueMessage(p.invoices, p.general), supplierCodeMessage(supplierFrom(p.general))}) {
        if (!refusal.isEmpty()) {
            dialogs.message(refusal);
            return std::nullopt;
        }
    }
    if (!checkInvoices(p.invoices, dialogs))
        return std::nullopt;
    return p;
}

SubmissionRun::Result SubmissionRun::run(const SubmissionRequest& request)
{
    Result result;
    const std::optional<Prepared> prepared = prepare(request.mark, result);
    if (!prepared)
        return result;
    return write(*prepared, request, result);
}

SubmissionRun::Result SubmissionRun::run()
{
    Dialogs& dialogs = m_services.dialogs;
    Result result;
    // The kind of aids is checked before the first prompt.
    if (!kindOfAidsIsValid(GeneralRecord::fromRow(m_session.generalData(), m_session.generalData().current()))) {
        dialogs.message(kKindOfAidsMessage);
        return result;
    }
    SubmissionRequest request;
    request.mark = dialogs.input(
        QStringLiteral("Izbor računa s istim PU"),
        QStringLiteral("Upišite oznaku računa u koloni Izbor za grupu računa koje želite poslati (isti područni ured)"),
        QStringLiteral("1"));
    if (request.mark.isEmpty())
        return result;
    const std::optional<Prepared> prepared = prepare(request.mark, result);
    if (!prepared)
        return result;
    request.medium = dialogs.input(QStringLiteral("Broj diskete ili CD-a"),
                                   QStringLiteral("Molim upišite redni broj diskete (CD-a) u tekućoj godini"),
                                   QString::number(prepared->general.mediumCounter + 1));
    if (request.medium.isEmpty())
        return result;
    request.date = dialogs.input(QStringLiteral("Datum formiranja"), QStringLiteral("Molim upišite datum formiranja diskete (CD-a)"),
                                 m_services.clock.today().toString(QStringLiteral("dd.MM.yyyy")));
    if (mediumDate(request.date).isEmpty() || !dateIsUsable(mediumDate(request.date), dialogs))
        return result;
    request.office = dialogs.input(QStringLiteral("Šifra PU"), QStringLiteral("Molim upišite šifru područnog ureda"),
                                   offices::codeOf(prepared->invoices.front().office));
    if (officeCode(request.office).isEmpty()) {
        dialogs.message(QStringLiteral("Šifra područnog ureda mora imati tri znamenke!"));
        return result;
    }
    // The file name is taken (and an older file moved aside) before the
    // number of copies is asked, as the program always did.
    const Supplier supplier = supplierFrom(prepared->general);
    result.fileName = fileName(supplier.code, officeCode(request.office), invoices::leadingNumber(request.medium),
                               mediumDate(request.date));
    result.movedAside = moveAside(QDir::currentPath(), result.fileName, m_services.clock.now());
    request.copies = dialogs.input(QStringLiteral("Broj ispisa"), QStringLiteral("Koliko kopija popratnog dopisa želite?"),
                                   QStringLiteral("1"));
    if (copies(request.copies) == 0)
        return result;
    return write(*prepared, request, result);
}

SubmissionRun::Result SubmissionRun::write(const Prepared& p, const SubmissionRequest& request, Result result)
{
    Dialogs& dialogs = m_services.dialogs;
    const QString date = mediumDate(request.date);
    const QString code = officeCode(request.office);
    if (request.medium.isEmpty() || date.isEmpty())
        return result;
    if (!dateIsUsable(date, dialogs))
        return result;
    if (code.isEmpty()) {
        dialogs.message(QStringLiteral("Šifra područnog ureda mora imati tri znamenke!"));
        return result;
    }
    const int count = copies(request.copies);
    if (count == 0)
        return result;
    const QString office = p.invoices.front().office;
    coverletter::Heading heading{p.general, supplierFrom(p.general), office.isEmpty() ? QString() : QStringLiteral("PU ") + office};
    heading.medium = invoices::leadingNumber(request.medium);
    heading.mediumDate = date;
    if (result.fileName.isEmpty()) {
        result.fileName = fileName(heading.supplier.code, code, heading.medium, date);
        result.movedAside = moveAside(QDir::currentPath(), result.fileName, m_services.clock.now());
    }

    pricing::Catalogue catalogue(m_session.database());
    std::optional<coverletter::WorkedOut> worked;
    m_target.beginBatch();
    for (int copy = 1; copy <= count; ++copy) {
        // The medium's number and date tell one letter's file from the next.
        std::unique_ptr<Canvas> canvas =
            m_target.open(QStringLiteral("Popratni dopis uz disketu %1 od %2").arg(heading.medium).arg(date));
        // The invoices are worked out once, when the first copy's printer
        // is chosen; the file and every copy of the letter are made from
        // that work.
        if (!worked)
            worked = coverletter::workOut(catalogue, p.invoices, heading.supplier);
        if (worked->stopped)
            dialogs.message(worked->stopMessage);
        // Without a printer the file is still written: the letter can be
        // printed again from the next run's copy of it.
        if (canvas) {
            coverletter::draw(*canvas, *worked, heading);
            if (!canvas->finish()) {
                // The letter travels with the file: without it nothing is
                // written and nothing counted, and the run can simply be repeated.
                m_target.endBatch();
                dialogs.message(QStringLiteral("Ispis popratnog dopisa nije uspio! Fajl za HZZO nije napravljen.")
                                + (canvas->failure().isEmpty() ? QString() : QStringLiteral("\r\n") + canvas->failure()));
                result.outcome = Outcome::Failed;
                return result;
            }
        }
        if (copy > 1)
            continue;
        result.stoppedAt = worked->stopped ? worked->stoppedAt : 0;
        QString error;
        if (!worked->records.save(QDir::current().filePath(result.fileName), &error)) {
            m_target.endBatch();
            dialogs.message(QStringLiteral("Fajl ") + QDir::current().filePath(result.fileName)
                            + QStringLiteral(" nije moguće snimiti!\r\n") + error);
            result.outcome = Outcome::Failed;
            return result;
        }
    }
    m_target.endBatch();

    if (media::choose(QDir::current().filePath(result.fileName), m_services) == media::Outcome::CdCancelled)
        return result;
    RecordSet& generalData = m_session.generalData();
    GeneralRecord general = GeneralRecord::fromRow(generalData, generalData.current());
    general.mediumCounter = p.general.mediumCounter + 1;
    general.writeTo(generalData, generalData.current());
    if (!generalData.save(generalData.current())) {
        dialogs.message(QStringLiteral("Fajl ") + result.fileName
                        + QStringLiteral(" je napravljen, ali broj diskete nije moguće spremiti:\r\n") + generalData.error());
        result.outcome = Outcome::Failed;
        return result;
    }
    result.outcome = Outcome::Completed;
    return result;
}
