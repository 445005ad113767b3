#include "price_load.h"

#include "common/formats.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/sql_values.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>

namespace pricelist {
namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// Prices are kept to four decimals; a change smaller than that is none.
bool samePrice(const std::optional<double>& old, double price)
{
    return old && std::llround(*old * 10000) == std::llround(price * 10000);
}

struct Known {
    qint64 key;
    QString name;
    std::optional<double> price;
    std::optional<double> vat;
};

bool readList(Database& db, List list, QHash<QString, Known>& known, int& lastBroj, QString* error)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT rowid, Sifra, Naziv, Cijena, PDV, Broj FROM %1 ORDER BY rowid")
                    .arg(sqlvalue::quotedName(tableOf(list)))))
        return fail(error, QStringLiteral("Tablicu %1 nije moguće pročitati: %2")
                               .arg(tableOf(list), q.lastError().databaseText()));
    lastBroj = 0;
    while (q.next()) {
        const QString code = q.value(1).toString();
        lastBroj = std::max(lastBroj, q.value(5).toInt());
        if (code.isEmpty() || known.contains(code))
            continue;
        Known k{q.value(0).toLongLong(), q.value(2).toString(), std::nullopt, std::nullopt};
        if (!q.value(3).isNull())
            k.price = q.value(3).toDouble();
        if (!q.value(4).isNull())
            k.vat = q.value(4).toDouble();
        known.insert(code, k);
    }
    return true;
}

QString price(double value) { return format::number(value, u"#,##0.0000"); }

} // namespace

int Plan::priceChanges() const
{
    return int(std::count_if(updates.begin(), updates.end(), [](const Update& u) { return u.priceChanges; }));
}

bool Plan::changesList(List list) const
{
    return std::any_of(updates.begin(), updates.end(), [list](const Update& u) { return u.list == list; })
        || std::any_of(added.begin(), added.end(), [list](const NewCode& n) { return n.list == list; });
}

bool plan(Database& db, const pricefile::Content& file, Plan& out, QString* error)
{
    out = Plan();
    QHash<QString, Known> known[2];
    int lastBroj[2] = {0, 0};
    for (List list : {List::Old12, List::New13}) {
        if (!readList(db, list, known[isThirteen(list)], lastBroj[isThirteen(list)], error))
            return false;
    }
    out.skipped = file.skipped;
    // A name longer than the list's field is cut to it, as typing would be.
    int nameWidth[2];
    for (List list : {List::Old12, List::New13})
        nameWidth[isThirteen(list)] = schema::textWidth(db, tableOf(list), QStringLiteral("Naziv"));
    for (pricefile::Row row : file.rows) {
        const List list = listOf(row.code);
        const int i = isThirteen(list);
        if (row.name && nameWidth[i] > 0)
            row.name = row.name->left(nameWidth[i]);
        const auto it = known[i].constFind(row.code);
        if (it == known[i].constEnd()) {
            if (!row.vatRate) {
                out.skipped.push_back({row.line, QStringLiteral("nova šifra %1 nema stopu PDV-a").arg(row.code)});
                continue;
            }
            out.added.push_back({list, ++lastBroj[i], row.code, row.name.value_or(QString()), row.price, *row.vatRate});
            continue;
        }
        Update u;
        u.list = list;
        u.key = it->key;
        u.code = row.code;
        u.oldName = it->name;
        u.oldPrice = it->price;
        u.oldVatRate = it->vat;
        u.price = row.price;
        u.priceChanges = !samePrice(it->price, row.price);
        if (row.name && *row.name != it->name && !row.name->isEmpty())
            u.name = row.name;
        if (row.vatRate && (!it->vat || *it->vat != *row.vatRate))
            u.vatRate = row.vatRate;
        if (u.priceChanges || u.name || u.vatRate)
            out.updates.push_back(std::move(u));
        else
            ++out.unchanged;
    }
    std::sort(out.skipped.begin(), out.skipped.end(),
              [](const pricefile::Skipped& a, const pricefile::Skipped& b) { return a.line < b.line; });
    return true;
}

QString summary(const Plan& plan, const QString& fileName, int skippedLimit)
{
    QStringList lines;
    lines << QStringLiteral("Cjenik iz datoteke %1:").arg(fileName) << QString();
    std::vector<const Update*> changed;
    for (const Update& u : plan.updates) {
        if (u.priceChanges)
            changed.push_back(&u);
    }
    lines << QStringLiteral("Mijenja se cijena kod %1 šifri.").arg(changed.size());
    if (!changed.empty()) {
        auto size = [](const Update* u) { return std::fabs(u->price - u->oldPrice.value_or(0)); };
        std::stable_sort(changed.begin(), changed.end(),
                         [&](const Update* a, const Update* b) { return size(a) > size(b); });
        lines << QStringLiteral("Najveće promjene (šifra: stara cijena -> nova cijena):");
        for (size_t i = 0; i < changed.size() && i < 10; ++i) {
            const Update& u = *changed[i];
            lines << QStringLiteral("   %1: %2 -> %3")
                         .arg(u.code, u.oldPrice ? price(*u.oldPrice) : QStringLiteral("(bez cijene)"), price(u.price));
        }
    }
    // A new name or rate changes what the prints say: each one is shown, so
    // that nothing changes unannounced.
    std::vector<const Update*> renamed, rerated;
    for (const Update& u : plan.updates) {
        if (u.name)
            renamed.push_back(&u);
        if (u.vatRate)
            rerated.push_back(&u);
    }
    if (!renamed.empty()) {
        lines << QString() << QStringLiteral("Mijenja se naziv kod %1 šifri (šifra: stari naziv -> novi naziv):").arg(renamed.size());
        for (const Update* u : renamed)
            lines << QStringLiteral("   %1: %2 -> %3")
                         .arg(u->code, u->oldName.isEmpty() ? QStringLiteral("(bez naziva)") : u->oldName, *u->name);
    }
    if (!rerated.empty()) {
        auto rate = [](const std::optional<double>& r) {
            return r ? format::general(*r) + QStringLiteral(" %") : QStringLiteral("(bez stope)");
        };
        lines << QString() << QStringLiteral("Mijenja se stopa PDV-a kod %1 šifri (šifra: stara stopa -> nova stopa):").arg(rerated.size());
        for (const Update* u : rerated)
            lines << QStringLiteral("   %1: %2 -> %3").arg(u->code, rate(u->oldVatRate), rate(u->vatRate));
    }
    lines << QString() << QStringLiteral("Novih šifri (dodaju se na kraj popisa): %1.").arg(plan.added.size());
    lines << QStringLiteral("Bez promjene: %1 šifri.").arg(plan.unchanged);
    lines << QString() << QStringLiteral("Nerazumljivih redaka (ne učitavaju se): %1.").arg(plan.skipped.size());
    const int shown = skippedLimit < 0 ? int(plan.skipped.size()) : std::min<int>(skippedLimit, int(plan.skipped.size()));
    for (int i = 0; i < shown; ++i)
        lines << QStringLiteral("   redak %1: %2").arg(plan.skipped[i].line).arg(plan.skipped[i].reason);
    if (shown < int(plan.skipped.size()))
        lines << QStringLiteral("   ... i još %1").arg(int(plan.skipped.size()) - shown);
    return lines.join(QStringLiteral("\r\n"));
}

QString backupName(Database& db, List list, const QDate& day)
{
    const QString base = tableOf(list) + day.toString(QStringLiteral("yyMMdd"));
    QString name = base;
    for (int n = 2; db.hasTable(name); ++n)
        name = base + QStringLiteral("_%1").arg(n);
    return name;
}

namespace {

// A copy of the table under the backup name, with the table's own
// definition (columns, order and types) and all its rows.
bool copyTable(Database& db, const QString& table, const QString& backup, QString* error)
{
    const QString create = db.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"),
                                     {table})
                               .toString();
    static const QRegularExpression head(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(\"[^\"]+\"|\\[[^\\]]+\\]|`[^`]+`|\\S+?)\\s*\\("),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(create);
    if (!m.hasMatch())
        return fail(error, QStringLiteral("Tablicu %1 nije moguće kopirati.").arg(table));
    QString copy = create;
    copy.replace(m.capturedStart(1), m.capturedLength(1), sqlvalue::quotedName(backup));
    if (!db.exec(copy) || !db.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(sqlvalue::quotedName(backup), sqlvalue::quotedName(table))))
        return fail(error, QStringLiteral("Rezervnu kopiju %1 nije moguće napraviti: %2").arg(backup, db.error()));
    return true;
}

} // namespace

bool apply(Database& db, const Plan& plan, const QDate& day, QStringList* backups, QString* error)
{
    Transaction tx(db);
    if (!tx.isActive())
        return fail(error, db.error());
    QStringList made;
    for (List list : {List::Old12, List::New13}) {
        if (!plan.changesList(list))
            continue;
        const QString backup = backupName(db, list, day);
        if (!copyTable(db, tableOf(list), backup, error))
            return false;
        made << backup;
    }
    for (const Update& u : plan.updates) {
        QStringList sets{QStringLiteral("Cijena = ?")};
        QVariantList binds{u.price};
        if (u.name) {
            sets << QStringLiteral("Naziv = ?");
            binds << *u.name;
        }
        if (u.vatRate) {
            sets << QStringLiteral("PDV = ?");
            binds << *u.vatRate;
        }
        binds << u.key;
        if (!db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(sqlvalue::quotedName(tableOf(u.list)), sets.join(u", ")),
                     binds))
            return fail(error, QStringLiteral("Šifru %1 nije moguće promijeniti: %2").arg(u.code, db.error()));
    }
    for (const NewCode& n : plan.added) {
        if (!db.exec(QStringLiteral("INSERT INTO %1 (Broj, Sifra, Naziv, Cijena, PDV) VALUES (?, ?, ?, ?, ?)")
                         .arg(sqlvalue::quotedName(tableOf(n.list))),
                     {n.broj, n.code, n.name, n.price, n.vatRate}))
            return fail(error, QStringLiteral("Šifru %1 nije moguće dodati: %2").arg(n.code, db.error()));
    }
    if (!tx.commit())
        return fail(error, QStringLiteral("Promjene nije moguće spremiti: %1").arg(db.error()));
    if (backups)
        *backups = made;
    return true;
}

} // namespace pricelist
