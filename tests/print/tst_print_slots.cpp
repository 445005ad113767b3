#include "data/database.h"
#include "data/schema.h"
#include "print/bookkeeping_print.h"
#include "print/invoice_slots.h"
#include "print/prescription_slots.h"
#include "common/formats.h"
#include "data/pricing.h"
#include "support/record_maps.h"
#include "support/temp_folder.h"

#include <QTest>

using invoiceslots::Kind;

namespace {

// The fields of an invoice and of the general data by name.
struct Maps {
    QVariantMap invoice, general;
    operator invoiceslots::Sources() const { return {recordmaps::invoice(invoice), recordmaps::general(general)}; }
};

} // namespace

class TestPrintSlots : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void invoiceCoPayment_data();
    void invoiceCoPayment();
    void invoiceLinesAndVat();
    void invoiceNumberAndTitle();
    void invoiceHeaderAndUnknownCode();

    void formCoPayment_data();
    void formCoPayment();
    void formLines();

    void bookkeepingRatio();

private:
    // An invoice of 2024 with one aid of the given price (VAT 5 %, quantity 1).
    Maps invoiceOf(double price, bool exempt = false, bool supplementary = false);
    QString priced(double price);

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<pricing::Catalogue> m_catalogue;
    int m_codes = 0;
};

void TestPrintSlots::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    m_folder = std::make_unique<TempFolder>();
    m_db = std::make_unique<Database>(schema::kInvoiceFile, Database::Mode::Create);
    QVERIFY(schema::createInvoiceDatabase(*m_db));
    m_catalogue = std::make_unique<pricing::Catalogue>(*m_db);
    QVERIFY(m_db->exec(QStringLiteral(
        "INSERT INTO OrtopedskaKelmorinISO (Sifra, Naziv, ISO, Cijena, PDV) VALUES "
        "('2103031412001', 'Sunčane naočale s dioptrijom', '22 03 06', 10, 25),"
        "('2103060101001', 'Sferna leća', NULL, 10.0049, 5),"
        "('0624030101001', 'Ortopedski uložak po mjeri izrađen prema otisku stopala, obloga', NULL, 12.34, 25),"
        "('2103060110', 'Leća s kratkom šifrom', NULL, 4.5, 5)")));
    QVERIFY(m_db->exec(QStringLiteral("INSERT INTO KelmorinISO (Sifra, Naziv, Cijena, PDV) VALUES ('210306010101', 'Stara leća', 12.34, 25)")));
}

QString TestPrintSlots::priced(double price)
{
    const QString code = QStringLiteral("99%1").arg(++m_codes, 11, 10, QLatin1Char('0'));
    m_db->exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Sifra, Naziv, Cijena, PDV) VALUES (?, 'Pomagalo', ?, 5)"),
               {code, price});
    return code;
}

Maps TestPrintSlots::invoiceOf(double total, bool exempt, bool supplementary)
{
    // A price whose 5 % VAT makes the total: price * 1.05 = total.
    Maps s;
    s.invoice = {{"Rnbr", 15}, {"Pom1", priced(total / 1.05)}, {"Kol1", 1}, {"Osl", exempt}, {"Dop", supplementary},
                 {"Iznos", total}, {"Broj", "12"}, {"Datum", "2024-03-31"}, {"Datumnar", "2024-03-01"},
                 {"DatumIzdavanja", "2024-04-02"}, {"Ime", "Ana"}, {"Prezime", "Horvat"}, {"Brosig1", ""},
                 {"Brosig2", "123456789"}};
    s.general = {{"God", 2024}, {"Prostor", "PP1"}, {"Operater", "2"}, {"Oznosn", "A"}, {"Ozndop", "B"},
                 {"RacunR", "1"}, {"Mjesto", "Zagreb"}, {"Matbr", "01234567"}};
    return s;
}

void TestPrintSlots::invoiceCoPayment_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<bool>("exempt");
    QTest::addColumn<bool>("supplementary");
    QTest::addColumn<QString>("slot49");
    QTest::addColumn<QString>("slot50");
    QTest::addColumn<QString>("slot52");
    QTest::addColumn<QString>("slot47");
    QTest::addColumn<QString>("slot86"); // the fund's share in kuna at 7.5345 kn for 1 €
    QTest::newRow("raised to the minimum") << 40.0 << false << false << "8,83" << "31,17" << "0,00" << "40,00" << "(234,85 kn)";
    QTest::newRow("patient pays all") << 8.0 << false << false << "8,00" << "0,00" << "0,00" << "8,00" << "(0,00 kn)";
    QTest::newRow("20 %") << 100.0 << false << false << "20,00" << "80,00" << "0,00" << "100,00" << "(602,76 kn)";
    QTest::newRow("capped") << 5000.0 << false << false << "530,88" << "4469,12" << "0,00" << "5000,00" << "(33672,58 kn)";
    QTest::newRow("exempt") << 100.0 << true << false << "0,00" << "100,00" << "0,00" << "100,00" << "(753,45 kn)";
    QTest::newRow("supplementary") << 100.0 << false << true << "20,00" << "80,00" << "20,00" << "100,00" << "(602,76 kn)";
}

void TestPrintSlots::invoiceCoPayment()
{
    QFETCH(double, total);
    QFETCH(bool, exempt);
    QFETCH(bool, supplementary);
    const invoiceslots::Result r = invoiceslots::fill(*m_catalogue, invoiceOf(total, exempt, supplementary), Kind::Basic, QTime(9, 5, 7));
    QVERIFY(r.unknownCode.isEmpty());
    QTEST(r.values.text(47), "slot47");
    QTEST(r.values.text(49), "slot49");
    QTEST(r.values.text(50), "slot50");
    QTEST(r.values.text(52), "slot52");
    QTEST(r.values.text(86), "slot86");
    // The fund's VAT is the whole VAT for an exempt patient, otherwise its share.
    const double vat = total - total / 1.05;
    QVERIFY(std::abs(r.fundVat - (exempt ? vat : vat * r.fundAmount / total)) < 0.011);
}

void TestPrintSlots::invoiceLinesAndVat()
{
    Maps s = invoiceOf(10);
    s.invoice["Pom1"] = "2103060101001";
    s.invoice["Kol1"] = 2;
    s.invoice["Pom2"] = "2103031412001";
    s.invoice["Kol2"] = 1;
    s.invoice["Pom3"] = "2103031412001";
    s.invoice["Kol3"] = 0; // no quantity: out of the totals
    const invoiceslots::Result r = invoiceslots::fill(*m_catalogue, s, Kind::Basic, QTime(9, 0));
    // 2 x 10.0049 at 5 %: net Int(2000.98 + 0.51) / 100 = 20.01, VAT Int(100.049 + 0.51) / 100 = 1.00.
    QCOMPARE(r.values.text(40), QStringLiteral("21,01"));
    QCOMPARE(r.values.text(33), QStringLiteral("10,0049"));
    QCOMPARE(r.values.text(88), QStringLiteral(" 5%"));
    // Sunglasses with a dioptre carry 25 %; every amount has two decimals.
    QCOMPARE(r.values.text(41), QStringLiteral("12,50"));
    QCOMPARE(r.values.text(89), QStringLiteral(" 25%"));
    QCOMPARE(r.values.text(20), QStringLiteral("Sunčane naočale s dioptrijom"));
    QCOMPARE(r.values.text(27), QStringLiteral("1"));
    QCOMPARE(r.values.text(28), QString());
    QCOMPARE(r.values.text(47), QStringLiteral("33,51"));
    QCOMPARE(r.values.text(62), QStringLiteral("22 03 06")); // the ISO class beside the code
    QCOMPARE(r.values.text(61), QString());
}

void TestPrintSlots::invoiceNumberAndTitle()
{
    Maps s = invoiceOf(100);
    QCOMPARE(invoiceslots::numberText(s, Kind::Basic), QStringLiteral("15-PP1-2-24A"));
    QCOMPARE(invoiceslots::title(s, Kind::Basic), QStringLiteral("Račun R-1 br. 15-PP1-2-24A"));
    QCOMPARE(invoiceslots::title(s, Kind::Supplementary), QStringLiteral("Račun R-1 br. 15-PP1-2-24B"));
    s.general["RacunR"] = "";
    s.general["Matbr"] = "01234567890";
    QCOMPARE(invoiceslots::title(s, Kind::Basic), QStringLiteral("Račun R-2 br. 15-PP1-2-24A"));
    s.general["Matbr"] = "01234567";
    QCOMPARE(invoiceslots::title(s, Kind::Basic), QStringLiteral("Račun R-1 br. 15-PP1-2-24A"));

    // Kind 1 shows the VAT of the co-payment, with its kuna equivalent.
    s.invoice["Dop"] = true;
    const invoiceslots::Result r = invoiceslots::fill(*m_catalogue, s, Kind::Supplementary, QTime(9, 5, 7));
    QCOMPARE(r.values.text(11), QStringLiteral("15-PP1-2-24B"));
    // The invoice's VAT is 4,76 € (100 - 100 / 1.05 to the cent); the
    // co-payment of 20,00 € bears a fifth of it, 0.952 €, 7.1728 kn.
    QCOMPARE(r.values.text(51), QStringLiteral("0,95"));
    QCOMPARE(r.values.text(87), QStringLiteral("(7,17 kn)"));
    QCOMPARE(r.values.text(72), QStringLiteral("RAČUN ZA DOPUNSKO"));
    QCOMPARE(r.values.text(74), QStringLiteral("5. Iznos na teret dopunskog zdravstvenog osiguranja"));
}

void TestPrintSlots::invoiceHeaderAndUnknownCode()
{
    Maps s = invoiceOf(100);
    s.general["Podrured"] = "Zagreb";
    s.general["Mjestopodrur"] = "Zagreb";
    s.general["Ulicapodrur"] = "Branimirova 37";
    s.invoice["Pu"] = "Split";
    invoiceslots::Result r = invoiceslots::fill(*m_catalogue, s, Kind::Basic, QTime(9, 5, 7));
    QCOMPARE(r.values.text(0), QStringLiteral("Split"));
    QCOMPARE(r.values.text(2), QStringLiteral("Obala Kneza Branimira 14"));
    QCOMPARE(r.values.text(4), QStringLiteral(" 12")); // two characters: one blank before
    QCOMPARE(r.values.text(54), QStringLiteral("Zagreb, 31.03.2024.   u 09:05:07"));
    QCOMPARE(r.values.text(53), QStringLiteral("01.03.2024."));
    QCOMPARE(r.values.text(76), QStringLiteral("Br. osig. ili MBO:  123456789"));
    s.invoice["Pu"] = "";
    r = invoiceslots::fill(*m_catalogue, s, Kind::Basic, QTime(9, 5, 7));
    QCOMPARE(r.values.text(2), QStringLiteral("Branimirova 37"));

    s.invoice["Pom5"] = "2103099999999";
    s.invoice["Kol5"] = 1;
    r = invoiceslots::fill(*m_catalogue, s, Kind::Basic, QTime(9, 5, 7));
    QCOMPARE(r.unknownCode, QStringLiteral("2103099999999"));
}

void TestPrintSlots::formCoPayment_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<bool>("exempt");
    QTest::addColumn<QString>("slot49");
    QTest::addColumn<QString>("slot50");
    QTest::newRow("20 %") << 100.0 << false << "20,00" << "80,00";
    QTest::newRow("patient pays all") << 8.0 << false << "8,00" << "0,00";
    QTest::newRow("raised to the minimum") << 30.0 << false << "8,83" << "21,17";
    QTest::newRow("capped") << 3000.0 << false << "530,88" << "2.469,12";
    QTest::newRow("exempt") << 100.0 << true << "" << "100,00";
    QTest::newRow("nothing to share") << 0.0 << false << "0,00" << "0,00";
}

void TestPrintSlots::formCoPayment()
{
    QFETCH(double, amount);
    QFETCH(bool, exempt);
    Maps s = invoiceOf(amount == 0 ? 1 : amount, exempt);
    s.invoice["Iznos"] = amount;
    const prescriptionslots::Result r = prescriptionslots::fill(*m_catalogue, s, QTime(9, 5, 7));
    QTEST(r.values.text(49), "slot49");
    QTEST(r.values.text(50), "slot50");
    if (amount == 0)
        QCOMPARE(r.values.text(52), QStringLiteral("0,00"));
}

void TestPrintSlots::formLines()
{
    Maps s = invoiceOf(100);
    s.invoice["Pom1"] = "";
    s.invoice["Pom3"] = "0624030101001";
    s.invoice["Kol3"] = 3;
    s.invoice["Iznos"] = 46.28;
    const prescriptionslots::Result r = prescriptionslots::fill(*m_catalogue, s, QTime(9, 5, 7));
    // Line 3 fills slots 13, 19/20, 25, 29, 33 and 37; lines 1 and 2 stay empty.
    QCOMPARE(r.values.text(13), QStringLiteral("0624030101001"));
    QCOMPARE(r.values.text(19), QStringLiteral("Ortopedski uložak po mjeri izr"));
    QCOMPARE(r.values.text(20), QStringLiteral("ađen prema otisku stopala, obloga"));
    QCOMPARE(r.values.text(25), QStringLiteral("3"));
    QCOMPARE(r.values.text(29), QStringLiteral("12,34"));
    QCOMPARE(r.values.text(33), QStringLiteral("25"));
    // 3 x 12.34: N = 37.02, T = Int(925.5 + 0.51) / 100 = 9.26.
    QCOMPARE(r.values.text(37), QStringLiteral("46,28"));
    QCOMPARE(r.values.text(11), QString());
    // A round price and amount keep two decimals; a price of more keeps them.
    {
        Maps round = invoiceOf(100);
        round.invoice["Pom1"] = "2103031412001"; // 10 at 25 %
        round.invoice["Kol1"] = 2;
        const prescriptionslots::Result r2 = prescriptionslots::fill(*m_catalogue, round, QTime(9, 5, 7));
        QCOMPARE(r2.values.text(27), QStringLiteral("10,00"));
        QCOMPARE(r2.values.text(35), QStringLiteral("25,00"));
        round.invoice["Pom1"] = "2103060101001"; // 10.0049
        QCOMPARE(prescriptionslots::fill(*m_catalogue, round, QTime(9, 5, 7)).values.text(27), QStringLiteral("10,0049"));
    }
    QCOMPARE(r.values.text(15), QString());
    QCOMPARE(r.values.text(6), QStringLiteral("15-PP1-2-24A"));
    QCOMPARE(r.values.text(55), QStringLiteral("Zagreb, 31.03.2024.   u 09:05:07"));
    // A ten-character code is in the current list for the form as for the
    // invoices.
    s.invoice["Pom1"] = "2103060110";
    s.invoice["Kol1"] = 1;
    const prescriptionslots::Result tenCharacters = prescriptionslots::fill(*m_catalogue, s, QTime(9, 5, 7));
    QVERIFY2(tenCharacters.unknownCode.isEmpty(), qPrintable(tenCharacters.unknownCode));
    QCOMPARE(tenCharacters.values.text(11), QStringLiteral("2103060110"));
    QVERIFY(invoiceslots::fill(*m_catalogue, s, Kind::Basic, QTime(9, 5, 7)).unknownCode.isEmpty());
    QCOMPARE(prescriptionslots::captions().size(), 61);
    QCOMPARE(prescriptionslots::captions().at(16), QStringLiteral("Naziv isporučenog kelmorin 1/2"));
    QCOMPARE(prescriptionslots::captions().at(57), QStringLiteral("Šifra veličine obloge 1"));
}

void TestPrintSlots::bookkeepingRatio()
{
    QCOMPARE(pricing::bookkeepingRatio(100, false, false), 0.8f);
    QVERIFY(std::abs(pricing::bookkeepingRatio(3000, false, false) - 0.82304f) < 1e-5);
    QCOMPARE(pricing::bookkeepingRatio(100, true, false), 1.0f);
    QCOMPARE(pricing::bookkeepingRatio(100, false, true), 1.0f);
    QCOMPARE(pricing::bookkeepingRatio(40, false, false), (40.0f - 8.83f) / 40.0f);
    QVERIFY(pricing::patientPaysAll(8.82));
    QVERIFY(!pricing::patientPaysAll(8.83));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestPrintSlots)
#include "tst_print_slots.moc"
