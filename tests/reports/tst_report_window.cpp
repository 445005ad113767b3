#include "app/main_window.h"
#include "data/session.h"
#include "print/print_target.h"
#include "support/recording_canvas.h"
#include "reports/report_window.h"
#include "reports/report_wiring.h"
#include "reports/reports.h"
#include "support/shop_fixture.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QAccessible>
#include <QTest>

// The menu items of the reports in the main window and the report window
// they open.
class TestReportWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void menuItemsSaveTheInvoiceAndShowTheReport();
    void aidFromTheShownCodeList();
    void windowButtons();

private:
    void trigger(const char* name) { m_window->menuAction(QString::fromLatin1(name))->trigger(); }

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<MainWindow> m_window;
    RecordingPrintTarget m_printer;
    std::unique_ptr<reporttab::Reports> m_reports;
};

void TestReportWindow::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_window = std::make_unique<MainWindow>(*m_shop->session, m_shop->services());
    m_printer = RecordingPrintTarget();
    m_reports = reporttab::install(*m_window, *m_shop->session, m_shop->services(), m_printer);
    m_window->prepare();
}

void TestReportWindow::cleanup()
{
    m_reports.reset();
    m_window.reset();
    m_shop.reset();
}

void TestReportWindow::menuItemsSaveTheInvoiceAndShowTheReport()
{
    for (const char* name : {"ispirneplac", "ispirplac", "ispirsvi", "ispirsifra", "ispobbez", "ispobbilo", "ispobodr",
                             "rekaporeza"})
        QVERIFY2(m_window->menuAction(QString::fromLatin1(name))->isEnabled(), name);

    // The invoice on screen gets a surname that is not saved yet.
    RecordSet& invoices = m_shop->session->invoices();
    QVERIFY(invoices.setField(u"Prezime", QStringLiteral("Neuspremljeni")));
    QVERIFY(invoices.setField(u"Plac", QVariant()));
    ReportWindow& shown = m_reports->window();
    QVERIFY(!shown.isVisible());
    m_shop->dialogs.answer(QStringLiteral("S"));
    m_shop->dialogs.answer(QStringLiteral("1"));
    trigger("ispirneplac");
    QVERIFY(shown.isVisible());
    QVERIFY(!shown.isModal());
    QVERIFY(shown.textView()->toPlainText().startsWith(QStringLiteral("Pregled neplaćenih računa\n\n Rbr")));
    QVERIFY(shown.textView()->toPlainText().contains(QStringLiteral("Neuspremljeni")));
    QVERIFY(!invoices.isDirty(invoices.current()));
    QVERIFY(QFontInfo(shown.textView()->font()).fixedPitch());

    m_shop->dialogs.answer(QStringLiteral("1"));
    m_shop->dialogs.answer(QStringLiteral("2"));
    trigger("rekaporeza");
    QVERIFY(shown.textView()->toPlainText().startsWith(QStringLiteral("Rekapitulacija poreza")));
}

void TestReportWindow::aidFromTheShownCodeList()
{
    m_window->codeListTabs()->setCurrentIndex(1);
    trigger("ispirsifra");
    QCOMPARE(m_shop->dialogs.messages(), QStringList{ReportCommands::kNoAidMessage});

    QTableView* grid = m_window->codeListGrid(true);
    grid->setCurrentIndex(grid->model()->index(2, 3));
    const QString code = grid->model()->index(2, 3).data(Qt::EditRole).toString();
    const QString name = grid->model()->index(2, 5).data(Qt::EditRole).toString();
    QCOMPARE(code.size(), 13);
    m_shop->dialogs.answer(QStringLiteral("S"));
    m_shop->dialogs.answer(QStringLiteral("1"));
    trigger("ispirsifra");
    const auto& shownTexts = m_shop->dialogs.shown();
    QCOMPARE(shownTexts[shownTexts.size() - 2].title, ReportCommands::kPeriodTitle);
    QVERIFY(shownTexts[shownTexts.size() - 2].text.contains(QStringLiteral("\r\n") + code + QStringLiteral("\r\n") + name));
    QVERIFY(m_reports->window().textView()->toPlainText().contains(QStringLiteral("Pomagalo: ") + code + u' ' + name));
}

void TestReportWindow::windowButtons()
{
    ReportWindow& shown = m_reports->window();
    m_shop->dialogs.answer(QStringLiteral("S"));
    m_shop->dialogs.answer(QStringLiteral("2"));
    trigger("ispirsvi");
    // A window to assistive technology, its text named.
    QCOMPARE(QAccessible::queryAccessibleInterface(&shown)->role(), QAccessible::Window);
    QCOMPARE(QAccessible::queryAccessibleInterface(shown.textView())->text(QAccessible::Name), QStringLiteral("Tekst izvješća"));
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("Temp.txt"));
    QCOMPARE(shown.document().path(), path);

    shown.findChild<QPushButton*>(QStringLiteral("ispis"))->click();
    QCOMPARE(m_printer.documents.size(), size_t(1));
    QCOMPARE(m_printer.last().texts().first(), QStringLiteral("Pregled svih računa"));

    QString offered;
    shown.chooseSavePath = [&offered](const QString& suggested) {
        offered = suggested;
        return QStringLiteral("kopija.txt");
    };
    shown.findChild<QPushButton*>(QStringLiteral("spremikao"))->click();
    QFile original(path), copy(QStringLiteral("kopija.txt"));
    QVERIFY(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original.readAll());
    // Offered under its heading, not as the file the next report overwrites.
    QCOMPARE(offered, QDir::current().absoluteFilePath(QStringLiteral("Pregled-svih-racuna.txt")));

    shown.findChild<QPushButton*>(QStringLiteral("uredivac"))->click();
    QCOMPARE(m_shop->platform.opened, QStringList{path});

    // A file that cannot be read keeps what is shown and says why.
    QVERIFY(!shown.showTextFile(QStringLiteral("nema.txt")));
    QCOMPARE(shown.document().path(), path);
    QVERIFY(m_shop->dialogs.messages().last().startsWith(QStringLiteral("Datoteku nema.txt nije moguće pročitati")));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestReportWindow)
#include "tst_report_window.moc"
