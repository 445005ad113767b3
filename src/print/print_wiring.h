#pragma once

class MainWindow;
class PrintCommands;

namespace printtab {

// Wires the print buttons of the invoice tab and "Ispis više računa".
void install(MainWindow& window, PrintCommands& commands);

} // namespace printtab
