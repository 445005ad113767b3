#pragma once

#include <functional>

class Dialogs;
class FieldBinder;
class InvoiceCommands;
class QWidget;
class Session;

namespace invoiceform {

// Fills the entry area of the invoice tab with the fields of the current
// invoice (each widget named after its field), the record navigator and the
// picture button that takes the selected aid; returns the binder that keeps
// them on the current invoice. pickAid is the aid-selection command.
FieldBinder* build(QWidget* area, Session& session, InvoiceCommands& commands, Dialogs& dialogs,
                   const std::function<void()>& pickAid);

} // namespace invoiceform
