#include "data/invoice_record.h"
#include "data/session.h"
#include "app/shell_commands.h"
#include "app/startup.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "support/shop_fixture.h"

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
    ShopFixture shop;
    QVERIFY(shop.session);
    shop.dialogs.answer(answer);
    QVERIFY(!shell::changeBusinessYear(*shop.session, shop.dialogs));
    QCOMPARE(shop.dialogs.shown().front().text, QStringLiteral("Molim upišite novu poslovnu godinu (trenutno je aktivna 2026 godina)"));
    QCOMPARE(shop.dialogs.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(shop.session->businessYear(), QStringLiteral("2026"));
}

void TestShellCommands::newYearIsStoredAndOpenedAtTheNextStart()
{
    ShopFixture shop;
    {
        QVERIFY(shop.session->invoices().setField(u"Prezime", QStringLiteral("Jurić")));
        QVERIFY(shop.session->generalData().setField(u"Brd", 2));
        QVERIFY(shop.session->generalData().setField(u"Podrured", QStringLiteral("Split")));
        shop.dialogs.answer(QStringLiteral("2027"));
        QVERIFY(shell::changeBusinessYear(*shop.session, shop.dialogs));
        QCOMPARE(shop.dialogs.messages().last(), QStringLiteral("Molim ponovno pokrenite program kako bi promjene postale aktivne!\r\n"
                                                           "Ne zaboravite promijeniti i predbrojeve računa!\r\n"
                                                           "Posljednji redni broj diskete vraćen je na 0: prva disketa (CD) "
                                                           "nove godine ima redni broj 1."));
    }
    QVERIFY(shop.restart());
    QCOMPARE(shop.session->businessYear(), QStringLiteral("2027"));
    QCOMPARE(shop.session->twoDigitYear(), 27);
    QCOMPARE(shop.session->invoices().rowCount(), 1);
    // The media of the new year count from 1 again.
    QCOMPARE(shop.session->generalData().field(u"Brd").toInt(), 0);
    // The year's first invoice is made as F9 makes one: office and issue date.
    const InvoiceRecord first = InvoiceRecord::fromRow(shop.session->invoices(), 0);
    QCOMPARE(first.office, QStringLiteral("Split"));
    QVERIFY(first.issued.isValid());
    QCOMPARE(first.issued, first.billed);
    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE God = 26")).toString(), QStringLiteral("Jurić"));
}

void TestShellCommands::helpPageIsFoundWithoutRegardToCase()
{
    TempFolder folder;
    FakePlatform platform;
    ScriptedDialogs dialogs;
    shell::openHelp(platform, dialogs);
    QVERIFY(platform.opened.isEmpty());
    QCOMPARE(dialogs.messages(), QStringList{shell::kNoHelpPage});
    folder.touch(QStringLiteral("UPUTSTVA.HTM"));
    shell::openHelp(platform, dialogs);
    QCOMPARE(dialogs.messages().size(), 1);
    QCOMPARE(platform.opened.size(), 1);
    QVERIFY(platform.opened.first().endsWith(QStringLiteral("/UPUTSTVA.HTM")));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestShellCommands)
#include "tst_shell_commands.moc"
