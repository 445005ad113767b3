#include "common/scripted_dialogs.h"
#include "common/formats.h"
#include "data/database.h"
#include "data/schema.h"
#include "submission/submission_checks.h"
#include "submission/submission_records.h"
#include "data/pricing.h"
#include "support/record_maps.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace submission;

namespace {

// Invoices and general data as the tests write them down, by field name.
Invoice invoiceFrom(const QVariantMap& fields) { return recordmaps::invoice(fields); }
Supplier supplierFrom(const QVariantMap& fields) { return submission::supplierFrom(recordmaps::general(fields)); }

} // namespace

class TestSubmissionFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void theWorkedExampleByteForByte();
    void recordFields();
    void sharesAndLimits_data();
    void sharesAndLimits();
    void checksAndTheirMessages();
    void olderFileIsMovedAside();
    void amountsAsThePatternWritesThem();

private:
    QVariantMap example() const;
    QVariantMap supplier() const;
    // The file's fields of an invoice given by the fields of its row.
    QString record(const QVariantMap& invoice, const QVariantMap& general)
    {
        const Invoice i = invoiceFrom(invoice);
        return record60(i, supplierFrom(general), compute(*m_db, i));
    }
    QStringList fieldsOf(const QString& record) const { return record.split(u':'); }

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Database> m_db;
};

void TestSubmissionFile::initTestCase()
{
    m_folder = std::make_unique<TempFolder>();
    m_db = std::make_unique<Database>(schema::kInvoiceFile, Database::Mode::Create);
    QVERIFY(schema::createInvoiceDatabase(*m_db));
    QVERIFY(m_db->exec(QStringLiteral("INSERT INTO KelmorinISO (Sifra, Cijena, PDV) VALUES ('210306140103', 120, 5)")));
    QVERIFY(m_db->exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Sifra, Cijena, PDV) VALUES "
                                      "('2103060101001', 8.4, 5), ('2103031412001', 10, 25)")));
}

QVariantMap TestSubmissionFile::supplier() const
{
    return {{"Sifra", "123456789"}, {"SifraMalopr", ""}, {"Naziv", "OPTIKA"}, {"Prostor", "P1"}, {"Operater", "2"},
            {"God", 2024}, {"Oznosn", ""}, {"Ozndop", ""}};
}

QVariantMap TestSubmissionFile::example() const
{
    return {{"Rnbr", 15}, {"Datum", "2024-12-04"}, {"Datumnar", "2024-12-01"}, {"DatumIzdavanja", "2024-12-04"},
            {"Broj", "082/00123456"}, {"Brosig1", "082"}, {"Brosig2", "00123456"}, {"Pom1", "210306140103"},
            {"Kol1", 1}, {"Osl", 0}, {"Dop", 0}, {"Dopunsko", QVariant()}, {"Brbolesnlist", QVariant()},
            {"Drz", QVariant()}};
}

void TestSubmissionFile::theWorkedExampleByteForByte()
{
    const Invoice invoice = invoiceFrom(example());
    const Computed c = compute(*m_db, invoice);
    QCOMPARE(record60(invoice, supplierFrom(supplier()), c),
             QStringLiteral("60:123456789:OPTIKA:82/00123456:04.12.2024:4:01.12.2024:::126.00:25.20:0.00:0.00:100.80:4.80:"
                            "00123456:082:::::0.00:0.00:15-P1-2-24:10055::::04.12.2024:::EUR:"));
    QCOMPARE(records61(invoice, c),
             QStringList{QStringLiteral("61:82/00123456:04.12.2024:210306140103:1.00:126.00:::::::")});
    QCOMPARE(fileName(supplierFrom(supplier()).code, QStringLiteral("114"), 7, QStringLiteral("04.12.2024")),
             QStringLiteral("1234567891140007.O24"));
}

void TestSubmissionFile::recordFields()
{
    QVariantMap general = supplier();
    general["Naziv"] = QString(60, u'Č');
    general["SifraMalopr"] = "87654321"; // eight characters: the contract code stands
    general["Ozndop"] = "D";
    QVariantMap i = example();
    i["Broj"] = "1234567890123";
    i["Dop"] = 1;
    i["Dopunsko"] = "1234";
    i["Brosig1"] = "";
    i["Brosig2"] = "123456789";
    i["Drz"] = "SVN";
    i["Brbolesnlist"] = "77";
    i["DatumIzdavanja"] = "2024-12-05"; // after the invoice date
    i["Kol1"] = 2;
    Computed c = compute(*m_db, invoiceFrom(i));
    QStringList f = fieldsOf(record(i, general));
    QCOMPARE(f.size(), 33); // 32 fields, each ended by a colon
    QCOMPARE(f[1], QStringLiteral("123456789"));
    QCOMPARE(f[2], QString(45, u'Č'));
    QCOMPARE(f[3], QString());
    QCOMPARE(f[7], QStringLiteral("15-P1-2-24D"));
    QCOMPARE(f[8], QStringLiteral("00001234"));
    QCOMPARE(f[9], QStringLiteral("252.00"));
    QCOMPARE(f[10], QStringLiteral("0.00"));  // the supplementary insurance pays
    QCOMPARE(f[11], QStringLiteral("50.40"));
    QCOMPARE(f[12], QStringLiteral("2.40"));
    QCOMPARE(f[13], QStringLiteral("201.60"));
    QCOMPARE(f[14], QStringLiteral("9.60"));
    QCOMPARE(f.mid(15, 5), (QStringList{"", "", "123456789", "77", "SVN"}));
    QCOMPARE(f[24], QStringLiteral("13004"));
    QCOMPARE(f[25], QStringLiteral("11201"));
    QCOMPARE(f[26], QStringLiteral("1234567890123"));
    QCOMPARE(f[28], QStringLiteral("04.12.2024"));
    QCOMPARE(records61(invoiceFrom(i), c), QStringList{QStringLiteral("61::04.12.2024:210306140103:2.00:252.00::1234567890123:::::")});

    general["SifraMalopr"] = "987654321";
    i["Broj"] = "0082/0012345";
    i["Drz"] = "HR";
    i["DatumIzdavanja"] = QVariant();
    i["Osl"] = 1;
    i["Dop"] = 0;
    f = fieldsOf(record(i, general));
    QCOMPARE(f[1], QStringLiteral("987654321"));
    QCOMPARE(f[3], QStringLiteral("82/0012345"));
    QCOMPARE(f[7], QString());
    QCOMPARE(f[13], QStringLiteral("252.00")); // exempt: the fund pays all
    QCOMPARE(f[14], QStringLiteral("12.00"));
    QCOMPARE(f[24], QStringLiteral("10055"));
    QCOMPARE(f[25], QString());
    QCOMPARE(f[28], QStringLiteral("04.12.2024"));

    // Aids in lines 5 to 7 only are not sent: an invoice of 0.00 without lines.
    QVariantMap late = example();
    late["Pom1"] = "";
    late["Pom5"] = "210306140103";
    late["Dop"] = 1;
    c = compute(*m_db, invoiceFrom(late));
    f = fieldsOf(record(late, general));
    QCOMPARE(f.mid(9, 6), (QStringList{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"}));
    QVERIFY(records61(invoiceFrom(late), c).isEmpty());

    QVariantMap unknown = example();
    unknown["Pom2"] = "2103099999999";
    unknown["Kol2"] = 1;
    QCOMPARE(compute(*m_db, invoiceFrom(unknown)).unknownCode, QStringLiteral("2103099999999"));
}

void TestSubmissionFile::sharesAndLimits_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("coPayment");
    QTest::addColumn<QString>("basic");
    // 8.4 at 5 %: 8.82, whose 20 % (1.76) is below 1.7661: the patient pays all.
    QTest::newRow("small") << 8.4 << 5.0 << "8.82" << "8.82" << "0.00";
    QTest::newRow("exactly 8.83") << 8.83 << 0.0 << "8.83" << "8.83" << "0.00";
    QTest::newRow("raised") << 40.0 << 0.0 << "40.00" << "8.83" << "31.17";
    QTest::newRow("capped") << 3000.0 << 0.0 << "3000.00" << "530.88" << "2469.12";
}

void TestSubmissionFile::sharesAndLimits()
{
    QFETCH(double, price);
    QFETCH(double, rate);
    m_db->exec(QStringLiteral("UPDATE OrtopedskaKelmorinISO SET Cijena = ?, PDV = ? WHERE Sifra = '2103060101001'"),
               {price, rate});
    QVariantMap i = example();
    i["Pom1"] = "2103060101001";
    const QStringList f = fieldsOf(record(i, supplier()));
    QTEST(f[9], "total");
    QTEST(f[10], "coPayment");
    QTEST(f[13], "basic");
    // Amounts as the file writes them, whole cents or not.
    for (double v : {0.0, -0.5, 0.005, 2.675, 4.8000001907348633, 1234567.891, -12.345, 1e-9})
        QCOMPARE(amount(v), format::number(v, u"0.00", QLocale::c()));
    QCOMPARE(pricing::coPayment(8.83, pricing::CoPaymentForm::FundFile).share, 8.83);
    QCOMPARE(pricing::coPayment(8.80, pricing::CoPaymentForm::FundFile).share, 8.80);
}

void TestSubmissionFile::checksAndTheirMessages()
{
    ScriptedDialogs dialogs;
    QVERIFY(!kindOfAidsIsValid(recordmaps::general({{"Vrsta", "6"}})));
    QVERIFY(kindOfAidsIsValid(recordmaps::general({{"Vrsta", "4"}})));

    QVariantMap late = example();
    late["Datumnar"] = "2024-11-01"; // 33 days before the billing
    QVariantMap odd = example();
    odd["Rnbr"] = 16;
    odd["Broj"] = "082/00123a56";
    odd["Brosig2"] = "1234";
    dialogs.answer(false);
    QVERIFY(!checkInvoices({invoiceFrom(late), invoiceFrom(odd)}, dialogs));
    QCOMPARE(dialogs.messages(), QStringList{QStringLiteral(
        "Datum obračuna je više od 30 dana veći od datuma narudžbe  kod računa s rednim br. 15 (program će ipak nastaviti dalje)")});
    QCOMPARE(dialogs.shown().back().title, QStringLiteral("Pronađene moguće greške"));
    QCOMPARE(dialogs.shown().back().text,
             QStringLiteral("Neispravno upisan broj potvrde 082/00123a56  kod računa br. 16\r\n"
                            "Neispravno upisan broj osigurane osobe 1234 kod računa br. 16\r\n\r\nŽelite li nastaviti?"));
    dialogs.answer(true);
    QVERIFY(checkInvoices({invoiceFrom(odd)}, dialogs));

    QVariantMap wrong = example();
    wrong["Broj"] = "12345";
    dialogs.clear();
    QVERIFY(!checkInvoices({invoiceFrom(example()), invoiceFrom(wrong)}, dialogs));
    QCOMPARE(dialogs.messages().last(),
             QStringLiteral("Neispravno upisan broj potvrde kod računa s rednim br. 15 (12345).\r\nMora biti u formatu "
                            "xxx/xxxxxxxxx ili 14 znamenkasti broj. Molim ispravite ili ga isključite sa diskete!"));
    QVariantMap reversed = example();
    reversed["Datumnar"] = "2024-12-05";
    QVERIFY(!checkInvoices({invoiceFrom(reversed)}, dialogs));
    QCOMPARE(dialogs.messages().last(), QStringLiteral("Datum obračuna ne smije biti manji od datuma narudžbe  kod računa s "
                                                       "rednim br. 15\r\nMolim ispravite ili ga isključite sa diskete!"));

    // A code without a quantity would reach the fund as ":.00:".
    QVariantMap noQuantity = example();
    noQuantity["Rnbr"] = 17;
    noQuantity["Kol1"] = QVariant();
    QVERIFY(!checkInvoices({invoiceFrom(example()), invoiceFrom(noQuantity)}, dialogs));
    QCOMPARE(dialogs.messages().last(), QStringLiteral("Nije upisana količina kelmorin 210306140103 kod računa s rednim br. 17"
                                                       "\r\nMolim ispravite ili ga isključite sa diskete!"));
    noQuantity["Kol1"] = "";
    QVERIFY(!compute(*m_db, invoiceFrom(noQuantity)).ok());
    // Nothing, part of a piece, a negative or an impossible count are no
    // quantity the fund can be billed for.
    for (const char* quantity : {"0", "2.5", "-3", "99999"}) {
        noQuantity["Kol1"] = quantity;
        QVERIFY(!checkInvoices({invoiceFrom(noQuantity)}, dialogs));
        QVERIFY(dialogs.messages().last().contains(QStringLiteral("kod računa s rednim br. 17 mora biti cijeli broj")));
    }
    noQuantity["Kol1"] = "2";
    QVERIFY(checkInvoices({invoiceFrom(noQuantity)}, dialogs));
}

void TestSubmissionFile::olderFileIsMovedAside()
{
    const QString name = QStringLiteral("1234567891140007.O24");
    QFile file(QDir::current().filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("staro");
    file.close();
    const QString aside = moveAside(QDir::currentPath(), name, QDateTime(QDate(2024, 12, 4), QTime(13, 5, 9)));
    QCOMPARE(aside, QStringLiteral("1234567891140007041224130509.O24"));
    QVERIFY(!QFile::exists(name));
    QVERIFY(QFile::exists(aside));
    QCOMPARE(moveAside(QDir::currentPath(), name, QDateTime::currentDateTime()), QString());
}

// The file writes amounts of whole cents without the pattern parser; the
// single-precision VAT shares (20.53 is 20.530000686...) and amounts at a
// half cent must still come out as the pattern "0.00" writes them.
void TestSubmissionFile::amountsAsThePatternWritesThem()
{
    QList<double> values = {0, -0.0, 0.004, -0.004, 0.005, -0.005, 12.345, 2.675, 1e10 + 0.125, 99999999999.99, 1e11,
                            123456789012.5, -20.53, 1e15};
    for (int cents = -300; cents < 300000; cents += 7) {
        values << cents / 100.0 << double(float(cents / 100.0)) << double(float(cents) / 100.0f) << cents / 100.0 + 0.0049
               << cents / 100.0 + 0.0051;
    }
    for (double v : values)
        QCOMPARE(submission::amount(v), format::number(v, u"0.00", QLocale::c()));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestSubmissionFile)
#include "tst_submission_file.moc"
