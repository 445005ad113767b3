#pragma once

#include "common/working_folder.h"

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <optional>

// Copies of the working folder's two databases in its folder "Arhiva":
// Kelmorin-YYYYMMDD-HHMMSS.mdb and Pac-YYYYMMDD-HHMMSS.mdb, one pair per
// backup. A copy is made by the database engine from one consistent
// snapshot (never a file copy of an open database), written under a
// temporary name, checked (it opens, passes the engine's integrity check,
// holds the same number of rows in every table as the snapshot) and only
// then renamed to its own name. The invoice copy is renamed last, so a
// Kelmorin-*.mdb in the folder always belongs to a whole, checked pair.
namespace backup {

inline const QString kFolder = workdir::kArchiveFolder;

// One backup in the archive folder.
struct Copy {
    QDateTime stamp;
    QString invoiceFile; // absolute path of Kelmorin-stamp.mdb
    QString patientFile; // absolute path of Pac-stamp.mdb, empty when the folder had none
};

// The backups of a working folder, newest first.
QList<Copy> list(const QDir& folder);

// The backup a file of it names (Kelmorin-... or Pac-..., in the archive
// folder or anywhere else, a second place); nullopt for another name or when
// its invoice copy is missing.
std::optional<Copy> copyOf(const QString& file);

// Row counts of every table of a database file, read in one snapshot.
using RowCounts = std::map<QString, qint64>;

// A consistent copy of the database `source` at `target` (which must not
// exist), checked before it gets its name. On failure nothing is left at
// `target` nor under the temporary name, and *error says why (a full disk
// says so).
bool copyDatabase(const QString& source, const QString& target, QString* error);

// Whether the file at `path` opens as a database, passes the integrity
// check and holds exactly `expected` rows per table; *error names the first
// difference.
bool verify(const QString& path, const RowCounts& expected, QString* error);
// The same check against a file's own counts (for a copy chosen for restore).
bool verify(const QString& path, QString* error);

// The keep rule: of the backup times `stamps`, which are removed at `now`.
// Kept are the 10 newest, and the newest of each calendar month of the 24
// months up to `now`.
QList<QDateTime> toRemove(QList<QDateTime> stamps, const QDateTime& now);

struct Result {
    bool ok = false;
    QString error;   // why the backup failed (nothing was kept then)
    QString warning; // the backup is kept, but the second place did not get it
    Copy copy;
};

// Backs up the databases of `folder` now: a new pair in folder/Arhiva (the
// time of `now`, moved on by a second while that name is taken), then the
// keep rule over the folder's backups (only after the new pair is
// checked), then a copy of the pair into `secondPlace` when one is given
// and reachable. Temporary files of an interrupted backup are removed
// first.
Result make(const QDir& folder, const QDateTime& now, const QString& secondPlace = {});

// Where the user keeps a second copy of every backup (a USB stick, a
// synchronised folder), as the general data of the folder's invoice
// database name it; empty when none.
QString secondPlace(const QDir& folder);

// The number of invoices of the business year (Opci.God) held in an
// invoice database file; -1 when it cannot be read.
int invoicesOfBusinessYear(const QString& invoiceFile);

// The steps of a restore, in order. A test stops a restore after any of
// them, as a crash would, and then runs recoverRestore().
enum class Step {
    Staged = 1,   // the chosen copies lie beside the databases as *.vraćanje
    Committed,    // the restore record is written: from here on it completes
    JournalsAside,
    PatientsSwapped,
    InvoicesSwapped,
    Done,         // the record is removed
};
// Called after each step; returning false stops the restore there at once.
using StepSeam = std::function<bool(Step)>;

// Puts the backup `copy` in place of the folder's databases. The caller
// has closed every connection to them and made a backup of the current
// files. A crash at any instant leaves either the old files or the
// restored ones (after recoverRestore() at the next start), never one of
// each.
bool restore(const QDir& folder, const Copy& copy, QString* error, const StepSeam& seam = {});

// The restore as the user asks for it: the current databases are backed
// up first (a failure stops it, nothing changed), then `copy` is put in
// place. Returns the backup of the current files, or the failure.
Result backUpAndRestore(const QDir& folder, const Copy& copy, const QDateTime& now, const StepSeam& seam = {});

// Finishes a restore that a crash interrupted after its commit, or removes
// what one left before it. Run before the databases are opened. False
// (with the reason) only when a file could not be renamed.
bool recoverRestore(const QDir& folder, QString* error);

// A rollback journal, WAL or shared-memory file left beside `database` by
// a program that stopped would be applied to whatever file takes that name
// next: such files are moved into the archive folder under a dated name.
bool moveStaleJournalsAside(const QDir& folder, const QString& database, QString* error);

} // namespace backup
