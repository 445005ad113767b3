#pragma once

#include "common/services.h"

class MainWindow;
class Session;

namespace codelisttab {

// Wires the code-list tab and the code-list menu commands: the grids' own
// models (locked or unlocked, with the new-row line), the unlock and refresh
// buttons, the three search boxes, "Šifrarnici", the two snapshot price
// loads and "Učitaj cjenik iz datoteke...". Call before the other tabs are
// wired, since it gives the grids their models.
void install(MainWindow& window, Session& session, Services services);

} // namespace codelisttab
