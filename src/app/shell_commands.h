#pragma once

#include "common/services.h"

#include <QString>

class MainWindow;

// The shell's own menu commands.
namespace shell {

inline const QString kInsuranceStatusPage = QStringLiteral("https://hzzo.hr/");

void install(MainWindow& window, Services services);

} // namespace shell
