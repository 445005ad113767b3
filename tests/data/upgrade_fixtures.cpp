#include "upgrade_fixtures.h"

#include "data/database.h"
#include "data/schema.h"
#include "data/upgrade_chain.h"

#include <QMap>
#include <QTest>

namespace fixtures {
namespace {

schema::Columns columnsOf(const QString& table)
{
    if (schema::kLayoutTables.contains(table))
        return schema::layoutTable();
    if (table == u"OrtopedskaKelmorinISO")
        return schema::codeListTable(true);
    if (table == u"PromjenaCijena")
        return {{"Sifra", "TEXT(15)"}, {"Cijena", "REAL"}};
    return schema::codeListTable(false); // KelmorinISO, Novapom261112
}

void fillRow(Database& db, const QString& table, const QString& id)
{
    bool ok = true;
    if (schema::kLayoutTables.contains(table)) {
        ok = db.exec(QStringLiteral("INSERT INTO \"%1\" (A1, A2, A3, A7) VALUES (1, 10, 20, ?)").arg(table),
                     {QString(QStringLiteral("paket ") + id)});
    } else if (table == u"PromjenaCijena") {
        ok = db.exec(QStringLiteral("INSERT INTO PromjenaCijena VALUES (?, ?)"), {QStringLiteral("210306010101"), 99.5});
    } else if (table == u"OrtopedskaKelmorinISO") {
        ok = db.exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Broj, Sifra, Naziv, Cijena, PDV, Stara) "
                                    "VALUES (1, ?, ?, 70.25, 5, '210306010101')"),
                     {QStringLiteral("2103060101001"), QString(QStringLiteral("paket ") + id)});
    } else {
        ok = db.exec(QStringLiteral("INSERT INTO \"%1\" (Broj, Sifra, Naziv, Cijena, PDV) VALUES (1, ?, ?, 10, ?)").arg(table),
                     {QStringLiteral("210306010101"), QString(QStringLiteral("paket ") + id), table == u"Novapom261112" ? 25 : QVariant()});
        if (ok && table == u"KelmorinISO")
            ok = db.exec(QStringLiteral("INSERT INTO KelmorinISO (Broj, Sifra, Cijena, PDV) VALUES (2, '210399999901', 5, 25)"));
    }
    QVERIFY2(ok, qPrintable(db.error()));
}

const QMap<QString, QStringList>& packageTables()
{
    static const QStringList layouts = {QStringLiteral("Dopunsko"), QStringLiteral("Osnovno")};
    static const QStringList iso = {QStringLiteral("KelmorinISO")};
    static const QStringList ortho = {QStringLiteral("OrtopedskaKelmorinISO")};
    static const QMap<QString, QStringList> map = {
        {QStringLiteral("090309"), layouts},
        {QStringLiteral("140110"), layouts},
        {QStringLiteral("070312"), {QStringLiteral("OrtopedskoPomagalo2"), QStringLiteral("OrtopedskoPomagalo2S"), QStringLiteral("KelmorinISO")}},
        {QStringLiteral("090312"), {QStringLiteral("Dopunsko")}},
        {QStringLiteral("190312"), layouts},
        {QStringLiteral("261112"), {QStringLiteral("Novapom261112")}},
        {QStringLiteral("080113"), {QStringLiteral("PromjenaCijena")}},
        {QStringLiteral("080114"), iso},
        {QStringLiteral("030914"), iso},
        {QStringLiteral("120115"), iso},
        {QStringLiteral("241115"), {QStringLiteral("OrtopedskaKelmorinISO"), QStringLiteral("Dopunsko"), QStringLiteral("Osnovno")}},
        {QStringLiteral("170217"), ortho},
        {QStringLiteral("110517"), ortho},
        {QStringLiteral("120118"), ortho},
        {QStringLiteral("180218"), ortho},
        {QStringLiteral("120922"), layouts},
        {QStringLiteral("060123"), {QStringLiteral("OrtopedskaKelmorinISO"), QStringLiteral("KelmorinISO"), QStringLiteral("Osnovno"), QStringLiteral("Dopunsko")}},
        {QStringLiteral("150123"), {QStringLiteral("OrtopedskoPomagalo2")}},
        {QStringLiteral("160523"), ortho},
        {QStringLiteral("051023"), ortho},
    };
    return map;
}

} // namespace

void makeOldestDatabase()
{
    Database db(schema::kInvoiceFile, Database::Mode::Create);
    // The oldest releases gave the account number 20 characters; step
    // 080713 widens it for the IBAN.
    schema::Columns opci = schema::generalDataTable();
    for (schema::Column& c : opci) {
        if (QLatin1String(c.name) == u"Ziro")
            c.type = "TEXT(20)";
    }
    const schema::Columns& rn = schema::invoiceTable();
    const schema::Columns& legacy = schema::legacyCodeListTable();
    QVERIFY(db.exec(schema::createTableSql(QStringLiteral("Opci"), {opci.begin(), opci.begin() + 13})));
    QVERIFY(db.exec(schema::createTableSql(QStringLiteral("Rn"), {rn.begin(), rn.begin() + 35})));
    QVERIFY(db.exec(schema::createTableSql(QStringLiteral("Kelmorin"), {legacy.begin(), legacy.begin() + 4})));
    for (const QString& t : {QStringLiteral("Osnovno"), QStringLiteral("Dopunsko")})
        QVERIFY(db.exec(schema::createTableSql(t, schema::layoutTable())));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Opci (Naziv) VALUES ('Optika')")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (Datum, Prezime) VALUES ('2006-05-01', 'Horvat')")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn (Datum, Prezime) VALUES ('2006-06-01', 'Babić')")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Kelmorin (Sifra, Cijena) VALUES ('BNBD01M', 1)")));
}

void makePackageWith(const QString& id, const QStringList& tables)
{
    Database db(upgrade::packageName(id), Database::Mode::Create);
    for (const QString& table : tables)
        QVERIFY2(db.exec(schema::createTableSql(table, columnsOf(table))), qPrintable(db.error()));
}

void makePackage(const QString& id)
{
    const QStringList tables = packageTables().value(id);
    makePackageWith(id, tables);
    Database db(upgrade::packageName(id));
    for (const QString& table : tables)
        fillRow(db, table, id);
}

void makeEveryPackage()
{
    for (auto it = packageTables().begin(); it != packageTables().end(); ++it)
        makePackage(it.key());
}

} // namespace fixtures
