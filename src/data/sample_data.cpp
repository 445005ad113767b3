#include "sample_data.h"

#include "common/money.h"
#include "database.h"
#include "invoice_record.h"
#include "pricing.h"
#include "regional_offices.h"
#include "schema.h"
#include "sql_values.h"

#include <QStringList>
#include <QVariantMap>

#include <cstdint>
#include <vector>

namespace sampledata {
namespace {

bool insert(Database& db, const QString& table, const QVariantMap& values)
{
    QStringList columns, marks;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        columns << sqlvalue::quotedName(it.key());
        marks << QStringLiteral("?");
        binds << it.value();
    }
    return db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(sqlvalue::quotedName(table), columns.join(u','), marks.join(u',')),
                   binds);
}

struct SampleAid {
    const char* code13;
    const char* code12;
    const char16_t* name;
    double price;
    int vat;
    const char* unit;
    double width;
    double length;
};

// Sample aids. The first two groups (2103031412..., 2103031413...) are
// taxed at 25 %, the rest at 5 %; one is priced per square centimetre.
const std::vector<SampleAid>& sampleAids()
{
    static const std::vector<SampleAid> aids = {
        {"2103031412001", "210303141201", u"PRIMJER - sunčane naočale s dioptrijom", 45.00, 25, "kom", 0, 0},
        {"2103031413001", "210303141301", u"PRIMJER - zaštitne naočale s dioptrijom", 38.50, 25, "kom", 0, 0},
        {"2103060101001", "210306010101", u"PRIMJER - sferna leća do +/-4,0 D, plastična", 12.50, 5, "kom", 0, 0},
        {"2103060102001", "210306010201", u"PRIMJER - sferna leća od +/-4,25 do +/-6,0 D", 16.80, 5, "kom", 0, 0},
        {"2103060201001", "210306020101", u"PRIMJER - cilindrična leća do 2,0 D", 21.40, 5, "kom", 0, 0},
        {"2103060301001", "210306030101", u"PRIMJER - bifokalna leća", 39.90, 5, "kom", 0, 0},
        {"2103060401001", "210306040101", u"PRIMJER - multifokalna leća", 86.30, 5, "kom", 0, 0},
        {"2103061001001", "210306100101", u"PRIMJER - okvir za naočale, odrasli", 26.55, 5, "kom", 0, 0},
        {"2103061002001", "210306100201", u"PRIMJER - okvir za naočale, dječji", 20.00, 5, "kom", 0, 0},
        {"2103090101001", "210309010101", u"PRIMJER - kontaktna leća, meka, mjesečna", 14.90, 5, "kom", 0, 0},
        {"0624030101001", "062403010101", u"PRIMJER - ortopedski uložak po mjeri, obloga", 0.0425, 5, "cm2", 10, 28},
        {"0603120101001", "060312010101", u"PRIMJER - lumbalni pojas", 52.10, 5, "kom", 0, 0},
    };
    return aids;
}

bool insertCodeList(Database& db, bool thirteen)
{
    const QString table = thirteen ? QStringLiteral("OrtopedskaKelmorinISO") : QStringLiteral("KelmorinISO");
    int ordinal = 0;
    for (const SampleAid& aid : sampleAids()) {
        ++ordinal;
        const QString code = QString::fromLatin1(thirteen ? aid.code13 : aid.code12);
        const QString other = QString::fromLatin1(thirteen ? aid.code12 : aid.code13);
        QVariantMap row{
            {QStringLiteral("Broj"), ordinal},
            {QStringLiteral("Skupina"), code.left(8)},
            {QStringLiteral("Sifra"), code},
            {QStringLiteral("ISO"), QStringLiteral("ISO 22 03 06")},
            {QStringLiteral("Naziv"), QString::fromUtf16(aid.name)},
            {QStringLiteral("JedMjere"), QString::fromLatin1(aid.unit)},
            {QStringLiteral("Cijena"), aid.price},
            {QStringLiteral("CijenaSPDV"), money::roundCents(aid.price * (100 + aid.vat) / 100.0, money::kHalf)},
            {QStringLiteral("PDV"), aid.vat},
            {QStringLiteral("Aktivno"), 1},
            {thirteen ? QStringLiteral("Stara") : QStringLiteral("Nova"), other},
        };
        if (aid.width > 0) {
            row.insert(QStringLiteral("OblogaSir"), aid.width);
            row.insert(QStringLiteral("OblogaDuz"), aid.length);
        }
        if (!insert(db, table, row))
            return false;
    }
    return true;
}

} // namespace

bool insertGeneralData(Database& db, int year)
{
    const RegionalOffice& zagreb = offices::all()[offices::indexOf(QStringLiteral("Zagreb"))];
    return insert(db, QStringLiteral("Opci"),
                  {{QStringLiteral("God"), year},
                   {QStringLiteral("Oznosn"), QStringLiteral("1")},
                   {QStringLiteral("Ozndop"), QStringLiteral("2")},
                   {QStringLiteral("Crte"), QStringLiteral("1")},
                   {QStringLiteral("RacunR"), QStringLiteral("1")},
                   {QStringLiteral("Brd"), 0},
                   {QStringLiteral("ERokPlacanja"), schema::kDefaultPaymentDays},
                   {QStringLiteral("EKpd12"), schema::kDefaultKpd},
                   {QStringLiteral("EKpd13"), schema::kDefaultKpd},
                   {QStringLiteral("Podrured"), QString::fromUtf16(zagreb.city)},
                   {QStringLiteral("Mjestopodrur"), QString::fromUtf16(zagreb.city)},
                   {QStringLiteral("Ulicapodrur"), QString::fromUtf16(zagreb.street)}});
}

bool insertCodeLists(Database& db) { return insertCodeList(db, false) && insertCodeList(db, true); }

bool insertDemoSupplier(Database& db)
{
    return db.exec(QStringLiteral(
                       "UPDATE Opci SET Naziv = ?, Sifra = ?, Mjesto = ?, Matbr = ?, Ziro = ?, Model = ?, "
                       "Vrsta = ?, Adresa = ?, Odgovosoba = ?, OIB = ?, AdresaMalopr = ?, SifraMalopr = ?, "
                       "Prostor = ?, Operater = ?, Predbroj = ?, Izabroj = ?, EOperater = ?, EOIBOperatera = ?"),
                   {QStringLiteral("PRIMJER Optika Jelić d.o.o."), QStringLiteral("123456789"),
                    QStringLiteral("Zagreb"), QStringLiteral("01234567"),
                    QStringLiteral("HR1210010051863000160"), QStringLiteral("HR00"), QStringLiteral("4"),
                    QStringLiteral("Ilica 101"), QStringLiteral("Ana Jelić"), QStringLiteral("12345678903"),
                    QStringLiteral("Ilica 101, 10000 Zagreb"), QStringLiteral("01"), QStringLiteral("1"),
                    QStringLiteral("1"), QString(), QString(), QStringLiteral("Ana Jelić"),
                    QStringLiteral("69435151530")});
}

bool insertDemoInvoices(Database& db, const QDate& today)
{
    static const char16_t* const surnames[] = {u"Horvat", u"Kovačević", u"Babić", u"Marić", u"Jurić",
                                               u"Novak", u"Kovačić", u"Knežević", u"Vuković", u"Šimić"};
    static const char16_t* const names[] = {u"Ivan", u"Ana", u"Marko", u"Petra", u"Josip",
                                            u"Maja", u"Luka", u"Ivana", u"Tomislav", u"Željka"};
    const auto& aids = sampleAids();
    const std::vector<std::pair<int, int>> years = {{today.year() - 1, 25}, {today.year(), 25}};
    // A fixed pseudo-random sequence, so that every demo folder is the same.
    std::uint32_t seed = 7;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % std::uint32_t(range));
    };
    for (const auto& [year, count] : years) {
        const int lastDay = year == today.year() ? today.dayOfYear() : QDate(year, 12, 31).dayOfYear();
        for (int n = 1; n <= count; ++n) {
            const QDate billed = QDate(year, 1, 1).addDays((lastDay - 1) * n / count);
            const SampleAid& aid = aids[next(10)];
            const int quantity = 1 + next(2);
            const double amount = pricing::line(aid.price, quantity, aid.vat).total();
            const bool healthNumber = next(3) == 0;
            QVariantMap row{
                {QStringLiteral("God"), year % 100},
                {QStringLiteral("Rnbr"), n},
                {QStringLiteral("Datum"), billed},
                {QStringLiteral("Datumnar"), billed.addDays(-next(10))},
                {QStringLiteral("DatumIzdavanja"), billed},
                {QStringLiteral("Broj"), QStringLiteral("%1").arg(30000000000000LL + year * 100000LL + n * 37, 14, 10, QLatin1Char('0'))},
                {QStringLiteral("Prezime"), QString::fromUtf16(surnames[next(10)])},
                {QStringLiteral("Ime"), QString::fromUtf16(names[next(10)])},
                {QStringLiteral("Brosig1"), healthNumber ? QString() : QStringLiteral("%1").arg(100 + next(900))},
                {QStringLiteral("Brosig2"), healthNumber ? QStringLiteral("%1").arg(100000000 + next(899999999))
                                                         : QStringLiteral("%1").arg(10000000 + next(89999999))},
                {QStringLiteral("Osl"), next(6) == 0},
                {QStringLiteral("Dop"), next(2) == 0},
                {aidfields::code(1), QString::fromLatin1(aid.code13)},
                {aidfields::quantity(1), quantity},
                {QStringLiteral("Iznos"), amount},
                {QStringLiteral("Pu"), n % 7 == 0 ? QStringLiteral("Split") : QStringLiteral("Zagreb")},
                {QStringLiteral("Plac"), billed.daysTo(today) > 60 ? billed.addDays(45).toString(QStringLiteral("dd.MM.yy")) : QString()},
            };
            if (row.value(QStringLiteral("Osl")).toBool())
                row.insert(QStringLiteral("Dop"), false);
            if (row.value(QStringLiteral("Dop")).toBool())
                row.insert(QStringLiteral("Dopunsko"), QStringLiteral("%1").arg(40000000 + next(9999999)));
            if (!insert(db, QStringLiteral("Rn"), row))
                return false;
        }
    }
    return true;
}

bool insertDemoPatients(Database& db, const QDate& today)
{
    struct Patient {
        const char16_t* surname;
        const char16_t* name;
        const char* jmbg;
        const char* born;
        const char16_t* street;
    };
    static const Patient patients[] = {
        {u"HORVAT", u"IVAN", "0101970330012", "01.01.1970", u"Savska 12"},
        {u"KOVAČEVIĆ", u"ANA", "1503985335019", "15.03.1985", u"Vukovarska 5"},
        {u"BABIĆ", u"MARKO", "2207962330024", "22.07.1962", u"Ilica 200"},
        {u"MARIĆ", u"PETRA", "0909001335011", "09.09.2001", u"Maksimirska 40"},
        {u"ŠIMIĆ", u"ŽELJKA", "3011955335030", "30.11.1955", u"Zagrebačka 3"},
    };
    int number = 0;
    for (const Patient& p : patients) {
        ++number;
        if (!insert(db, QStringLiteral("Popis"),
                    {{QStringLiteral("prezime"), QString::fromUtf16(p.surname)},
                     {QStringLiteral("ime"), QString::fromUtf16(p.name)},
                     {QStringLiteral("JMBG"), QString::fromLatin1(p.jmbg)},
                     {QStringLiteral("Datrodj"), QString::fromLatin1(p.born)},
                     {QStringLiteral("Ulica"), QString::fromUtf16(p.street)},
                     {QStringLiteral("Mjesto"), QStringLiteral("Zagreb")},
                     {QStringLiteral("Postbr"), QStringLiteral("10000")},
                     {QStringLiteral("Datupisa"), today.addDays(-400 + number * 30)}}))
            return false;
        for (int visit = 0; visit < 2; ++visit) {
            if (!insert(db, QStringLiteral("Nalazi"),
                        {{QStringLiteral("Broj"), number},
                         {QStringLiteral("Datum"), today.addDays(-380 + number * 30 + visit * 200)},
                         {QStringLiteral("Anamneza"), QStringLiteral("Slabije vidi na blizinu.")},
                         {QStringLiteral("Dg1"), QStringLiteral("H52.4 Presbyopia")},
                         {QStringLiteral("NormD"), QStringLiteral("0,8")},
                         {QStringLiteral("NormS"), QStringLiteral("0,9")},
                         {QStringLiteral("Addbliz"), QStringLiteral("1,50")}}))
                return false;
        }
    }
    return true;
}

} // namespace sampledata
