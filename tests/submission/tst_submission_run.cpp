#include "data/session.h"
#include "common/cp1250.h"
#include "common/desktop_platform.h"
#include "data/schema.h"
#include "invoice/identifiers.h"
#include "print/print_target.h"
#include "support/recording_canvas.h"
#include "submission/marking.h"
#include "submission/media.h"
#include "submission/submission_run.h"
#include "support/shop_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include "data/croatian_collation.h"

#include <QTest>

#include <algorithm>
#include <map>

using Item = RecordingCanvas::Item;

class TestSubmissionRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void markingByOfficeAndInterval();
    void clearingAndSorting();
    void runWritesTheFileOnceAndCountsTheMedium();
    void answersThatEndTheRun();
    void mediumChoices();
    void unknownAidStopsEveryCopy();
    void coverLetterContinuesOnANewPage();
    void removableMediumOfTheDesktop();
    void valuesThatWouldBreakTheFileAreRefused();
    void theFileNameTakesOnlyDigits();

private:
    Database& db() { return m_shop->session->database(); }
    QString mark(int rnbr)
    {
        return db().scalar(QStringLiteral("SELECT Izbor FROM Rn WHERE God = 26 AND Rnbr = ?"), {rnbr}).toString();
    }
    int counter() { return m_shop->session->generalData().field(u"Brd").toInt(); }
    SubmissionRun::Result submit(const QStringList& answers);

    std::unique_ptr<ShopFixture> m_shop;
    RecordingPrintTarget m_target;
};

void TestSubmissionRun::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_shop->dialogs.setFallback(true);
    m_target = RecordingPrintTarget();
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Datum = '2026-01-15', Datumnar = '2026-01-10', Izbor = ''")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Opci SET Brd = 6")));
    QVERIFY(m_shop->restart());
}

void TestSubmissionRun::cleanup() { m_shop.reset(); }

SubmissionRun::Result TestSubmissionRun::submit(const QStringList& answers)
{
    for (const QString& a : answers)
        a == u"<default>" ? m_shop->dialogs.acceptDefault() : m_shop->dialogs.answer(a);
    SubmissionRun run(*m_shop->session, m_shop->services(), m_target);
    return run.run();
}

void TestSubmissionRun::markingByOfficeAndInterval()
{
    QCOMPARE(marking::defaultStart(QDate(2026, 12, 7)), QDate(2026, 11, 1));
    QCOMPARE(marking::defaultStart(QDate(2026, 12, 15)), QDate(2026, 12, 1));
    const QDate typed = identifiers::readShortDate(QStringLiteral("010224")).date;
    QCOMPARE(marking::defaultEnd(typed), QDate(2024, 2, 29));
    QCOMPARE(marking::defaultEnd(QDate(2024, 1, 31)), QDate(2024, 2, 29));

    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Datum = '2026-06-01', Pu = 'Zagreb' WHERE God = 26 AND Rnbr = 3")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Datum = '2026-06-10', Pu = NULL WHERE God = 26 AND Rnbr = 4")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Datum = '2026-06-12', Pu = 'Split' WHERE God = 26 AND Rnbr = 5")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Datum = '2026-06-30', Pu = 'Zagreb' WHERE God = 26 AND Rnbr = 7")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = 'X' WHERE God = 26 AND Rnbr = 20")));
    // An invoice made by mistake (F9) and left blank is no one's to send.
    QVERIFY(db().exec(QStringLiteral("INSERT INTO Rn (God, Rnbr, Datum, Pu, Opaska, Izbor) "
                                     "VALUES (26, 30000, '2026-06-15', 'Zagreb', '', 'X')")));
    QVERIFY(m_shop->restart());
    MarkingCommands commands(*m_shop->session, m_shop->services());

    m_shop->dialogs.answer(QStringLiteral("32.13.26"));
    commands.chooseForSubmission();
    QCOMPARE(m_shop->dialogs.messages().last(), identifiers::kShortDateMessage);
    QCOMPARE(mark(20), QStringLiteral("X"));

    m_shop->dialogs.answer(QStringLiteral("010626"));
    m_shop->dialogs.acceptDefault(); // 30.06.26
    commands.chooseForSubmission();
    QCOMPARE(m_shop->dialogs.shown().back().text, QStringLiteral("Zaključni datum (u formatu dd.mm.gg ili ddmmgg): "));
    QCOMPARE((QStringList{mark(3), mark(4), mark(5), mark(7), mark(6), mark(20), mark(30000)}),
             (QStringList{"1", "2", "3", "1", "", "", ""}));
    // The window's set is read anew and stands on its last invoice.
    RecordSet& invoices = m_shop->session->invoices();
    QCOMPARE(invoices.value(invoices.findFirst(u"Rnbr", 5), u"Izbor").toString(), QStringLiteral("3"));
    QCOMPARE(invoices.current(), invoices.rowCount() - 1);
}

void TestSubmissionRun::clearingAndSorting()
{
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = 'A'")));
    MarkingCommands commands(*m_shop->session, m_shop->services());
    commands.clearMarks();
    QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Rn WHERE Izbor <> ''")).toInt(), 0);
    QVERIFY(db().scalar(QStringLiteral("SELECT COUNT(DISTINCT God) FROM Rn")).toInt() == 2);

    // Names sort in the Croatian alphabet: Š after S, before T and V.
    const int year = m_shop->session->twoDigitYear();
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Prezime = 'Vuković' WHERE God = ? AND Rnbr = 1"), {year}));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Prezime = 'Šimunović' WHERE God = ? AND Rnbr = 2"), {year}));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Prezime = 'sabol' WHERE God = ? AND Rnbr = 3"), {year}));
    QVERIFY(m_shop->session->invoices().reload());
    RecordSet& invoices = m_shop->session->invoices();
    m_shop->dialogs.answer(false);
    commands.sortBy(QStringLiteral("Prezime"));
    QCOMPARE(invoices.value(0, u"Rnbr").toInt(), 1);
    commands.sortBy(QStringLiteral("Prezime"));
    QCOMPARE(m_shop->dialogs.shown().back().text, QStringLiteral("Želite li posložiti podatke u tablici po koloni Prezime"));
    QStringList names;
    for (int row = 0; row < invoices.rowCount(); ++row)
        names << invoices.value(row, u"Prezime").toString();
    for (int row = 1; row < names.size(); ++row)
        QVERIFY2(croatian::compare(names[row - 1], names[row]) <= 0, qPrintable(names.join(u',')));
    QVERIFY(names.indexOf(QStringLiteral("sabol")) < names.indexOf(QStringLiteral("Šimunović")));
    QVERIFY(names.indexOf(QStringLiteral("Šimunović")) < names.indexOf(QStringLiteral("Vuković")));
    commands.sortBy(QStringLiteral("Rnbr; DROP TABLE Rn")); // not a field of the grid: nothing happens
    QVERIFY(db().hasTable(QStringLiteral("Rn")));
}

void TestSubmissionRun::runWritesTheFileOnceAndCountsTheMedium()
{
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = '1', Pu = 'Osijek' WHERE God = 26 AND Rnbr <= 3")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Broj = '30000202600123' WHERE God = 26 AND Rnbr = 2")));
    QTemporaryDir outside; // a folder that is not the working folder
    const SubmissionRun::Result r = submit({"1", "9", "04.12.2026.", "14", "2", "3", outside.path()});
    QCOMPARE(r.outcome, SubmissionRun::Outcome::Completed);
    QCOMPARE(r.fileName, QStringLiteral("1234567890140009.O26"));
    // The medium counter advances by one from what it was, whatever number was typed.
    QCOMPARE(counter(), 7);
    {
        Database other(schema::kInvoiceFile);
        QCOMPARE(other.scalar(QStringLiteral("SELECT Brd FROM Opci")).toInt(), 7);
    }
    // The office's code is offered from the first invoice's office.
    const auto& shown = m_shop->dialogs.shown();
    const auto office = std::find_if(shown.begin(), shown.end(), [](const auto& s) { return s.title == u"Šifra PU"; });
    QVERIFY(office != shown.end());

    QFile file(r.fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("EUR:\r\n") || bytes.endsWith(":\r\n"));
    const QStringList lines = cp1250::decode(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6); // three invoices of one aid each
    QVERIFY(lines[0].startsWith(QStringLiteral("60:123456789:PRIMJER Optika Jelić d.o.o.:")));
    QVERIFY(lines[1].startsWith(QStringLiteral("61::15.01.2026:")));
    QVERIFY(QFile::exists(QDir(outside.path()).filePath(r.fileName)));
    // The copy says where it went.
    QCOMPARE(m_shop->dialogs.messages().last(),
             QStringLiteral("Fajl je snimljen: ") + QDir::toNativeSeparators(QDir(outside.path()).filePath(r.fileName)));

    // Two copies of the letter, the file written once; the letter's name
    // tells this medium from the next.
    QCOMPARE(m_target.documents.size(), size_t(2));
    QCOMPARE(m_target.documentNames.first(), QStringLiteral("Popratni dopis uz disketu 9 od 04.12.2026"));
    const RecordingCanvas& letter = *m_target.documents.front();
    QVERIFY(letter.finished());
    QVERIFY(letter.findText(QStringLiteral("POPRATNI DOPIS UZ DISKETU")));
    QVERIFY(letter.findText(QStringLiteral("PU Osijek")));
    QVERIFY(letter.findText(QStringLiteral("Oznaka medija: 009/026  (56789009.O26)")));
    QVERIFY(letter.findText(QStringLiteral("Datum formiranja medija: 04.12.2026")));
    QVERIFY(letter.findText(QStringLiteral("Ukupno 3 rn. ")));
    const Item* heading = letter.findText(QStringLiteral("POPRATNI DOPIS UZ DISKETU"));
    QCOMPARE(heading->font, (Canvas::Font{QStringLiteral("Times New Roman CE"), 12, true, false}));
    QCOMPARE(heading->y1, 12.0); // y 0 of the letter is 12 mm below the printable area's top
    QCOMPARE(heading->x1 + 25 * 2.4, 163.0 + 7); // right-aligned at 163
    QCOMPARE(letter.findText(QStringLiteral("Br. rn. osn."))->x1, 0.0);
    // The rules start where the headings do, and the values of an invoice
    // line never touch (14-digit confirmation numbers beside the amounts).
    int rules = 0;
    std::map<double, std::vector<const Item*>> rows;
    for (const Item& item : letter.items()) {
        if (item.kind == Item::Line && item.y1 == item.y2) {
            ++rules;
            QCOMPARE(item.x1, 0.0);
        }
        if (item.kind == Item::Text && !item.text.isEmpty() && item.text.front().isDigit())
            rows[item.y1].push_back(&item);
    }
    QVERIFY(rules >= 2);
    int invoiceLines = 0;
    for (auto& [y, row] : rows) {
        if (row.size() < 4)
            continue;
        ++invoiceLines;
        std::sort(row.begin(), row.end(), [](const Item* a, const Item* b) { return a->x1 < b->x1; });
        for (size_t i = 0; i + 1 < row.size(); ++i) {
            const double end = row[i]->x1 + row[i]->text.size() * RecordingCanvas::kAdvanceAt10Points * row[i]->font.points / 10;
            QVERIFY2(end + 1 <= row[i + 1]->x1, qPrintable(row[i]->text + QStringLiteral(" | ") + row[i + 1]->text));
        }
    }
    QVERIFY(invoiceLines >= 3); // the three invoices, at least

    // The next run of the same name moves the first file aside.
    QVERIFY(db().exec(QStringLiteral("UPDATE Opci SET Brd = 8")));
    const SubmissionRun::Result again = submit({"1", "9", "04.12.2026", "014", "1", ""});
    QCOMPARE(again.fileName, r.fileName);
    QVERIFY(!again.movedAside.isEmpty());
    QVERIFY(QFile::exists(again.movedAside));
}

void TestSubmissionRun::answersThatEndTheRun()
{
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = '1' WHERE God = 26 AND Rnbr <= 2")));
    QCOMPARE(submit({""}).outcome, SubmissionRun::Outcome::Ended);
    QCOMPARE(submit({"7"}).outcome, SubmissionRun::Outcome::Ended);
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Niste izabrali nijedan račun!"));
    SubmissionRun::Result r = submit({"1", "<default>", "<default>", "1a4"});
    QCOMPARE(r.outcome, SubmissionRun::Outcome::Ended);
    QVERIFY(r.fileName.isEmpty());
    r = submit({"1", "<default>", "<default>", "114", "0"});
    QCOMPARE(r.outcome, SubmissionRun::Outcome::Ended);
    QVERIFY(!QFile::exists(r.fileName));
    QVERIFY(m_target.documents.empty());
    QCOMPARE(counter(), 6);

    QVERIFY(db().exec(QStringLiteral("UPDATE Opci SET Vrsta = '7'")));
    QVERIFY(m_shop->restart());
    QCOMPARE(submit({"1"}).outcome, SubmissionRun::Outcome::Ended);
    QVERIFY(m_shop->dialogs.messages().last().startsWith(QStringLiteral("Neispravno upisana vrsta kelmorin")));
}

void TestSubmissionRun::mediumChoices()
{
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = '1' WHERE God = 26 AND Rnbr = 1")));
    FakePlatform& platform = m_shop->platform;
    const QStringList start = {"1", "<default>", "<default>", "114", "1"};

    QTemporaryDir stick;
    platform.medium = stick.path();
    SubmissionRun::Result r = submit(start + QStringList{"1"});
    QVERIFY(QFile::exists(QDir(stick.path()).filePath(r.fileName)));
    QCOMPARE(m_shop->dialogs.messages().last(),
             QStringLiteral("Fajl je snimljen: ") + QDir::toNativeSeparators(QDir(stick.path()).filePath(r.fileName)));

    platform.medium.clear();
    submit(start + QStringList{"1"});
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Disketa nije prisutna ili je neispravna!"));
    QCOMPARE(counter(), 8);

    platform.writer = Platform::DiscWriter{QStringLiteral("/usr/bin/brasero"), {QStringLiteral("--data")}};
    r = submit(start + QStringList{"2"});
    QCOMPARE(platform.started.back().program, QStringLiteral("/usr/bin/brasero"));
    QCOMPARE(platform.started.back().arguments, (QStringList{"--data", QDir::current().filePath(r.fileName)}));

    platform.writer.reset();
    m_shop->dialogs.setFallback(false); // Cancel: no program is installed, the medium is not counted
    submit(start + QStringList{"2"});
    QCOMPARE(counter(), 9);
    m_shop->dialogs.setFallback(true);
    submit(start + QStringList{"2"});
    QCOMPARE(platform.opened.last(), media::kDiscWriterHelpPage);
    QVERIFY(m_shop->dialogs.messages().contains(QStringLiteral("Nakon instalacije programa za snimanje CD-a kliknite na OK za nastavak")));
    QCOMPARE(counter(), 10);

    platform.copyFails = true;
    submit(start + QStringList{"3", "/nema/takve/mape/"});
    QVERIFY(m_shop->dialogs.messages().last().startsWith(QStringLiteral("Fajl nije moguće snimiti na /nema/takve/mape/")));
    QCOMPARE(counter(), 11);

    QCOMPARE(media::destination(QStringLiteral("D:"), QStringLiteral("f.O26")), QStringLiteral("D:\\f.O26"));
    QCOMPARE(media::destination(QStringLiteral("E:\\backup\\"), QStringLiteral("f.O26")), QStringLiteral("E:\\backup\\f.O26"));
    QCOMPARE(media::destination(stick.path(), QStringLiteral("f.O26")), stick.path() + QStringLiteral("/f.O26"));
}

void TestSubmissionRun::unknownAidStopsEveryCopy()
{
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = '1' WHERE God = 26 AND Rnbr <= 3")));
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Pom1 = '2103099999999' WHERE God = 26 AND Rnbr = 2")));
    const SubmissionRun::Result r = submit({"1", "<default>", "<default>", "114", "2", ""});
    const QString message = QStringLiteral("Šifra kelmorin 2103099999999 kod računa pod rednim brojem 2 nije pronađena u "
                                           "popisu svih šifri kelmorin!\r\nMolim ispravite!");
    QCOMPARE(m_shop->dialogs.messages().count(message), 2);
    QFile file(r.fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), 2); // invoice 1 whole, nothing of invoice 2
    QCOMPARE(r.outcome, SubmissionRun::Outcome::Completed);
    QCOMPARE(counter(), 7);
    QVERIFY(m_target.documents.front()->finished());
}

void TestSubmissionRun::coverLetterContinuesOnANewPage()
{
    // 25 invoices of this year and 50 copies of them: 75 lines of 4.5 mm.
    for (int copy = 1; copy <= 2; ++copy) {
        QVERIFY(db().exec(QStringLiteral(
            "INSERT INTO Rn (God, Rnbr, Datum, Datumnar, Broj, Brosig1, Brosig2, Pom1, Kol1, Pu, Osl, Dop) "
            "SELECT God, Rnbr + ?, Datum, Datumnar, Broj, Brosig1, Brosig2, Pom1, Kol1, Pu, Osl, Dop FROM Rn "
            "WHERE God = 26 AND Rnbr <= 25"), {copy * 100}));
    }
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = '1' WHERE God = 26")));
    submit({"1", "<default>", "<default>", "114", "1", ""});
    const RecordingCanvas& letter = *m_target.documents.front();
    int breaks = 0;
    double lowest = 0;
    for (const Item& i : letter.items()) {
        breaks += i.kind == Item::PageBreak;
        if (i.kind == Item::Text && breaks == 0)
            lowest = std::max(lowest, i.y1);
    }
    QCOMPARE(breaks, 1);
    QVERIFY(lowest <= 255 + 12 + 4.5);
    QVERIFY(letter.findText(QStringLiteral("Ukupno 75 rn. ")));
}

void TestSubmissionRun::removableMediumOfTheDesktop()
{
    DesktopPlatform desktop;
    QTemporaryDir stick;
    qputenv("KELMORIN_MEDIJ", stick.path().toLocal8Bit());
    QCOMPARE(desktop.removableMedium(), stick.path());
    qputenv("KELMORIN_MEDIJ", "/nema/takve/mape");
    QCOMPARE(desktop.removableMedium(), QString());
    qunsetenv("KELMORIN_MEDIJ");
    qputenv("USER", "korisnik-bez-medija");
    QCOMPARE(desktop.removableMedium(), QString());
}

void TestSubmissionRun::valuesThatWouldBreakTheFileAreRefused()
{
    const struct {
        const char* table;
        const char* field;
        QString value;
        const char* named; // what the message must name
    } cases[] = {
        {"Rn", "Brbolesnlist", QStringLiteral("12:34"), "dvotočka"},
        {"Rn", "Drz", QStringLiteral("HR\rV"), "CR"},
        {"Rn", "Dopunsko", QStringLiteral("123\n60:x"), "LF"},
        {"Rn", "Brosig2", QStringLiteral("123") + QChar(0) + QStringLiteral("45"), "NUL"},
        {"Opci", "Naziv", QStringLiteral("Optika: Jelić"), "dvotočka"},
        {"Opci", "Prostor", QStringLiteral("1\r\n"), "CR"},
        {"Opci", "Operater", QStringLiteral("2:"), "dvotočka"},
        // Dates that do not exist, from older files or hand edits.
        {"Rn", "Datum", QStringLiteral("2026-02-30"), "2026-02-30"},
        {"Rn", "Datumnar", QStringLiteral("2026-13-01"), "2026-13-01"},
        {"Rn", "DatumIzdavanja", QStringLiteral("10.03.2026"), "10.03.2026"},
    };
    for (const auto& c : cases) {
        QVERIFY(m_shop->restart());
        const QString where = QLatin1String(c.table) == u"Rn" ? QStringLiteral(" WHERE God = 26 AND Rnbr = 2") : QString();
        Database other(schema::kInvoiceFile);
        QVERIFY(other.exec(QStringLiteral("UPDATE Rn SET Izbor = '1' WHERE God = 26 AND Rnbr <= 3")));
        QVERIFY(other.exec(QStringLiteral("UPDATE %1 SET %2 = ?%3").arg(QLatin1String(c.table), QLatin1String(c.field), where),
                           {c.value}));
        QVERIFY(m_shop->restart());
        m_shop->dialogs.clear();
        const SubmissionRun::Result r = submit({"1"}); // refused before the next question
        QVERIFY2(r.outcome == SubmissionRun::Outcome::Ended, c.field);
        const QString message = m_shop->dialogs.messages().value(0);
        QVERIFY2(message.contains(QLatin1String(c.field)) && message.contains(QString::fromUtf8(c.named)), qPrintable(QLatin1String(c.field) + u' ' + message));
        if (QLatin1String(c.table) == u"Rn")
            QVERIFY2(message.contains(QStringLiteral("Račun s rednim br. 2")), qPrintable(message));
        else
            QVERIFY2(message.startsWith(QStringLiteral("Opći podaci")), qPrintable(message));
        QVERIFY(QDir::current().entryList({QStringLiteral("*.O*")}).isEmpty());
        QCOMPARE(counter(), 6);
        // Put the value right again for the next case.
        QVERIFY(other.exec(QStringLiteral("UPDATE %1 SET %2 = NULL%3").arg(QLatin1String(c.table), QLatin1String(c.field), where)));
        if (QLatin1String(c.field).startsWith(u"Datum"))
            QVERIFY(other.exec(QStringLiteral("UPDATE Rn SET Datum = '2026-01-15', Datumnar = '2026-01-10'") + where));
        else if (QLatin1String(c.field) != u"Brbolesnlist" && QLatin1String(c.field) != u"Drz" && QLatin1String(c.field) != u"Dopunsko")
            QVERIFY(other.exec(QStringLiteral("UPDATE %1 SET %2 = '1'%3").arg(QLatin1String(c.table), QLatin1String(c.field), where)));
    }
}

void TestSubmissionRun::theFileNameTakesOnlyDigits()
{
    QVERIFY(db().exec(QStringLiteral("UPDATE Rn SET Izbor = '1' WHERE God = 26 AND Rnbr <= 3")));
    QTemporaryDir outside;
    QVERIFY(db().exec(QStringLiteral("UPDATE Opci SET Sifra = ?, SifraMalopr = ''"),
                      {QString(outside.path() + QStringLiteral("/../") + QDir(outside.path()).dirName() + QStringLiteral("/victim"))}));
    QVERIFY(m_shop->restart());
    SubmissionRun::Result r = submit({"1"});
    QCOMPARE(r.outcome, SubmissionRun::Outcome::Ended);
    QVERIFY(m_shop->dialogs.messages().last().contains(QStringLiteral("samo znamenke")));
    QCOMPARE(QDir(outside.path()).entryList(QDir::Files).size(), 0);
    QVERIFY(QDir::current().entryList({QStringLiteral("*.O*")}).isEmpty());

    // The year in the name comes from the typed date: two digits or nothing.
    QVERIFY(db().exec(QStringLiteral("UPDATE Opci SET Sifra = '123456789'")));
    QVERIFY(m_shop->restart());
    r = submit({"1", "9", "04.12.20/."});
    QCOMPARE(r.outcome, SubmissionRun::Outcome::Ended);
    QVERIFY(QDir::current().entryList(QDir::Files).filter(QStringLiteral(".O")).isEmpty());
    QCOMPARE(counter(), 6);
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestSubmissionRun)
#include "tst_submission_run.moc"
