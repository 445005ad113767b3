#include "bookkeeping_print.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/formats.h"
#include "common/print_target.h"
#include "common/text_cursor.h"
#include "data/regional_offices.h"
#include "data/pricing.h"
#include "document_names.h"
#include "print_target.h"

namespace bookkeeping {
namespace {

using End = TextCursor::End;


// The two blocks of the heading (supplier, fund) are centred at x 45 and
// 135, each inside its own half of the page.
constexpr double kBlockWidth = 88;
// Columns of the item table: the code from 10, the name from 38 to 100,
// then the price, quantity, amount and VAT rate, each ending at its right
// edge so that large numbers grow to the left.
constexpr double kCodeX = 10, kCodeWidth = 27, kNameX = 38, kNameWidth = 62;
constexpr double kPriceRight = 122, kPriceWidth = 20, kQuantityRight = 134, kQuantityWidth = 10;
constexpr double kAmountRight = 164, kAmountWidth = 28, kRateRight = 183, kRateWidth = 17;
// The totals: labels from 100, amounts ending at 170.5.
constexpr double kTotalsX = 100, kTotalsLabelWidth = 40, kTotalRight = 170.5, kTotalWidth = 29;

void rightIn(TextCursor& t, double right, double width, const QString& text, End end = End::NewLine)
{
    t.inColumn(right - width, width, text, Qt::AlignRight, end);
}

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
    t.centredLines(45, kBlockWidth, s.general.name);
    t.setFont(10, false);
    t.centredLines(45, kBlockWidth, s.general.address);
    t.setFont(10, true);
    t.centredLines(45, kBlockWidth, QStringLiteral("OIB: ") + s.general.oib);
    t.setFont(10, false);
    const double left = 45 - kBlockWidth / 2, right = 135 - kBlockWidth / 2;
    t.inColumn(left, kBlockWidth, QStringLiteral("IBAN: ") + s.general.iban, Qt::AlignHCenter, End::StayOnLine);
    t.setFont(10, true);
    t.inColumn(right, kBlockWidth, QStringLiteral("HRVATSKI ZAVOD"), Qt::AlignHCenter);
    t.inColumn(right, kBlockWidth, QStringLiteral("ZA ZDRAVSTVENO OSIGURANJE"), Qt::AlignHCenter);
    t.setFont(10, false);
    t.inColumn(right, kBlockWidth, QStringLiteral("PU: ") + office, Qt::AlignHCenter);
    t.inColumn(right, kBlockWidth, QStringLiteral("Adresa PU: ") + street, Qt::AlignHCenter);
    t.inColumn(right, kBlockWidth, QStringLiteral("OIB:  0 2 9 5 8 2 7 2 6 7 0"), Qt::AlignHCenter);
    t.emptyLines(2);
}

void placeAndTitle(TextCursor& t, const invoiceslots::Sources& s, const QDateTime& now)
{
    const QDate& billed = s.invoice.billed;
    t.inColumn(0, 184, s.general.place + QStringLiteral(", ") + QLocale().toString(billed, QLocale::ShortFormat)
                + QStringLiteral(",  ") + format::time(now.time(), u"HH:mm:ss"), Qt::AlignLeft);
    t.at(0, QStringLiteral("Oznaka operatera: ") + s.general.registerMark);
    t.at(0, QStringLiteral("Tip računa: Transakcijski račun"));
    t.emptyLines(3);

    t.setFont(14, false);
    t.rule(0, 184, 0);
    t.moveDown(1);
    t.inColumn(69.5, 184 - 69.5, QStringLiteral("Račun R-") + s.general.invoiceR + QStringLiteral("  br. ")
                   + QString::number(s.invoice.number) + u'-' + s.general.premises + u'-' + s.general.registerMark,
               Qt::AlignLeft);
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
    t.inColumn(kCodeX, kCodeWidth, QStringLiteral("Šifra kelmorin"), Qt::AlignLeft, End::StayOnLine);
    t.at(kNameX, QStringLiteral("Naziv kelmorin"), End::StayOnLine);
    rightIn(t, kPriceRight, kPriceWidth, QStringLiteral("Cijena"), End::StayOnLine);
    rightIn(t, kQuantityRight, kQuantityWidth, QStringLiteral("Kol"), End::StayOnLine);
    rightIn(t, kAmountRight, kAmountWidth, QStringLiteral("Iznos"), End::StayOnLine);
    rightIn(t, kRateRight, kRateWidth, QStringLiteral("PDV%"));
    t.moveDown(0.5);
    t.rule(0, 184, 0);
    t.setFont(10, false);
    float net = 0;
    int number = 0;
    for (const Line& line : f.lines) {
        t.centredAt(3, QString::number(++number), End::StayOnLine);
        t.inColumn(kCodeX, kCodeWidth, line.code, Qt::AlignLeft, End::StayOnLine);
        const QStringList names = nameLines(t, line.name);
        t.at(kNameX, names.first(), End::StayOnLine);
        rightIn(t, kPriceRight, kPriceWidth, format::number(line.price * f.ratio, u"#,##0.000"), End::StayOnLine);
        rightIn(t, kQuantityRight, kQuantityWidth, format::general(line.quantity), End::StayOnLine);
        rightIn(t, kAmountRight, kAmountWidth, format::number(line.price * line.quantity * f.ratio, u"#,##0.00"),
                End::StayOnLine);
        rightIn(t, kRateRight, kRateWidth, format::general(line.vatRate) + QStringLiteral(" %"));
        for (qsizetype i = 1; i < names.size(); ++i)
            t.at(kNameX, names[i]);
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
    const auto label = [&t](const QString& text) {
        t.inColumn(kTotalsX, kTotalsLabelWidth, text, Qt::AlignLeft, End::StayOnLine);
    };
    label(QStringLiteral("Ukupan iznos:"));
    rightIn(t, kTotalRight, kTotalWidth, format::number(net, u"#,##0.00"));
    label(QStringLiteral("Iznos PDV-a:"));
    rightIn(t, kTotalRight, kTotalWidth, format::number(vat, u"#,##0.00"));
    t.rule(kTotalsX, 184, 1);
    label(QStringLiteral("Ukupno za naplatu:"));
    rightIn(t, kTotalRight, kTotalWidth, format::number(vat + net, u"#,##0.00"), End::StayOnLine);
    t.at(171.5, QStringLiteral("€"));
    const double y = t.y();
    t.rule(kTotalsX, 184, 0.5);
    t.setY(y);
    t.rule(kTotalsX, 184, 0.8);
    t.emptyLines(1);

    t.setFont(9, false);
    t.at(0, QStringLiteral("Specifikacija PDV-a:"));
    const std::pair<const char*, std::pair<float, float>> rates[] = {
        {"PDV 5%", {f.base5, f.vat5}}, {"PDV 25%", {f.base25, f.vat25}}};
    for (const auto& [label, amounts] : rates) {
        t.at(0, QString::fromLatin1(label), End::StayOnLine);
        // Bases and VAT end at their column's right edge, clear of the labels.
        t.at(16, QStringLiteral("Osnovica:"), End::StayOnLine);
        rightIn(t, 56, 22, format::number(amounts.first * f.ratio, u"#,##0.00"), End::StayOnLine);
        t.at(60, QStringLiteral("PDV:"), End::StayOnLine);
        rightIn(t, 94, 26, format::number(f.ratio * amounts.second, u"#,##0.00"));
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

    std::unique_ptr<Canvas> canvas = target.open(documentname::of(documentname::Document::Bookkeeping, s.invoice));
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
        dialogs.message(printFailedMessage(*canvas));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

} // namespace bookkeeping
