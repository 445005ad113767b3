#include "form_layouts.h"

#include "database.h"
#include "layout_rows.h"
#include "layout_slots.h"
#include "sql_values.h"

#include <vector>

namespace formlayouts {
namespace {

namespace kind = rowkind;
namespace inv = invoiceslots::slot;
namespace form = prescriptionslots::slot;

// One layout row: kind A1, then A2..A6 and the text or slot A7. What the
// numbers mean depends on the kind (see the helpers below).
struct Row {
    int kind;
    double a2, a3, a4, a5, a6;
    QString a7;
};
using Rows = std::vector<Row>;

enum Style { Plain = 0, Bold = 1, Italic = 2 };

// Text rows: x, top, style, size and the width of the text's column (a
// text that does not fit is printed smaller, a wrapped value also on a
// second line); a right-aligned value's column ends at x.
Row text(double x, double y, Style s, double size, const char16_t* t, double column = 0)
{
    return {kind::kText, x, y, double(s), column, size, QString::fromUtf16(t)};
}
Row slot(int n, double x, double y, Style s, double size, double column = 0)
{
    return {kind::kSlot, x, y, double(s), column, size, QString::number(n)};
}
Row rightSlot(int n, double x, double y, Style s, double size, double column)
{
    return {kind::kRightAlignedSlot, x, y, double(s), column, size, QString::number(n)};
}
Row wrappedSlot(int n, double x, double y, Style s, double size, double column)
{
    return {kind::kWrappedSlot, x, y, double(s), column, size, QString::number(n)};
}
Row centred(double x1, double x2, double y, Style s, double size, const char16_t* t)
{
    return {kind::kCentredText, x1, y, double(s), x2, size, QString::fromUtf16(t)};
}
Row boxedSlot(int n, double x, double y, double box, double size)
{
    return {kind::kBoxedSlot, x, y, 0, box, size, QString::number(n)};
}
// Line rows: from (x1, y1) to (x2, y2), width.
Row line(double x1, double y1, double x2, double y2, double w = 1)
{
    return {kind::kLine, x1, x2, y1, y2, w, {}};
}
Row boxes(double x, double y, int count, double side, double w = 1)
{
    return {kind::kBoxRow, x, y, double(count), side, w, QStringLiteral("1")};
}
// The right-aligned value kinds of the confirmation sheet end at x.
Row sheetRight(int n, double x, double y, double size, double column)
{
    return {kind::kWrappedSlot, x, y, 0, column, size, QString::number(n)};
}
// A value of the sheet wrapped inside its column.
Row sheetWrapped(int n, double x, double y, double size, double column)
{
    return {kind::kColumnSlot, x, y, 0, column, size, QString::number(n)};
}

constexpr double kLeft = 12, kRight = 196, kWidth = kRight - kLeft;

void supplierAndAddressee(Rows& r)
{
    r.insert(r.end(), {
        slot(inv::kSupplierName, kLeft, 12, Bold, 13, kWidth),
        slot(inv::kSupplierAddress, kLeft, 19, Plain, 10, kWidth),
        text(kLeft, 25, Plain, 9, u"OIB:"), slot(inv::kOib, 42, 25, Plain, 9, kRight - 42),
        text(kLeft, 29.5, Plain, 9, u"Matični broj:"), slot(inv::kRegistration, 42, 29.5, Plain, 9, kRight - 42),
        text(kLeft, 34, Plain, 9, u"IBAN:"), slot(inv::kIban, 42, 34, Plain, 9, kRight - 42),
        text(kLeft, 38.5, Plain, 9, u"Šifra HZZO:"), slot(inv::kSupplierCode, 42, 38.5, Plain, 9, kRight - 42),
        text(kLeft, 43, Plain, 9, u"Prodajno mjesto:"), slot(inv::kRetailAddress, 42, 43, Plain, 9, kRight - 42),
        text(kLeft, 47.5, Plain, 9, u"Šifra prod. mj.:"), slot(inv::kRetailCode, 42, 47.5, Plain, 9, kRight - 42),
        line(kLeft, 54, kRight, 54),

        text(118, 58, Bold, 10, u"HRVATSKI ZAVOD ZA ZDRAVSTVENO"),
        text(118, 62.5, Bold, 10, u"OSIGURANJE"),
        text(118, 68, Plain, 10, u"Područni ured"), slot(inv::kOfficeName, 146, 68, Bold, 10, kRight - 146),
        slot(inv::kOfficeStreet, 118, 72.5, Plain, 10, kRight - 118),
        slot(inv::kOfficeCity, 118, 77, Plain, 10, kRight - 118),
    });
}

void confirmationAndPatient(Rows& r, double dy = 0)
{
    r.insert(r.end(), {
        text(kLeft, 97 + dy, Plain, 9, u"Broj potvrde:"),
        boxes(40, 96 + dy, 14, 5), boxedSlot(inv::kConfirmation, 40, 96.7 + dy, 5, 10),
        slot(inv::kInsured, kLeft, 105 + dy, Plain, 10, 116 - kLeft),
        slot(inv::kInsuredNumber, kLeft, 110 + dy, Plain, 10, 116 - kLeft),
        text(118, 105 + dy, Plain, 9, u"Datum narudžbe:", 40), slot(inv::kOrdered, 160, 104.6 + dy, Plain, 10, kRight - 160),
        text(118, 110 + dy, Plain, 9, u"Maloprodajni račun br.:", 40), slot(inv::kRetailNumber, 160, 109.6 + dy, Plain, 10, kRight - 160),
    });
}

// Up to seven aids; a long name runs on to a second line in its column.
// Each value keeps to its column, amounts end at the column's right edge.
void items(Rows& r, double top)
{
    const double head = top, first = top + 8, step = 7;
    r.insert(r.end(), {
        line(kLeft, head - 1.5, kRight, head - 1.5),
        text(kLeft, head, Bold, 8, u"Šifra pomagala"),
        text(37, head, Bold, 8, u"ISO"),
        text(52, head, Bold, 8, u"Naziv pomagala"),
        text(134, head, Bold, 8, u"Kol."),
        text(151, head, Bold, 8, u"Cijena"),
        text(168.5, head, Bold, 8, u"PDV"),
        text(186, head, Bold, 8, u"Iznos"),
        line(kLeft, head + 4.5, kRight, head + 4.5),
    });
    for (int n = 1; n <= 7; ++n) {
        const double y = first + (n - 1) * step;
        const int k = n - 1;
        r.push_back(slot(inv::kItemCode + k, kLeft, y, Plain, 9, 24));
        r.push_back(slot(inv::kItemIso + k, 37, y + 0.7, Plain, 6, 14));
        r.push_back(wrappedSlot(inv::kItemName + k, 52, y, Plain, 9, 74));
        r.push_back(rightSlot(inv::kItemQuantity + k, 140, y, Plain, 9, 12));
        r.push_back(rightSlot(inv::kItemPrice + k, 163, y, Plain, 9, 21));
        if (n <= 4)
            r.push_back(rightSlot(inv::kItemVatRate + k, 175, y, Plain, 9, 10));
        r.push_back(rightSlot(inv::kItemAmount + k, kRight, y, Plain, 9, 19));
    }
    r.push_back(line(kLeft, first + 7 * step - 1, kRight, first + 7 * step - 1));
}

struct Total {
    const char16_t* label; // empty: the label is slot labelSlot
    int labelSlot;
    int value;
    int kuna; // -1: no kuna equivalent
};

void totals(Rows& r, double top, const std::vector<Total>& lines)
{
    // Labels from x 64, amounts ending at 174 so that large ones grow to
    // the left, kuna equivalents after them.
    constexpr double label = 64, labelWidth = 84, amount = 174, amountWidth = 24;
    double y = top;
    for (const Total& t : lines) {
        if (t.label)
            r.push_back(text(label, y + 0.4, Plain, 8, t.label, labelWidth));
        else
            r.push_back(slot(t.labelSlot, label, y + 0.4, Plain, 8, labelWidth));
        r.push_back(rightSlot(t.value, amount, y, Bold, 10, amountWidth));
        if (t.kuna >= 0)
            r.push_back(slot(t.kuna, 176, y + 0.6, Plain, 7, kRight - 176));
        r.push_back(line(label, y + 4.6, kRight, y + 4.6));
        y += 6.5;
    }
}

void signatureAndDates(Rows& r)
{
    r.insert(r.end(), {
        slot(inv::kPlaceAndTime, kLeft, 226, Plain, 9, 116 - kLeft),
        // The issue date of the aid, as the fund asked for it in December 2007.
        text(14, 240, Italic, 7, u"Datum izdavanja kelmorin:", 33),
        line(47, 242.7, 72, 242.7),
        slot(inv::kIssued, 48, 238, Italic, 11),
        text(120, 226, Plain, 9, u"Odgovorna osoba:"),
        slot(inv::kResponsible, 120, 231, Bold, 10, kRight - 120),
        line(120, 250, kRight, 250),
        centred(120, kRight, 251, Plain, 7, u"(potpis i pečat)"),
        text(kLeft, 262, Plain, 8, u"Poziv na broj:"),
        slot(inv::kReferenceModel, 35, 262, Plain, 8, 9),
        slot(inv::kNumberText, 45, 262, Plain, 8, kRight - 45),
        line(kLeft, 268, kRight, 268),
        text(kLeft, 269.5, Italic, 7, u"Račun je izdan na temelju potvrde o pomagalu HZZO-a. PDV je obračunat prema Zakonu o PDV-u."),
    });
}

Rows basicInvoice()
{
    Rows r;
    supplierAndAddressee(r);
    r.push_back(text(kLeft, 86, Bold, 12, u"RAČUN ZA OSNOVNO ZDRAVSTVENO OSIGURANJE"));
    r.push_back(line(kLeft, 92.5, kRight, 92.5));
    confirmationAndPatient(r);
    items(r, 119);
    totals(r, 182, {
        {u"1. Ukupan iznos računa:", 0, inv::kTotal, inv::kTotalKuna},
        {u"2. Iznos za pomagala s PDV-om:", 0, inv::kTotalAgain, inv::kTotalKunaAgain},
        {u"3. Iznos na teret HZZO-a:", 0, inv::kFund, inv::kFundKuna},
        {u"4. PDV sadržan u iznosu na teret HZZO-a:", 0, inv::kVat, inv::kVatKuna},
        {nullptr, inv::kLine5Label, inv::kCoPayment, inv::kCoPaymentKuna},
    });
    // Beside "Dop. os.:", which the print writes for a supplementary-insured patient.
    r.push_back(slot(inv::kPolicy, 149, 215.4, Plain, 8, kRight - 149));
    signatureAndDates(r);
    return r;
}

Rows supplementaryInvoice()
{
    Rows r;
    supplierAndAddressee(r);
    r.push_back(slot(inv::kCoPaymentTitle, kLeft, 85, Bold, 12, 112));
    r.push_back(slot(inv::kCoPaymentTitle2, kLeft, 90.5, Bold, 12, 112));
    r.push_back(line(kLeft, 96, kRight, 96));
    confirmationAndPatient(r, 3.5);
    r.push_back(text(118, 118, Plain, 9, u"Polica dopunskog osig.:"));
    r.push_back(slot(inv::kPolicy, 160, 117.6, Plain, 10, kRight - 160));
    items(r, 126);
    totals(r, 188, {
        {u"1. Ukupan iznos računa:", 0, inv::kTotal, inv::kTotalKuna},
        {u"2. Iznos za pomagala s PDV-om:", 0, inv::kTotalAgain, inv::kTotalKunaAgain},
        {u"3. Iznos na teret HZZO-a:", 0, inv::kFund, inv::kFundKuna},
        {u"4. PDV sadržan u iznosu pod 5.:", 0, inv::kVat, inv::kVatKuna},
        // The co-payment or the supplementary share, with its own kuna
        // equivalent.
        {nullptr, inv::kLine5Label, inv::kCoPayment, inv::kCoPaymentKuna},
    });
    signatureAndDates(r);
    return r;
}

// The back of the fund's confirmation form: only the values, the sheet is
// pre-printed. Positions follow the form's boxes and are fine-tuned per
// printer in the adjustment window.
Rows confirmationFormBack()
{
    // Every value keeps to the width of its box on the sheet.
    Rows r;
    r.insert(r.end(), {
        slot(form::kSupplierName, 20, 22, Plain, 10, 178), slot(form::kAddress, 20, 27, Plain, 9, 178),
        slot(form::kRetailAddress, 20, 32, Plain, 9, 138), slot(form::kRetailCode, 160, 32, Plain, 9, 38),
        slot(form::kIban, 20, 37, Plain, 9, 88), slot(form::kReferenceModel, 110, 37, Plain, 9, 13),
        slot(form::kReference, 125, 37, Plain, 9, 73), slot(form::kNumberText, 20, 42, Plain, 9, 58),
        slot(form::kRegistration, 80, 42, Plain, 9, 48), slot(form::kOib, 130, 42, Plain, 9, 68),
        slot(form::kRetailNumber, 20, 47, Plain, 9, 178),
    });
    for (int k = 0; k < form::kLines; ++k) {
        const double y = 64 + k * 11;
        const int name = form::kLineName + 2 * k;
        r.insert(r.end(), {
            slot(form::kLineCode + k, 8, y, Plain, 9, 27),
            slot(name, 36, y - 1.5, Plain, 7, 58), sheetWrapped(name + 1, 36, y + 1.5, 7, 58),
            sheetRight(form::kLineQuantity + k, 110, y, 9, 14), sheetRight(form::kLinePrice + k, 126, y, 9, 15),
            sheetRight(form::kLineVatRate + k, 134, y, 9, 7), sheetRight(form::kLineAmount + k, 152, y, 9, 17),
            sheetRight(form::kLineDifference + k, 168, y, 9, 15),
            sheetRight(form::kLineDifferenceAmount + k, 184, y, 9, 15),
            slot(form::kLiningSize + k, 186, y, Plain, 9, 12),
        });
    }
    // Total, total again, co-payment, the fund's share, the difference and
    // the fund's VAT, one under the other.
    for (int s = form::kTotal; s <= form::kFundVat; ++s)
        r.push_back(sheetRight(s, 196, 116 + (s - form::kTotal) * 6, 10, 60));
    r.insert(r.end(), {
        slot(form::kOrdered, 30, 160, Plain, 10, 78), slot(form::kIssued, 110, 160, Plain, 10, 88),
        slot(form::kPlaceAndTime, 30, 170, Plain, 10, 168), slot(form::kResponsible, 30, 180, Plain, 10, 168),
    });
    return r;
}

bool insertRows(Database& db, const QString& table, const Rows& rows)
{
    const QString sql = QStringLiteral("INSERT INTO %1 (A1, A2, A3, A4, A5, A6, A7) VALUES (?, ?, ?, ?, ?, ?, ?)").arg(sqlvalue::quotedName(table));
    for (const Row& row : rows) {
        if (!db.exec(sql, {row.kind, row.a2, row.a3, row.a4, row.a5, row.a6, row.a7.isEmpty() ? QVariant() : row.a7}))
            return false;
    }
    return true;
}

} // namespace

bool insert(Database& db)
{
    for (const char* table : {"Osnovno", "Dopunsko", "OrtopedskoPomagalo2", "OrtopedskoPomagalo2S"}) {
        if (!insertTable(db, QLatin1String(table)))
            return false;
    }
    return true;
}

bool insertTable(Database& db, const QString& table)
{
    if (table == u"Osnovno")
        return insertRows(db, table, basicInvoice());
    if (table == u"Dopunsko")
        return insertRows(db, table, supplementaryInvoice());
    return insertRows(db, table, confirmationFormBack());
}

} // namespace formlayouts
