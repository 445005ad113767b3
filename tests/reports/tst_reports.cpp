#include "common/cp1250.h"
#include "reports/report_tool.h"
#include "reports/reports.h"
#include "support/shop_fixture.h"

#include <QFile>
#include <QTest>
#include <QTextStream>

// The reports of the menu, run on a shop folder and read back from the
// bytes of Temp.txt.
class TestReports : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia)); }
    void init();
    void cleanup() { m_shop.reset(); }

    void overviewPromptsAndPeriod();
    void paidAndUnpaidSplitOnNullAndEmpty();
    void longOverviewLines();
    void recapitulationLines();
    void recapitulationRangesAndPrompts();
    void notesIncludingAnApostrophe();
    void aidCountsTheFirstSlotEveryYear();
    void aidPromptsAndPeriod();
    void toolWritesTheSameReport();

private:
    Database& db() { return m_shop->session->database(); }
    void addInvoice(int god, int rnbr, const QString& date, const QString& surname, double amount,
                    const QVariant& paid = QVariant(), const QVariant& note = QVariant(),
                    const QStringList& aids = {}, const QVariantList& quantities = {});
    ReportCommands commands()
    {
        return ReportCommands(*m_shop->session, m_shop->services(), [this](const QString& p) { m_shown << p; });
    }
    void answer(const QStringList& answers)
    {
        for (const QString& a : answers)
            m_shop->dialogs.answer(a);
    }
    QStringList reportLines();

    std::unique_ptr<ShopFixture> m_shop;
    QStringList m_shown;
};

void TestReports::init()
{
    m_shop = std::make_unique<ShopFixture>();
    QVERIFY(m_shop->session);
    QVERIFY(db().exec(QStringLiteral("DELETE FROM Rn")));
    m_shown.clear();
}

void TestReports::addInvoice(int god, int rnbr, const QString& date, const QString& surname, double amount,
                             const QVariant& paid, const QVariant& note, const QStringList& aids,
                             const QVariantList& quantities)
{
    QVariantList binds{god, rnbr, date, QStringLiteral("%1").arg(rnbr, 14, 10, QLatin1Char('0')), surname,
                       QStringLiteral("Ana"), amount, paid, note};
    for (int i = 0; i < 7; ++i) {
        binds << (i < aids.size() ? QVariant(aids[i]) : QVariant(QString()));
        binds << (i < quantities.size() ? quantities[i] : QVariant(0));
    }
    QVERIFY(db().exec(QStringLiteral("INSERT INTO Rn (God, Rnbr, Datum, Broj, Prezime, Ime, Iznos, Plac, Opaska, "
                                     "Pom1, Kol1, Pom2, Kol2, Pom3, Kol3, Pom4, Kol4, Pom5, Kol5, Pom6, Kol6, Pom7, Kol7) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      binds));
}

QStringList TestReports::reportLines()
{
    QFile f(QStringLiteral("Temp.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no Temp.txt>")};
    const QByteArray bytes = f.readAll();
    if (bytes.contains("\n") && bytes.count("\r\n") != bytes.count("\n"))
        return {QStringLiteral("<a line end without CR>")};
    QStringList lines = cp1250::decode(bytes).split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

static QString col(int column, const QString& text) { return QString(column - 1, u' ') + text; }

// A line with texts at the given columns (from 1), worked out by hand.
static QString place(std::initializer_list<std::pair<int, QString>> parts)
{
    QString line;
    for (const auto& [column, text] : parts) {
        Q_ASSERT(line.size() < column);
        line += QString(column - 1 - line.size(), u' ') + text;
    }
    return line;
}

void TestReports::overviewPromptsAndPeriod()
{
    addInvoice(26, 1, "2024-08-01", "Prvi", 10);
    addInvoice(26, 2, "2024-08-31", "Zadnji", 20);
    addInvoice(26, 3, "2024-09-01", "Rujan", 40);
    addInvoice(25, 4, "2024-08-15", "Prošla godina", 80);

    answer({"s"}); // lower case is not "S"
    QCOMPARE(commands().invoiceOverview(ReportCommands::Paid::All).outcome, ReportCommands::Outcome::Stopped);
    QCOMPARE(m_shop->dialogs.messages(), QStringList{ReportCommands::kPeriodMessage});
    const auto& prompt = m_shop->dialogs.shown().front();
    QCOMPARE(prompt.title, QStringLiteral("Izbor vremenskog intervala"));
    QVERIFY(prompt.text.endsWith(QStringLiteral("(npr. 010806-310806)\r\nAko ostavite slovo S bit će prikazani svi računi!\r\n"
                                                "(Datum se odnosi na datum obračuna.)")));

    m_shop->dialogs.clear();
    answer({"010824-310824", "3"});
    QCOMPARE(commands().invoiceOverview(ReportCommands::Paid::All).outcome, ReportCommands::Outcome::Stopped);
    QCOMPARE(m_shop->dialogs.messages(), QStringList{"Neispravno izabrano izvješće (možete upisati 1 ili 2)!"});
    answer({""});
    QCOMPARE(commands().invoiceOverview(ReportCommands::Paid::All).outcome, ReportCommands::Outcome::Cancelled);
    QVERIFY(m_shown.isEmpty());

    // A report file that cannot be written is said so before anything is read.
    QVERIFY(QDir().mkdir(QStringLiteral("Temp.txt")));
    m_shop->dialogs.clear();
    answer({"S", "1"});
    QCOMPARE(commands().invoiceOverview(ReportCommands::Paid::All).outcome, ReportCommands::Outcome::Stopped);
    QVERIFY(m_shop->dialogs.messages().value(0).startsWith(QStringLiteral("Izvješće nije moguće snimiti u datoteku ")));
    QVERIFY(m_shown.isEmpty());
    QVERIFY(QDir().rmdir(QStringLiteral("Temp.txt")));

    // 320824 is 1 September: the carried-over start leaves August out.
    answer({"310824-320824", "1"});
    QCOMPARE(commands().invoiceOverview(ReportCommands::Paid::All).outcome, ReportCommands::Outcome::Written);
    QCOMPARE(m_shown.size(), 1);
    QStringList lines = reportLines();
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Pregled svih računa u razdoblju od 31.08.2024 do 01.09.2024"));
    QCOMPARE(lines[1], QString());
    QCOMPARE(lines[2], place({{1, " Rbr"}, {6, " Broj"}, {13, "Datum"}, {25, "Br. potvrde"}, {42, "Prezime i ime"},
                              {69, " Iznos"}}));
    QCOMPARE(lines[3], place({{1, " 1 "}, {6, " 2 "}, {13, "31.08.2024."}, {25, "00000000000002"}, {42, "Zadnji Ana"},
                              {71, "20,00"}}));
    QVERIFY(lines[4].startsWith(place({{1, " 2 "}, {6, " 3 "}, {13, "01.09.2024."}})));
    QCOMPARE(lines[5], col(55, "Ukupno:") + QString(9, u' ') + QStringLiteral("60,00"));

    // No period: every invoice of the business year, none of another year.
    answer({"S", "1"});
    commands().invoiceOverview(ReportCommands::Paid::All);
    lines = reportLines();
    QCOMPARE(lines[0], QStringLiteral("Pregled svih računa"));
    QCOMPARE(lines.size(), 7);
    QVERIFY(lines[6].endsWith(QStringLiteral("70,00")));
}

void TestReports::paidAndUnpaidSplitOnNullAndEmpty()
{
    addInvoice(26, 1, "2026-03-01", "Null", 1.25, QVariant());
    addInvoice(26, 2, "2026-03-02", "Prazno", 2.5, QStringLiteral("")); // an empty text, not NULL
    addInvoice(26, 3, "2026-03-03", "Placen", 1000, QStringLiteral("15.03.2026"));
    answer({"S", "1"});
    commands().invoiceOverview(ReportCommands::Paid::Unpaid);
    QStringList lines = reportLines();
    QCOMPARE(lines[0], QStringLiteral("Pregled neplaćenih računa"));
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[3].contains(QStringLiteral("Null Ana")));
    QVERIFY(lines[4].contains(QStringLiteral("Prazno Ana")));
    QVERIFY(lines[5].endsWith(QStringLiteral("3,75")));

    answer({"S", "1"});
    commands().invoiceOverview(ReportCommands::Paid::Paid);
    lines = reportLines();
    QCOMPARE(lines[0], QStringLiteral("Pregled plaćenih računa"));
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[2].endsWith(QStringLiteral(" Iznos   Plaćen:")));
    QVERIFY(lines[3].contains(QStringLiteral("Prazno Ana")));
    QVERIFY(lines[4].endsWith(place({{68, "1.000,00"}, {78, "15.03.2026"}}).mid(60)));
    QCOMPARE(lines[5], col(55, "Ukupno:") + QString(6, u' ') + QStringLiteral("1.002,50"));
}

void TestReports::longOverviewLines()
{
    addInvoice(26, 1, "2026-03-01", QString(40, u'D'), 12.5, {}, {}, {"2103060101001", "", "210306010101"}, {2, 0, 1});
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET BrojMalopRn = 'M-7', Proizv = 'P1' WHERE Rnbr = 1")));
    addInvoice(26, 2, "2026-03-02", "Samo", 1, {}, {}, {}, {});
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Proizv = 'P2' WHERE Rnbr = 2")));
    answer({"S", "2"});
    commands().invoiceOverview(ReportCommands::Paid::All);
    const QStringList lines = reportLines();
    // The name passes column 75: the amount goes to the next line.
    QVERIFY(lines[3].endsWith(QString(40, u'D') + QStringLiteral(" Ana")));
    QCOMPARE(lines[4], QString(70, u' ') + QStringLiteral("12,50"));
    QCOMPARE(lines[5], col(25, "Broj maloprodajnog računa: M-7"));
    QCOMPARE(lines[6], col(13, "Šifra proizv.: P1") + QString(12, u' ') + QStringLiteral("2103060101001 × 2"));
    QCOMPARE(lines[7], col(42, "210306010101 × 1"));
    QVERIFY(lines[8].startsWith(QStringLiteral(" 2    2 ")));
    QCOMPARE(lines[9], col(13, "Šifra proizv.: P2"));
    QCOMPARE(lines[10], col(55, "Ukupno:") + QString(9, u' ') + QStringLiteral("13,50"));
    QCOMPARE(lines.size(), 11);
}

void TestReports::recapitulationLines()
{
    auto addAid = [this](const QString& table, const QString& code, double price, int rate, const QString& unit,
                         double width, double length) {
        QVERIFY(db().exec(QStringLiteral("INSERT INTO %1 (Broj, Sifra, Naziv, Cijena, PDV, JedMjere, OblogaSir, OblogaDuz) "
                                         "VALUES (900, ?, 'Test', ?, ?, ?, ?, ?)")
                              .arg(table),
                          {code, price, rate, unit, width, length}));
    };
    addAid("KelmorinISO", "210306140103", 12.3456, 25, "kom", 0, 0);
    addAid("OrtopedskaKelmorinISO", "0000000000300", 0.05, 5, "cm2", 15, 20);
    addAid("OrtopedskaKelmorinISO", "0000000000400", 0.05, 5, "cm2", 25, 20);
    addAid("OrtopedskaKelmorinISO", "0000000000013", 10, 13, "kom", 0, 0);
    addInvoice(26, 1, "2026-03-01", "A", 0, {}, {}, {"210306140103", "0000000000300", "0000000000400", "0000000000013"},
               {2, 1, 1, 1});
    addInvoice(26, 2, "2026-03-01", "B", 0, {}, {}, {"", "9999999999999", "", "", "210306140103"}, {0, 1, 0, 0, 5});
    addInvoice(26, 3, "2026-03-01", "C", 0);
    answer({"1", "3"});
    QCOMPARE(commands().taxRecapitulation().outcome, ReportCommands::Outcome::Written);
    const QStringList lines = reportLines();
    const QStringList expected = {
        "Rekapitulacija poreza",
        "",
        place({{1, "Šifra pom."}, {16, "Kol."}, {23, "Cijena"}, {35, "Osnovica"}, {45, "Stopa"}, {52, "PDV"}}),
        QString(54, u'_'),
        "",
        "Rn. 1",
        // The example: 2 × 12,3456 at 25 %: base 24,69, VAT 6,17.
        place({{1, "210306140103"}, {16, " 2 "}, {23, "12,3456"}, {35, "24,69"}, {45, " 25 "}, {51, "6,17"}}),
        place({{1, "0000000000300"}, {16, " 1 "}, {23, "15,0000"}, {35, "15,00"}, {45, " 5 "}, {51, "0,75"}}),
        // 25 × 20 cm2 is capped at 400.
        place({{1, "0000000000400"}, {16, " 1 "}, {23, "20,0000"}, {35, "20,00"}, {45, " 5 "}, {51, "1,00"}}),
        // 13 % is summed with 25 %.
        place({{1, "0000000000013"}, {16, " 1 "}, {23, "10,0000"}, {35, "10,00"}, {45, " 13 "}, {51, "1,30"}}),
        "Uk. PDV 5%:  1,75        Uk. PDV 25%: 7,47",
        "",
        "Rn. 2",
        // Not in its list: named, left out of the sums (and slot 5 is not
        // part of the recapitulation).
        place({{1, "9999999999999"}, {16, "nije u popisu kelmorin"}}),
        "Uk. PDV 5%:  0,00        Uk. PDV 25%: 0,00",
        "",
        "Rn. 3",
        "Uk. PDV 5%:  0,00        Uk. PDV 25%: 0,00",
        QString(56, u'_'),
        "Sveukupno PDV 5%: 1,75       Sveukupno PDV 25%: 7,47",
    };
    QCOMPARE(lines, expected);
}

void TestReports::recapitulationRangesAndPrompts()
{
    addInvoice(26, 5, "2026-03-01", "A", 0);
    addInvoice(26, 6, "2026-03-01", "B", 0);
    addInvoice(25, 5, "2025-03-01", "Lani", 0);
    answer({"5", "5"});
    commands().taxRecapitulation();
    QCOMPARE(reportLines().count(QStringLiteral("Rn. 5")), 1); // one invoice, of this year only
    QCOMPARE(m_shop->dialogs.shown()[0].title, QStringLiteral("Početni račun"));
    QCOMPARE(m_shop->dialogs.shown()[1].title, QStringLiteral("Završni račun"));

    answer({"100", "200"}); // nothing in the range
    commands().taxRecapitulation();
    QCOMPARE(reportLines(), (QStringList{"Rekapitulacija poreza", "",
                                         place({{1, "Šifra pom."}, {16, "Kol."}, {23, "Cijena"}, {35, "Osnovica"},
                                                {45, "Stopa"}, {52, "PDV"}}),
                                         QString(54, u'_'), QString(56, u'_'),
                                         "Sveukupno PDV 5%: 0,00       Sveukupno PDV 25%: 0,00"}));

    m_shop->dialogs.clear();
    answer({"6", "5"});
    QCOMPARE(commands().taxRecapitulation().outcome, ReportCommands::Outcome::Stopped);
    QCOMPARE(m_shop->dialogs.messages(),
             QStringList{"Broj završnog računa mora biti veći od broja početnog računa!"});
    for (const char* first : {"", "0", "abc"}) {
        answer({QString::fromLatin1(first)});
        QCOMPARE(commands().taxRecapitulation().outcome, ReportCommands::Outcome::Cancelled);
    }
    answer({"5", "x"});
    QCOMPARE(commands().taxRecapitulation().outcome, ReportCommands::Outcome::Cancelled);
    // A bound with decimals is refused, not cut to a whole number.
    for (const QStringList& typed : {QStringList{"2.5"}, QStringList{"5", "6,5"}}) {
        m_shop->dialogs.clear();
        answer(typed);
        QCOMPARE(commands().taxRecapitulation().outcome, ReportCommands::Outcome::Stopped);
        QCOMPARE(m_shop->dialogs.messages(), QStringList{ReportCommands::kWholeNumberMessage.arg(typed.last())});
    }
    answer({"5.0", "5"}); // a whole number written with a point
    QCOMPARE(commands().taxRecapitulation().outcome, ReportCommands::Outcome::Written);
}

void TestReports::notesIncludingAnApostrophe()
{
    addInvoice(26, 1, "2026-03-01", "Null", 1, {}, QVariant());
    addInvoice(26, 2, "2026-03-01", "Prazna", 2, {}, QStringLiteral(""));
    addInvoice(26, 3, "2026-03-01", "Apostrof", 4, {}, QStringLiteral("D'Annunzio račun"));
    addInvoice(26, 4, "2026-03-01", "Dulja", 8, {}, QStringLiteral("D'Annunzio račun 2"));

    commands().noteOverview(ReportCommands::Note::Without);
    QStringList lines = reportLines();
    QCOMPARE(lines[0], QStringLiteral("Pregled računa bez bilješke"));
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[5].startsWith(col(55, "UKUPNO:")) && lines[5].endsWith(QStringLiteral(" 3,00")));

    commands().noteOverview(ReportCommands::Note::Any);
    lines = reportLines();
    QCOMPARE(lines[0], QStringLiteral("Pregled računa sa bilo kojom bilješkom"));
    QVERIFY(lines[2].endsWith(QStringLiteral(" Iznos   Bilješka")));
    QCOMPARE(lines.size(), 7); // the empty note counts, the missing one does not
    QCOMPARE(lines[4].mid(70), QStringLiteral(" 4,00  D'Annunzio račun"));

    answer({"D'Annunzio račun"});
    QCOMPARE(commands().noteOverview(ReportCommands::Note::Given).outcome, ReportCommands::Outcome::Written);
    lines = reportLines();
    QCOMPARE(lines[0], QStringLiteral("Pregled računa sa bilješkom: D'Annunzio račun"));
    QCOMPARE(lines.size(), 5); // the whole note must match
    QVERIFY(lines[3].contains(QStringLiteral("Apostrof")));
    QCOMPARE(m_shop->dialogs.shown().back().title, QStringLiteral("Tekst bilješke"));

    answer({""});
    QCOMPARE(commands().noteOverview(ReportCommands::Note::Given).outcome, ReportCommands::Outcome::Cancelled);
}

void TestReports::aidCountsTheFirstSlotEveryYear()
{
    const QString code = QStringLiteral("2103060101001");
    addInvoice(26, 1, "2026-11-30", "Ove", 0, {}, {}, {code}, {3});
    addInvoice(26, 2, "2026-12-01", "Dvaput", 0, {}, {}, {"x", code, code}, {1, 2, 5}); // only the first: 2
    addInvoice(25, 7, "2025-05-05", "Lani", 0, {}, {}, {"", "", "", "", "", "", code}, {0, 0, 0, 0, 0, 0, 1});
    addInvoice(17, 1, "2017-05-05", "Davno", 0, {}, {}, {code}, {4});
    addInvoice(26, 3, "2026-12-01", "Drugo", 0, {}, {}, {"2103060102001"}, {9});

    // "S": every invoice of every year, this one included.
    answer({"S", "2"});
    QCOMPARE(commands().aidOverview(code, QStringLiteral("Sferna leća")).outcome, ReportCommands::Outcome::Written);
    QStringList lines = reportLines();
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[0], place({{1, " 1 "}, {7, "3 ×"}, {12, " 1 "}, {18, "30.11.2026."}, {30, "00000000000001"}, {47, "Ove Ana"}}));
    QVERIFY(lines[1].startsWith(place({{1, " 2 "}, {7, "2 ×"}, {12, " 2 "}})));
    QCOMPARE(lines[4], QString());
    QCOMPARE(lines[5], QStringLiteral("Pomagalo: 2103060101001 Sferna leća"));
    QCOMPARE(lines[6], QStringLiteral("Ukupno komada: 10"));

    answer({"010525-301126", "1"});
    commands().aidOverview(code, QStringLiteral("Sferna leća"));
    lines = reportLines();
    QCOMPARE(lines, (QStringList{"", "Razdoblje od 01.05.2025. do 30.11.2026.", "Pomagalo: 2103060101001 Sferna leća",
                                 "Ukupno komada: 4"}));

    // A period of 2030 is 2030, as in the invoice overview.
    addInvoice(30, 10012, "2030-09-15", "Šimunović-Đurić Kovačević", 0, {}, {}, {code}, {6});
    answer({"010130-311230", "2"});
    commands().aidOverview(code, QStringLiteral("Sferna leća"));
    lines = reportLines();
    QCOMPARE(lines.last(), QStringLiteral("Ukupno komada: 6"));
    // Invoice 10012 ends where the date begins: the date goes to the next line.
    QVERIFY2(!lines.join(u'|').contains(QStringLiteral("1001215.09")), qPrintable(lines.join(u'|')));
    QVERIFY2(lines.join(u'|').contains(QStringLiteral(" 10012|")), qPrintable(lines.join(u'|')));
}

void TestReports::aidPromptsAndPeriod()
{
    QCOMPARE(commands().aidOverview(QString(), QString()).outcome, ReportCommands::Outcome::Stopped);
    QCOMPARE(m_shop->dialogs.messages(), QStringList{ReportCommands::kNoAidMessage});
    m_shop->dialogs.clear();
    for (const char* wrong : {"s", "310225-010325", "010125-3101"}) {
        answer({QString::fromLatin1(wrong)});
        QCOMPARE(commands().aidOverview("123456789012", "Ime").outcome, ReportCommands::Outcome::Stopped);
    }
    QCOMPARE(m_shop->dialogs.messages().count(ReportCommands::kPeriodMessage), 3);
    QVERIFY(m_shop->dialogs.shown().front().text.startsWith(
        QStringLiteral("Molim upišite vremenski period za koji želite izvješće za pomagalo:\r\n123456789012\r\nIme\r\n")));
    QVERIFY(!QFile::exists(QStringLiteral("Temp.txt")));
}

void TestReports::toolWritesTheSameReport()
{
    addInvoice(26, 1, "2026-03-01", "Šimić", 5, {}, QStringLiteral("O'Neil"), {"2103060101001"}, {2});
    addInvoice(26, 2, "2026-03-04", "Horvat", 7.25, QStringLiteral("2026-04-01"), {}, {"2103031412001", "2103060101001"},
               {1, 3});
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET BrojMalopRn = 'M-2', Proizv = 'P2' WHERE Rnbr = 2")));
    // The tool opens only the general data, as it does: the reports read
    // their invoices from the file, without the year's set of the window.
    auto open = [](const QString& folder, Session& session) {
        return QDir::setCurrent(folder) && session.open(Session::Scope::GeneralDataOnly);
    };
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const QString dir = m_shop->folder.path();
    answer({"S", "2"});
    QCOMPARE(commands().invoiceOverview(ReportCommands::Paid::All).outcome, ReportCommands::Outcome::Written);
    const QStringList windowLines = reportLines();
    QCOMPARE(windowLines.size(), 10);
    QCOMPARE(reporttool::run({dir, "overview", "--which", "all", "--long"}, out, err, open), 0);
    QCOMPARE(reportLines(), windowLines);
    QCOMPARE(reporttool::run({dir, "note", "--which", "text", "--text", "O'Neil"}, out, err, open), 0);
    QVERIFY(outText.trimmed().endsWith(QStringLiteral("Temp.txt")));
    QVERIFY(reportLines()[3].contains(QStringLiteral("Šimić Ana")));
    QCOMPARE(reporttool::run({dir, "aid", "--code", "2103060101001", "--long"}, out, err, open), 0);
    QVERIFY(reportLines().last() == QStringLiteral("Ukupno komada: 5"));
    QCOMPARE(reporttool::run({dir, "overview", "--which", "paid", "--period", "s"}, out, err, open), 1);
    QVERIFY(errText.contains(QStringLiteral("Pogrešno upisan format")));
    QCOMPARE(reporttool::run({dir, "aid", "--code", "nema"}, out, err, open), 1);
    QCOMPARE(reporttool::run({dir, "vat", "--from", "1"}, out, err, open), 2);
    QCOMPARE(reporttool::run({dir, "vat", "--from", "2.5", "--to", "3"}, out, err, open), 1);
    QVERIFY(errText.contains(QStringLiteral("Broj računa mora biti cijeli broj (upisano: 2.5)!")));
    // No code is the window's "nothing chosen", not a wrong command.
    QCOMPARE(reporttool::run({dir, "aid", "--code", ""}, out, err, open), 1);
    QVERIFY(errText.contains(ReportCommands::kNoAidMessage));
    // An answer that would end the prompt silently is named on the console.
    QCOMPARE(reporttool::run({dir, "vat", "--from", "abc", "--to", "3"}, out, err, open), 1);
    QVERIFY(errText.contains(QStringLiteral("--from i --to")));
    QCOMPARE(reporttool::run({dir, "overview", "--which", "sve"}, out, err, open), 2);
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestReports)
#include "tst_reports.moc"
