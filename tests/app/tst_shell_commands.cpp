#include "app/session.h"
#include "app/shell_commands.h"
#include "app/startup.h"
#include "common/clock.h"
#include "common/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "support/temp_folder.h"

#include <QTest>

class TestShellCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void yearAnswers_data();
    void yearAnswers();
    void newYearIsStoredAndOpenedAtTheNextStart();
    void helpPageIsFoundWithoutRegardToCase();
};

void TestShellCommands::yearAnswers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    QTest::newRow("cancel") << "" << "";
    QTest::newRow("two digits") << "25" << "Godina mora biti upisan u formatu 0000, npr 2007";
    QTest::newRow("letters") << "20a5" << "Neispravno upisana godina!";
    QTest::newRow("leading blank") << " 2025" << "Godina mora biti upisan u formatu 0000, npr 2007";
    QTest::newRow("decimal") << "20.5" << "Godina mora biti upisan u formatu 0000, npr 2007";
}

void TestShellCommands::yearAnswers()
{
    QFETCH(QString, answer);
    QFETCH(QString, message);
    TempFolder folder;
    ScriptedDialogs dialogs;
    FakePlatform platform;
    FixedClock clock(QDate(2026, 12, 7));
    QString error;
    QVERIFY(newfolder::create(QStringLiteral("."), newfolder::Content::Empty, clock, &error));
    auto session = Startup({dialogs, clock, platform}).run();
    QVERIFY(session);
    dialogs.answer(answer);
    QVERIFY(!shell::changeBusinessYear(*session, dialogs));
    QCOMPARE(dialogs.shown().front().text, QStringLiteral("Molim upišite novu poslovnu godinu (trenutno je aktivna 2026 godina)"));
    QCOMPARE(dialogs.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(session->businessYear(), QStringLiteral("2026"));
}

void TestShellCommands::newYearIsStoredAndOpenedAtTheNextStart()
{
    TempFolder folder;
    ScriptedDialogs dialogs;
    FakePlatform platform;
    FixedClock clock(QDate(2026, 12, 7));
    QString error;
    QVERIFY(newfolder::create(QStringLiteral("."), newfolder::Content::Empty, clock, &error));
    {
        auto session = Startup({dialogs, clock, platform}).run();
        QVERIFY(session->invoices().setField(u"Prezime", QStringLiteral("Jurić")));
        dialogs.answer(QStringLiteral("2027"));
        QVERIFY(shell::changeBusinessYear(*session, dialogs));
        QCOMPARE(dialogs.messages().last(), QStringLiteral("Molim ponovno pokrenite program kako bi promjene postale aktivne!\r\n"
                                                           "Ne zaboravite promijeniti i predbrojeve računa!"));
    }
    auto next = Startup({dialogs, clock, platform}).run();
    QCOMPARE(next->businessYear(), QStringLiteral("2027"));
    QCOMPARE(next->twoDigitYear(), 27);
    QCOMPARE(next->invoices().rowCount(), 1);
    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE God = 26")).toString(), QStringLiteral("Jurić"));
}

void TestShellCommands::helpPageIsFoundWithoutRegardToCase()
{
    TempFolder folder;
    FakePlatform platform;
    shell::openHelp(platform);
    QVERIFY(platform.opened.isEmpty());
    folder.touch(QStringLiteral("UPUTSTVA.HTM"));
    shell::openHelp(platform);
    QCOMPARE(platform.opened.size(), 1);
    QVERIFY(platform.opened.first().endsWith(QStringLiteral("/UPUTSTVA.HTM")));
}

QTEST_GUILESS_MAIN(TestShellCommands)
#include "tst_shell_commands.moc"
