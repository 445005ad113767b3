#include "common/cp1250.h"
#include "common/formats.h"
#include "print/print_target.h"
#include "support/recording_canvas.h"
#include "reports/report_writer.h"
#include "reports/reports.h"
#include "reports/text_document.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QTest>

// The report file's bytes, the period answers and the printing of a text
// document.
class TestReportWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnsAndTheNextLineRule();
    void valuesNeverTouch();
    void numbersDatesAndMoney();
    void fileBytesAreWindows1250WithCrLf();
    void periodAnswers();
    void printedTextFitsThePageAndBreaksBetweenLines();
    void savedCopyKeepsTheBytes();
};

static QByteArray readBack(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void TestReportWriter::columnsAndTheNextLineRule()
{
    ReportWriter w;
    w.at(6, "ab");   // columns 6-7
    w.at(8, "cd");   // right after, touching "ab": next line, column 8
    w.at(9, "x");    // column 9 is taken: next line, column 9
    w.at(1, "z");    // the line reaches column 9: next line
    w.rightAligned("12,5");
    w.endLine();
    w.at(1, QString(80, u'n')); // passes column 75
    w.rightAligned("7");         // goes to the next line, still ending in 75
    w.endLine();
    w.line("end");
    // A running number of four digits fills columns 1-6 up to its trailing
    // blank; the invoice number at column 6 stays on the line.
    w.numberAt(1, 1000);
    w.numberAt(6, 15);
    w.endLine();
    QCOMPARE(w.bytes(), QByteArray("     ab\r\n       cd\r\n        x\r\nz" + QByteArray(70, ' ') + "12,5\r\n" + QByteArray(80, 'n')
                                   + "\r\n" + QByteArray(74, ' ') + "7\r\nend\r\n 1000 15 \r\n"));
}

void TestReportWriter::valuesNeverTouch()
{
    // A five-digit invoice number ends right before the date's column, a
    // five-digit running number before the quantity's, a surname before
    // its amount: each following value starts on the next line.
    ReportWriter w;
    w.numberAt(12, 10012);
    w.at(18, "15.09.2026.");
    w.endLine();
    w.numberAt(1, 10000);
    w.at(7, "1 ×");
    w.endLine();
    w.at(47, QString(24, u'Š'));
    w.rightAligned("52,92");
    w.endLine();
    QCOMPARE(w.bytes(), QByteArray(11, ' ') + " 10012\r\n" + QByteArray(17, ' ') + "15.09.2026.\r\n 10000\r\n" + QByteArray(6, ' ')
                            + "1 \xD7\r\n" + QByteArray(46, ' ') + QByteArray(24, '\x8A') + "\r\n" + QByteArray(70, ' ')
                            + "52,92\r\n");
}

void TestReportWriter::numbersDatesAndMoney()
{
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    ReportWriter w;
    w.numberAt(1, 12);
    w.numberAt(5, -3);
    w.dateAt(9, QDate(2024, 9, 1));
    w.dateAt(30, QDate()); // a missing date writes nothing
    w.endLine();
    w.moneyRightAligned(1234567.891);
    w.endLine();
    QCOMPARE(QString::fromLatin1(w.bytes()), QStringLiteral(" 12 -3  01.09.2024.\r\n") + QString(63, u' ')
                                                 + QStringLiteral("1.234.567,89\r\n"));
    QLocale::setDefault(QLocale::c());
}

void TestReportWriter::fileBytesAreWindows1250WithCrLf()
{
    TempFolder folder;
    ReportWriter w;
    w.line(QStringLiteral("ČĆŽŠĐčćžšđ ×"));
    w.at(3, "open"); // a line left open is written without its end
    QVERIFY(w.save(folder.file("Temp.txt")));
    QCOMPARE(readBack(folder.file("Temp.txt")), QByteArray("\xC8\xC6\x8E\x8A\xD0\xE8\xE6\x9E\x9A\xF0 \xD7\r\n  open"));
    QString error;
    QVERIFY(!w.save(folder.file("no/such/folder/Temp.txt"), &error));
    QVERIFY(!error.isEmpty());
}

void TestReportWriter::periodAnswers()
{
    using reportperiod::readCarried;
    using reportperiod::readExact;
    auto carried = [](const char* a) { return readCarried(QString::fromLatin1(a)); };
    QCOMPARE(carried("010824-310824")->from, QDate(2024, 8, 1));
    QCOMPARE(carried("010824-310824")->to, QDate(2024, 8, 31));
    QCOMPARE(carried("320824-311324")->from, QDate(2024, 9, 1)); // day 32 of August
    QCOMPARE(carried("320824-311324")->to, QDate(2025, 1, 31));  // month 13
    QCOMPARE(carried("000324-010024")->from, QDate(2024, 2, 29)); // day 0: the month before's last
    QCOMPARE(carried("000324-010024")->to, QDate(2023, 12, 1));   // month 0: December before
    for (const char* wrong : {"s", "S ", "01082-310824", "010824310824", "010824-31082x", " 010824-310824"})
        QVERIFY2(!carried(wrong), wrong);
    QCOMPARE(readExact(QStringLiteral("290224-010324"))->from, QDate(2024, 2, 29));
    QVERIFY(!readExact(QStringLiteral("290223-010324"))); // no 29 February in 2023
    QVERIFY(!readExact(QStringLiteral("320824-010924")));
    QVERIFY(!readExact(QStringLiteral("s")));
    // Every report reads a period's year as 2000 + yy, 2030 to 2099 included.
    for (const auto& read : {readExact, readCarried}) {
        QCOMPARE(read(QStringLiteral("010130-311230"))->from, QDate(2030, 1, 1));
        QCOMPARE(read(QStringLiteral("010130-311299"))->to, QDate(2099, 12, 31));
    }
}

void TestReportWriter::printedTextFitsThePageAndBreaksBetweenLines()
{
    TempFolder folder;
    TextFileWriter file;
    for (int i = 0; i < 150; ++i)
        file.writeLine(QString(i == 40 ? 100 : 20, QChar(u'a' + i % 26)));
    QVERIFY(file.save(folder.file("Temp.txt")));
    TextDocument doc;
    QVERIFY(doc.load(folder.file("Temp.txt")));
    QCOMPARE(doc.lines().size(), 150);

    RecordingPrintTarget target;
    QCOMPARE(doc.print(target), TextDocument::PrintOutcome::Printed);
    const auto& items = target.last().items();
    int pages = 1, texts = 0;
    double lastTop = -1;
    for (const auto& item : items) {
        if (item.kind == RecordingCanvas::Item::PageBreak) {
            ++pages;
            lastTop = -1;
            continue;
        }
        ++texts;
        QCOMPARE(item.font.family, TextDocument::kFontFamily);
        // The 100-character line must fit the 180 mm of the page: 9 points
        // at the recording's 2 mm per character at 10 points.
        QCOMPARE(item.font.points, 9.0);
        QVERIFY(item.text.size() * RecordingCanvas::kAdvanceAt10Points * 0.9 <= TextDocument::kWidth);
        QVERIFY(item.y1 > lastTop);
        QVERIFY(item.y1 + 9 * 0.45 <= TextDocument::kTop + TextDocument::kHeight + 1e-9);
        lastTop = item.y1;
    }
    QCOMPARE(texts, 150); // every line once, none split
    QCOMPARE(pages, 3);   // 64 lines of 4.05 mm to a page
    QVERIFY(target.last().finished());

    target.refuse = true;
    QCOMPARE(doc.print(target), TextDocument::PrintOutcome::Cancelled);

    // A report goes out under its heading, so that two saved reports do not
    // take one file name; any other text file under its own name.
    TextFileWriter report;
    report.writeLine(QString());
    report.writeLine(QStringLiteral("Pregled neplaćenih računa u razdoblju od 01.08.2024 do 31.08.2024 / Đuro"));
    QVERIFY(report.save(folder.file("Temp.txt")));
    QVERIFY(doc.load(folder.file("Temp.txt")));
    QCOMPARE(doc.documentName(), QStringLiteral("Pregled-neplacenih-racuna-u-razdoblju-od-01.08.2024-do-31.08.2024-Duro"));
    QVERIFY(report.save(folder.file("1234567001.O26")));
    QVERIFY(doc.load(folder.file("1234567001.O26")));
    QCOMPARE(doc.documentName(), QStringLiteral("1234567001"));
}

void TestReportWriter::savedCopyKeepsTheBytes()
{
    TempFolder folder;
    QByteArray bytes("\xC8\x81 x\r\n\r\nlast");
    for (int b = 0x80; b < 0x100; ++b)
        bytes += char(b);
    folder.touch("Temp.txt", bytes);
    TextDocument doc;
    QVERIFY(doc.load(folder.file("Temp.txt")));
    QVERIFY(doc.saveAs(folder.file("copy.txt")));
    QCOMPARE(readBack(folder.file("copy.txt")), bytes);
    // A copy never replaces the database or another data file.
    folder.touch("Kelmorin.mdb", "SQLite format 3");
    QString error;
    QVERIFY(!doc.saveAs(folder.file("Kelmorin.mdb"), &error));
    QVERIFY(error.contains(QStringLiteral("Kelmorin.mdb")));
    QCOMPARE(readBack(folder.file("Kelmorin.mdb")), QByteArray("SQLite format 3"));
    QVERIFY(!doc.saveAs(folder.file("upg071219.inm")));
    QVERIFY(!doc.load(folder.file("missing.txt")));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestReportWriter)
#include "tst_report_writer.moc"
