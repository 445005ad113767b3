// The checks that stop an e-invoice before it is written, and what a
// document keeps from one run to the next.
#include "eracun/eracun_commands.h"
#include "eracun/eracun_run.h"
#include "eracun/kpd_commands.h"
#include "eracun/oib.h"
#include "eracun_shop.h"
#include "support/shop_fixture.h"

#include <QtTest>

namespace {

const QString kAid = QStringLiteral("2103060101001");      // 13 characters, 5 %
const QString kOldAid = QStringLiteral("210306010101");    // 12 characters

// Invoice `number` of 2026 with one aid line, marked "E".
bool addInvoice(Database& db, int number, const QString& code, bool supplementary = false)
{
    return db.exec(QStringLiteral("INSERT INTO Rn (God, Rnbr, Datum, Datumnar, DatumIzdavanja, Broj, Prezime, Ime, Brosig2, "
                                  "Osl, Dop, Pom1, Kol1, Izbor, Pu) VALUES (26, ?, ?, ?, ?, '30000000000123', 'Šimić', 'Đuro', "
                                  "'123456789', 0, ?, ?, 1, 'E', 'Split')"),
                   {number, QDate(2026, 12, 1), QDate(2026, 11, 30), QDate(2026, 12, 1), supplementary, code});
}

struct Shop {
    ShopFixture fixture{newfolder::Content::Demo};
    Database& db() { return fixture.session->database(); }
    QString out() const { return fixture.folder.file(QStringLiteral("izlaz")); }
    eracun::Run::Outcome write(int number, std::optional<eracun::Kind> kind = std::nullopt)
    {
        eracun::Run run(db(), fixture.clock);
        if (!run.load()) {
            eracun::Run::Outcome failed;
            failed.messages << run.error();
            return failed;
        }
        return run.writeInvoice(26, number, kind, out());
    }
};

} // namespace

namespace {

// The KPD code on the first line of invoice 77's e-invoice, or the run's
// messages when none was written.
QByteArray classificationOfInvoice77(Shop& shop)
{
    const eracun::Run::Outcome outcome = shop.write(77);
    if (!outcome.ok() || outcome.files.isEmpty())
        return outcome.messages.join(u'\n').toUtf8();
    QFile doc(outcome.files.first());
    if (!doc.open(QIODevice::ReadOnly))
        return {};
    const QByteArray xml = doc.readAll();
    const qsizetype at = xml.indexOf("listID=\"CG\">");
    return at < 0 ? QByteArray() : xml.mid(at + 12, 8);
}

} // namespace

class TestEracunChecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void oibCheckDigit_data()
    {
        QTest::addColumn<QString>("oib");
        QTest::addColumn<bool>("valid");
        QTest::newRow("the fund") << "02958272670" << true;
        QTest::newRow("the demo supplier") << "12345678903" << true;
        QTest::newRow("remainder 10 gives 0") << "11111111119" << true;
        QTest::newRow("wrong check digit") << "12345678901" << false;
        QTest::newRow("ten digits") << "1234567890" << false;
        QTest::newRow("twelve digits") << "123456789030" << false;
        QTest::newRow("a letter") << "1234567890A" << false;
        QTest::newRow("blanks") << " 2958272670 " << false;
        QTest::newRow("empty") << "" << false;
    }
    void oibCheckDigit()
    {
        QFETCH(QString, oib);
        QFETCH(bool, valid);
        QCOMPARE(oib::isValid(oib), valid);
    }

    // Each check stops the invoice with a message that names what to fix,
    // and nothing is written for it.
    void stoppingChecks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("supplier's OIB missing") << "UPDATE Opci SET OIB = NULL" << kAid << "Nije upisan OIB isporučitelja";
        QTest::newRow("supplier's OIB wrong") << "UPDATE Opci SET OIB = '12345678901'" << kAid
                                              << "OIB isporučitelja „12345678901“ nije ispravan";
        QTest::newRow("operator missing") << "UPDATE Opci SET EOperater = ''" << kAid
                                          << "Nije upisana oznaka operatera za eRačun";
        QTest::newRow("operator's OIB missing") << "UPDATE Opci SET EOIBOperatera = ''" << kAid
                                                << "Nije upisan OIB operatera za eRačun";
        QTest::newRow("operator's OIB wrong") << "UPDATE Opci SET EOIBOperatera = '69435151531'" << kAid
                                              << "OIB operatera za eRačun „69435151531“ nije ispravan";
        QTest::newRow("code without KPD") << "UPDATE Opci SET EKpd13 = NULL" << kAid
                                          << "Šifra 2103060101001 nema KPD oznaku";
        QTest::newRow("old list without KPD") << "UPDATE Opci SET EKpd12 = ''" << kOldAid
                                              << "Šifra 210306010101 nema KPD oznaku";
        QTest::newRow("KPD not a KPD code") << "UPDATE Opci SET EKpd13 = '4774'" << kAid
                                            << "KPD oznaka „4774“ šifre 2103060101001 nije ispravna";
        QTest::newRow("KPD not in KPD 2025") << "UPDATE Opci SET EKpd13 = '47.74.10'" << kAid
                                             << "KPD oznaka „47.74.10“ šifre 2103060101001 nije ispravna";
        QTest::newRow("blank in the premises mark") << "UPDATE Opci SET Prostor = 'P 1'" << kAid
                                                    << "Broj računa „77-P 1-1-261“ sadrži razmak";
        QTest::newRow("blank in the kind mark") << "UPDATE Opci SET Oznosn = '1 '" << kAid
                                                << "Broj računa „77-1-1-261 “ sadrži razmak";
        QTest::newRow("issued before e-invoices") << "UPDATE Rn SET DatumIzdavanja = '2025-12-31' WHERE Rnbr = 77" << kAid
                                                  << "prije 01.01.2026.";
        QTest::newRow("supplier without a name") << "UPDATE Opci SET Naziv = ' '" << kAid
                                                 << "Nije upisan naziv isporučitelja";
        // The invoice prices its lines 5 to 7, the fund's file does not: the
        // two would disagree.
        QTest::newRow("amounts differ from the fund's file")
            << "UPDATE Rn SET Pom5 = '2103060102001', Kol5 = 1 WHERE Rnbr = 77" << kAid
            << "Iznosi računa i datoteke za HZZO se razlikuju";
        // The fund's file takes the list's rate, the invoice its own.
        QTest::newRow("rate differs from the fund's file")
            << "UPDATE OrtopedskaKelmorinISO SET PDV = 13 WHERE Sifra = '2103060101001'" << kAid
            << "Iznosi računa i datoteke za HZZO se razlikuju";
        QTest::newRow("exempt and supplementary") << "UPDATE Rn SET Osl = 1, Dop = 1 WHERE Rnbr = 77" << kAid
                                                  << "i kao oslobođen sudjelovanja i kao dopunski osiguran";
        QTest::newRow("code not in the list") << "UPDATE Rn SET Pom1 = '9999999999999' WHERE Rnbr = 77" << kAid
                                              << "Šifra 9999999999999 nije upisana u popisu kelmorin";
    }
    void stoppingChecks()
    {
        QFETCH(QString, change);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, code));
        // The same invoice passes before the change.
        QVERIFY(addInvoice(shop.db(), 78, code));
        const eracun::Run::Outcome before = shop.write(78);
        QVERIFY2(before.ok(), qPrintable(before.messages.join(u'\n')));
        QCOMPARE(before.files.size(), 1);

        QVERIFY2(shop.db().exec(change), qPrintable(shop.db().error()));
        const eracun::Run::Outcome outcome = shop.write(77);
        QCOMPARE(outcome.files.size(), 0);
        QCOMPARE(outcome.messages.size(), 1);
        QVERIFY2(outcome.messages.first().startsWith(u"eRačun za račun br. 77 nije napravljen:"), qPrintable(outcome.messages.first()));
        QVERIFY2(outcome.messages.first().contains(expected), qPrintable(outcome.messages.first()));
        QCOMPARE(QDir(shop.out()).entryList({QStringLiteral("*77*")}, QDir::Files).size(), 0);
        // Nothing made, so no time kept.
        QVERIFY(shop.db().scalar(QStringLiteral("SELECT EVrijeme FROM Rn WHERE Rnbr = 77")).isNull());
    }

    // A line whose VAT the printed invoice and the fund's file round a cent
    // apart: the document is written with the file's amounts, and the user
    // is told by how much it differs from the printed invoice.
    void vatRoundingIsWrittenAndTold()
    {
        Shop shop;
        // 7 cm2 of lining at 0.0425 €: 0.2975 € is 0.30 € net; 5 % VAT of
        // 0.2975 € is 0.01 € on the printed invoice, of 0.30 € 0.02 € in the
        // file. The patient pays all: 0.31 € printed, 0.32 € in the file.
        QVERIFY(shop.db().exec(QStringLiteral("INSERT INTO Rn (God, Rnbr, Datum, DatumIzdavanja, Broj, Prezime, Ime, Osl, Dop, "
                                              "Pom1, Kol1, Izbor, Pu) VALUES (26, 77, '2026-12-01', '2026-12-01', "
                                              "'30000000000123', 'Šimić', 'Đuro', 0, 0, '0624030101001', 7, 'E', 'Split')")));
        const eracun::Run::Outcome outcome = shop.write(77);
        QVERIFY2(outcome.ok(), qPrintable(outcome.messages.join(u'\n')));
        QCOMPARE(outcome.files.size(), 1);
        QCOMPARE(outcome.differences.size(), 1);
        QCOMPARE(outcome.differences.first().left(outcome.differences.first().indexOf(QStringLiteral("). ")) + 2),
                 QString::fromUtf8("eRačun 77-1-1-261: PDV 0.02 € (na ispisanom računu 0.01 €), ukupno 0.32 € (na ispisanom "
                                   "računu 0.31 €), sudjelovanje 0.32 € (na ispisanom računu 0.31 €)."));
        QFile doc(outcome.files.first());
        QVERIFY(doc.open(QIODevice::ReadOnly));
        const QByteArray xml = doc.readAll();
        QVERIFY(xml.contains("<cbc:TaxInclusiveAmount currencyID=\"EUR\">0.32</cbc:TaxInclusiveAmount>"));
        QVERIFY(xml.contains("<cbc:PrepaidAmount currencyID=\"EUR\">0.32</cbc:PrepaidAmount>"));
        QVERIFY(xml.contains("<cbc:PayableAmount currencyID=\"EUR\">0.00</cbc:PayableAmount>"));

        // The window's command says so too.
        QVERIFY(shop.fixture.restart());
        eracun::Commands commands(*shop.fixture.session, shop.fixture.services());
        shop.fixture.dialogs.answer(QStringLiteral("E"));
        shop.fixture.dialogs.answer(QStringLiteral("izlaz"));
        commands.writeMarked();
        const QString summary = shop.fixture.dialogs.messages().value(0);
        QVERIFY2(summary.contains(u"Zapisano eRačuna: 1 (za 1 računa)"), qPrintable(summary));
        QVERIFY2(summary.contains(QString::fromUtf8("razlikuju se od ispisanog računa zbog zaokruživanja PDV-a: 1\r\n"
                                                    "eRačun 77-1-1-261: PDV 0.02 €")),
                 qPrintable(summary));
    }

    // A code's own KPD wins over its list's missing one.
    void classificationOfOneCode()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid));
        QVERIFY(shop.db().exec(QStringLiteral("UPDATE Opci SET EKpd13 = NULL")));
        QVERIFY(shop.db().exec(QStringLiteral("INSERT INTO EKpd (Sifra, KPD) VALUES (?, '47.78.09')"), {kAid}));
        const eracun::Run::Outcome outcome = shop.write(77);
        QVERIFY2(outcome.ok(), qPrintable(outcome.messages.join(u'\n')));
        QFile doc(outcome.files.value(0));
        QVERIFY(doc.open(QIODevice::ReadOnly));
        QVERIFY(doc.readAll().contains("<cbc:ItemClassificationCode listID=\"CG\">47.78.09</cbc:ItemClassificationCode>"));
    }

    // "KPD oznake šifri...": a code given its own KPD code carries it on the
    // e-invoice; a KPD code outside KPD 2025 and a code no list holds are
    // refused with the reason; cleared, the code carries its list's again.
    void ownKpdThroughTheCommand()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid));
        ScriptedDialogs& dialogs = shop.fixture.dialogs;
        eracun::KpdCommands kpd(shop.db(), dialogs);
        QCOMPARE(classificationOfInvoice77(shop), QByteArray("47.74.01")); // the list's

        // Set through the questions: the code, then its KPD code.
        dialogs.answer(kAid);
        dialogs.answer(QStringLiteral(" 32.50.41 "));
        QVERIFY(kpd.edit());
        QVERIFY(dialogs.shown().at(1).text.contains(u"KPD oznaka popisa šifri: 47.74.01"));
        QCOMPARE(classificationOfInvoice77(shop), QByteArray("32.50.41"));
        const auto listed = kpd.list();
        QVERIFY(listed && listed->size() == 1);
        QCOMPARE(listed->front().code, kAid);
        QCOMPARE(listed->front().kpd, QStringLiteral("32.50.41"));
        QCOMPARE(listed->front().listKpd, QStringLiteral("47.74.01"));
        QVERIFY(listed->front().name.contains(u"sferna leća"));

        // Refused: a KPD code not in KPD 2025, in another form, a code no
        // list holds. The code keeps what it had.
        for (const QString& wrong : {QStringLiteral("47.74.10"), QStringLiteral("477401"), QStringLiteral("47.74")}) {
            dialogs.clear();
            dialogs.answer(wrong);
            QVERIFY(!kpd.edit(kAid));
            QVERIFY2(dialogs.messages().value(0).contains(QStringLiteral("KPD oznaka „%1“ nije ispravna").arg(wrong)),
                     qPrintable(dialogs.messages().value(0)));
        }
        dialogs.clear();
        QVERIFY(!kpd.set(QStringLiteral("9999999999999"), QStringLiteral("47.74.02")));
        QVERIFY(dialogs.messages().value(0).contains(u"Šifra 9999999999999 nije upisana"));
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(*) FROM EKpd")).toInt(), 1);
        QCOMPARE(classificationOfInvoice77(shop), QByteArray("32.50.41"));

        // An empty answer clears it only when confirmed.
        dialogs.clear();
        dialogs.answer(QString());
        dialogs.answer(false);
        QVERIFY(!kpd.edit(kAid));
        QCOMPARE(classificationOfInvoice77(shop), QByteArray("32.50.41"));
        dialogs.answer(QString());
        dialogs.answer(true);
        QVERIFY(kpd.edit(kAid));
        QCOMPARE(classificationOfInvoice77(shop), QByteArray("47.74.01"));
        QVERIFY(shop.db().exec(QStringLiteral("UPDATE Opci SET EKpd13 = '47.74.03'")));
        QCOMPARE(classificationOfInvoice77(shop), QByteArray("47.74.03"));
        QVERIFY(kpd.list() && kpd.list()->empty());
    }

    // Beside each document written to a folder stands a page a person
    // reads (Pregled/<name>.html): the document's own content, escaped, in
    // the shop's number format. The exchange folder holds documents only.
    void pageToReadBesideTheDocument()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid));
        QVERIFY(shop.db().exec(QString::fromUtf8("UPDATE Rn SET Prezime = 'Babić & <Sinovi>' WHERE Rnbr = 77")));
        const eracun::Run::Outcome outcome = shop.write(77);
        QVERIFY(outcome.ok());
        QCOMPARE(outcome.views.size(), 1);
        QCOMPARE(QDir(shop.out()).entryList(QDir::Files), QStringList{QStringLiteral("eRacun-77-1-1-261.xml")});
        QCOMPARE(outcome.views.first(), QDir(shop.out()).absoluteFilePath(QStringLiteral("Pregled/eRacun-77-1-1-261.html")));
        QFile page(outcome.views.first());
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY(html.startsWith(u"<!DOCTYPE html>"));
        QVERIFY(html.contains(u"<h1>Račun br. 77-1-1-261</h1>"));
        QVERIFY(html.contains(u"Babić &amp; &lt;Sinovi&gt;"));
        QVERIFY(!html.contains(u"<Sinovi>"));
        QVERIFY(html.contains(u"<td>2103060101001</td>"));
        QVERIFY(html.contains(u"<td>47.74.01</td>"));
        QVERIFY(html.contains(u"01.12.2026."));
        QVERIFY(html.contains(u"Hrvatski zavod za zdravstveno osiguranje"));
        // One lens at 12.50 €, 5 % VAT 0.63 €, 13.13 € in all; the patient
        // pays the smallest co-payment, 8.83 €, the fund the rest, 4.30 €.
        QVERIFY(html.contains(u"<td class=\"n\">1</td><td>kom</td><td class=\"n\">12,50</td><td class=\"n\">5 %</td>"
                              u"<td class=\"n\">12,50</td>"));
        QVERIFY(html.contains(u"<th>PDV ukupno</th><td>0,63 EUR</td>"));
        QVERIFY(html.contains(u"<th>Ukupno s PDV-om</th><td>13,13 EUR</td>"));
        QVERIFY(html.contains(u"<th>Plaćeno ili na teret drugoga</th><td>8,83 EUR</td>"));
        QVERIFY(html.contains(u"<th>Za platiti</th><td>4,30 EUR</td>"));

        // "eRačun za HZZO..." offers the page and opens it in the browser.
        QVERIFY(shop.fixture.restart());
        eracun::Commands commands(*shop.fixture.session, shop.fixture.services());
        shop.fixture.dialogs.answer(QStringLiteral("izlaz"));
        shop.fixture.dialogs.answer(true);
        commands.writeCurrent();
        QVERIFY(!shop.fixture.platform.opened.isEmpty());
        for (const QString& opened : shop.fixture.platform.opened) {
            QVERIFY2(opened.endsWith(u".html") && opened.contains(u"/Pregled/"), qPrintable(opened));
            QVERIFY(QFile::exists(opened));
        }
    }

    // The kinds: the supplementary invoice only for a supplementary-insured
    // patient; the co-payment invoice to a patient is no e-invoice.
    void kindsAndNames()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid, false));
        QVERIFY(addInvoice(shop.db(), 79, kAid, true));
        eracun::Run::Outcome basic = shop.write(77);
        QVERIFY(basic.ok());
        QCOMPARE(QFileInfo(basic.files.value(0)).fileName(), QStringLiteral("eRacun-77-1-1-261.xml"));
        QCOMPARE(basic.files.size(), 1);
        const eracun::Run::Outcome both = shop.write(79);
        QVERIFY(both.ok());
        QCOMPARE(both.files.size(), 2);
        QCOMPARE(QFileInfo(both.files.value(1)).fileName(), QStringLiteral("eRacun-79-1-1-262.xml"));
        const eracun::Run::Outcome refused = shop.write(77, eracun::Kind::Supplementary);
        QVERIFY(!refused.ok());
        QVERIFY(refused.messages.first().contains(u"nema dopunsko osiguranje"));
    }

    // A second run, later, gives the same document: the issue time is the
    // time the first one was made.
    void secondRunGivesTheSameDocument()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid, true));
        shop.fixture.clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 41, 7, 500)));
        const eracun::Run::Outcome first = shop.write(77);
        QVERIFY(first.ok());
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT EVrijeme FROM Rn WHERE Rnbr = 77")).toString(), QStringLiteral("09:41:07"));
        QFile a(first.files.value(0)), b(first.files.value(1));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray basic = a.readAll(), supplementary = b.readAll();
        QVERIFY(basic.contains("<cbc:IssueTime>09:41:07</cbc:IssueTime>"));
        QVERIFY(basic.contains("<cbc:IssueDate>2026-12-01</cbc:IssueDate>"));
        QVERIFY(basic.contains("<cbc:DueDate>2026-12-31</cbc:DueDate>"));
        a.close();
        b.close();
        shop.fixture.clock.set(QDateTime(QDate(2026, 12, 9), QTime(17, 0)));
        const eracun::Run::Outcome second = shop.write(77);
        QVERIFY(second.ok());
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), basic);
        QCOMPARE(b.readAll(), supplementary);
        a.close();
        b.close();
        // The payment term is a setting of the general data.
        QVERIFY(shop.db().exec(QStringLiteral("UPDATE Opci SET ERokPlacanja = 15")));
        QVERIFY(shop.write(77).ok());
        QVERIFY(a.open(QIODevice::ReadOnly));
        const QByteArray basicAgain = a.readAll();
        QVERIFY(basicAgain.contains("<cbc:IssueTime>09:41:07</cbc:IssueTime>"));
        QVERIFY(basicAgain.contains("<cbc:DueDate>2026-12-16</cbc:DueDate>"));
    }

    // A folder that cannot be made is a failure with the reason; nothing
    // claims success.
    void unwritableFolder()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid));
        shop.fixture.folder.touch(QStringLiteral("izlaz")); // a file where the folder should be
        const eracun::Run::Outcome outcome = shop.write(77);
        QVERIFY(!outcome.ok());
        QCOMPARE(outcome.files.size(), 0);
        QCOMPARE(outcome.invoices, 0);
    }

    // The window's commands: the folder is asked for once and kept; the
    // marked invoices end with a summary naming the ones that failed.
    void commandsAskForTheFolderOnceAndSummarise()
    {
        Shop shop;
        QVERIFY(addInvoice(shop.db(), 77, kAid));
        QVERIFY(addInvoice(shop.db(), 78, kAid, true));
        QVERIFY(addInvoice(shop.db(), 80, QStringLiteral("9999999999999")));
        QVERIFY(shop.fixture.restart());
        eracun::Commands commands(*shop.fixture.session, shop.fixture.services());
        shop.fixture.dialogs.answer(QStringLiteral("E"));
        shop.fixture.dialogs.answer(QString::fromUtf8("moji eRačuni"));
        int calls = 0;
        commands.writeMarked([&calls](int done, int count) {
            ++calls;
            return done <= count;
        });
        QCOMPARE(calls, 3);
        const QStringList messages = shop.fixture.dialogs.messages();
        QVERIFY(!messages.isEmpty());
        QVERIFY2(messages.last().contains(u"Zapisano eRačuna: 3 (za 2 računa)"), qPrintable(messages.last()));
        QVERIFY2(messages.last().contains(u"eRačun za račun br. 80 nije napravljen"), qPrintable(messages.last()));
        const QString folder = shop.fixture.folder.file(QString::fromUtf8("moji eRačuni"));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3);
        // The next command asks only for the mark.
        shop.fixture.dialogs.answer(QStringLiteral("E"));
        commands.writeMarked();
        QVERIFY(shop.fixture.dialogs.messages().last().contains(QDir::toNativeSeparators(folder)));
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT EMapa FROM Opci")).toString(), folder);
    }
};

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestEracunChecks)
#include "tst_eracun_checks.moc"
