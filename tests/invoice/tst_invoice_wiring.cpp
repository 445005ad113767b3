#include "app/main_window.h"
#include "app/session.h"
#include "app/startup.h"
#include "common/clock.h"
#include "common/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/new_folder.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"
#include "support/shop_fixture.h"

#include <QAction>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

class TestInvoiceWiring : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowDrivesTheCommands();
};

void TestInvoiceWiring::windowDrivesTheCommands()
{
    ShopFixture shop;
    QVERIFY(shop.session);
    Session* session = shop.session.get();
    ScriptedDialogs& dialogs = shop.dialogs;
    MainWindow window(*session, shop.services());
    InvoiceCommands commands(*session, shop.services());
    invoicetab::install(window, commands);
    window.prepare();

    // F9 (the action) adds invoice 2 and shows the invoice tab.
    window.tabs()->setCurrentIndex(MainWindow::GeneralDataTab);
    window.newInvoiceAction()->trigger();
    QCOMPARE(session->invoices().field(u"Rnbr").toInt(), 2);
    QCOMPARE(window.tabs()->currentIndex(), int(MainWindow::InvoiceTab));

    // A double-click without a selected row asks for one; with one, the
    // aid goes into the invoice.
    QTableView* grid = window.codeListGrid(true);
    window.codeListTabs()->setCurrentIndex(1);
    Q_EMIT grid->doubleClicked(grid->model()->index(2, 5));
    QCOMPARE(dialogs.messages().last(), QStringLiteral("Molim najprije označite pomagalo u tablici!"));
    grid->selectRow(2);
    Q_EMIT grid->doubleClicked(grid->model()->index(2, 5));
    QCOMPARE(session->invoices().field(u"Pom1").toString(), grid->model()->index(2, 3).data().toString());
    QVERIFY(session->invoices().field(u"Iznos").toDouble() > 0);

    QVERIFY(window.menuAction(QStringLiteral("prikrnbr"))->isEnabled());
    window.menuAction(QStringLiteral("iznsud"))->trigger();
    QVERIFY(dialogs.messages().last().startsWith(QStringLiteral("Pacijent plaća ")));
}

QTEST_MAIN(TestInvoiceWiring)
#include "tst_invoice_wiring.moc"
