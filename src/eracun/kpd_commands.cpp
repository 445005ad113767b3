#include "kpd_commands.h"

#include "common/dialogs.h"
#include "data/database.h"
#include "data/general_record.h"
#include "data/pricing.h"
#include "data/schema.h"
#include "data/sql_values.h"
#include "data/statement.h"
#include "kpd_codes.h"

namespace eracun {

KpdCommands::KpdCommands(Database& db, Dialogs& dialogs)
    : m_db(db), m_dialogs(dialogs)
{
}

std::optional<Classification> KpdCommands::listKpd()
{
    QString error;
    const std::optional<GeneralRecord> general = GeneralRecord::load(m_db, &error);
    if (!general) {
        m_dialogs.message(error, kTitle);
        return std::nullopt;
    }
    return Classification{general->kpdOld, general->kpdNew, {}};
}

std::optional<std::vector<OwnKpd>> KpdCommands::list()
{
    const std::optional<Classification> lists = listKpd();
    if (!lists)
        return std::nullopt;
    Statement q(m_db, QStringLiteral("SELECT Sifra, KPD FROM %1 WHERE KPD IS NOT NULL AND TRIM(KPD) <> '' ORDER BY Sifra")
                          .arg(sqlvalue::quotedName(schema::kClassificationTable)));
    std::vector<OwnKpd> codes;
    pricing::Catalogue catalogue(m_db);
    while (q.next()) {
        OwnKpd c;
        c.code = q.value(0).toString();
        c.kpd = q.value(1).toString().trimmed();
        c.listKpd = lists->of(c.code);
        const pricing::Lookup found = catalogue.find(c.code);
        if (found.aid)
            c.name = found.aid->name.trimmed();
        codes.push_back(std::move(c));
    }
    if (!q.error().isEmpty()) {
        m_dialogs.message(QStringLiteral("KPD oznake šifri nije moguće pročitati: ") + q.error(), kTitle);
        return std::nullopt;
    }
    return codes;
}

bool KpdCommands::set(const QString& typedCode, const QString& typedKpd)
{
    const QString code = typedCode.trimmed(), kpd = typedKpd.trimmed();
    const pricing::Lookup found = pricing::find(m_db, code);
    if (found.failed()) {
        m_dialogs.message(pricing::failedLookupMessage(found.error), kTitle);
        return false;
    }
    if (code.isEmpty() || !found.aid) {
        m_dialogs.message(pricing::unknownCodeMessage(code), kTitle);
        return false;
    }
    if (!kpd::contains(kpd)) {
        m_dialogs.message(QStringLiteral("KPD oznaka „%1“ nije ispravna: nema je u klasifikaciji KPD 2025 (upisuje se u obliku "
                                         "47.74.01). Šifra %2 zadržava dosadašnju KPD oznaku.")
                              .arg(kpd, code),
                          kTitle);
        return false;
    }
    const QString table = sqlvalue::quotedName(schema::kClassificationTable);
    Transaction tx(m_db);
    if (!m_db.exec(QStringLiteral("DELETE FROM %1 WHERE Sifra = ?").arg(table), {code})
        || !m_db.exec(QStringLiteral("INSERT INTO %1 (Sifra, KPD) VALUES (?, ?)").arg(table), {code, kpd}) || !tx.commit()) {
        m_dialogs.message(QStringLiteral("KPD oznaku šifre %1 nije moguće spremiti: %2").arg(code, m_db.error()), kTitle);
        return false;
    }
    return true;
}

bool KpdCommands::clear(const QString& typedCode)
{
    const QString code = typedCode.trimmed();
    if (!m_db.exec(QStringLiteral("DELETE FROM %1 WHERE Sifra = ?").arg(sqlvalue::quotedName(schema::kClassificationTable)),
                   {code})) {
        m_dialogs.message(QStringLiteral("KPD oznaku šifre %1 nije moguće ukloniti: %2").arg(code, m_db.error()), kTitle);
        return false;
    }
    return true;
}

bool KpdCommands::edit(const QString& given)
{
    QString code = given.trimmed();
    if (code.isEmpty())
        code = m_dialogs.input(kTitle, QStringLiteral("Upišite šifru pomagala (kelmorin) kojoj želite upisati vlastitu KPD oznaku:"),
                               QString())
                   .trimmed();
    if (code.isEmpty())
        return false;
    const pricing::Lookup found = pricing::find(m_db, code);
    if (found.failed()) {
        m_dialogs.message(pricing::failedLookupMessage(found.error), kTitle);
        return false;
    }
    if (!found.aid) {
        m_dialogs.message(pricing::unknownCodeMessage(code), kTitle);
        return false;
    }
    const std::optional<Classification> lists = listKpd();
    if (!lists)
        return false;
    const QString listKpd = lists->of(code);
    const QString current =
        m_db.scalar(QStringLiteral("SELECT KPD FROM %1 WHERE Sifra = ?").arg(sqlvalue::quotedName(schema::kClassificationTable)),
                    {code})
            .toString()
            .trimmed();
    const QString listText = listKpd.isEmpty() ? QStringLiteral("nije upisana") : listKpd;
    const QString kpd = m_dialogs
                            .input(kTitle,
                                   QStringLiteral("Šifra %1 (%2)\r\nKPD oznaka popisa šifri: %3\r\n\r\nVlastita KPD oznaka šifre "
                                                  "(npr. 47.74.01; prazno: vrijedi KPD oznaka popisa šifri):")
                                       .arg(code, found.aid->name.trimmed(), listText),
                                   current)
                            .trimmed();
    if (kpd.isEmpty()) {
        if (current.isEmpty())
            return false;
        if (!m_dialogs.yesNo(QStringLiteral("Ukloniti vlastitu KPD oznaku %1 šifre %2? Vrijedit će KPD oznaka popisa šifri (%3).")
                                 .arg(current, code, listText),
                             kTitle))
            return false;
        return clear(code);
    }
    if (kpd == current)
        return false;
    return set(code, kpd);
}

} // namespace eracun
