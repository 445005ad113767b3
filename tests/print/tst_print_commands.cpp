#include "data/session.h"
#include "data/pricing.h"
#include "invoice/invoice_commands.h"
#include "print/print_commands.h"
#include "print/print_target.h"
#include "support/recording_canvas.h"
#include "support/shop_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using Kind = invoiceslots::Kind;
using Outcome = PrintCommands::Outcome;

class TestPrintCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void invoicePrint();
    void invoiceRange();
    void confirmationFormPrint();
    void bookkeepingPrint();
    void textLandsWhereItShouldInThePdf();

private:
    RecordSet& invoice() { return m_shop->session->invoices(); }
    QString lastMessage() const { return m_shop->dialogs.messages().value(m_shop->dialogs.messages().size() - 1); }
    const ScriptedDialogs::Shown& lastShown() const { return m_shop->dialogs.shown().back(); }

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<InvoiceCommands> m_invoiceCommands;
    RecordingPrintTarget m_target;
    std::unique_ptr<PrintCommands> m_prints;
};

void TestPrintCommands::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_shop->dialogs.setFallback(true);
    m_target = RecordingPrintTarget();
    m_invoiceCommands = std::make_unique<InvoiceCommands>(*m_shop->session, m_shop->services());
    m_prints = std::make_unique<PrintCommands>(*m_shop->session, m_shop->services(), *m_invoiceCommands, m_target);
}

void TestPrintCommands::cleanup()
{
    m_prints.reset();
    m_invoiceCommands.reset();
    m_shop.reset();
}

void TestPrintCommands::invoicePrint()
{
    RecordSet& general = m_shop->session->generalData();
    general.setField(u"Prostor", QString());
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Stopped);
    QVERIFY(lastMessage().startsWith(QStringLiteral("Molim kliknite na Opći podaci")));
    general.setField(u"Prostor", QStringLiteral("1"));

    // Cancel at the paper prompt prints nothing; the confirmation number is
    // normalised all the same.
    invoice().setField(u"Broj", QStringLiteral("0012/34567890"));
    m_shop->dialogs.answer(false);
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Cancelled);
    QCOMPARE(lastShown().title, QStringLiteral("Ispis računa za osnovno osiguranje"));
    QVERIFY(m_target.documents.empty());
    QCOMPARE(invoice().field(u"Broj").toString(), QStringLiteral("12/34567890"));

    // Printed: the layout, then the title at (128, 86) in the invoices' coordinates.
    invoice().setField(u"Dop", true);
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Printed);
    RecordingCanvas& basic = m_target.last();
    QVERIFY(basic.finished());
    const QString number = invoice().field(u"Rnbr").toString() + QStringLiteral("-1-1-261");
    const auto* title = basic.findText(QStringLiteral("Račun R-1 br. ") + number);
    QVERIFY(title);
    QCOMPARE(std::tuple(title->x1, title->y1, title->font.points), std::tuple(130.0, 86.0, 12.0));
    const auto* mark = basic.findText(QStringLiteral("Dop. os.:"));
    QVERIFY(mark);
    QCOMPARE(std::tuple(mark->x1, mark->y1, mark->font.points), std::tuple(137.0, 216.0, 7.0));
    // Each print is named after what it is, for the PDF file it may become.
    const QString id = QStringLiteral("26-") + invoice().field(u"Rnbr").toString();
    QCOMPARE(m_target.documentNames.last(), QStringLiteral("Racun-%1-osnovno").arg(id));

    QCOMPARE(m_prints->printInvoice(Kind::Supplementary), Outcome::Printed);
    QCOMPARE(lastShown().title, QStringLiteral("Ispis računa za dopunsko osiguranje!"));
    QVERIFY(m_target.last().findText(QStringLiteral("Račun R-1 br. ") + number.chopped(1) + u'2'));
    QVERIFY(!m_target.last().findText(QStringLiteral("Dop. os.:")));
    QCOMPARE(m_target.documentNames.last(), QStringLiteral("Racun-%1-dopunsko").arg(id));

    // More than 30 days between order and billing: a warning, the print goes on.
    invoice().setField(u"Datumnar", invoice().field(u"Datum").toDate().addDays(-31));
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Printed);
    QVERIFY(m_shop->dialogs.messages().contains(QStringLiteral(
        "Datum obračuna može biti maksimalno 30 dana veći od datuma narudžbe! Molim ispravite (račun će se ipak isprintati)!")));

    // An aid the code lists do not hold stops the print before the paper prompt.
    const size_t documents = m_target.documents.size();
    invoice().setField(u"Pom1", QStringLiteral("2103099999999"));
    m_shop->dialogs.clear();
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Stopped);
    QCOMPARE(lastMessage(), pricing::unknownCodeMessage(QStringLiteral("2103099999999")));
    QCOMPARE(m_shop->dialogs.shown().size(), size_t(1));
    QCOMPARE(m_target.documents.size(), documents);
}

void TestPrintCommands::invoiceRange()
{
    ScriptedDialogs& d = m_shop->dialogs;
    for (const char* a : {"10", "31"})
        d.answer(QString::fromLatin1(a));
    m_prints->printRange();
    QCOMPARE(lastMessage(), QStringLiteral("Možete izabrati maksimalni interval od 20 računa!"));
    for (const char* a : {"10", "10"})
        d.answer(QString::fromLatin1(a));
    m_prints->printRange();
    QCOMPARE(lastMessage(), QStringLiteral("Broj završnog računa mora biti veći od broja početnog računa!"));
    for (const char* a : {"1", "3", "4"})
        d.answer(QString::fromLatin1(a));
    m_prints->printRange();
    QCOMPARE(lastMessage(), QStringLiteral("Neispravan izbor!"));
    d.answer(QStringLiteral("abc"));
    m_prints->printRange(); // no number: ends silently
    QCOMPARE(lastShown().kind, ScriptedDialogs::Shown::Input);
    QVERIFY(m_target.documents.empty());

    for (const char* a : {"2", "4", "3"})
        d.answer(QString::fromLatin1(a));
    m_prints->printRange();
    QCOMPARE(m_target.documentNames.size(), 6);
    for (int k = 0; k < 6; ++k) {
        const QString id = QStringLiteral("Racun-26-%1-").arg(2 + k / 2);
        QVERIFY(m_target.documentNames[k].startsWith(id));
        QCOMPARE(m_target.documentNames[k].endsWith(u"-osnovno"), k % 2 == 0);
    }
    QCOMPARE(invoice().field(u"Rnbr").toInt(), 4);
}

void TestPrintCommands::confirmationFormPrint()
{
    invoice().setField(u"Brbolesnlist", QStringLiteral("12345"));
    QCOMPARE(m_prints->printConfirmationForm(), Outcome::Stopped);
    QVERIFY(lastMessage().startsWith(QStringLiteral("Polja broj bol. lista i država")));
    invoice().setField(u"Brbolesnlist", QString());

    QCOMPARE(m_prints->printConfirmationForm(), Outcome::Printed);
    QVERIFY(lastShown().text.startsWith(QStringLiteral("Molim ubacite potvrdu o ortopedskom pomagalu (recept)")));
    QCOMPARE(m_target.documentNames, QStringList{QStringLiteral("Potvrda-26-") + invoice().field(u"Rnbr").toString()});
    QVERIFY(m_target.last().findText(m_shop->session->generalData().field(u"Odgovosoba").toString()));

    // A stored date that does not exist, or a part of a piece, stops both
    // prints with the invoice and the field named; nothing is printed.
    const size_t printed = m_target.documents.size();
    const QString rnbr = invoice().field(u"Rnbr").toString();
    invoice().setField(u"DatumIzdavanja", QStringLiteral("2026-02-30"));
    QCOMPARE(m_prints->printConfirmationForm(), Outcome::Stopped);
    QCOMPARE(lastMessage(), QStringLiteral("Račun s rednim br. %1: polje DatumIzdavanja sadrži datum koji ne postoji "
                                           "(2026-02-30).\r\nMolim ispravite!").arg(rnbr));
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Stopped);
    QVERIFY(lastMessage().contains(QStringLiteral("DatumIzdavanja")));
    invoice().setField(u"DatumIzdavanja", QDate(2026, 3, 1));
    invoice().setField(u"Kol1", QStringLiteral("2.5"));
    QCOMPARE(m_prints->printInvoice(Kind::Basic), Outcome::Stopped);
    QVERIFY2(lastMessage().contains(QStringLiteral("mora biti cijeli broj od 1 do 9999 (upisano: 2.5)")), qPrintable(lastMessage()));
    QCOMPARE(m_target.documents.size(), printed);
}

void TestPrintCommands::bookkeepingPrint()
{
    invoice().setField(u"Pu", QString());
    QCOMPARE(m_prints->printBookkeeping(), Outcome::Stopped);
    QCOMPARE(lastMessage(), QStringLiteral("Molim izaberite PU!"));
    invoice().setField(u"Pu", QStringLiteral("Osijek"));

    invoice().setField(u"Iznos", 8.82);
    invoice().setField(u"Osl", false);
    invoice().setField(u"Dop", false);
    QCOMPARE(m_prints->printBookkeeping(), Outcome::Stopped);
    QCOMPARE(lastMessage(), QStringLiteral("Iznos je manji od 8,83 €, u cjelosti plaća pacijent!"));

    // Each code is looked up in its own list, as every other document does:
    // a 13-character code after a 12-character one is found; a code that no
    // list holds stops the print.
    invoice().setField(u"Iznos", 100.0);
    invoice().setField(u"Pom1", QStringLiteral("210306010101"));
    invoice().setField(u"Kol1", 2);
    invoice().setField(u"Pom2", QStringLiteral("2103060101001"));
    invoice().setField(u"Kol2", 1);
    invoice().setField(u"Pom3", QStringLiteral("2103099999999"));
    invoice().setField(u"Kol3", 1);
    QCOMPARE(m_prints->printBookkeeping(), Outcome::Stopped);
    QCOMPARE(lastMessage(), QStringLiteral("Šifra 2103099999999 nije pronađena u popisu kelmorin!"));

    for (int line = 2; line <= 4; ++line)
        invoice().setField(QStringLiteral("Pom%1").arg(line), QString());
    QCOMPARE(m_prints->printBookkeeping(), Outcome::Printed);
    const RecordingCanvas& page = m_target.last();
    const QString number = invoice().field(u"Rnbr").toString();
    QVERIFY(page.findText(QStringLiteral("Račun R-1  br. ") + number + QStringLiteral("-1-1")));
    QVERIFY(page.findText(QStringLiteral("PU: Osijek")));
    QVERIFY(page.findText(QStringLiteral("€")));
    // 12.50 a piece, R = 0.8 for an amount of 100: 10.000 a piece, 20.00 for two.
    QVERIFY(page.findText(QStringLiteral("10.000")));
    QVERIFY(page.findText(QStringLiteral("20.00")));
    QCOMPARE(page.findText(QStringLiteral("R.br."))->font.family, QStringLiteral("Times New Roman CE"));
}

void TestPrintCommands::textLandsWhereItShouldInThePdf()
{
    const QString pdf = m_shop->folder.path() + QStringLiteral("/osnovno.pdf");
    PdfPrintTarget target(pdf);
    PrintCommands prints(*m_shop->session, m_shop->services(), *m_invoiceCommands, target);
    QCOMPARE(prints.printInvoice(Kind::Basic), Outcome::Printed);

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QVERIFY2(pdftotext.waitForFinished(20000), "pdftotext (poppler-utils) is needed");
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    // <word xMin="..." yMin="..." ...>Račun</word>: the title starts 4 mm
    // (the page margin) + 2 mm + 128 mm from the sheet's left edge.
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>R-1</word>"));
    const QRegularExpressionMatch m = word.match(html);
    QVERIFY2(m.hasMatch(), qPrintable(html.left(400)));
    constexpr double mm = 72 / 25.4;
    const double left = m.captured(1).toDouble() / mm, top = m.captured(2).toDouble() / mm;
    QVERIFY2(left > 134 + 10 && left < 134 + 22, qPrintable(QString::number(left))); // after "Račun "
    QVERIFY2(std::abs(top - (4 + 86)) < 1.5, qPrintable(QString::number(top)));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestPrintCommands)
#include "tst_print_commands.moc"
