#include "data/session.h"
#include "support/recording_canvas.h"
#include "data/database.h"
#include "data/schema.h"
#include "invoice/invoice_commands.h"
#include "print/print_commands.h"
#include "print/dialog_print_target.h"
#include "print/print_target.h"
#include "support/shop_fixture.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Kind = invoiceslots::Kind;
using Outcome = PrintCommands::Outcome;
using Item = RecordingCanvas::Item;

// Every printed form with the longest texts and the largest amounts a shop
// can have: nothing may run into another text or past the printable area
// (an A4 sheet less 4 mm at each side: 202 mm).
class TestPrintFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void longTextsKeepToTheirColumns_data();
    void longTextsKeepToTheirColumns();
    void amountsEndAtTheirColumnAndWrappedNamesKeepEveryWord();
    void coPaymentCarriesItsOwnKunaEquivalent();
    void pdfFilesAreOfferedInTheLastFolderChosen();

private:
    RecordSet& invoice() { return m_shop->session->invoices(); }
    RecordingCanvas& print(const QString& form);

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<InvoiceCommands> m_invoiceCommands;
    RecordingPrintTarget m_target;
    std::unique_ptr<PrintCommands> m_prints;
};

namespace {

constexpr double kPrintableWidth = 202;

const QString kLongName = QStringLiteral(
    "Ortopedski uložak za stopalo, individualno izrađen prema otisku, s potporom svoda i peteljkom, "
    "za odrasle osobe, desni i lijevi komplet");
const QString kLongSupplier =
    QStringLiteral("Ortopedija i optika Kovačević-Šimunović obrt za izradu pomagala, vl. Đurđa Žužić xx");

double width(const Item& i) { return i.text.size() * RecordingCanvas::kAdvanceAt10Points * i.font.points / 10; }
double height(const Item& i) { return i.font.points * 25.4 / 72; }

bool overlap(const Item& a, const Item& b)
{
    constexpr double e = 0.01;
    return a.x1 + width(a) > b.x1 + e && b.x1 + width(b) > a.x1 + e && a.y1 + height(a) > b.y1 + e
        && b.y1 + height(b) > a.y1 + e;
}

QString describe(const Item& i)
{
    return QStringLiteral("\"%1\" at (%2, %3) %4 pt").arg(i.text).arg(i.x1).arg(i.y1).arg(i.font.points);
}

// The texts of one page on the same line as the given one (tops within 1 mm).
QList<Item> onLineOf(const RecordingCanvas& c, const Item& of)
{
    QList<Item> line;
    for (const Item& i : c.items()) {
        if (i.kind == Item::Text && std::abs(i.y1 - of.y1) < 1 && i.text != of.text)
            line << i;
    }
    return line;
}

} // namespace

void TestPrintFit::init()
{
    cleanup();
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_shop->dialogs.setFallback(true);
    {
        Database db(schema::kInvoiceFile);
        for (const char* table : {"OrtopedskaKelmorinISO", "KelmorinISO"})
            QVERIFY2(db.exec(QStringLiteral("UPDATE %1 SET Naziv = ?, Cijena = 1234.5678").arg(QLatin1String(table)),
                             {kLongName}),
                     qPrintable(db.error()));
    }
    QVERIFY(kLongName.size() == 135 && kLongSupplier.size() == 83);
    m_shop->session->generalData().setField(u"Naziv", kLongSupplier);
    m_shop->session->generalData().setField(u"Adresa", kLongSupplier);
    const QStringList codes = {QStringLiteral("2103060401001"), QStringLiteral("2103031412001"),
                               QStringLiteral("2103060101001"), QStringLiteral("2103060401001")};
    for (int n = 1; n <= 4; ++n) {
        invoice().setField(QStringLiteral("Pom%1").arg(n), codes[n - 1]);
        invoice().setField(QStringLiteral("Kol%1").arg(n), 9999);
    }
    invoice().setField(u"Osl", false);
    invoice().setField(u"Dop", false);
    m_target = RecordingPrintTarget();
    m_invoiceCommands = std::make_unique<InvoiceCommands>(*m_shop->session, m_shop->services());
    m_prints = std::make_unique<PrintCommands>(*m_shop->session, m_shop->services(), *m_invoiceCommands, m_target);
}

void TestPrintFit::cleanup()
{
    m_prints.reset();
    m_invoiceCommands.reset();
    m_shop.reset();
}

RecordingCanvas& TestPrintFit::print(const QString& form)
{
    Outcome outcome = Outcome::Stopped;
    if (form == u"potvrda")
        outcome = m_prints->printConfirmationForm();
    else if (form == u"osnovno")
        outcome = m_prints->printInvoice(Kind::Basic);
    else if (form.startsWith(u"dopunsko"))
        outcome = m_prints->printInvoice(Kind::Supplementary);
    else
        outcome = m_prints->printBookkeeping();
    if (outcome != Outcome::Printed || m_target.documents.empty())
        qFatal("the print did not happen: %s", qPrintable(m_shop->dialogs.messages().join(u'|')));
    return m_target.last();
}

void TestPrintFit::longTextsKeepToTheirColumns_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("supplementary");
    QTest::newRow("potvrda") << QStringLiteral("potvrda") << false;
    QTest::newRow("osnovno") << QStringLiteral("osnovno") << true;
    QTest::newRow("dopunsko") << QStringLiteral("dopunsko") << true;
    QTest::newRow("sudjelovanje") << QStringLiteral("dopunsko") << false;
    QTest::newRow("knjigovodstvo") << QStringLiteral("knjigovodstvo") << false;
}

void TestPrintFit::longTextsKeepToTheirColumns()
{
    QFETCH(QString, form);
    QFETCH(bool, supplementary);
    invoice().setField(u"Dop", supplementary);
    invoice().setField(u"Dopunsko", QStringLiteral("123456789012345678901234567890"));
    const RecordingCanvas& c = print(form);

    QList<Item> texts;
    for (const Item& i : c.items()) {
        QVERIFY2(i.kind != Item::PageBreak, "one page");
        if (i.kind == Item::Text)
            texts << i;
    }
    QVERIFY(texts.size() > 20);
    for (const Item& i : texts) {
        QVERIFY2(i.x1 >= 0 && i.x1 + width(i) <= kPrintableWidth, qPrintable(describe(i)));
        QVERIFY2(i.font.points >= 4, qPrintable(describe(i)));
    }
    for (qsizetype a = 0; a < texts.size(); ++a) {
        for (qsizetype b = a + 1; b < texts.size(); ++b)
            QVERIFY2(!overlap(texts[a], texts[b]), qPrintable(describe(texts[a]) + u" / " + describe(texts[b])));
    }
    // The supplier's name is printed whole (smaller or on more lines).
    const QString all = c.texts().join(u' ');
    QVERIFY2(all.contains(kLongSupplier) || all.contains(QStringLiteral("Žužić xx")), qPrintable(all));
}

void TestPrintFit::amountsEndAtTheirColumnAndWrappedNamesKeepEveryWord()
{
    const RecordingCanvas& c = print(QStringLiteral("osnovno"));
    // The total of four lines of 9999 pieces runs to tens of millions; it
    // ends where the column of amounts ends (x 174 of the layout, 2 mm
    // further right on the sheet) and stays clear of its label.
    const Item* label = c.findText(QStringLiteral("1. Ukupan iznos računa:"));
    QVERIFY(label);
    const QList<Item> line = onLineOf(c, *label);
    auto total = std::find_if(line.begin(), line.end(), [](const Item& i) { return i.font.bold; });
    QVERIFY(total != line.end());
    QVERIFY2(QLocale().toDouble(total->text) > 10'000'000, qPrintable(total->text));
    QCOMPARE(total->x1 + width(*total), 176.0);
    QVERIFY(total->x1 > label->x1 + width(*label));

    // The aid name wraps inside its column: two lines whose words, read in
    // order, are the whole name.
    QStringList nameLines;
    const Item* first = nullptr;
    for (const Item& i : c.items()) {
        if (i.kind != Item::Text || i.x1 < 50 || i.x1 > 60)
            continue;
        if (!first && kLongName.startsWith(i.text))
            first = &i;
        if (first && i.y1 >= first->y1 && i.y1 < first->y1 + 6)
            nameLines << i.text;
    }
    QVERIFY(nameLines.size() >= 2);
    QCOMPARE(nameLines.mid(0, 2).join(u' '), kLongName);
}

void TestPrintFit::coPaymentCarriesItsOwnKunaEquivalent()
{
    // Neither exempt nor insured supplementarily: line 5 of the co-payment
    // invoice is the patient's share, and its kuna equivalent beside it is
    // that share's, not the (empty) supplementary share's.
    invoice().setField(u"Pom2", QString());
    invoice().setField(u"Pom3", QString());
    invoice().setField(u"Pom4", QString());
    invoice().setField(u"Kol1", 1);
    const RecordingCanvas& c = print(QStringLiteral("dopunsko"));
    const Item* label = c.findText(QStringLiteral("5. Iznos sudjelovanja"));
    QVERIFY(label);
    const QList<Item> line = onLineOf(c, *label);
    QCOMPARE(line.size(), 2);
    const Item& amount = line[0].font.bold ? line[0] : line[1];
    const Item& kuna = line[0].font.bold ? line[1] : line[0];
    const double share = QLocale().toDouble(amount.text);
    QVERIFY2(share > 8.83, qPrintable(amount.text));
    QVERIFY(kuna.text.startsWith(u'(') && kuna.text.endsWith(QStringLiteral(" kn)")));
    const double inKuna = QLocale().toDouble(kuna.text.mid(1, kuna.text.size() - 5));
    QVERIFY2(std::abs(inKuna - share * 7.5345) < 0.006, qPrintable(kuna.text + u" / " + amount.text));
}

void TestPrintFit::pdfFilesAreOfferedInTheLastFolderChosen()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("Kelmorin"), QStringLiteral("Kelmorin")).clear();
    // The first time: the data folder.
    QCOMPARE(pdfchoice::offeredFile(QStringLiteral("Potvrda-26-15")), QDir::current().filePath(QStringLiteral("Potvrda-26-15.pdf")));
    QVERIFY(!pdfchoice::lastWentToFile());
    // Then the folder of the last PDF file, also in the next run.
    QTemporaryDir elsewhere;
    pdfchoice::remember(QDir(elsewhere.path()).filePath(QStringLiteral("moj-racun.pdf")));
    QVERIFY(pdfchoice::lastWentToFile());
    QCOMPARE(pdfchoice::offeredFile(QStringLiteral("Racun-26-15-osnovno")),
             QDir(elsewhere.path()).filePath(QStringLiteral("Racun-26-15-osnovno.pdf")));
    // A print on a printer keeps the folder but no longer starts on a file.
    pdfchoice::remember(QString());
    QVERIFY(!pdfchoice::lastWentToFile());
    QVERIFY(pdfchoice::offeredFile(QStringLiteral("x")).startsWith(elsewhere.path()));
    // A folder that is gone: the data folder again.
    pdfchoice::remember(QDir(elsewhere.path()).filePath(QStringLiteral("a/b.pdf")));
    QCOMPARE(pdfchoice::offeredFile(QStringLiteral("x")), QDir::current().filePath(QStringLiteral("x.pdf")));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestPrintFit)
#include "tst_print_fit.moc"
