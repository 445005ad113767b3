#pragma once

#include "list_rule.h"
#include "price_file.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Database;

// Loading the fund's price list into the two code lists. Each code goes to
// the list the list rule names; a known code gets the file's name, price
// and VAT rate in its first row, a new code is added at the end of its list
// with the next Broj, and codes the file does not name stay as they are.
// The user first sees what will change; the change is one transaction after
// a backup copy of each list it touches.
namespace pricelist {

using codelists::List;
using codelists::isThirteen;
using codelists::listOf;
using codelists::tableOf;

struct Update {
    List list = List::New13;
    qint64 key = 0; // rowid of the code's first row
    QString code;
    QString oldName;
    std::optional<double> oldPrice;
    std::optional<QString> name;    // none: keep
    double price = 0;
    std::optional<double> vatRate;  // none: keep
    std::optional<double> oldVatRate;
    bool priceChanges = false;
};

struct NewCode {
    List list = List::New13;
    int broj = 0;
    QString code;
    QString name;
    double price = 0;
    double vatRate = 0;
};

struct Plan {
    std::vector<Update> updates;  // rows whose price, name or rate change
    std::vector<NewCode> added;
    int unchanged = 0;
    std::vector<pricefile::Skipped> skipped; // by line
    int priceChanges() const;
    bool changesList(List list) const;
    bool isEmpty() const { return updates.empty() && added.empty(); }
};

// What the file would change; false with the reason when a list cannot be
// read.
bool plan(Database& db, const pricefile::Content& file, Plan& out, QString* error);

// The summary the user confirms: price changes with the ten largest (old and
// new price), every change of a name (old and new name) and of a VAT rate,
// new codes, rows not understood with line and reason (at most skippedLimit
// of them, -1 for all). Nothing is applied that it does not tell.
QString summary(const Plan& plan, const QString& fileName, int skippedLimit = 20);

// The backup name of a list loaded on a day, as the upgrade steps name
// theirs (table + YYMMDD); a second load on the same day gets "_2" and so on.
QString backupName(Database& db, List list, const QDate& day);

// Applies the plan in one transaction after copying each list it changes
// to its backup table; nothing changes on failure.
bool apply(Database& db, const Plan& plan, const QDate& day, QStringList* backups, QString* error);

} // namespace pricelist
