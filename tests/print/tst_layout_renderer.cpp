#include "support/recording_canvas.h"
#include "data/database.h"
#include "data/schema.h"
#include "print/layout_renderer.h"
#include "print/print_values.h"
#include "support/temp_folder.h"

#include <QTest>

using namespace layout;
using Item = RecordingCanvas::Item;

class TestLayoutRenderer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textRowsAndStyles();
    void alignedAndWrappedSlots();
    void textsKeepToTheirColumns();
    void linesBoxesAndMarks();
    void brokenLayoutsStopWithAMessage();

private:
    static RecordingCanvas drawn(const std::vector<Row>& rows, const PrintValues& values, Renderer r)
    {
        RecordingCanvas canvas;
        draw(rows, values, r, canvas);
        return canvas;
    }
    static PrintValues values(std::initializer_list<std::pair<int, QVariant>> filled)
    {
        PrintValues v;
        v.clear();
        for (const auto& [slot, value] : filled)
            v[slot] = value;
        return v;
    }
};

void TestLayoutRenderer::textRowsAndStyles()
{
    const std::vector<Row> rows = {
        {1, 1, 20, 30, 3, 0, 12, QStringLiteral("Naslov")},    // bold italic
        {2, 1, 20, 40, 0, 0, 9, QStringLiteral("Obično")},     // plain
        {3, 1, 20, 50, 1, 0, 9, QStringLiteral("Podebljano")}, // bold
        {4, 1, 20, 60, 7, 0, 8, QStringLiteral("Isti stil")},  // no style of its own: still bold
        {5, 1, 20, 70, 0, 0, 8, QString()},                    // nothing to print
        {6, 17, 10, 80, 0, 50, 10, QStringLiteral("ab")},      // centred between 10 and 50
    };
    RecordingCanvas c = drawn(rows, {}, Renderer::Prescription);
    QCOMPARE(c.texts(), (QStringList{"Naslov", "Obično", "Podebljano", "Isti stil", "ab"}));
    const Item& title = c.items()[0];
    QCOMPARE(title.x1, 20.0);
    QCOMPARE(title.y1, 30.0);
    QCOMPARE(title.font, (Canvas::Font{QStringLiteral("Arial CE"), 12, true, true}));
    QVERIFY(!c.items()[1].font.bold && !c.items()[1].font.italic);
    QVERIFY(c.items()[3].font.bold);
    QCOMPARE(c.items()[3].font.points, 8.0);
    QCOMPARE(c.findText(QStringLiteral("ab"))->x1, 28.0); // (10 + 50 - 4) / 2

    // The invoices sit 2 mm further right.
    RecordingCanvas invoice = drawn(rows, {}, Renderer::Invoice);
    QCOMPARE(invoice.items()[0].x1, 22.0);
    QCOMPARE(invoice.findText(QStringLiteral("ab"))->x1, 30.0);
}

void TestLayoutRenderer::alignedAndWrappedSlots()
{
    const QString longName = QString(45, u'x') + QString(10, u'y');
    const PrintValues v = values({{3, QStringLiteral("1234")}, {4, 46.28}, {5, QStringLiteral("123")}, {6, longName}});
    const std::vector<Row> rows = {
        {1, 91, 10, 20, 0, 0, 10, QStringLiteral("3")},
        {2, 7, 10, 30, 0, 50, 10, QStringLiteral("3")},  // centred value
        {3, 7, 10, 35, 0, 50, 10, QStringLiteral("8")},  // empty: nothing
        {4, 92, 100, 40, 0, 0, 10, QStringLiteral("3")}, // sheet: right-aligned; invoice: from x
        {5, 9, 100, 50, 0, 0, 10, QStringLiteral("4")},  // invoice only: right-aligned
        {6, 18, 10, 60, 0, 4, 10, QStringLiteral("5")},  // one character per 4 mm box
        {7, 92, 10, 70, 0, 0, 10, QStringLiteral("6")},  // wider than 79 mm: two lines
    };
    RecordingCanvas sheet = drawn(rows, v, Renderer::Prescription);
    QCOMPARE(sheet.texts(), (QStringList{"1234", "1234", "1234", longName}));
    QCOMPARE(sheet.items()[1].x1, 26.0);  // (10 + 50 - 8) / 2
    QCOMPARE(sheet.items()[2].x1, 92.0);  // 100 - 8
    QCOMPARE(sheet.items()[3].x1, -100.0); // right-aligned at 10

    RecordingCanvas inv = drawn(rows, v, Renderer::Invoice);
    QCOMPARE(inv.texts(), (QStringList{"1234", "1234", "1234", "46.28", "1", "2", "3", longName.left(40), longName.mid(40)}));
    QCOMPARE(inv.items()[2].x1, 102.0);                    // from x, shifted
    QCOMPARE(inv.findText(QStringLiteral("46.28"))->x1, 92.0); // 100 - 10 + 2
    // Boxes [10, 14], [14, 18], [18, 22]: each character 0.2 mm left of the centre.
    QCOMPARE(inv.findText(QStringLiteral("1"))->x1, 12.0 - 1 - 0.2 + 2);
    QCOMPARE(inv.findText(QStringLiteral("3"))->x1, 20.0 - 1 - 0.2 + 2);
    const Item* rest = inv.findText(longName.mid(40));
    QCOMPARE(rest->y1, 73.0);
    QCOMPARE(rest->x1, 12.0);
}

void TestLayoutRenderer::textsKeepToTheirColumns()
{
    // 2 mm per character at 10 points on the recording canvas.
    const PrintValues v = values({{1, QStringLiteral("123456")}, {2, QStringLiteral("aaaa bbbb cccc dddd")},
                                  {3, QStringLiteral("12")}, {4, QStringLiteral("ab cdefghijklmnop")}});
    const std::vector<Row> rows = {
        {1, 9, 100, 10, 0, 8, 10, QStringLiteral("1")},  // 12 mm wide in an 8 mm column ending at 100
        {2, 92, 20, 20, 0, 20, 10, QStringLiteral("2")}, // wraps at the blanks in a 20 mm column
        {3, 9, 100, 30, 0, 8, 10, QStringLiteral("3")},  // fits: as it is, right-aligned
        {4, 93, 20, 40, 0, 12, 10, QStringLiteral("4")}, // a word longer than the column is broken
        {5, 1, 0, 50, 0, 10, 10, QStringLiteral("abcdefghij")}, // fixed text shrinks too
    };
    RecordingCanvas inv = drawn(rows, v, Renderer::Invoice);
    const Item* wide = inv.findText(QStringLiteral("123456"));
    QVERIFY(wide);
    QVERIFY(wide->font.points < 10);
    QVERIFY(wide->x1 >= 92 + 2 - 1e-9);
    QCOMPARE(wide->x1 + 6 * 0.2 * wide->font.points, 102.0); // still ends at the column's edge
    const Item* small = inv.findText(QStringLiteral("12"));
    QCOMPARE(std::tuple(small->x1, small->font.points), std::tuple(98.0, 10.0));
    // Two lines at the row's size would not hold the four words: smaller.
    QStringList wrapped;
    for (const Item& i : inv.items()) {
        if (i.kind == Item::Text && i.y1 >= 20 && i.y1 < 30) {
            wrapped << i.text;
            QVERIFY(i.x1 + i.text.size() * 0.2 * i.font.points <= 22 + 20 + 1e-9);
        }
    }
    QCOMPARE(wrapped.size(), 2);
    QCOMPARE(wrapped.join(u' '), QStringLiteral("aaaa bbbb cccc dddd"));
    const Item* fixed = inv.findText(QStringLiteral("abcdefghij"));
    QVERIFY(fixed->x1 + 10 * 0.2 * fixed->font.points <= 12 + 1e-9);

    // Kind 93 wraps on the confirmation sheet as well; a right-aligned
    // value there ends at A2 inside its column.
    RecordingCanvas sheet = drawn(rows, v, Renderer::Prescription);
    QStringList broken;
    for (const Item& i : sheet.items()) {
        if (i.kind == Item::Text && i.y1 >= 40 && i.y1 < 50) {
            broken << i.text;
            QVERIFY(i.x1 >= 20 && i.x1 + i.text.size() * 0.2 * i.font.points <= 32 + 1e-9);
        }
    }
    QVERIFY(broken.size() == 2);
    QCOMPARE(broken.join(QString()).remove(u' '), QStringLiteral("abcdefghijklmnop"));
    const Item* right = sheet.findText(QStringLiteral("aaaa bbbb cccc dddd"));
    QVERIFY(right);
    QCOMPARE(right->x1 + right->text.size() * 0.2 * right->font.points, 20.0);
    QVERIFY(right->x1 >= 0);
}

void TestLayoutRenderer::linesBoxesAndMarks()
{
    const std::vector<Row> rows = {
        {1, 2, 30, 0, 100, 150, 0, {}},                   // vertical on the sheet (A3 = 0)
        {2, 2, 30, 60, 100, 0, 3, {}},                    // horizontal on the sheet (A5 = 0)
        {3, 6, 10, 20, 40, 50, 2, {}},                    // rectangle
        {4, 5, 10, 200, 3, 5, 0, QStringLiteral("1")},    // three boxes with a top edge
        {5, 5, 10, 210, 2, 5, 0, QString()},              // two boxes, open at the top
        {6, 51, 50, 60, 0, 0, 10, QStringLiteral("1")},   // X when slot 1 holds "1"
        {7, 51, 50, 70, 0, 0, 10, QStringLiteral("2")},
        {8, 52, 80, 90, 100, 0, 0, QStringLiteral("1")},  // circle at A3 when "1"
        {9, 52, 80, 90, 110, 0, 0, QStringLiteral("2")},  // else at A2
    };
    const PrintValues v = values({{1, QStringLiteral("1")}, {2, QStringLiteral("0")}});
    RecordingCanvas sheet = drawn(rows, v, Renderer::Prescription);
    QCOMPARE(sheet.items().size(), 2 + 4);
    const Item& vertical = sheet.items()[0];
    QCOMPARE(std::tuple(vertical.x1, vertical.y1, vertical.x2, vertical.y2, vertical.width), std::tuple(30.0, 100.0, 30.0, 150.0, 1.0));
    const Item& horizontal = sheet.items()[1];
    QCOMPARE(std::tuple(horizontal.x2, horizontal.y2, horizontal.width), std::tuple(60.0, 100.0, 3.0));

    RecordingCanvas inv = drawn(rows, v, Renderer::Invoice);
    // No defaults on the invoices: the "vertical" line runs to x = 0.
    QCOMPARE(inv.items()[0].x2, 2.0);
    QCOMPARE(inv.items()[1].y2, 0.0);
    const Item& rectTop = inv.items()[2];
    QCOMPARE(std::tuple(rectTop.x1, rectTop.y1, rectTop.x2, rectTop.y2), std::tuple(12.0, 40.0, 22.0, 40.0));
    // Three boxes: four sides, the bottom and the top; two boxes: three sides and the bottom.
    int lines = 0;
    for (const Item& i : inv.items())
        lines += i.kind == Item::Line;
    QCOMPARE(lines, 2 + 4 + (4 + 2) + (3 + 1));
    const Item& lastSide = inv.items()[2 + 4 + 3];
    QCOMPARE(std::tuple(lastSide.x1, lastSide.y1, lastSide.y2), std::tuple(12.0 + 15, 200.0, 205.0));
    QCOMPARE(inv.texts(), QStringList{"X"});
    QCOMPARE(inv.findText(QStringLiteral("X"))->font.points, 8.0);
    QList<double> circles;
    for (const Item& i : inv.items()) {
        if (i.kind == Item::Circle) {
            circles << i.x1;
            QCOMPARE(std::tuple(i.x2, i.width), std::tuple(2.0, 2.0));
        }
    }
    QCOMPARE(circles, (QList<double>{92.0, 82.0}));
}

void TestLayoutRenderer::brokenLayoutsStopWithAMessage()
{
    TempFolder folder;
    Database db(schema::kInvoiceFile, Database::Mode::Create);
    QVERIFY(schema::createInvoiceDatabase(db));
    RecordingCanvas canvas;
    QString error;
    QVERIFY(!render(db, QStringLiteral("Nepostojeca"), PrintValues(), Renderer::Invoice, canvas, &error));
    QVERIFY(error.contains(QStringLiteral("Nepostojeca")));

    QVERIFY(db.exec(QStringLiteral("INSERT INTO Osnovno (A1, A2, A3, A6, A7) VALUES (1, 10, 10, 10, 'Tekst'), (91, 10, 20, 10, '92')")));
    QVERIFY(!render(db, QStringLiteral("Osnovno"), PrintValues(), Renderer::Invoice, canvas, &error));
    QVERIFY(error.contains(QStringLiteral("\"92\"")));
    QVERIFY(canvas.items().isEmpty()); // nothing drawn before the stop

    QVERIFY(db.exec(QStringLiteral("UPDATE Osnovno SET A7 = 'x' WHERE A1 = 91")));
    QVERIFY(!render(db, QStringLiteral("Osnovno"), PrintValues(), Renderer::Invoice, canvas, &error));
    // A kind the sheet does not draw is not checked there.
    QVERIFY(db.exec(QStringLiteral("UPDATE Osnovno SET A1 = 9 WHERE A1 = 91")));
    PrintValues empty;
    empty.clear();
    QVERIFY(render(db, QStringLiteral("Osnovno"), empty, Renderer::Prescription, canvas, &error));
    QCOMPARE(canvas.texts(), QStringList{"Tekst"});
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestLayoutRenderer)
#include "tst_layout_renderer.moc"
