#include "app/grid_layouts.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "data/sql_values.h"
#include "support/shop_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QComboBox>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QStandardItemModel>
#include <QAbstractItemModelTester>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void tabsAndMenu();
    void f9FromAnyFieldStartsANewInvoice();
    void tabChanges();
    void coPaymentItemOnlyOnTheInvoiceTab();
    void gridLayouts();
    void gridEditsAreWrittenAtOnce();
    void exitSavesAndStartsTheArchive();
    void windowFitsTheScreenCentred();

private:
    std::unique_ptr<ShopFixture> m_shop;
    Session* m_session = nullptr;
    std::unique_ptr<MainWindow> m_window;
    // Checks every change of the invoice grid's model against the rules
    // of Qt's item models.
    std::unique_ptr<QAbstractItemModelTester> m_modelTester;
};

void TestMainWindow::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_session = m_shop->session.get();
    m_window = std::make_unique<MainWindow>(*m_session, m_shop->services());
    m_window->prepare();
    m_modelTester = std::make_unique<QAbstractItemModelTester>(m_window->invoiceGrid()->model(),
                                                               QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestMainWindow::cleanup()
{
    m_modelTester.reset();
    m_window.reset();
    m_shop.reset();
}

void TestMainWindow::tabsAndMenu()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Računi za optička kelmorin"));
    QTabWidget* tabs = m_window->tabs();
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Kreiranje i ispis računa"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Pregled svih računa i kreiranje diskete"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Opći podaci"));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(m_window->codeListTabs()->tabText(0), QStringLiteral("Stare šifre (12)"));
    QCOMPARE(m_window->codeListTabs()->tabText(1), QStringLiteral("Nove šifre (13)"));

    const QList<QAction*> bar = m_window->menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QStringLiteral("    Opcije    "));
    QCOMPARE(bar[1]->text(), QStringLiteral("    Izlaz    "));
    QStringList captions;
    for (QAction* a : bar[0]->menu()->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(captions.size(), int(mainmenu::items().size()));
    QCOMPARE(captions.first(), QStringLiteral("Prikaži račun broj..."));
    QCOMPARE(captions.last(), QStringLiteral("Visus"));
    QVERIFY(captions.contains(QStringLiteral("Izbor printera i  postavke ispisa")));
    QAction* overview = m_window->menuAction(QStringLiteral("ispir"));
    QStringList sub;
    for (QAction* a : overview->menu()->actions())
        sub << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(sub, (QStringList{"neplaćenih", "plaćenih", "svih", "-", "po šifri kelmorin"}));

    // Commands of later work say that they are not available yet, in their
    // hint and when they are chosen; the two old price loaders are hidden.
    QAction* visus = m_window->menuAction(QStringLiteral("visu"));
    const QString notYet = visus->toolTip();
    QVERIFY2(notYet.contains(QStringLiteral("nije dostupna")), qPrintable(notYet));
    QVERIFY(visus->isEnabled());
    m_shop->dialogs.clear();
    visus->trigger();
    QCOMPARE(m_shop->dialogs.messages(), QStringList{notYet});
    QCOMPARE(m_window->menuAction(QStringLiteral("sifrar"))->toolTip(), notYet);
    QCOMPARE(m_window->button(QStringLiteral("kreirajdisk"))->toolTip(), notYet);
    m_window->button(QStringLiteral("kreirajdisk"))->click();
    QCOMPARE(m_shop->dialogs.messages(), (QStringList{notYet, notYet}));
    QCOMPARE(overview->toolTip(), notYet);
    m_window->setCommand(QStringLiteral("ispirsvi"), [] {});
    // A misspelt name binds nothing and says so.
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, m_window->setCommand(QStringLiteral("ispirsve"), [] {}));
    QVERIFY(overview->isEnabled());
    QVERIFY(overview->toolTip() != notYet);
    QVERIFY(m_window->menuAction(QStringLiteral("ispirsvi"))->toolTip() != notYet);
    QVERIFY(!m_window->menuAction(QStringLiteral("uctcij0"))->isVisible());
    QCOMPARE(m_window->formVariantList()->count(), 2);
}

void TestMainWindow::f9FromAnyFieldStartsANewInvoice()
{
    auto* field = m_window->generalDataArea()->findChild<QLineEdit*>(QStringLiteral("Naziv"));
    QVERIFY(field);
    const QString name = field->text();
    m_window->tabs()->setCurrentIndex(MainWindow::GeneralDataTab);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    field->setFocus();
    QSignalSpy triggered(m_window->newInvoiceAction(), &QAction::triggered);
    QTest::keyClick(field, Qt::Key_F9);
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(field->text(), name);

    m_window->tabs()->setCurrentIndex(MainWindow::OverviewTab);
    QTest::keyClick(m_window->invoiceGrid(), Qt::Key_F9);
    QCOMPARE(triggered.count(), 2);
}

void TestMainWindow::tabChanges()
{
    RecordSet& invoices = m_session->invoices();
    QCOMPARE(invoices.current(), invoices.rowCount() - 1);
    QSignalSpy left(m_window.get(), &MainWindow::invoiceTabLeft);

    m_window->tabs()->setCurrentIndex(MainWindow::GeneralDataTab);
    QCOMPARE(left.count(), 1);
    QVERIFY(invoices.setCurrent(0));

    // From the general data to the overview: no recomputation, the grid
    // goes to the last invoice.
    m_window->tabs()->setCurrentIndex(MainWindow::OverviewTab);
    QCOMPARE(left.count(), 1);
    QCOMPARE(invoices.current(), invoices.rowCount() - 1);
    QCOMPARE(m_window->invoiceGrid()->currentIndex().row(), invoices.rowCount() - 1);

    // Picking a row in the grid makes it the current invoice.
    m_window->invoiceGrid()->setCurrentIndex(m_window->invoiceGrid()->model()->index(2, 0));
    QCOMPARE(invoices.current(), 2);
}

void TestMainWindow::coPaymentItemOnlyOnTheInvoiceTab()
{
    int calls = 0;
    m_window->setCommand(QStringLiteral("iznsud"), [&] { ++calls; });
    QAction* item = m_window->menuAction(QStringLiteral("iznsud"));
    QVERIFY(item->isEnabled());
    m_window->tabs()->setCurrentIndex(MainWindow::OverviewTab);
    QVERIFY(!item->isEnabled());
    m_window->tabs()->setCurrentIndex(MainWindow::InvoiceTab);
    QVERIFY(item->isEnabled());
    item->trigger();
    QCOMPARE(calls, 1);
}

void TestMainWindow::gridLayouts()
{
    QTableView* grid = m_window->invoiceGrid();
    // The tests' offscreen screen has 96 dots per inch: 1440 twips are 96
    // pixels, rounded to the nearest.
    QCOMPARE(grid->logicalDpiX(), 96);
    QCOMPARE(grid->columnWidth(0), 47);  // 700 twips
    QCOMPARE(grid->columnWidth(33), 75); // 1130 twips
    for (int c : {5, 20, 32, 37, 40})
        QVERIFY2(grid->isColumnHidden(c), qPrintable(QString::number(c)));
    for (int c : {0, 4, 33, 34, 36, 41, 43})
        QVERIFY2(!grid->isColumnHidden(c), qPrintable(QString::number(c)));
    const QAbstractItemModel* model = grid->model();
    QCOMPARE(model->headerData(33, Qt::Horizontal).toString(), QStringLiteral("Iznos"));
    for (int c = 0; c < 44; ++c) {
        const bool editable = model->flags(model->index(0, c)) & Qt::ItemIsEditable;
        QCOMPARE(editable, c == 34 || c >= 36);
    }
    const QString amount = model->index(0, 33).data().toString();
    QVERIFY2(amount.contains(QRegularExpression(QStringLiteral("^\\d+[.,]\\d\\d$"))), qPrintable(amount));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("%1").arg(sqlvalue::toDate(m_session->invoices().value(0, 1)).toString(QStringLiteral("dd.MM.yyyy"))));

    QTableView* newCodes = m_window->codeListGrid(true);
    QVERIFY(newCodes->isColumnHidden(0) && newCodes->isColumnHidden(4) && !newCodes->isColumnHidden(26));
    QCOMPARE(newCodes->columnWidth(3), 87); // 1300 twips
    // The lists run to thousands of aids: the grid's own cell shows a
    // four-digit number in the number column whole.
    QStandardItemModel numbers;
    numbers.appendRow(new QStandardItem(QStringLiteral("9999")));
    QStyleOptionViewItem option;
    option.initFrom(newCodes);
    option.font = newCodes->font();
    option.features = QStyleOptionViewItem::HasDisplay;
    const int needed = newCodes->itemDelegate()->sizeHint(option, numbers.index(0, 0)).width();
    QVERIFY2(newCodes->columnWidth(1) >= needed, qPrintable(QStringLiteral("%1 < %2").arg(newCodes->columnWidth(1)).arg(needed)));
    QVERIFY(!(newCodes->model()->flags(newCodes->model()->index(0, 26)) & Qt::ItemIsEditable));
    QTableView* oldCodes = m_window->codeListGrid(false);
    QVERIFY(oldCodes->model()->flags(oldCodes->model()->index(0, 26)) & Qt::ItemIsEditable);
    QCOMPARE(oldCodes->model()->index(0, 3).data().toString().size(), 12);
}

void TestMainWindow::gridEditsAreWrittenAtOnce()
{
    QAbstractItemModel* model = m_window->invoiceGrid()->model();
    const QModelIndex mark = model->index(0, 34);
    QVERIFY(model->setData(mark, QStringLiteral("A")));
    QVERIFY(!model->setData(model->index(0, 3), QStringLiteral("X"))); // read-only

    // Nothing longer than the field is typed or stored.
    const QModelIndex paid = model->index(0, 36);
    QCOMPARE(paid.data(RecordSetModel::MaxLengthRole).toInt(), 20);
    QTableView* grid = m_window->invoiceGrid();
    std::unique_ptr<QWidget> editor(grid->itemDelegate()->createEditor(grid->viewport(), {}, paid));
    QCOMPARE(qobject_cast<QLineEdit*>(editor.get())->maxLength(), 20);
    QVERIFY(model->setData(paid, QString(30, u'7')));
    QCOMPARE(paid.data(Qt::EditRole).toString(), QString(20, u'7'));
    Database other(schema::kInvoiceFile);
    const int rbr = m_session->invoices().value(0, u"Rbr").toInt();
    QCOMPARE(other.scalar(QStringLiteral("SELECT Izbor FROM Rn WHERE Rbr = ?"), {rbr}).toString(), QStringLiteral("A"));
}

void TestMainWindow::exitSavesAndStartsTheArchive()
{
    m_shop->folder.touch(QStringLiteral("ARHIVA.EXE"));
    QVERIFY(m_session->invoices().setField(u"Opaska", QStringLiteral("nije spremljeno")));
    QVERIFY(m_session->generalData().setField(u"Naziv", QStringLiteral("Optika Nova")));
    m_window->show();
    m_window->menuAction(QStringLiteral("izlaz"))->trigger();
    QVERIFY(!m_window->isVisible());

    Database other(schema::kInvoiceFile);
    const int rbr = m_session->invoices().field(u"Rbr").toInt();
    QCOMPARE(other.scalar(QStringLiteral("SELECT Opaska FROM Rn WHERE Rbr = ?"), {rbr}).toString(), QStringLiteral("nije spremljeno"));
    QCOMPARE(other.scalar(QStringLiteral("SELECT Naziv FROM Opci")).toString(), QStringLiteral("Optika Nova"));
    QCOMPARE(m_shop->platform.started.size(), size_t(1));
    QCOMPARE(m_shop->platform.started[0].program, QStringLiteral("ARHIVA.EXE"));
    QCOMPARE(m_shop->platform.started[0].window, Platform::Window::Normal);
}

void TestMainWindow::windowFitsTheScreenCentred()
{
    // The test screen is smaller than the window would like to be: the
    // window fits into the available area, centred, and its tabs scroll.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QRect area = m_window->screen()->availableGeometry();
    const QRect frame = m_window->frameGeometry();
    QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1x%2+%3+%4 in %5x%6")
                                                  .arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y())
                                                  .arg(area.width()).arg(area.height())));
    QVERIFY(std::abs((frame.left() - area.left()) - (area.right() - frame.right())) <= 1);
    QVERIFY(std::abs((frame.top() - area.top()) - (area.bottom() - frame.bottom())) <= 1);
    auto* page = qobject_cast<QScrollArea*>(m_window->tabs()->widget(MainWindow::InvoiceTab));
    QVERIFY(page);
    QVERIFY(page->widget()->isAncestorOf(m_window->invoiceEntryArea()));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
