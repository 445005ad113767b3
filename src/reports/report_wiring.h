#pragma once

#include "common/services.h"

#include <memory>

class MainWindow;
class PrintTarget;
class ReportCommands;
class ReportWindow;
class Session;

namespace reporttab {

// The reports of the menu and the window they are shown in, kept for the
// whole run.
class Reports {
public:
    Reports(MainWindow& window, Session& session, Services services, PrintTarget& printer);
    ~Reports();

    ReportCommands& commands() { return *m_commands; }
    // The program's window for text documents; other commands show their
    // text files in it too.
    ReportWindow& window() { return *m_window; }

private:
    std::unique_ptr<ReportWindow> m_window;
    std::unique_ptr<ReportCommands> m_commands;
};

// Wires the menu items of the reports ("Pregled računa..." with its five
// items, "Pregled računa po bilješci" with its three, "Rekapitulacija
// poreza"); the overview by aid takes the aid from the code list that is
// shown.
std::unique_ptr<Reports> install(MainWindow& window, Session& session, Services services, PrintTarget& printer);

} // namespace reporttab
