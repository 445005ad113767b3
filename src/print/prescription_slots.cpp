#include "prescription_slots.h"

#include "invoice/aid_lookup.h"
#include "common/formats.h"
#include "common/money.h"
#include "data/sql_values.h"

namespace prescriptionslots {
namespace {

using printsources::text;

QString grouped(double v) { return format::number(v, u"#,##0.00"); }

// Lines 1 to 4; returns the first code no list holds. The VAT sum is kept
// in single precision, as the form's VAT share has always been computed.
QString fillLines(Database& db, PrintValues& v, const invoiceslots::Sources& s, float& vatSum)
{
    for (int n = 1; n <= 4; ++n) {
        const QString code = sqlvalue::toText(s.invoice.value(QStringLiteral("Pom%1").arg(n)));
        if (code.isEmpty())
            continue;
        const auto aid = aids::find(db, code.size() == 13 ? aids::List::New13 : aids::List::Old12, code);
        if (!aid)
            return code;
        const int quantity = s.invoice.value(QStringLiteral("Kol%1").arg(n)).toInt();
        const double net = money::basicInt(quantity * 100.0 * aid->price + money::kLine) / 100;
        const double vat = money::basicInt(aid->vatRate * net + money::kLine) / 100;
        const int k = n - 1;
        v[11 + k] = code;
        v[15 + 2 * k] = aid->name.left(30);
        v[16 + 2 * k] = aid->name.mid(30);
        v[23 + k] = QString::number(quantity);
        v[27 + k] = aid->price;
        v[31 + k] = aid->vatRate;
        v[35 + k] = net + vat;
        vatSum += float(vat);
    }
    return {};
}

QString numberText(const invoiceslots::Sources& s)
{
    return invoiceslots::numberText(s, invoiceslots::Kind::Basic);
}

} // namespace

double coPayment(double amount)
{
    double s = money::basicInt(amount * 20 + money::kNearlyUp) / 100;
    if (s <= 1.7661)
        s = amount;
    else if (s >= 530.88)
        s = 530.88;
    else if (s <= 8.83)
        s = 8.83;
    return s;
}

Result fill(Database& db, const invoiceslots::Sources& s, const QTime& now)
{
    Result r;
    PrintValues& v = r.values;
    v.clear();
    v[0] = text(s.general, "Naziv");
    v[1] = text(s.general, "Adresa");
    v[2] = text(s.general, "AdresaMalopr");
    v[3] = text(s.general, "SifraMalopr");
    v[4] = text(s.general, "Ziro");
    v[5] = text(s.general, "Model");
    v[6] = numberText(s);
    v[7] = numberText(s);
    v[8] = text(s.general, "Matbr");
    v[9] = text(s.general, "OIB");
    v[10] = text(s.invoice, "BrojMalopRn");
    float vatSum = 0;
    r.unknownCode = fillLines(db, v, s, vatSum);
    if (!r.unknownCode.isEmpty())
        return r;

    const double x = s.invoice.value(QStringLiteral("Iznos")).toDouble();
    v[47] = grouped(x);
    v[48] = grouped(x);
    double share = 0;
    if (!sqlvalue::toBool(s.invoice.value(QStringLiteral("Osl")))) {
        share = coPayment(x);
        v[49] = format::number(money::basicInt(share * 100 + money::kNearlyUp) / 100, u"0.00");
    }
    v[50] = grouped(x - share);
    // The VAT contained in the fund's share; nothing to share out of 0.
    v[52] = grouped(x == 0 ? 0 : money::basicInt((x - share) * vatSum * 100 / x + money::kNearlyUp) / 100);
    v[53] = sqlvalue::toDate(s.invoice.value(QStringLiteral("Datumnar")));
    v[54] = sqlvalue::toDate(s.invoice.value(QStringLiteral("DatumIzdavanja")));
    v[55] = QString(text(s.general, "Mjesto") + QStringLiteral(", ")
                    + format::date(sqlvalue::toDate(s.invoice.value(QStringLiteral("Datum"))), u"dd.MM.yyyy.")
                    + QStringLiteral("   u ") + format::time(now, u"HH:mm:ss"));
    v[56] = text(s.general, "Odgovosoba");
    return r;
}

const QStringList& captions()
{
    static const QStringList list = [] {
        QStringList c = {
            QStringLiteral("Ugovorni isporučitelj Naziv"), QStringLiteral("Adresa sjedišta"),
            QStringLiteral("Adresa maloprodajne lokacije"), QStringLiteral("Šifra maloprodajne lokacije"),
            QStringLiteral("Broj žiro računa"), QStringLiteral("Poziv na broj 1. dio"),
            QStringLiteral("Poziv na broj 2. dio"), QStringLiteral("Broj računa isporučitelja"),
            QStringLiteral("Matični broj isporučitelja"), QStringLiteral("OIB isporučitelja"),
            QStringLiteral("Broj maloprodajnog računa"),
        };
        for (int n = 1; n <= 4; ++n)
            c << QStringLiteral("Šifra isporučenog kelmorin %1").arg(n);
        for (int n = 1; n <= 4; ++n)
            c << QStringLiteral("Naziv isporučenog kelmorin %1").arg(n) << QStringLiteral("Naziv isporučenog kelmorin %1/2").arg(n);
        const char* const perLine[] = {"Količina %1", "Jedinična cijena bez PDV-a %1", "Stopa PDV-a %1",
                                       "Ukupni iznos s PDV-om %1", "Jedinična razlika bez PDV-a %1",
                                       "Ukupni iznos razlike s PDV-om %1"};
        for (const char* caption : perLine) {
            for (int n = 1; n <= 4; ++n)
                c << QString::fromUtf8(caption).arg(n);
        }
        c << QStringLiteral("Ukupno") << QStringLiteral("Ukupan iznos za pomag. s PDV")
          << QStringLiteral("Iznos sudjelovanja") << QStringLiteral("Izos na teret obv. zdr. osig.")
          << QStringLiteral("Iznos razlike u cijeni") << QStringLiteral("Iznos obračunatog PDV-a u t. 3")
          << QStringLiteral("Datum narudžbe") << QStringLiteral("Datum izdavanja računa")
          << QStringLiteral("Mjesto i datum izdavanja računa") << QStringLiteral("Ime i prezime odgovorne osobe");
        for (int n = 1; n <= 4; ++n)
            c << QStringLiteral("Šifra veličine obloge %1").arg(n);
        return c;
    }();
    return list;
}

} // namespace prescriptionslots
