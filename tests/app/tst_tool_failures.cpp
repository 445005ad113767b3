// The tool as a failing machine and a careless or hostile user meet it: a
// full disk, outputs named like the program's data, saves that cannot be
// made, a process killed half-way, a second program on the same folder,
// links, and the rights of the files made.
#include "common/folder_lock.h"
#include "data/database.h"
#include "data/upgrade_chain.h"
#include "support/checked.h"
#include "support/process_run.h"
#include "support/temp_folder.h"
#include "support/tiny_filesystem.h"
#include "../data/upgrade_fixtures.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Run = ProcessRun;

// faults: the options of the test-only tool_with_faults (a write limit, a
// stop at an instant of the upgrade); without them the shipped tool runs.
Run runTool(const QStringList& args, const QStringList& faults = {})
{
    if (!faults.isEmpty())
        return runProcess(QStringLiteral(TOOL_WITH_FAULTS), faults + args);
    // KELMORIN_TOOL_UNDER_TEST runs the same checks against another build.
    return runProcess(qEnvironmentVariable("KELMORIN_TOOL_UNDER_TEST", QStringLiteral(KELMORIN_TOOL)), args);
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

// A file of the given bytes.
void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A process changes the database, spills the change into the file and dies
// before it commits, as a kill -9 during a price load does: a hot journal.
void dieHalfWayThroughAWrite(const QString& path)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        {
            Database db(path);
            db.exec(QStringLiteral("PRAGMA cache_size = 2"));
            db.exec(QStringLiteral("BEGIN"));
            db.exec(QStringLiteral("UPDATE Opci SET God = 1999"));
            db.exec(QStringLiteral("DELETE FROM Nadogradnje"));
            db.exec(QStringLiteral("CREATE TABLE Balast AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r "
                                   "WHERE n < 20000) SELECT n, hex(randomblob(200)) AS b FROM r"));
            ::kill(::getpid(), SIGKILL);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Lets the fund's leaf pages of Rn be read wrongly without an error: the
// root's first child pointer is made the same as its second, so that a scan
// reads one page twice and skips another ("Rowid … out of order").
bool damageInvoiceTable(const QString& path)
{
    int pageSize = 0, root = 0;
    {
        Database db(path, Database::Mode::ReadOnly);
        pageSize = db.scalar(QStringLiteral("PRAGMA page_size")).toInt();
        root = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'Rn'")).toInt();
    }
    QFile file(path);
    if (pageSize <= 0 || root <= 1 || !file.open(QIODevice::ReadWrite))
        return false;
    const qint64 at = qint64(root - 1) * pageSize;
    file.seek(at);
    const QByteArray page = file.read(pageSize);
    auto u16 = [&](int i) { return (uchar(page[i]) << 8) | uchar(page[i + 1]); };
    if (page.size() != pageSize || uchar(page[0]) != 0x05 || u16(3) < 2)
        return false;
    const int first = u16(12), second = u16(14);
    file.seek(at + first);
    return file.write(page.mid(second, 4)) == 4;
}

// The demo's invoices are of this year; the medium is made today, so the
// fund's file ends with this year too.
const int kYear = QDate::currentDate().year() % 100;
const QString kToday = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
const QString kFundFile = QStringLiteral("1234567891140005.O%1").arg(kYear, 2, 10, QLatin1Char('0'));

// A demo shop whose invoices 1 to 3 carry mark 2 and can be sent.
void makeShop(const QString& shop)
{
    QCOMPARE(runTool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);
    Database db(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(db.exec(QStringLiteral("UPDATE Rn SET Izbor = '2', Datumnar = Datum WHERE God = ? AND Rnbr <= 3"), {kYear}));
}

QStringList submission(const QString& shop)
{
    return {QStringLiteral("submission"), shop, QStringLiteral("--mark"), QStringLiteral("2"), QStringLiteral("--medium"),
            QStringLiteral("5"), QStringLiteral("--date"), kToday, QStringLiteral("--office"),
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

QStringList fundFiles(const QString& shop) { return QDir(shop).entryList({u'*' + kFundFile.mid(kFundFile.indexOf(u'.'))}, QDir::Files | QDir::Hidden); }

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

    void aJournalLeftHalfWayIsRolledBackBeforeTheUpgradeJudges();
    void aRecordThatCannotBeReadStopsTheUpgrade();
    void aDamagedDatabaseStopsEveryCommandThatReadsIt();
    void anUpgradeOfNoDatabaseIsAFailure();
    void aStaleJournalStopsInit();
    void leftoversOfAStoppedWriterGoAtTheNextStart();
    void aCoverLetterWithoutItsFileGoes();
    void pricesNoListMayHoldStopTheDocuments();
};

void TestToolFailures::aFullDiskIsAFailureAndKeepsTheOldFile()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    CHECKED(makeShop(shop));
    const QString name = shop + u'/' + kFundFile;
    {
        QFile old(name);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("60:staro:\r\n");
    }
    Run r = runTool(submission(shop), {QStringLiteral("--write-limit"), QStringLiteral("100")});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(kFundFile) && r.err.contains(QString::fromLocal8Bit(strerror(ENOSPC))),
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
    CHECKED(makeShop(small));
    disk.fill();
    r = runTool(submission(small));
    QCOMPARE(r.code, 1);
    QVERIFY(fundFiles(small).isEmpty());
    QVERIFY(QDir(small).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(mediumCounter(small), 0);
    r = runTool(print(small, disk.path() + QStringLiteral("/racun.pdf")));
    QCOMPARE(r.code, 1);
    QVERIFY(!QFile::exists(disk.path() + QStringLiteral("/racun.pdf")));
}

void TestToolFailures::outputsNeverTakeADataFilesPlace()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    CHECKED(makeShop(shop));
    const QString invoices = shop + QStringLiteral("/Kelmorin.mdb"), patients = shop + QStringLiteral("/Pac.mdb");
    const QByteArray invoicesBefore = hashOf(invoices), patientsBefore = hashOf(patients);

    Run r = runTool(print(shop, invoices));
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Kelmorin.mdb")), qPrintable(r.err));
    r = runTool(submission(shop) + QStringList{QStringLiteral("--cover"), patients});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Pac.mdb")));
    QCOMPARE(hashOf(patients), patientsBefore);
    QVERIFY(fundFiles(shop).isEmpty());

    // A PDF that cannot be written is a failure, and the run changes nothing.
    QCOMPARE(runTool(print(shop, QStringLiteral("/nonexistent/racun.pdf"))).code, 1);
    r = runTool(submission(shop) + QStringList{QStringLiteral("--cover"), QStringLiteral("/nonexistent/c.pdf")});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("c.pdf")));
    QVERIFY(fundFiles(shop).isEmpty());
    QCOMPARE(mediumCounter(shop), 0);
    Database db(invoices, Database::Mode::ReadOnly);
    QVERIFY(db.isOpen());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn")).toInt() > 0, true);
    // Every refused output left the database as it was.
    QCOMPARE(hashOf(invoices), invoicesBefore);
}

void TestToolFailures::unsavedChangesAreFailures()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    CHECKED(makeShop(shop));
    Database writer(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(writer.exec(QStringLiteral("UPDATE Rn SET Iznos = 0 WHERE God = ? AND Rnbr = 3"), {kYear}));
    // Another program keeps the database busy with a write of its own: the
    // print's recomputed amount and the run's medium counter cannot be saved.
    QVERIFY(writer.exec(QStringLiteral("BEGIN IMMEDIATE")));
    Run r = runTool(print(shop, folder.file(QStringLiteral("racun.pdf"))));
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("locked")), qPrintable(r.err));
    r = runTool(submission(shop));
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
    QCOMPARE(runTool({QStringLiteral("init"), base}).code, 0);
    {
        Database db(base + QStringLiteral("/Kelmorin.mdb"));
        QVERIFY(db.exec(QStringLiteral("DROP TABLE IF EXISTS Nadogradnje")));
    }
    QVERIFY(QFile::rename(base + QStringLiteral("/upg091226.inm"), base + QStringLiteral("/upg061219.inm")));
    QDir::setCurrent(base);
    CHECKED(fixtures::makeEveryPackage());
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

        Run r = runTool({QStringLiteral("upgrade"), shop}, {QStringLiteral("--stop-at"), QLatin1String(point)});
        QVERIFY2(r.code == 137, point);
        r = runTool({QStringLiteral("upgrade"), shop});
        QVERIFY2(r.code == 0, qPrintable(QLatin1String(point) + u' ' + r.err));
        QVERIFY(runTool({QStringLiteral("upgrade"), shop}).out.isEmpty());

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
    CHECKED(makeShop(shop));
    const QString empty = folder.file(QStringLiteral("nova"));
    QDir().mkpath(empty);
    workdir::FolderLock first(shop), other(empty);
    QVERIFY(first.isHeld() && other.isHeld());
    const QByteArray before = hashOf(shop + QStringLiteral("/Kelmorin.mdb"));
    for (const QStringList& args : {submission(shop), print(shop, folder.file(QStringLiteral("r.pdf"))),
                                    QStringList{QStringLiteral("upgrade"), shop}, QStringList{QStringLiteral("init"), empty}}) {
        const Run r = runTool(args);
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
    Run r = runTool({QStringLiteral("init"), QStringLiteral("--demo"), shop}, {QStringLiteral("--write-limit"), QStringLiteral("0")});
    QCOMPARE(r.code, 1);
    QCOMPARE(QDir(shop).entryList(QDir::Files | QDir::Hidden), QStringList{workdir::kLockFile});
    QCOMPARE(runTool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);

    // The markers lost: the database still knows its release.
    for (const QString& marker : QDir(shop).entryList({QStringLiteral("upg*")}))
        QVERIFY(QFile::remove(shop + u'/' + marker));
    r = runTool({QStringLiteral("upgrade"), shop});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(QDir(shop).entryList({QStringLiteral("upg*")}), QStringList{QStringLiteral("upg091226.inm")});
    Database db(shop + QStringLiteral("/Kelmorin.mdb"), Database::Mode::ReadOnly);
    QCOMPARE(db.scalar(QStringLiteral("SELECT God FROM Opci")).toInt(), QDate::currentDate().year());

    // A dangling link in the database's place is not followed.
    const QString linked = folder.file(QStringLiteral("linked"));
    QDir().mkpath(linked);
    QVERIFY(QFile::link(folder.file(QStringLiteral("drugdje.mdb")), linked + QStringLiteral("/Kelmorin.mdb")));
    r = runTool({QStringLiteral("init"), linked});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("drugdje.mdb"))));
}

void TestToolFailures::filesArePrivate()
{
    TempFolder folder;
    const mode_t previous = ::umask(022);
    const QString shop = folder.file(QStringLiteral("shop"));
    CHECKED(makeShop(shop));
    QCOMPARE(modeOf(shop), 0700);
    for (const char* name : {"Kelmorin.mdb", "Pac.mdb", "Recept.txt", "upg091226.inm"})
        QVERIFY2(modeOf(shop + u'/' + QLatin1String(name)) == 0600, name);
    QCOMPARE(runTool(submission(shop) + QStringList{QStringLiteral("--cover"), folder.file(QStringLiteral("dopis.pdf"))}).code, 0);
    QCOMPARE(modeOf(shop + u'/' + kFundFile), 0600);
    QCOMPARE(modeOf(folder.file(QStringLiteral("dopis.pdf"))), 0600);

    // Rights widened by hand are narrowed at the next start.
    ::chmod(QFile::encodeName(shop + QStringLiteral("/Pac.mdb")).constData(), 0644);
    QCOMPARE(runTool({QStringLiteral("upgrade"), shop}).code, 0);
    QCOMPARE(modeOf(shop + QStringLiteral("/Pac.mdb")), 0600);
    ::umask(previous);
}

void TestToolFailures::aJournalLeftHalfWayIsRolledBackBeforeTheUpgradeJudges()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QString invoices = shop + QStringLiteral("/Kelmorin.mdb");
    dieHalfWayThroughAWrite(invoices);
    QVERIFY(QFileInfo(invoices + QStringLiteral("-journal")).size() > 0);
    // No marker at all: only the database can say what it is.
    for (const QString& marker : QDir(shop).entryList({QStringLiteral("upg*")}))
        QVERIFY(QFile::remove(shop + u'/' + marker));

    const Run r = runTool({QStringLiteral("upgrade"), shop});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFile::exists(invoices + QStringLiteral("-journal")));
    QCOMPARE(QDir(shop).entryList({QStringLiteral("upg*")}), QStringList{QStringLiteral("upg091226.inm")});
    Database db(invoices, Database::Mode::ReadOnly);
    QCOMPARE(db.scalar(QStringLiteral("SELECT God FROM Opci")).toInt(), QDate::currentDate().year());
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Nadogradnje")).toInt(), int(upgrade::steps().size()));
    QVERIFY(!db.hasTable(QStringLiteral("Balast")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE God = ?"), {kYear}).toInt() > 0, true);
}

void TestToolFailures::aRecordThatCannotBeReadStopsTheUpgrade()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    for (const QString& marker : QDir(shop).entryList({QStringLiteral("upg*")}))
        QVERIFY(QFile::remove(shop + u'/' + marker));
    const QString invoices = shop + QStringLiteral("/Kelmorin.mdb");
    const QByteArray before = hashOf(invoices);
    {
        // Another program writes and holds the database past the wait.
        Database other(invoices);
        QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(other.exec(QStringLiteral("UPDATE Opci SET God = God")));
        const Run r = runTool({QStringLiteral("upgrade"), shop});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Ne mogu pročitati koji su koraci nadogradnje")) && r.err.contains(QStringLiteral("locked"))
                     && !r.err.contains(QStringLiteral("050207")),
                 qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QVERIFY(other.exec(QStringLiteral("ROLLBACK")));
    }
    QVERIFY(QDir(shop).entryList({QStringLiteral("upg*")}).isEmpty());
    QCOMPARE(hashOf(invoices), before);
}

void TestToolFailures::aDamagedDatabaseStopsEveryCommandThatReadsIt()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QString invoices = shop + QStringLiteral("/Kelmorin.mdb");
    {
        // Enough invoices for the table to span many pages.
        Database db(invoices);
        QStringList columns = db.columns(QStringLiteral("Rn"));
        columns.removeAll(QStringLiteral("Rbr"));
        QStringList values = columns;
        values.replace(values.indexOf(QStringLiteral("Rnbr")), QStringLiteral("r.n"));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (%1) WITH RECURSIVE r(n) AS (SELECT 100 UNION ALL SELECT n + 1 FROM r WHERE n < 3099) "
                                       "SELECT %2 FROM Rn, r WHERE Rn.God = ? AND Rn.Rnbr = 3")
                            .arg(columns.join(u','), values.join(u',')),
                        {kYear}));
    }
    QVERIFY(damageInvoiceTable(invoices));
    {
        Database db(invoices, Database::Mode::ReadOnly);
        QVERIFY(db.scalar(QStringLiteral("PRAGMA quick_check")).toString() != u"ok");
    }
    const QByteArray before = hashOf(invoices);
    put(folder.file(QStringLiteral("c.csv")), "Šifra;Cijena\n2103060101001;13\n");
    const QList<QStringList> commands = {
        submission(shop),
        {QStringLiteral("report"), shop, QStringLiteral("overview"), QStringLiteral("--which"), QStringLiteral("all")},
        {QStringLiteral("report"), shop, QStringLiteral("vat"), QStringLiteral("--from"), QStringLiteral("1"), QStringLiteral("--to"),
         QStringLiteral("3000")},
        {QStringLiteral("prices"), shop, folder.file(QStringLiteral("c.csv")), QStringLiteral("--yes")},
        {QStringLiteral("upgrade"), shop},
    };
    for (const QStringList& args : commands) {
        const Run r = runTool(args);
        QVERIFY2(r.code == 1, qPrintable(args.join(u' ')));
        QVERIFY2(r.err.contains(QStringLiteral("Kelmorin.mdb")) && r.err.contains(QStringLiteral("oštećena"))
                     && r.err.contains(QStringLiteral("sigurnosne kopije")),
                 qPrintable(args.join(u' ') + u'\n' + r.err));
    }
    QVERIFY(fundFiles(shop).isEmpty());
    QVERIFY(!QFile::exists(shop + QStringLiteral("/Temp.txt")));
    QCOMPARE(hashOf(invoices), before);
}

void TestToolFailures::anUpgradeOfNoDatabaseIsAFailure()
{
    TempFolder folder;
    const QString base = folder.file(QStringLiteral("base"));
    makeShop(base);
    QFile good(base + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray whole = good.readAll();
    QByteArray random(whole.size(), '\0');
    for (qsizetype i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    QByteArray header = whole;
    header.replace(0, 16, QByteArray(16, 'x'));
    const QList<QPair<const char*, QByteArray>> damaged = {
        {"prazna", QByteArray()}, {"skracena", whole.left(whole.size() / 3)}, {"slucajna", random}, {"zaglavlje", header}};
    for (const auto& [name, bytes] : damaged) {
        const QString shop = folder.file(QLatin1String(name));
        QDir().mkpath(shop);
        for (const QString& f : QDir(base).entryList(QDir::Files))
            QVERIFY(QFile::copy(base + u'/' + f, shop + u'/' + f));
        put(shop + QStringLiteral("/Kelmorin.mdb"), bytes);
        const Run r = runTool({QStringLiteral("upgrade"), shop});
        QVERIFY2(r.code == 1, name);
        QVERIFY2(r.err.contains(QStringLiteral("Kelmorin.mdb")), qPrintable(QLatin1String(name) + u' ' + r.err));
        QCOMPARE(QDir(shop).entryList({QStringLiteral("upg*")}), QStringList{QStringLiteral("upg091226.inm")});
    }
}

void TestToolFailures::aStaleJournalStopsInit()
{
    TempFolder folder;
    for (const char* left : {"Kelmorin.mdb-journal", "Kelmorin.mdb-wal", "Pac.mdb-journal"}) {
        const QString shop = folder.file(QStringLiteral("shop-") + QLatin1String(left));
        QDir().mkpath(shop);
        put(shop + u'/' + QLatin1String(left), QByteArray(4096, '\x5a'));
        Run r = runTool({QStringLiteral("init"), QStringLiteral("--demo"), shop});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String(left)), qPrintable(r.err));
        QCOMPARE(QDir(shop).entryList(QDir::Files | QDir::Hidden), (QStringList{workdir::kLockFile, QLatin1String(left)}));
        QVERIFY(QFile::remove(shop + u'/' + QLatin1String(left)));
        QCOMPARE(runTool({QStringLiteral("init"), QStringLiteral("--demo"), shop}).code, 0);
        Database db(shop + QStringLiteral("/Kelmorin.mdb"), Database::Mode::ReadOnly);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    }
}

void TestToolFailures::leftoversOfAStoppedWriterGoAtTheNextStart()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QStringList leftovers = {QStringLiteral(".Temp.txt.aB3xY9"), QStringLiteral(".1234567891140005.O26.Qw12Er"),
                                   QStringLiteral(".upg061226.inm.000000")};
    const QStringList kept = {QStringLiteral(".bilješke"), QStringLiteral(".Temp.txt.stari"), QStringLiteral("Temp.txt.aB3xY9")};
    for (const QString& name : leftovers + kept)
        put(shop + u'/' + name, "pola");
    const Run r = runTool({QStringLiteral("report"), shop, QStringLiteral("overview"), QStringLiteral("--which"), QStringLiteral("all")});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    for (const QString& name : leftovers)
        QVERIFY2(!QFile::exists(shop + u'/' + name), qPrintable(name));
    for (const QString& name : kept)
        QVERIFY2(QFile::exists(shop + u'/' + name), qPrintable(name));
}

void TestToolFailures::aCoverLetterWithoutItsFileGoes()
{
    TinyFilesystem disk(4096);
    if (!disk.isMounted())
        QSKIP("a small tmpfs needs root");
    TempFolder folder;
    const QString shop = disk.path() + QStringLiteral("/shop");
    makeShop(shop);
    disk.fill();
    const QString cover = folder.file(QStringLiteral("dopis.pdf"));
    Run r = runTool(submission(shop) + QStringList{QStringLiteral("--cover"), cover});
    QCOMPARE(r.code, 1);
    QVERIFY(fundFiles(shop).isEmpty());
    QVERIFY2(!QFile::exists(cover), qPrintable(r.err));
    // A letter that was there before a run that stopped early stays.
    put(cover, "%PDF stari");
    QStringList nothingMarked = submission(shop);
    nothingMarked[nothingMarked.indexOf(QStringLiteral("--mark")) + 1] = QStringLiteral("9");
    r = runTool(nothingMarked + QStringList{QStringLiteral("--cover"), cover});
    QCOMPARE(r.code, 1);
    QVERIFY(QFile::exists(cover));
}

void TestToolFailures::pricesNoListMayHoldStopTheDocuments()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop);
    const QString invoices = shop + QStringLiteral("/Kelmorin.mdb");
    QString code;
    {
        Database db(invoices, Database::Mode::ReadOnly);
        code = db.scalar(QStringLiteral("SELECT Pom1 FROM Rn WHERE God = ? AND Rnbr = 3"), {kYear}).toString();
    }
    QVERIFY(!code.isEmpty());
    const QString table = code.size() == 12 ? QStringLiteral("KelmorinISO") : QStringLiteral("OrtopedskaKelmorinISO");
    for (const char* price : {"-45", "1e15", "9e999"}) {
        {
            Database db(invoices);
            QVERIFY(db.exec(QStringLiteral("UPDATE %1 SET Cijena = %2 WHERE Sifra = ?").arg(table, QLatin1String(price)), {code}));
        }
        for (const QStringList& args :
             {submission(shop), print(shop, folder.file(QStringLiteral("r.pdf"))),
              QStringList{QStringLiteral("report"), shop, QStringLiteral("vat"), QStringLiteral("--from"), QStringLiteral("1"),
                          QStringLiteral("--to"), QStringLiteral("3")}}) {
            const Run r = runTool(args);
            QVERIFY2(r.code == 1, qPrintable(QLatin1String(price) + u' ' + args.first()));
            QVERIFY2(r.err.contains(code), qPrintable(QLatin1String(price) + u' ' + args.first() + u' ' + r.err));
        }
        // The run stops at the invoice, as at a code no list holds: the
        // file holds only the invoices before it.
        for (const QString& name : fundFiles(shop)) {
            QFile sent(shop + u'/' + name);
            QVERIFY(sent.open(QIODevice::ReadOnly));
            const QByteArray bytes = sent.readAll();
            QVERIFY(!bytes.contains(":3-1-1-") && !bytes.contains("inf") && !bytes.contains("-45") && !bytes.contains("00000000000"));
        }
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("r.pdf"))));
    }
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestToolFailures)
#include "tst_tool_failures.moc"
