#include "pending_edits.h"

#include "common/dialogs.h"
#include "data/record_set.h"
#include "data/session.h"

namespace invoices {

bool saveEditsOrSay(Session& session, Dialogs& dialogs)
{
    // A session that reads its invoices straight from the file (the tool's
    // reports) has no edits waiting.
    if (!session.hasInvoices())
        return true;
    RecordSet& invoices = session.invoices();
    if (invoices.saveAll())
        return true;
    dialogs.message(invoices.error());
    return false;
}

} // namespace invoices
