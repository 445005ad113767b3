#include "large_database.h"

#include "common/clock.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"

#include <QDir>
#include <QSqlQuery>

namespace benchdata {

bool generate(const QString& dir, int lastYear, int years, int invoicesPerYear, QString* error)
{
    FixedClock clock(QDate(lastYear, 12, 31));
    if (!newfolder::create(dir, newfolder::Content::Empty, clock, error))
        return false;
    Database db(QDir(dir).filePath(schema::kInvoiceFile));
    Transaction tx(db);
    QSqlQuery insert(db.handle());
    insert.prepare(QStringLiteral(
        "INSERT INTO Rn (God, Rnbr, Datum, Datumnar, DatumIzdavanja, Broj, Prezime, Ime, Brosig1, Brosig2, "
        "Pom1, Kol1, Iznos, Pu, Osl, Dop) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,0)"));
    for (int y = lastYear - years + 1; y <= lastYear; ++y) {
        for (int n = 1; n <= invoicesPerYear; ++n) {
            const QString date = QDate(y, 1, 1).addDays(n * 364 / invoicesPerYear).toString(Qt::ISODate);
            const QVariantList values = {y % 100, n, date, date, date,
                                         QStringLiteral("%1").arg(n, 14, 10, QLatin1Char('0')),
                                         QStringLiteral("Prezime%1").arg(n % 977), QStringLiteral("Ime%1").arg(n % 131),
                                         QStringLiteral("123"), QStringLiteral("%1").arg(10000000 + n),
                                         QStringLiteral("2103060101001"), 1 + n % 3, 13.13 * (1 + n % 3),
                                         QStringLiteral("Zagreb")};
            for (int i = 0; i < values.size(); ++i)
                insert.bindValue(i, values[i]);
            if (!insert.exec()) {
                *error = db.error();
                return false;
            }
        }
    }
    insert.finish();
    if (!tx.commit()) {
        *error = db.error();
        return false;
    }
    return true;
}

} // namespace benchdata
