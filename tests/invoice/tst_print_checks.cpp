#include "common/scripted_dialogs.h"
#include "invoice/print_checks.h"

#include <QTest>

using namespace printchecks;

namespace {

// An invoice that passes every check.
InvoiceRecord good()
{
    InvoiceRecord f;
    f.confirmation = QStringLiteral("12345678901234");
    f.surname = QStringLiteral("Horvat");
    f.firstName = QStringLiteral("Ivan");
    f.insuredSecond = QStringLiteral("123456789");
    f.ordered = QDate(2024, 3, 1);
    f.billed = QDate(2024, 3, 31);
    return f;
}

QStringList messagesOf(const std::vector<Check>& sequence, const InvoiceRecord& f, Print print, bool* wentOn)
{
    ScriptedDialogs dialogs;
    *wentOn = run(sequence, f, print, dialogs);
    return dialogs.messages();
}

} // namespace

class TestPrintChecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aGoodInvoicePassesBoth();
    void eachCheck_data();
    void eachCheck();
    void thirtyDaysPassThirtyOneWarn();
    void sequencesDifferWhereTheFormsDo();
};

void TestPrintChecks::aGoodInvoicePassesBoth()
{
    bool wentOn = false;
    QVERIFY(messagesOf(confirmationFormSequence(), good(), Print::ConfirmationForm, &wentOn).isEmpty());
    QVERIFY(wentOn);
    QVERIFY(messagesOf(invoiceSequence(), good(), Print::Invoice, &wentOn).isEmpty());
    QVERIFY(wentOn);
}

void TestPrintChecks::eachCheck_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("formMessage");    // empty: the form's print passes
    QTest::addColumn<QString>("invoiceMessage"); // empty: the invoice's print passes
    const QString insured = QStringLiteral("Molim upišite broj osigurane osobe ili MBO!");
    QTest::newRow("no surname") << "surname" << "" << "Molim upišite ime i prezime pacijenta!" << "";
    QTest::newRow("no confirmation") << "confirmation" << "" << "" << "Molim upišite broj potvrde!";
    QTest::newRow("hyphen in confirmation") << "confirmation" << "082-00123456" << ""
                                            << "Neispravno upisan broj potvrde 082-00123456\r\nMolim ispravite!";
    QTest::newRow("slash form") << "confirmation" << "082/00123456" << "" << "";
    QTest::newRow("eight-digit health number") << "second" << "12345678" << "Neispravno upisan broj osigurane osobe ili MB!"
                                               << "Neispravno upisan broj osigurane osobe ili MB!";
    QTest::newRow("no insured number") << "second" << "" << "Molim upišite broj osigurane osobe ili matični broj!" << insured;
    QTest::newRow("country without sick list") << "country" << "HRV"
                                               << "Polja broj bol. lista i država moraju biti popunjena samo kod konvencija s "
                                                  "bolesničkim listom ili oba prazna kod svih ostalih. Molim ispravite!"
                                               << "";
    QTest::newRow("two-letter country") << "convention" << "HR"
                                        << "Šifra države mora imati 3 slova i strogo je određena (pogledati Opcije-Šifrarnici). Molim ispravite!"
                                        << "Šifra države mora imati 3 slova i strogo je određena (pogledati Opcije-Šifrarnici). Molim ispravite!";
    QTest::newRow("convention patient") << "convention" << "HRV" << "" << "";
    QTest::newRow("order after billing") << "ordered" << "2024-04-01"
                                         << "Datum obračuna ne smije biti manji od datuma narudžbe! Molim ispravite!"
                                         << "Datum obračuna ne smije biti manji od datuma narudžbe! Molim ispravite!";
    // A stored date that does not exist stops both prints, naming the field,
    // rather than print an empty date and skip the order check.
    const QString noDate = QStringLiteral("Račun s rednim br. 7: polje Datumnar sadrži datum koji ne postoji (2026-02-30).\r\nMolim ispravite!");
    QTest::newRow("30 February") << "unreadable" << "2026-02-30" << noDate << noDate;
    // The fund's rule for quantities holds on paper too: whole pieces, 1 to 9999.
    const auto quantity = [](const char* typed) -> QString {
        return QStringLiteral("Količina kelmorin 123456 kod računa s rednim br. 7 mora biti cijeli broj od 1 do 9999 (upisano: ")
            + QLatin1String(typed) + QStringLiteral(").\r\nMolim ispravite!");
    };
    for (const char* typed : {"2.5", "2,5", "0", "-2", "99999"})
        QTest::newRow(typed) << "quantity" << typed << quantity(typed) << quantity(typed);
    QTest::newRow("no quantity") << "quantity" << " "
                                 << "Nije upisana količina kelmorin 123456 kod računa s rednim br. 7\r\nMolim ispravite!"
                                 << "Nije upisana količina kelmorin 123456 kod računa s rednim br. 7\r\nMolim ispravite!";
    QTest::newRow("9999 pieces") << "quantity" << "9999" << "" << "";
}

void TestPrintChecks::eachCheck()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, formMessage);
    QFETCH(QString, invoiceMessage);
    InvoiceRecord f = good();
    if (field == u"surname")
        f.surname = value;
    else if (field == u"confirmation")
        f.confirmation = value;
    else if (field == u"second")
        f.insuredSecond = value;
    else if (field == u"country")
        f.country = value;
    else if (field == u"convention") {
        // A patient insured abroad: sick list and country, no insured number.
        f.sickList = QStringLiteral("BL-77");
        f.country = value;
        f.insuredSecond.clear();
    } else if (field == u"ordered")
        f.ordered = QDate::fromString(value, Qt::ISODate);
    f.number = 7;
    if (field == u"unreadable") {
        f.ordered = QDate();
        f.unreadableDate = QStringLiteral("Datumnar");
        f.unreadableDateText = value;
    } else if (field == u"quantity") {
        f.aids[0] = {QStringLiteral("123456"), value};
    }

    bool wentOn = false;
    QCOMPARE(messagesOf(confirmationFormSequence(), f, Print::ConfirmationForm, &wentOn),
             formMessage.isEmpty() ? QStringList{} : QStringList{formMessage});
    QCOMPARE(wentOn, formMessage.isEmpty());
    QCOMPARE(messagesOf(invoiceSequence(), f, Print::Invoice, &wentOn),
             invoiceMessage.isEmpty() ? QStringList{} : QStringList{invoiceMessage});
    QCOMPARE(wentOn, invoiceMessage.isEmpty());
}

void TestPrintChecks::thirtyDaysPassThirtyOneWarn()
{
    InvoiceRecord f = good(); // 01.03. to 31.03.: 30 days
    bool wentOn = false;
    QVERIFY(messagesOf(invoiceSequence(), f, Print::Invoice, &wentOn).isEmpty());
    f.billed = QDate(2024, 4, 1);
    const QStringList invoice = messagesOf(invoiceSequence(), f, Print::Invoice, &wentOn);
    QVERIFY(wentOn);
    QCOMPARE(invoice, QStringList{QStringLiteral("Datum obračuna može biti maksimalno 30 dana veći od datuma narudžbe! "
                                                 "Molim ispravite (račun će se ipak isprintati)!")});
    const QStringList form = messagesOf(confirmationFormSequence(), f, Print::ConfirmationForm, &wentOn);
    QVERIFY(wentOn);
    QVERIFY(form.first().endsWith(QStringLiteral("(program će ipak nastaviti s ispisom)!")));

    // A warning does not hide a later stop.
    f.confirmation = QStringLiteral("12a");
    QCOMPARE(messagesOf(invoiceSequence(), f, Print::Invoice, &wentOn).size(), 2);
    QVERIFY(!wentOn);
}

void TestPrintChecks::sequencesDifferWhereTheFormsDo()
{
    // Three-digit first part and a short second part: no form test at all.
    InvoiceRecord f = good();
    f.insuredFirst = QStringLiteral("082");
    f.insuredSecond = QStringLiteral("1234");
    bool wentOn = false;
    QVERIFY(messagesOf(invoiceSequence(), f, Print::Invoice, &wentOn).isEmpty());
    QVERIFY(messagesOf(confirmationFormSequence(), f, Print::ConfirmationForm, &wentOn).isEmpty());

    // The first failing check is the only one shown.
    f = InvoiceRecord{};
    QCOMPARE(messagesOf(invoiceSequence(), f, Print::Invoice, &wentOn), QStringList{QStringLiteral("Molim upišite broj potvrde!")});
    QCOMPARE(messagesOf(confirmationFormSequence(), f, Print::ConfirmationForm, &wentOn),
             QStringList{QStringLiteral("Molim upišite ime i prezime pacijenta!")});
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestPrintChecks)
#include "tst_print_checks.moc"
