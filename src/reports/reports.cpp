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

// The column headings of the invoice lists.
void invoiceColumnHeadings(ReportWriter& w)
{
    w.at(1, QStringLiteral(" Rbr"));
    w.at(6, QStringLiteral(" Broj"));
    w.at(13, QStringLiteral("Datum"));
    w.at(25, QStringLiteral("Br. potvrde"));
    w.at(42, QStringLiteral("Prezime i ime"));
    w.at(69, QStringLiteral(" Iznos"));
}

// One invoice of a list: running number, number, date, confirmation, name
// and amount ending in column 75.
void invoiceLine(ReportWriter& w, int running, const InvoiceRecord& r)
{
    w.numberAt(1, running);
    w.numberAt(6, r.number);
    w.dateAt(13, r.billed);
    w.at(25, r.confirmation);
    w.at(42, nameOf(r));
    w.moneyRightAligned(r.amount);
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
    // An invoice number with decimals ("2.5", "2,5") names no invoice: it
    // is refused rather than cut to a number the user did not type.
    static const QRegularExpression fraction(QStringLiteral("^\\s*[+-]?[0-9]*[.,][0-9]*[1-9]"));
    const QString fromText =
        dialogs.input(QStringLiteral("Početni račun"), QStringLiteral("Molim upišite broj početnog računa!"), {});
    if (fraction.match(fromText).hasMatch())
        return stop(kWholeNumberMessage.arg(fromText.trimmed()));
    const int from = invoices::leadingNumber(fromText);
    if (from == 0)
        return {Outcome::Cancelled, {}};
    const QString toText = dialogs.input(QStringLiteral("Završni račun"), QStringLiteral("Molim upišite broj završnog računa!"), {});
    if (fraction.match(toText).hasMatch())
        return stop(kWholeNumberMessage.arg(toText.trimmed()));
    const int to = invoices::leadingNumber(toText);
    if (to == 0)
        return {Outcome::Cancelled, {}};
    if (to < from)
        return stop(QStringLiteral("Broj završnog računa mora biti veći od broja početnog računa!"));
    if (!begin())
        return {Outcome::Stopped, {}};

    pricing::Catalogue aids(m_session.database());

    ReportWriter w;
    w.line(QStringLiteral("Rekapitulacija poreza"));
    w.line();
    w.at(1, QStringLiteral("Šifra pom."));
    w.at(16, QStringLiteral("Kol."));
    w.at(23, QStringLiteral("Cijena"));
    w.at(35, QStringLiteral("Osnovica"));
    w.at(45, QStringLiteral("Stopa"));
    w.at(52, QStringLiteral("PDV"));
    w.line(QString(54, u'_'));
    double all5 = 0, allOther = 0;
    QString error, lookupError;
    QStringList columns{QStringLiteral("Rnbr")};
    columns += aidfields::columns(aidfields::kOfferedLines);
    const bool read = reportrows::forEach(m_session.database(), columns, QStringLiteral("God = ? AND Rnbr >= ? AND Rnbr <= ?"),
                                          {m_session.twoDigitYear(), from, to}, QStringLiteral("Rnbr"),
                                          [&](const InvoiceRecord& r) {
        double vat5 = 0, vatOther = 0;
        w.line();
        w.line(QStringLiteral("Rn. ") + QString::number(r.number));
        // The recapitulation covers the lines of the entry tab.
        for (const AidLine& line : r.offered()) {
            const QString& code = line.code;
            if (line.isEmpty())
                continue;
            const pricing::Lookup found = aids.find(code);
            if (found.failed()) {
                // A list that cannot be read is no answer: the report stops.
                if (lookupError.isEmpty())
                    lookupError = found.error;
                continue;
            }
            const std::optional<pricing::Aid>& aid = found.aid;
            if (!aid) {
                // Nothing to price: the line says so and stays out of the sums.
                w.at(1, code);
                w.at(16, QStringLiteral("nije u popisu kelmorin"));
                w.endLine();
                continue;
            }
            const double q = line.quantity();
            const pricing::RecapitulationLine priced = pricing::recapitulationLine(*aid, q);
            w.at(1, code);
            w.numberAt(16, q);
            w.at(23, format::number(priced.unitPrice, u"0.0000"));
            w.at(35, format::number(priced.base, u"0.00"));
            w.numberAt(45, priced.rate);
            w.at(51, format::number(priced.vat, u"0.00"));
            w.endLine();
            if (priced.rate == 5) {
                vat5 += priced.vat;
                all5 += priced.vat;
            } else {
                vatOther += priced.vat;
                allOther += priced.vat;
            }
        }
        w.line(QStringLiteral("Uk. PDV 5%:  ") + format::number(pricing::recapitulationCents(vat5), u"0.00") + QStringLiteral("        Uk. PDV 25%: ")
               + format::number(pricing::recapitulationCents(vatOther), u"0.00"));
    }, &error);
    if (!read)
        return stop(error);
    if (!lookupError.isEmpty())
        return stop(pricing::failedLookupMessage(lookupError));
    w.line(QString(56, u'_'));
    w.line(QStringLiteral("Sveukupno PDV 5%: ") + moneyText(all5) + QStringLiteral("       Sveukupno PDV 25%: ") + moneyText(allOther));
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
