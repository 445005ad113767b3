// The command-line tool as scripts use it: exit codes and output streams.
#include "data/database.h"
#include "data/schema.h"
#include "support/process_run.h"
#include "support/temp_folder.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

using Run = ProcessRun;

Run tool(const QStringList& args) { return runProcess(QStringLiteral(KELMORIN_TOOL), args); }

} // namespace

class TestTool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initRefusesAnExistingDatabase();
    void upgradePrintsMessagesOrFails();
    void printWritesAPdfOrSaysWhyNot();
    void submissionWritesTheFundsFile();
};

void TestTool::initRefusesAnExistingDatabase()
{
    TempFolder folder;
    Run r = tool({QStringLiteral("init"), QStringLiteral("--demo"), folder.file(QStringLiteral("shop"))});
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(folder.file(QStringLiteral("shop/Kelmorin.mdb"))));
    r = tool({QStringLiteral("init"), folder.file(QStringLiteral("shop"))});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Kelmorin.mdb")));
    QCOMPARE(tool({QStringLiteral("nothing")}).code, 2);
}

void TestTool::upgradePrintsMessagesOrFails()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    QCOMPARE(tool({QStringLiteral("init"), shop}).code, 0);
    QFile::rename(shop + QStringLiteral("/upg091226.inm"), shop + QStringLiteral("/upg160523.inm"));
    QVERIFY(Database(shop + QStringLiteral("/Kelmorin.mdb")).exec(QStringLiteral("DELETE FROM Nadogradnje WHERE Korak IN ('051023', '061226', '081226', '091226')")));

    Run r = tool({QStringLiteral("upgrade"), shop});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("upg051023.mdb")));
    QVERIFY(r.out.isEmpty());

    {   // The package: a fresh code list in a database file of its own.
        Database package(shop + QStringLiteral("/upg051023.mdb"), Database::Mode::Create);
        QVERIFY(package.exec(schema::createTableSql(QStringLiteral("OrtopedskaKelmorinISO"), schema::codeListTable(true))));
    }
    r = tool({QStringLiteral("upgrade"), shop});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("Usklađene su cijene optičkih kelmorin!\n"));
    r = tool({QStringLiteral("upgrade"), shop});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.isEmpty());
}

void TestTool::printWritesAPdfOrSaysWhyNot()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    QCOMPARE(tool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);
    const QString pdf = folder.file(QStringLiteral("racun.pdf"));
    auto print = [&](const char* number, const char* form) {
        return tool({QStringLiteral("print"), shop, QStringLiteral("--invoice"), QLatin1String(number),
                     QStringLiteral("--form"), QLatin1String(form), QStringLiteral("--pdf"), pdf});
    };
    Run r = print("3", "osnovno");
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("racun.pdf")));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    file.close();
    QFile::remove(pdf);

    // A check that stops: its message on standard error, exit 1, no file.
    {
        Database db(shop + QStringLiteral("/Kelmorin.mdb"));
        QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Broj = '' WHERE Rnbr = 3")));
    }
    r = print("3", "osnovno");
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Molim upišite broj potvrde!")));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(print("999", "potvrda").code, 1);
    QCOMPARE(print("3", "nepoznato").code, 2);
}

void TestTool::submissionWritesTheFundsFile()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    QCOMPARE(tool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);
    // The demo's invoices are of this year; the medium is made today, so
    // the fund's file ends with this year too.
    const int year = QDate::currentDate().year() % 100;
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    const QString fundFile = QStringLiteral("1234567891140005.O%1").arg(year, 2, 10, QLatin1Char('0'));
    {
        Database db(shop + QStringLiteral("/Kelmorin.mdb"));
        QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Izbor = '2', Datumnar = Datum WHERE God = ? AND Rnbr <= 3"), {year}));
        QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Brosig1 = '', Brosig2 = '12' WHERE God = ? AND Rnbr = 2"), {year}));
    }
    const QStringList args = {QStringLiteral("submission"), shop, QStringLiteral("--mark"), QStringLiteral("2"),
                              QStringLiteral("--medium"), QStringLiteral("5"), QStringLiteral("--date"),
                              today, QStringLiteral("--office"), QStringLiteral("114")};
    // A questionable insured number: listed on standard error; without --yes the run stops.
    Run r = tool(args);
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Neispravno upisan broj osigurane osobe 12 kod računa br. 2")));
    QVERIFY(QDir(shop).entryList({u'*' + fundFile.mid(fundFile.indexOf(u'.'))}, QDir::Files).isEmpty());

    r = tool(args + QStringList{QStringLiteral("--yes"), QStringLiteral("--cover"), folder.file(QStringLiteral("dopis.pdf"))});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), fundFile);
    QFile file(shop + u'/' + fundFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n60:"), 2);
    QVERIFY(QFile::exists(folder.file(QStringLiteral("dopis.pdf"))));
    Database db(shop + QStringLiteral("/Kelmorin.mdb"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT Brd FROM Opci")).toInt(), 1);

    // A confirmation number the fund cannot read stops the run before any file.
    QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Broj = 'x' WHERE God = ? AND Rnbr = 1"), {year}));
    r = tool(args + QStringList{QStringLiteral("--yes")});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Neispravno upisan broj potvrde kod računa s rednim br. 1 (x).")));
    QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Broj = '12345678901234' WHERE God = ? AND Rnbr = 1"), {year}));

    // Any count of one or more is a count of copies.
    r = tool(args + QStringList{QStringLiteral("--yes"), QStringLiteral("--copies"), QStringLiteral("1000")});
    QCOMPARE(r.code, 0);
    QCOMPARE(tool(args + QStringList{QStringLiteral("--yes"), QStringLiteral("--copies"), QStringLiteral("0")}).code, 2);

    // An aid no list holds ends the file before its invoice: the whole
    // records before it stay, and the run does not pass for a success.
    QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Pom1 = '2103099999999', Kol1 = 1 WHERE God = ? AND Rnbr = 3"), {year}));
    r = tool(args + QStringList{QStringLiteral("--yes")});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("kod računa pod rednim brojem 3")), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("prije računa br. 3")));
    const QString name = r.out.trimmed();
    QFile shortFile(shop + u'/' + name);
    QVERIFY2(shortFile.open(QIODevice::ReadOnly), qPrintable(name));
    const QByteArray content = shortFile.readAll();
    QCOMPARE(content.count("60:"), 2);
    QVERIFY(content.endsWith("\r\n"));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestTool)
#include "tst_tool.moc"
