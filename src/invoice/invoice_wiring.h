#pragma once

class InvoiceCommands;
class MainWindow;

namespace invoicetab {

// Wires the invoice commands into the main window: F9 and the new-invoice
// button, "Prikaži račun broj...", "Iznos sudjelovanja", a double-click on a
// code-list row, and the recomputation when the invoice tab is left.
void install(MainWindow& window, InvoiceCommands& commands);

} // namespace invoicetab
