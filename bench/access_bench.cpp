// Converting an Access database: rows per second on the largest file of
// the test data, in the converter's own process as the program runs it and
// inside this process (the reading alone), and the time that implies for a
// shop's ten years of invoices (200,000 rows). Reports, asserts nothing;
// the machine is shared, so the figures are noisy.
#include "access/conversion.h"
#include "access/mdb_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QDir data(QStringLiteral(KELMORIN_ACCESS_DATA));
    QFileInfoList files = data.entryInfoList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Size);
    if (files.isEmpty()) {
        out << "no test files in " << data.path() << '\n';
        return 1;
    }
    const QString largest = files.first().absoluteFilePath();
    QTemporaryDir dir;
    const int runs = 20;

    // The reading alone, in this process.
    long long rows = 0;
    int tables = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        accessdb::reader::Report report;
        report.begin = [&](int t, long long r) {
            tables = t;
            rows = r;
        };
        std::string error;
        const QString target = dir.filePath(QStringLiteral("in-process-%1.sqlite").arg(i));
        if (!accessdb::reader::convert(largest.toStdString(), target.toStdString(), report, &error)) {
            out << "conversion failed: " << QString::fromStdString(error) << '\n';
            return 1;
        }
    }
    const double inProcessMs = timer.nsecsElapsed() / 1e6 / runs;

    // As the program runs it: the converter's own process, the check of
    // every table, the rename.
    accessdb::Conversion conversion(QStringLiteral(KELMORIN_ACCESS_CONVERTER));
    timer.restart();
    for (int i = 0; i < runs; ++i) {
        if (!conversion.run(largest, dir.filePath(QStringLiteral("process-%1.mdb").arg(i)))) {
            out << conversion.error() << '\n';
            return 1;
        }
    }
    const double processMs = timer.nsecsElapsed() / 1e6 / runs;

    const double perRowMs = rows > 0 ? inProcessMs / rows : 0;
    out << "file: " << QFileInfo(largest).fileName() << " (" << QFileInfo(largest).size() / 1024 << " KiB, " << tables
        << " tables, " << rows << " rows)\n";
    out << "reading alone: " << QString::number(inProcessMs, 'f', 2) << " ms per conversion, "
        << QString::number(rows / (inProcessMs / 1000.0), 'f', 0) << " rows/s\n";
    out << "in its own process (as the program runs it): " << QString::number(processMs, 'f', 2)
        << " ms per conversion\n";
    out << "implied for 200,000 invoices at this rate: " << QString::number(200000 * perRowMs / 1000.0 + processMs / 1000.0, 'f', 2)
        << " s (target under 10 s)\n";
    if (rows < 1000)
        out << "(only " << rows << " rows: the time is the file's and the tables' fixed cost, not a row rate; "
               "the figure above is an upper bound, not an estimate)\n";
    return 0;
}
