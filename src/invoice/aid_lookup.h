#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>

class Database;

// One aid of a code list as the prints read it.
struct Aid {
    QString name;  // Naziv
    QVariant iso;  // the ISO 9999 class beside the code (column 4); may be null
    double price = 0;   // Cijena, per unit without VAT
    double vatRate = 0; // PDV in percent
    // Aids priced per square centimetre of lining carry the unit "cm2" and
    // the lining's width and length.
    QString unit;       // JedMjere
    double liningWidth = 0;  // OblogaSir
    double liningLength = 0; // OblogaDuz
};

namespace aids {

enum class List { Old12, New13 };

// The list a code is looked up in: a code of exactly 12 characters in the
// old list (KelmorinISO), any other in the current one.
List listFor(QStringView code);
// The table that holds a list.
QString table(List list);

// The first row of the list with this code, found through the index.
std::optional<Aid> find(Database& db, List list, const QString& code);

// Looks many codes up (a submission of thousands of invoices): each code is
// read from its list once.
class Catalogue {
public:
    explicit Catalogue(Database& db) : m_db(db) {}
    std::optional<Aid> find(List list, const QString& code);

private:
    Database& m_db;
    QHash<QString, std::optional<Aid>> m_known[2];
};

} // namespace aids
