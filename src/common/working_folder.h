#pragma once

#include <QDir>
#include <QString>

// The working folder is the process's current folder: every data file is
// opened there by its bare name.
namespace workdir {

// The folder inside the working folder that holds the backups of its
// databases and the originals of converted files.
inline const QString kArchiveFolder = QStringLiteral("Arhiva");

// The actual name of a file in the folder whose name equals `name` without
// regard to case (an exact match wins); empty when there is none.
QString findFileNoCase(const QString& name, const QDir& dir = QDir::current());

// The working folder's path in the form shown to the user.
QString displayPath();

// Whether a file name (with or without its folder) is one of the program's
// own data files: the databases and their journals, the upgrade packages and
// markers, the legacy start files, Recept.txt, the folder's lock and the
// fund's submission files. No output the user names (a PDF) may take such a
// name.
bool isDataFileName(const QString& path);

// The journal files SQLite keeps beside a database ("-journal", "-wal",
// "-shm") that exist beside `databasePath`, by file name. A database that
// later takes that name would take such a file for its own and be damaged
// by it, so a new database is never put under a name that has them.
QStringList journalsBeside(const QString& databasePath);

// The message that refuses to put a database beside such files, naming them.
QString journalRefusal(const QString& databasePath, const QStringList& journals);

// Files and folders the program makes are for the user alone (0600, 0700):
// called once at the start of each program.
void keepFilesPrivate();

// Data files of the folder that others may read lose those rights, without
// a message (they hold patients' names and health data).
void narrowDataFiles(const QDir& dir = QDir::current());

} // namespace workdir
