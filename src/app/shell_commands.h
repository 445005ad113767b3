#pragma once

#include "common/services.h"

#include <QString>

class Dialogs;
class Platform;
class PrinterChoice;
class Session;

class MainWindow;

// The shell's own menu commands.
namespace shell {

inline const QString kInsuranceStatusPage = QStringLiteral("https://hzzo.hr/");

// "Izbor printera i postavke ispisa" changes `printer`, the printer of the
// run's prints.
void install(MainWindow& window, Session& session, Services services, PrinterChoice& printer);

// "Promjena poslovne godine": true when a new year was stored, after which
// the program ends so that the next start opens that year.
bool changeBusinessYear(Session& session, Dialogs& dialogs);

// "Pomoć": Uputstva.htm of the working folder in the system's browser;
// without that page the user is told so.
void openHelp(Platform& platform, Dialogs& dialogs);
inline const QString kNoHelpPage = QStringLiteral("Upute nisu instalirane: u mapi s podacima nema datoteke Uputstva.htm.");

} // namespace shell
