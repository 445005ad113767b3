#include "data/session.h"
#include "app/startup.h"
#include "app/version_notice.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_platform = std::make_unique<FakePlatform>();
    }
    void cleanup() { m_folder.reset(); }

    void missingDatabaseIsNeverCreatedSilently();
    void missingDatabaseCreatedOnYes();
    void newYearGetsInvoiceOneOnce();
    void lastInvoiceIsCurrent();
    void companionStartsWhenPresent();
    void formVariants_data();
    void formVariants();
    void shippedFormNamesFitTheList();
    void missingReceptLeavesTheListEmpty();
    void receptThatIsNoTextFileIsReported();
    void failedUpgradeEndsStartup();
    void versionCheckDays();
    void versionNotice_data();
    void versionNotice();

private:
    std::unique_ptr<Session> start() { return Startup({*m_dialogs, m_clock, *m_platform}).run(); }
    void makeFolder(int year)
    {
        FixedClock created(QDate(year, 1, 10));
        QString error;
        QVERIFY2(newfolder::create(QStringLiteral("."), newfolder::Content::Empty, created, &error), qPrintable(error));
    }

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<FakePlatform> m_platform;
    FixedClock m_clock{QDate(2026, 12, 7)}; // a Monday
};

void TestStartup::missingDatabaseIsNeverCreatedSilently()
{
    m_dialogs->answer(false);
    QVERIFY(!start());
    QCOMPARE(m_dialogs->shown().size(), size_t(2));
    QVERIFY(m_dialogs->shown()[0].text.contains(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(m_dialogs->shown()[0].text.contains(QDir::toNativeSeparators(QDir::currentPath())));
    QCOMPARE(m_dialogs->shown()[1].kind, ScriptedDialogs::Shown::YesNo);
    QVERIFY(!QFile::exists(QStringLiteral("Kelmorin.mdb")));
}

void TestStartup::missingDatabaseCreatedOnYes()
{
    m_dialogs->answer(true);
    auto session = start();
    QVERIFY(session);
    QVERIFY(QFile::exists(QStringLiteral("upg091226.inm")));
    QCOMPARE(session->businessYear(), QStringLiteral("2026"));
    QCOMPARE(session->invoices().rowCount(), 1);
}

void TestStartup::newYearGetsInvoiceOneOnce()
{
    makeFolder(2026);
    {
        Database db(schema::kInvoiceFile);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (God, Rnbr) VALUES (25, 1), (25, 2)")));
    }
    {
        auto session = start();
        QVERIFY(session);
        QCOMPARE(session->twoDigitYear(), 26);
        QCOMPARE(session->invoices().rowCount(), 1);
        QCOMPARE(session->invoices().current(), 0);
        QCOMPARE(session->invoices().field(u"Rnbr").toInt(), 1);
        QCOMPARE(session->invoices().field(u"Datum").toString(), QStringLiteral("2026-12-07"));
        QCOMPARE(session->invoices().field(u"Datumnar").toString(), QStringLiteral("2026-12-07"));
        QVERIFY(session->invoices().field(u"Prezime").isNull());
    }
    auto again = start();
    QVERIFY(again);
    QCOMPARE(again->invoices().rowCount(), 1);
    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn")).toInt(), 3);
}

void TestStartup::lastInvoiceIsCurrent()
{
    makeFolder(2007);
    {
        Database db(schema::kInvoiceFile);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (God, Rnbr) VALUES (7, 3), (7, 1), (7, 2), (8, 9)")));
    }
    auto session = start();
    QVERIFY(session);
    QCOMPARE(session->twoDigitYear(), 7);
    QCOMPARE(session->invoices().rowCount(), 3);
    QCOMPARE(session->invoices().field(u"Rnbr").toInt(), 3);
}

void TestStartup::companionStartsWhenPresent()
{
    makeFolder(2026);
    QVERIFY(start());
    QVERIFY(m_platform->started.empty());
    m_folder->touch(QStringLiteral("DST.EXE"));
    QVERIFY(start());
    QCOMPARE(m_platform->started.size(), size_t(1));
    QCOMPARE(m_platform->started[0].program, QStringLiteral("DST.EXE"));
    QCOMPARE(m_platform->started[0].window, Platform::Window::MinimizedNoFocus);
}

void TestStartup::formVariants_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("entry") << QStringList{"#99 Obrazac A"} << QStringList{"Obrazac A"};
    QTest::newRow("only the mark") << QStringList{"#99"} << QStringList{""};
    QTest::newRow("blank before 99") << QStringList{"# 99 Obrazac"} << QStringList{};
    QTest::newRow("at most 15") << QStringList{"#99 123456789012345678"} << QStringList{"123456789012345"};
    QTest::newRow("fourth character dropped") << QStringList{"#99XAB", "komentar", "#99 C"} << QStringList{"AB", "C"};
}

void TestStartup::formVariants()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expected);
    QCOMPARE(formVariantsFrom(lines), expected);
}

void TestStartup::shippedFormNamesFitTheList()
{
    // The Recept.txt of a new folder names its forms in full.
    makeFolder(2026);
    auto session = start();
    QVERIFY(session);
    QVERIFY(!session->formVariants.isEmpty());
    QFile recept(QStringLiteral("Recept.txt"));
    QVERIFY(recept.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(recept.readAll());
    for (const QString& name : session->formVariants)
        QVERIFY2(text.contains(QStringLiteral("#99 ") + name + QStringLiteral("\r\n")), qPrintable(name));
}

void TestStartup::missingReceptLeavesTheListEmpty()
{
    makeFolder(2026);
    QFile::remove(QStringLiteral("Recept.txt"));
    auto session = start();
    QVERIFY(session);
    QCOMPARE(m_dialogs->messages().size(), 1);
    QVERIFY(m_dialogs->messages().first().contains(QStringLiteral("Recept.txt")));
    QVERIFY(session->formVariants.isEmpty());
    QCOMPARE(session->chosenFormVariant, -1);

    m_folder->touch(QStringLiteral("RECEPT.TXT"), "#99 Prvi\r\n#99 Drugi\r\n");
    session = start();
    QCOMPARE(session->formVariants, (QStringList{"Prvi", "Drugi"}));
    QCOMPARE(session->chosenFormVariant, 0);
}

void TestStartup::receptThatIsNoTextFileIsReported()
{
    makeFolder(2026);
    for (const char* kind : {"pipe", "device", "huge"}) {
        QFile::remove(QStringLiteral("Recept.txt"));
        if (QLatin1String(kind) == u"pipe")
            QVERIFY(::mkfifo("Recept.txt", 0600) == 0);
        else if (QLatin1String(kind) == u"device")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("Recept.txt")));
        else
            m_folder->touch(QStringLiteral("Recept.txt"), QByteArray(64 << 20, '#'));
        m_dialogs->clear();
        auto session = start(); // neither hangs nor ends the program
        QVERIFY2(session, kind);
        QCOMPARE(m_dialogs->messages().size(), 1);
        QVERIFY(m_dialogs->messages().first().contains(QStringLiteral("Recept.txt")));
        QVERIFY(session->formVariants.isEmpty());
    }
}

void TestStartup::failedUpgradeEndsStartup()
{
    makeFolder(2026);
    QFile::remove(QStringLiteral("upg091226.inm"));
    m_folder->touch(QStringLiteral("upg160523.inm"));
    QVERIFY(Database(schema::kInvoiceFile).exec(QStringLiteral("DELETE FROM Nadogradnje WHERE Korak IN ('051023', '061226', '081226', '091226')")));
    QVERIFY(!start());
    QVERIFY(m_dialogs->messages().last().contains(QStringLiteral("upg051023.mdb")));
}

void TestStartup::versionCheckDays()
{
    QVERIFY(!version::isCheckDay(QDate(2026, 12, 7))); // Monday
    QVERIFY(version::isCheckDay(QDate(2026, 12, 8)));  // Tuesday
    QVERIFY(!version::isCheckDay(QDate(2026, 12, 9)));
    QVERIFY(version::isCheckDay(QDate(2026, 12, 10))); // Thursday
    QVERIFY(!version::isCheckDay(QDate(2026, 12, 13)));

    // On other days nothing is fetched and an old file stays.
    m_folder->touch(version::kFileName, "01.01.30");
    version::Notice notice(*m_dialogs);
    QSignalSpy finished(&notice, &version::Notice::finished);
    notice.start(QDate(2026, 12, 7));
    QCOMPARE(finished.count(), 1);
    QVERIFY(QFile::exists(version::kFileName));
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TestStartup::versionNotice_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("notice");
    QTest::newRow("same date") << QByteArray("07.08.24\r\n") << false;
    QTest::newRow("newer") << QByteArray("15.11.26\r\nnapomena\r\n") << true;
    QTest::newRow("other form") << QByteArray("2.8\r\n") << false;
    QTest::newRow("date with text") << QByteArray("15.11.26 nova\r\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestStartup::versionNotice()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, notice);
    version::Notice n(*m_dialogs);
    n.handleDownload(file);
    QVERIFY(QFile::exists(version::kFileName));
    QCOMPARE(m_dialogs->messages(), notice ? QStringList{version::kNotice} : QStringList{});
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
