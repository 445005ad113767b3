#pragma once

#include "common/services.h"

#include <QString>

class Dialogs;
class Platform;
class Session;

class MainWindow;

// The shell's own menu commands.
namespace shell {

inline const QString kInsuranceStatusPage = QStringLiteral("https://hzzo.hr/");

void install(MainWindow& window, Session& session, Services services);

// "Promjena poslovne godine": true when a new year was stored, after which
// the program ends so that the next start opens that year.
bool changeBusinessYear(Session& session, Dialogs& dialogs);

// "Pomoć": Uputstva.htm of the working folder in the system's browser;
// nothing when there is no such page.
void openHelp(Platform& platform);

} // namespace shell
