#include "aid_lookup.h"

#include "data/database.h"

#include <QSqlQuery>

namespace aids {

List listFor(QStringView code) { return code.size() == 12 ? List::Old12 : List::New13; }

QString table(List list)
{
    return list == List::Old12 ? QStringLiteral("KelmorinISO") : QStringLiteral("OrtopedskaKelmorinISO");
}

std::optional<Aid> find(Database& db, List list, const QString& code)
{
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT Naziv, ISO, Cijena, PDV, JedMjere, OblogaSir, OblogaDuz FROM %1 WHERE Sifra = ? ORDER BY rowid LIMIT 1").arg(table(list)));
    q.addBindValue(code);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return Aid{q.value(0).toString(), q.value(1), q.value(2).toDouble(), q.value(3).toDouble(),
               q.value(4).toString(), q.value(5).toDouble(), q.value(6).toDouble()};
}

std::optional<Aid> Catalogue::find(List list, const QString& code)
{
    auto& known = m_known[list == List::Old12 ? 0 : 1];
    const auto it = known.constFind(code);
    if (it != known.constEnd())
        return *it;
    std::optional<Aid> aid = aids::find(m_db, list, code);
    known.insert(code, aid);
    return aid;
}

} // namespace aids
