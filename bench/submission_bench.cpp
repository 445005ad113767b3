// The fund's submission file for many marked invoices of four aid lines
// each, without printing: the run's selection, checks, computation, records
// and the write, as the program does them.
#include "data/session.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/schema.h"
#include "large_database.h"
#include "print/print_target.h"
#include "submission/submission_run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

bool prepare(const QString& dir, int year, int invoices)
{
    QString error;
    if (!benchdata::generate(dir, year, 1, invoices, &error))
        return false;
    Database db(QDir(dir).filePath(schema::kInvoiceFile));
    return db.exec(QStringLiteral("UPDATE Rn SET Izbor = '1', Pom2 = '2103060102001', Kol2 = 1, Pom3 = '2103031412001', "
                                  "Kol3 = 2, Pom4 = '2103060201001', Kol4 = 1"))
        && db.exec(QStringLiteral("UPDATE Opci SET Vrsta = '4', Sifra = '123456789', Naziv = 'Optika'"));
}

double runOnce(const QString& dir, int year)
{
    QDir::setCurrent(dir);
    Session session;
    if (!session.open())
        return -1;
    ScriptedDialogs dialogs;
    dialogs.setFallback(true);
    for (const char* a : {"1", "1", "04.12.2026", "114", "1", ""})
        dialogs.answer(QString::fromLatin1(a));
    FixedClock clock(QDate(year, 12, 31));
    HeadlessPlatform platform;
    DiscardPrintTarget target;
    QElapsedTimer timer;
    timer.start();
    const auto result = SubmissionRun(session, {dialogs, clock, platform}, target).run();
    const double ms = timer.nsecsElapsed() / 1e6;
    return result.outcome == SubmissionRun::Outcome::Completed ? ms : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const int year = QDate::currentDate().year();
    out << "Submission file without printing, four aid lines per invoice (median of 3 runs)\n";
    for (int invoices : {2000, 5000, 10000, 20000}) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(QStringLiteral("shop"));
        if (!prepare(dir, year, invoices)) {
            out << "could not generate " << invoices << " invoices\n";
            return 1;
        }
        QList<double> times;
        for (int i = 0; i < 3; ++i)
            times << runOnce(dir, year);
        std::sort(times.begin(), times.end());
        const QFileInfo file(QDir(dir).filePath(QStringLiteral("1234567891140001.O%1").arg(year % 100, 2, 10, QLatin1Char('0'))));
        out << QStringLiteral("%1 invoices: %2 ms (%3 us per invoice), file %4 KiB\n")
                   .arg(invoices, 6)
                   .arg(times[1], 7, 'f', 1)
                   .arg(times[1] * 1000 / invoices, 5, 'f', 1)
                   .arg(file.size() / 1024);
        out.flush();
    }
    return 0;
}
