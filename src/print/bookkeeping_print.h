#pragma once

#include "common/services.h"
#include "invoice_slots.h"
#include "print_outcome.h"

class Database;
class PrintTarget;

// The copy of an invoice for the supplier's bookkeeper: the fund's share of
// aids 1 to 4 with the VAT broken down by rate. It is not sent to the fund
// and needs no layout table.
namespace bookkeeping {

struct Line {
    QString code, name;
    float quantity = 0, price = 0;
    double vatRate = 0;
};

// The working values, in single precision as the bookkeeping copy has
// always been computed.
struct Figures {
    std::vector<Line> lines;
    float base5 = 0, vat5 = 0, base25 = 0, vat25 = 0;
    float ratio = 1; // the fund's share of every price
};

PrintOutcome print(Database& db, const invoiceslots::Sources& s, Services services, PrintTarget& target);

} // namespace bookkeeping
