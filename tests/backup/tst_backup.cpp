// Backups of a working folder: consistent while the data are being
// written, checked, kept by the rule, and put back whole.
#include "backup/archive_commands.h"
#include "backup/backup.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(18, 30, 5));

// A demo folder in `dir` whose two databases carry the word `mark`.
void makeShop(const QString& dir, const QString& mark)
{
    QString error;
    QVERIFY(QDir().mkpath(dir));
    QVERIFY2(newfolder::create(dir, newfolder::Content::Demo, FixedClock(kNow), &error), qPrintable(error));
    for (const QString& file : {schema::kInvoiceFile, schema::kPatientFile}) {
        Database db(QDir(dir).filePath(file));
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE Oznaka (Tekst TEXT)")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Oznaka VALUES (?)"), {mark}));
    }
}

void setMark(const QString& dir, const QString& mark)
{
    for (const QString& file : {schema::kInvoiceFile, schema::kPatientFile}) {
        Database db(QDir(dir).filePath(file));
        QVERIFY(db.exec(QStringLiteral("UPDATE Oznaka SET Tekst = ?"), {mark}));
    }
}

// The mark of each database; a database that does not open or is damaged
// reads as "?".
QStringList marks(const QString& dir)
{
    QStringList found;
    for (const QString& file : {schema::kInvoiceFile, schema::kPatientFile}) {
        Database db(QDir(dir).filePath(file));
        const bool whole = db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() == u"ok";
        found << (whole ? db.scalar(QStringLiteral("SELECT Tekst FROM Oznaka")).toString() : QStringLiteral("?"));
    }
    return found;
}

// A demo folder marked "A" with one backup of it.
backup::Result shopWithBackup(const QString& shop)
{
    makeShop(shop, QStringLiteral("A"));
    return backup::make(QDir(shop), kNow);
}

qint64 invoiceRows(const QString& file)
{
    return Database(file, Database::Mode::ReadOnly).scalar(QStringLiteral("SELECT count(*) FROM Rn")).toLongLong();
}

struct Run {
    int code;
    QString err;
};

Run tool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KELMORIN_TOOL), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyIsConsistentWhileTheDatabaseIsWritten();
    void damagedOrShortCopiesAreRejected();
    void keepRuleOverGeneratedDates();
    void pruningWaitsForANewCheckedCopy();
    void secondPlaceGetsEachCopyWhenReachable();
    void secondPlaceOfAnEarlierReleaseIsReadUntilTheUpgrade();
    void restoreInterruptedAtEachStepLeavesOneWholeSet();
    void restoreMovesAStaleJournalAside();
    void toolBackupAndRestore();
    void restoreCommandListsAsksAndBacksUpFirst();
    void aFileSizeLimitLeavesNoHalfCopy();
};

void TestBackup::copyIsConsistentWhileTheDatabaseIsWritten()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop, QStringLiteral("A"));
    const qint64 before = invoiceRows(shop + QStringLiteral("/Kelmorin.mdb"));
    // Another connection is in the middle of writing: its rows are not yet
    // committed and must not be in the copy, and the copy must still check.
    Database writer(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(writer.exec(QStringLiteral("BEGIN")));
    for (int i = 0; i < 50; ++i)
        QVERIFY(writer.exec(QStringLiteral("INSERT INTO Rn (Rnbr, God) VALUES (?, 26)"), {9000 + i}));
    const backup::Result first = backup::make(QDir(shop), kNow);
    QVERIFY2(first.ok, qPrintable(first.error));
    QCOMPARE(invoiceRows(first.copy.invoiceFile), before);
    QVERIFY(writer.exec(QStringLiteral("COMMIT")));
    QVERIFY(!first.copy.patientFile.isEmpty());
    QCOMPARE(QFileInfo(first.copy.invoiceFile).fileName(), QStringLiteral("Kelmorin-20260314-183005.mdb"));
    QCOMPARE(QFileInfo(first.copy.patientFile).fileName(), QStringLiteral("Pac-20260314-183005.mdb"));

    // A second backup in the same second takes the next second's name and
    // holds the committed rows.
    const backup::Result second = backup::make(QDir(shop), kNow);
    QVERIFY2(second.ok, qPrintable(second.error));
    QCOMPARE(second.copy.stamp, kNow.addSecs(1));
    QCOMPARE(invoiceRows(second.copy.invoiceFile), before + 50);
    QCOMPARE(backup::list(QDir(shop)).size(), 2);
    QCOMPARE(backup::list(QDir(shop)).first().stamp, kNow.addSecs(1));
    // No temporary file stays behind.
    QCOMPARE(QDir(shop + QStringLiteral("/Arhiva")).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

void TestBackup::damagedOrShortCopiesAreRejected()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    const backup::Result made = shopWithBackup(shop);
    QVERIFY(made.ok);
    QString error;
    QVERIFY2(backup::verify(made.copy.invoiceFile, &error), qPrintable(error));

    // Counts that differ from the source's snapshot fail the check.
    backup::RowCounts counts;
    counts[QStringLiteral("Oznaka")] = 2;
    QVERIFY(!backup::verify(made.copy.patientFile, counts, &error));

    // Garbage in the middle of the file: the integrity check or the open fails.
    QFile file(made.copy.invoiceFile);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    QVERIFY(size > 8192);
    file.seek(size / 2);
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    QVERIFY(!backup::verify(made.copy.invoiceFile, &error));
    QVERIFY(!error.isEmpty());
    // Such a copy is not restored, and the folder stays as it was.
    QVERIFY(!backup::restore(QDir(shop), made.copy, &error));
    QVERIFY(error.contains(QStringLiteral("nije ispravna")));
    QCOMPARE(marks(shop), QStringList({"A", "A"}));

    // A file that is no database at all.
    QFile::remove(made.copy.patientFile);
    QFile text(made.copy.patientFile);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("Ovo nije baza podataka.\r\n").repeated(300));
    text.close();
    QVERIFY(!backup::verify(made.copy.patientFile, &error));
}

void TestBackup::keepRuleOverGeneratedDates()
{
    // Three backups a day for three years, then the rule at the last one.
    QList<QDateTime> stamps;
    const QDate first(2023, 3, 1);
    for (QDate d = first; d <= kNow.date(); d = d.addDays(1))
        for (int h : {8, 13, 19})
            stamps << QDateTime(d, QTime(h, 0));
    stamps.removeIf([](const QDateTime& t) { return t > kNow; });
    const QList<QDateTime> gone = backup::toRemove(stamps, kNow);
    QList<QDateTime> kept;
    for (const QDateTime& t : stamps)
        if (!gone.contains(t))
            kept << t;
    std::sort(kept.begin(), kept.end(), std::greater<>());
    std::sort(stamps.begin(), stamps.end(), std::greater<>());
    // The ten newest.
    QCOMPARE(kept.mid(0, 10), stamps.mid(0, 10));
    // Then one per month, the month's last, from February 2026 back to
    // April 2024 (March 2026 is among the ten newest).
    const QList<QDateTime> monthly = kept.mid(10);
    QCOMPARE(monthly.size(), 23);
    QDate month(2026, 2, 1);
    for (const QDateTime& t : monthly) {
        QCOMPARE(t, QDateTime(QDate(month.year(), month.month(), month.daysInMonth()), QTime(19, 0)));
        month = month.addMonths(-1);
    }
    QCOMPARE(monthly.last().date(), QDate(2024, 4, 30));
    // Nothing older than 24 months stays.
    QVERIFY(std::none_of(kept.begin(), kept.end(), [](const QDateTime& t) { return t.date() < QDate(2024, 4, 1); }));

    // Few copies: all kept; a month with a gap keeps its own last copy.
    QVERIFY(backup::toRemove(stamps.mid(0, 10), kNow).isEmpty());
    const QList<QDateTime> sparse = {QDateTime(QDate(2025, 1, 3), QTime(9, 0)), QDateTime(QDate(2025, 1, 20), QTime(9, 0))};
    QList<QDateTime> many = stamps.mid(0, 10) + sparse;
    QCOMPARE(backup::toRemove(many, kNow), QList<QDateTime>{sparse.first()});
}

void TestBackup::pruningWaitsForANewCheckedCopy()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop, QStringLiteral("A"));
    // Fifteen old backups of the same day: five go, but only after the
    // next backup is made and checked.
    for (int i = 0; i < 15; ++i) {
        const backup::Result r = backup::make(QDir(shop), QDateTime(QDate(2026, 3, 1), QTime(10, 0, i)));
        QVERIFY2(r.ok, qPrintable(r.error));
    }
    QCOMPARE(backup::list(QDir(shop)).size(), 10);
    // A backup that fails removes nothing.
    QVERIFY(QFile::rename(shop + QStringLiteral("/Kelmorin.mdb"), shop + QStringLiteral("/Kelmorin.bak")));
    const backup::Result failed = backup::make(QDir(shop), kNow);
    QVERIFY(!failed.ok);
    QVERIFY(failed.error.contains(QStringLiteral("Kelmorin.mdb")));
    QCOMPARE(backup::list(QDir(shop)).size(), 10);
    QVERIFY(QFile::rename(shop + QStringLiteral("/Kelmorin.bak"), shop + QStringLiteral("/Kelmorin.mdb")));
    // A damaged source is not kept as a backup.
    {
        QFile file(shop + QStringLiteral("/Pac.mdb"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(4096 + 100);
        file.write(QByteArray(4096 * 3, '\x7f'));
    }
    const backup::Result damaged = backup::make(QDir(shop), kNow);
    QVERIFY(!damaged.ok);
    QVERIFY2(damaged.error.contains(QStringLiteral("Pac.mdb")), qPrintable(damaged.error));
    QCOMPARE(backup::list(QDir(shop)).size(), 10);
    QCOMPARE(backup::list(QDir(shop)).first().stamp, QDateTime(QDate(2026, 3, 1), QTime(10, 0, 14)));
    QCOMPARE(QDir(shop + QStringLiteral("/Arhiva")).entryList(QDir::Files | QDir::Hidden).size(), 20);
}

void TestBackup::secondPlaceGetsEachCopyWhenReachable()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    const QString stick = folder.file(QStringLiteral("stick"));
    makeShop(shop, QStringLiteral("A"));
    QCOMPARE(backup::secondPlace(QDir(shop)), QString());
    QVERIFY(Database(shop + QStringLiteral("/Kelmorin.mdb"))
                .exec(QStringLiteral("UPDATE Opci SET ArhivaMapa = ?"), {QVariant(QStringLiteral("  ") + stick + QStringLiteral(" "))}));
    QCOMPARE(backup::secondPlace(QDir(shop)), stick);
    // Not plugged in: the backup counts, the user is told.
    backup::Result r = backup::make(QDir(shop), kNow, backup::secondPlace(QDir(shop)));
    QVERIFY(r.ok);
    QVERIFY(r.warning.contains(QStringLiteral("nije dostupno")));
    QCOMPARE(backup::list(QDir(shop)).size(), 1);
    QVERIFY(QDir().mkpath(stick));
    r = backup::make(QDir(shop), kNow, stick);
    QVERIFY(r.ok);
    QVERIFY(r.warning.isEmpty());
    QString error;
    QVERIFY(backup::verify(stick + QStringLiteral("/Kelmorin-20260314-183006.mdb"), &error));
    QVERIFY(backup::verify(stick + QStringLiteral("/Pac-20260314-183006.mdb"), &error));

    // A folder named relative to the working folder.
    r = backup::make(QDir(shop), kNow, QStringLiteral("../stick"));
    QVERIFY2(r.ok && r.warning.isEmpty(), qPrintable(r.warning));
    QVERIFY(QFileInfo::exists(stick + QStringLiteral("/Kelmorin-20260314-183007.mdb")));

    // The archive folder itself is no second place: nothing is copied onto
    // itself, the copy stays whole.
    r = backup::make(QDir(shop), kNow, shop + QStringLiteral("/Arhiva/"));
    QVERIFY(r.ok);
    QVERIFY2(r.warning.contains(QStringLiteral("mora biti druga mapa")), qPrintable(r.warning));
    QVERIFY2(backup::verify(r.copy.invoiceFile, &error), qPrintable(error));
    QCOMPARE(backup::list(QDir(shop)).size(), 4);
}

void TestBackup::secondPlaceOfAnEarlierReleaseIsReadUntilTheUpgrade()
{
    // Earlier releases kept the folder in a text file of the archive
    // folder; a database not yet upgraded has no field for it.
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop, QStringLiteral("A"));
    QVERIFY(Database(shop + QStringLiteral("/Kelmorin.mdb")).exec(QStringLiteral("ALTER TABLE Opci DROP COLUMN ArhivaMapa")));
    QVERIFY(QDir().mkpath(shop + QStringLiteral("/Arhiva")));
    QFile old(shop + QStringLiteral("/Arhiva/Drugo mjesto.txt"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("/media/usb/Kelmorin\r\n");
    old.close();
    QCOMPARE(backup::secondPlace(QDir(shop)), QStringLiteral("/media/usb/Kelmorin"));
    // Once the field is there, it alone counts.
    QVERIFY(Database(shop + QStringLiteral("/Kelmorin.mdb")).exec(QStringLiteral("ALTER TABLE Opci ADD COLUMN ArhivaMapa TEXT(255)")));
    QCOMPARE(backup::secondPlace(QDir(shop)), QString());
}

void TestBackup::restoreInterruptedAtEachStepLeavesOneWholeSet()
{
    using backup::Step;
    for (Step stopAt : {Step::Staged, Step::Committed, Step::JournalsAside, Step::PatientsSwapped, Step::InvoicesSwapped,
                        Step::Done}) {
        TempFolder folder;
        const QString shop = folder.file(QStringLiteral("shop"));
        makeShop(shop, QStringLiteral("A"));
        const backup::Result made = backup::make(QDir(shop), kNow);
        QVERIFY(made.ok);
        setMark(shop, QStringLiteral("B"));
        QString error;
        int reached = 0;
        QVERIFY2(backup::restore(QDir(shop), made.copy, &error,
                                 [&](Step step) {
                                     reached = int(step);
                                     return step != stopAt;
                                 }),
                 qPrintable(error));
        QCOMPARE(reached, int(stopAt));
        // The next start finishes or forgets the restore.
        QVERIFY2(backup::recoverRestore(QDir(shop), &error), qPrintable(error));
        const QStringList after = marks(shop);
        const QStringList expected = stopAt == Step::Staged ? QStringList{"B", "B"} : QStringList{"A", "A"};
        QVERIFY2(after == expected, qPrintable(QStringLiteral("stopped after step %1: %2").arg(int(stopAt)).arg(after.join(u','))));
        // Nothing of the restore is left beside the databases.
        QCOMPARE(QDir(shop).entryList({QStringLiteral("*.vracanje")}, QDir::Files).size(), 0);
        // A second recovery changes nothing.
        QVERIFY(backup::recoverRestore(QDir(shop), &error));
        QCOMPARE(marks(shop), expected);
    }
}

void TestBackup::restoreMovesAStaleJournalAside()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    const backup::Result made = shopWithBackup(shop);
    QVERIFY(made.ok);
    setMark(shop, QStringLiteral("B"));
    // A journal left by a program that was killed would be played into the
    // restored file by the next connection.
    QFile journal(shop + QStringLiteral("/Kelmorin.mdb-journal"));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(2048, '\x01'));
    journal.close();
    QString error;
    QVERIFY2(backup::restore(QDir(shop), made.copy, &error), qPrintable(error));
    QVERIFY(!QFile::exists(shop + QStringLiteral("/Kelmorin.mdb-journal")));
    QCOMPARE(QDir(shop + QStringLiteral("/Arhiva")).entryList({QStringLiteral("Kelmorin.mdb-journal-*")}).size(), 1);
    QCOMPARE(marks(shop), QStringList({"A", "A"}));
}

void TestBackup::toolBackupAndRestore()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop, QStringLiteral("A"));
    Run r = tool({QStringLiteral("backup"), shop});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QList<backup::Copy> copies = backup::list(QDir(shop));
    QCOMPARE(copies.size(), 1);
    const qint64 rows = invoiceRows(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(Database(shop + QStringLiteral("/Kelmorin.mdb")).exec(QStringLiteral("DELETE FROM Rn")));
    setMark(shop, QStringLiteral("B"));

    // The restore backs up the current files first, then puts the copy back.
    r = tool({QStringLiteral("restore"), shop, copies.first().invoiceFile});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(invoiceRows(shop + QStringLiteral("/Kelmorin.mdb")), rows);
    QCOMPARE(marks(shop), QStringList({"A", "A"}));
    QCOMPARE(backup::list(QDir(shop)).size(), 2);
    QCOMPARE(invoiceRows(backup::list(QDir(shop)).first().invoiceFile), 0);

    // Failures: exit 1 with the reason.
    r = tool({QStringLiteral("restore"), shop, shop + QStringLiteral("/Arhiva/Kelmorin-19990101-000000.mdb")});
    QCOMPARE(r.code, 1);
    QVERIFY(!r.err.isEmpty());
    r = tool({QStringLiteral("backup"), folder.file(QStringLiteral("nowhere"))});
    QCOMPARE(r.code, 1);
    QVERIFY(!r.err.isEmpty());
    QCOMPARE(tool({QStringLiteral("restore"), shop}).code, 2);
}

void TestBackup::restoreCommandListsAsksAndBacksUpFirst()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop, QStringLiteral("A"));
    const qint64 all = invoiceRows(shop + QStringLiteral("/Kelmorin.mdb"));
    QVERIFY(backup::make(QDir(shop), kNow.addDays(-1)).ok);
    QVERIFY(Database(shop + QStringLiteral("/Kelmorin.mdb")).exec(QStringLiteral("DELETE FROM Rn")));
    setMark(shop, QStringLiteral("B"));
    QVERIFY(backup::make(QDir(shop), kNow.addSecs(-60)).ok);

    ScriptedDialogs dialogs;
    FixedClock clock(kNow);
    FakePlatform platform;
    bool saved = false;
    backup::ArchiveCommands commands(QDir(shop), {dialogs, clock, platform}, [&saved] { return saved = true; });
    // Cancel at the list, then at the question: nothing changes.
    dialogs.answerLine(-1);
    QVERIFY(!commands.restore());
    dialogs.answerLine(1);
    dialogs.answer(false);
    QVERIFY(!commands.restore());
    QCOMPARE(marks(shop), QStringList({"B", "B"}));
    QCOMPARE(backup::list(QDir(shop)).size(), 2);
    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(!saved);

    dialogs.answerLine(1);
    dialogs.answer(true);
    QVERIFY(commands.restore());
    QVERIFY(saved);
    QCOMPARE(marks(shop), QStringList({"A", "A"}));
    QCOMPARE(invoiceRows(shop + QStringLiteral("/Kelmorin.mdb")), all);
    // The list showed both copies, newest first, with the invoices of the
    // business year in each; the question named the one chosen.
    const auto& shown = dialogs.shown();
    const ScriptedDialogs::Shown& list = shown.at(shown.size() - 3);
    QCOMPARE(list.kind, ScriptedDialogs::Shown::List);
    const int demoYear = backup::invoicesOfBusinessYear(backup::list(QDir(shop)).last().invoiceFile);
    QVERIFY(demoYear > 0);
    QCOMPARE(list.text.split(QStringLiteral("\r\n")).mid(1),
             (QStringList{QStringLiteral("14.03.2026. 18:29:05   računa u poslovnoj godini: 0"),
                          QStringLiteral("13.03.2026. 18:30:05   računa u poslovnoj godini: %1").arg(demoYear)}));
    QVERIFY2(shown.at(shown.size() - 2).text.contains(QStringLiteral("arhive od 13.03.2026. 18:30:05")),
             qPrintable(shown.at(shown.size() - 2).text));
    // The data replaced were backed up first.
    QCOMPARE(backup::list(QDir(shop)).size(), 3);
    QCOMPARE(backup::list(QDir(shop)).first().stamp, kNow);
}

void TestBackup::aFileSizeLimitLeavesNoHalfCopy()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    makeShop(shop, QStringLiteral("A"));
    QVERIFY(QFileInfo(shop + QStringLiteral("/Kelmorin.mdb")).size() > 64 * 1024);
    // The tool may write no file larger than 32 KB, as on a disk that is
    // nearly full: the patient copy fits, the invoice copy does not.
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 64; exec \"$0\" backup \"$1\""),
                                       QStringLiteral(KELMORIN_TOOL), shop});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    const QString reason = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(reason.contains(QStringLiteral("Kelmorin.mdb nije napravljena")), qPrintable(reason));
    // Nothing is left in the archive, not even a temporary file.
    QCOMPARE(QDir(shop + QStringLiteral("/Arhiva")).entryList(QDir::Files | QDir::Hidden).size(), 0);
    QVERIFY(backup::make(QDir(shop), kNow).ok);
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
