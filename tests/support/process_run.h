#pragma once

#include <QString>
#include <QStringList>

// What a program run to its end left behind.
struct ProcessRun {
    // The exit code; -1 when the program crashed, could not start or did
    // not end in time, so that no such run passes for a success or for an
    // ordinary failure.
    int code = -1;
    QString out;
    QString err;
};

// Runs a program with these arguments; `env` adds or replaces variables of
// the test's own environment ("NAME=value").
ProcessRun runProcess(const QString& program, const QStringList& args, const QStringList& env = {},
                      int timeoutMs = 60000);
