#include "marking.h"

#include "data/session.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "data/database.h"
#include "data/invoice_record.h"
#include "data/sql_values.h"
#include "invoice/identifiers.h"
#include "invoice/pending_edits.h"

#include <QSqlError>
#include <QSqlQuery>

namespace marking {
namespace {

constexpr int kMaxOffices = 20;

// The mark of an office: its place among the offices met so far, a new
// place for a new one; 0 when all twenty places are taken by others.
int markOf(QStringList& offices, const QString& office)
{
    const QString key = office.isEmpty() ? QStringLiteral("99") : office;
    const qsizetype known = offices.indexOf(key);
    if (known >= 0)
        return int(known) + 1;
    if (offices.size() >= kMaxOffices)
        return 0;
    offices << key;
    return int(offices.size());
}

} // namespace

QDate defaultStart(const QDate& today)
{
    const QDate d = today.addDays(-10);
    return QDate(d.year(), d.month(), 1);
}

QDate defaultEnd(const QDate& start)
{
    const QDate d = start.addDays(31);
    return QDate(d.year(), d.month(), 1).addDays(-1);
}

bool markByOffice(Database& db, int twoDigitYear, const QDate& start, const QDate& end, QString* error)
{
    Transaction transaction(db);
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    // An invoice made by mistake and left blank is not the fund's business:
    // it stays unmarked.
    const QStringList blank = InvoiceRecord::blankColumns();
    const InvoiceRecord::Reader reader(blank);
    q.prepare(QStringLiteral("SELECT rowid, Datum, Pu, %1 FROM Rn WHERE God = ? ORDER BY Rnbr").arg(blank.join(u", ")));
    q.addBindValue(twoDigitYear);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    std::vector<std::pair<qint64, QString>> marks;
    QStringList offices;
    while (q.next()) {
        const QDate billed = sqlvalue::toDate(q.value(1));
        QString mark;
        QVariantList values;
        for (int k = 0; k < blank.size(); ++k)
            values << q.value(3 + k);
        if (billed.isValid() && billed >= start && billed <= end && !reader.read(values).isBlank()) {
            const int n = markOf(offices, sqlvalue::toText(q.value(2)));
            if (n > 0)
                mark = QString::number(n);
        }
        marks.emplace_back(q.value(0).toLongLong(), mark);
    }
    q.finish();
    for (const auto& [rowid, mark] : marks) {
        if (!db.exec(QStringLiteral("UPDATE Rn SET Izbor = ? WHERE rowid = ?"), {mark, rowid}))
            return db.failed(error);
    }
    return transaction.commit() || db.failed(error);
}

bool clearAll(Database& db, QString* error)
{
    return db.exec(QStringLiteral("UPDATE Rn SET Izbor = ''")) || db.failed(error);
}

} // namespace marking

bool MarkingCommands::saveEdits() { return invoices::saveEditsOrSay(m_session, m_services.dialogs); }

void MarkingCommands::reread()
{
    RecordSet& invoices = m_session.invoices();
    invoices.reload();
    invoices.moveLast();
}

void MarkingCommands::chooseForSubmission()
{
    Dialogs& dialogs = m_services.dialogs;
    const QDate suggestedStart = marking::defaultStart(m_services.clock.today());
    const identifiers::ShortDate start = identifiers::readShortDate(dialogs.input(
        QStringLiteral("ZENTU"), QStringLiteral("Početni datum (u formatu dd.mm.gg ili ddmmgg)"),
        suggestedStart.toString(QStringLiteral("dd.MM.yy"))));
    if (start.status == identifiers::ShortDate::Invalid)
        dialogs.message(identifiers::kShortDateMessage);
    if (start.status != identifiers::ShortDate::Valid)
        return;
    const identifiers::ShortDate end = identifiers::readShortDate(dialogs.input(
        QStringLiteral("ZENTU"), QStringLiteral("Zaključni datum (u formatu dd.mm.gg ili ddmmgg): "),
        marking::defaultEnd(start.date).toString(QStringLiteral("dd.MM.yy"))));
    if (end.status == identifiers::ShortDate::Invalid)
        dialogs.message(identifiers::kShortDateMessage);
    if (end.status != identifiers::ShortDate::Valid || !saveEdits())
        return;
    QString error;
    if (!marking::markByOffice(m_session.database(), m_session.twoDigitYear(), start.date, end.date, &error))
        dialogs.message(QStringLiteral("Označavanje računa nije uspjelo:\r\n") + error);
    reread();
}

void MarkingCommands::clearMarks()
{
    if (!saveEdits())
        return;
    QString error;
    if (!marking::clearAll(m_session.database(), &error))
        m_services.dialogs.message(error);
    reread();
}

void MarkingCommands::sortBy(const QString& field)
{
    RecordSet& invoices = m_session.invoices();
    const int column = invoices.fieldIndex(field);
    if (column < 0)
        return;
    if (!m_services.dialogs.okCancel(QStringLiteral("Želite li posložiti podatke u tablici po koloni ") + field))
        return;
    if (!saveEdits())
        return;
    // Invoices with the same value keep the order of their numbers.
    // Texts in the order of the Croatian alphabet (numbers and dates sort
    // as such; the collation only concerns texts).
    invoices.setOrderBy({{invoices.fieldNames().at(column), true}, {QStringLiteral("Rnbr")}});
    reread();
}
