// The tool as a failing machine and a careless or hostile user meet it: a
// full disk, outputs named like the program's data, saves that cannot be
// made, a process killed half-way, a second program on the same folder,
// links, and the rights of the files made.
#include "common/folder_lock.h"
#include "data/database.h"
#include "data/upgrade_chain.h"
#include "support/temp_folder.h"
#include "support/tiny_filesystem.h"
#include "../data/upgrade_fixtures.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>

namespace {

struct Run {
    int code;
    QString out;
    QString err;
};

Run tool(const QStringList& args, const QStringList& env = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : env)
        e.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    p.setProcessEnvironment(e);
    // KELMORIN_TOOL_UNDER_TEST runs the same checks against another build.
    p.start(qEnvironmentVariable("KELMORIN_TOOL_UNDER_TEST", QStringLiteral(KELMORIN_TOOL)), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray hashOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

int modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

const int kYear = QDate::currentDate().year() % 100;

// A demo shop whose invoices 1 to 3 carry mark 2 and can be sent.
void makeShop(const QString& shop)
{
    QCOMPARE(tool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);
    Database db(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Izbor = '2', Datumnar = Datum WHERE God = ? AND Rnbr <= 3"), {kYear}));
}

QStringList submission(const QString& shop)
{
    return {QStringLiteral("submission"), shop, QStringLiteral("--mark"), QStringLiteral("2"), QStringLiteral("--medium"),
            QStringLiteral("5"), QStringLiteral("--date"), QStringLiteral("04.12.2026"), QStringLiteral("--office"),
            QStringLiteral("114"), QStringLiteral("--yes")};
}

QStringList print(const QString& shop, const QString& pdf)
{
    return {QStringLiteral("print"), shop, QStringLiteral("--invoice"), QStringLiteral("3"), QStringLiteral("--form"),
            QStringLiteral("osnovno"), QStringLiteral("--pdf"), pdf};
}

int mediumCounter(const QString& shop)
{
    Database db(shop + QStringLiteral("/Kelmorin.mdb"), Database::Mode::ReadOnly);
    return db.scalar(QStringLiteral("SELECT Brd FROM Opci")).toInt();
}

QStringList fundFiles(const QString& shop) { return QDir(shop).entryList({QStringLiteral("*.O26")}, QDir::Files | QDir::Hidden); }

} // namespace

class TestToolFailures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFullDiskIsAFailureAndKeepsTheOldFile();
    void outputsNeverTakeADataFilesPlace();
    void unsavedChangesAreFailures();
    void everyStepOnceWhereverTheUpgradeIsKilled();
    void aSecondProgramChangesNothing();
    void initIsWholeOrNothingAndKnowsItsRelease();
    void filesArePrivate();
};

void TestToolFailures::aFullDiskIsAFailureAndKeepsTheOldFile()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QString name = shop + QStringLiteral("/1234567891140005.O26");
    {
        QFile old(name);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("60:staro:\r\n");
    }
    Run r = tool(submission(shop), {QStringLiteral("KELMORIN_TEST_WRITE_LIMIT=100")});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("1234567891140005.O26")) && r.err.contains(QString::fromLocal8Bit(strerror(ENOSPC))),
             qPrintable(r.err));
    QCOMPARE(mediumCounter(shop), 0);
    // The older file was put aside as the fund's naming says; no new file
    // took its name half-written.
    QVERIFY(!QFile::exists(name));
    const QStringList files = fundFiles(shop);
    QCOMPARE(files.size(), 1);
    QFile aside(shop + u'/' + files.first());
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), QByteArray("60:staro:\r\n"));

    // A real small disk that fills up (root only, as in CI).
    TinyFilesystem disk(4096);
    if (!disk.isMounted())
        QSKIP("a small tmpfs needs root");
    const QString small = disk.path() + QStringLiteral("/shop");
    makeShop(small);
    disk.fill();
    r = tool(submission(small));
    QCOMPARE(r.code, 1);
    QVERIFY(fundFiles(small).isEmpty());
    QVERIFY(QDir(small).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(mediumCounter(small), 0);
    r = tool(print(small, disk.path() + QStringLiteral("/racun.pdf")));
    QCOMPARE(r.code, 1);
    QVERIFY(!QFile::exists(disk.path() + QStringLiteral("/racun.pdf")));
}

void TestToolFailures::outputsNeverTakeADataFilesPlace()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QString invoices = shop + QStringLiteral("/Kelmorin.mdb"), patients = shop + QStringLiteral("/Pac.mdb");
    const QByteArray invoicesBefore = hashOf(invoices), patientsBefore = hashOf(patients);

    Run r = tool(print(shop, invoices));
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Kelmorin.mdb")), qPrintable(r.err));
    r = tool(submission(shop) + QStringList{QStringLiteral("--cover"), patients});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Pac.mdb")));
    QCOMPARE(hashOf(patients), patientsBefore);
    QVERIFY(fundFiles(shop).isEmpty());

    // A PDF that cannot be written is a failure, and the run changes nothing.
    QCOMPARE(tool(print(shop, QStringLiteral("/nonexistent/racun.pdf"))).code, 1);
    r = tool(submission(shop) + QStringList{QStringLiteral("--cover"), QStringLiteral("/nonexistent/c.pdf")});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("c.pdf")));
    QVERIFY(fundFiles(shop).isEmpty());
    QCOMPARE(mediumCounter(shop), 0);
    Database db(invoices, Database::Mode::ReadOnly);
    QVERIFY(db.isOpen());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn")).toInt() > 0, true);
    Q_UNUSED(invoicesBefore);
}

void TestToolFailures::unsavedChangesAreFailures()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    Database writer(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(writer.exec(QStringLiteral("UPDATE Rn SET Iznos = 0 WHERE God = ? AND Rnbr = 3"), {kYear}));
    // Another program keeps the database busy with a write of its own: the
    // print's recomputed amount and the run's medium counter cannot be saved.
    QVERIFY(writer.exec(QStringLiteral("BEGIN IMMEDIATE")));
    Run r = tool(print(shop, folder.file(QStringLiteral("racun.pdf"))));
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("locked")), qPrintable(r.err));
    r = tool(submission(shop));
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("broj diskete nije moguće spremiti")) && r.err.contains(QStringLiteral("locked")),
             qPrintable(r.err));
    QVERIFY(writer.exec(QStringLiteral("ROLLBACK")));
    QCOMPARE(mediumCounter(shop), 0);
}

void TestToolFailures::everyStepOnceWhereverTheUpgradeIsKilled()
{
    // A folder of an older release: markers up to 061219, no record of the
    // steps in its database, every package at hand.
    TempFolder folder;
    const QString base = folder.file(QStringLiteral("base"));
    QCOMPARE(tool({QStringLiteral("init"), base}).code, 0);
    {
        Database db(base + QStringLiteral("/Kelmorin.mdb"));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE IF EXISTS Nadogradnje")));
    }
    QVERIFY(QFile::rename(base + QStringLiteral("/upg061226.inm"), base + QStringLiteral("/upg061219.inm")));
    QDir::setCurrent(base);
    fixtures::makeEveryPackage();
    QDir::setCurrent(folder.path());
    int layoutRows = 0;
    {
        Database db(base + QStringLiteral("/Kelmorin.mdb"));
        layoutRows = db.scalar(QStringLiteral("SELECT count(*) FROM Osnovno")).toInt();
    }
    const QStringList later = upgrade::allStepIds().mid(upgrade::allStepIds().indexOf(QStringLiteral("071219")));

    for (const char* point : {"071219:work", "071219:commit", "071219:marker", "120922:commit", "060123:commit",
                              "051023:commit"}) {
        const QString shop = folder.file(QStringLiteral("shop-") + QString::fromLatin1(point).replace(u':', u'-'));
        QDir().mkpath(shop);
        for (const QString& f : QDir(base).entryList(QDir::Files))
            QVERIFY(QFile::copy(base + u'/' + f, shop + u'/' + f));

        Run r = tool({QStringLiteral("upgrade"), shop}, {QStringLiteral("KELMORIN_TEST_KILL_AT=") + QLatin1String(point)});
        QVERIFY2(r.code == 137, point);
        r = tool({QStringLiteral("upgrade"), shop});
        QVERIFY2(r.code == 0, qPrintable(QLatin1String(point) + u' ' + r.err));
        QVERIFY(tool({QStringLiteral("upgrade"), shop}).out.isEmpty());

        Database db(shop + QStringLiteral("/Kelmorin.mdb"), Database::Mode::ReadOnly);
        // 071219 added its three layout rows once; 120922 then kept that
        // table as its backup.
        QVERIFY2(db.scalar(QStringLiteral("SELECT count(*) FROM Osnovno120922")).toInt() == layoutRows + 3, point);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Nadogradnje")).toInt(), int(upgrade::steps().size()));
        for (const QString& id : later)
            QVERIFY2(QFile::exists(shop + u'/' + upgrade::markerName(id)), qPrintable(id));
    }
}

void TestToolFailures::aSecondProgramChangesNothing()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QString empty = folder.file(QStringLiteral("nova"));
    QDir().mkpath(empty);
    workdir::FolderLock first(shop), other(empty);
    QVERIFY(first.isHeld() && other.isHeld());
    const QByteArray before = hashOf(shop + QStringLiteral("/Kelmorin.mdb"));
    for (const QStringList& args : {submission(shop), print(shop, folder.file(QStringLiteral("r.pdf"))),
                                    QStringList{QStringLiteral("upgrade"), shop}, QStringList{QStringLiteral("init"), empty}}) {
        const Run r = tool(args);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Program već radi s podacima u ovoj mapi.")), qPrintable(r.err));
    }
    QCOMPARE(hashOf(shop + QStringLiteral("/Kelmorin.mdb")), before);
    QVERIFY(fundFiles(shop).isEmpty());
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("r.pdf"))));
    QCOMPARE(QDir(empty).entryList(QDir::Files | QDir::Hidden), QStringList{workdir::kLockFile});
}

void TestToolFailures::initIsWholeOrNothingAndKnowsItsRelease()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    // A disk that takes nothing more once the databases are built.
    Run r = tool({QStringLiteral("init"), QStringLiteral("--demo"), shop}, {QStringLiteral("KELMORIN_TEST_WRITE_LIMIT=0")});
    QCOMPARE(r.code, 1);
    QCOMPARE(QDir(shop).entryList(QDir::Files | QDir::Hidden), QStringList{workdir::kLockFile});
    QCOMPARE(tool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);

    // The markers lost: the database still knows its release.
    for (const QString& marker : QDir(shop).entryList({QStringLiteral("upg*")}))
        QVERIFY(QFile::remove(shop + u'/' + marker));
    r = tool({QStringLiteral("upgrade"), shop});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(QDir(shop).entryList({QStringLiteral("upg*")}), QStringList{QStringLiteral("upg061226.inm")});
    Database db(shop + QStringLiteral("/Kelmorin.mdb"), Database::Mode::ReadOnly);
    QCOMPARE(db.scalar(QStringLiteral("SELECT God FROM Opci")).toInt(), QDate::currentDate().year());

    // A dangling link in the database's place is not followed.
    const QString linked = folder.file(QStringLiteral("linked"));
    QDir().mkpath(linked);
    QVERIFY(QFile::link(folder.file(QStringLiteral("drugdje.mdb")), linked + QStringLiteral("/Kelmorin.mdb")));
    r = tool({QStringLiteral("init"), linked});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("drugdje.mdb"))));
}

void TestToolFailures::filesArePrivate()
{
    TempFolder folder;
    const mode_t previous = ::umask(022);
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    QCOMPARE(modeOf(shop), 0700);
    for (const char* name : {"Kelmorin.mdb", "Pac.mdb", "Recept.txt", "upg061226.inm"})
        QVERIFY2(modeOf(shop + u'/' + QLatin1String(name)) == 0600, name);
    QCOMPARE(tool(submission(shop) + QStringList{QStringLiteral("--cover"), folder.file(QStringLiteral("dopis.pdf"))}).code, 0);
    QCOMPARE(modeOf(shop + QStringLiteral("/1234567891140005.O26")), 0600);
    QCOMPARE(modeOf(folder.file(QStringLiteral("dopis.pdf"))), 0600);

    // Rights widened by hand are narrowed at the next start.
    ::chmod(QFile::encodeName(shop + QStringLiteral("/Pac.mdb")).constData(), 0644);
    QCOMPARE(tool({QStringLiteral("upgrade"), shop}).code, 0);
    QCOMPARE(modeOf(shop + QStringLiteral("/Pac.mdb")), 0600);
    ::umask(previous);
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestToolFailures)
#include "tst_tool_failures.moc"
