#include "data/database.h"
#include "data/schema.h"
#include "invoice/amounts.h"
#include "support/temp_folder.h"

#include <QTest>

using namespace amounts;

class TestAmounts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void lineRounding_data();
    void lineRounding();
    void invoiceAmountFromBothLists();
    void unknownCodeStops();
    void coPaymentLimits_data();
    void coPaymentLimits();
    void coPaymentText();

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Database> m_db;
};

void TestAmounts::initTestCase()
{
    m_folder = std::make_unique<TempFolder>();
    m_db = std::make_unique<Database>(schema::kInvoiceFile, Database::Mode::Create);
    QVERIFY(schema::createInvoiceDatabase(*m_db));
    QVERIFY(m_db->exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Sifra, Cijena, PDV) VALUES "
                                      "('2103031412001', 10, 25), ('2103060101001', 33.335, 5), ('2103060101001', 1, 5)")));
    QVERIFY(m_db->exec(QStringLiteral("INSERT INTO KelmorinISO (Sifra, Cijena, PDV) VALUES ('210306010101', 20, 5)")));
}

void TestAmounts::lineRounding_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("net");
    QTest::addColumn<double>("vat");
    QTest::newRow("10.00 at 25 %") << 10.0 << 1 << 25.0 << 10.0 << 2.50;
    QTest::newRow("33.335") << 33.335 << 1 << 5.0 << 33.34 << 1.67;
    QTest::newRow("remainder .49 rounds up") << 0.123449 << 100 << 5.0 << 12.35 << 0.62;
    QTest::newRow("cm2 price") << 0.0425 << 280 << 5.0 << 11.90 << 0.60;
    QTest::newRow("zero quantity") << 45.0 << 0 << 25.0 << 0.0 << 0.0;
}

void TestAmounts::lineRounding()
{
    QFETCH(double, price);
    QFETCH(int, quantity);
    QFETCH(double, rate);
    QFETCH(double, net);
    QFETCH(double, vat);
    QCOMPARE(lineNet(price, quantity), net);
    QCOMPARE(lineVat(lineNet(price, quantity), rate), vat);
}

void TestAmounts::invoiceAmountFromBothLists()
{
    // 12.50 + (33.34 + 1.67) * ... : the first row of a repeated code counts.
    const Result r = compute(*m_db, {{QStringLiteral("2103031412001"), 1}, {QString(), 5},
                                     {QStringLiteral("2103060101001"), 1}, {QStringLiteral("210306010101"), 2}});
    QVERIFY(r.amount);
    QCOMPARE(*r.amount, 12.50 + 35.01 + 42.00);
    QCOMPARE(compute(*m_db, {}).amount, std::optional<double>(0.0));
}

void TestAmounts::unknownCodeStops()
{
    // The 13-character code is not looked up in the 12-character list.
    const Result r = compute(*m_db, {{QStringLiteral("2103031412001"), 1}, {QStringLiteral("2103060101019"), 1}});
    QVERIFY(!r.amount);
    QCOMPARE(r.unknownCode, QStringLiteral("2103060101019"));
    QVERIFY(!lookUp(*m_db, QStringLiteral("2103060101'; DROP TABLE Rn; --")));
    QVERIFY(m_db->hasTable(QStringLiteral("Rn")));
    QCOMPARE(unknownCodeMessage(QStringLiteral("X1")),
             QStringLiteral("Šifra X1 nije upisana u popisu kelmorin! Molim najprije upišite tu šifru u popis kelmorin!"));
}

void TestAmounts::coPaymentLimits_data()
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

void TestAmounts::coPaymentLimits()
{
    QFETCH(double, total);
    QFETCH(double, patientPays);
    QCOMPARE(coPayment(total), patientPays);
}

void TestAmounts::coPaymentText()
{
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    QCOMPARE(amounts::coPaymentText(100.0, false, false), QStringLiteral("Pacijent plaća 20,00 €"));
    QCOMPARE(amounts::coPaymentText(100.0, true, false), QStringLiteral("Pacijent ne plaća sudjelovanje!"));
    QCOMPARE(amounts::coPaymentText(100.0, false, true), QStringLiteral("Pacijent ne plaća sudjelovanje!"));
}

QTEST_GUILESS_MAIN(TestAmounts)
#include "tst_amounts.moc"
