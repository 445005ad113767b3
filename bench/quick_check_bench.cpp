// quick_check_bench [DIR]: what the damage check costs that the submission,
// the reports, the price load, the upgrade and the start-up run first.
// Without DIR a folder of 10 business years of 20,000 invoices is generated
// in a temporary folder. Prints the file's size and the time of each run:
// the first one reads the file from the disk cache as it is, the next ones
// find it in memory. Figures on a shared machine are noisy.
#include "large_database.h"

#include "data/database.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir temp;
    QString dir = app.arguments().value(1);
    if (dir.isEmpty()) {
        dir = temp.filePath(QStringLiteral("shop"));
        QElapsedTimer made;
        made.start();
        QString error;
        if (!benchdata::generate(dir, QDate::currentDate().year(), 10, 20000, &error)) {
            QTextStream(stderr) << error << '\n';
            return 1;
        }
        out << "generated 10 x 20000 invoices in " << made.elapsed() << " ms\n";
    }
    const QString file = QDir(dir).filePath(schema::kInvoiceFile);
    out << file << ": " << QFileInfo(file).size() / 1024 << " KB\n";
    for (int run = 1; run <= 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        Database db(file);
        QString message;
        const bool sound = db.isSound(&message);
        out << "run " << run << ": open + quick_check " << timer.elapsed() << " ms" << (sound ? "" : " DAMAGED") << '\n';
        out.flush();
    }
    return 0;
}
