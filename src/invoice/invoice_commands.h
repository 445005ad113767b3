#pragma once

#include "common/services.h"
#include "data/invoice_record.h"

#include <QString>

class Session;

// The commands of the invoice tab, on the business year's current invoice.
// The window wires its buttons, keys and grids to them.
class InvoiceCommands {
public:
    InvoiceCommands(Session& session, Services services) : m_session(session), m_services(services) {}

    // A new invoice numbered highest + 1 of the year, dated today, addressed
    // to the main regional office; it becomes the current one. False when
    // none was made (the reason has been shown).
    bool newInvoice();

    // Removes the year's last invoice while it is blank (an accidental F9),
    // after the user agrees; its number is then given to the next new
    // invoice. Any other invoice stays, with a word why. True when removed.
    bool removeBlankLastInvoice();

    // "Prikaži račun broj...": asks for a number and shows that invoice.
    void showInvoiceByNumber();

    // Puts an aid into the first line that holds it (one more piece) or the
    // first empty line, then recomputes. An empty code means no row was
    // selected in the code-list grid.
    void selectAid(const QString& code);
    // Empties aid line 1 to 4 (line 1 takes the manufacturer code along).
    void clearLine(int line);

    // Recomputes Iznos from the code lists; false (with the message shown,
    // Iznos unchanged) when a code is not in its list.
    bool recompute();

    // "Oslobođen sudj." (Osl) and "Dopunsko" (Dop) exclude each other:
    // ticking one unticks the other.
    void coPaymentFlagChanged(QStringView field);

    // The record navigator: one invoice back (-1) or forward (+1).
    void step(int direction);

    // "Iznos sudjelovanja".
    void showCoPayment();

    static constexpr int kOfferedLines = aidfields::kOfferedLines;

private:
    Session& m_session;
    Services m_services;
};
