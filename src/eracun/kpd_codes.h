#pragma once

#include <QStringView>

namespace kpd {

// A code of the product classification KPD 2025 an e-invoice line may
// carry ("47.74.01").
bool contains(QStringView code);

} // namespace kpd
