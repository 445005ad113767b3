#include "schema.h"

#include "database.h"
#include "invoice_record.h"
#include "sql_values.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace schema {
namespace {

Columns invoiceColumns()
{
    Columns c = {
        {"Rbr", "INTEGER PRIMARY KEY AUTOINCREMENT"},
        {"Datum", "DATE"},
        {"Broj", "TEXT(20)"},
        {"Prezime", "TEXT(50)"},
        {"Ime", "TEXT(50)"},
        {"Datumnar", "DATE"},
        {"Brosig1", "TEXT(3)"},
        {"Brosig2", "TEXT(20)"},
        {"Brbolesnlist", "TEXT(20)"},
        {"Drz", "TEXT(3)"},
        {"Osl", "BOOLEAN"},
        {"Dop", "BOOLEAN"},
        {"Dopunsko", "TEXT(30)"},
    };
    // The aid lines: code and quantity of each.
    static const std::vector<QByteArray> aidColumns = [] {
        std::vector<QByteArray> names;
        for (int n = 1; n <= aidfields::kLines; ++n)
            names.insert(names.end(), {aidfields::code(n).toLatin1(), aidfields::quantity(n).toLatin1()});
        return names;
    }();
    for (size_t i = 0; i < aidColumns.size(); i += 2) {
        c.push_back({aidColumns[i].constData(), "TEXT(15)"});
        c.push_back({aidColumns[i + 1].constData(), "INTEGER"});
    }
    c.insert(c.end(), {
        {"Post1", "TEXT(20)"}, {"Kp1", "REAL"},
        {"Post2", "TEXT(20)"}, {"Kp2", "REAL"},
        {"Post3", "TEXT(20)"}, {"Kp3", "REAL"},
        {"Iznos", "REAL"},
        {"Izbor", "TEXT(10)"},
        {"Pu", "TEXT(20)"},
        {"Plac", "TEXT(20)"},
        {"Opaska", "TEXT(50)"},
        {"Proizv", "TEXT(15)"},
        {"God", "SMALLINT"},
        {"Rnbr", "SMALLINT"},
        {"BrojMalopRn", "TEXT(20)"},
        {"DatumIzdavanja", "DATE"},
        {"RazlikaCijene", "DOUBLE"},
        {"EVrijeme", "TEXT(8)"},
    });
    return c;
}

} // namespace

const Columns& invoiceTable()
{
    static const Columns columns = invoiceColumns();
    return columns;
}

const QStringList& invoiceViewColumns()
{
    static const QStringList names = [] {
        QStringList n;
        const Columns& physical = invoiceTable();
        n << QStringLiteral("Rnbr");
        for (int i = 1; i <= 39; ++i)
            n << QString::fromLatin1(physical[i].name);
        n << QStringLiteral("Rbr");
        for (size_t i = 41; i < physical.size(); ++i)
            n << QString::fromLatin1(physical[i].name);
        return n;
    }();
    return names;
}

const Columns& generalDataTable()
{
    static const Columns columns = {
        {"Naziv", "TEXT(99)"},        {"Sifra", "TEXT(20)"},      {"Mjesto", "TEXT(50)"},
        {"Matbr", "TEXT(20)"},        {"Ziro", "TEXT(25)"},       {"Model", "TEXT(5)"},
        {"Vrsta", "TEXT(1)"},         {"Mjestopodrur", "TEXT(50)"}, {"Ulicapodrur", "TEXT(50)"},
        {"Adresa", "TEXT(99)"},       {"Odgovosoba", "TEXT(50)"}, {"Crte", "TEXT(1)"},
        {"Podrured", "TEXT(20)"},     {"Brd", "SMALLINT"},        {"Predbroj", "TEXT(20)"},
        {"Izabroj", "TEXT(20)"},      {"RacunR", "TEXT(5)"},      {"Oznosn", "TEXT(5)"},
        {"Ozndop", "TEXT(5)"},        {"God", "SMALLINT"},        {"OIB", "TEXT(15)"},
        {"AdresaMalopr", "TEXT(99)"}, {"SifraMalopr", "TEXT(20)"}, {"Prostor", "TEXT(15)"},
        {"Operater", "TEXT(15)"},
        {"EOperater", "TEXT(50)"},    {"EOIBOperatera", "TEXT(11)"}, {"ERokPlacanja", "SMALLINT"},
        {"EKpd12", "TEXT(12)"},       {"EKpd13", "TEXT(12)"},      {"EMapa", "TEXT(255)"},
        {"ArhivaMapa", "TEXT(255)"},
    };
    return columns;
}

Columns codeListTable(bool thirteenCharacterList)
{
    return {
        {"ID", "INTEGER PRIMARY KEY"},
        {"Broj", "INTEGER"},          // ordinal; the lists are shown in this order
        {"Skupina", "TEXT(20)"},      // group of aids in the fund's list
        {"Sifra", "TEXT(15)"},        // the aid's code
        {"ISO", "TEXT(20)"},          // ISO 9999 class, printed beside the aid on the invoice
        {"Naziv", "TEXT(255)"},
        {"Opis", "TEXT"},             // longer description
        {"JedMjere", "TEXT(10)"},     // unit; "cm2" for aids priced per square centimetre
        {"OblogaSir", "REAL"},        // lining width, for "cm2" aids
        {"OblogaDuz", "REAL"},        // lining length, for "cm2" aids
        {"RokTrajanja", "TEXT(20)"},  // period of use before a new aid is due
        {"MaxKolicina", "INTEGER"},   // most pieces on one confirmation
        {"Indikacija", "TEXT"},
        {"Propisuje", "TEXT(50)"},    // who may prescribe it
        {"Odobrenje", "TEXT(50)"},    // approval the fund requires
        {"Napomena", "TEXT"},
        {"VrijediOd", "DATE"},        // price valid from
        {"VrijediDo", "DATE"},        // price valid until
        {"CijenaKn", "REAL"},         // last price in kuna
        {"Cijena", "REAL"},           // price per unit without VAT
        {"CijenaSPDV", "REAL"},       // price per unit with VAT
        {"Sudjelovanje", "REAL"},     // the fund's co-payment percentage for the aid
        {"Najam", "BOOLEAN"},         // rented, not sold
        {"Proizvodjac", "TEXT(50)"},
        {"Model", "TEXT(50)"},
        {"PDV", "INTEGER"},           // VAT rate in percent, 5 or 25
        {thirteenCharacterList ? "Stara" : "Nova", "TEXT(15)"}, // code of the same aid in the other list
        {"Kategorija", "TEXT(20)"},
        {"Izmjena", "DATE"},          // last change of the row in the fund's list
        {"Aktivno", "BOOLEAN"},
        {"Korisnik", "TEXT(20)"},     // who changed the row by hand
        {"Biljeska", "TEXT"},
        {"Rezerva", "TEXT"},
    };
}

const Columns& layoutTable()
{
    static const Columns columns = {
        {"A0", "INTEGER PRIMARY KEY"},
        {"A1", "REAL"}, {"A2", "REAL"}, {"A3", "REAL"},
        {"A4", "REAL"}, {"A5", "REAL"}, {"A6", "REAL"},
        {"A7", "TEXT(255)"},
        {"Opis", "TEXT"}, // a note on the row for whoever edits the layout
    };
    return columns;
}

const Columns& legacyCodeListTable()
{
    static const Columns columns = {
        {"Sifra", "TEXT(15)"}, {"Cijena", "REAL"}, {"Naziv", "TEXT(255)"},
        {"PDV", "INTEGER"},    {"Proizv", "TEXT(15)"},
    };
    return columns;
}

const Columns& classificationTable()
{
    static const Columns columns = {{"Sifra", "TEXT(15) PRIMARY KEY"}, {"KPD", "TEXT(12)"}};
    return columns;
}

const Columns& patientTable()
{
    static const Columns columns = {
        {"prezime", "TEXT(50)"},  {"ime", "TEXT(50)"},       {"JMBG", "TEXT(13)"},
        {"Datrodj", "TEXT(10)"},  {"Ulica", "TEXT(50)"},     {"Mjesto", "TEXT(50)"},
        {"Postbr", "TEXT(10)"},   {"Telefon", "TEXT(30)"},   {"Zanimanje", "TEXT(50)"},
        {"zaposlen", "TEXT(50)"}, {"Izabranidr", "TEXT(50)"}, {"Grupa", "TEXT(20)"},
        {"Datupisa", "DATE"},     {"Broj", "INTEGER PRIMARY KEY AUTOINCREMENT"},
    };
    return columns;
}

const Columns& visitTable()
{
    static const Columns columns = [] {
        Columns c = {
            {"Rbr", "INTEGER PRIMARY KEY AUTOINCREMENT"}, {"Broj", "INTEGER"}, {"Datum", "DATE"},
            {"Dg1", "TEXT(100)"}, {"Dg2", "TEXT(100)"}, {"Dg3", "TEXT(100)"},
            {"Anamneza", "TEXT"}, {"Komentar", "TEXT"},
            {"NormD", "TEXT(10)"}, {"NormS", "TEXT(10)"}, {"KorD", "TEXT(10)"}, {"KorS", "TEXT(10)"},
            {"KorDnkl", "TEXT(10)"}, {"KorSnkl", "TEXT(10)"}, {"Addbliz", "TEXT(10)"},
        };
        static const QList<QByteArray> names = [] {
            QList<QByteArray> n;
            for (int i = 1; i <= 22; ++i)
                n << "A" + QByteArray::number(i);
            for (int i = 42; i <= 47; ++i)
                n << "A" + QByteArray::number(i);
            return n;
        }();
        for (const QByteArray& name : names) {
            const bool longText = name == "A43";
            c.push_back({name.constData(), longText ? "TEXT" : "TEXT(50)"});
        }
        return c;
    }();
    return columns;
}

QString createTableSql(const QString& table, const Columns& columns)
{
    QStringList parts;
    for (const Column& c : columns)
        parts << sqlvalue::quotedName(QString::fromLatin1(c.name)) + u' ' + QString::fromLatin1(c.type);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlvalue::quotedName(table), parts.join(QStringLiteral(", ")));
}

QStringList indexStatements(const QString& table)
{
    auto index = [&](const QString& columns, bool unique = false) {
        QString name = table + u'_' + QString(columns).remove(u',').remove(u' ');
        return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
            .arg(unique ? QStringLiteral("UNIQUE ") : QString(), sqlvalue::quotedName(name), sqlvalue::quotedName(table), columns);
    };
    if (table == u"Rn")
        return {index(QStringLiteral("God, Rnbr"))};
    if (table == u"KelmorinISO")
        return {index(QStringLiteral("Sifra")), index(QStringLiteral("Broj"))};
    if (table == u"OrtopedskaKelmorinISO")
        return {index(QStringLiteral("ID"), true), index(QStringLiteral("Sifra")),
                index(QStringLiteral("Broj")), index(QStringLiteral("Stara"))};
    if (table == u"Osnovno" || table == u"Dopunsko")
        return {index(QStringLiteral("A0"), true)};
    if (table == u"Popis")
        return {index(QStringLiteral("prezime, ime, JMBG"))};
    if (table == u"Nalazi")
        return {index(QStringLiteral("Broj, Datum"))};
    return {};
}

namespace {

bool createAll(Database& db, const std::vector<std::pair<QString, Columns>>& tables)
{
    Transaction tx(db);
    for (const auto& [name, columns] : tables) {
        if (!db.exec(createTableSql(name, columns)))
            return false;
        for (const QString& sql : indexStatements(name)) {
            if (!db.exec(sql))
                return false;
        }
    }
    return tx.commit();
}

} // namespace

bool createInvoiceDatabase(Database& db)
{
    std::vector<std::pair<QString, Columns>> tables = {
        {QStringLiteral("Rn"), invoiceTable()},
        {QStringLiteral("Opci"), generalDataTable()},
        {QStringLiteral("KelmorinISO"), codeListTable(false)},
        {QStringLiteral("OrtopedskaKelmorinISO"), codeListTable(true)},
        {QStringLiteral("Kelmorin"), legacyCodeListTable()},
        {kClassificationTable, classificationTable()},
    };
    for (const QString& layout : kLayoutTables)
        tables.emplace_back(layout, layoutTable());
    return createAll(db, tables);
}

bool createPatientDatabase(Database& db)
{
    return createAll(db, {{QStringLiteral("Popis"), patientTable()},
                          {QStringLiteral("Nalazi"), visitTable()}});
}

QHash<QString, int> textWidths(Database& db, const QString& table)
{
    static const QRegularExpression width(QStringLiteral("^\\s*(?:TEXT|VARCHAR|CHAR)\\s*\\(\\s*(\\d+)\\s*\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QHash<QString, int> widths;
    QSqlQuery query(db.handle());
    query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(sqlvalue::quotedName(table)));
    while (query.next()) {
        const auto match = width.match(query.value(2).toString());
        widths.insert(query.value(1).toString().toLower(), match.hasMatch() ? match.captured(1).toInt() : 0);
    }
    return widths;
}

int textWidth(Database& db, const QString& table, const QString& field)
{
    return textWidths(db, table).value(field.toLower());
}

} // namespace schema
