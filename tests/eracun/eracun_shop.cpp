#include "eracun_shop.h"

#include "data/database.h"
#include "data/regional_offices.h"

#include <QDate>
#include <QStringList>
#include <QVariantList>

#include <random>

namespace eracunshop {
namespace {

// Codes of the demo lists: two at 25 %, the rest at 5 %, one priced by the
// square centimetre.
const QStringList kAids = {
    QStringLiteral("2103031412001"), QStringLiteral("2103031413001"), QStringLiteral("2103060101001"),
    QStringLiteral("2103060102001"), QStringLiteral("2103060201001"), QStringLiteral("2103060301001"),
    QStringLiteral("2103060401001"), QStringLiteral("2103061001001"), QStringLiteral("2103061002001"),
    QStringLiteral("2103090101001"), QStringLiteral("0624030101001"), QStringLiteral("0603120101001"),
    QStringLiteral("210306010101"),  QStringLiteral("210303141201"),
};

const QStringList kSurnames = {
    QStringLiteral("Horvat"), QStringLiteral("Šćepanović-Đurđević Žužić Čačić Ćosić Kovačević"),
    QStringLiteral("Đokić"), QStringLiteral("Žganjer"), QStringLiteral("Čolić-Štambuk"), QStringLiteral("Babić & Sinovi <d.o.o.>"),
};
const QStringList kFirstNames = {
    QStringLiteral("Željka"), QStringLiteral("Đuro"), QStringLiteral("Ćiril Šimun Čedomir"), QStringLiteral("Ana"),
};

struct Line {
    QString code;
    int quantity;
};

struct Case {
    bool exempt = false, supplementary = false;
    std::vector<Line> lines;
};

} // namespace

bool addExpensiveAid(Database& db)
{
    return db.exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Broj, Skupina, Sifra, Naziv, JedMjere, Cijena, PDV, Aktivno) "
                                  "VALUES (999, '06122401', ?, ?, 'kom', 123456.78, 5, 1)"),
                   {kExpensiveAid, QStringLiteral("PRIMJER - bionička proteza ruke s šakom, po mjeri (čćžšđ ČĆŽŠĐ)")});
}

bool insertInvoices(Database& db, int first, int count, const QString& mark, unsigned seed)
{
    std::mt19937 random(seed);
    auto draw = [&random](int n) { return int(random() % unsigned(n)); };
    const std::vector<Case> fixed = {
        {true, false, {{kAids[2], 2}}},                        // exempt
        {false, true, {{kAids[3], 1}, {kAids[7], 1}}},         // supplementary
        {false, false, {{kAids[2], 1}}},                       // 20 % below the smallest co-payment
        {false, false, {{kAids[10], 10}}},                     // the patient pays all
        {false, false, {{kExpensiveAid, 3}}},                  // hundreds of thousands, the largest co-payment
        {false, true, {{kExpensiveAid, 1}, {kAids[0], 2}}},    // both rates, supplementary
        {true, false, {{kAids[1], 1}, {kAids[9], 4}, {kAids[12], 2}, {kAids[13], 1}}}, // four lines, both lists
        // Linings of 7 cm2 at 0.0425 €: 0.2975 € gives 0.30 € net, and 5 %
        // VAT of 0.2975 € is 0.01 € on the printed invoice, of 0.30 € 0.02 €
        // in the fund's file. The patient pays all.
        {false, false, {{kAids[10], 7}}},
        // The same a cent on each of four lines, with a co-payment.
        {false, false, {{kAids[10], 247}, {kAids[10], 294}, {kAids[10], 327}, {kAids[10], 374}}},
        // And on the supplementary invoice.
        {false, true, {{kAids[10], 134}, {kAids[3], 1}}},
    };
    const QStringList offices = offices::cities();
    for (int i = 0; i < count; ++i) {
        Case c;
        if (i < int(fixed.size())) {
            c = fixed[size_t(i)];
        } else {
            c.exempt = draw(5) == 0;
            // An exempt patient pays no co-payment, so no supplementary
            // insurance pays it either (that pair is a stopping check).
            c.supplementary = !c.exempt && draw(2) == 0;
            const int lines = 1 + draw(4);
            for (int n = 0; n < lines; ++n) {
                const QString code = draw(15) == 0 ? kExpensiveAid : kAids[draw(int(kAids.size()))];
                c.lines.push_back({code, code == kAids[10] ? 1 + draw(500) : 1 + draw(4)});
            }
        }
        const QDate billed = QDate(2026, 1, 2).addDays(draw(330));
        const bool oldForm = draw(3) == 0;
        QStringList columns = {"God", "Rnbr", "Datum", "Datumnar", "DatumIzdavanja", "Broj", "Prezime", "Ime",
                               "Brosig1", "Brosig2", "Osl", "Dop", "Dopunsko", "Izbor", "Pu"};
        QVariantList values = {26, first + i, billed, billed.addDays(-draw(20)), billed,
                               oldForm ? QStringLiteral("0%1/%2").arg(10 + draw(89)).arg(10000000 + draw(89999999))
                                       : QStringLiteral("3%1").arg(qint64(1000000000000LL) + draw(999999999), 13, 10, QLatin1Char('0')),
                               kSurnames[draw(int(kSurnames.size()))], kFirstNames[draw(int(kFirstNames.size()))],
                               QStringLiteral("%1").arg(100 + draw(900)), QStringLiteral("%1").arg(10000000 + draw(89999999)),
                               c.exempt, c.supplementary,
                               c.supplementary ? QVariant(QStringLiteral("%1").arg(1000000 + draw(8999999))) : QVariant(),
                               mark, offices[draw(int(offices.size()))]};
        for (size_t n = 0; n < c.lines.size(); ++n) {
            columns << QStringLiteral("Pom%1").arg(n + 1) << QStringLiteral("Kol%1").arg(n + 1);
            values << c.lines[n].code << c.lines[n].quantity;
        }
        QStringList marks;
        for (qsizetype k = 0; k < columns.size(); ++k)
            marks << QStringLiteral("?");
        if (!db.exec(QStringLiteral("INSERT INTO Rn (%1) VALUES (%2)").arg(columns.join(u','), marks.join(u',')), values))
            return false;
    }
    return true;
}

} // namespace eracunshop
