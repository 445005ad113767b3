#include "startup.h"

#include "access/startup_conversion.h"
#include "backup/archive_commands.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "common/text_file.h"
#include "common/working_folder.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "data/upgrade_chain.h"
#include "guide/guide.h"
#include "data/session.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kReceptFile = QStringLiteral("Recept.txt");

} // namespace

QStringList formVariantsFrom(const QStringList& lines)
{
    QStringList variants;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("#99")))
            variants << line.mid(4, 15);
    }
    return variants;
}

bool Startup::ensureDatabase()
{
    if (m_services.platform.fileExists(schema::kInvoiceFile))
        return true;
    const QString folder = workdir::displayPath();
    m_services.dialogs.message(QStringLiteral("U radnoj mapi %1 nema datoteke %2 s bazom podataka.")
                                   .arg(folder, schema::kInvoiceFile));
    if (!m_services.dialogs.yesNo(QStringLiteral("Želite li u mapi %1 napraviti novu, praznu bazu podataka?")
                                      .arg(folder),
                                  QString()))
        return false;
    QString error;
    if (!newfolder::create(QStringLiteral("."), newfolder::Content::Empty, m_services.clock, &error)) {
        m_services.dialogs.message(error);
        return false;
    }
    return true;
}

void Startup::startCompanion()
{
    const QString companion = m_services.platform.findCompanion(QStringLiteral("Dst.exe"));
    if (!companion.isEmpty())
        m_services.platform.startProgram(companion, {}, Platform::Window::MinimizedNoFocus);
}

void Startup::readFormVariants(Session& session)
{
    const QString file = m_services.platform.findFile(kReceptFile);
    const auto lines = file.isEmpty() ? std::nullopt : textfile::readLines(file);
    if (!lines) {
        m_services.dialogs.message(QStringLiteral("Ne mogu pročitati datoteku %1 u mapi %2.\r\n"
                                                  "Popis obrazaca recepta ostaje prazan.")
                                       .arg(kReceptFile, workdir::displayPath()));
        return;
    }
    session.formVariants = formVariantsFrom(*lines);
    session.chosenFormVariant = session.formVariants.isEmpty() ? -1 : 0;
}

namespace {

// A folder or database the user may not write to: the program can show the
// invoices, but nothing typed could be kept, so the user is told at once
// rather than at the first save.
void warnWhenReadOnly(Dialogs& dialogs)
{
    const QFileInfo database(schema::kInvoiceFile);
    const QFileInfo folder(QDir::currentPath());
    if (database.isWritable() && folder.isWritable())
        return;
    dialogs.message(QStringLiteral("%1 u mapi %2 se ne može mijenjati (%3 je samo za čitanje): "
                                   "računi se mogu pregledavati, ali promjene se neće moći spremiti.\r\n"
                                   "Provjerite prava pristupa datoteci i mapi.")
                        .arg(schema::kInvoiceFile, QDir::toNativeSeparators(QDir::currentPath()),
                             database.isWritable() ? QStringLiteral("mapa") : QStringLiteral("datoteka")));
}

} // namespace

std::unique_ptr<Session> Startup::run()
{
    if (!ensureDatabase())
        return nullptr;
    const auto conversion = accessdb::StartupConversion(m_services, m_conversionProgress).run();
    if (conversion == accessdb::StartupConversion::Outcome::Declined
        || conversion == accessdb::StartupConversion::Outcome::Failed)
        return nullptr;
    // A folder of an earlier release gets the user guide ("Pomoć").
    guide::install(QDir::current());
    warnWhenReadOnly(m_services.dialogs);
    startCompanion();
    upgrade::Chain chain(m_services.dialogs, m_services.clock, m_services.platform);
    if (!chain.pendingSteps().isEmpty()
        && !backup::beforeManyChanges(QDir::current(), QStringLiteral("nadogradnje"), m_services))
        return nullptr;
    if (!chain.run())
        return nullptr;
    auto session = std::make_unique<Session>();
    if (!session->open()) {
        m_services.dialogs.message(QStringLiteral("Ne mogu otvoriti bazu podataka %1:\r\n%2")
                                       .arg(schema::kInvoiceFile, session->error()));
        return nullptr;
    }
    if (!session->ensureFirstInvoice(m_services.clock.today())) {
        m_services.dialogs.message(QStringLiteral("Ne mogu upisati prvi račun poslovne godine:\r\n%1")
                                       .arg(session->invoices().error()));
        return nullptr;
    }
    session->invoices().moveLast();
    readFormVariants(*session);
    return session;
}
