#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The fund's twenty regional offices in the fixed order of the office pick
// lists (not alphabetical): the city name stored in Rn.Pu and
// Opci.Podrured, the office's three-digit code used in submission file
// names, and its street address.
struct RegionalOffice {
    const char16_t* city;
    const char* code;
    const char16_t* street;
};

namespace offices {

const std::array<RegionalOffice, 20>& all();

// The city names in the pick lists' order.
QStringList cities();
// The position of a city in the list, or -1.
int indexOf(const QString& city);
// The office's code for a city name, or an empty text.
QString codeOf(const QString& city);

} // namespace offices
