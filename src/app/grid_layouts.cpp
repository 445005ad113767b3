#include "grid_layouts.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace grids {
namespace {

ColumnLayout shown(int twips, bool centred = false)
{
    ColumnLayout c;
    c.widthTwips = twips;
    c.centred = centred;
    return c;
}

ColumnLayout hidden()
{
    ColumnLayout c;
    c.hidden = true;
    return c;
}

void hideRange(GridLayout& layout, int from, int to)
{
    for (int i = from; i <= to; ++i)
        layout[i] = hidden();
}

} // namespace

int widthOfDigits(const QTableView& view, int digits)
{
    // A cell's text keeps a margin on each side and the grid line takes a
    // pixel; on screen the grid needs one pixel more than that before the
    // last digit stops being cut to "…".
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const double text = QFontMetricsF(view.font()).horizontalAdvance(QString(digits, u'0'));
    return int(std::ceil(text)) + 2 * margin + 2;
}

int twipsToPixels(int twips, int logicalDpi) { return (twips * logicalDpi + 720) / 1440; }

GridLayout invoiceGrid()
{
    GridLayout g(45);
    g[0] = shown(700, true);   // Rnbr
    g[1] = shown(1200, true);  // Datum
    g[2] = shown(1770);        // Broj
    g[3] = shown(1800);        // Prezime
    g[4] = shown(1800);        // Ime
    hideRange(g, 5, 32);
    g[33] = shown(1130);       // Iznos
    g[33].format = QStringLiteral("0.00");
    g[34] = shown(780, true);  // Izbor
    g[35] = shown(1200);       // Pu
    g[36] = shown(900);        // Plac
    hideRange(g, 37, 40);
    g[44] = hidden();          // EVrijeme, the e-invoice's time
    for (int i : {1, 5, 42})
        g[i].date = true;
    // Up to Pu only the selection mark can be typed in the grid.
    for (int i = 0; i <= 35; ++i)
        g[i].readOnly = i != 34;
    return g;
}

GridLayout codeListGrid(bool thirteen)
{
    GridLayout g(33);
    g[0] = hidden();
    // The lists run to thousands of aids: four-digit numbers show whole.
    g[1] = shown(450);
    g[1].digits = 4;
    g[2] = hidden();
    g[3] = shown(thirteen ? 1300 : 1250);
    g[4] = hidden();
    g[5] = shown(thirteen ? 5950 : 6000);
    hideRange(g, 6, 18);
    g[19] = shown(950);
    g[19].format = QStringLiteral("#,##0.0000");
    hideRange(g, 20, 24);
    g[25] = shown(450);
    g[26] = thirteen ? shown(1000) : ColumnLayout{};
    hideRange(g, 27, 32);
    for (int i = 0; i <= (thirteen ? 26 : 25); ++i)
        g[i].readOnly = true;
    return g;
}

void apply(QTableView& view, RecordSetModel& model, const GridLayout& layout)
{
    model.setLayout(layout);
    const int dpi = view.logicalDpiX();
    QHeaderView& header = *view.horizontalHeader();
    const int defaultWidth = header.defaultSectionSize();
    for (int column = 0; column < model.columnCount(); ++column) {
        const ColumnLayout c = column < int(layout.size()) ? layout[column] : ColumnLayout{};
        view.setColumnHidden(column, c.hidden);
        if (c.hidden)
            continue;
        int width = c.widthTwips > 0 ? twipsToPixels(c.widthTwips, dpi) : defaultWidth;
        if (c.digits > 0)
            width = std::max(width, widthOfDigits(view, c.digits));
        view.setColumnWidth(column, width);
    }
}

} // namespace grids
