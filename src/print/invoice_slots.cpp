#include "invoice_slots.h"

#include "invoice/aid_lookup.h"
#include "common/formats.h"
#include "common/money.h"
#include "data/regional_offices.h"
#include "data/sql_values.h"
#include "invoice/amounts.h"

#include <cmath>

namespace invoiceslots {
namespace {

using printsources::text;
using printsources::flag;

QString money2(double v) { return format::number(v, u"0.00"); }
QString kuna(double euro) { return format::number(euro * kKunaPerEuro, u"(0.00 kn)"); }
QString day(const QVariant& v) { return format::date(sqlvalue::toDate(v), u"dd.MM.yyyy."); }

// Sunglasses and protective glasses with a dioptre carry the full VAT
// rate; every other aid the reduced one.
double vatRateOf(const QString& code, const Aid& aid)
{
    if (code.size() < 9)
        return aid.vatRate;
    const QStringView group = QStringView(code).left(10);
    return group == u"2103031412" || group == u"2103031413" ? 25 : 5;
}

// A confirmation number of one or two characters is printed right-aligned
// in its three-character box.
QString paddedConfirmation(const QString& number)
{
    return number.size() < 3 && !number.isEmpty() ? QString(3 - number.size(), u' ') + number : number;
}

void fillOffice(PrintValues& v, const Sources& s)
{
    const QString office = text(s.invoice, "Pu");
    if (office.isEmpty()) {
        v[0] = text(s.general, "Podrured");
        v[1] = text(s.general, "Mjestopodrur");
        v[2] = text(s.general, "Ulicapodrur");
        return;
    }
    const int index = offices::indexOf(office);
    v[0] = office;
    v[1] = office;
    v[2] = index < 0 ? QString() : QString::fromUtf16(offices::all()[index].street);
}

void fillHeader(PrintValues& v, const Sources& s, Kind kind)
{
    fillOffice(v, s);
    v[3] = text(s.general, "Sifra");
    v[4] = paddedConfirmation(text(s.invoice, "Broj"));
    v[5] = text(s.invoice, "Dopunsko");
    v[6] = text(s.general, "Naziv");
    v[7] = QString(text(s.general, "Mjesto") + u' ' + text(s.general, "Adresa"));
    v[8] = text(s.general, "Ziro");
    v[10] = text(s.general, "Matbr");
    v[11] = numberText(s, kind);
}

struct Totals {
    double total = 0, vat = 0;
};

// Items 1 to 7: codes, quantities, names, prices and amounts. Returns the
// first code that no list holds.
QString fillItems(Database& db, PrintValues& v, const Sources& s, Totals& t)
{
    for (int n = 1; n <= 7; ++n) {
        const int i = 11 + n;
        const QString code = sqlvalue::toText(s.invoice.value(QStringLiteral("Pom%1").arg(n)));
        const int quantity = s.invoice.value(QStringLiteral("Kol%1").arg(n)).toInt();
        v[i] = code;
        v[i + 14] = quantity > 0 ? QVariant(quantity) : QVariant(QString());
        if (code.isEmpty())
            continue;
        if (auto iso = aids::find(db, aids::List::New13, code); iso && !iso->iso.isNull())
            v[49 + i] = iso->iso;
        if (quantity <= 0)
            continue;
        const auto aid = aids::find(db, code.size() == 12 ? aids::List::Old12 : aids::List::New13, code);
        if (!aid)
            return code;
        const double rate = vatRateOf(code, *aid);
        const double net = money::basicInt(quantity * aid->price * 100 + money::kLine) / 100;
        const double vat = money::basicInt(quantity * aid->price * rate + money::kLine) / 100;
        v[i + 7] = aid->name;
        v[i + 21] = format::number(aid->price, u"0.0000");
        v[i + 28] = net + vat;
        t.total += net + vat;
        t.vat += vat;
        if (n <= 4)
            v[i + 76] = QString(u' ' + format::general(rate) + u'%');
    }
    // Whole cents, without the binary remainder of the sums.
    t.total = std::round(t.total * 100) / 100;
    return {};
}

void fillPatientAndDates(PrintValues& v, const Sources& s, const QTime& now)
{
    const bool supplementary = flag(s.invoice, "Dop");
    v[53] = day(s.invoice.value(QStringLiteral("Datumnar")));
    v[54] = QString(text(s.general, "Mjesto") + QStringLiteral(", ") + day(s.invoice.value(QStringLiteral("Datum")))
                    + QStringLiteral("   u ") + format::time(now, u"HH:mm:ss"));
    v[55] = text(s.general, "Odgovosoba");
    v[57] = text(s.general, "Model");
    v[68] = text(s.general, "OIB");
    v[69] = text(s.general, "AdresaMalopr");
    v[70] = text(s.general, "SifraMalopr");
    v[71] = text(s.invoice, "BrojMalopRn");
    v[72] = supplementary ? QStringLiteral("RAČUN ZA DOPUNSKO") : QStringLiteral("RAČUN ZA SUDJELOVANJE");
    v[73] = supplementary ? QStringLiteral("ZDRAVSTVENO OSIGURANJE") : QString();
    v[74] = supplementary ? QStringLiteral("5. Iznos na teret dopunskog zdravstvenog osiguranja")
                          : QStringLiteral("5. Iznos sudjelovanja");
    v[75] = QString(QStringLiteral("Osiguranik: ") + text(s.invoice, "Ime") + u' ' + text(s.invoice, "Prezime"));
    v[76] = QString(QStringLiteral("Br. osig. ili MBO: ") + text(s.invoice, "Brosig1") + u' ' + text(s.invoice, "Brosig2"));
    v[81] = day(s.invoice.value(QStringLiteral("DatumIzdavanja")));
}

} // namespace

QString numberText(const Sources& s, Kind kind)
{
    const QString year = text(s.general, "God").right(2);
    const QString mark = text(s.general, kind == Kind::Basic ? "Oznosn" : "Ozndop");
    return text(s.invoice, "Rnbr") + u'-' + text(s.general, "Prostor") + u'-' + text(s.general, "Operater") + u'-'
        + year + mark;
}

QString title(const Sources& s, Kind kind)
{
    const QString r = text(s.general, "RacunR");
    QString prefix;
    if (!r.isEmpty())
        prefix = QStringLiteral("Račun R-") + r + QStringLiteral(" br. ");
    else
        prefix = text(s.general, "Matbr").size() > 9 ? QStringLiteral("Račun R-2 br. ") : QStringLiteral("Račun R-1 br. ");
    return prefix + numberText(s, kind);
}

Result fill(Database& db, const Sources& s, Kind kind, const QTime& now)
{
    Result r;
    PrintValues& v = r.values;
    v.clear();
    fillHeader(v, s, kind);
    Totals t;
    r.unknownCode = fillItems(db, v, s, t);
    if (!r.unknownCode.isEmpty())
        return r;

    const bool exempt = flag(s.invoice, "Osl"), supplementary = flag(s.invoice, "Dop");
    const double T = t.total;
    v[47] = money2(T);
    v[48] = money2(T);
    double p = 0, p49 = 0, p52 = 0;
    if (exempt || supplementary) {
        v[49] = QStringLiteral("0,00");
    } else {
        p = amounts::coPayment(T);
        p49 = p;
        v[49] = money2(p49);
    }
    if (!supplementary) {
        v[52] = 0;
    } else {
        p = amounts::coPayment(T);
        p52 = p;
        v[52] = money2(p52);
        v[49] = v[52];
    }
    const double fundVat = T == 0 ? 0 : (exempt ? t.vat : t.vat * (1 - p / T));
    const double coPaymentVat = T == 0 || (exempt && !supplementary) ? 0 : t.vat * p / T;
    const double fund = T - p49 - p52;
    v[50] = money2(fund);
    v[51] = money2(kind == Kind::Basic ? fundVat : coPaymentVat);

    fillPatientAndDates(v, s, now);
    v[82] = kuna(T);
    v[83] = kuna(T);
    v[85] = kuna(p52);
    // The kuna equivalent of slot 49, whichever share it shows.
    v[84] = kuna(p49 + p52);
    v[86] = kuna(fund);
    v[87] = kuna(kind == Kind::Basic ? fundVat : coPaymentVat);

    r.total = T;
    r.fundAmount = fund;
    r.fundVat = fundVat;
    r.coPaymentVat = coPaymentVat;
    return r;
}

} // namespace invoiceslots
