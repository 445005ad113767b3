#pragma once

#include "backup.h"
#include "common/services.h"

#include <QDir>
#include <QString>

// The user's side of the backups: the commands of "Opcije" → "Arhiva", the
// backup at the end of the program and the one before a change of many
// rows. They talk to the user only through the dialogs.
namespace backup {

// Before an upgrade step, a price-list load or another change of many rows
// (`what` completes "Arhiva prije ... nije napravljena"): a backup of the
// folder. When it fails the user is told why and chooses whether to go on;
// true to go on. A folder without Kelmorin.mdb has nothing to keep.
bool beforeManyChanges(const QDir& folder, const QString& what, Services services);

class ArchiveCommands {
public:
    // `saveEdits` writes back what the user typed (false when it could not).
    ArchiveCommands(const QDir& folder, Services services, std::function<bool()> saveEdits = {});

    // "Napravi arhivu sada": says where the backup is, or why there is none.
    bool backupNow();
    // At every normal end of the program: only a failure or a warning is
    // shown; the program ends either way.
    bool backupAtExit();
    // "Vrati podatke iz arhive...": lists the backups with their dates and
    // the invoices of the business year in each, asks which and whether,
    // backs up the current files and puts the chosen copy in place. True
    // when the data were replaced: the program must start again then,
    // without writing anything more.
    bool restore(const StepSeam& seam = {});

    // A line of the list the restore command shows: the backup's date and
    // time and the invoices of the business year in it.
    static QString describe(const Copy& copy);

private:
    QDir m_folder;
    Services m_services;
    std::function<bool()> m_saveEdits;
};

inline const QString kTitle = QStringLiteral("Arhiva");

} // namespace backup
