#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class Database;

// Tables and fields of Kelmorin.mdb and Pac.mdb at the newest release.
//
// Column order matters: the upgrade steps add fields by count, prints read
// code-list columns by position, and the invoice grid shows Rn in the order
// of the invoice view, which is not the table's own order.
namespace schema {

struct Column {
    const char* name;
    const char* type; // declared SQL type; TEXT(n) gives the entry width n
};
using Columns = std::vector<Column>;

inline const QString kInvoiceFile = QStringLiteral("Kelmorin.mdb");
inline const QString kPatientFile = QStringLiteral("Pac.mdb");

// Rn in its physical order: Rbr first, Rnbr at 40.
const Columns& invoiceTable();
// Rn as the invoice view lists it: Rnbr first, Rbr at 40.
const QStringList& invoiceViewColumns();
// Opci: the supplier's general data, a single row.
const Columns& generalDataTable();
// The code lists share one layout of 33 columns; the 13-character list keeps
// at 26 the old 12-character code of the same aid (Stara), the 12-character
// list the new code (Nova).
Columns codeListTable(bool thirteenCharacterList);
// Osnovno, Dopunsko, OrtopedskoPomagalo2, OrtopedskoPomagalo2S.
const Columns& layoutTable();
// The code list of the oldest databases, kept for two early upgrade steps.
const Columns& legacyCodeListTable();
const Columns& patientTable();
// EKpd: the product classification (KPD) of single aids on the e-invoice,
// where it differs from the default of their code list (Opci.EKpd12,
// Opci.EKpd13). Kept apart from the code lists, which the fund's releases
// replace whole.
inline const QString kClassificationTable = QStringLiteral("EKpd");
const Columns& classificationTable();
// What a shop of medical aids sells, in the product classification KPD
// 2025: retail trade of medical and orthopaedic goods (class 47.74, its
// first subcategory). The default of both code lists in a new folder.
inline const QString kDefaultKpd = QStringLiteral("47.74.01");
// Days to pay an e-invoice unless the general data say otherwise.
inline constexpr int kDefaultPaymentDays = 30;
const Columns& visitTable();

inline const QStringList kLayoutTables = {
    QStringLiteral("Osnovno"), QStringLiteral("Dopunsko"),
    QStringLiteral("OrtopedskoPomagalo2"), QStringLiteral("OrtopedskoPomagalo2S"),
};

QString createTableSql(const QString& table, const Columns& columns);

// The look-up indexes the program relies on for a table of this name, named
// after the table (index names are file-wide); empty for other tables.
QStringList indexStatements(const QString& table);

bool createInvoiceDatabase(Database& db);
bool createPatientDatabase(Database& db);

// The width n of a TEXT(n) field, 0 when the field has no fixed width.
int textWidth(Database& db, const QString& table, const QString& field);
// The widths of every field of a table by name (lower case); 0 for fields
// without a fixed width.
QHash<QString, int> textWidths(Database& db, const QString& table);

} // namespace schema
