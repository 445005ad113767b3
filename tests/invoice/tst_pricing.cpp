#include "data/database.h"
#include "data/schema.h"
#include "data/pricing.h"
#include "support/record_maps.h"
#include "support/temp_folder.h"

#include <QTest>

using namespace pricing;

namespace {

// An invoice with one aid line.
InvoiceRecord oneLine(const QString& code, int quantity, bool exempt = false, bool supplementary = false)
{
    return recordmaps::invoice({{"Pom1", code}, {"Kol1", quantity}, {"Osl", exempt}, {"Dop", supplementary}});
}

} // namespace

class TestPricing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void lineRounding_data();
    void lineRounding();
    void everyPriceEndingIn49RoundsUp();
    void invoiceAmountFromBothLists();
    void unknownCodeStops();
    void oneListRuleForEveryDocument();
    void columnsByPosition();
    void failedListIsAFailure();
    void aPriceNoListMayHoldStopsEveryDocument();
    void coPaymentLimits_data();
    void coPaymentLimits();
    void coPaymentText();
    void variantsSideBySide_data();
    void variantsSideBySide();

private:
    // A database file of the test folder with the lists every case prices from.
    static std::unique_ptr<Database> withLists(const QString& file);

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Database> m_db; // shared by the cases that only read it
};

std::unique_ptr<Database> TestPricing::withLists(const QString& file)
{
    auto db = std::make_unique<Database>(file, Database::Mode::Create);
    const bool ok = schema::createInvoiceDatabase(*db) && db->exec(QStringLiteral(
        "INSERT INTO OrtopedskaKelmorinISO (Sifra, Cijena, PDV) VALUES "
        "('2103031412001', 10, 25), ('2103060101001', 33.335, 5), ('2103060101001', 1, 5), ('2103060101120', 120, 5), "
        "('2103031412007', 7, 5), ('2103060101049', 10.0049, 5), ('2103060103000', 3000, 5), ('2103060101011', 10.11, 5), "
        "('2103060110', 4.5, 5)"))
        && db->exec(QStringLiteral("INSERT INTO KelmorinISO (Sifra, Cijena, PDV) VALUES ('210306010101', 20, 5)"));
    return ok ? std::move(db) : nullptr;
}

void TestPricing::initTestCase()
{
    m_folder = std::make_unique<TempFolder>();
    m_db = withLists(schema::kInvoiceFile);
    QVERIFY(m_db);
}

void TestPricing::lineRounding_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("net");
    QTest::addColumn<double>("vat");
    QTest::newRow("10.00 at 25 %") << 10.0 << 1 << 25.0 << 10.0 << 2.50;
    QTest::newRow("33.335") << 33.335 << 1 << 5.0 << 33.34 << 1.67;
    QTest::newRow("remainder .49 rounds up") << 0.123449 << 100 << 5.0 << 12.35 << 0.62;
    QTest::newRow("10.0049 is 10.01") << 10.0049 << 1 << 5.0 << 10.01 << 0.50;
    QTest::newRow("12.3449 is 12.35") << 12.3449 << 1 << 25.0 << 12.35 << 3.09;
    QTest::newRow("below .49 stays") << 12.3448 << 1 << 25.0 << 12.34 << 3.09;
    QTest::newRow("cm2 price") << 0.0425 << 280 << 5.0 << 11.90 << 0.60;
    QTest::newRow("zero quantity") << 45.0 << 0 << 25.0 << 0.0 << 0.0;
}

void TestPricing::lineRounding()
{
    QFETCH(double, price);
    QFETCH(int, quantity);
    QFETCH(double, rate);
    QFETCH(double, net);
    QFETCH(double, vat);
    const LineAmount a = line(price, quantity, rate);
    QCOMPARE(a.net, net);
    QCOMPARE(a.vat, vat);
}

void TestPricing::everyPriceEndingIn49RoundsUp()
{
    // Every price of four decimals whose last two are 49, in quantities 1
    // to 3: the amount in cents is (ten-thousandths * quantity + 51) / 100
    // cut to a whole number.
    int wrong = 0;
    QString first;
    for (qint64 tenThousandths = 49; tenThousandths < 2'000'000; tenThousandths += 100) {
        for (int quantity = 1; quantity <= 3; ++quantity) {
            const qint64 cents = (tenThousandths * quantity + 51) / 100;
            const double price = double(tenThousandths) / 10000;
            if (line(price, quantity, 0).net != double(cents) / 100) {
                if (wrong++ == 0)
                    first = QString::number(price, 'f', 4) + QStringLiteral(" x ") + QString::number(quantity);
            }
        }
    }
    QVERIFY2(wrong == 0, qPrintable(QString::number(wrong) + QStringLiteral(" wrong, first ") + first));
}

void TestPricing::invoiceAmountFromBothLists()
{
    // The first row of a repeated code counts; an empty line is skipped.
    InvoiceRecord invoice = recordmaps::invoice({{"Pom1", "2103031412001"}, {"Kol1", 1}, {"Kol2", 5},
                                                 {"Pom3", "2103060101001"}, {"Kol3", 1}, {"Pom4", "210306010101"},
                                                 {"Kol4", 2}, {"Pom5", "2103099999999"}, {"Kol5", 1}});
    const Priced p = price(*m_db, invoice, Document::Amount);
    QVERIFY(p.ok());
    QCOMPARE(p.total, 12.50 + 35.01 + 42.00);
    QCOMPARE(price(*m_db, InvoiceRecord{}, Document::Amount).total, 0.0);
}

void TestPricing::unknownCodeStops()
{
    // The 13-character code is not looked up in the 12-character list.
    const Priced p = price(*m_db, recordmaps::invoice({{"Pom1", "2103031412001"}, {"Kol1", 1},
                                                       {"Pom2", "2103060101019"}, {"Kol2", 1}}),
                           Document::Amount);
    QCOMPARE(p.unknownCode, QStringLiteral("2103060101019"));
    QVERIFY(p.error.isEmpty());
    QVERIFY(!find(*m_db, QStringLiteral("2103060101'; DROP TABLE Rn; --")).aid);
    QVERIFY(m_db->hasTable(QStringLiteral("Rn")));
    QCOMPARE(unknownCodeMessage(QStringLiteral("X1")),
             QStringLiteral("Šifra X1 nije upisana u popisu kelmorin! Molim najprije upišite tu šifru u popis kelmorin!"));
}

void TestPricing::oneListRuleForEveryDocument()
{
    QCOMPARE(listOf(u"210306010101"), List::Old12);
    QCOMPARE(listOf(u"2103060101001"), List::New13);
    QCOMPARE(listOf(u"2103060110"), List::New13);
    QCOMPARE(listOf(u"21030601"), List::New13);
    // A ten-character code of the current list is priced alike by every document.
    const InvoiceRecord invoice = oneLine(QStringLiteral("2103060110"), 2);
    for (Document d : {Document::Amount, Document::ConfirmationForm, Document::Invoice, Document::FundFile,
                       Document::Bookkeeping}) {
        const Priced p = price(*m_db, invoice, d);
        QVERIFY2(p.ok(), qPrintable(p.unknownCode));
        QCOMPARE(p.net, 9.0);
    }
}

void TestPricing::columnsByPosition()
{
    // A list from an upgrade package names its columns otherwise; only the
    // positions count.
    const std::unique_ptr<Database> db = withLists(QStringLiteral("preimenovani.mdb"));
    QVERIFY(db);
    QVERIFY(db->exec(QStringLiteral("ALTER TABLE KelmorinISO RENAME COLUMN ISO TO Klasa")));
    QVERIFY(db->exec(QStringLiteral("ALTER TABLE KelmorinISO RENAME COLUMN Naziv TO NazivPomagala")));
    QVERIFY(db->exec(QStringLiteral("UPDATE KelmorinISO SET Klasa = '22 03 06', NazivPomagala = 'Leća'")));
    const Lookup found = find(*db, QStringLiteral("210306010101"));
    QVERIFY(found.aid);
    QCOMPARE(found.aid->iso.toString(), QStringLiteral("22 03 06"));
    QCOMPARE(found.aid->name, QStringLiteral("Leća"));
    QCOMPARE(found.aid->price, 20.0);
}

void TestPricing::failedListIsAFailure()
{
    // A list that cannot be read is not a code that is missing.
    const std::unique_ptr<Database> db = withLists(QStringLiteral("bez_popisa.mdb"));
    QVERIFY(db);
    QVERIFY(db->exec(QStringLiteral("ALTER TABLE KelmorinISO RENAME TO KelmorinISOStaro")));
    const Lookup found = find(*db, QStringLiteral("210306010101"));
    QVERIFY(found.failed());
    const Priced p = price(*db, oneLine(QStringLiteral("210306010101"), 1), Document::FundFile);
    QVERIFY(!p.ok());
    QVERIFY(p.unknownCode.isEmpty());
    QVERIFY(!p.error.isEmpty());
}

void TestPricing::aPriceNoListMayHoldStopsEveryDocument()
{
    // What an unchecked grid once let in: a negative price, a price of
    // 10^15, an infinite one, an infinite rate.
    QVERIFY(m_db->exec(QStringLiteral(
        "INSERT INTO OrtopedskaKelmorinISO (Sifra, Cijena, PDV) VALUES "
        "('2103069900001', -45, 5), ('2103069900002', 1e15, 5), ('2103069900003', 9e999, 5), ('2103069900004', 10, 9e999), "
        "('2103069900005', 1000000, 5), ('2103069900006', 999999.9999, 25)")));
    for (const char* code : {"2103069900001", "2103069900002", "2103069900003", "2103069900004", "2103069900005"}) {
        for (const Document document : {Document::Amount, Document::ConfirmationForm, Document::Invoice, Document::FundFile,
                                        Document::Bookkeeping}) {
            const Priced priced = price(*m_db, oneLine(QLatin1String(code), 1), document);
            QVERIFY2(!priced.ok() && priced.error.contains(QLatin1String(code)), code);
            QVERIFY(priced.lines.empty());
        }
        Catalogue catalogue(*m_db);
        const Lookup found = catalogue.find(QLatin1String(code));
        QVERIFY(found.failed() && !found.aid);
    }
    const Priced highest = price(*m_db, oneLine(QStringLiteral("2103069900006"), 1), Document::FundFile);
    QVERIFY(highest.ok());
    QCOMPARE(highest.total, 1250000.0);
}

void TestPricing::coPaymentLimits_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("patientPays");
    QTest::newRow("below 8.83: all") << 8.82 << 8.82;
    QTest::newRow("8.83") << 8.83 << 8.83;
    QTest::newRow("40.00: at least 8.83") << 40.0 << 8.83;
    QTest::newRow("100.00: 20 %") << 100.0 << 20.0;
    QTest::newRow("1000.00") << 1000.0 << 200.0;
    QTest::newRow("cap") << 3000.0 << 530.88;
    QTest::newRow("zero") << 0.0 << 0.0;
}

void TestPricing::coPaymentLimits()
{
    QFETCH(double, total);
    QFETCH(double, patientPays);
    QCOMPARE(coPayment(total, CoPaymentForm::Screen).amount, patientPays);
}

void TestPricing::coPaymentText()
{
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    QCOMPARE(pricing::coPaymentText(100.0, false, false), QStringLiteral("Pacijent plaća 20,00 €"));
    QCOMPARE(pricing::coPaymentText(100.0, true, false), QStringLiteral("Pacijent ne plaća sudjelovanje!"));
    QCOMPARE(pricing::coPaymentText(100.0, false, true), QStringLiteral("Pacijent ne plaća sudjelovanje!"));
    QLocale::setDefault(QLocale::c());
}

// The same invoices as each document shows them: the amount of the entry
// tab and its co-payment, the confirmation form (slots 49 and 50), the
// invoices (their total, slots 49, 52 and 50), the fund's file (fields
// 11 to 14) and the bookkeeping copy's VAT.
void TestPricing::variantsSideBySide_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<bool>("exempt");
    QTest::addColumn<bool>("supplementary");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("screen");
    QTest::addColumn<double>("formShown");
    QTest::addColumn<double>("formFund");
    QTest::addColumn<double>("invoiceTotal");
    QTest::addColumn<double>("invoice49");
    QTest::addColumn<double>("invoice52");
    QTest::addColumn<double>("invoiceFund");
    QTest::addColumn<double>("fileP");
    QTest::addColumn<double>("fileS");
    QTest::addColumn<double>("fileB");
    QTest::addColumn<double>("bookkeepingVat");
    const QString basic = QStringLiteral("2103060101120"); // 120.00 at 5 %
    //                                                         Iznos   screen  form            invoices                         file                      bookkeeping
    QTest::newRow("20 %") << basic << 1 << false << false << 126.0 << 25.20 << 25.20 << 100.80 << 126.0 << 25.20 << 0.0 << 100.80 << 25.20 << 0.0 << 100.80 << 6.00;
    QTest::newRow("supplementary") << basic << 1 << false << true << 126.0 << 0.0 << 25.20 << 100.80 << 126.0 << 0.0 << 25.20 << 100.80 << 0.0 << 25.20 << 100.80 << 6.00;
    QTest::newRow("exempt and supplementary") << basic << 1 << true << true << 126.0 << 0.0 << 0.0 << 126.0 << 126.0 << 0.0 << 25.20 << 100.80 << 0.0 << 25.20 << 126.0 << 6.00;
    QTest::newRow("sunglasses at 25 % on the invoices") << "2103031412007" << 1 << false << false << 7.35 << 7.35 << 7.35 << 0.0 << 8.75 << 8.75 << 0.0 << 0.0 << 7.35 << 0.0 << 0.0 << 0.35;
    QTest::newRow("10.0049 is 10.01") << "2103060101049" << 1 << false << false << 10.51 << 8.83 << 8.83 << 1.68 << 10.51 << 8.83 << 0.0 << 1.68 << 8.83 << 0.0 << 1.68 << 0.50;
    QTest::newRow("capped") << "2103060103000" << 1 << false << false << 3150.0 << 530.88 << 530.88 << 2619.12 << 3150.0 << 530.88 << 0.0 << 2619.12 << 530.88 << 0.0 << 2619.12 << 150.0;
    QTest::newRow("VAT per piece in the copy") << "2103060101011" << 3 << false << false << 31.85 << 8.83 << 8.83 << 23.02 << 31.85 << 8.83 << 0.0 << 23.02 << 8.83 << 0.0 << 23.02 << 1.53;
}

void TestPricing::variantsSideBySide()
{
    QFETCH(QString, code);
    QFETCH(int, quantity);
    QFETCH(bool, exempt);
    QFETCH(bool, supplementary);
    const InvoiceRecord invoice = oneLine(code, quantity, exempt, supplementary);

    const Priced amount = price(*m_db, invoice, Document::Amount);
    QTEST(amount.total, "amount");
    const CoPayment screen = coPayment(amount.total, CoPaymentForm::Screen);
    QTEST(exempt || supplementary ? 0.0 : screen.amount, "screen");

    const Priced form = price(*m_db, invoice, Document::ConfirmationForm);
    const FormShares formShares = pricing::formShares(amount.total, form.vatSum, exempt);
    QTEST(formShares.shown, "formShown");
    QTEST(formShares.fund, "formFund");

    const Priced printed = price(*m_db, invoice, Document::Invoice);
    QTEST(printed.total, "invoiceTotal");
    const Shares shares = invoiceShares(printed.total, printed.vat, exempt, supplementary);
    QTEST(shares.coPayment, "invoice49");
    QTEST(shares.supplementary, "invoice52");
    QTEST(shares.basic, "invoiceFund");

    const Priced file = price(*m_db, invoice, Document::FundFile);
    const FileShares fileShares = pricing::fileShares(file.total, file.vat, exempt, supplementary);
    QTEST(fileShares.coPayment, "fileP");
    QTEST(fileShares.supplementary, "fileS");
    QTEST(fileShares.basic, "fileB");

    const VatByRate vat = bookkeepingVat(price(*m_db, invoice, Document::Bookkeeping));
    QFETCH(double, bookkeepingVat);
    QVERIFY(qFuzzyCompare(vat.vat5 + vat.vat25, float(bookkeepingVat)));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestPricing)
#include "tst_pricing.moc"
