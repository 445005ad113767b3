#pragma once

class MainWindow;

namespace eracun {
class Commands;
}

namespace eracuntab {

// Wires "eRačun za HZZO..." on the invoice tab and the menu command
// "eRačuni za označene račune..." (with a progress window).
void install(MainWindow& window, eracun::Commands& commands);

} // namespace eracuntab
