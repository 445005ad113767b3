#pragma once

#include "common/services.h"
#include "invoice_slots.h"
#include "print_outcome.h"

#include <functional>

class Canvas;
class InvoiceCommands;
class PrintTarget;
class Session;

// The prints of the invoice tab on the current invoice: the back of the
// fund's confirmation form, the two invoices to the fund, a range of
// invoices, and the copy for the bookkeeper.
class PrintCommands {
public:
    using Outcome = PrintOutcome;

    PrintCommands(Session& session, Services services, InvoiceCommands& invoice, PrintTarget& target)
        : m_session(session), m_services(services), m_invoice(invoice), m_target(target)
    {
    }

    // "ISPIS POTVRDE (RECEPTA)".
    Outcome printConfirmationForm();
    // "ISPIS RAČUNA ZA OSNOVNO OSIGURANJE" / "... ZA DOPUNSKO / SUDJELOVANJE".
    Outcome printInvoice(invoiceslots::Kind kind);
    // "Ispis više računa": up to 21 invoices of the year, of one or both kinds.
    void printRange();
    // "ISPIS RAČUNA ZA KNJIGOVODSTVO (nije obvezno)".
    Outcome printBookkeeping();

    // The values of the current invoice and the general data.
    invoiceslots::Sources sources() const;

private:
    // True when pricing went through; otherwise shows why it stopped.
    bool pricingWentThrough(const QString& unknownCode, const QString& error);
    Outcome render(const QString& table, const QString& documentName, const PrintValues& values, bool invoiceLayout,
                   const std::function<void(Canvas&)>& after);

    Session& m_session;
    Services m_services;
    InvoiceCommands& m_invoice;
    PrintTarget& m_target;
};
