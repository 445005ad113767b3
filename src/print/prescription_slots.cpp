#include "prescription_slots.h"

#include "common/formats.h"
#include "data/pricing.h"

namespace prescriptionslots {
namespace {

QString grouped(double v) { return format::number(v, u"#,##0.00"); }

// The name of an aid in two halves of the form's two lines.
constexpr int kNameLine = 30;

void fillLines(PrintValues& v, const pricing::Priced& priced)
{
    for (const pricing::PricedLine& l : priced.lines) {
        const int k = l.line - 1;
        v[slot::kLineCode + k] = l.code;
        v[slot::kLineName + 2 * k] = l.aid.name.left(kNameLine);
        v[slot::kLineName + 2 * k + 1] = l.aid.name.mid(kNameLine);
        v[slot::kLineQuantity + k] = QString::number(int(l.quantity));
        // Every amount with two decimals; a price keeps up to four.
        v[slot::kLinePrice + k] = format::number(l.aid.price, u"#,##0.00##");
        v[slot::kLineVatRate + k] = l.aid.vatRate;
        v[slot::kLineAmount + k] = grouped(l.amount.total());
    }
}

} // namespace

Result fill(pricing::Catalogue& catalogue, const invoiceslots::Sources& s, const QTime& now)
{
    Result r;
    PrintValues& v = r.values;
    v.clear();
    const QString number = invoiceslots::numberText(s, invoiceslots::Kind::Basic);
    v[slot::kSupplierName] = s.general.name;
    v[slot::kAddress] = s.general.address;
    v[slot::kRetailAddress] = s.general.retailAddress;
    v[slot::kRetailCode] = s.general.retailCode;
    v[slot::kIban] = s.general.iban;
    v[slot::kReferenceModel] = s.general.referenceModel;
    v[slot::kReference] = number;
    v[slot::kNumberText] = number;
    v[slot::kRegistration] = s.general.registration;
    v[slot::kOib] = s.general.oib;
    v[slot::kRetailNumber] = s.invoice.retailNumber;
    const pricing::Priced priced = pricing::price(catalogue, s.invoice, pricing::Document::ConfirmationForm);
    r.unknownCode = priced.unknownCode;
    r.error = priced.error;
    if (!priced.ok())
        return r;
    fillLines(v, priced);

    const double x = s.invoice.amount;
    const pricing::FormShares shares = pricing::formShares(x, priced.vatSum, s.invoice.exempt);
    v[slot::kTotal] = grouped(x);
    v[slot::kTotalAgain] = grouped(x);
    if (!s.invoice.exempt)
        v[slot::kCoPayment] = format::number(shares.shown, u"0.00");
    v[slot::kFund] = grouped(shares.fund);
    v[slot::kFundVat] = grouped(shares.fundVat);
    v[slot::kOrdered] = s.invoice.ordered;
    v[slot::kIssued] = s.invoice.issued;
    v[slot::kPlaceAndTime] = QString(s.general.place + QStringLiteral(", ") + format::date(s.invoice.billed, u"dd.MM.yyyy.")
                                     + QStringLiteral("   u ") + format::time(now, u"HH:mm:ss"));
    v[slot::kResponsible] = s.general.responsible;
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
