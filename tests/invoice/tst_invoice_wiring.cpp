#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/new_folder.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"
#include "support/shop_fixture.h"

#include "data/database.h"
#include "data/schema.h"
#include "invoice/identifiers.h"

#include <QAccessible>
#include <QComboBox>
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QIdentityProxyModel>
#include <QTest>

class TestInvoiceWiring : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowDrivesTheCommands();
    void entryFieldsFollowTheCurrentInvoice();
    void enterWalksTheChains();
    void controlsAreAnnouncedByTheirCaptions();
};

void TestInvoiceWiring::windowDrivesTheCommands()
{
    ShopFixture shop;
    QVERIFY(shop.session);
    Session* session = shop.session.get();
    ScriptedDialogs& dialogs = shop.dialogs;
    MainWindow window(*session, shop.services());
    InvoiceCommands commands(*session, shop.services());
    invoicetab::install(window, *session, commands, dialogs);
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
    // Enter on a row picks that aid as well.
    grid->selectRow(4);
    const QString code = grid->model()->index(4, 3).data().toString();
    QVERIFY(session->invoices().field(u"Pom2").toString() != code);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(session->invoices().field(u"Pom2").toString(), code);

    // A list opened for changes edits its cells: a double-click or Enter
    // there must not add the aid to the invoice.
    struct EditableList : QIdentityProxyModel {
        Qt::ItemFlags flags(const QModelIndex& index) const override
        {
            return QIdentityProxyModel::flags(index) | Qt::ItemIsEditable;
        }
    };
    auto* editable = new EditableList;
    editable->setParent(grid);
    editable->setSourceModel(grid->model());
    grid->setModel(editable);
    grid->selectRow(6);
    Q_EMIT grid->doubleClicked(grid->model()->index(6, 5));
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(session->invoices().field(u"Pom3").toString().isEmpty());

    QVERIFY(window.menuAction(QStringLiteral("prikrnbr"))->isEnabled());
    window.menuAction(QStringLiteral("iznsud"))->trigger();
    QVERIFY(dialogs.messages().last().startsWith(QStringLiteral("Pacijent plaća ")));
}

namespace {

// A demo shop's window with the invoice tab installed.
struct InvoiceTab {
    InvoiceTab() : window(*shop.session, shop.services()), commands(*shop.session, shop.services())
    {
        invoicetab::install(window, *shop.session, commands, shop.dialogs);
        window.prepare();
    }
    template <typename W = QLineEdit>
    W* field(const QString& name)
    {
        return window.invoiceEntryArea()->findChild<W*>(name);
    }
    RecordSet& invoices() { return shop.session->invoices(); }

    ShopFixture shop{newfolder::Content::Demo};
    MainWindow window;
    InvoiceCommands commands;
};

} // namespace

void TestInvoiceWiring::entryFieldsFollowTheCurrentInvoice()
{
    InvoiceTab tab;
    RecordSet& invoices = tab.invoices();
    const int last = invoices.field(u"Rnbr").toInt();
    QCOMPARE(tab.field<QLabel>("Rnbr")->text(), QString::number(last));
    QCOMPARE(tab.field("Prezime")->text(), invoices.field(u"Prezime").toString());

    // The navigator moves through the year; what was typed is written when
    // the invoice is left.
    tab.field<QPushButton>("natrag")->click();
    QCOMPARE(tab.field<QLabel>("Rnbr")->text(), QString::number(last - 1));
    tab.field("Prezime")->clear();
    QTest::keyClicks(tab.field("Prezime"), QStringLiteral("O'Brien"));
    tab.field<QPushButton>("naprijed")->click();
    tab.field<QPushButton>("naprijed")->click(); // past the last invoice: stays
    QCOMPARE(tab.field<QLabel>("Rnbr")->text(), QString::number(last));
    {
        Database other(schema::kInvoiceFile);
        QCOMPARE(other.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE God = 26 AND Rnbr = ?"), {last - 1}).toString(),
                 QStringLiteral("O'Brien"));
    }

    // The two co-payment flags exclude each other; both may be off.
    auto* exempt = tab.field<QCheckBox>("Osl");
    auto* supplementary = tab.field<QCheckBox>("Dop");
    supplementary->click();
    exempt->click();
    QVERIFY(exempt->isChecked());
    QVERIFY(!supplementary->isChecked());
    QCOMPARE(invoices.field(u"Dop").toInt(), 0);
    {   // a click is written at once
        Database other(schema::kInvoiceFile);
        QCOMPARE(other.scalar(QStringLiteral("SELECT Osl FROM Rn WHERE God = 26 AND Rnbr = ?"), {last}).toInt(), 1);
    }
    supplementary->click();
    QVERIFY(!exempt->isChecked());
    supplementary->click();
    QVERIFY(!exempt->isChecked() && !supplementary->isChecked());

    // An emptied quantity shows 0 at once; Enter prices the invoice.
    for (int line = 2; line <= 4; ++line)
        QVERIFY(invoices.setField(QStringLiteral("Pom%1").arg(line), QString()));
    QVERIFY(invoices.setField(u"Pom1", QStringLiteral("2103031412001")));
    QVERIFY(invoices.setField(u"Kol1", 1));
    QVERIFY(invoices.setField(u"Proizv", QStringLiteral("ZEISS")));
    auto* quantity = tab.field("Kol1");
    quantity->setCursorPosition(1);
    QTest::keyClick(quantity, Qt::Key_Backspace);
    QCOMPARE(quantity->text(), QStringLiteral("0"));
    QTest::keyClicks(quantity, QStringLiteral("x2"));
    QCOMPARE(invoices.field(u"Kol1").toInt(), 2);
    QTest::keyClick(quantity, Qt::Key_Return);
    QCOMPARE(tab.field("Iznos")->text(), QLocale().toString(112.5, 'f', 2));

    // A double-click on a code box empties its line (line 1 takes the maker
    // along) and prices the invoice anew.
    QTest::mouseDClick(tab.field("Pom1"), Qt::LeftButton);
    QCOMPARE(tab.field("Pom1")->text(), QString());
    QCOMPARE(tab.field("Kol1")->text(), QStringLiteral("0"));
    QCOMPARE(tab.field("Proizv")->text(), QString());

    // Dates go into the invoice as days.
    tab.field("Datum")->setText(QStringLiteral("1.12.26"));
    Q_EMIT tab.field("Datum")->editingFinished();
    QVERIFY(tab.shop.dialogs.messages().contains(identifiers::kShortDateMessage));
    tab.field("Datum")->setText(QStringLiteral("011226"));
    Q_EMIT tab.field("Datum")->editingFinished();
    QCOMPARE(invoices.field(u"Datum").toString(), QStringLiteral("2026-12-01"));
    QCOMPARE(tab.field("Datum")->text(), QStringLiteral("01.12.2026"));

    // The caption of the insured-person number explains the two boxes.
    auto* caption = tab.window.invoiceEntryArea()->findChild<QLabel*>();
    for (QLabel* label : tab.window.invoiceEntryArea()->findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral("Br. os. os. ili MB")))
            caption = label;
    }
    Q_EMIT caption->linkActivated(QStringLiteral("pomoc"));
    QCOMPARE(tab.shop.dialogs.messages().last(), identifiers::kInsuredNumberHelp);
}

void TestInvoiceWiring::enterWalksTheChains()
{
    InvoiceTab tab;
    tab.window.show();
    tab.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&tab.window));

    tab.window.newInvoiceAction()->trigger();
    QCOMPARE(QApplication::focusWidget(), tab.field("Broj"));
    QTest::keyClicks(tab.field("Broj"), QStringLiteral("3000020260001"));
    const QStringList first = {"Broj", "Prezime", "Ime", "Brosig1", "Brosig2"};
    for (const QString& name : first) {
        QCOMPARE(QApplication::focusWidget(), tab.field(name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QLineEdit* orderDate = tab.field("Datumnar");
    QCOMPARE(QApplication::focusWidget(), orderDate);
    QCOMPARE(tab.invoices().field(u"Broj").toString(), QStringLiteral("3000020260001"));

    // The date box takes dates as the date prompts do: entering selects the
    // whole date, typing replaces it, Enter and Tab leave the box, a date
    // that does not exist is refused with the prompts' message.
    QTRY_COMPARE(orderDate->selectedText(), orderDate->text());
    QTest::keyClicks(orderDate, QStringLiteral("010226"));
    QTest::keyClick(orderDate, Qt::Key_Return);
    QCOMPARE(tab.invoices().field(u"Datumnar").toDate(), QDate(2026, 2, 1));
    QCOMPARE(orderDate->text(), QStringLiteral("01.02.2026"));
    QVERIFY(QApplication::focusWidget() != orderDate);
    orderDate->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(orderDate->selectedText(), QStringLiteral("01.02.2026"));
    QTest::keyClicks(orderDate, QStringLiteral("29.02.25"));
    QTest::keyClick(orderDate, Qt::Key_Return);
    QCOMPARE(tab.shop.dialogs.messages().last(), identifiers::kShortDateMessage);
    QCOMPARE(QApplication::focusWidget(), orderDate);
    QCOMPARE(orderDate->text(), QStringLiteral("01.02.2026"));
    QTest::keyClicks(orderDate, QStringLiteral("29.02.2028"));
    QTest::keyClick(orderDate, Qt::Key_Tab);
    QCOMPARE(tab.invoices().field(u"Datumnar").toDate(), QDate(2028, 2, 29));
    QVERIFY(QApplication::focusWidget() != orderDate);

    // The dates follow their boxes top to bottom, for Enter and for Tab:
    // billing, order, issue, then "Oslobođen sudj.".
    tab.field("Datum")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tab.field("Datum"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), orderDate);
    QTest::keyClick(orderDate, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), tab.field("DatumIzdavanja"));
    QTest::keyClick(tab.field("DatumIzdavanja"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Osl"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), orderDate);
    QTest::keyClick(orderDate, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), tab.field("Datum"));

    // Page Up and Page Down (or Alt with the arrows) step through the invoices.
    const int number = tab.invoices().field(u"Rnbr").toInt();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    QCOMPARE(tab.invoices().field(u"Rnbr").toInt(), number - 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(tab.invoices().field(u"Rnbr").toInt(), number);

    // A four-digit quantity is shown whole.
    QLineEdit* quantity = tab.field("Kol1");
    quantity->setFocus();
    quantity->selectAll();
    QTest::keyClicks(quantity, QStringLiteral("1200"));
    QCOMPARE(quantity->text(), QStringLiteral("1200"));
    // Not scrolled: the first digit sits at the box's left edge, the last
    // one inside its right edge.
    QCOMPARE(quantity->cursorPositionAt(QPoint(quantity->contentsRect().left() + 4, quantity->height() / 2)), 0);
    QCOMPARE(quantity->cursorPositionAt(QPoint(quantity->contentsRect().right() - 2, quantity->height() / 2)), 4);

    tab.field("Brbolesnlist")->setFocus();
    for (const char* name : {"Brbolesnlist", "Drz", "Iznos"}) {
        QCOMPARE(QApplication::focusWidget(), tab.field(name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), tab.field("Dopunsko"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), tab.field("Dopunsko"));
}

void TestInvoiceWiring::controlsAreAnnouncedByTheirCaptions()
{
    InvoiceTab tab;
    auto name = [](QWidget* w) {
        QAccessibleInterface* a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
        return a ? a->text(QAccessible::Name) : QStringLiteral("<none>");
    };
    // A combo box by what it is for, not by the entry it shows.
    auto* office = tab.field<QComboBox>("Pu");
    QVERIFY(office);
    office->setCurrentIndex(1);
    QCOMPARE(name(office), QStringLiteral("Područni ured"));
    QCOMPARE(name(tab.window.findChild<QComboBox*>(QStringLiteral("izbobrrec"))), QStringLiteral("Izbor obrasca recepta"));
    QCOMPARE(name(tab.window.findChild<QWidget*>(QStringLiteral("izborpomslika"))), QStringLiteral("IZBOR KELMORIN IZ TABL."));
    QCOMPARE(name(tab.window.findChild<QWidget*>(QStringLiteral("qt_calendar_prevmonth"))), QStringLiteral("Prethodni mjesec"));
    QCOMPARE(name(tab.window.findChild<QWidget*>(QStringLiteral("qt_calendar_nextmonth"))), QStringLiteral("Sljedeći mjesec"));
    // Every box and button of the entry area has a name.
    for (QWidget* w : tab.window.invoiceEntryArea()->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !(qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
                                                    || qobject_cast<QAbstractButton*>(w)))
            continue;
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget()))
            continue; // the combo box's own line
        QVERIFY2(!name(w).trimmed().isEmpty(), qPrintable(w->objectName()));
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(&tab.window)->role(), QAccessible::Window);
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestInvoiceWiring)
#include "tst_invoice_wiring.moc"
