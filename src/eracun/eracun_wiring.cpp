#include "eracun_wiring.h"

#include "app/main_window.h"
#include "eracun_commands.h"
#include "kpd_commands.h"
#include "kpd_window.h"

#include <QApplication>
#include <QProgressDialog>

namespace eracuntab {

void install(MainWindow& window, eracun::Commands& commands, Database& db, Dialogs& dialogs)
{
    window.setCommand(QStringLiteral("eracunkpd"), [&window, &commands, &db, &dialogs] {
        // The list's KPD codes shown beside are those the user just typed.
        if (!commands.saved())
            return;
        eracun::KpdCommands kpd(db, dialogs);
        KpdWindow(kpd, &window).exec();
    });
    window.setCommand(QStringLiteral("eracun"), [&commands] { commands.writeCurrent(); });
    window.setCommand(QStringLiteral("eracuni"), [&window, &commands] {
        QProgressDialog progress(QStringLiteral("Izrada eRačuna..."), QStringLiteral("Prekini"), 0, 0, &window);
        progress.setWindowTitle(eracun::Commands::kMarkedTitle);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(300);
        commands.writeMarked([&progress](int done, int count) {
            progress.setMaximum(count);
            progress.setValue(done);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
        progress.reset();
    });
}

} // namespace eracuntab
