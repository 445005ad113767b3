#pragma once

class AdjustmentWindow;
class MainWindow;
class PrintCommands;

namespace printtab {

// Wires the print buttons of the invoice tab, "Ispis više računa" and
// "Prilagodba ispisa potvrde (recepta)".
void install(MainWindow& window, PrintCommands& commands, AdjustmentWindow& adjustment);

} // namespace printtab
