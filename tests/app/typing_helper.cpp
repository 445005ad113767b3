// A stand-in for the program in the test of its termination: opens the shop
// folder given as its first argument like the program does, types the third
// argument into the current invoice's box named by the second (a surname,
// a date), says "spreman" on its standard output and waits to be ended.
// The box "Cijena" is the price cell of the first row of the unlocked
// 13-character code list, typed into its open editor.
#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "app/termination.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"
#include "codelists/codelists_wiring.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QKeyEvent>
#include <QAbstractSpinBox>
#include <QPushButton>
#include <QTableView>

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
    codelisttab::install(window, *session, services);
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
    const QString name = QString::fromLocal8Bit(argv[2]);
    QWidget* box = nullptr;
    if (name == u"Cijena") {
        auto* unlock = window.findChild<QPushButton*>(QStringLiteral("omogucipromjene13"));
        QTableView* grid = window.codeListGrid(true);
        if (!unlock || !grid)
            return 4;
        window.tabs()->setCurrentIndex(MainWindow::InvoiceTab);
        window.codeListTabs()->setCurrentIndex(1);
        unlock->click();
        const QModelIndex price = grid->model()->index(0, session->newCodeList().fieldIndex(u"Cijena"));
        grid->setFocus();
        grid->setCurrentIndex(price);
        grid->edit(price);
        // The cell's editor, open in the grid's viewport.
        for (QWidget* w : grid->viewport()->findChildren<QWidget*>()) {
            if (w->parentWidget() == grid->viewport())
                box = w;
        }
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->selectAll();
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(box))
            spin->selectAll();
    } else if (auto* line = window.invoiceEntryArea()->findChild<QLineEdit*>(name)) {
        line->setFocus();
        line->selectAll();
        box = line;
    }
    if (!box)
        return 4;
    // Key by key, as a keyboard types (letters beyond ASCII included).
    for (const QChar c : QString::fromLocal8Bit(argv[3])) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
    std::puts("spreman");
    std::fflush(stdout);
    return app.exec();
}
