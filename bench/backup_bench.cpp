// Backup with its check, on ten years of 20,000 invoices and 50,000
// patients: reports the time of the backup (copy, integrity check, row
// counts, rename) and of a restore, and the whole end of the program on
// that folder: the real kelmorin, started offscreen, is sent SIGTERM (which
// ends it as "    Izlaz    " does: edits saved, the backup made and
// checked) once its start-up is over, and timed until its process is gone.
// Figures only; nothing is asserted.
#include "backup/backup.h"
#include "data/database.h"
#include "data/schema.h"
#include "large_database.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

bool addPatients(const QString& dir, int count, QString* error)
{
    Database db(QDir(dir).filePath(schema::kPatientFile));
    Transaction tx(db);
    for (int n = 1; n <= count; ++n) {
        if (!db.exec(QStringLiteral("INSERT INTO Popis (prezime, ime, Ulica, Mjesto, Telefon, Datupisa) VALUES (?,?,?,?,?,?)"),
                     {QStringLiteral("Prezime%1").arg(n % 977), QStringLiteral("Ime%1").arg(n % 131),
                      QStringLiteral("Ulica %1").arg(n), QStringLiteral("Zagreb"), QStringLiteral("01 %1").arg(1000000 + n),
                      QStringLiteral("2020-01-01")})) {
            *error = db.error();
            return false;
        }
    }
    if (!tx.commit()) {
        *error = db.error();
        return false;
    }
    return true;
}

double mb(const QString& path) { return QFileInfo(path).size() / 1e6; }

// The processor time a process has used so far, in clock ticks; -1 when it
// is gone.
long long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command's name, which is in parentheses.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

struct ExitRun {
    double startMs = -1; // until the process has used no processor for 0.6 s
    double exitMs = -1;  // from SIGTERM until the process has ended
    QString failure;
};

// One start of the program on `dir` and its end.
ExitRun runProgram(const QString& dir, const QString& home)
{
    ExitRun run;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    program.start(QStringLiteral(KELMORIN_PROGRAM), {dir});
    if (!program.waitForStarted(10000)) {
        run.failure = QStringLiteral("the program did not start");
        return run;
    }
    long long last = -2;
    int quiet = 0;
    while (quiet < 3) {
        QThread::msleep(200);
        const long long now = cpuTicks(program.processId());
        if (now < 0 || program.state() != QProcess::Running) {
            run.failure = QStringLiteral("the program ended by itself");
            return run;
        }
        quiet = now == last ? quiet + 1 : 0;
        last = now;
        if (t.elapsed() > 120000) {
            run.failure = QStringLiteral("the program is still busy after 120 s");
            program.kill();
            program.waitForFinished();
            return run;
        }
    }
    run.startMs = t.elapsed() - 600;
    t.restart();
    program.terminate();
    if (!program.waitForFinished(60000)) {
        run.failure = QStringLiteral("the program did not end within 60 s of SIGTERM (a message box waiting?)");
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitMs = t.nsecsElapsed() / 1e6;
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
        run.failure = QStringLiteral("exit code %1").arg(program.exitCode());
    return run;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("shop"));
    QString error;
    QElapsedTimer t;
    t.start();
    if (!benchdata::generate(dir, 2026, 10, 20000, &error) || !addPatients(dir, 50000, &error)) {
        std::fprintf(stderr, "generate: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("generated 10 x 20000 invoices, 50000 patients in %lld ms (Kelmorin.mdb %.1f MB, Pac.mdb %.1f MB)\n",
                t.elapsed(), mb(QDir(dir).filePath(schema::kInvoiceFile)), mb(QDir(dir).filePath(schema::kPatientFile)));
    for (int run = 1; run <= 3; ++run) {
        t.restart();
        const backup::Result r = backup::make(QDir(dir), QDateTime(QDate(2026, 12, 7), QTime(10, 0, run)));
        if (!r.ok) {
            std::fprintf(stderr, "backup: %s\n", qPrintable(r.error));
            return 1;
        }
        std::printf("backup with check, run %d: %lld ms\n", run, t.elapsed());
    }
    t.restart();
    const backup::Result r = backup::backUpAndRestore(QDir(dir), backup::list(QDir(dir)).last(), QDateTime(QDate(2026, 12, 7), QTime(11, 0)));
    if (!r.ok) {
        std::fprintf(stderr, "restore: %s\n", qPrintable(r.error));
        return 1;
    }
    std::printf("backup of the current files and restore: %lld ms\n", t.elapsed());

    // The program's end on the same folder, as the user meets it.
    const QString home = tmp.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QList<double> starts, exits;
    const int backupsBefore = int(backup::list(QDir(dir)).size());
    for (int run = 1; run <= 5; ++run) {
        const ExitRun e = runProgram(dir, home);
        if (!e.failure.isEmpty()) {
            std::fprintf(stderr, "program run %d: %s\n", run, qPrintable(e.failure));
            return 1;
        }
        std::printf("program run %d: start-up %.0f ms, end with its backup %.0f ms\n", run, e.startMs, e.exitMs);
        std::fflush(stdout);
        starts << e.startMs;
        exits << e.exitMs;
    }
    const QList<backup::Copy> after = backup::list(QDir(dir));
    std::printf("program's end with its backup (SIGTERM to process gone), median of 5: %.0f ms "
                "(min %.0f, max %.0f); start-up median %.0f ms; backups %d before, %d after (the keep rule)\n",
                median(exits), *std::min_element(exits.begin(), exits.end()), *std::max_element(exits.begin(), exits.end()),
                median(starts), backupsBefore, int(after.size()));
    return 0;
}
