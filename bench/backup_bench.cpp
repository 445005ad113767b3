// Backup with its check, on ten years of 20,000 invoices and 50,000
// patients: reports the time of the backup (copy, integrity check, row
// counts, rename) and of a restore. Figures only; nothing is asserted.
#include "backup/backup.h"
#include "data/database.h"
#include "data/schema.h"
#include "large_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

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
    return 0;
}
