#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Clock;
class QDir;
class Database;
class Dialogs;
class Platform;

// The dated upgrade steps that bring Kelmorin.mdb to the current release.
// A step may import tables from its package "upg" + YYMMDD + ".mdb", run
// statements and add fields; when it is done it writes its marker
// "upg" + YYMMDD + ".inm". The newest applied step decides which steps
// still run.
//
// Each step runs in one transaction on Kelmorin.mdb, and the same
// transaction records the step in the database's table of applied steps:
// the step and its record are there together or not at all, whatever
// instant the program is stopped at. That table is what counts; the marker
// files are written from it (and written again when one is lost). A folder
// of an older release, whose database has no such table yet, is judged by
// its markers until its first step runs; a database whose record cannot be
// read stops the chain before anything is judged. A failure undoes the whole step,
// writes no marker and ends start-up, so that the next start tries the same
// step again. A step whose package is missing is not started.
namespace upgrade {

class StepContext;

struct Step {
    QString id;      // YYMMDD
    QString package; // the package it imports from, or empty
    std::function<bool(StepContext&)> work;
    QString message;            // shown after the step, or empty
    bool messageBeforeMarker = false;
    QString markerSuffix;       // appended to the marker's line
    bool registerFileTypes = false; // after the marker and the message
};

// Every step, oldest first.
const std::vector<Step>& steps();

inline const QString kOldestMarker = QStringLiteral("upg050207");
QString markerName(const QString& id);

// The second place for backups as earlier releases kept it, in a text file
// of the archive folder of `folder`; empty when there is none. Read until
// the general data have the field that replaces it.
QString oldSecondPlace(const QDir& folder);
QString packageName(const QString& id);

// The table of applied steps in Kelmorin.mdb: the step's id and when it was
// applied ("ddMMyyHHmmss").
inline const QString kAppliedTable = QStringLiteral("Nadogradnje");

// Records steps as applied (creating the table when needed), inside the
// caller's transaction. A new database records every step: it is made at
// the newest release.
bool recordApplied(Database& db, const QStringList& ids, const QString& when);
QStringList allStepIds();

// What one step works with.
class StepContext {
public:
    StepContext(Database& target, Database* package, Platform& platform)
        : m_target(target), m_package(package), m_platform(platform) {}

    Database& target() { return m_target; }
    Database& package() { return *m_package; }
    Platform& platform() { return m_platform; }
    QString& error() { return m_error; }

    bool exec(const QString& sql, const QVariantList& binds = {});
    bool drop(const QString& table);
    bool import(const QString& table);
    bool rename(const QString& from, const QString& to);
    // A rename whose failure the step ignores (the table may be gone).
    void renameIfPresent(const QString& from, const QString& to);
    // Renames the table to table + suffix and imports its replacement.
    bool replaceKeepingBackup(const QString& table, const QString& backupName);
    bool addGuarded(const QString& table, int count, const QString& column, const QString& type);
    bool addColumn(const QString& table, const QString& column, const QString& type);
    bool widen(const QString& table, const QString& column, int width);

private:
    bool failed();

    Database& m_target;
    Database* m_package;
    Platform& m_platform;
    QString m_error;
};

// The instants of a step at which a stop of the process leaves a different
// state behind: its work done but not committed, committed without its
// marker, and marked.
enum class Instant { Worked, Committed, Marked };
using Checkpoint = std::function<void(const QString& id, Instant instant)>;
// Called at each of those instants of every step. The program sets none;
// a test-only helper program sets one that ends the process there, as a
// power cut would.
void setCheckpoint(Checkpoint checkpoint);

class Chain {
public:
    Chain(Dialogs& dialogs, Clock& clock, Platform& platform);

    // The ids of the steps that the next run applies, in order; none when
    // the database's record of them cannot be read (the run stops then).
    QStringList pendingSteps() const;

    // Applies the pending steps in the working folder. False when start-up
    // must end; the reason has been shown.
    bool run();

private:
    // The steps the database records, or nothing for an older database
    // without the table (its markers count then). A database that cannot
    // be read, is damaged or is not the program's is a failure: error says
    // why, and nothing may be judged from the markers then.
    std::optional<QStringList> recordedSteps(QString* error) const;
    // The ids of the steps that the run applies, in order.
    QStringList pendingSteps(const std::optional<QStringList>& recorded) const;
    bool isApplied(const Step& step, const std::optional<QStringList>& recorded) const;
    bool repairMarkers(const QStringList& recorded);
    bool runPreliminaries();
    bool runStep(const Step& step, const QStringList& alreadyApplied);
    bool writeMarker(const QString& id, const QString& when, const QString& suffix);
    bool stop(const QString& message);
    const Step* newestAppliedStep(const std::optional<QStringList>& recorded) const;

    Dialogs& m_dialogs;
    Clock& m_clock;
    Platform& m_platform;
};

} // namespace upgrade
