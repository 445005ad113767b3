// The upgrade steps of every release, oldest first. The texts of the
// messages are what the users have always been shown.
#include "upgrade_chain.h"

#include "common/text_file.h"

#include "common/platform.h"
#include "common/working_folder.h"
#include "database.h"
#include "layout_refresh.h"
#include "layout_rows.h"
#include "layout_slots.h"
#include "schema.h"
#include "table_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace upgrade {
namespace {

const QString kPriceMessage = QStringLiteral("Usklađene su cijene optičkih kelmorin!");

// The oldest layouts of the confirmation form: Rp6 replaces Rp0 to Rp4.
bool copyOldPrescriptionLayouts(StepContext& ctx)
{
    const QString source = ctx.platform().findFile(QStringLiteral("Rp6"));
    if (source.isEmpty())
        return true; // nothing reads these files any more
    for (int i = 0; i <= 4; ++i) {
        const QString target = QStringLiteral("Rp%1").arg(i);
        if (!textfile::copyWhole(source, target, &ctx.error()))
            return false;
    }
    return true;
}

bool step050207(StepContext& ctx)
{
    if (!copyOldPrescriptionLayouts(ctx))
        return false;
    const struct {
        const char* table;
        int count;
        const char* column;
        const char* type;
    } fields[] = {
        {"Opci", 13, "Brd", "SMALLINT"},   {"Opci", 14, "Predbroj", "TEXT(20)"},
        {"Opci", 15, "Izabroj", "TEXT(20)"}, {"Opci", 16, "RacunR", "TEXT(5)"},
        {"Opci", 17, "Oznosn", "TEXT(5)"}, {"Opci", 18, "Ozndop", "TEXT(5)"},
        {"Opci", 19, "God", "SMALLINT"},   {"Rn", 35, "Pu", "TEXT(20)"},
        {"Rn", 36, "Plac", "TEXT(20)"},    {"Rn", 37, "Opaska", "TEXT(50)"},
        {"Rn", 38, "Proizv", "TEXT(15)"},  {"Rn", 39, "God", "SMALLINT"},
        {"Rn", 40, "Rnbr", "SMALLINT"},    {"Kelmorin", 4, "Proizv", "TEXT(15)"},
    };
    for (const auto& f : fields) {
        if (!ctx.addGuarded(QString::fromLatin1(f.table), f.count, QString::fromLatin1(f.column),
                            QString::fromLatin1(f.type)))
            return false;
    }
    return ctx.exec(QStringLiteral("UPDATE Opci SET God = 2007"))
        && ctx.exec(QStringLiteral("UPDATE Opci SET Oznosn = '1', Ozndop = '2' WHERE Ozndop IS NULL"))
        && ctx.exec(QStringLiteral("UPDATE Rn SET God = 6 WHERE God IS NULL OR God = 0"))
        && ctx.exec(QStringLiteral("UPDATE Rn SET Rnbr = Rbr WHERE Rnbr IS NULL OR Rnbr = 0"));
}

bool replaceInvoiceLayouts(StepContext& ctx, const QString& first, const QString& second)
{
    return ctx.drop(first) && ctx.drop(second) && ctx.import(first) && ctx.import(second);
}

bool step261112(StepContext& ctx)
{
    // New aids of the 12-character list, copied by column position 1 to 25.
    return tableops::copyRowsByPosition(ctx.package(), QStringLiteral("Novapom261112"), ctx.target(),
                                        QStringLiteral("KelmorinISO"), 1, 25, &ctx.error());
}

bool step080113(StepContext& ctx)
{
    QSqlQuery prices(ctx.package().handle());
    prices.setForwardOnly(true);
    if (!prices.exec(QStringLiteral("SELECT * FROM PromjenaCijena"))) {
        ctx.error() = prices.lastError().text();
        return false;
    }
    while (prices.next()) {
        if (!ctx.exec(QStringLiteral("UPDATE KelmorinISO SET Cijena = ? WHERE rowid = "
                                     "(SELECT rowid FROM KelmorinISO WHERE Sifra = ? ORDER BY rowid LIMIT 1)"),
                      {prices.value(1), prices.value(0)}))
            return false;
    }
    return ctx.exec(QStringLiteral("UPDATE KelmorinISO SET PDV = 5 WHERE PDV IS NULL OR PDV <> 25"))
        && ctx.addColumn(QStringLiteral("Opci"), QStringLiteral("Prostor"), QStringLiteral("TEXT(15)"))
        && ctx.addColumn(QStringLiteral("Opci"), QStringLiteral("Operater"), QStringLiteral("TEXT(15)"));
}

bool step180218(StepContext& ctx)
{
    // The old list takes the prices of the new list wherever the new list
    // names the old code of the same aid.
    return ctx.replaceKeepingBackup(QStringLiteral("OrtopedskaKelmorinISO"),
                                    QStringLiteral("OrtopedskaKelmorinISO180218"))
        && ctx.exec(QStringLiteral(
            "UPDATE KelmorinISO SET Cijena = (SELECT o.Cijena FROM OrtopedskaKelmorinISO o "
            "WHERE o.Stara = KelmorinISO.Sifra ORDER BY o.rowid LIMIT 1) "
            "WHERE EXISTS (SELECT 1 FROM OrtopedskaKelmorinISO o WHERE o.Stara = KelmorinISO.Sifra)"));
}

bool step071219(StepContext& ctx)
{
    for (const QString& table : {QStringLiteral("Osnovno"), QStringLiteral("Dopunsko")}) {
        const QString rowWithText = QStringLiteral("INSERT INTO %1 (A1, A2, A3, A4, A5, A6, A7) VALUES (?,?,?,?,?,?,?)").arg(table);
        const QString line = QStringLiteral("INSERT INTO %1 (A1, A2, A3, A4, A5, A6) VALUES (?,?,?,?,?,?)").arg(table);
        if (!ctx.exec(rowWithText, {rowkind::kText, 14, 240, 2, 0, 7, QStringLiteral("Datum izdavanja kelmorin:")})
            || !ctx.exec(line, {rowkind::kLine, 47, 72, 242.7, 242.7, 1})
            || !ctx.exec(rowWithText, {rowkind::kSlot, 48, 238, 2, 0, 11, QString::number(invoiceslots::slot::kIssued)}))
            return false;
    }
    return true;
}

bool step060123(StepContext& ctx)
{
    ctx.renameIfPresent(QStringLiteral("OrtopedskaKelmorinISO"), QStringLiteral("OrtopedskaKelmorinISO060123"));
    ctx.renameIfPresent(QStringLiteral("KelmorinISO"), QStringLiteral("KelmorinISO060123"));
    ctx.renameIfPresent(QStringLiteral("Osnovno"), QStringLiteral("OsnovnoKn060123"));
    ctx.renameIfPresent(QStringLiteral("Dopunsko"), QStringLiteral("DopunskoKn060123"));
    return ctx.import(QStringLiteral("OrtopedskaKelmorinISO")) && ctx.import(QStringLiteral("KelmorinISO"))
        && ctx.import(QStringLiteral("Osnovno")) && ctx.import(QStringLiteral("Dopunsko"));
}

// The second place for backups (a USB stick, a synchronised folder)
// becomes a field of the general data. Earlier it was the one line of a
// text file in the archive folder: its folder is carried over, and the file
// stays where it was for a release that still reads it.
bool step091226(StepContext& ctx)
{
    if (!ctx.addColumn(QStringLiteral("Opci"), QStringLiteral("ArhivaMapa"), QStringLiteral("TEXT(255)")))
        return false;
    const QString place = oldSecondPlace(QFileInfo(ctx.target().fileName()).absoluteDir());
    return place.isEmpty()
        || ctx.exec(QStringLiteral("UPDATE Opci SET ArhivaMapa = ? WHERE ArhivaMapa IS NULL OR ArhivaMapa = ''"), {place});
}

Step backupAndImport(const char* id, const char* table, bool withMessage = true)
{
    const QString t = QString::fromLatin1(table);
    const QString backup = t + QString::fromLatin1(id);
    return {QString::fromLatin1(id), packageName(QString::fromLatin1(id)),
            [t, backup](StepContext& ctx) { return ctx.replaceKeepingBackup(t, backup); },
            withMessage ? kPriceMessage : QString(), withMessage};
}

std::vector<Step> buildSteps()
{
    const QString osn = QStringLiteral("Osnovno"), dop = QStringLiteral("Dopunsko");
    const QString ortho = QStringLiteral("OrtopedskaKelmorinISO");
    std::vector<Step> s;
    s.push_back({QStringLiteral("050207"), {}, step050207});
    s.push_back({QStringLiteral("090309"), packageName(QStringLiteral("090309")),
                 [=](StepContext& c) { return replaceInvoiceLayouts(c, dop, osn); }});
    s.push_back({QStringLiteral("170909"), {}, [](StepContext& c) {
                     const QString sql = QStringLiteral("UPDATE Kelmorin SET Cijena = ? WHERE Sifra = ?");
                     return c.exec(sql, {36.90, QStringLiteral("BNBD01M")})
                         && c.exec(sql, {30.75, QStringLiteral("BNBD02K")});
                 }});
    s.push_back({QStringLiteral("140110"), packageName(QStringLiteral("140110")),
                 [=](StepContext& c) {
                     return c.addColumn(QStringLiteral("Opci"), QStringLiteral("OIB"), QStringLiteral("TEXT(15)"))
                         && replaceInvoiceLayouts(c, dop, osn);
                 },
                 QStringLiteral("Molim kliknite na Opći podaci i upišite vaš OIB!")});
    s.push_back({QStringLiteral("070312"), packageName(QStringLiteral("070312")), [](StepContext& c) {
                     return c.import(QStringLiteral("OrtopedskoPomagalo2"))
                         && c.import(QStringLiteral("OrtopedskoPomagalo2S"))
                         && c.import(QStringLiteral("KelmorinISO"))
                         && c.addColumn(QStringLiteral("Opci"), QStringLiteral("AdresaMalopr"), QStringLiteral("TEXT(99)"))
                         && c.addColumn(QStringLiteral("Opci"), QStringLiteral("SifraMalopr"), QStringLiteral("TEXT(20)"))
                         && c.addColumn(QStringLiteral("Rn"), QStringLiteral("BrojMalopRn"), QStringLiteral("TEXT(20)"));
                 }});
    s.push_back({QStringLiteral("090312"), packageName(QStringLiteral("090312")),
                 [=](StepContext& c) { return c.drop(dop) && c.import(dop); }});
    s.push_back({QStringLiteral("190312"), packageName(QStringLiteral("190312")), [=](StepContext& c) {
                     // The co-payment, once a text row "R1", becomes its slot.
                     return c.exec(QStringLiteral("UPDATE OrtopedskoPomagalo2S SET A1 = %1, A7 = '%2' WHERE A7 = 'R1'")
                                       .arg(rowkind::kSlot)
                                       .arg(prescriptionslots::slot::kCoPayment))
                         && replaceInvoiceLayouts(c, osn, dop);
                 }});
    s.push_back({QStringLiteral("261112"), packageName(QStringLiteral("261112")), step261112,
                 QStringLiteral("Ubačene su promjene u popis očnih kelmorin!")});
    s.push_back({QStringLiteral("080113"), packageName(QStringLiteral("080113")), step080113,
                 QStringLiteral("Ubačene su promjene cijena očnih kelmorin i promjenjen broj računa u skladu sa Zakonom!"
                                "\r\nNe zaboravite promjeniti poslovnu godinu kako bi računi krenuli od broja 1!")});
    s.push_back({QStringLiteral("020713"), {}, [](StepContext& c) {
                     return c.exec(QStringLiteral("UPDATE KelmorinISO SET Sifra = ?, Cijena = 20 WHERE Sifra = ?"),
                                   {QStringLiteral("210306140103"), QStringLiteral("210306140101")});
                 }});
    s.push_back({QStringLiteral("080713"), {}, [](StepContext& c) {
                     // A Croatian IBAN has 21 characters; the entry field takes
                     // its width from the column.
                     const QString iban = QStringLiteral("IBAN ili žiro rn:");
                     return c.exec(QStringLiteral("UPDATE Dopunsko SET A7 = ? WHERE A7 = ?"), {iban, QStringLiteral("Broj žiro računa:")})
                         && c.exec(QStringLiteral("UPDATE Osnovno SET A7 = ? WHERE A7 = ?"), {iban, QStringLiteral("Broj žiro računa:")})
                         && c.exec(QStringLiteral("UPDATE OrtopedskoPomagalo2S SET A7 = ? WHERE A7 = ?"),
                                   {iban, QStringLiteral("Broj žiro-računa:")})
                         && c.widen(QStringLiteral("Opci"), QStringLiteral("Ziro"), 25);
                 }});
    Step s080114 = backupAndImport("080114", "KelmorinISO");
    s080114.message = QStringLiteral("Usklađen je popis optičkih kelmorin (vrijedi od 01.01.14)");
    s.push_back(s080114);
    s.push_back(backupAndImport("030914", "KelmorinISO"));
    s.push_back(backupAndImport("120115", "KelmorinISO"));
    s.push_back({QStringLiteral("241115"), packageName(QStringLiteral("241115")),
                 [=](StepContext& c) {
                     return c.drop(dop) && c.drop(osn) && c.import(ortho) && c.import(dop) && c.import(osn);
                 },
                 QStringLiteral("Ubačen je novi šifrarnik optičkih kelmorin (vrijedi od 21.11.15)!")});
    s.push_back({QStringLiteral("251115"), packageName(QStringLiteral("241115")),
                 [=](StepContext& c) { return c.drop(ortho) && c.import(ortho); }});
    s.push_back(backupAndImport("170217", "OrtopedskaKelmorinISO"));
    s.push_back(backupAndImport("110517", "OrtopedskaKelmorinISO"));
    s.push_back(backupAndImport("120118", "OrtopedskaKelmorinISO"));
    s.push_back({QStringLiteral("180218"), packageName(QStringLiteral("180218")), step180218, kPriceMessage, true});
    s.push_back({QStringLiteral("041219"), {}, [](StepContext& c) {
                     return c.addColumn(QStringLiteral("Rn"), QStringLiteral("DatumIzdavanja"), QStringLiteral("DATE"))
                         && c.addColumn(QStringLiteral("Rn"), QStringLiteral("RazlikaCijene"), QStringLiteral("DOUBLE"));
                 }, {}, false, QStringLiteral(": 011219")});
    s.push_back({QStringLiteral("061219"), {}, [](StepContext& c) {
                     return c.exec(QStringLiteral("UPDATE Rn SET DatumIzdavanja = Datum WHERE DatumIzdavanja IS NULL"));
                 }, {}, false, QStringLiteral(": 011219")});
    s.push_back({QStringLiteral("071219"), {}, step071219, {}, false, QStringLiteral(": 011219")});
    s.push_back({QStringLiteral("120922"), packageName(QStringLiteral("120922")), [=](StepContext& c) {
                     c.renameIfPresent(osn, QStringLiteral("Osnovno120922"));
                     c.renameIfPresent(dop, QStringLiteral("Dopunsko120922"));
                     return c.import(osn) && c.import(dop);
                 }});
    s.push_back({QStringLiteral("231222"), {}, [](StepContext&) { return true; }});
    s.push_back({QStringLiteral("060123"), packageName(QStringLiteral("060123")), step060123,
                 QStringLiteral("Ubačen je novi šifrarnik ortopedskih kelmorin u eurima!"), false, {}, true});
    s.push_back({QStringLiteral("150123"), packageName(QStringLiteral("150123")), [](StepContext& c) {
                     c.renameIfPresent(QStringLiteral("OrtopedskoPomagalo2"), QStringLiteral("OrtopedskoPomagalo2150123"));
                     return c.import(QStringLiteral("OrtopedskoPomagalo2"));
                 }});
    s.push_back(backupAndImport("160523", "OrtopedskaKelmorinISO"));
    s.push_back(backupAndImport("051023", "OrtopedskaKelmorinISO"));
    // The invoice layouts of a folder made by an earlier release of this
    // program: texts kept inside their columns, each amount's own kuna
    // equivalent. Layouts changed since are left as they are.
    s.push_back({QStringLiteral("061226"), {}, [](StepContext& c) {
                     return layoutrefresh::refreshInvoiceLayouts(c.target(), &c.error());
                 }});
    // The e-invoices to the fund: the operator, the payment term, the
    // product classification of the aids, the time each invoice's e-invoice
    // was first made.
    s.push_back({QStringLiteral("081226"), {}, [](StepContext& c) {
                     const QString opci = QStringLiteral("Opci");
                     return c.addColumn(opci, QStringLiteral("EOperater"), QStringLiteral("TEXT(50)"))
                         && c.addColumn(opci, QStringLiteral("EOIBOperatera"), QStringLiteral("TEXT(11)"))
                         && c.addColumn(opci, QStringLiteral("ERokPlacanja"), QStringLiteral("SMALLINT"))
                         && c.addColumn(opci, QStringLiteral("EKpd12"), QStringLiteral("TEXT(12)"))
                         && c.addColumn(opci, QStringLiteral("EKpd13"), QStringLiteral("TEXT(12)"))
                         && c.addColumn(opci, QStringLiteral("EMapa"), QStringLiteral("TEXT(255)"))
                         && c.addColumn(QStringLiteral("Rn"), QStringLiteral("EVrijeme"), QStringLiteral("TEXT(8)"))
                         && (c.target().hasTable(schema::kClassificationTable)
                             || c.exec(schema::createTableSql(schema::kClassificationTable, schema::classificationTable())))
                         && c.exec(QStringLiteral("UPDATE Opci SET ERokPlacanja = COALESCE(ERokPlacanja, ?), "
                                                  "EKpd12 = COALESCE(EKpd12, ?), EKpd13 = COALESCE(EKpd13, ?)"),
                                   {schema::kDefaultPaymentDays, schema::kDefaultKpd, schema::kDefaultKpd});
                 }});
    s.push_back({QStringLiteral("091226"), {}, step091226});
    return s;
}

} // namespace

QString oldSecondPlace(const QDir& folder)
{
    const auto lines = textfile::readLines(folder.filePath(workdir::kArchiveFolder + QStringLiteral("/Drugo mjesto.txt")));
    return lines && !lines->isEmpty() ? lines->first().trimmed() : QString();
}

QString markerName(const QString& id) { return QStringLiteral("upg") + id + QStringLiteral(".inm"); }
QString packageName(const QString& id) { return QStringLiteral("upg") + id + QStringLiteral(".mdb"); }

const std::vector<Step>& steps()
{
    static const std::vector<Step> all = buildSteps();
    return all;
}

} // namespace upgrade
