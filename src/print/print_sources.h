#pragma once

#include "data/general_record.h"
#include "data/invoice_record.h"

// What a print reads: one invoice and the supplier's general data.
struct PrintSources {
    InvoiceRecord invoice;
    GeneralRecord general;
};
