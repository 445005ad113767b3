#pragma once

class Dialogs;
class InvoiceCommands;
class MainWindow;
class Session;

namespace invoicetab {

// Fills the invoice tab's entry area and wires the invoice commands into the
// main window: F9 and the new-invoice button, "Prikaži račun broj...",
// "Iznos sudjelovanja", the aid selection (button, picture button, a
// double-click on a code-list row), and the recomputation when the invoice
// tab is left.
void install(MainWindow& window, Session& session, InvoiceCommands& commands, Dialogs& dialogs);

} // namespace invoicetab
