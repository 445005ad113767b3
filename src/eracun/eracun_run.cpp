#include "eracun_run.h"

#include "common/clock.h"
#include "common/text_file.h"
#include "data/database.h"
#include "data/pricing.h"
#include "data/schema.h"
#include "data/statement.h"
#include "einvoice_view.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

namespace eracun {
namespace {

const QString kTimeFormat = QStringLiteral("HH:mm:ss");

std::vector<InvoiceRecord> readInvoices(Database& db, const QString& where, qint64 year, const QString* mark, int number,
                                        QString* error)
{
    std::vector<InvoiceRecord> invoices;
    static const InvoiceRecord::Reader reader(InvoiceRecord::columns());
    Statement q(db, QStringLiteral("SELECT %1 FROM Rn WHERE God = ? AND %2 ORDER BY Rnbr")
                        .arg(InvoiceRecord::columns().join(QStringLiteral(", ")), where));
    const bool bound = q.bind(1, year) && (mark ? q.bind(2, *mark) : q.bind(2, qint64(number)));
    if (!bound) {
        *error = q.error();
        return invoices;
    }
    while (q.next())
        invoices.push_back(reader.read(q));
    if (!q.error().isEmpty()) {
        *error = q.error();
        invoices.clear();
    }
    return invoices;
}

} // namespace

Run::Run(Database& db, const Clock& clock)
    : m_db(db), m_clock(clock)
{
}

QString Run::defaultFolder() { return QDir::current().absoluteFilePath(QStringLiteral("eRacun")); }

bool Run::load()
{
    const std::optional<GeneralRecord> general = GeneralRecord::load(m_db, &m_error);
    if (!general)
        return false;
    m_general = *general;
    m_classification = {m_general.kpdOld, m_general.kpdNew, {}};
    QSqlQuery kpd(m_db.handle());
    kpd.setForwardOnly(true);
    if (!kpd.exec(QStringLiteral("SELECT Sifra, KPD FROM %1").arg(schema::kClassificationTable))) {
        m_error = QStringLiteral("KPD oznake šifri nije moguće pročitati: ") + kpd.lastError().text();
        return false;
    }
    while (kpd.next())
        m_classification.byCode.insert(kpd.value(0).toString(), kpd.value(1).toString());
    return true;
}

bool Run::storeTime(const InvoiceRecord& invoice, const QString& time)
{
    return m_db.exec(QStringLiteral("UPDATE Rn SET EVrijeme = ? WHERE God = ? AND Rnbr = ? AND (EVrijeme IS NULL OR EVrijeme = '')"),
                     {time, invoice.year, invoice.number});
}

void Run::write(InvoiceRecord invoice, const std::vector<Kind>& kinds, const QString& folder, const QString& file,
                pricing::Catalogue& catalogue, Outcome& outcome, std::vector<textfile::NamedBytes>* batch)
{
    QTime time = QTime::fromString(invoice.einvoiceTime, kTimeFormat);
    const bool first = !time.isValid();
    if (first) {
        const QTime now = m_clock.now().time();
        time = QTime(now.hour(), now.minute(), now.second());
    }
    const Built built = build(catalogue, invoice, m_general, m_classification, time, kinds);
    if (!built.ok()) {
        outcome.messages << problemMessage(invoice, built.problems);
        return;
    }
    // The time is kept before the documents leave: a document written with
    // it is the one every later run writes again.
    if (first && !storeTime(invoice, time.toString(kTimeFormat))) {
        outcome.messages << problemMessage(invoice, {QStringLiteral("Vrijeme eRačuna nije moguće spremiti: ") + m_db.error()});
        return;
    }
    // Written to a folder, each document has its page to read beside it.
    const QString views = file.isEmpty() ? QDir(folder).absoluteFilePath(kViewFolder) : QString();
    for (const QString& needed : {file.isEmpty() ? folder : QString(), views}) {
        if (!needed.isEmpty() && !QDir().mkpath(needed)) {
            outcome.messages << problemMessage(invoice, {QStringLiteral("Mapu %1 nije moguće napraviti.").arg(QDir::toNativeSeparators(needed))});
            return;
        }
    }
    for (const Document& d : built.documents) {
        const QString path = file.isEmpty() ? QDir(folder).absoluteFilePath(d.fileName) : file;
        std::vector<textfile::NamedBytes> written = {{path, d.xml}};
        if (!views.isEmpty())
            written.push_back({QDir(views).absoluteFilePath(viewFileName(d.fileName)), htmlView(d.xml)});
        for (const textfile::NamedBytes& one : written) {
            if (batch) {
                batch->push_back(one);
            } else if (QString error; !textfile::writeWhole(one.path, one.bytes, &error)) {
                outcome.messages << problemMessage(invoice, {error});
                return;
            }
        }
        outcome.files << path;
        if (!views.isEmpty())
            outcome.views << written.back().path;
        if (const QString note = differenceNote(d); !note.isEmpty())
            outcome.differences << note;
    }
    ++outcome.invoices;
}

Run::Outcome Run::writeInvoice(int twoDigitYear, int number, std::optional<Kind> kind, const QString& folder, const QString& file)
{
    Outcome outcome;
    QString error;
    const std::vector<InvoiceRecord> found = readInvoices(m_db, QStringLiteral("Rnbr = ?"), twoDigitYear, nullptr, number, &error);
    if (!error.isEmpty()) {
        outcome.messages << QStringLiteral("Račune nije moguće pročitati: ") + error;
        return outcome;
    }
    if (found.empty()) {
        outcome.messages << QStringLiteral("Račun broj %1 ne postoji u poslovnoj godini.").arg(number);
        return outcome;
    }
    pricing::Catalogue catalogue(m_db);
    std::vector<Kind> kinds;
    if (kind)
        kinds.push_back(*kind);
    else if (!file.isEmpty())
        kinds.push_back(Kind::Basic);
    write(found.front(), kinds, folder, file, catalogue, outcome);
    return outcome;
}

Run::Outcome Run::writeMarked(int twoDigitYear, const QString& mark, const QString& folder,
                              const std::function<bool(int, int)>& progress)
{
    Outcome outcome;
    QString error;
    const std::vector<InvoiceRecord> marked = readInvoices(m_db, QStringLiteral("Izbor = ?"), twoDigitYear, &mark, 0, &error);
    if (!error.isEmpty()) {
        outcome.messages << QStringLiteral("Račune nije moguće pročitati: ") + error;
        return outcome;
    }
    pricing::Catalogue catalogue(m_db);
    // The times of a whole run are kept in one transaction.
    Transaction tx(m_db);
    // The documents of the whole run reach the disk together, with one
    // flush instead of two per file.
    std::vector<textfile::NamedBytes> batch;
    int done = 0;
    for (const InvoiceRecord& invoice : marked) {
        write(invoice, {}, folder, {}, catalogue, outcome, &batch);
        if (progress && !progress(++done, int(marked.size())))
            break;
    }
    if (!tx.commit())
        outcome.messages << QStringLiteral("Vremena eRačuna nije moguće spremiti: ") + m_db.error();
    QString writeError;
    if (!textfile::writeWholeBatch(batch, &writeError)) {
        // The run did not reach the disk whole: it is to be made again.
        outcome.messages << writeError;
        outcome.files.clear();
        outcome.views.clear();
        outcome.differences.clear();
        outcome.invoices = 0;
    }
    return outcome;
}

} // namespace eracun
