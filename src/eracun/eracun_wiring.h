#pragma once

class Database;
class Dialogs;
class MainWindow;

namespace eracun {
class Commands;
}

namespace eracuntab {

// Wires "eRačun za HZZO..." on the invoice tab, the menu command
// "eRačuni za označene račune..." (with a progress window) and the menu
// command "KPD oznake šifri..." (its window).
void install(MainWindow& window, eracun::Commands& commands, Database& db, Dialogs& dialogs);

} // namespace eracuntab
