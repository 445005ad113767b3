// A shop's folder whose Kelmorin.mdb (or Pac.mdb) is still an Access
// database: the start-up asks, converts with the converter program, keeps
// the original in Arhiva/ and goes on with the converted file; the upgrade
// chain reads packages in the Access format from a converted copy.
#include "access/access_file.h"
#include "access/conversion.h"
#include "access/startup_conversion.h"
#include "app/startup.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/session.h"
#include "data/upgrade_chain.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString kAccessFiles = QStringLiteral(KELMORIN_ACCESS_DATA);

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The progress window as the start-up drives it.
struct RecordingProgress : accessdb::ProgressView {
    void begin(const QString& title, qint64 rows) override { events << QStringLiteral("begin %1 %2").arg(title).arg(rows); }
    void update(const QString& table, qint64) override
    {
        if (!table.isEmpty() && !tables.contains(table))
            tables << table;
    }
    void end() override { events << QStringLiteral("end"); }
    QStringList events;
    QStringList tables;
};

} // namespace

class TestAccessStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup() { m_folder.reset(); }

    void noLeavesTheFolderAsItWas();
    void yesConvertsAndStartUpGoesOn_data();
    void yesConvertsAndStartUpGoesOn();
    void bothFilesAreAskedBeforeAnythingChanges();
    void damagedFileIsNamedAndKept();
    void journalBesideTheDatabaseIsRefused();
    void packagesAreReadFromAConvertedCopy();
    void chainReadsAnAccessPackage();

private:
    std::unique_ptr<Session> start(accessdb::ProgressView* progress = nullptr)
    {
        return Startup({*m_dialogs, m_clock, m_platform}, progress).run();
    }

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    FakePlatform m_platform;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 7), QTime(10, 15, 30))};
};

// The start-up finds the converter beside the program; the test stands in
// for the program.
void TestAccessStartup::initTestCase()
{
    const QString beside = accessdb::Conversion::defaultProgram();
    QFile::remove(beside);
    QVERIFY(QFile::link(QStringLiteral(KELMORIN_ACCESS_CONVERTER), beside));
}

void TestAccessStartup::noLeavesTheFolderAsItWas()
{
    QVERIFY(QFile::copy(kAccessFiles + QStringLiteral("/jet4-types.mdb"), QStringLiteral("Kelmorin.mdb")));
    const QByteArray before = bytesOf(QStringLiteral("Kelmorin.mdb"));
    m_dialogs->answer(false);
    QVERIFY(!start());
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown()[0].kind, ScriptedDialogs::Shown::YesNo);
    QCOMPARE(m_dialogs->shown()[0].text,
             QStringLiteral("Kelmorin.mdb je baza u formatu Access. Želite li je pretvoriti u novi oblik? "
                            "Izvorna datoteka ostaje sačuvana."));
    QCOMPARE(bytesOf(QStringLiteral("Kelmorin.mdb")), before);
    QCOMPARE(namesIn(QStringLiteral(".")), QStringList{QStringLiteral("Kelmorin.mdb")});
    QVERIFY(!QFileInfo::exists(QStringLiteral("Arhiva")));
}

void TestAccessStartup::yesConvertsAndStartUpGoesOn_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("newestMarker");
    for (const QString& file : QDir(kAccessFiles).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name)) {
        QTest::addRow("%s, no marker", qPrintable(file)) << file << false;
        QTest::addRow("%s, newest marker", qPrintable(file)) << file << true;
    }
}

// The converted file has none of the program's tables: the start-up says
// so in its own messages (the upgrade chain's, or the database's), and
// nothing crashes. The original is kept byte for byte in Arhiva/.
void TestAccessStartup::yesConvertsAndStartUpGoesOn()
{
    QFETCH(QString, file);
    QFETCH(bool, newestMarker);
    QVERIFY(QFile::copy(kAccessFiles + u'/' + file, QStringLiteral("Kelmorin.mdb")));
    // Left by a conversion that was stopped half way.
    m_folder->touch(QStringLiteral("..Kelmorin.mdb.pretvorba.AbC123"), "pola");
    if (newestMarker) {
        for (const QString& id : upgrade::allStepIds())
            m_folder->touch(upgrade::markerName(id), "061226100000\r\n");
    }
    m_dialogs->answer(true);
    m_dialogs->setFallback(true);
    RecordingProgress progress;
    QVERIFY(!start(&progress));

    // The original, unchanged, in Arhiva/ with the time of the conversion.
    QCOMPARE(namesIn(QStringLiteral("Arhiva")), QStringList{QStringLiteral("Kelmorin-Access-20261207-101530.mdb")});
    QCOMPARE(bytesOf(QStringLiteral("Arhiva/Kelmorin-Access-20261207-101530.mdb")), bytesOf(kAccessFiles + u'/' + file));
    // The converted file in its place, holding the tables of the original.
    QVERIFY(!accessdb::isAccessFile(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(bytesOf(QStringLiteral("Kelmorin.mdb")).startsWith("SQLite format 3"));
    {
        Database db(QStringLiteral("Kelmorin.mdb"), Database::Mode::ReadOnly);
        QVERIFY(db.isOpen());
        QVERIFY(!progress.tables.isEmpty());
        for (const QString& table : progress.tables) {
            QSqlQuery q(db.handle());
            QVERIFY2(q.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)), qPrintable(table));
        }
    }
    QCOMPARE(progress.events.size(), 2);
    QVERIFY(progress.events[0].startsWith(QStringLiteral("begin Pretvorba datoteke Kelmorin.mdb")));
    QCOMPARE(progress.events[1], QStringLiteral("end"));
    QVERIFY(!QFileInfo::exists(QStringLiteral(".Kelmorin.mdb.pretvorba")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("..Kelmorin.mdb.pretvorba.AbC123")));

    // After the question, the start-up's own message and its end.
    const auto& shown = m_dialogs->shown();
    QVERIFY(shown.size() >= 2);
    QCOMPARE(shown[0].kind, ScriptedDialogs::Shown::YesNo);
    QCOMPARE(shown.back().kind, ScriptedDialogs::Shown::Message);
    QVERIFY(!shown.back().text.isEmpty());
    // A converted file without the program's tables is no database of
    // this program: the upgrade refuses it, whatever the markers say.
    if (newestMarker)
        QVERIFY2(shown.back().text.contains(QStringLiteral("Kelmorin.mdb nije baza podataka ovog programa")),
                 qPrintable(shown.back().text));

    // The next start asks nothing more: the folder's database is converted.
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_dialogs->setFallback(true);
    QVERIFY(!start());
    for (const auto& s : m_dialogs->shown())
        QVERIFY(s.kind != ScriptedDialogs::Shown::YesNo);
    QCOMPARE(namesIn(QStringLiteral("Arhiva")).size(), 1);
}

void TestAccessStartup::bothFilesAreAskedBeforeAnythingChanges()
{
    QVERIFY(QFile::copy(kAccessFiles + QStringLiteral("/jet4-types.mdb"), QStringLiteral("Kelmorin.mdb")));
    QVERIFY(QFile::copy(kAccessFiles + QStringLiteral("/jet3-types.mdb"), QStringLiteral("Pac.mdb")));
    m_dialogs->answer(true);
    m_dialogs->answer(false);
    QVERIFY(!start());
    QCOMPARE(m_dialogs->shown().size(), size_t(2));
    QVERIFY(m_dialogs->shown()[1].text.startsWith(QStringLiteral("Pac.mdb je baza u formatu Access.")));
    QVERIFY(accessdb::isAccessFile(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(accessdb::isAccessFile(QStringLiteral("Pac.mdb")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("Arhiva")));

    // Both converted on Yes and Yes, each original kept.
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_dialogs->setFallback(true);
    QVERIFY(!start());
    QCOMPARE(namesIn(QStringLiteral("Arhiva")),
             (QStringList{QStringLiteral("Kelmorin-Access-20261207-101530.mdb"), QStringLiteral("Pac-Access-20261207-101530.mdb")}));
    QVERIFY(!accessdb::isAccessFile(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(!accessdb::isAccessFile(QStringLiteral("Pac.mdb")));
}

void TestAccessStartup::damagedFileIsNamedAndKept()
{
    QByteArray damaged = bytesOf(kAccessFiles + QStringLiteral("/jet4-types.mdb"));
    damaged.truncate(4096);
    m_folder->touch(QStringLiteral("Kelmorin.mdb"), damaged);
    m_dialogs->answer(true);
    RecordingProgress progress;
    QVERIFY(!start(&progress));
    QCOMPARE(m_dialogs->shown().size(), size_t(2));
    QVERIFY2(m_dialogs->shown()[1].text.startsWith(QStringLiteral("Datoteka Kelmorin.mdb se ne može pretvoriti: ")),
             qPrintable(m_dialogs->shown()[1].text));
    QCOMPARE(bytesOf(QStringLiteral("Kelmorin.mdb")), damaged);
    QCOMPARE(namesIn(QStringLiteral(".")), QStringList{QStringLiteral("Kelmorin.mdb")});
    QVERIFY(namesIn(QStringLiteral("Arhiva")).isEmpty());
}

void TestAccessStartup::journalBesideTheDatabaseIsRefused()
{
    QVERIFY(QFile::copy(kAccessFiles + QStringLiteral("/jet4-types.mdb"), QStringLiteral("Kelmorin.mdb")));
    m_folder->touch(QStringLiteral("Kelmorin.mdb-journal"), "stari dnevnik");
    m_dialogs->answer(true);
    QVERIFY(!start());
    QCOMPARE(m_dialogs->shown().size(), size_t(2));
    QVERIFY2(m_dialogs->shown()[1].text.contains(QStringLiteral("Kelmorin.mdb-journal")), qPrintable(m_dialogs->shown()[1].text));
    QVERIFY(accessdb::isAccessFile(QStringLiteral("Kelmorin.mdb")));
    QCOMPARE(bytesOf(QStringLiteral("Kelmorin.mdb-journal")), QByteArray("stari dnevnik"));
}

void TestAccessStartup::packagesAreReadFromAConvertedCopy()
{
    QVERIFY(QFile::copy(kAccessFiles + QStringLiteral("/jet3-types.mdb"), QStringLiteral("upg051023.mdb")));
    const QByteArray before = bytesOf(QStringLiteral("upg051023.mdb"));
    QString copyPath;
    {
        const accessdb::ReadableCopy copy(QStringLiteral("upg051023.mdb"));
        QVERIFY2(copy.ok(), qPrintable(copy.error()));
        QVERIFY(copy.converted());
        copyPath = copy.path();
        Database package(copy.path(), Database::Mode::ReadOnly);
        QVERIFY(package.isOpen());
        QSqlQuery q(package.handle());
        QVERIFY(q.exec(QStringLiteral("SELECT A, H, I FROM Table1 ORDER BY A")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("a"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("abcdefg"));
        QCOMPARE(q.value(1).toDouble(), 3.5);
        QCOMPARE(q.value(2).toInt(), 1);
    }
    QVERIFY(!QFileInfo::exists(copyPath));
    QCOMPARE(bytesOf(QStringLiteral("upg051023.mdb")), before);
    QCOMPARE(namesIn(QStringLiteral(".")), QStringList{QStringLiteral("upg051023.mdb")});

    // A file in the program's own format is read as it is.
    {
        Database own(QStringLiteral("own.mdb"), Database::Mode::Create);
        QVERIFY(own.exec(QStringLiteral("CREATE TABLE t (a)")));
    }
    const accessdb::ReadableCopy own(QStringLiteral("own.mdb"));
    QVERIFY(own.ok());
    QVERIFY(!own.converted());
    QCOMPARE(own.path(), QStringLiteral("own.mdb"));

    // A damaged Access package is named.
    QByteArray damaged = before;
    damaged.truncate(2048);
    m_folder->touch(QStringLiteral("upg061226.mdb"), damaged);
    const accessdb::ReadableCopy broken(QStringLiteral("upg061226.mdb"));
    QVERIFY(!broken.ok());
    QVERIFY2(broken.error().startsWith(QStringLiteral("Datoteka upg061226.mdb se ne može pretvoriti")), qPrintable(broken.error()));
}

// A step's package in the Access format is read by the step: the step
// fails here on the package's content (it lacks the step's table), not on
// its format, and the package stays as it was.
void TestAccessStartup::chainReadsAnAccessPackage()
{
    QVERIFY(QFile::copy(kAccessFiles + QStringLiteral("/jet4-types.mdb"), QStringLiteral("upg051023.mdb")));
    const QByteArray before = bytesOf(QStringLiteral("upg051023.mdb"));
    {
        Database db(QStringLiteral("Kelmorin.mdb"), Database::Mode::Create);
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE OrtopedskaKelmorinISO (ID INTEGER PRIMARY KEY, Sifra TEXT)")));
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE Opci (God TEXT)")));
    }
    m_folder->touch(QStringLiteral("upg160523.inm"), "160523100000\r\n");
    m_dialogs->setFallback(true);
    upgrade::Chain chain(*m_dialogs, m_clock, m_platform);
    QVERIFY(chain.pendingSteps().contains(QStringLiteral("051023")));
    QVERIFY(!chain.run());
    const QString failure = m_dialogs->messages().last();
    QVERIFY2(failure.contains(QStringLiteral("OrtopedskaKelmorinISO")), qPrintable(failure));
    QVERIFY2(!failure.contains(QStringLiteral("pretvoriti")), qPrintable(failure));
    QCOMPARE(bytesOf(QStringLiteral("upg051023.mdb")), before);
    QVERIFY(!QFileInfo::exists(QStringLiteral("upg051023.inm")));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestAccessStartup)
#include "tst_access_startup.moc"
