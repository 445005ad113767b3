#pragma once

class Dialogs;
class QString;
class FieldBinder;
class QWidget;
class Session;

namespace generaldata {

// Fills the general-data tab with the supplier's fields, bound to the single
// Opci row: choosing the main regional office fills its city and street, and
// every change of the line thickness rewrites the invoices' line widths.
FieldBinder* build(QWidget* area, Session& session, Dialogs& dialogs);

// What choosing a main regional office does: its city and street go into
// the fields beside it.
void chooseMainOffice(Session& session, const QString& city);

// What a change of "Debljina crta na računima" does.
void lineThicknessChanged(Session& session, Dialogs& dialogs);

} // namespace generaldata
