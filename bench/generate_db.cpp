// generate_db DIR [YEARS] [INVOICES_PER_YEAR]: a working folder with many
// business years of invoices ending with this year.
#include "large_database.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "generate_db DIR [YEARS] [INVOICES_PER_YEAR]\n";
        return 2;
    }
    const int years = args.size() > 2 ? args[2].toInt() : 10;
    const int perYear = args.size() > 3 ? args[3].toInt() : 20000;
    QString error;
    if (!benchdata::generate(args[1], QDate::currentDate().year(), years, perYear, &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    return 0;
}
