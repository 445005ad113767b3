#include "eracun_commands.h"

#include "common/dialogs.h"
#include "common/platform.h"
#include "data/session.h"
#include "data/sql_values.h"
#include "einvoice_view.h"
#include "eracun_run.h"

#include <QDir>

namespace eracun {
namespace {

// The documents whose amounts differ from the printed invoices by the
// rounding of the VAT, so that the user knows.
QString differences(const Run::Outcome& outcome)
{
    if (outcome.differences.isEmpty())
        return {};
    return QStringLiteral("\r\n\r\nIznosi eRačuna razlikuju se od ispisanog računa zbog zaokruživanja PDV-a: %1\r\n")
               .arg(outcome.differences.size())
        + outcome.differences.join(QStringLiteral("\r\n"));
}

QString summary(const Run::Outcome& outcome, const QString& folder)
{
    QString text = QStringLiteral("Zapisano eRačuna: %1 (za %2 računa) u mapu %3.")
                       .arg(outcome.files.size())
                       .arg(outcome.invoices)
                       .arg(QDir::toNativeSeparators(folder));
    if (!outcome.views.isEmpty())
        text += QStringLiteral("\r\nPregledi eRačuna za čitanje (HTML) su u mapi %1.")
                    .arg(QDir::toNativeSeparators(QDir(folder).absoluteFilePath(kViewFolder)));
    text += differences(outcome);
    if (!outcome.messages.isEmpty())
        text += QStringLiteral("\r\n\r\nBez eRačuna ostalo je računa: %1\r\n\r\n").arg(outcome.messages.size())
            + outcome.messages.join(QStringLiteral("\r\n\r\n"));
    return text;
}

} // namespace

Commands::Commands(Session& session, Services services)
    : m_session(session), m_services(services)
{
}

QString Commands::folder()
{
    RecordSet& general = m_session.generalData();
    const QString stored = sqlvalue::toText(general.field(u"EMapa")).trimmed();
    if (!stored.isEmpty())
        return stored;
    const QString chosen = m_services.dialogs
                               .input(QStringLiteral("Mapa za eRačune"),
                                      QStringLiteral("eRačuni će se spremati u ovu mapu (možete je kasnije promijeniti u "
                                                     "Općim podacima):"),
                                      QDir::toNativeSeparators(Run::defaultFolder()))
                               .trimmed();
    if (chosen.isEmpty())
        return {};
    const QString path = QDir::current().absoluteFilePath(QDir::fromNativeSeparators(chosen));
    if (!general.setField(u"EMapa", path) || !general.save(general.current())) {
        m_services.dialogs.message(general.error().isEmpty() ? QStringLiteral("Mapu za eRačune nije moguće spremiti.")
                                                             : general.error());
        return {};
    }
    return path;
}

bool Commands::saved()
{
    if (m_session.saveAll())
        return true;
    m_services.dialogs.message(m_session.invoices().error().isEmpty() ? m_session.generalData().error()
                                                                      : m_session.invoices().error());
    return false;
}

void Commands::writeCurrent()
{
    if (!saved())
        return;
    const int number = m_session.invoices().field(u"Rnbr").toInt();
    const QString target = folder();
    if (target.isEmpty())
        return;
    Run run(m_session.database(), m_services.clock);
    if (!run.load()) {
        m_services.dialogs.message(run.error(), kCurrentTitle);
        return;
    }
    const Run::Outcome outcome = run.writeInvoice(m_session.twoDigitYear(), number, std::nullopt, target);
    if (!outcome.ok()) {
        m_services.dialogs.message(outcome.messages.join(QStringLiteral("\r\n")), kCurrentTitle);
        return;
    }
    QStringList names;
    for (const QString& file : outcome.files)
        names << QDir::toNativeSeparators(file);
    const QString written = QStringLiteral("eRačun je zapisan:\r\n") + names.join(QStringLiteral("\r\n")) + differences(outcome);
    if (outcome.views.isEmpty()) {
        m_services.dialogs.message(written, kCurrentTitle);
        return;
    }
    // The page to read beside each document opens in the browser.
    if (!m_services.dialogs.yesNo(written + QStringLiteral("\r\n\r\nŽelite li pogledati eRačun?"), kCurrentTitle))
        return;
    for (const QString& view : outcome.views)
        if (!m_services.platform.openDocument(view))
            m_services.dialogs.message(QStringLiteral("Pregled eRačuna nije moguće otvoriti. Otvorite u pregledniku datoteku:\r\n")
                                           + QDir::toNativeSeparators(view),
                                       kCurrentTitle);
}

void Commands::writeMarked(const std::function<bool(int, int)>& progress)
{
    if (!saved())
        return;
    const QString mark = m_services.dialogs
                             .input(kMarkedTitle,
                                    QStringLiteral("Upišite oznaku iz kolone Izbor za račune čije eRačune želite napraviti:"),
                                    QString())
                             .trimmed();
    if (mark.isEmpty())
        return;
    const QString target = folder();
    if (target.isEmpty())
        return;
    Run run(m_session.database(), m_services.clock);
    if (!run.load()) {
        m_services.dialogs.message(run.error(), kMarkedTitle);
        return;
    }
    const Run::Outcome outcome = run.writeMarked(m_session.twoDigitYear(), mark, target, progress);
    if (outcome.files.isEmpty() && outcome.messages.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Nema računa s oznakom %1!").arg(mark), kMarkedTitle);
        return;
    }
    m_services.dialogs.message(summary(outcome, target), kMarkedTitle);
}

} // namespace eracun
