#pragma once

#include "invoice/aid_lookup.h"

#include <QString>

#include <optional>

class Database;

// The reports find an aid of an invoice line the way every other command
// does: in the list its code belongs to, the first row with the code. All
// the reports' look-ups go through here.
namespace reportpricing {

class Aids {
public:
    explicit Aids(Database& db) : m_catalogue(db) {}
    // The aid of the code; none when its list does not hold the code.
    std::optional<Aid> find(const QString& code) { return m_catalogue.find(aids::listFor(code), code); }

private:
    aids::Catalogue m_catalogue;
};

} // namespace reportpricing
