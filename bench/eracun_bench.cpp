// The e-invoices of 1,000 marked invoices written and checked as the
// program does it (the menu command's run). Reports, asserts nothing.
#include "common/clock.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "eracun/eracun_run.h"
#include "eracun_shop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    FixedClock clock(QDate(2026, 12, 7));
    QString error;
    if (!newfolder::create(dir.path(), newfolder::Content::Demo, clock, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QDir::setCurrent(dir.path());
    Database db(QDir(dir.path()).filePath(QStringLiteral("Kelmorin.mdb")));
    if (!eracunshop::addExpensiveAid(db) || !eracunshop::insertInvoices(db, 1001, count, QStringLiteral("E"), 7)) {
        std::fprintf(stderr, "%s\n", qPrintable(db.error()));
        return 1;
    }
    for (int pass = 1; pass <= 2; ++pass) {
        QElapsedTimer timer;
        timer.start();
        eracun::Run run(db, clock);
        if (!run.load())
            return 1;
        const eracun::Run::Outcome outcome = run.writeMarked(26, QStringLiteral("E"), dir.filePath(QStringLiteral("eRacun")));
        const qint64 ms = timer.elapsed();
        std::printf("eracun_bench: %d invoices, %lld documents written and checked in %lld ms (%s run; %lld failed)\n",
                    outcome.invoices, qint64(outcome.files.size()), ms, pass == 1 ? "first" : "second",
                    qint64(outcome.messages.size()));
        if (pass == 1 && !outcome.messages.isEmpty())
            std::printf("first failure: %s\n", qPrintable(outcome.messages.first()));
    }
    return 0;
}
