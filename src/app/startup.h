#pragma once

#include "common/services.h"

#include <QString>
#include <QStringList>

#include <memory>

class Session;
namespace accessdb {
class ProgressView;
}

// Start-up up to the main window: the companion program, the pending
// upgrade steps, the live sets of the business year, invoice 1 of a new
// year, the last invoice current and the confirmation-form variants. The
// window's own steps (centring, grid layouts, the calendar, showing it, the
// version notice) follow in the window.
class Startup {
public:
    // An Access database in the folder is converted on the user's word,
    // its progress shown in `conversionProgress` (none when null).
    explicit Startup(Services services, accessdb::ProgressView* conversionProgress = nullptr)
        : m_services(services), m_conversionProgress(conversionProgress) {}

    // The session to show, or nullptr when the program must end (the reason
    // has been shown).
    std::unique_ptr<Session> run();

private:
    bool ensureDatabase();
    void startCompanion();
    void readFormVariants(Session& session);

    Services m_services;
    accessdb::ProgressView* m_conversionProgress;
};

// The entries of the confirmation-form list from the lines of Recept.txt:
// each line that begins with "#99" gives the up to 15 characters after the
// fourth.
QStringList formVariantsFrom(const QStringList& lines);
