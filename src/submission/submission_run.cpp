#include "submission_run.h"

#include "app/session.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/recording_canvas.h"
#include "common/text_file.h"
#include "cover_letter.h"
#include "data/business_year.h"
#include "data/regional_offices.h"
#include "data/sql_values.h"
#include "invoice/aid_lookup.h"
#include "media.h"
#include "print/print_target.h"
#include "submission_checks.h"

#include <QDir>
#include <QRegularExpression>

namespace {

using namespace submission;

// The three digits of an office code; "14" is office 014.
QString officeCode(const QString& answer)
{
    const QString code = QString(QStringLiteral("000") + answer).right(3);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{3}$"));
    return digits.match(code).hasMatch() ? code : QString();
}

// The number of copies: the whole part of a number of at least 1; 0 for
// anything else.
int copies(const QString& answer)
{
    bool ok = false;
    double n = QLocale().toDouble(answer.trimmed(), &ok);
    if (!ok)
        n = QLocale::c().toDouble(answer.trimmed(), &ok);
    return ok && n >= 1 && n < 1000 ? int(n) : 0;
}

} // namespace

SubmissionRun::Result SubmissionRun::run()
{
    Dialogs& dialogs = m_services.dialogs;
    Result result;
    const General general = m_session.generalData().currentRow();
    if (!kindOfAidsIsValid(general)) {
        dialogs.message(kKindOfAidsMessage);
        return result;
    }
    const QString mark = dialogs.input(
        QStringLiteral("Izbor računa s istim PU"),
        QStringLiteral("Upišite oznaku računa u koloni Izbor za grupu računa koje želite poslati (isti područni ured)"),
        QStringLiteral("1"));
    if (mark.isEmpty())
        return result;
    Database& db = m_session.database();
    const std::vector<Invoice> invoices = select(db, m_session.twoDigitYear(), mark);
    if (invoices.empty()) {
        dialogs.message(kNothingChosenMessage);
        return result;
    }
    const QString office = invoices.front().office;
    coverletter::Heading heading{general, supplierFrom(general), office.isEmpty() ? QString() : QStringLiteral("PU ") + office};
    for (const QString& refusal : {unsafeValueMessage(invoices, general), supplierCodeMessage(heading.supplier)}) {
        if (!refusal.isEmpty()) {
            dialogs.message(refusal);
            return result;
        }
    }
    if (!checkInvoices(invoices, dialogs))
        return result;

    const int counter = general.value(QStringLiteral("Brd")).toInt();
    const QString medium = dialogs.input(QStringLiteral("Broj diskete ili CD-a"),
                                         QStringLiteral("Molim upišite redni broj diskete (CD-a) u tekućoj godini"),
                                         QString::number(counter + 1));
    if (medium.isEmpty())
        return result;
    heading.medium = invoices::leadingNumber(medium);
    QString date = dialogs.input(QStringLiteral("Datum formiranja"), QStringLiteral("Molim upišite datum formiranja diskete (CD-a)"),
                                 m_services.clock.today().toString(QStringLiteral("dd.MM.yyyy")));
    if (date.endsWith(u'.'))
        date.chop(1);
    if (date.isEmpty())
        return result;
    heading.mediumDate = date;
    // The file's name ends with the date's last two characters: a year.
    if (!date.right(2).contains(QRegularExpression(QStringLiteral("^[0-9]{2}$")))) {
        dialogs.message(QStringLiteral("Datum formiranja ") + date
                        + QStringLiteral(" mora završavati godinom (dd.mm.gggg); fajl nije napravljen."));
        return result;
    }
    const QString code = officeCode(dialogs.input(QStringLiteral("Šifra PU"), QStringLiteral("Molim upišite šifru područnog ureda"),
                                                  offices::codeOf(office)));
    if (code.isEmpty()) {
        dialogs.message(QStringLiteral("Šifra područnog ureda mora imati tri znamenke!"));
        return result;
    }

    result.fileName = fileName(heading.supplier.code, code, heading.medium, date);
    result.movedAside = moveAside(QDir::currentPath(), result.fileName, m_services.clock.now());
    const int count = copies(dialogs.input(QStringLiteral("Broj ispisa"), QStringLiteral("Koliko kopija popratnog dopisa želite?"),
                                           QStringLiteral("1")));
    if (count == 0)
        return result;

    aids::Catalogue catalogue(db);
    m_target.beginBatch();
    for (int copy = 1; copy <= count; ++copy) {
        std::unique_ptr<Canvas> canvas = m_target.open(QStringLiteral("Popratni dopis uz disketu"));
        // Without a printer the file is still written: the letter can be
        // printed again from the next run's copy of it.
        if (!canvas)
            canvas = std::make_unique<RecordingCanvas>();
        const coverletter::Pass pass = coverletter::print(*canvas, catalogue, invoices, heading, dialogs);
        if (!canvas->finish()) {
            // The letter travels with the file: without it nothing is
            // written and nothing counted, and the run can simply be repeated.
            m_target.endBatch();
            dialogs.message(QStringLiteral("Ispis popratnog dopisa nije uspio! Fajl za HZZO nije napravljen.")
                            + (canvas->failure().isEmpty() ? QString() : QStringLiteral("\r\n") + canvas->failure()));
            result.outcome = Outcome::Failed;
            return result;
        }
        if (copy > 1)
            continue;
        TextFileWriter file;
        for (const QString& record : pass.records)
            file.writeLine(record);
        QString error;
        if (!file.save(QDir::current().filePath(result.fileName), &error)) {
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
    generalData.setField(u"Brd", counter + 1);
    if (!generalData.save(generalData.current())) {
        dialogs.message(QStringLiteral("Fajl ") + result.fileName
                        + QStringLiteral(" je napravljen, ali broj diskete nije moguće spremiti:\r\n") + generalData.error());
        result.outcome = Outcome::Failed;
        return result;
    }
    result.outcome = Outcome::Completed;
    return result;
}
