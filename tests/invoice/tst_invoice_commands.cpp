#include "data/session.h"
#include "app/startup.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "invoice/invoice_commands.h"
#include "support/shop_fixture.h"

#include <QTest>

namespace {

const QString kLenses = QStringLiteral("2103060101001"); // 12.50 at 5 %
const QString kSunglasses = QStringLiteral("2103031412001"); // 45.00 at 25 %

} // namespace

class TestInvoiceCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void numberingFollowsTheHighestOfTheYear();
    void newInvoiceIsDatedTodayForTheMainOffice();
    void fullYearTakesNoMoreInvoices();
    void anAccidentalInvoiceCanBeTakenBack();
    void showInvoiceByNumber();
    void selectingAids();
    void clearingLines();
    void unknownCodeKeepsTheAmount();
    void coPayment();

private:
    void addInvoices(int year, std::initializer_list<int> numbers);
    void restart();
    RecordSet& invoices() { return m_shop->session->invoices(); }
    QString field(QStringView name) { return invoices().field(name).toString(); }

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<InvoiceCommands> m_commands;
};

void TestInvoiceCommands::init()
{
    m_shop = std::make_unique<ShopFixture>();
    restart();
}

void TestInvoiceCommands::cleanup()
{
    m_commands.reset();
    m_shop.reset();
}

void TestInvoiceCommands::restart()
{
    m_commands.reset();
    QVERIFY(m_shop->restart());
    m_commands = std::make_unique<InvoiceCommands>(*m_shop->session, m_shop->services());
}

void TestInvoiceCommands::addInvoices(int year, std::initializer_list<int> numbers)
{
    Database db(schema::kInvoiceFile);
    for (int n : numbers)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (God, Rnbr) VALUES (?, ?)"), {year, n}));
}

void TestInvoiceCommands::numberingFollowsTheHighestOfTheYear()
{
    addInvoices(26, {2, 5});     // invoice 1 came with the start
    addInvoices(25, {900});      // last year's do not count
    restart();
    QVERIFY(m_commands->newInvoice());
    QCOMPARE(field(u"Rnbr"), QStringLiteral("6"));
    QCOMPARE(invoices().current(), invoices().rowCount() - 1);

    // A deleted last invoice leaves its number free again.
    {
        Database db(schema::kInvoiceFile);
        QVERIFY(db.exec(QStringLiteral("DELETE FROM Rn WHERE God = 26 AND Rnbr = 6")));
    }
    restart();
    QVERIFY(m_commands->newInvoice());
    QCOMPARE(field(u"Rnbr"), QStringLiteral("6"));
}

void TestInvoiceCommands::newInvoiceIsDatedTodayForTheMainOffice()
{
    QVERIFY(invoices().setField(u"Pu", QStringLiteral("Split")));
    QVERIFY(invoices().setField(u"Prezime", QStringLiteral("Babić")));
    QVERIFY(m_shop->session->generalData().setField(u"Podrured", QStringLiteral("Osijek")));
    QVERIFY(m_commands->newInvoice());
    QCOMPARE(field(u"Rnbr"), QStringLiteral("2"));
    QCOMPARE(field(u"Pu"), QStringLiteral("Osijek"));
    for (const char16_t* date : {u"Datum", u"Datumnar", u"DatumIzdavanja"})
        QCOMPARE(field(date), QStringLiteral("2026-12-07"));
    QVERIFY(invoices().field(u"Prezime").isNull());
    // The invoice that was left was saved.
    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE Rnbr = 1")).toString(), QStringLiteral("Babić"));
}

void TestInvoiceCommands::fullYearTakesNoMoreInvoices()
{
    addInvoices(26, {32767});
    restart();
    const int before = invoices().rowCount();
    QVERIFY(!m_commands->newInvoice());
    QCOMPARE(invoices().rowCount(), before);
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("32767")));
}

void TestInvoiceCommands::anAccidentalInvoiceCanBeTakenBack()
{
    // The year's only invoice stays.
    QVERIFY(!m_commands->removeBlankLastInvoice());
    QCOMPARE(invoices().rowCount(), 1);

    QVERIFY(invoices().setField(u"Prezime", QStringLiteral("Babić")));
    QVERIFY(m_commands->newInvoice());
    QCOMPARE(field(u"Rnbr"), QStringLiteral("2"));
    // A click on Cancel keeps it.
    m_shop->dialogs.answer(false);
    QVERIFY(!m_commands->removeBlankLastInvoice());
    QCOMPARE(invoices().rowCount(), 2);
    m_shop->dialogs.answer(true);
    QVERIFY(m_commands->removeBlankLastInvoice());
    QCOMPARE(invoices().rowCount(), 1);
    QCOMPARE(field(u"Rnbr"), QStringLiteral("1"));
    QCOMPARE(field(u"Prezime"), QStringLiteral("Babić"));
    {
        Database db(schema::kInvoiceFile);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE God = 26")).toInt(), 1);
    }
    // The number is given again: no gap.
    QVERIFY(m_commands->newInvoice());
    QCOMPARE(field(u"Rnbr"), QStringLiteral("2"));

    // Anything typed that matters keeps it, even from another invoice's view.
    for (const char16_t* typed : {u"Broj", u"Ime", u"Brosig2", u"Pom1"}) {
        QVERIFY(invoices().setField(typed, QStringLiteral("1")));
        QVERIFY(invoices().setCurrent(0));
        m_shop->dialogs.setFallback(true);
        m_shop->dialogs.clear();
        QVERIFY(!m_commands->removeBlankLastInvoice());
        QCOMPARE(invoices().rowCount(), 2);
        QVERIFY(m_shop->dialogs.messages().value(0).startsWith(QStringLiteral("Račun broj 2 nije prazan")));
        QVERIFY(invoices().moveLast());
        QVERIFY(invoices().setField(typed, QVariant()));
    }
    // A note or a date alone does not.
    QVERIFY(invoices().setField(u"Opaska", QStringLiteral("greška")));
    QVERIFY(m_commands->removeBlankLastInvoice());
    QCOMPARE(invoices().rowCount(), 1);
}

void TestInvoiceCommands::showInvoiceByNumber()
{
    addInvoices(26, {2, 12});
    restart();
    m_shop->dialogs.answer(QStringLiteral("12a"));
    m_commands->showInvoiceByNumber();
    QCOMPARE(field(u"Rnbr"), QStringLiteral("12"));

    QVERIFY(invoices().setCurrent(0));
    m_shop->dialogs.answer(QStringLiteral("7"));
    m_commands->showInvoiceByNumber();
    QCOMPARE(invoices().current(), invoices().rowCount() - 1);
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Račun broj 7 ne postoji!"));

    m_shop->dialogs.answer(QStringLiteral("abc"));
    m_commands->showInvoiceByNumber();
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Račun broj abc ne postoji!"));

    QVERIFY(invoices().setCurrent(0));
    m_shop->dialogs.answer(QString()); // Cancel
    m_commands->showInvoiceByNumber();
    QCOMPARE(invoices().current(), 0);
    QCOMPARE(m_shop->dialogs.shown().back().title, QStringLiteral("IZBOR RAČUNA"));
}

void TestInvoiceCommands::selectingAids()
{
    for (int i = 0; i < 3; ++i)
        m_commands->selectAid(kLenses);
    QCOMPARE(field(u"Pom1"), kLenses);
    QCOMPARE(field(u"Kol1"), QStringLiteral("3"));
    QCOMPARE(invoices().field(u"Iznos").toDouble(), 37.50 + 1.88);

    m_commands->selectAid(kSunglasses);
    QCOMPARE(field(u"Pom2"), kSunglasses);
    QCOMPARE(invoices().field(u"Iznos").toDouble(), 37.50 + 1.88 + 56.25);

    // A gap is filled first; a fifth different code changes nothing.
    m_commands->clearLine(2);
    QVERIFY(invoices().setField(u"Pom3", QStringLiteral("2103060102001")));
    QVERIFY(invoices().setField(u"Kol3", 1));
    m_commands->selectAid(kSunglasses);
    QCOMPARE(field(u"Pom2"), kSunglasses);
    QVERIFY(invoices().setField(u"Pom4", QStringLiteral("2103060201001")));
    QVERIFY(invoices().setField(u"Kol4", 1));
    m_commands->selectAid(QStringLiteral("2103060301001"));
    for (int line = 1; line <= 4; ++line)
        QVERIFY(field(QStringLiteral("Pom%1").arg(line)) != QStringLiteral("2103060301001"));
    QVERIFY(invoices().field(u"Pom5").isNull());

    m_commands->selectAid(QString());
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Molim najprije označite pomagalo u tablici!"));
}

void TestInvoiceCommands::clearingLines()
{
    m_commands->selectAid(kLenses);
    m_commands->selectAid(kSunglasses);
    QVERIFY(invoices().setField(u"Proizv", QStringLiteral("P-1")));
    m_commands->clearLine(2);
    QCOMPARE(field(u"Proizv"), QStringLiteral("P-1"));
    QCOMPARE(field(u"Kol2"), QStringLiteral("0"));
    QCOMPARE(invoices().field(u"Iznos").toDouble(), 13.13);
    m_commands->clearLine(1);
    QVERIFY(field(u"Pom1").isEmpty() && field(u"Proizv").isEmpty());
    QCOMPARE(invoices().field(u"Iznos").toDouble(), 0.0);
}

void TestInvoiceCommands::unknownCodeKeepsTheAmount()
{
    m_commands->selectAid(kLenses);
    QVERIFY(invoices().setField(u"Pom2", QStringLiteral("9999999999999")));
    QVERIFY(!m_commands->recompute());
    QCOMPARE(m_shop->dialogs.messages().last(),
             QStringLiteral("Šifra 9999999999999 nije upisana u popisu kelmorin! Molim najprije upišite tu šifru u popis kelmorin!"));
    QCOMPARE(invoices().field(u"Iznos").toDouble(), 13.13);
}

void TestInvoiceCommands::coPayment()
{
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    QVERIFY(invoices().setField(u"Iznos", 100.0));
    m_commands->showCoPayment();
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Pacijent plaća 20,00 €"));
    QVERIFY(invoices().setField(u"Dop", true));
    m_commands->showCoPayment();
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Pacijent ne plaća sudjelovanje!"));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestInvoiceCommands)
#include "tst_invoice_commands.moc"
