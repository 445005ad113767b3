#pragma once

#include "data/pricing.h"

#include <QString>

class Database;

// The reports find an aid of an invoice line the way every other command
// does: in the list its code belongs to, the first row with the code. All
// the reports' look-ups go through here.
namespace reportpricing {

using Aid = pricing::Aid;

class Aids {
public:
    explicit Aids(Database& db) : m_catalogue(db) {}
    // The aid of the code; none when its list does not hold the code, and
    // the reason when the list could not be read.
    pricing::Lookup find(const QString& code) { return m_catalogue.find(code); }

private:
    pricing::Catalogue m_catalogue;
};

} // namespace reportpricing
