// A stand-in for the program in the test of its termination: opens the shop
// folder given as its first argument like the program does, types the third
// argument into the current invoice's box named by the second (a surname,
// a date), says "spreman" on its standard output and waits to be ended.
#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "app/termination.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QKeyEvent>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 4 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    ScriptedDialogs dialogs;
    FakePlatform platform;
    FixedClock clock(QDate(2026, 12, 7));
    const Services services{dialogs, clock, platform};
    std::unique_ptr<Session> session = Startup(services).run();
    if (!session)
        return 3;
    MainWindow window(*session, services);
    InvoiceCommands commands(*session, services);
    invoicetab::install(window, *session, commands, dialogs);
    window.prepare();
    // Ends at once after saving, as a session manager may end a program
    // right after asking it to save: what was not saved by then is lost
    // (leaving the boxes as the windows close comes too late).
    termination::install([&session] {
        session->saveAll();
        std::_Exit(0);
    });
    window.show();
    auto* box = window.invoiceEntryArea()->findChild<QLineEdit*>(QString::fromLocal8Bit(argv[2]));
    if (!box)
        return 4;
    box->setFocus();
    box->selectAll();
    // Key by key, as a keyboard types (letters beyond ASCII included).
    for (const QChar c : QString::fromLocal8Bit(argv[3])) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
    std::puts("spreman");
    std::fflush(stdout);
    return app.exec();
}
