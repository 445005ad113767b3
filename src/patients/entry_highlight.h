#pragma once

class QWidget;

// An entry box of the register shows that it has the cursor: light yellow
// (255, 255, 192) while it has it, white again when it is left.
namespace patientsui {
void highlight(QWidget* box, bool hasCursor);
}
