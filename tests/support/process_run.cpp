#include "process_run.h"

#include <QProcess>
#include <QProcessEnvironment>

ProcessRun runProcess(const QString& program, const QStringList& args, const QStringList& env, int timeoutMs)
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : env)
        e.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    p.setProcessEnvironment(e);
    p.start(program, args);
    const bool ended = p.waitForFinished(timeoutMs);
    if (!ended)
        p.kill();
    ProcessRun run;
    run.code = ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
