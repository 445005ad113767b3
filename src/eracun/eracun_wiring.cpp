#include "eracun_wiring.h"

#include "app/main_window.h"
#include "eracun_commands.h"
#include "kpd_commands.h"
#include "kpd_window.h"

#include <QApplication>
#include <QProgressDialog>

#include <memory>

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
        // The progress window opens with the first invoice, once the mark
        // and the folder were asked for: opened before, it would stand over
        // those questions and take their typing.
        std::unique_ptr<QProgressDialog> progress;
        commands.writeMarked([&window, &progress](int done, int count) {
            if (!progress) {
                progress = std::make_unique<QProgressDialog>(QStringLiteral("Izrada eRačuna..."), QStringLiteral("Prekini"), 0,
                                                             count, &window);
                progress->setWindowTitle(eracun::Commands::kMarkedTitle);
                progress->setWindowModality(Qt::WindowModal);
                progress->setMinimumDuration(300);
            }
            progress->setValue(done);
            QApplication::processEvents();
            return !progress->wasCanceled();
        });
        if (progress)
            progress->reset();
    });
}

} // namespace eracuntab
