#include "bookkeeping_print.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/formats.h"
#include "common/print_target.h"
#include "common/text_cursor.h"
#include "data/regional_offices.h"
#include "data/pricing.h"

namespace bookkeeping {
namespace {

using End = TextCursor::End;


// The name column runs from x 35 to the price column.
constexpr double kNameWidth = 92;

// The name column holds the first 60 characters of the name.
constexpr int kNameLength = 60;

std::optional<Figures> gather(Database& db, const invoiceslots::Sources& s, Dialogs& dialogs)
{
    const pricing::Priced priced = pricing::price(db, s.invoice, pricing::Document::Bookkeeping);
    if (!priced.error.isEmpty()) {
        dialogs.message(pricing::failedLookupMessage(priced.error));
        return std::nullopt;
    }
    if (!priced.unknownCode.isEmpty()) {
        dialogs.message(QStringLiteral("Šifra ") + priced.unknownCode + QStringLiteral(" nije pronađena u popisu kelmorin!"));
        return std::nullopt;
    }
    Figures f;
    const pricing::VatByRate vat = pricing::bookkeepingVat(priced);
    f.base5 = vat.base5;
    f.vat5 = vat.vat5;
    f.base25 = vat.base25;
    f.vat25 = vat.vat25;
    for (const pricing::PricedLine& l : priced.lines)
        f.lines.push_back({l.code, l.aid.name.left(kNameLength), float(l.quantity), float(l.aid.price), l.aid.vatRate});
    return f;
}

void header(TextCursor& t, const invoiceslots::Sources& s)
{
    const QString& office = s.invoice.office;
    const int index = offices::indexOf(office);
    const QString street = index < 0 ? QString() : QString::fromUtf16(offices::all()[index].street);
    t.setFont(12, true);
    t.emptyLines(3);
    t.centredAt(45, s.general.name);
    t.setFont(10, false);
    t.centredAt(45, s.general.address);
    t.setFont(10, true);
    t.centredAt(45, QStringLiteral("OIB: ") + s.general.oib);
    t.setFont(10, false);
    t.centredAt(45, QStringLiteral("IBAN: ") + s.general.iban, End::StayOnLine);
    t.setFont(10, true);
    t.centredAt(135, QStringLiteral("HRVATSKI ZAVOD"));
    t.centredAt(135, QStringLiteral("ZA ZDRAVSTVENO OSIGURANJE"));
    t.setFont(10, false);
    t.centredAt(135, QStringLiteral("PU: ") + office);
    t.centredAt(135, QStringLiteral("Adresa PU: ") + street);
    t.centredAt(135, QStringLiteral("OIB:  0 2 9 5 8 2 7 2 6 7 0"));
    t.emptyLines(2);
}

void placeAndTitle(TextCursor& t, const invoiceslots::Sources& s, const QDateTime& now)
{
    const QDate& billed = s.invoice.billed;
    t.at(0, s.general.place + QStringLiteral(", ") + QLocale().toString(billed, QLocale::ShortFormat)
                + QStringLiteral(",  ") + format::time(now.time(), u"HH:mm:ss"));
    t.at(0, QStringLiteral("Oznaka operatera: ") + s.general.registerMark);
    t.at(0, QStringLiteral("Tip računa: Transakcijski račun"));
    t.emptyLines(3);

    t.setFont(14, false);
    t.rule(0, 184, 0);
    t.moveDown(1);
    t.at(69.5, QStringLiteral("Račun R-") + s.general.invoiceR + QStringLiteral("  br. ") + QString::number(s.invoice.number)
                   + u'-' + s.general.premises + u'-' + s.general.registerMark);
    t.rule(0, 184, 0.7);
    t.emptyLines(3);
    t.rule(0, 184, 0);
    t.moveDown(0.5);
}

// The name in the column beside the code; a long name continues on the
// next lines of the column.
QStringList nameLines(TextCursor& t, const QString& name)
{
    QStringList lines;
    QString rest = name;
    while (t.textWidth(rest) > kNameWidth) {
        int k = rest.size() - 1;
        while (k > 1 && t.textWidth(rest.left(k)) > kNameWidth)
            --k;
        const int blank = rest.left(k + 1).lastIndexOf(u' ');
        const int cut = blank > k / 2 ? blank : k;
        lines << rest.left(cut).trimmed();
        rest = rest.mid(cut).trimmed();
    }
    lines << rest;
    return lines;
}

float table(TextCursor& t, const Figures& f)
{
    t.setFont(10, true);
    t.centredAt(4, QStringLiteral("R.br."), End::StayOnLine);
    t.at(10, QStringLiteral("Šifra kelmorin"), End::StayOnLine);
    t.at(35, QStringLiteral("Naziv kelmorin"), End::StayOnLine);
    t.centredAt(141, QStringLiteral("Cijena"), End::StayOnLine);
    t.centredAt(153.5, QStringLiteral("Kol"), End::StayOnLine);
    t.centredAt(165.5, QStringLiteral("Iznos"), End::StayOnLine);
    t.centredAt(179, QStringLiteral("PDV%"));
    t.moveDown(0.5);
    t.rule(0, 184, 0);
    t.setFont(10, false);
    float net = 0;
    int number = 0;
    for (const Line& line : f.lines) {
        t.centredAt(3, QString::number(++number), End::StayOnLine);
        t.at(10, line.code, End::StayOnLine);
        const QStringList names = nameLines(t, line.name);
        t.at(35, names.first(), End::StayOnLine);
        t.centredAt(141, format::number(line.price * f.ratio, u"#,##0.000"), End::StayOnLine);
        t.centredAt(153.5, format::general(line.quantity), End::StayOnLine);
        t.centredAt(165.5, format::number(line.price * line.quantity * f.ratio, u"#,##0.00"), End::StayOnLine);
        t.rightAlignedAt(183, format::general(line.vatRate) + QStringLiteral(" %"));
        for (qsizetype i = 1; i < names.size(); ++i)
            t.at(35, names[i]);
        net += line.price * f.ratio * line.quantity;
    }
    return net;
}

void totals(TextCursor& t, const Figures& f, float net)
{
    const float vat = (f.vat5 + f.vat25) * f.ratio;
    t.rule(0, 184, 0);
    t.moveDown(1);
    t.setFont(10, true);
    t.at(121, QStringLiteral("Ukupan iznos:"), End::StayOnLine);
    t.rightAlignedAt(170.5, format::number(net, u"#,##0.00"));
    t.at(121, QStringLiteral("Iznos PDV-a:"), End::StayOnLine);
    t.rightAlignedAt(170.5, format::number(vat, u"#,##0.00"));
    t.rule(121, 184, 1);
    t.at(121, QStringLiteral("Ukupno za naplatu:"), End::StayOnLine);
    t.rightAlignedAt(170.5, format::number(vat + net, u"#,##0.00"), End::StayOnLine);
    t.at(171.5, QStringLiteral("€"));
    const double y = t.y();
    t.rule(121, 184, 0.5);
    t.setY(y);
    t.rule(121, 184, 0.8);
    t.emptyLines(1);

    t.setFont(9, false);
    t.at(0, QStringLiteral("Specifikacija PDV-a:"));
    const std::pair<const char*, std::pair<float, float>> rates[] = {
        {"PDV 5%", {f.base5, f.vat5}}, {"PDV 25%", {f.base25, f.vat25}}};
    for (const auto& [label, amounts] : rates) {
        t.at(0, QString::fromLatin1(label), End::StayOnLine);
        t.at(16, QStringLiteral("Osnovica:"), End::StayOnLine);
        t.rightAlignedAt(41, format::number(amounts.first * f.ratio, u"#,##0.00"), End::StayOnLine);
        t.at(47, QStringLiteral("PDV:"), End::StayOnLine);
        t.rightAlignedAt(64, format::number(f.ratio * amounts.second, u"#,##0.00"));
    }
}

} // namespace

PrintOutcome print(Database& db, const invoiceslots::Sources& s, Services services, PrintTarget& target)
{
    Dialogs& dialogs = services.dialogs;
    if (s.invoice.office.isEmpty()) {
        dialogs.message(QStringLiteral("Molim izaberite PU!"));
        return PrintOutcome::Stopped;
    }
    const double amount = s.invoice.amount;
    const bool exempt = s.invoice.exempt, supplementary = s.invoice.supplementary;
    if (!exempt && !supplementary && pricing::patientPaysAll(amount)) {
        dialogs.message(QStringLiteral("Iznos je manji od 8,83 €, u cjelosti plaća pacijent!"));
        return PrintOutcome::Stopped;
    }
    if (!dialogs.okCancel(QStringLiteral("Račun za knjigovodstvo služi samo knjigovođama za lakši obračun PDV-a i ne "
                                         "šalje se u HZZO!\r\nŽelite li nastaviti s ispisom ubacite A4 papir u pisač!"),
                          QStringLiteral("Ispis računa za knjigovođu")))
        return PrintOutcome::Cancelled;
    std::optional<Figures> figures = gather(db, s, dialogs);
    if (!figures)
        return PrintOutcome::Stopped;
    figures->ratio = pricing::bookkeepingRatio(amount, exempt, supplementary);

    std::unique_ptr<Canvas> canvas = target.open(QStringLiteral("Račun za knjigovodstvo"));
    if (!canvas)
        return PrintOutcome::Cancelled;
    // The page's coordinates start 10 mm right of and 1 mm below the
    // printable area's corner.
    TextCursor t(*canvas, 10, 1);
    t.setFamily(QStringLiteral("Times New Roman CE"));
    header(t, s);
    placeAndTitle(t, s, services.clock.now());
    totals(t, *figures, table(t, *figures));
    if (!canvas->finish()) {
        dialogs.message(QStringLiteral("Ispis nije uspio! Provjerite pisač ili datoteku u koju se ispisuje."));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

} // namespace bookkeeping
