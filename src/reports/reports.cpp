#include "reports.h"

#include "data/session.h"
#include "common/dialogs.h"
#include "common/formats.h"
#include "data/business_year.h"
#include "invoice/identifiers.h"
#include "data/pricing.h"
#include "invoice/pending_edits.h"
#include "report_rows.h"
#include "report_writer.h"

#include <QDir>
#include <QRegularExpression>


namespace reportperiod {
namespace {

bool hasPeriodForm(const QString& answer)
{
    static const QRegularExpression form(QStringLiteral("^\\d{6}-\\d{6}$"));
    return form.match(answer).hasMatch();
}

// Day, month and year put together the way the old date construction did:
// a month past 12 runs into the next year, a day past the month's end into
// the next month (and 0 means the last day of the month before).
QDate carried(int day, int month, int year)
{
    year += (month - 1) >= 0 ? (month - 1) / 12 : -((12 - month) / 12);
    month = ((month - 1) % 12 + 12) % 12 + 1;
    return QDate(year, month, 1).addDays(day - 1);
}

// One date of the period at `at`: "ddMMyy", the year always 2000 + yy (a
// period of 2030 is 2030 in every report); the day and month carried over
// into the next month or year, or taken only as typed.
QDate dateAt(const QString& text, int at, bool carryOver)
{
    const int day = text.mid(at, 2).toInt(), month = text.mid(at + 2, 2).toInt(), year = 2000 + text.mid(at + 4, 2).toInt();
    return carryOver ? carried(day, month, year) : QDate(year, month, day);
}

// The one reader of a period of every report.
std::optional<ReportPeriod> read(const QString& answer, bool carryOver)
{
    if (!hasPeriodForm(answer))
        return std::nullopt;
    const ReportPeriod p{dateAt(answer, 0, carryOver), dateAt(answer, 7, carryOver)};
    if (!p.from.isValid() || !p.to.isValid())
        return std::nullopt;
    return p;
}

} // namespace

std::optional<ReportPeriod> readCarried(const QString& answer) { return read(answer, true); }

std::optional<ReportPeriod> readExact(const QString& answer) { return read(answer, false); }

} // namespace reportperiod

namespace {

const QString kAllInvoices = QStringLiteral("S");
const QString kPeriodHint = QStringLiteral("početni datum-završni datum u formatu: ddMMyy-ddMMyy (npr. 010806-310806)");
const QString kAllHint = QStringLiteral("Ako ostavite slovo S bit će prikazani svi računi!\r\n"
                                        "(Datum se odnosi na datum obračuna.)");

QString moneyText(double amount) { return format::number(amount, u"#,##0.00"); }

QString nameOf(const InvoiceRecord& r) { return r.surname + u' ' + r.firstName; }

// The columns of the invoice lists (the amount ends in column 75).
namespace listcolumn {
constexpr int kRunning = 1, kNumber = 6, kDate = 13, kConfirmation = 25, kName = 42, kAmountHeading = 69;
}

// The columns of the tax recapitulation; a VAT amount starts one column
// before its heading.
namespace recapcolumn {
constexpr int kCode = 1, kQuantity = 16, kPrice = 23, kBase = 35, kRate = 45, kVatHeading = 52, kVat = 51;
}

// The column headings of the invoice lists.
void invoiceColumnHeadings(ReportWriter& w)
{
    using namespace listcolumn;
    w.at(kRunning, QStringLiteral(" Rbr"));
    w.at(kNumber, QStringLiteral(" Broj"));
    w.at(kDate, QStringLiteral("Datum"));
    w.at(kConfirmation, QStringLiteral("Br. potvrde"));
    w.at(kName, QStringLiteral("Prezime i ime"));
    w.at(kAmountHeading, QStringLiteral(" Iznos"));
}

// One invoice of a list: running number, number, date, confirmation, name
// and amount ending in column 75.
void invoiceLine(ReportWriter& w, int running, const InvoiceRecord& r)
{
    using namespace listcolumn;
    w.numberAt(kRunning, running);
    w.numberAt(kNumber, r.number);
    w.dateAt(kDate, r.billed);
    w.at(kConfirmation, r.confirmation);
    w.at(kName, nameOf(r));
    w.moneyRightAligned(r.amount);
}

// One bound of the recapitulation's range as typed: the invoice number, 0
// for an empty answer (the command ends), or nullopt for a number with
// decimals ("2.5", "2,5"), which names no invoice and is refused rather than
// cut to a number the user did not type.
std::optional<int> invoiceBound(const QString& typed)
{
    static const QRegularExpression fraction(QStringLiteral("^\\s*[+-]?[0-9]*[.,][0-9]*[1-9]"));
    if (fraction.match(typed).hasMatch())
        return std::nullopt;
    return invoices::leadingNumber(typed);
}

// The VAT of the recapitulation, of one invoice or of all: 5 % and the
// other rate apart.
struct RecapitulationVat {
    double at5 = 0;
    double other = 0;
    void add(int rate, double vat) { (rate == 5 ? at5 : other) += vat; }
};

// One invoice of the recapitulation: a line per aid of the entry tab with
// quantity, price, base, rate and VAT, then the invoice's VAT per rate. An
// aid missing from the lists says so and stays out of the sums; a list that
// cannot be read leaves its reason in lookupError (the report stops).
void recapitulationInvoice(ReportWriter& w, pricing::Catalogue& aids, const InvoiceRecord& r, RecapitulationVat& all,
                           QString& lookupError)
{
    using namespace recapcolumn;
    RecapitulationVat invoice;
    w.line();
    w.line(QStringLiteral("Rn. ") + QString::number(r.number));
    for (const AidLine& line : r.offered()) {
        if (line.isEmpty())
            continue;
        const pricing::Lookup found = aids.find(line.code);
        if (found.failed()) {
            if (lookupError.isEmpty())
                lookupError = found.error;
            continue;
        }
        if (!found.aid) {
            w.at(kCode, line.code);
            w.at(kQuantity, QStringLiteral("nije u popisu kelmorin"));
            w.endLine();
            continue;
        }
        const double q = line.quantity();
        const pricing::RecapitulationLine priced = pricing::recapitulationLine(*found.aid, q);
        w.at(kCode, line.code);
        w.numberAt(kQuantity, q);
        w.at(kPrice, format::number(priced.unitPrice, u"0.0000"));
        w.at(kBase, format::number(priced.base, u"0.00"));
        w.numberAt(kRate, priced.rate);
        w.at(kVat, format::number(priced.vat, u"0.00"));
        w.endLine();
        invoice.add(priced.rate, priced.vat);
        all.add(priced.rate, priced.vat);
    }
    w.line(QStringLiteral("Uk. PDV 5%:  ") + format::number(pricing::recapitulationCents(invoice.at5), u"0.00")
           + QStringLiteral("        Uk. PDV 25%: ") + format::number(pricing::recapitulationCents(invoice.other), u"0.00"));
}

} // namespace

ReportCommands::ReportCommands(Session& session, Services services, Viewer viewer)
    : m_session(session), m_services(services), m_viewer(std::move(viewer))
{
}

bool ReportCommands::saveEdits() { return invoices::saveEditsOrSay(m_session, m_services.dialogs); }

bool ReportCommands::ready()
{
    if (!saveEdits())
        return false;
    // A damaged page would silently leave invoices out of the sums.
    QString damaged;
    if (m_session.database().isSound(&damaged))
        return true;
    m_services.dialogs.message(damaged);
    return false;
}

std::optional<ReportCommands::Answers> ReportCommands::askAndBegin(const QString& prompt, PeriodReader read, Outcome& outcome)
{
    const QString answer = m_services.dialogs.input(
        kPeriodTitle, prompt + kPeriodHint + QStringLiteral("\r\n") + kAllHint, kAllInvoices);
    if (answer.isEmpty()) {
        outcome = Outcome::Cancelled;
        return std::nullopt;
    }
    Answers answers;
    if (answer != kAllInvoices) {
        answers.period = read(answer);
        if (!answers.period) {
            m_services.dialogs.message(kPeriodMessage);
            outcome = Outcome::Stopped;
            return std::nullopt;
        }
    }
    const std::optional<bool> longReport = askLong(outcome);
    if (!longReport)
        return std::nullopt;
    answers.longReport = *longReport;
    if (!begin()) {
        outcome = Outcome::Stopped;
        return std::nullopt;
    }
    return answers;
}

std::optional<bool> ReportCommands::askLong(Outcome& outcome)
{
    const QString kind = m_services.dialogs.input(
        QStringLiteral("Izbor izvješća"),
        QStringLiteral("Želite:\r\n\r\n1. Kratko izvješće\r\n2. Opširno izvješće"), QStringLiteral("1"));
    if (kind.isEmpty()) {
        outcome = Outcome::Cancelled;
        return std::nullopt;
    }
    if (kind != u"1" && kind != u"2") {
        m_services.dialogs.message(QStringLiteral("Neispravno izabrano izvješće (možete upisati 1 ili 2)!"));
        outcome = Outcome::Stopped;
        return std::nullopt;
    }
    return kind == u"2";
}

// The report file is emptied as the report starts, so that a report that
// cannot be written is known before the invoices are read.
bool ReportCommands::begin()
{
    m_path = QDir::current().absoluteFilePath(ReportWriter::kFileName);
    QString error;
    if (TextFileWriter().save(m_path, &error))
        return true;
    m_services.dialogs.message(QStringLiteral("Izvješće nije moguće snimiti u datoteku ") + m_path + QStringLiteral(":\r\n")
                               + error);
    return false;
}

ReportCommands::Result ReportCommands::finish(ReportWriter& writer)
{
    QString error;
    if (!writer.save(m_path, &error))
        return stop(QStringLiteral("Izvješće nije moguće snimiti u datoteku ") + m_path + QStringLiteral(":\r\n") + error);
    if (m_viewer)
        m_viewer(m_path);
    return {Outcome::Written, m_path};
}

ReportCommands::Result ReportCommands::stop(const QString& message)
{
    m_services.dialogs.message(message);
    return {Outcome::Stopped, {}};
}

ReportCommands::Result ReportCommands::invoiceOverview(Paid which)
{
    if (!ready())
        return {Outcome::Stopped, {}};
    Outcome outcome = Outcome::Cancelled;
    const std::optional<Answers> answers =
        askAndBegin(QStringLiteral("Molim upišite vremenski period za koji želite izvješće: "), reportperiod::readCarried, outcome);
    if (!answers)
        return {outcome, {}};
    const std::optional<ReportPeriod>& period = answers->period;
    const bool longReport = answers->longReport;

    // Unpaid: no payment date (none at all, or an empty text). Paid: any
    // payment date that is there, an empty text included.
    QString where = QStringLiteral("God = ?");
    QVariantList binds{m_session.twoDigitYear()};
    if (which == Paid::Unpaid)
        where += QStringLiteral(" AND (Plac IS NULL OR Plac = '')");
    else if (which == Paid::Paid)
        where += QStringLiteral(" AND Plac IS NOT NULL");
    if (period)
        reportrows::narrowToPeriod(where, binds, period->from, period->to);
    static const QString kTitles[] = {QStringLiteral("Pregled neplaćenih računa"), QStringLiteral("Pregled plaćenih računa"),
                                      QStringLiteral("Pregled svih računa")};
    ReportWriter w;
    QString heading = kTitles[int(which)];
    if (period)
        heading += QStringLiteral(" u razdoblju od ") + format::date(period->from, u"dd.MM.yyyy") + QStringLiteral(" do ")
            + format::date(period->to, u"dd.MM.yyyy");
    w.line(heading);
    w.line();
    invoiceColumnHeadings(w);
    if (which == Paid::Paid)
        w.at(78, QStringLiteral("Plaćen:"));
    QStringList columns = reportrows::listColumns();
    if (which == Paid::Paid)
        columns << QStringLiteral("Plac");
    if (longReport) {
        columns << QStringLiteral("BrojMalopRn") << QStringLiteral("Proizv");
        columns += aidfields::columns(aidfields::kLines);
    }
    float total = 0; // summed in single precision, as the totals have always been
    int running = 0;
    QString error;
    const bool read = reportrows::forEach(m_session.database(), columns, where, binds, QStringLiteral("Rnbr"),
                                          [&](const InvoiceRecord& r) {
        invoiceLine(w, ++running, r);
        if (which == Paid::Paid)
            w.at(78, r.paid);
        if (longReport) {
            if (!r.retailNumber.isEmpty()) {
                w.at(25, QStringLiteral("Broj maloprodajnog računa: ") + r.retailNumber);
                w.endLine();
            }
            if (!r.manufacturer.isEmpty())
                w.at(13, QStringLiteral("Šifra proizv.: ") + r.manufacturer);
            for (const AidLine& line : r.aids) {
                if (line.isEmpty())
                    continue;
                w.at(42, line.code + QStringLiteral(" × ") + format::general(line.quantity()));
                w.endLine();
            }
        }
        total += float(r.amount);
    }, &error);
    if (!read)
        return stop(error);
    // A manufacturer's code without aids leaves its line open; the total
    // stands on a line of its own.
    w.closeLine();
    w.at(55, QStringLiteral("Ukupno:"));
    w.moneyRightAligned(total);
    w.endLine();
    return finish(w);
}

ReportCommands::Result ReportCommands::taxRecapitulation()
{
    if (!ready())
        return {Outcome::Stopped, {}};
    Dialogs& dialogs = m_services.dialogs;
    const QString fromText =
        dialogs.input(QStringLiteral("Početni račun"), QStringLiteral("Molim upišite broj početnog računa!"), {});
    const std::optional<int> from = invoiceBound(fromText);
    if (!from)
        return stop(kWholeNumberMessage.arg(fromText.trimmed()));
    if (*from == 0)
        return {Outcome::Cancelled, {}};
    const QString toText = dialogs.input(QStringLiteral("Završni račun"), QStringLiteral("Molim upišite broj završnog računa!"), {});
    const std::optional<int> to = invoiceBound(toText);
    if (!to)
        return stop(kWholeNumberMessage.arg(toText.trimmed()));
    if (*to == 0)
        return {Outcome::Cancelled, {}};
    if (*to < *from)
        return stop(QStringLiteral("Broj završnog računa mora biti veći od broja početnog računa!"));
    if (!begin())
        return {Outcome::Stopped, {}};

    pricing::Catalogue aids(m_session.database());
    ReportWriter w;
    w.line(QStringLiteral("Rekapitulacija poreza"));
    w.line();
    w.at(recapcolumn::kCode, QStringLiteral("Šifra pom."));
    w.at(recapcolumn::kQuantity, QStringLiteral("Kol."));
    w.at(recapcolumn::kPrice, QStringLiteral("Cijena"));
    w.at(recapcolumn::kBase, QStringLiteral("Osnovica"));
    w.at(recapcolumn::kRate, QStringLiteral("Stopa"));
    w.at(recapcolumn::kVatHeading, QStringLiteral("PDV"));
    w.line(QString(54, u'_'));
    RecapitulationVat all;
    QString error, lookupError;
    QStringList columns{QStringLiteral("Rnbr")};
    columns += aidfields::columns(aidfields::kOfferedLines);
    // The recapitulation covers the lines of the entry tab.
    const bool read = reportrows::forEach(
        m_session.database(), columns, QStringLiteral("God = ? AND Rnbr >= ? AND Rnbr <= ?"),
        {m_session.twoDigitYear(), *from, *to}, QStringLiteral("Rnbr"),
        [&](const InvoiceRecord& r) { recapitulationInvoice(w, aids, r, all, lookupError); }, &error);
    if (!read)
        return stop(error);
    if (!lookupError.isEmpty())
        return stop(pricing::failedLookupMessage(lookupError));
    w.line(QString(56, u'_'));
    w.line(QStringLiteral("Sveukupno PDV 5%: ") + moneyText(all.at5) + QStringLiteral("       Sveukupno PDV 25%: ")
           + moneyText(all.other));
    return finish(w);
}

ReportCommands::Result ReportCommands::noteOverview(Note which)
{
    if (!ready() || !begin())
        return {Outcome::Stopped, {}};
    QString where = QStringLiteral("God = ?");
    QVariantList binds{m_session.twoDigitYear()};
    QString order = QStringLiteral("Rnbr");
    QString heading;
    switch (which) {
    case Note::Without:
        where += QStringLiteral(" AND (Opaska IS NULL OR Opaska = '')");
        heading = QStringLiteral("Pregled računa bez bilješke");
        break;
    case Note::Any:
        // Any note that is there, an empty text included; by the running
        // number over all years.
        where += QStringLiteral(" AND Opaska IS NOT NULL");
        order = QStringLiteral("Rbr");
        heading = QStringLiteral("Pregled računa sa bilo kojom bilješkom");
        break;
    case Note::Given: {
        const QString text = m_services.dialogs.input(
            QStringLiteral("Tekst bilješke"), QStringLiteral("Upišite bilješku (text bilješke) za koju želite ispis računa"), {});
        if (text.isEmpty())
            return {Outcome::Cancelled, {}};
        where += QStringLiteral(" AND Opaska = ?");
        binds << text;
        heading = QStringLiteral("Pregled računa sa bilješkom: ") + text;
        break;
    }
    }
    ReportWriter w;
    w.line(heading);
    w.line();
    invoiceColumnHeadings(w);
    if (which == Note::Any)
        w.at(78, QStringLiteral("Bilješka"));
    QStringList columns = reportrows::listColumns();
    if (which == Note::Any)
        columns << QStringLiteral("Opaska");
    float total = 0;
    int running = 0;
    QString error;
    const bool read = reportrows::forEach(m_session.database(), columns, where, binds, order, [&](const InvoiceRecord& r) {
        invoiceLine(w, ++running, r);
        if (which == Note::Any)
            w.at(78, r.note);
        total += float(r.amount);
    }, &error);
    if (!read)
        return stop(error);
    w.at(55, QStringLiteral("UKUPNO:"));
    w.moneyRightAligned(total);
    w.endLine();
    return finish(w);
}

ReportCommands::Result ReportCommands::aidOverview(const QString& code, const QString& name)
{
    if (!ready())
        return {Outcome::Stopped, {}};
    if (code.isEmpty())
        return stop(kNoAidMessage);
    // "S" is every invoice of every year, as the prompt promises.
    Outcome outcome = Outcome::Cancelled;
    const std::optional<Answers> answers =
        askAndBegin(QStringLiteral("Molim upišite vremenski period za koji želite izvješće za pomagalo:\r\n") + code
                        + QStringLiteral("\r\n") + name + QStringLiteral("\r\n"),
                    reportperiod::readExact, outcome);
    if (!answers)
        return {outcome, {}};
    const std::optional<ReportPeriod>& period = answers->period;
    const bool longReport = answers->longReport;

    QString where = reportrows::anyLineHolds();
    QVariantList binds = reportrows::anyLineBinds(code);
    if (period)
        reportrows::narrowToPeriod(where, binds, period->from, period->to);
    ReportWriter w;
    double pieces = 0;
    int running = 0;
    QString error;
    // Every business year, in the order the invoices were entered.
    QStringList columns{QStringLiteral("Rnbr"), QStringLiteral("Datum"), QStringLiteral("Broj"), QStringLiteral("Prezime"),
                        QStringLiteral("Ime")};
    columns += aidfields::columns(aidfields::kLines);
    const bool read = reportrows::forEach(m_session.database(), columns, where, binds, QStringLiteral("Rbr"),
                                          [&](const InvoiceRecord& r) {
        ++running;
        // Only the first line holding the aid counts.
        const auto slot = std::find_if(r.aids.begin(), r.aids.end(), [&](const AidLine& l) { return l.code == code; });
        if (slot == r.aids.end())
            return;
        const double q = slot->quantity();
        pieces += q;
        if (longReport) {
            w.numberAt(1, running);
            w.at(7, format::general(q) + QStringLiteral(" ×"));
            w.numberAt(12, r.number);
            w.dateAt(18, r.billed);
            w.at(30, r.confirmation);
            w.at(47, nameOf(r));
        }
    }, &error);
    if (!read)
        return stop(error);
    w.closeLine();
    w.line();
    if (period)
        w.line(QStringLiteral("Razdoblje od ") + format::shortDate(period->from) + QStringLiteral(" do ")
               + format::shortDate(period->to));
    w.line(QStringLiteral("Pomagalo: ") + code + u' ' + name);
    w.line(QStringLiteral("Ukupno komada: ") + format::general(pieces));
    return finish(w);
}
