// The database viewer and the medium listing: what they list, the counts,
// sorting, the copied cell, that they never change a file, and the medium
// found as the submission finds it.
#include "app/main_window.h"
#include "browser/browser_window.h"
#include "browser/browser_wiring.h"
#include "browser/database_browser.h"
#include "browser/file_opener.h"
#include "browser/medium_listing.h"
#include "data/database.h"
#include "support/shop_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray hashOf(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void listsDatabasesTablesAndViews();
    void countsSortAndCopiedCell();
    void namesSortInCroatianOrder();
    void neverChangesAFile();
    void aFileThatIsNoDatabase();
    void anEndlessViewIsCutAndStopped();
    void windowHidesAndKeepsItsTable();
    void filesOpenByKind();
    void mediumListing();

private:
    void makeSample();
    BrowserWindow* openViewer();

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_textOpened;
};

void TestBrowser::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_window = std::make_unique<MainWindow>(*m_shop->session, m_shop->services());
    m_textOpened.clear();
    browsertab::install(*m_window, m_shop->services(), [this](const QString& path) { m_textOpened << path; });
    m_window->prepare();
    makeSample();
}

void TestBrowser::cleanup()
{
    m_window.reset();
    m_shop.reset();
}

void TestBrowser::makeSample()
{
    Database db(QStringLiteral("Uzorak.MDB"), Database::Mode::Create);
    QVERIFY(db.exec(QStringLiteral("CREATE TABLE Zadnja (Rbr INTEGER PRIMARY KEY AUTOINCREMENT, Ime TEXT, Iznos REAL, Napomena TEXT)")));
    QVERIFY(db.exec(QStringLiteral("CREATE VIEW Skupi AS SELECT * FROM Zadnja WHERE Iznos > 10")));
    QVERIFY(db.exec(QStringLiteral("CREATE TABLE Prazna (A TEXT, B TEXT, C TEXT)")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Zadnja (Ime, Iznos, Napomena) VALUES ('Marić', 30, ''), ('Anić', 5, 'x'), "
                                   "('Babić', 12.5, NULL)")));
}

BrowserWindow* TestBrowser::openViewer()
{
    m_window->menuAction(QStringLiteral("prbipdisk"))->trigger();
    return m_window->findChild<BrowserWindow*>(QStringLiteral("pregbaz"));
}

void TestBrowser::listsDatabasesTablesAndViews()
{
    m_shop->folder.touch(QStringLiteral("040506.inm"));
    QCOMPARE(DatabaseBrowser::databaseFiles(m_shop->folder.path()),
             (QStringList{QStringLiteral("Kelmorin.mdb"), QStringLiteral("Pac.mdb"), QStringLiteral("Uzorak.MDB")}));
    QVERIFY(DatabaseBrowser::allFiles(m_shop->folder.path()).contains(QStringLiteral("040506.inm")));

    BrowserWindow* viewer = openViewer();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(viewer)->role(), QAccessible::Window);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Pregled baze podataka i kreiranih disketa"));
    QCOMPARE(viewer->databaseList()->count(), 3);
    QVERIFY(!viewer->fileList()->findItems(QStringLiteral("040506.inm"), Qt::MatchExactly).isEmpty());
    QCOMPARE(viewer->fileList()->toolTip(), QStringLiteral("Dvoklikom na fajl omogućujete prikaz sadržaja fajla"));

    // The tables in the file's order (without sqlite_sequence), then the views.
    viewer->chooseDatabase(QStringLiteral("Uzorak.MDB"));
    QStringList names;
    for (int i = 0; i < viewer->tableList()->count(); ++i)
        names << viewer->tableList()->item(i)->text();
    QCOMPARE(names, (QStringList{QStringLiteral("Zadnja"), QStringLiteral("Prazna"), QStringLiteral("Skupi")}));
    viewer->chooseDatabase(QStringLiteral("Kelmorin.mdb"));
    QVERIFY(!viewer->tableList()->findItems(QStringLiteral("Rn"), Qt::MatchExactly).isEmpty());
    QVERIFY(m_shop->dialogs.shown().empty());
}

void TestBrowser::countsSortAndCopiedCell()
{
    BrowserWindow* viewer = openViewer();
    viewer->chooseDatabase(QStringLiteral("Uzorak.MDB"));
    viewer->chooseTable(QStringLiteral("Zadnja"));
    QCOMPARE(viewer->countLabel()->text(), QStringLiteral("3  /  3"));
    viewer->chooseTable(QStringLiteral("Skupi"));
    QCOMPARE(viewer->countLabel()->text(), QStringLiteral("2  /  3"));
    viewer->chooseTable(QStringLiteral("Prazna"));
    QCOMPARE(viewer->countLabel()->text(), QStringLiteral("0  /  2"));
    QCOMPARE(viewer->grid()->model()->rowCount(), 0);

    viewer->chooseTable(QStringLiteral("Zadnja"));
    QAbstractItemModel* model = viewer->grid()->model();
    viewer->sortByColumn(1);
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Anić"));
    QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("Marić"));
    viewer->sortByColumn(2);
    QCOMPARE(model->index(2, 2).data().toDouble(), 30.0);
    QCOMPARE(viewer->countLabel()->text(), QStringLiteral("3  /  3"));

    viewer->grid()->setCurrentIndex(model->index(1, 1));
    QCOMPARE(viewer->cellLabel()->text(), QStringLiteral("Babić"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Babić"));
    viewer->grid()->setCurrentIndex(model->index(1, 3)); // an empty cell
    QCOMPARE(viewer->cellLabel()->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());

    // The whole invoice table of the shop.
    viewer->chooseDatabase(QStringLiteral("Kelmorin.mdb"));
    viewer->chooseTable(QStringLiteral("Rn"));
    const int invoices = m_shop->session->database().scalar(QStringLiteral("SELECT count(*) FROM Rn")).toInt();
    QCOMPARE(viewer->countLabel()->text(), QStringLiteral("%1  /  44").arg(invoices));
}

void TestBrowser::namesSortInCroatianOrder()
{
    {
        Database db(QStringLiteral("Imena.mdb"), Database::Mode::Create);
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE Pacijenti (Prezime TEXT, Broj INTEGER)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Pacijenti VALUES ('Zorić', 10), ('Ćosić', 9), ('Čačić', 100), "
                                       "('čolić', 2), ('Đurić', 1), ('Cvitan', 3), ('Dukić', 4)")));
    }
    BrowserWindow* viewer = openViewer();
    viewer->chooseDatabase(QStringLiteral("Imena.mdb"));
    viewer->chooseTable(QStringLiteral("Pacijenti"));
    viewer->sortByColumn(0);
    QAbstractItemModel* model = viewer->grid()->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    QCOMPARE(names, (QStringList{"Cvitan", "Čačić", "čolić", "Ćosić", "Dukić", "Đurić", "Zorić"}));
    // Numbers keep the order of numbers.
    viewer->sortByColumn(1);
    QCOMPARE(model->index(6, 1).data().toInt(), 100);
}

void TestBrowser::neverChangesAFile()
{
    m_shop->session.reset(); // nothing else has the file open
    const QString path = m_shop->folder.file(QStringLiteral("Kelmorin.mdb"));
    const QByteArray before = hashOf(path);
    BrowserWindow* viewer = openViewer();
    viewer->chooseDatabase(QStringLiteral("Kelmorin.mdb"));
    viewer->chooseTable(QStringLiteral("OrtopedskaKelmorinISO"));
    viewer->sortByColumn(5);
    QAbstractItemModel* model = viewer->grid()->model();
    QVERIFY(!(model->flags(model->index(0, 5)) & Qt::ItemIsEditable));
    QVERIFY(!model->setData(model->index(0, 5), QStringLiteral("promijenjeno"), Qt::EditRole));
    Database* db = viewer->browser().shownDatabase();
    QVERIFY(db);
    QVERIFY(!db->exec(QStringLiteral("UPDATE OrtopedskaKelmorinISO SET Naziv = 'promijenjeno'")));
    QVERIFY(!db->exec(QStringLiteral("CREATE TABLE Nova (A TEXT)")));
    viewer->close();
    QCOMPARE(hashOf(path), before);
}

void TestBrowser::aFileThatIsNoDatabase()
{
    QByteArray access(4096, '\0');
    access.replace(4, 15, "Standard Jet DB");
    m_shop->folder.touch(QStringLiteral("Stari.mdb"), access);
    const QByteArray before = hashOf(QStringLiteral("Stari.mdb"));
    BrowserWindow* viewer = openViewer();
    viewer->chooseDatabase(QStringLiteral("Uzorak.MDB"));
    viewer->chooseTable(QStringLiteral("Zadnja"));
    viewer->chooseDatabase(QStringLiteral("Stari.mdb"));
    QCOMPARE(m_shop->dialogs.messages().size(), 1);
    QVERIFY(m_shop->dialogs.messages().first().contains(QStringLiteral("Stari.mdb")));
    QCOMPARE(viewer->tableList()->count(), 0);
    // The rows of the file chosen before do not stay under the new name.
    QVERIFY(viewer->countLabel()->text().isEmpty());
    QCOMPARE(viewer->findChild<QTableView*>()->model()->rowCount(), 0);
    QCOMPARE(hashOf(QStringLiteral("Stari.mdb")), before);
}

void TestBrowser::anEndlessViewIsCutAndStopped()
{
    {
        Database db(QStringLiteral("Beskraj.mdb"), Database::Mode::Create);
        QVERIFY(db.exec(QStringLiteral("CREATE VIEW Brojevi AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) "
                                       "SELECT n, 'redak ' || n AS Tekst FROM r")));
        // Runs for ever without giving a single row.
        QVERIFY(db.exec(QStringLiteral("CREATE VIEW Nista AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) "
                                       "SELECT n FROM r WHERE n < 0")));
    }
    DatabaseBrowser browser(std::chrono::milliseconds(4000));
    QVERIFY(browser.show(QStringLiteral("Beskraj.mdb"), QStringLiteral("Brojevi")));
    // Rows come in pages: the last page read may end a little past the limit.
    const int shown = browser.model().rowCount();
    QVERIFY2(shown >= 100000 && shown < 100000 + 256, qPrintable(QString::number(shown)));
    QCOMPARE(browser.countLabel(), QStringLiteral("%1  /  1  (prikazano prvih %1 redaka)").arg(shown));
    // The grid reads no further when scrolled to the end.
    QVERIFY(!browser.model().canFetchMore());
    QCOMPARE(browser.model().data(browser.model().index(99999, 1)).toString(), QStringLiteral("redak 100000"));

    // Sorting an endless view never ends: it is stopped.
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!browser.sortBy(0));
    QVERIFY2(browser.error().contains(QStringLiteral("prekinut")), qPrintable(browser.error()));
    QVERIFY(timer.elapsed() < 30000);

    timer.start();
    QVERIFY(!browser.show(QStringLiteral("Beskraj.mdb"), QStringLiteral("Nista")));
    QVERIFY2(browser.error().contains(QStringLiteral("prekinut")), qPrintable(browser.error()));
    QVERIFY(timer.elapsed() < 30000);
    QCOMPARE(browser.model().rowCount(), 0);
    // The file stays usable.
    QVERIFY(browser.show(QStringLiteral("Uzorak.MDB"), QStringLiteral("Zadnja")));
    QCOMPARE(browser.countLabel(), QStringLiteral("3  /  3"));
}

void TestBrowser::windowHidesAndKeepsItsTable()
{
    BrowserWindow* viewer = openViewer();
    viewer->chooseDatabase(QStringLiteral("Uzorak.MDB"));
    viewer->chooseTable(QStringLiteral("Zadnja"));
    viewer->close();
    QVERIFY(!viewer->isVisible());
    QTest::keyClick(openViewer(), Qt::Key_Escape);
    QVERIFY(!viewer->isVisible());
    QCOMPARE(openViewer(), viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->countLabel()->text(), QStringLiteral("3  /  3"));
    QCOMPARE(viewer->grid()->model()->rowCount(), 3);
    auto* back = viewer->findChild<QPushButton*>(QStringLiteral("povr"));
    QCOMPARE(back->text(), QStringLiteral("    Povratak    "));
    back->click();
    QVERIFY(!viewer->isVisible());
    QCOMPARE(m_window->findChildren<BrowserWindow*>().size(), 1);
}

void TestBrowser::filesOpenByKind()
{
    m_shop->folder.touch(QStringLiteral("Temp.txt"), "Pregled računa\r\n");
    m_shop->folder.touch(QStringLiteral("Sifrarnici.rtf"), "{\\rtf1 }");
    BrowserWindow* viewer = openViewer();
    viewer->openFile(QStringLiteral("Temp.txt"));
    viewer->openFile(QStringLiteral("Sifrarnici.rtf"));
    viewer->openFile(QStringLiteral("Kelmorin.mdb"));
    QCOMPARE(m_textOpened, QStringList{m_shop->folder.file(QStringLiteral("Temp.txt"))});
    QCOMPARE(m_shop->platform.opened, (QStringList{m_shop->folder.file(QStringLiteral("Sifrarnici.rtf")),
                                                   m_shop->folder.file(QStringLiteral("Kelmorin.mdb"))}));
}

void TestBrowser::mediumListing()
{
    QAction* listing = m_window->menuAction(QStringLiteral("prsadrdis"));
    auto* files = m_window->findChild<QListWidget*>(QStringLiteral("disketa"));
    QVERIFY(files && !files->isVisibleTo(m_window.get()));
    listing->trigger();
    QCOMPARE(m_shop->dialogs.messages(), QStringList{QStringLiteral("Disketa nije prisutna ili je neispravna!")});

    m_shop->platform.medium = m_shop->folder.file(QStringLiteral("nema"));
    listing->trigger();
    QCOMPARE(m_shop->dialogs.messages().size(), 2);
    QVERIFY(!files->isVisibleTo(m_window.get()));

    QTemporaryDir medium;
    QFile(medium.filePath(QStringLiteral("1234567001.O26"))).open(QIODevice::WriteOnly);
    QFile(medium.filePath(QStringLiteral("popratni.pdf"))).open(QIODevice::WriteOnly);
    m_shop->platform.medium = medium.path();
    listing->trigger();
    QCOMPARE(m_shop->dialogs.messages().size(), 2);
    QVERIFY(files->isVisibleTo(m_window.get()));
    QCOMPARE(files->toolTip(), QStringLiteral("Kliknite na fajl kojeg želite otvoriti"));
    auto* caption = m_window->findChild<QLabel*>(QStringLiteral("Label3_20"));
    QVERIFY(caption->isVisibleTo(m_window.get()));
    QCOMPARE(caption->text(), QStringLiteral("SADRŽAJ DISKETE"));
    QCOMPARE(m_window->tabs()->currentIndex(), int(MainWindow::OverviewTab));
    QCOMPARE(files->count(), 2);
    QCOMPARE(files->item(0)->text(), QStringLiteral("1234567001.O26"));

    Q_EMIT files->itemClicked(files->item(0));
    Q_EMIT files->itemClicked(files->item(1));
    QCOMPARE(m_textOpened, QStringList{medium.filePath(QStringLiteral("1234567001.O26"))});
    QCOMPARE(m_shop->platform.opened, QStringList{medium.filePath(QStringLiteral("popratni.pdf"))});
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestBrowser)
#include "tst_browser.moc"
