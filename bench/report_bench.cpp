// The long overview of every invoice of a business year of 32,767 invoices
// (the most a year can hold), each with a retail receipt, a manufacturer
// and four aid lines: the time from the answers to the written Temp.txt,
// and the memory the report needs above the open session.
#include "data/session.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/schema.h"
#include "large_database.h"
#include "reports/reports.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

// The resident set's high-water mark of this process, in KiB.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Starts the high-water mark anew from the present resident set.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const int year = QDate::currentDate().year();
    const int invoices = 32767;
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("shop"));
    QString error;
    if (!benchdata::generate(dir, year, 1, invoices, &error)) {
        out << "could not generate the invoices: " << error << '\n';
        return 1;
    }
    {
        Database db(QDir(dir).filePath(schema::kInvoiceFile));
        db.exec(QStringLiteral("UPDATE Rn SET BrojMalopRn = 'M-' || Rnbr, Proizv = 'PR1', Pom2 = '2103060102001', "
                               "Kol2 = 1, Pom3 = '2103031412001', Kol3 = 2, Pom4 = '2103060201001', Kol4 = 1"));
    }
    QDir::setCurrent(dir);
    Session session;
    if (!session.open()) {
        out << "could not open the folder: " << session.error() << '\n';
        return 1;
    }
    out << "Long overview of all invoices of a year of " << invoices << " invoices (median of 5 runs)\n";
    QList<double> times;
    long peak = 0, base = 0;
    for (int i = 0; i < 5; ++i) {
        ScriptedDialogs dialogs;
        dialogs.answer(QStringLiteral("S"));
        dialogs.answer(QStringLiteral("2"));
        FixedClock clock(QDate(year, 12, 31));
        HeadlessPlatform platform;
        ReportCommands reports(session, {dialogs, clock, platform}, {});
        resetPeak();
        base = peakKiB();
        QElapsedTimer timer;
        timer.start();
        const auto result = reports.invoiceOverview(ReportCommands::Paid::All);
        times << timer.nsecsElapsed() / 1e6;
        peak = std::max(peak, peakKiB() - base);
        if (result.outcome != ReportCommands::Outcome::Written) {
            out << "the report was not written\n";
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    out << QStringLiteral("time %1 ms (fastest %2 ms), memory above the open session at most %3 MiB, "
                          "Temp.txt %4 KiB\n")
               .arg(times[2], 0, 'f', 1)
               .arg(times[0], 0, 'f', 1)
               .arg(peak / 1024.0, 0, 'f', 1)
               .arg(QFileInfo(QStringLiteral("Temp.txt")).size() / 1024);
    out << "whole process peak " << peakKiB() / 1024 << " MiB\n";
    return 0;
}
