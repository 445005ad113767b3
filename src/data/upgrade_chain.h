#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class Clock;
class Database;
class Dialogs;
class Platform;

// The dated upgrade steps that bring Kelmorin.mdb to the current release.
// A step may import tables from its package "upg" + YYMMDD + ".mdb", run
// statements and add fields; when it is done it writes its marker
// "upg" + YYMMDD + ".inm". The markers are the only record of what was
// applied: the newest marker found decides which steps still run.
//
// Each step runs in one transaction on Kelmorin.mdb: a failure undoes the
// whole step, writes no marker and ends start-up, so that the next start
// tries the same step again. A step whose package is missing is not started.
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
QString packageName(const QString& id);

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

class Chain {
public:
    Chain(Dialogs& dialogs, Clock& clock, Platform& platform);

    // The ids of the steps that the next run applies, in order.
    QStringList pendingSteps() const;

    // Applies the pending steps in the working folder. False when start-up
    // must end; the reason has been shown.
    bool run();

private:
    bool runPreliminaries();
    bool runStep(const Step& step);
    bool writeMarker(const Step& step);
    bool stop(const QString& message);
    const Step* newestMarkedStep() const;

    Dialogs& m_dialogs;
    Clock& m_clock;
    Platform& m_platform;
};

} // namespace upgrade
