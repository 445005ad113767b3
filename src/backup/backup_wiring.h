#pragma once

#include "archive_commands.h"

#include <memory>

class MainWindow;
class Session;

// "Opcije" → "Arhiva" in the main window, and the backup at the end of the
// program.
namespace backuptab {

class Archive {
public:
    Archive(Session& session, Services services);
    backup::ArchiveCommands& commands() { return m_commands; }
    // A restore replaced the data: the program starts again on them, and
    // nothing more is written or backed up by this run.
    bool restartRequested() const { return m_restart; }
    void requestRestart() { m_restart = true; }
    // The end of the program: a backup, unless a restore asked for a new start.
    void atExit();

private:
    backup::ArchiveCommands m_commands;
    bool m_restart = false;
};

std::unique_ptr<Archive> install(MainWindow& window, Session& session, Services services);

} // namespace backuptab
