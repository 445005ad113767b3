// A stand-in for the program in the test of its termination: opens the shop
// folder given as its argument like the program does, types a surname into
// the current invoice's box, says "spreman" on its standard output and
// waits to be ended.
#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "app/termination.h"
#include "common/clock.h"
#include "common/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QKeyEvent>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 3 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
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
    termination::install([&session] { session->saveAll(); });
    window.show();
    auto* surname = window.invoiceEntryArea()->findChild<QLineEdit*>(QStringLiteral("Prezime"));
    if (!surname)
        return 4;
    surname->setFocus();
    surname->selectAll();
    // Key by key, as a keyboard types (letters beyond ASCII included).
    for (const QChar c : QString::fromLocal8Bit(argv[2])) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(surname, &press);
    }
    std::puts("spreman");
    std::fflush(stdout);
    return app.exec();
}
