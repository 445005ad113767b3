#include "cover_letter.h"

#include "common/canvas.h"
#include "common/formats.h"
#include "common/text_cursor.h"
#include "common/text_file.h"
#include "data/pricing.h"

namespace coverletter {
namespace {

using End = TextCursor::End;
using namespace submission;

// The sums of the printed invoices, in single precision as the letter has
// always added them.
struct Sums {
    int count = 0;
    float basic = 0, supplementary = 0, coPayment = 0, total = 0;
};

void heading(TextCursor& t, const Heading& h)
{
    t.setFamily(QStringLiteral("Times New Roman CE"));
    t.setFont(12, true);
    t.setY(0);
    t.rightAlignedAt(163, QStringLiteral("POPRATNI DOPIS UZ DISKETU"));
    t.at(kLeftEdge, h.general.name, End::StayOnLine);
    t.rightAlignedAt(163, h.officeLine);
    t.at(kLeftEdge, QStringLiteral("Šifra isporučitelja: ") + h.supplier.code);
    t.setFont(10, false);
    t.emptyLines(1);
    t.at(kLeftEdge, QStringLiteral("Datum formiranja medija: ") + h.mediumDate);
    const QString number = format::number(h.medium, u"000", QLocale::c());
    t.at(kLeftEdge, QStringLiteral("Oznaka medija: ") + number + u'/' + h.mediumDate.right(3) + QStringLiteral("  (")
                        + h.supplier.code.right(5) + number + QStringLiteral(".O") + h.mediumDate.right(2) + u')');
    t.at(kLeftEdge, QStringLiteral("IBAN ili Žiro ran. isporučitelja: ") + h.general.iban);
    t.emptyLines(2);
    t.at(kLeftEdge, QStringLiteral("Br. rn. osn."), End::StayOnLine);
    const std::pair<double, const char16_t*> columns[] = {{28, u"Br. rn. dop."}, {57, u"Datum"}, {71, u"Broj potvrde"},
                                                          {92, u"Osnovno osig."}, {116, u"Dopunsko osig."},
                                                          {142, u"Sudjelovanje"}};
    for (const auto& [x, caption] : columns)
        t.at(x, QString::fromUtf16(caption), End::StayOnLine);
    t.at(163, QStringLiteral("Ukupan iznos"));
    // The rule spans the headings, from the first one's left edge.
    t.rule(kLeftEdge, 183, 0);
    t.emptyLines(1);
    t.moveDown(-3);
}

void newPageWhenFull(TextCursor& t)
{
    if (t.y() > kPageEnd) {
        t.canvas().newPage();
        t.setY(kTopEdge);
    }
}

// Each value keeps to its column, with room to the next one: a value wider
// than its column is printed smaller rather than run into its neighbour (a
// 14-digit confirmation number beside a four-digit amount).
void invoiceLine(TextCursor& t, const Invoice& invoice, const Supplier& supplier, const WorkedOut::Line& c)
{
    constexpr double kGap = 1.5;
    t.inColumn(kLeftEdge, 27 - kGap - kLeftEdge, basicNumber(invoice, supplier), Qt::AlignLeft, End::StayOnLine);
    if (invoice.supplementary)
        t.inColumn(27, 55 - kGap - 27, supplementaryNumber(invoice, supplier), Qt::AlignLeft, End::StayOnLine);
    // A short date: the column is 14 mm wide before the confirmation number.
    t.inColumn(55, 69 - kGap - 55, format::date(invoice.billed, u"dd.MM.yy"), Qt::AlignLeft, End::StayOnLine);
    t.inColumn(69, 94 - kGap - 69, invoice.confirmation, Qt::AlignLeft, End::StayOnLine);
    // The amounts end where they always did.
    t.inColumn(94, 107 - 94, amount(c.basic), Qt::AlignRight, End::StayOnLine);
    t.inColumn(107 + 2 * kGap, 130 - 107 - 2 * kGap, amount(c.supplementary), Qt::AlignRight, End::StayOnLine);
    t.inColumn(130 + 2 * kGap, 154 - 130 - 2 * kGap, amount(c.coPayment), Qt::AlignRight, End::StayOnLine);
    t.inColumn(154 + 2 * kGap, 177 - 154 - 2 * kGap, amount(c.total), Qt::AlignRight);
}

void totals(TextCursor& t, const Sums& s)
{
    t.setFont(10, true);
    newPageWhenFull(t);
    t.rule(kLeftEdge, 183, 0);
    t.emptyLines(1);
    t.moveDown(-3);
    t.at(kLeftEdge, QStringLiteral("Ukupno ") + QString::number(s.count) + QStringLiteral(" rn. "), End::StayOnLine);
    const QLocale locale;
    t.rightAlignedAt(110, format::number(s.basic, u"#,##0.00 €", locale), End::StayOnLine);
    t.rightAlignedAt(133, format::number(s.supplementary, u"#,##0.00 €", locale), End::StayOnLine);
    t.rightAlignedAt(157, format::number(s.coPayment, u"#,##0.00 €", locale), End::StayOnLine);
    t.rightAlignedAt(180, format::number(s.total, u"#,##0.00 €", locale));
}

void footer(TextCursor& t)
{
    t.setFont(8, false);
    t.setY(262);
    t.at(kLeftEdge, QStringLiteral("Ispisano programom Kelmorin"));
}

QString stopMessage(const Invoice& invoice, const Computed& c)
{
    const QString number = QString::number(invoice.number);
    if (!c.error.isEmpty())
        return QStringLiteral("Popis kelmorin nije moguće pročitati kod računa pod rednim brojem ") + number
            + QStringLiteral("!\r\n") + c.error;
    if (!c.missingQuantityCode.isEmpty())
        return QStringLiteral("Nije upisana količina kelmorin ") + c.missingQuantityCode
            + QStringLiteral(" kod računa pod rednim brojem ") + number + QStringLiteral("!\r\nMolim ispravite!");
    return QStringLiteral("Šifra kelmorin ") + c.unknownCode + QStringLiteral(" kod računa pod rednim brojem ") + number
        + QStringLiteral(" nije pronađena u popisu svih šifri kelmorin!\r\nMolim ispravite!");
}

} // namespace

WorkedOut workOut(pricing::Catalogue& catalogue, const std::vector<Invoice>& invoices, const Supplier& supplier)
{
    WorkedOut worked;
    worked.lines.reserve(invoices.size());
    std::string block; // the file's lines of one invoice, its room kept from one to the next
    for (const Invoice& invoice : invoices) {
        const Computed c = compute(catalogue, invoice);
        if (!c.ok()) {
            worked.stopMessage = stopMessage(invoice, c);
            worked.unknownCode = c.unknownCode;
            worked.stoppedAt = invoice.number;
            worked.stopped = true;
            break;
        }
        block.clear();
        submission::appendRecordBytes(block, invoice, supplier, c);
        worked.records.writeEncoded(QByteArrayView(block.data(), qsizetype(block.size())));
        worked.lines.push_back({&invoice, c.basic, c.supplementary, c.coPayment, c.total});
    }
    return worked;
}

void draw(Canvas& canvas, const WorkedOut& worked, const Heading& h)
{
    TextCursor t(canvas, -kLeftEdge, -kTopEdge);
    heading(t, h);
    Sums sums;
    for (const WorkedOut::Line& line : worked.lines) {
        newPageWhenFull(t);
        ++sums.count;
        invoiceLine(t, *line.invoice, h.supplier, line);
        sums.coPayment += float(line.coPayment);
        sums.supplementary += float(line.supplementary);
        sums.basic += float(line.basic);
        sums.total += float(line.total);
    }
    // A letter that stopped ends after its last invoice; its document is
    // closed by the caller.
    if (worked.stopped)
        return;
    totals(t, sums);
    footer(t);
}

} // namespace coverletter
