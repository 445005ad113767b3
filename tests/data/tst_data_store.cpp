#include "common/clock.h"
#include "data/business_year.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/sql_values.h"
#include "data/statement.h"
#include "support/checked.h"
#include "support/temp_folder.h"
#include "support/tiny_filesystem.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

namespace {

void addInvoice(Database& db, int year, int number)
{
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (God, Rnbr) VALUES (?, ?)"), {year, number}));
}

QStringList selectStarColumns(Database& db, const QString& table)
{
    QSqlQuery q(db.handle());
    q.exec(QStringLiteral("SELECT * FROM ") + table);
    QStringList names;
    for (int i = 0; i < q.record().count(); ++i)
        names << q.record().fieldName(i);
    return names;
}

} // namespace

class TestDataStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_folder = std::make_unique<TempFolder>(); }
    void cleanup() { m_folder.reset(); }

    void columnPositionsOthersRelyOn();
    void everyColumnButTheKeyAcceptsNull();
    void textWidthsComeFromTheSchema();
    void connectionsAreDurableAndSeeEachOther();
    void missingFileIsNotCreated();
    void rbrGrowsAcrossDeletes();
    void twoDigitYear_data();
    void twoDigitYear();
    void nextNumberPerYear();
    void recordSetSavesWhenTheRowIsLeft();
    void recordSetAppendAndReload();
    void recordSetQuotesNamesAndBindsItsValue();
    void newFolderAtNewestRelease();
    void demoFolderHoldsTwoYears();
    void aFailedCommitTellsItsOwnReason();
    void statementReadsWhatTheQueryReads();

private:
    void createDatabase()
    {
        Database db(schema::kInvoiceFile, Database::Mode::Create);
        QVERIFY(schema::createInvoiceDatabase(db));
    }
    std::unique_ptr<TempFolder> m_folder;
};

void TestDataStore::columnPositionsOthersRelyOn()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    const QStringList rn = selectStarColumns(db, QStringLiteral("Rn"));
    QCOMPARE(rn.size(), 45);
    QCOMPARE(rn[0], QStringLiteral("Rbr"));
    QCOMPARE(rn[1], QStringLiteral("Datum"));
    QCOMPARE(rn[34], QStringLiteral("Izbor"));
    QCOMPARE(rn.mid(35, 6), (QStringList{"Pu", "Plac", "Opaska", "Proizv", "God", "Rnbr"}));
    QCOMPARE(rn.mid(41), (QStringList{"BrojMalopRn", "DatumIzdavanja", "RazlikaCijene", "EVrijeme"}));

    const QStringList& view = schema::invoiceViewColumns();
    QCOMPARE(view.size(), 45);
    QCOMPARE(view[0], QStringLiteral("Rnbr"));
    QCOMPARE(view[33], QStringLiteral("Iznos"));
    QCOMPARE(view[40], QStringLiteral("Rbr"));

    const QStringList opci = selectStarColumns(db, QStringLiteral("Opci"));
    QCOMPARE(opci.mid(13, 8), (QStringList{"Brd", "Predbroj", "Izabroj", "RacunR", "Oznosn", "Ozndop", "God", "OIB"}));

    for (const QString& table : {QStringLiteral("KelmorinISO"), QStringLiteral("OrtopedskaKelmorinISO")}) {
        const QStringList c = selectStarColumns(db, table);
        QVERIFY(c.size() >= 33);
        QCOMPARE(c[3], QStringLiteral("Sifra"));
        QCOMPARE(c[5], QStringLiteral("Naziv"));
        QCOMPARE(c[19], QStringLiteral("Cijena"));
        QCOMPARE(c[25], QStringLiteral("PDV"));
        for (const char* named : {"Broj", "JedMjere", "OblogaSir", "OblogaDuz"})
            QVERIFY(c.contains(QLatin1String(named)));
    }
    const QStringList ortho = selectStarColumns(db, QStringLiteral("OrtopedskaKelmorinISO"));
    QVERIFY(ortho.contains(QStringLiteral("Stara")) && ortho.contains(QStringLiteral("ID")));

    for (const QString& layout : schema::kLayoutTables) {
        const QStringList c = selectStarColumns(db, layout);
        QCOMPARE(c.size(), 9);
        QCOMPARE(c.mid(0, 8), (QStringList{"A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7"}));
    }
}

void TestDataStore::everyColumnButTheKeyAcceptsNull()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    for (const QString& table : {QStringLiteral("Rn"), QStringLiteral("Opci"), QStringLiteral("KelmorinISO"),
                                QStringLiteral("OrtopedskaKelmorinISO"), QStringLiteral("Osnovno")})
        QVERIFY2(db.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)), qPrintable(db.error()));
}

void TestDataStore::textWidthsComeFromTheSchema()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    QCOMPARE(schema::textWidth(db, QStringLiteral("Rn"), QStringLiteral("Pu")), 20);
    QCOMPARE(schema::textWidth(db, QStringLiteral("Rn"), QStringLiteral("Opaska")), 50);
    QCOMPARE(schema::textWidth(db, QStringLiteral("Opci"), QStringLiteral("Ziro")), 25);
    QCOMPARE(schema::textWidth(db, QStringLiteral("Rn"), QStringLiteral("Iznos")), 0);
}

void TestDataStore::connectionsAreDurableAndSeeEachOther()
{
    createDatabase();
    Database first(schema::kInvoiceFile);
    Database second(schema::kInvoiceFile);
    QCOMPARE(first.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    QCOMPARE(first.scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2); // FULL

    RecordSet live(first, invoices::yearQuery(24));
    QVERIFY(live.reload());
    CHECKED(addInvoice(second, 24, 1));
    QCOMPARE(live.rowCount(), 0);
    QVERIFY(live.reload());
    QCOMPARE(live.rowCount(), 1);
    // The live set holds no read lock: the other connection can still write.
    QVERIFY(second.exec(QStringLiteral("UPDATE Rn SET Ime = 'Ana'")));
    QVERIFY(second.exec(QStringLiteral("CREATE TABLE Probe (x)")) && second.exec(QStringLiteral("DROP TABLE Probe")));
}

void TestDataStore::missingFileIsNotCreated()
{
    Database db(schema::kInvoiceFile);
    QVERIFY(!db.isOpen());
    QVERIFY(db.error().contains(schema::kInvoiceFile));
    QVERIFY(!QFile::exists(schema::kInvoiceFile));
}

void TestDataStore::rbrGrowsAcrossDeletes()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    CHECKED(addInvoice(db, 24, 1));
    CHECKED(addInvoice(db, 24, 2));
    const int last = db.scalar(QStringLiteral("SELECT max(Rbr) FROM Rn")).toInt();
    QVERIFY(db.exec(QStringLiteral("DELETE FROM Rn WHERE Rbr = ?"), {last}));
    CHECKED(addInvoice(db, 24, 2));
    QVERIFY(db.scalar(QStringLiteral("SELECT max(Rbr) FROM Rn")).toInt() > last);
}

void TestDataStore::twoDigitYear_data()
{
    QTest::addColumn<QVariant>("year");
    QTest::addColumn<int>("expected");
    QTest::newRow("2024") << QVariant(2024) << 24;
    QTest::newRow("2007") << QVariant(2007) << 7;
    QTest::newRow("2010") << QVariant(QStringLiteral("2010")) << 10;
    QTest::newRow("2000") << QVariant(2000) << 0;
    QTest::newRow("null") << QVariant() << 0;
}

void TestDataStore::twoDigitYear()
{
    QFETCH(QVariant, year);
    QFETCH(int, expected);
    QCOMPARE(invoices::twoDigitYear(year), expected);
}

void TestDataStore::nextNumberPerYear()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    QCOMPARE(invoices::nextNumber(db, 24), 1);
    for (int n : {1, 2, 5})
        CHECKED(addInvoice(db, 24, n));
    CHECKED(addInvoice(db, 25, 40));
    QCOMPARE(invoices::nextNumber(db, 24), 6);
    QCOMPARE(invoices::nextNumber(db, 25), 41);

    // Rnbr is 16 bits: a full year takes no more invoices.
    CHECKED(addInvoice(db, 26, invoices::kMaxNumber - 1));
    QCOMPARE(invoices::nextNumber(db, 26), invoices::kMaxNumber);
    CHECKED(addInvoice(db, 26, invoices::kMaxNumber));
    QString error;
    QCOMPARE(invoices::nextNumber(db, 26, &error), std::nullopt);
    QVERIFY(error.isEmpty());

    // A file that cannot be read is no empty year: no second invoice 1.
    QVERIFY(db.exec(QStringLiteral("ALTER TABLE Rn RENAME TO RnSkriven")));
    QCOMPARE(invoices::nextNumber(db, 24, &error), std::nullopt);
    QVERIFY(!error.isEmpty());
    QVERIFY(db.exec(QStringLiteral("ALTER TABLE RnSkriven RENAME TO Rn")));

    // Each year's set holds only its own invoices, in number order.
    RecordSet year24(db, invoices::yearQuery(24));
    QVERIFY(year24.reload());
    QCOMPARE(year24.rowCount(), 3);
    QCOMPARE(year24.value(2, u"Rnbr").toInt(), 5);
}

void TestDataStore::recordSetSavesWhenTheRowIsLeft()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    CHECKED(addInvoice(db, 24, 1));
    CHECKED(addInvoice(db, 24, 2));
    RecordSet set(db, invoices::yearQuery(24));
    QVERIFY(set.reload());
    QVERIFY(set.setCurrent(0));
    QVERIFY(set.setField(u"Prezime", QStringLiteral("Šimić")));
    QVERIFY(set.setField(u"Datum", QDate(2024, 2, 29)));
    QVERIFY(set.setField(u"Osl", true));
    QVERIFY(set.isDirty(0));
    QVERIFY(db.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE Rnbr = 1")).isNull());
    QVERIFY(set.setCurrent(1));
    QVERIFY(!set.isDirty(0));
    // Stored forms other tools can read.
    QCOMPARE(db.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE Rnbr = 1")).toString(), QStringLiteral("Šimić"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT Datum FROM Rn WHERE Rnbr = 1")).toString(), QStringLiteral("2024-02-29"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT typeof(Osl) || Osl FROM Rn WHERE Rnbr = 1")).toString(), QStringLiteral("integer1"));
}

void TestDataStore::recordSetAppendAndReload()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    RecordSet set(db, invoices::yearQuery(24));
    QVERIFY(set.reload());
    QSignalSpy appended(&set, &RecordSet::rowAppended);
    const int row = set.append({{QStringLiteral("God"), 24}, {QStringLiteral("Rnbr"), 1}});
    QCOMPARE(row, 0);
    QCOMPARE(appended.count(), 1);
    QVERIFY(set.value(row, u"Rbr").toInt() > 0); // the key the database gave
    set.append({{QStringLiteral("God"), 24}, {QStringLiteral("Rnbr"), 2}});
    QVERIFY(set.setCurrent(0));
    QVERIFY(set.reload());
    QCOMPARE(set.current(), 0); // the current record survives a reload
    QCOMPARE(set.findFirst(u"Rnbr", 2), 1);
    QCOMPARE(set.findFirst(u"Rnbr", 9), -1);
}

void TestDataStore::newFolderAtNewestRelease()
{
    FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(9, 8, 7)));
    QString error;
    // Patients' data are for the user alone, whatever the rights others get
    // by default; nothing is left under a temporary name.
    const mode_t previous = ::umask(022);
    QVERIFY2(newfolder::create(QStringLiteral("shop"), newfolder::Content::Empty, clock, &error), qPrintable(error));
    ::umask(previous);
    QDir shop(QStringLiteral("shop"));
    QCOMPARE(shop.entryList(QDir::Files | QDir::Hidden),
             (QStringList{"Kelmorin.mdb", "Pac.mdb", "Recept.txt", "upg091226.inm", "Uputstva.htm"}));
    QCOMPARE(QFileInfo(QStringLiteral("shop")).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    for (const char* name : {"Kelmorin.mdb", "Pac.mdb", "Recept.txt", "upg091226.inm"})
        QVERIFY2((QFileInfo(shop.filePath(QLatin1String(name))).permissions() & 0x0777) == (QFile::ReadUser | QFile::WriteUser), name);
    QFile marker(shop.filePath(QStringLiteral("upg091226.inm")));
    QVERIFY(marker.open(QIODevice::ReadOnly));
    QCOMPARE(marker.readAll(), QByteArray("040326090807\r\n"));
    QFile recept(shop.filePath(QStringLiteral("Recept.txt")));
    QVERIFY(recept.open(QIODevice::ReadOnly) && recept.readAll().contains("\r\n#99 "));

    Database db(shop.filePath(schema::kInvoiceFile));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Opci")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT God || Oznosn || Ozndop || Crte || Podrured FROM Opci")).toString(),
             QStringLiteral("2026121Zagreb"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn")).toInt(), 0);
    QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM OrtopedskaKelmorinISO WHERE Sifra LIKE '2103031412%' AND PDV = 25")).toInt() > 0);
    QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM OrtopedskaKelmorinISO WHERE Sifra LIKE '2103031413%' AND PDV = 25")).toInt() > 0);
    QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM KelmorinISO WHERE JedMjere = 'cm2'")).toInt() > 0);
    QVERIFY(db.scalar(QStringLiteral("SELECT min(length(Sifra)) = 12 AND max(length(Sifra)) = 12 FROM KelmorinISO")).toBool());

    // A folder that already has a database is left alone.
    QVERIFY(!newfolder::create(QStringLiteral("shop"), newfolder::Content::Demo, clock, &error));
    QVERIFY(error.contains(QStringLiteral("Kelmorin.mdb")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn")).toInt(), 0);
}

void TestDataStore::demoFolderHoldsTwoYears()
{
    FixedClock clock(QDate(2026, 12, 6));
    QString error;
    QVERIFY2(newfolder::create(QStringLiteral("demo"), newfolder::Content::Demo, clock, &error), qPrintable(error));
    Database db(QStringLiteral("demo/") + schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE God = 25")).toInt(), 25);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE God = 26")).toInt(), 25);
    QCOMPARE(db.scalar(QStringLiteral("SELECT max(Datum) FROM Rn")).toString(), QStringLiteral("2026-12-06"));
    QVERIFY(!db.scalar(QStringLiteral("SELECT Naziv FROM Opci")).toString().isEmpty());
    Database patients(QStringLiteral("demo/") + schema::kPatientFile);
    QVERIFY(patients.scalar(QStringLiteral("SELECT count(*) FROM Popis")).toInt() >= 3);
    QVERIFY(patients.scalar(QStringLiteral("SELECT count(*) FROM Nalazi")).toInt() >= 3);
}

void TestDataStore::aFailedCommitTellsItsOwnReason()
{
    TinyFilesystem disk(256);
    if (!disk.isMounted())
        QSKIP("a small tmpfs needs root");
    Database db(disk.path() + QStringLiteral("/Kelmorin.mdb"), Database::Mode::Create);
    QVERIFY(db.exec(QStringLiteral("CREATE TABLE T (x BLOB)")));
    // The rows stay in memory until the commit, which finds the disk full.
    QVERIFY(db.exec(QStringLiteral("PRAGMA cache_size = -16000")));
    Transaction tx(db);
    for (int i = 0; i < 40; ++i)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO T VALUES (zeroblob(16000))")));
    QVERIFY(!tx.commit());
    QVERIFY2(db.error().contains(QStringLiteral("full")), qPrintable(db.error()));
    QVERIFY2(!db.error().contains(QStringLiteral("no transaction")), qPrintable(db.error()));
}


// The fund's file reads its invoices straight from SQLite; every kind of
// stored value must read as it does through Qt's driver.
void TestDataStore::statementReadsWhatTheQueryReads()
{
    Database db(QStringLiteral("T.mdb"), Database::Mode::Create);
    QVERIFY(db.exec(QStringLiteral("CREATE TABLE T (n INTEGER PRIMARY KEY, v)")));
    const QVariantList stored = {QVariant(), QStringLiteral(""), QStringLiteral("Čćžšđ €"), 42, -7, 0, 2.5, 1e20,
                                 QStringLiteral("2024-03-05"), QStringLiteral("2024-13-40"), QStringLiteral("05.03.2024"),
                                 QStringLiteral(" 12"), QStringLiteral("1"), QByteArray("ab\0c", 4), qint64(1) << 40};
    for (int i = 0; i < stored.size(); ++i)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO T (n, v) VALUES (?, ?)"), {i, stored[i]}));

    QSqlQuery q(db.handle());
    QVERIFY(q.exec(QStringLiteral("SELECT v FROM T WHERE n >= 0 ORDER BY n")));
    Statement s(db, QStringLiteral("SELECT v FROM T WHERE n >= ? ORDER BY n"));
    QVERIFY(s.isValid());
    QVERIFY(s.bind(1, qint64(0)));
    int rows = 0;
    while (q.next()) {
        QVERIFY(s.next());
        const QVariant v = q.value(0);
        const QByteArray what = "row " + QByteArray::number(rows);
        QVERIFY2(s.value(0) == v && s.isNull(0) == v.isNull(), what);
        QVERIFY2(s.text(0) == sqlvalue::toText(v) && s.text(0).isNull() == sqlvalue::toText(v).isNull(), what);
        QVERIFY2(s.date(0) == sqlvalue::toDate(v), what);
        QVERIFY2(s.flag(0) == sqlvalue::toBool(v), what);
        QVERIFY2(s.whole(0) == v.toInt(), what);
        QVERIFY2(s.real(0) == v.toDouble(), what);
        ++rows;
    }
    QCOMPARE(rows, stored.size());
    QVERIFY(!s.next());
    QVERIFY(s.error().isEmpty());

    // A record set reads its rows through the engine too: the same values,
    // NULL as NULL, with the names of the columns.
    RecordSet set(db, {QStringLiteral("T"), {QStringLiteral("v")}, {}, {}, {{QStringLiteral("n")}}});
    QVERIFY2(set.reload(), qPrintable(set.error()));
    QCOMPARE(set.fieldNames(), QStringList{QStringLiteral("v")});
    QCOMPARE(set.rowCount(), stored.size());
    QVERIFY(q.exec(QStringLiteral("SELECT v FROM T ORDER BY n")));
    for (int row = 0; q.next(); ++row) {
        QVERIFY2(set.value(row, 0) == q.value(0) && set.value(row, 0).isNull() == q.value(0).isNull(),
                 qPrintable(QStringLiteral("row %1").arg(row)));
        QCOMPARE(set.key(row), qint64(row));
    }
    // Each stored value bound as the program holds it finds its own row
    // (a number is no text, a text no number); NULL equals nothing.
    for (int i = 0; i < stored.size(); ++i) {
        Statement find(db, QStringLiteral("SELECT group_concat(n) FROM T WHERE v = ?"));
        QVERIFY(find.bind(1, stored[i]));
        QVERIFY(find.next());
        QCOMPARE(find.text(0), i == 0 ? QString() : QString::number(i));
    }

    // A text is bound as a value, never as SQL.
    Statement t(db, QStringLiteral("SELECT count(*) FROM T WHERE v = ?"));
    QVERIFY(t.bind(1, QStringLiteral("Čćžšđ €")));
    QVERIFY(t.next());
    QCOMPARE(t.whole(0), 1);

    Statement bad(db, QStringLiteral("SELECT nothing FROM T"));
    QVERIFY(!bad.isValid());
    QVERIFY(bad.error().contains(QStringLiteral("nothing")));
    QVERIFY(!bad.bind(1, qint64(1)));
    QVERIFY(!bad.next());
}

// A table of another file may carry any name: the set's table, its field
// and its order are quoted, and the value is bound, never written into the
// statement.
void TestDataStore::recordSetQuotesNamesAndBindsItsValue()
{
    createDatabase();
    Database db(schema::kInvoiceFile);
    QVERIFY(db.exec(QStringLiteral("CREATE TABLE \"Uvoz \"\"2024\"\"\" (Grad TEXT, \"Ime \"\"x\"\"\" TEXT, Broj INTEGER)")));
    const QString odd = QStringLiteral("a' OR '1'='1");
    const std::tuple<const char*, QString, int> rows[] = {
        {"Čakovec", odd, 2}, {"Zagreb", odd, 1}, {"Cres", odd, 3}, {"Split", QStringLiteral("b"), 4}, {"Cres", odd, 0}};
    for (const auto& [town, name, number] : rows)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO \"Uvoz \"\"2024\"\"\" VALUES (?, ?, ?)"),
                        {QString::fromUtf8(town), name, number}));
    RecordSet set(db, {QStringLiteral("Uvoz \"2024\""), {}, QStringLiteral("Ime \"x\""), odd,
                       {{QStringLiteral("Grad"), true}, {QStringLiteral("Broj")}}});
    QVERIFY2(set.reload(), qPrintable(set.error()));
    QCOMPARE(set.rowCount(), 4);
    // C before Č before Z, as in the Croatian alphabet; the same town by number.
    QCOMPARE(set.value(0, u"Broj").toInt(), 0);
    QCOMPARE(set.value(1, u"Broj").toInt(), 3);
    QCOMPARE(set.value(2, u"Grad").toString(), QStringLiteral("Čakovec"));
    QCOMPARE(set.value(3, u"Grad").toString(), QStringLiteral("Zagreb"));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestDataStore)
#include "tst_data_store.moc"
