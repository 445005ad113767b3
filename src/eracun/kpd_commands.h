#pragma once

#include "einvoice.h"

#include <QString>

#include <optional>
#include <vector>

class Database;
class Dialogs;

namespace eracun {

// A code with a KPD code of its own on the e-invoice, beside the name of the
// aid and the KPD code its code list gives every other code.
struct OwnKpd {
    QString code;
    QString name;    // from the code list; empty when the list no longer holds it
    QString kpd;     // its own
    QString listKpd; // its code list's (general data), used when it has none
};

// "KPD oznake šifri...": the KPD codes single aids carry on the e-invoice
// where their code list's does not fit them, kept apart from the code lists
// (which the fund's releases replace whole). Each code is checked against
// the code lists and each KPD code against the classification KPD 2025;
// the user hears why a value was refused.
class KpdCommands {
public:
    KpdCommands(Database& db, Dialogs& dialogs);

    static inline const QString kTitle = QStringLiteral("KPD oznake šifri");

    // The codes with a KPD code of their own, in the order of the codes;
    // nothing (the user was told) when they could not be read.
    std::optional<std::vector<OwnKpd>> list();

    // Gives `code` the KPD code `kpd`. False (the user was told) for a code
    // no list holds, a KPD code not in KPD 2025 or a failed write.
    bool set(const QString& code, const QString& kpd);
    // The code carries its code list's KPD code again.
    bool clear(const QString& code);

    // Asks for the code (when none is given) and its KPD code, the current
    // one offered; an empty answer, confirmed, clears it. True when
    // something was stored.
    bool edit(const QString& code = {});

private:
    // The code lists' KPD codes from the general data, without any code's
    // own: what a code carries when it has none.
    std::optional<Classification> listKpd();

    Database& m_db;
    Dialogs& m_dialogs;
};

} // namespace eracun
