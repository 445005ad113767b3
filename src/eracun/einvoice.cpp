#include "einvoice.h"

#include "data/pricing.h"
#include "data/regional_offices.h"
#include "invoice/identifiers.h"
#include "kpd_codes.h"
#include "oib.h"
#include "print/invoice_slots.h"
#include "submission/submission_records.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace eracun {
namespace {

const QString kCustomization = QStringLiteral(
    "urn:cen.eu:en16931:2017#compliant#urn:mfin.gov.hr:cius-2025:1.0#conformant#urn:mfin.gov.hr:ext-2025:1.0");
// The fund orders each aid with its confirmation form under the contract
// the supplier holds with it: invoicing deliveries against orders based on
// a contract.
const QString kProcess = QStringLiteral("P1");
// The e-invoices are counted from this day on.
const QDate kFirstDay(2026, 1, 1);

// The stated amounts are whole cents; comparing them in cents avoids the
// binary remainders of sums.
qint64 cents(double amount) { return qint64(std::llround(amount * 100)); }

// A decimal without an exponent and without trailing zeros beyond `least`.
QString decimal(double value, int most, int least)
{
    QString text = QString::number(value, 'f', most);
    const int point = int(text.indexOf(u'.'));
    if (point < 0)
        return text;
    int end = int(text.size());
    while (end > point + 1 + least && text[end - 1] == u'0')
        --end;
    if (end == point + 1)
        --end;
    return text.left(end);
}

// The units of the code lists (JedMjere) with their UN/ECE Recommendation
// 20 codes; the first of a code is the name it is shown by.
const std::vector<std::pair<QString, QString>>& units()
{
    static const std::vector<std::pair<QString, QString>> table = {
        {QStringLiteral("kom"), QStringLiteral("H87")},  {QStringLiteral("par"), QStringLiteral("PR")},
        {QStringLiteral("pari"), QStringLiteral("PR")},  {QStringLiteral("cm2"), QStringLiteral("CMK")},
        {QStringLiteral("cm"), QStringLiteral("CMT")},   {QStringLiteral("m"), QStringLiteral("MTR")},
        {QStringLiteral("m2"), QStringLiteral("MTK")},   {QStringLiteral("g"), QStringLiteral("GRM")},
        {QStringLiteral("kg"), QStringLiteral("KGM")},   {QStringLiteral("l"), QStringLiteral("LTR")},
        {QStringLiteral("ml"), QStringLiteral("MLT")},   {QStringLiteral("komplet"), QStringLiteral("SET")},
        {QStringLiteral("set"), QStringLiteral("SET")},  {QStringLiteral("kpl"), QStringLiteral("SET")},
    };
    return table;
}

// The unit of the code list as its code; a piece when it is none of them.
QString unitCode(const QString& unit)
{
    QString key = unit.trimmed().toLower();
    if (key.endsWith(u'.'))
        key.chop(1);
    for (const auto& [name, code] : units())
        if (name == key)
            return code;
    return QStringLiteral("H87"); // a piece
}

bool isKpd(const QString& code) { return kpd::contains(code); }

invoiceslots::Kind printKind(Kind kind)
{
    return kind == Kind::Basic ? invoiceslots::Kind::Basic : invoiceslots::Kind::Supplementary;
}

QString euro(double amount) { return submission::amount(amount) + QStringLiteral(" €"); }

// "10000 Zagreb" gives the postal code and the place.
std::pair<QString, QString> placeParts(const QString& place)
{
    static const QRegularExpression withCode(QStringLiteral("^\\s*(\\d{5})\\s+(.+?)\\s*$"));
    const auto m = withCode.match(place);
    if (m.hasMatch())
        return {m.captured(1), m.captured(2)};
    return {QString(), place.trimmed()};
}

void checkOib(QStringList& problems, const QString& value, const QString& whose)
{
    if (value.trimmed().isEmpty())
        problems << QStringLiteral("Nije upisan %1 (Opći podaci).").arg(whose);
    else if (!oib::isValid(value))
        problems << QStringLiteral("%1 „%2“ nije ispravan: mora imati 11 znamenki s ispravnom kontrolnom znamenkom. "
                                   "Molim ispravite ga u Općim podacima.")
                        .arg(whose.left(1).toUpper() + whose.mid(1), value);
}

struct Rate {
    double net = 0, vat = 0;
};

class Writer {
public:
    Writer()
        : m_xml(&m_bytes)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(1);
    }
    void start(const char* name) { m_xml.writeStartElement(QLatin1String(name)); }
    void end() { m_xml.writeEndElement(); }
    void attribute(const char* name, const QString& value) { m_xml.writeAttribute(QLatin1String(name), value); }
    // An element only when it has a value: the rules allow no empty one.
    void text(const char* name, const QString& value)
    {
        const QString v = value.trimmed();
        if (!v.isEmpty())
            m_xml.writeTextElement(QLatin1String(name), v);
    }
    void text(const char* name, const QString& value, const char* attributeName, const QString& attributeValue)
    {
        const QString v = value.trimmed();
        if (v.isEmpty())
            return;
        start(name);
        attribute(attributeName, attributeValue);
        m_xml.writeCharacters(v);
        end();
    }
    void amount(const char* name, double value) { text(name, submission::amount(value), "currencyID", QStringLiteral("EUR")); }
    QXmlStreamWriter& xml() { return m_xml; }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    QXmlStreamWriter m_xml;
};

void taxScheme(Writer& w)
{
    w.start("cac:TaxScheme");
    w.text("cbc:ID", QStringLiteral("VAT"));
    w.end();
}

void address(Writer& w, const QString& street, const QString& city, const QString& postalCode)
{
    w.start("cac:PostalAddress");
    w.text("cbc:StreetName", street);
    w.text("cbc:CityName", city);
    w.text("cbc:PostalZone", postalCode);
    w.start("cac:Country");
    w.text("cbc:IdentificationCode", QStringLiteral("HR"));
    w.end();
    w.end();
}

void party(Writer& w, const QString& oib, const QString& tradingName, const QString& street, const QString& city,
           const QString& postalCode, const QString& legalName, const QString& registration)
{
    w.start("cac:Party");
    w.text("cbc:EndpointID", oib, "schemeID", QStringLiteral("9934"));
    if (!tradingName.isEmpty()) {
        w.start("cac:PartyName");
        w.text("cbc:Name", tradingName);
        w.end();
    }
    address(w, street, city, postalCode);
    w.start("cac:PartyTaxScheme");
    w.text("cbc:CompanyID", QStringLiteral("HR") + oib);
    taxScheme(w);
    w.end();
    w.start("cac:PartyLegalEntity");
    w.text("cbc:RegistrationName", legalName);
    w.text("cbc:CompanyID", registration);
    w.end();
    w.end();
}

struct Office {
    QString city, street;
};

// The invoice's regional office, or the supplier's main one, with the
// street from the list of offices.
Office officeOf(const InvoiceRecord& invoice, const GeneralRecord& general)
{
    if (invoice.office.trimmed().isEmpty())
        return {general.mainOffice.trimmed(), general.officeStreet.trimmed()};
    const int i = offices::indexOf(invoice.office);
    return {invoice.office.trimmed(), i < 0 ? QString() : QString::fromUtf16(offices::all()[size_t(i)].street)};
}

// The invoice's amounts. The lines are those of the printed invoice; the
// amounts the document carries are those of the fund's file, which the fund
// pays by: the VAT of each line from its net amount in whole cents, as
// EN 16931 reckons it. The printed invoice takes the VAT of the unrounded
// price times quantity, so the two may differ by a cent of VAT per line.
struct Amounts {
    pricing::Priced priced;        // the printed invoice
    pricing::Shares printedShares; // its shares
    double net = 0, vat = 0, total = 0;
    pricing::Shares shares;
    std::map<double, Rate> byRate;
};

// The fund file's VAT of each line of the printed invoice, when the file
// prices the same lines at the same net amounts and rates and differs at
// most by the rounding of a line's VAT (a cent); nothing when the two
// really disagree (a line the file does not carry, another rate).
std::optional<std::vector<double>> fileVatOfLines(const pricing::Priced& printed, const submission::Computed& file)
{
    std::vector<double> vat;
    std::vector<bool> matched(file.lines.size(), false);
    for (const pricing::PricedLine& l : printed.lines) {
        const auto it = std::find_if(file.lines.begin(), file.lines.end(),
                                     [&l](const submission::Line& f) { return f.position == l.line; });
        if (it == file.lines.end() || it->code != l.code || cents(it->net) != cents(l.amount.net)
            || it->vatRate != l.vatRate || std::abs(cents(it->vat) - cents(l.amount.vat)) > 1)
            return std::nullopt;
        matched[size_t(it - file.lines.begin())] = true;
        vat.push_back(it->vat);
    }
    // A line the invoice leaves out (no quantity) must come to nothing in
    // the file too.
    for (size_t i = 0; i < file.lines.size(); ++i)
        if (!matched[i] && (cents(file.lines[i].net) != 0 || cents(file.lines[i].vat) != 0))
            return std::nullopt;
    return vat;
}

QByteArray documentXml(const InvoiceRecord& invoice, const GeneralRecord& general, const Classification& classification,
                       const Amounts& a, Kind kind, const QString& number, const QDate& issued, const QTime& issueTime,
                       double prepaid, double payable)
{
    Writer w;
    QXmlStreamWriter& x = w.xml();
    x.writeStartDocument();
    x.writeStartElement(QStringLiteral("Invoice"));
    x.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:Invoice-2"));
    x.writeAttribute(QStringLiteral("xmlns:cac"),
                     QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2"));
    x.writeAttribute(QStringLiteral("xmlns:cbc"),
                     QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2"));
    w.text("cbc:CustomizationID", kCustomization);
    w.text("cbc:ProfileID", kProcess);
    w.text("cbc:ID", number);
    w.text("cbc:IssueDate", issued.toString(Qt::ISODate));
    w.text("cbc:IssueTime", issueTime.toString(QStringLiteral("HH:mm:ss")));
    const int days = general.paymentDays > 0 ? general.paymentDays : 30;
    w.text("cbc:DueDate", issued.addDays(days).toString(Qt::ISODate));
    w.text("cbc:InvoiceTypeCode", QStringLiteral("380"));

    // What the printed invoice says beside the amounts: the insured person
    // and who pays the rest.
    const bool supplementary = invoice.supplementary;
    QStringList note;
    const QString patient = QString(invoice.firstName.trimmed() + u' ' + invoice.surname.trimmed()).trimmed();
    if (!patient.isEmpty())
        note << QStringLiteral("Osiguranik: ") + patient;
    const QString insured = QString(invoice.insuredFirst.trimmed() + u' ' + invoice.insuredSecond.trimmed()).trimmed();
    if (!insured.isEmpty())
        note << QStringLiteral("Br. osig. ili MBO: ") + insured;
    if (!invoice.sickList.trimmed().isEmpty())
        note << QStringLiteral("Br. bolesničkog lista: ") + invoice.sickList.trimmed() + u' ' + invoice.country.trimmed();
    if (supplementary && !invoice.policy.trimmed().isEmpty())
        note << QStringLiteral("Broj police dopunskog osiguranja: ") + invoice.policy.trimmed();
    if (kind == Kind::Basic) {
        if (supplementary)
            note << QStringLiteral("Iznos na teret dopunskog zdravstvenog osiguranja ") + euro(prepaid)
                    + QStringLiteral(" (račun ")
                    + invoiceslots::numberText({invoice, general}, invoiceslots::Kind::Supplementary) + u')';
        else if (invoice.exempt)
            note << QStringLiteral("Osiguranik je oslobođen sudjelovanja");
        else
            note << QStringLiteral("Sudjelovanje osigurane osobe ") + euro(prepaid);
        note << QStringLiteral("PDV sadržan u iznosu na teret HZZO-a ") + euro(a.shares.fundVat);
    } else {
        note << QStringLiteral("Iznos na teret osnovnog zdravstvenog osiguranja ") + euro(prepaid)
                + QStringLiteral(" (račun ") + invoiceslots::numberText({invoice, general}, invoiceslots::Kind::Basic)
                + u')';
        note << QStringLiteral("PDV sadržan u iznosu na teret dopunskog osiguranja ") + euro(a.shares.coPaymentVat);
    }
    w.text("cbc:Note", note.join(QStringLiteral("; ")));
    w.text("cbc:DocumentCurrencyCode", QStringLiteral("EUR"));

    const QString confirmation = identifiers::normalizedConfirmationNumber(invoice.confirmation.trimmed());
    if (!confirmation.isEmpty()) {
        w.start("cac:OrderReference");
        w.text("cbc:ID", confirmation);
        w.end();
    }
    if (!general.code.trimmed().isEmpty()) {
        w.start("cac:ContractDocumentReference");
        w.text("cbc:ID", general.code);
        w.end();
    }

    const auto [postalCode, city] = placeParts(general.place);
    w.start("cac:AccountingSupplierParty");
    party(w, general.oib.trimmed(), QString(), general.address, city, postalCode, general.name, general.registration);
    w.start("cac:SellerContact");
    w.text("cbc:ID", general.einvoiceOperatorOib);
    w.text("cbc:Name", general.einvoiceOperator);
    w.end();
    w.end();

    const Office office = officeOf(invoice, general);
    w.start("cac:AccountingCustomerParty");
    party(w, kFundOib, office.city.isEmpty() ? QString() : kFundName + QStringLiteral(", područni ured ") + office.city,
          office.street, office.city, QString(), kFundName, QString());
    w.end();

    if (invoice.billed.isValid()) {
        w.start("cac:Delivery");
        w.text("cbc:ActualDeliveryDate", invoice.billed.toString(Qt::ISODate));
        w.end();
    }
    const QString iban = QString(general.iban).remove(u' ');
    if (!iban.isEmpty()) {
        w.start("cac:PaymentMeans");
        w.text("cbc:PaymentMeansCode", QStringLiteral("30"));
        w.start("cac:PayeeFinancialAccount");
        w.text("cbc:ID", iban);
        w.end();
        w.end();
    }

    w.start("cac:TaxTotal");
    w.amount("cbc:TaxAmount", a.vat);
    for (const auto& [rate, r] : a.byRate) {
        w.start("cac:TaxSubtotal");
        w.amount("cbc:TaxableAmount", r.net);
        w.amount("cbc:TaxAmount", r.vat);
        w.start("cac:TaxCategory");
        w.text("cbc:ID", QStringLiteral("S"));
        w.text("cbc:Percent", decimal(rate, 2, 0));
        taxScheme(w);
        w.end();
        w.end();
    }
    w.end();

    w.start("cac:LegalMonetaryTotal");
    w.amount("cbc:LineExtensionAmount", a.net);
    w.amount("cbc:TaxExclusiveAmount", a.net);
    w.amount("cbc:TaxInclusiveAmount", a.total);
    if (cents(prepaid) != 0)
        w.amount("cbc:PrepaidAmount", prepaid);
    w.amount("cbc:PayableAmount", payable);
    w.end();

    int id = 0;
    for (const pricing::PricedLine& l : a.priced.lines) {
        const QString unit = unitCode(l.aid.unit);
        w.start("cac:InvoiceLine");
        w.text("cbc:ID", QString::number(++id));
        w.text("cbc:InvoicedQuantity", decimal(l.quantity, 3, 0), "unitCode", unit);
        w.amount("cbc:LineExtensionAmount", l.amount.net);
        w.start("cac:Item");
        w.text("cbc:Name", l.aid.name.trimmed().isEmpty() ? l.code : l.aid.name);
        w.start("cac:SellersItemIdentification");
        w.text("cbc:ID", l.code);
        w.end();
        w.start("cac:CommodityClassification");
        w.text("cbc:ItemClassificationCode", classification.of(l.code), "listID", QStringLiteral("CG"));
        w.end();
        w.start("cac:ClassifiedTaxCategory");
        w.text("cbc:ID", QStringLiteral("S"));
        w.text("cbc:Name", QStringLiteral("HR:PDV") + decimal(l.vatRate, 2, 0));
        w.text("cbc:Percent", decimal(l.vatRate, 2, 0));
        taxScheme(w);
        w.end();
        w.end();
        w.start("cac:Price");
        w.text("cbc:PriceAmount", decimal(l.aid.price, 6, 2), "currencyID", QStringLiteral("EUR"));
        w.end();
        w.end();
    }
    x.writeEndElement();
    x.writeEndDocument();
    return w.bytes();
}

} // namespace

QString Classification::of(const QString& code) const
{
    const auto it = byCode.constFind(code);
    if (it != byCode.constEnd() && !it->trimmed().isEmpty())
        return it->trimmed();
    return (pricing::listOf(code) == pricing::List::Old12 ? oldList : newList).trimmed();
}

QString unitName(const QString& code)
{
    for (const auto& [name, known] : units())
        if (known == code)
            return name;
    return code;
}

bool Document::differsFromPrinted() const
{
    return cents(vat) != cents(printed.vat) || cents(total) != cents(printed.total)
        || cents(payable) != cents(printed.payable) || cents(prepaid) != cents(printed.prepaid);
}

QString differenceNote(const Document& d)
{
    if (!d.differsFromPrinted())
        return {};
    QStringList parts;
    const auto part = [&parts](const QString& what, double written, double printed) {
        if (cents(written) != cents(printed))
            parts << QStringLiteral("%1 %2 (na ispisanom računu %3)").arg(what, euro(written), euro(printed));
    };
    part(QStringLiteral("PDV"), d.vat, d.printed.vat);
    part(QStringLiteral("ukupno"), d.total, d.printed.total);
    const bool basic = d.kind == Kind::Basic;
    part(basic ? QStringLiteral("na teret HZZO-a") : QStringLiteral("na teret dopunskog osiguranja"), d.payable,
         d.printed.payable);
    part(basic ? QStringLiteral("sudjelovanje") : QStringLiteral("na teret HZZO-a"), d.prepaid, d.printed.prepaid);
    return QStringLiteral("eRačun %1: %2. eRačun ima iznose iz datoteke za HZZO (PDV zaokruženog iznosa svake stavke), "
                          "ispisani račun PDV nezaokruženog iznosa.")
        .arg(d.number, parts.join(QStringLiteral(", ")));
}

std::vector<Kind> kindsOf(const InvoiceRecord& invoice)
{
    if (invoice.supplementary)
        return {Kind::Basic, Kind::Supplementary};
    return {Kind::Basic};
}

QString problemMessage(const InvoiceRecord& invoice, const QStringList& problems)
{
    return QStringLiteral("eRačun za račun br. %1 nije napravljen:\r\n").arg(invoice.number) + problems.join(QStringLiteral("\r\n"));
}

Built build(pricing::Catalogue& catalogue, const InvoiceRecord& invoice, const GeneralRecord& general,
            const Classification& classification, const QTime& issueTime, const std::vector<Kind>& wanted)
{
    Built b;
    QStringList& problems = b.problems;
    const std::vector<Kind> kinds = wanted.empty() ? kindsOf(invoice) : wanted;

    // The supplier and the operator.
    if (general.name.trimmed().isEmpty())
        problems << QStringLiteral("Nije upisan naziv isporučitelja (Opći podaci).");
    checkOib(problems, general.oib, QStringLiteral("OIB isporučitelja"));
    if (general.einvoiceOperator.trimmed().isEmpty())
        problems << QStringLiteral("Nije upisana oznaka operatera za eRačun (Opći podaci).");
    checkOib(problems, general.einvoiceOperatorOib, QStringLiteral("OIB operatera za eRačun"));

    // The invoice.
    const QDate issued = invoice.issued.isValid() ? invoice.issued : invoice.billed;
    if (!issued.isValid())
        problems << QStringLiteral("Račun nema datum izdavanja.");
    else if (issued < kFirstDay)
        problems << QStringLiteral("Račun je izdan %1, prije 01.01.2026.: za račune izdane prije toga dana eRačun se ne izdaje.")
                        .arg(issued.toString(QStringLiteral("dd.MM.yyyy.")));
    for (Kind kind : kinds) {
        if (kind == Kind::Supplementary && !invoice.supplementary)
            problems << QStringLiteral("Pacijent nema dopunsko osiguranje: račun za sudjelovanje plaća pacijent i on nije eRačun.");
        const QString number = invoiceslots::numberText({invoice, general}, printKind(kind));
        static const QRegularExpression blank(QStringLiteral("\\s"));
        if (number.contains(blank))
            problems << QStringLiteral("Broj računa „%1“ sadrži razmak, a broj eRačuna ne smije imati razmaka. Molim uklonite "
                                       "razmake iz oznake poslovnog prostora, oznake blagajne i oznake %2 osiguranja "
                                       "(Opći podaci).")
                            .arg(number, kind == Kind::Basic ? QStringLiteral("osnovnog") : QStringLiteral("dopunskog"));
    }

    // The amounts of the printed invoice, and the fund's file beside them.
    Amounts a;
    a.priced = pricing::price(catalogue, invoice, pricing::Document::Invoice);
    if (!a.priced.error.isEmpty()) {
        problems << pricing::failedLookupMessage(a.priced.error);
        return b;
    }
    if (!a.priced.unknownCode.isEmpty()) {
        problems << pricing::unknownCodeMessage(a.priced.unknownCode);
        return b;
    }
    if (a.priced.lines.empty())
        problems << QStringLiteral("Račun nema nijednu šifru s količinom, a eRačun mora imati barem jednu stavku.");
    for (const pricing::PricedLine& l : a.priced.lines) {
        const QString kpd = classification.of(l.code);
        if (kpd.isEmpty())
            problems << QStringLiteral("Šifra %1 nema KPD oznaku: molim upišite KPD oznaku njenog popisa šifri u Opće podatke "
                                       "ili KPD oznaku te šifre.")
                            .arg(l.code);
        else if (!isKpd(kpd))
            problems << QStringLiteral("KPD oznaka „%1“ šifre %2 nije ispravna: nema je u klasifikaciji KPD 2025 "
                                          "(upisuje se u obliku 47.74.01).").arg(kpd, l.code);
    }
    a.printedShares = pricing::invoiceShares(a.priced.total, a.priced.vat, invoice.exempt, invoice.supplementary);
    const submission::Computed file = submission::compute(catalogue, invoice);
    const auto differ = [&] {
        problems << QStringLiteral("Iznosi računa i datoteke za HZZO se razlikuju: ukupno %1 na računu i %2 u datoteci, "
                                   "na teret HZZO-a %3 na računu i %4 u datoteci. U datoteku idu samo prve četiri šifre, "
                                   "stopa PDV-a iz popisa kelmorin i PDV zaokruženog iznosa stavke; molim provjerite šifre, "
                                   "količine i stope PDV-a u popisu kelmorin.")
                        .arg(euro(a.priced.total), euro(file.total), euro(a.printedShares.basic), euro(file.basic));
    };
    if (!file.missingQuantityCode.isEmpty()) {
        problems << QStringLiteral("Šifra %1 nema upisanu količinu.").arg(file.missingQuantityCode);
    } else if (!file.unknownCode.isEmpty()) {
        problems << pricing::unknownCodeMessage(file.unknownCode);
    } else if (!file.error.isEmpty()) {
        problems << pricing::failedLookupMessage(file.error);
    } else if (invoice.exempt && invoice.supplementary) {
        // The fund's file bills such an invoice whole to the fund and the
        // co-payment to the supplementary insurance as well; the printed
        // invoice bills the fund the rest only.
        problems << QStringLiteral("Pacijent je označen i kao oslobođen sudjelovanja i kao dopunski osiguran, pa se iznosi "
                                   "računa i datoteke za HZZO razlikuju. Molim uklonite jednu od tih oznaka.");
    } else if (const auto vat = fileVatOfLines(a.priced, file); !vat) {
        differ();
    } else {
        // The document carries the file's amounts; its shares follow from
        // them by the printed invoice's rule, which is the file's.
        a.net = file.net;
        a.vat = file.vat;
        a.total = file.total;
        a.shares = pricing::invoiceShares(file.total, file.vat, invoice.exempt, invoice.supplementary);
        for (size_t i = 0; i < a.priced.lines.size(); ++i) {
            Rate& r = a.byRate[a.priced.lines[i].vatRate];
            r.net += a.priced.lines[i].amount.net;
            r.vat += (*vat)[i];
        }
        if (cents(a.shares.basic) != cents(file.basic)
            || cents(a.shares.coPayment + a.shares.supplementary) != cents(file.coPayment + file.supplementary))
            differ();
    }
    if (!b.ok())
        return b;

    // The document's own arithmetic, in whole cents.
    qint64 lineNets = 0, rateNets = 0, rateVats = 0;
    for (const pricing::PricedLine& l : a.priced.lines)
        lineNets += cents(l.amount.net);
    for (const auto& [rate, r] : a.byRate) {
        rateNets += cents(r.net);
        rateVats += cents(r.vat);
    }
    if (lineNets != cents(a.net) || rateNets != cents(a.net) || rateVats != cents(a.vat)
        || cents(a.net) + cents(a.vat) != cents(a.total) || cents(a.shares.basic) < 0
        || cents(a.shares.coPayment + a.shares.supplementary) < 0 || cents(a.total) < 0)
        problems << QStringLiteral("Iznosi računa se ne zbrajaju (osnovica %1, PDV %2, ukupno %3, na teret HZZO-a %4). "
                                   "Molim provjerite cijene šifri u popisu kelmorin.")
                        .arg(euro(a.net), euro(a.vat), euro(a.total), euro(a.shares.basic));
    if (!b.ok())
        return b;

    for (Kind kind : kinds) {
        Document d;
        d.kind = kind;
        d.number = invoiceslots::numberText({invoice, general}, printKind(kind));
        d.fileName = QStringLiteral("eRacun-") + d.number + QStringLiteral(".xml");
        d.net = a.net;
        d.vat = a.vat;
        d.total = a.total;
        // The basic invoice asks for the fund's share; the rest the patient
        // or the supplementary insurance pays. The supplementary invoice asks
        // for that insurance's share; the rest is the fund's.
        d.payable = kind == Kind::Basic ? a.shares.basic : a.shares.supplementary;
        d.prepaid = std::round((a.total - d.payable) * 100) / 100;
        d.printed.vat = a.priced.vat;
        d.printed.total = a.priced.total;
        d.printed.payable = kind == Kind::Basic ? a.printedShares.basic : a.printedShares.supplementary;
        d.printed.prepaid = std::round((a.priced.total - d.printed.payable) * 100) / 100;
        d.xml = documentXml(invoice, general, classification, a, kind, d.number, issued, issueTime, d.prepaid, d.payable);
        b.documents.push_back(std::move(d));
    }
    return b;
}

} // namespace eracun
