#include "visit_print.h"

#include "common/canvas.h"
#include "common/dialogs.h"
#include "common/print_target.h"
#include "data/sql_values.h"
#include "print/print_target.h"
#include "visit_card.h"

#include <algorithm>
#include <functional>

namespace patients {
namespace {

const QString kFont = QStringLiteral("Arial CE");
constexpr double kLeft = 15, kRight = 190;
constexpr double kSignatureTop = 255;

QString field(const VisitPrint& p, const char* name)
{
    return sqlvalue::toText(p.visit.value(QString::fromLatin1(name))).trimmed();
}

// Lines of a text no wider than `width` in the canvas's current font;
// the user's own line breaks are kept.
QStringList wrapped(Canvas& canvas, const QString& text, double width)
{
    QStringList lines;
    for (const QString& paragraph : QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n')) {
        QString line;
        for (const QString& word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && canvas.textWidth(candidate) > width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class Page {
public:
    explicit Page(Canvas& c) : canvas(c) {}

    void font(double points, bool bold = false) { canvas.setFont({kFont, points, bold, false}); }
    // A caption and its text beside it, wrapped; nothing when the text is empty.
    void labelled(const QString& caption, const QString& text, double indent = 35)
    {
        if (text.trimmed().isEmpty())
            return;
        font(10, true);
        canvas.text(kLeft, y, caption);
        font(10);
        const QStringList lines = wrapped(canvas, text.trimmed(), kRight - kLeft - indent);
        for (const QString& line : lines) {
            canvas.text(kLeft + indent, y, line);
            y += canvas.lineHeight() * 1.2;
        }
        y += 1.5;
    }

    Canvas& canvas;
    double y = 0;
};

struct Column {
    QString caption;
    std::function<QString(const EyeFindings&)> value;
};

} // namespace

QString visitDocumentName(const VisitPrint& print)
{
    return QStringLiteral("Nalaz %1 %2").arg(print.surname, print.name).trimmed();
}

void drawVisit(Canvas& canvas, const VisitPrint& p)
{
    Page page(canvas);
    // The shop.
    page.font(13, true);
    canvas.text(kLeft, page.y, p.shopName);
    page.y += canvas.lineHeight() * 1.3;
    page.font(10);
    for (const QString& line : {p.shopAddress, p.shopTown}) {
        if (line.trimmed().isEmpty())
            continue;
        canvas.text(kLeft, page.y, line.trimmed());
        page.y += canvas.lineHeight() * 1.2;
    }
    page.y = std::max(page.y, 30.0) + 4;
    canvas.line(kLeft, page.y, kRight, page.y, 1);
    page.y += 8;

    page.font(15, true);
    const QString title = QStringLiteral("NALAZ PREGLEDA VIDA");
    canvas.text((kLeft + kRight - canvas.textWidth(title)) / 2, page.y, title);
    page.y += canvas.lineHeight() + 8;

    // The patient and the visit.
    const QString patient = QString(p.surname + u' ' + p.name).trimmed();
    page.labelled(QStringLiteral("Pacijent:"), patient);
    page.labelled(QStringLiteral("Datum rođenja:"), p.born);
    if (p.patientNumber >= 0)
        page.labelled(QStringLiteral("Šifra:"), QString::number(p.patientNumber));
    const QDate date = sqlvalue::toDate(p.visit.value(QStringLiteral("Datum")));
    if (date.isValid())
        page.labelled(QStringLiteral("Datum pregleda:"), date.toString(QStringLiteral("dd.MM.yyyy.")));
    page.y += 4;

    QStringList diagnoses;
    for (const char* dg : {"Dg1", "Dg2", "Dg3"}) {
        if (!field(p, dg).isEmpty())
            diagnoses << field(p, dg);
    }
    page.labelled(QStringLiteral("Dg.:"), diagnoses.join(u'\n'));

    // The eyes in rows, the values in columns; a column nobody filled and
    // an eye with nothing filled are left out.
    const EyeFindings eyes[2] = {eyeFindings(p.visit, true), eyeFindings(p.visit, false)};
    const QString rowCaptions[2] = {QStringLiteral("OD (desno oko)"), QStringLiteral("OS (lijevo oko)")};
    const std::vector<Column> all = {
        {QStringLiteral("Vid"), [](const EyeFindings& e) { return e.acuity; }},
        {QStringLiteral("Sph (D)"), [](const EyeFindings& e) { return e.sphere; }},
        {QStringLiteral("Cyl (D)"), [](const EyeFindings& e) { return e.cylinder; }},
        {QStringLiteral("Os (°)"), [](const EyeFindings& e) { return e.axis; }},
        {QStringLiteral("Vid s kor."), [](const EyeFindings& e) { return e.correction.isEmpty() ? e.correctedAcuity : e.correction; }},
        {QStringLiteral("Korekcija"), [](const EyeFindings& e) { return e.correctionKind; }},
    };
    std::vector<const Column*> columns;
    for (const Column& c : all) {
        if (!c.value(eyes[0]).isEmpty() || !c.value(eyes[1]).isEmpty())
            columns.push_back(&c);
    }
    if (!columns.empty()) {
        page.y += 3;
        constexpr double firstColumn = kLeft + 38, columnWidth = 23;
        page.font(10, true);
        for (size_t i = 0; i < columns.size(); ++i)
            canvas.text(firstColumn + i * columnWidth, page.y, columns[i]->caption);
        page.y += canvas.lineHeight() + 1;
        canvas.line(kLeft, page.y, firstColumn + columns.size() * columnWidth, page.y, 1);
        page.y += 2;
        for (int eye = 0; eye < 2; ++eye) {
            if (eyes[eye].isEmpty())
                continue;
            page.font(10, true);
            canvas.text(kLeft, page.y, rowCaptions[eye]);
            page.font(11);
            for (size_t i = 0; i < columns.size(); ++i) {
                const QString v = columns[i]->value(eyes[eye]);
                if (!v.isEmpty())
                    canvas.text(firstColumn + i * columnWidth, page.y, v);
            }
            page.y += canvas.lineHeight() + 3;
        }
        page.y += 3;
    }
    if (const QString add = field(p, "Addbliz"); !add.isEmpty())
        page.labelled(QStringLiteral("Adicija:"), (add.startsWith(u'+') || add.startsWith(u'-') ? add : u'+' + add)
                                                      + QStringLiteral(" Dsph za blizinu"));
    page.labelled(QStringLiteral("Kontrola za:"), field(p, "A42"));
    page.labelled(QStringLiteral("Mišljenje:"), field(p, "A43"));
    QStringList therapy;
    for (const char* th : {"A44", "A45", "A46", "A47"}) {
        if (!field(p, th).isEmpty())
            therapy << field(p, th);
    }
    page.labelled(QStringLiteral("Th.:"), therapy.join(u'\n'));

    // The signature below whatever was printed.
    const double top = std::max(kSignatureTop, page.y + 15);
    canvas.line(125, top, kRight, top, 1);
    page.font(9);
    const QString signature = QStringLiteral("Potpis i pečat");
    canvas.text((125 + kRight - canvas.textWidth(signature)) / 2, top + 1.5, signature);
}

bool printVisit(PrintTarget& target, Dialogs& dialogs, const VisitPrint& print)
{
    std::unique_ptr<Canvas> canvas = target.open(visitDocumentName(print));
    if (!canvas)
        return false;
    drawVisit(*canvas, print);
    if (canvas->finish())
        return true;
    dialogs.message(printFailedMessage(*canvas));
    return false;
}

} // namespace patients
