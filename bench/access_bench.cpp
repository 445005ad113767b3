// Converting an Access database: rows per second on an invoice-shaped
// table, in the converter's own process as the program runs it and inside
// this process (the reading alone), and the time that implies for a
// shop's ten years of invoices (200,000 rows).
//
//   access_bench [ROWS] [RUNS]
//
// The file is made by access_testdata from the largest licensed test file
// (ROWS rows added to its Table1, 200,000 unless told). Reports the median
// of RUNS runs (5 unless told), asserts nothing; the machine is shared, so
// the figures are noisy.
#include "access/conversion.h"
#include "access/mdb_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const long long wanted = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200000;
    const int runs = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 5;
    const QDir data(QStringLiteral(KELMORIN_ACCESS_DATA));
    QFileInfoList files = data.entryInfoList({QStringLiteral("jet4-types.mdb")}, QDir::Files);
    if (files.isEmpty()) {
        out << "no test file in " << data.path() << '\n';
        return 1;
    }
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("racuni.mdb"));
    QElapsedTimer timer;
    timer.start();
    QProcess generator;
    generator.start(QStringLiteral(KELMORIN_ACCESS_TESTDATA),
                    {files.first().absoluteFilePath(), source, QStringLiteral("rows"), QString::number(wanted)});
    if (!generator.waitForFinished(600000) || generator.exitCode() != 0) {
        out << "the test file cannot be made: " << generator.readAllStandardError() << '\n';
        return 1;
    }
    out << "made " << QFileInfo(source).fileName() << " in " << timer.elapsed() << " ms\n";

    // The reading alone, in this process.
    long long rows = 0;
    int tables = 0;
    std::vector<double> inProcess;
    std::vector<double> inProcessCpu;
    for (int i = 0; i < runs; ++i) {
        accessdb::reader::Report report;
        report.begin = [&](int t, long long r) {
            tables = t;
            rows = r;
        };
        std::string error;
        const QString target = dir.filePath(QStringLiteral("in-process-%1.sqlite").arg(i));
        timer.restart();
        const std::clock_t cpu = std::clock();
        if (!accessdb::reader::convert(source.toStdString(), target.toStdString(), report, &error)) {
            out << "conversion failed: " << QString::fromStdString(error) << '\n';
            return 1;
        }
        inProcess.push_back(timer.nsecsElapsed() / 1e6);
        inProcessCpu.push_back(double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        QFile::remove(target);
    }

    // As the program runs it: the converter's own process, the check of
    // every table, the rename.
    accessdb::Conversion conversion(QStringLiteral(KELMORIN_ACCESS_CONVERTER));
    std::vector<double> ownProcess;
    for (int i = 0; i < runs; ++i) {
        const QString target = dir.filePath(QStringLiteral("process-%1.mdb").arg(i));
        timer.restart();
        if (!conversion.run(source, target)) {
            out << conversion.error() << '\n';
            return 1;
        }
        ownProcess.push_back(timer.nsecsElapsed() / 1e6);
        QFile::remove(target);
    }

    const double inProcessMs = median(inProcess);
    const double processMs = median(ownProcess);
    out << "file: " << QFileInfo(source).fileName() << " (" << QFileInfo(source).size() / 1024 << " KiB, " << tables
        << " tables, " << rows << " rows), median of " << runs << " runs\n";
    out << "reading alone: " << QString::number(inProcessMs, 'f', 0) << " ms per conversion, "
        << QString::number(rows / (inProcessMs / 1000.0), 'f', 0) << " rows/s; processor time "
        << QString::number(median(inProcessCpu), 'f', 0) << " ms, "
        << QString::number(rows / (median(inProcessCpu) / 1000.0), 'f', 0) << " rows/s\n";
    out << "in its own process (as the program runs it): " << QString::number(processMs, 'f', 0) << " ms, "
        << QString::number(rows / (processMs / 1000.0), 'f', 0) << " rows/s\n";
    out << "implied for 200,000 invoices at this rate: " << QString::number(200000.0 * processMs / rows / 1000.0, 'f', 2)
        << " s (target under 10 s)\n";
    return 0;
}
