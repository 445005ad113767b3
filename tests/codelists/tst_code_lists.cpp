// The code-list tab: searching as the user types, unlocking and editing a
// list, refreshing it, the 2006 snapshot price loads and "Šifrarnici".
#include "access/conversion.h"
#include "app/main_window.h"
#include "codelists/code_search.h"
#include "codelists/codelist_commands.h"
#include "codelists/codelists_wiring.h"
#include "data/database.h"
#include "support/shop_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QLabel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

using codelists::Match;

class TestCodeLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void searchesFindTheFirstCodeInBrojOrder();
    void searchBoxesMoveTheGrid();
    void keysReachTheSearchBoxesAndTheGrid();
    void unlockEditAddAndRefresh();
    void pricesAndRatesTypedAreTheLoadersOnly();
    void snapshotPricesFromTheCurrentRow();
    void snapshotFailuresLeaveTheListAsItWas();
    void snapshotInTheAccessFormatIsReadFromAConvertedCopy();
    void codeListDocument();

private:
    void open();
    Database& db() { return m_shop->session->database(); }
    QString codeAt(bool thirteen, int row)
    {
        return m_window->codeListGrid(thirteen)->model()->index(row, 3).data().toString();
    }
    QStringList codes(const char* table)
    {
        QStringList all;
        QSqlQuery q(db().handle());
        q.exec(QStringLiteral("SELECT Sifra FROM %1 ORDER BY Broj, rowid").arg(QLatin1String(table)));
        while (q.next())
            all << q.value(0).toString();
        return all;
    }
    void makeSnapshotFile();

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<MainWindow> m_window;
    // Check every change of the two code-list models and the invoice
    // grid's model against the rules of Qt's item models.
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_modelTesters;
};

void TestCodeLists::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
}

void TestCodeLists::open()
{
    QVERIFY(m_shop->restart());
    m_window = std::make_unique<MainWindow>(*m_shop->session, m_shop->services());
    codelisttab::install(*m_window, *m_shop->session, m_shop->services());
    m_window->prepare();
    m_modelTesters.clear();
    for (QAbstractItemModel* model : {m_window->codeListGrid(false)->model(), m_window->codeListGrid(true)->model(),
                                      m_window->invoiceGrid()->model()})
        m_modelTesters.push_back(
            std::make_unique<QAbstractItemModelTester>(model, QAbstractItemModelTester::FailureReportingMode::QtTest));
}

void TestCodeLists::cleanup()
{
    m_modelTesters.clear();
    m_window.reset();
    m_shop.reset();
}

void TestCodeLists::searchesFindTheFirstCodeInBrojOrder()
{
    // Added in another order than their Broj; the characters SQL would take
    // for patterns are plain characters here.
    const char* rows[][2] = {{"60", "5500000000012"}, {"55", "6600000000012"}, {"70", "10%_X'1234567"},
                             {"71", "10AB'1234567"},  {"72", "10A_x1234567"}};
    for (const auto& r : rows)
        QVERIFY(db().exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Broj, Sifra) VALUES (?, ?)"),
                          {QString::fromLatin1(r[0]).toInt(), QString::fromLatin1(r[1])}));
    open();
    const RecordSet& list = m_shop->session->newCodeList();
    auto found = [&](const char* typed, Match match) {
        const int row = codelists::firstMatch(list, QString::fromUtf8(typed), match);
        return row < 0 ? QString() : list.value(row, u"Sifra").toString();
    };
    QCOMPARE(found("12", Match::Ending), QStringLiteral("6600000000012"));
    QCOMPARE(found("0012", Match::Ending), QStringLiteral("6600000000012"));
    QCOMPARE(found("210306", Match::Beginning), QStringLiteral("2103060101001"));
    QCOMPARE(found("2103061002", Match::Beginning), QStringLiteral("2103061002001"));
    QCOMPARE(found("999", Match::Ending), QString());
    QCOMPARE(found("10%", Match::Beginning), QStringLiteral("10%_X'1234567"));
    QCOMPARE(found("10_", Match::Beginning), QString());
    QCOMPARE(found("10A_", Match::Beginning), QStringLiteral("10A_x1234567"));
    QCOMPARE(found("10ab'", Match::Beginning), QStringLiteral("10AB'1234567"));
    QCOMPARE(found("'", Match::Beginning), QString());
    QCOMPARE(found("*'", Match::Beginning), QStringLiteral("10%_X'1234567"));
    QCOMPARE(found("55*1", Match::Beginning), QStringLiteral("5500000000012"));
    QCOMPARE(found("1*x*67", Match::Beginning), QStringLiteral("10%_X'1234567"));
    QCOMPARE(found("", Match::Beginning), list.value(0, u"Sifra").toString());

    QVERIFY(codelists::matches(u"210303141201", u"2103", Match::Beginning));
    QVERIFY(!codelists::matches(u"210303141201", u"2103", Match::Ending));
    QVERIFY(codelists::matches(u"210303141201", u"*0314*", Match::Ending));
    QVERIFY(!codelists::matches(u"12", u"1*2*2", Match::Beginning));
}

void TestCodeLists::searchBoxesMoveTheGrid()
{
    QVERIFY(db().exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Broj, Sifra) VALUES (5, '4400000000012')")));
    open();
    QTableView* grid13 = m_window->codeListGrid(true);
    auto* ending = m_window->findChild<QLineEdit*>(QStringLiteral("trazizadnje"));
    auto* start13 = m_window->findChild<QLineEdit*>(QStringLiteral("trazi13"));
    auto* start12 = m_window->findChild<QLineEdit*>(QStringLiteral("trazi12"));
    QVERIFY(ending && start13 && start12);
    QCOMPARE(start12->toolTip(), QStringLiteral("tekst koji se traži"));
    m_window->codeListTabs()->setCurrentIndex(1);
    QVERIFY(grid13->isVisibleTo(m_window.get()));
    QVERIFY(ending->isVisibleTo(m_window.get()));

    QTest::keyClicks(ending, QStringLiteral("12"));
    QCOMPARE(codeAt(true, grid13->currentIndex().row()), QStringLiteral("4400000000012"));
    QTest::keyClicks(ending, QStringLiteral("Q"));
    QCOMPARE(codeAt(true, grid13->currentIndex().row()), QStringLiteral("4400000000012"));
    QVERIFY(m_shop->dialogs.shown().empty());
    QTest::mouseDClick(ending, Qt::LeftButton);
    QCOMPARE(ending->text(), QString());
    QCOMPARE(grid13->currentIndex().row(), 0);

    QTest::keyClicks(start13, QStringLiteral("06031"));
    QCOMPARE(codeAt(true, grid13->currentIndex().row()), QStringLiteral("0603120101001"));
    QTableView* grid12 = m_window->codeListGrid(false);
    QTest::keyClicks(start12, QStringLiteral("2103090"));
    QCOMPARE(codeAt(false, grid12->currentIndex().row()), QStringLiteral("210309010101"));
    QTest::mouseDClick(start12, Qt::LeftButton);
    QCOMPARE(grid12->currentIndex().row(), 0);
}

void TestCodeLists::keysReachTheSearchBoxesAndTheGrid()
{
    open();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto* ending = m_window->findChild<QLineEdit*>(QStringLiteral("trazizadnje"));
    auto* start13 = m_window->findChild<QLineEdit*>(QStringLiteral("trazi13"));
    auto* start12 = m_window->findChild<QLineEdit*>(QStringLiteral("trazi12"));
    // The key stands in each box's caption.
    for (QLineEdit* box : {start13, start12, ending}) {
        auto* label = qobject_cast<QLabel*>(
            [&]() -> QObject* {
                for (QLabel* l : m_window->findChildren<QLabel*>())
                    if (l->buddy() == box)
                        return l;
                return nullptr;
            }());
        QVERIFY(label);
        QVERIFY2(label->text().endsWith(box == ending ? u"F4" : u"F3"), qPrintable(label->text()));
    }
    // F3 reaches the search box of the list shown, F4 the box for the end
    // of a code; Enter there goes on to the first match in the grid.
    m_window->codeListTabs()->setCurrentIndex(0);
    QTest::keyClick(m_window.get(), Qt::Key_F3);
    QCOMPARE(QApplication::focusWidget(), start12);
    m_window->codeListTabs()->setCurrentIndex(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    QCOMPARE(QApplication::focusWidget(), start13);
    QTest::keyClicks(start13, QStringLiteral("06031"));
    QTest::keyClick(start13, Qt::Key_Return);
    QTableView* grid13 = m_window->codeListGrid(true);
    QCOMPARE(QApplication::focusWidget(), grid13);
    QCOMPARE(codeAt(true, grid13->currentIndex().row()), QStringLiteral("0603120101001"));
    m_window->codeListTabs()->setCurrentIndex(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    QCOMPARE(QApplication::focusWidget(), ending);
    // Nothing matches: the cursor stays in the box.
    QTest::keyClicks(ending, QStringLiteral("xyz"));
    QTest::keyClick(ending, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), ending);
}

void TestCodeLists::unlockEditAddAndRefresh()
{
    open();
    QTableView* grid = m_window->codeListGrid(false);
    QAbstractItemModel* model = grid->model();
    const int rows = model->rowCount();
    auto editable = [&](int row, int column) { return bool(model->flags(model->index(row, column)) & Qt::ItemIsEditable); };
    QVERIFY(!editable(0, 19));
    QVERIFY(!editable(0, 3));

    auto* unlock = m_window->findChild<QPushButton*>(QStringLiteral("omogucipromjene12"));
    QVERIFY(unlock);
    QCOMPARE(unlock->text(), QStringLiteral("OMOGUĆI PROMJENE U TABLICI"));
    QCOMPARE(unlock->toolTip(), QStringLiteral("Omogući promjene ili upis novih kelmorin"));
    unlock->click();
    QVERIFY(m_shop->dialogs.messages().last().startsWith(QStringLiteral("Možete mijenjati podatke u tablici")));
    QVERIFY(editable(0, 0) && editable(0, 3) && editable(0, 19) && editable(0, 25));
    QCOMPARE(model->rowCount(), rows + 1); // the line for a new aid, empty
    QCOMPARE(model->index(rows, 5).data().toString(), QString());
    QVERIFY(!model->index(rows, 25).data(Qt::CheckStateRole).isValid());
    QVERIFY(!editable(0, 19) == false);
    // The other list stays locked.
    QVERIFY(!(m_window->codeListGrid(true)->model()->flags(m_window->codeListGrid(true)->model()->index(0, 19))
              & Qt::ItemIsEditable));

    // An edit is written when the row is left, a price with a decimal comma.
    auto price = [&](const char* code) {
        return db().scalar(QStringLiteral("SELECT Cijena FROM KelmorinISO WHERE Sifra = ?"), {QString::fromLatin1(code)});
    };
    grid->setCurrentIndex(model->index(1, 19));
    const QString code = codeAt(false, 1);
    QVERIFY(model->setData(model->index(1, 19), QStringLiteral("33,125"), Qt::EditRole));
    QCOMPARE(price(code.toLatin1()).toDouble(), 38.5);
    grid->setCurrentIndex(model->index(2, 19));
    QCOMPARE(price(code.toLatin1()).toDouble(), 33.125);
    QVERIFY(!model->setData(model->index(2, 19), QStringLiteral("12 eura"), Qt::EditRole));
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("Cijena")));

    // A new aid typed into the last line.
    QVERIFY(model->setData(model->index(rows, 3), QStringLiteral("770000000001"), Qt::EditRole));
    QCOMPARE(model->rowCount(), rows + 2);
    QCOMPARE(grid->currentIndex().row(), rows);
    QVERIFY(model->setData(model->index(rows, 5), QStringLiteral("Novo pomagalo"), Qt::EditRole));
    QVERIFY(model->setData(model->index(rows, 1), QStringLiteral("99"), Qt::EditRole));
    grid->setCurrentIndex(model->index(0, 3));
    QCOMPARE(db().scalar(QStringLiteral("SELECT Broj || ' ' || Naziv FROM KelmorinISO WHERE Sifra = '770000000001'")).toString(),
             QStringLiteral("99 Novo pomagalo"));

    // "Osvježi tablicu" locks the list again and reads it anew.
    QVERIFY(model->setData(model->index(0, 5), QStringLiteral("Promijenjeno"), Qt::EditRole));
    auto* refresh = m_window->findChild<QPushButton*>(QStringLiteral("osvjezi12"));
    QVERIFY(refresh);
    refresh->click();
    QVERIFY(!editable(0, 19));
    QCOMPARE(model->rowCount(), rows + 1);
    QCOMPARE(db().scalar(QStringLiteral("SELECT count(*) FROM KelmorinISO WHERE Naziv = 'Promijenjeno'")).toInt(), 1);
    QVERIFY(!grid->isColumnHidden(19));
    QVERIFY(grid->isColumnHidden(0));
}

void TestCodeLists::pricesAndRatesTypedAreTheLoadersOnly()
{
    open();
    for (const bool thirteen : {false, true}) {
        m_window->findChild<QPushButton*>(thirteen ? QStringLiteral("omogucipromjene13") : QStringLiteral("omogucipromjene12"))
            ->click();
        QTableView* grid = m_window->codeListGrid(thirteen);
        QAbstractItemModel* model = grid->model();
        const char* table = thirteen ? "OrtopedskaKelmorinISO" : "KelmorinISO";
        const QString code = codeAt(thirteen, 1);
        auto stored = [&](const char* column) {
            return db().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE Sifra = ?").arg(QLatin1String(column), QLatin1String(table)),
                               {code});
        };
        const QVariant priceBefore = stored("Cijena"), rateBefore = stored("PDV");
        grid->setCurrentIndex(model->index(1, 19));
        for (const char* typed : {"-45", "1e15", "inf", "nan", "-0", "1000000", "999999,99999", "0,00004", "12.345,5", "+3",
                                  "0x10", "12,5 €"}) {
            const int shown = m_shop->dialogs.messages().size();
            QVERIFY2(!model->setData(model->index(1, 19), QString::fromLatin1(typed), Qt::EditRole), typed);
            QCOMPARE(m_shop->dialogs.messages().size(), shown + 1);
            QVERIFY2(m_shop->dialogs.messages().last().contains(QStringLiteral("Cijena")), typed);
        }
        for (const char* typed : {"0,5", "100", "7", "-5", "inf", "5e0"}) {
            QVERIFY2(!model->setData(model->index(1, 25), QString::fromLatin1(typed), Qt::EditRole), typed);
            QVERIFY2(m_shop->dialogs.messages().last().contains(QStringLiteral("5, 13 ili 25")), typed);
        }
        grid->setCurrentIndex(model->index(2, 19));
        QCOMPARE(stored("Cijena"), priceBefore);
        QCOMPARE(stored("PDV"), rateBefore);

        // What a price list may hold is taken, to four decimals.
        grid->setCurrentIndex(model->index(1, 19));
        QVERIFY(model->setData(model->index(1, 19), QStringLiteral("999999,9999"), Qt::EditRole));
        QVERIFY(model->setData(model->index(1, 25), QStringLiteral("25"), Qt::EditRole));
        grid->setCurrentIndex(model->index(2, 19));
        QCOMPARE(stored("Cijena").toDouble(), 999999.9999);
        QCOMPARE(stored("PDV").toDouble(), 25.0);
        grid->setCurrentIndex(model->index(1, 19));
        QVERIFY(model->setData(model->index(1, 19), QStringLiteral("0,12345"), Qt::EditRole));
        grid->setCurrentIndex(model->index(2, 19));
        QCOMPARE(stored("Cijena").toDouble(), 0.1235);
    }
}

void TestCodeLists::makeSnapshotFile()
{
    Database file(QStringLiteral("040506.inm"), Database::Mode::Create);
    QVERIFY(file.exec(QStringLiteral("CREATE TABLE C010506 (Rbr INTEGER, Broj INTEGER, Skupina TEXT, Sifra TEXT)")));
    QVERIFY(file.exec(QStringLiteral("INSERT INTO C010506 VALUES (1, 101, 'G', '8800000000002'), (2, 100, 'G', '8800000000001')")));
}

void TestCodeLists::snapshotPricesFromTheCurrentRow()
{
    makeSnapshotFile();
    open();
    QStringList before = codes("OrtopedskaKelmorinISO");
    QAction* load = m_window->menuAction(QStringLiteral("uctcij1"));
    load->setVisible(true); // hidden in the menu
    load->setEnabled(true);
    QTableView* grid = m_window->codeListGrid(true);
    grid->setCurrentIndex(grid->model()->index(4, 3));
    load->trigger();
    QCOMPARE(codes("OrtopedskaKelmorinISO"),
             (before.mid(0, 4) + QStringList{QStringLiteral("8800000000001"), QStringLiteral("8800000000002")}));
    QCOMPARE(grid->model()->rowCount(), 6);
    QVERIFY(grid->isColumnHidden(0));

    grid->setCurrentIndex(grid->model()->index(0, 3));
    load->trigger();
    QCOMPARE(codes("OrtopedskaKelmorinISO"), (QStringList{QStringLiteral("8800000000001"), QStringLiteral("8800000000002")}));
    QVERIFY(m_shop->dialogs.shown().empty());
}

void TestCodeLists::snapshotFailuresLeaveTheListAsItWas()
{
    open();
    RecordSet& list = m_shop->session->newCodeList();
    const QStringList before = codes("OrtopedskaKelmorinISO");
    QVERIFY(!codelists::loadSnapshotPrices(m_shop->services(), list, codelists::kNewPrices, 2));
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("040506.inm")));

    makeSnapshotFile();
    QVERIFY(!codelists::loadSnapshotPrices(m_shop->services(), list, codelists::kOldPrices, 2));
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("C300406")));
    QCOMPARE(codes("OrtopedskaKelmorinISO"), before);

    // The second new row is refused by the database after the old rows were
    // deleted and the first one added: all of it is undone.
    QVERIFY(db().exec(QStringLiteral("CREATE TRIGGER odbij BEFORE INSERT ON OrtopedskaKelmorinISO "
                                     "WHEN NEW.Sifra = '8800000000002' BEGIN SELECT RAISE(ABORT, 'disk je pun'); END")));
    QVERIFY(!codelists::loadSnapshotPrices(m_shop->services(), list, codelists::kNewPrices, 2));
    const QString message = m_shop->dialogs.messages().last();
    QVERIFY2(message.contains(QStringLiteral("OrtopedskaKelmorinISO")) && message.contains(QStringLiteral("disk je pun")),
             qPrintable(message));
    QCOMPARE(codes("OrtopedskaKelmorinISO"), before);
    QCOMPARE(list.rowCount(), before.size());

    // A file of that name that is no database.
    QFile::remove(QStringLiteral("040506.inm"));
    m_shop->folder.touch(QStringLiteral("040506.inm"), QByteArray(4096, 'x'));
    QVERIFY(!codelists::loadSnapshotPrices(m_shop->services(), list, codelists::kNewPrices, 0));
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("040506.inm")));
    QCOMPARE(codes("OrtopedskaKelmorinISO"), before);
}

// The snapshot as the earlier program shipped it is an Access file: it
// goes through the converter (here one that stands in for it beside the
// program and gives the snapshot's table), and the original stays as it
// was. A file the converter refuses loads nothing and says why.
void TestCodeLists::snapshotInTheAccessFormatIsReadFromAConvertedCopy()
{
    open();
    RecordSet& list = m_shop->session->newCodeList();
    const QStringList before = codes("OrtopedskaKelmorinISO");
    makeSnapshotFile();
    QTemporaryDir elsewhere;
    const QString converted = elsewhere.filePath(QStringLiteral("snapshot.sqlite"));
    QVERIFY(QFile::rename(QStringLiteral("040506.inm"), converted));
    QVERIFY(QFile::copy(QStringLiteral(KELMORIN_ACCESS_DATA "/jet4-types.mdb"), QStringLiteral("040506.inm")));
    QFile original(QStringLiteral("040506.inm"));
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    const QStringList folderBefore = QDir::current().entryList(QDir::Files | QDir::Hidden, QDir::Name);

    const QString converter = accessdb::Conversion::defaultProgram();
    struct Remove {
        QString path;
        ~Remove() { QFile::remove(path); }
    } removeConverter{converter};
    const auto install = [&](const QByteArray& script) {
        QFile::remove(converter);
        QFile file(converter);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script + "\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    };

    install("echo 'datoteka je oštećena' >&2; exit 1");
    QVERIFY(!codelists::loadSnapshotPrices(m_shop->services(), list, codelists::kNewPrices, 0));
    const QString refused = m_shop->dialogs.messages().last();
    QVERIFY2(refused.startsWith(QStringLiteral("Datoteka 040506.inm se ne može pretvoriti: datoteka je oštećena.")),
             qPrintable(refused));
    QVERIFY2(refused.endsWith(QStringLiteral("Cijene nisu učitane.")), qPrintable(refused));
    QCOMPARE(codes("OrtopedskaKelmorinISO"), before);

    install("test \"$1\" -ef 040506.inm || exit 3\necho 'TABLES 1 2'; echo 'TABLE 2 C010506'\ncp '" + converted.toUtf8()
            + "' \"$2\" && echo DONE");
    QVERIFY(codelists::loadSnapshotPrices(m_shop->services(), list, codelists::kNewPrices, 0));
    QCOMPARE(codes("OrtopedskaKelmorinISO"), (QStringList{QStringLiteral("8800000000001"), QStringLiteral("8800000000002")}));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), bytes);
    // Nothing of the conversion is left in the folder (the backup taken
    // before the load goes to its own folder).
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden, QDir::Name), folderBefore);
}

void TestCodeLists::codeListDocument()
{
    open();
    QAction* document = m_window->menuAction(QStringLiteral("sifrar"));
    QVERIFY(document->isEnabled());
    document->trigger();
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("Sifrarnici.rtf")));
    QVERIFY(m_shop->platform.opened.isEmpty());
    m_shop->folder.touch(QStringLiteral("SIFRARNICI.RTF"), "{\\rtf1 }");
    document->trigger();
    QCOMPARE(m_shop->platform.opened.size(), 1);
    QVERIFY(m_shop->platform.opened.first().endsWith(QStringLiteral("/SIFRARNICI.RTF")));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestCodeLists)
#include "tst_code_lists.moc"
