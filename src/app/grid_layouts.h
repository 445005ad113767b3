#pragma once

#include "record_set_model.h"

class QTableView;

// The column layouts of the main window's grids, by position in the
// record set: the invoice grid of the business year and the two code-list
// grids. Widths are in twips (1/1440 inch) as in the forms.
namespace grids {

GridLayout invoiceGrid();
GridLayout codeListGrid(bool thirteenCharacterList);

// Puts the layout on the model (formats, read-only columns) and the view
// (widths at the screen's logical DPI, hidden columns).
void apply(QTableView& view, RecordSetModel& model, const GridLayout& layout);

int twipsToPixels(int twips, int logicalDpi);
// The width a column of the view needs to show so many digits whole.
int widthOfDigits(const QTableView& view, int digits);

} // namespace grids
