#include "backup_wiring.h"

#include "app/main_window.h"
#include "data/session.h"

#include <QCoreApplication>

namespace backuptab {

Archive::Archive(Session& session, Services services)
    : m_commands(QDir::current(), services, [&session] { return session.saveAll(); })
{
}

void Archive::atExit()
{
    if (!m_restart)
        m_commands.backupAtExit();
}

std::unique_ptr<Archive> install(MainWindow& window, Session& session, Services services)
{
    auto archive = std::make_unique<Archive>(session, services);
    Archive* a = archive.get();
    window.setCommand(QStringLiteral("arhnapravi"), [a] { a->commands().backupNow(); });
    window.setCommand(QStringLiteral("arhvrati"), [a] {
        if (!a->commands().restore())
            return;
        // The window's data sets still read the replaced files: the run
        // ends here without saving anything, and a new one starts.
        a->requestRestart();
        QCoreApplication::exit(0);
    });
    return archive;
}

} // namespace backuptab
