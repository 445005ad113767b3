#include "invoice_slots.h"

#include "common/formats.h"
#include "data/regional_offices.h"
#include "data/pricing.h"

#include <cmath>

namespace invoiceslots {
namespace {

QString money2(double v) { return format::number(v, u"0.00"); }
QString kuna(double euro) { return format::number(euro * kKunaPerEuro, u"(0.00 kn)"); }
QString day(const QDate& d) { return format::date(d, u"dd.MM.yyyy."); }

// A confirmation number of one or two characters is printed right-aligned
// in its three-character box.
QString paddedConfirmation(const QString& number)
{
    return number.size() < 3 && !number.isEmpty() ? QString(3 - number.size(), u' ') + number : number;
}

void fillOffice(PrintValues& v, const Sources& s)
{
    const QString& office = s.invoice.office;
    if (office.isEmpty()) {
        v[slot::kOfficeName] = s.general.mainOffice;
        v[slot::kOfficeCity] = s.general.officeCity;
        v[slot::kOfficeStreet] = s.general.officeStreet;
        return;
    }
    const int index = offices::indexOf(office);
    v[slot::kOfficeName] = office;
    v[slot::kOfficeCity] = office;
    v[slot::kOfficeStreet] = index < 0 ? QString() : QString::fromUtf16(offices::all()[index].street);
}

void fillHeader(PrintValues& v, const Sources& s, Kind kind)
{
    fillOffice(v, s);
    v[slot::kSupplierCode] = s.general.code;
    v[slot::kConfirmation] = paddedConfirmation(s.invoice.confirmation);
    v[slot::kPolicy] = s.invoice.policy;
    v[slot::kSupplierName] = s.general.name;
    v[slot::kSupplierAddress] = QString(s.general.place + u' ' + s.general.address);
    v[slot::kIban] = s.general.iban;
    v[slot::kRegistration] = s.general.registration;
    v[slot::kNumberText] = numberText(s, kind);
}

// Items 1 to 7: codes, quantities, ISO classes, and for the priced lines
// names, prices and amounts.
void fillItems(pricing::Catalogue& catalogue, PrintValues& v, const Sources& s, const pricing::Priced& priced)
{
    for (int n = 1; n <= aidfields::kLines; ++n) {
        const AidLine& line = s.invoice.aids[size_t(n - 1)];
        const int k = n - 1;
        const double quantity = line.quantity();
        v[slot::kItemCode + k] = line.code;
        v[slot::kItemQuantity + k] = quantity > 0 ? QVariant(int(quantity)) : QVariant(QString());
        if (line.isEmpty())
            continue;
        // The ISO class comes from the current list, whatever list prices the code.
        if (const pricing::Lookup iso = catalogue.find(pricing::List::New13, line.code); iso.aid && !iso.aid->iso.isNull())
            v[slot::kItemIso + k] = iso.aid->iso;
    }
    for (const pricing::PricedLine& l : priced.lines) {
        const int k = l.line - 1;
        v[slot::kItemName + k] = l.aid.name;
        v[slot::kItemPrice + k] = format::number(l.aid.price, u"0.0000");
        v[slot::kItemAmount + k] = money2(l.amount.total());
        if (l.line <= aidfields::kOfferedLines)
            v[slot::kItemVatRate + k] = QString(u' ' + format::general(l.vatRate) + u'%');
    }
}

void fillPatientAndDates(PrintValues& v, const Sources& s, const QTime& now)
{
    const bool supplementary = s.invoice.supplementary;
    v[slot::kOrdered] = day(s.invoice.ordered);
    v[slot::kPlaceAndTime] = QString(s.general.place + QStringLiteral(", ") + day(s.invoice.billed) + QStringLiteral("   u ")
                                     + format::time(now, u"HH:mm:ss"));
    v[slot::kResponsible] = s.general.responsible;
    v[slot::kReferenceModel] = s.general.referenceModel;
    v[slot::kOib] = s.general.oib;
    v[slot::kRetailAddress] = s.general.retailAddress;
    v[slot::kRetailCode] = s.general.retailCode;
    v[slot::kRetailNumber] = s.invoice.retailNumber;
    v[slot::kCoPaymentTitle] = supplementary ? QStringLiteral("RAČUN ZA DOPUNSKO") : QStringLiteral("RAČUN ZA SUDJELOVANJE");
    v[slot::kCoPaymentTitle2] = supplementary ? QStringLiteral("ZDRAVSTVENO OSIGURANJE") : QString();
    v[slot::kLine5Label] = supplementary ? QStringLiteral("5. Iznos na teret dopunskog zdravstvenog osiguranja")
                                         : QStringLiteral("5. Iznos sudjelovanja");
    v[slot::kInsured] = QString(QStringLiteral("Osiguranik: ") + s.invoice.firstName + u' ' + s.invoice.surname);
    v[slot::kInsuredNumber] =
        QString(QStringLiteral("Br. osig. ili MBO: ") + s.invoice.insuredFirst + u' ' + s.invoice.insuredSecond);
    v[slot::kIssued] = day(s.invoice.issued);
}

} // namespace

QString numberText(const Sources& s, Kind kind)
{
    const QString& mark = kind == Kind::Basic ? s.general.basicMark : s.general.supplementaryMark;
    return QString::number(s.invoice.number) + u'-' + s.general.premises + u'-' + s.general.registerMark + u'-'
        + s.general.yearDigits() + mark;
}

QString title(const Sources& s, Kind kind)
{
    const QString& r = s.general.invoiceR;
    QString prefix;
    if (!r.isEmpty())
        prefix = QStringLiteral("Račun R-") + r + QStringLiteral(" br. ");
    else
        prefix = s.general.registration.size() > 9 ? QStringLiteral("Račun R-2 br. ") : QStringLiteral("Račun R-1 br. ");
    return prefix + numberText(s, kind);
}

Result fill(pricing::Catalogue& catalogue, const Sources& s, Kind kind, const QTime& now)
{
    Result r;
    PrintValues& v = r.values;
    v.clear();
    fillHeader(v, s, kind);
    const pricing::Priced priced = pricing::price(catalogue, s.invoice, pricing::Document::Invoice);
    r.unknownCode = priced.unknownCode;
    r.error = priced.error;
    if (!priced.ok())
        return r;
    fillItems(catalogue, v, s, priced);

    const bool exempt = s.invoice.exempt, supplementary = s.invoice.supplementary;
    const double T = priced.total;
    const pricing::Shares shares = pricing::invoiceShares(T, priced.vat, exempt, supplementary);
    v[slot::kTotal] = money2(T);
    v[slot::kTotalAgain] = money2(T);
    v[slot::kCoPayment] = exempt || supplementary ? QStringLiteral("0,00") : money2(shares.coPayment);
    if (!supplementary) {
        v[slot::kSupplementary] = money2(0);
    } else {
        v[slot::kSupplementary] = money2(shares.supplementary);
        v[slot::kCoPayment] = v[slot::kSupplementary];
    }
    v[slot::kFund] = money2(shares.basic);
    v[slot::kVat] = money2(kind == Kind::Basic ? shares.fundVat : shares.coPaymentVat);

    fillPatientAndDates(v, s, now);
    v[slot::kTotalKuna] = kuna(T);
    v[slot::kTotalKunaAgain] = kuna(T);
    v[slot::kSupplementaryKuna] = kuna(shares.supplementary);
    v[slot::kCoPaymentKuna] = kuna(shares.coPayment + shares.supplementary);
    v[slot::kFundKuna] = kuna(shares.basic);
    v[slot::kVatKuna] = kuna(kind == Kind::Basic ? shares.fundVat : shares.coPaymentVat);

    r.total = T;
    r.fundAmount = shares.basic;
    r.fundVat = shares.fundVat;
    r.coPaymentVat = shares.coPaymentVat;
    return r;
}

} // namespace invoiceslots
