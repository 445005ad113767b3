#pragma once

#include <QStringView>

// The personal identification number (OIB) of a person or a company:
// eleven digits, the last a check digit by ISO 7064 MOD 11,10.
namespace oib {

bool isValid(QStringView oib);

} // namespace oib
