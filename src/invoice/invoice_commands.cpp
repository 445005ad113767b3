#include "invoice_commands.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "data/business_year.h"
#include "data/database.h"
#include "data/invoice_record.h"
#include "data/session.h"
#include "data/sql_values.h"
#include "data/pricing.h"

bool InvoiceCommands::newInvoice()
{
    RecordSet& invoices = m_session.invoices();
    if (!invoices.save(invoices.current()) || !invoices.moveLast()) {
        m_services.dialogs.message(invoices.error());
        return false;
    }
    // The highest number of the year in the file, not in the window's set:
    // the set may be ordered by another column.
    QString error;
    const std::optional<int> number = invoices::nextNumber(m_session.database(), m_session.twoDigitYear(), &error);
    if (!number) {
        m_services.dialogs.message(error.isEmpty() ? invoices::kYearFullMessage : error);
        return false;
    }
    const QDate today = m_services.clock.today();
    const int row = invoices.append(m_session.freshInvoice(*number, today));
    if (row < 0) {
        m_services.dialogs.message(invoices.error());
        return false;
    }
    return invoices.setCurrent(row);
}

bool InvoiceCommands::removeBlankLastInvoice()
{
    Dialogs& dialogs = m_services.dialogs;
    RecordSet& invoices = m_session.invoices();
    if (!invoices.save(invoices.current())) {
        dialogs.message(invoices.error());
        return false;
    }
    QString error;
    const std::optional<int> next = invoices::nextNumber(m_session.database(), m_session.twoDigitYear(), &error);
    if (!next) {
        if (!error.isEmpty()) {
            dialogs.message(error);
            return false;
        }
    }
    const int last = next ? *next - 1 : invoices::kMaxNumber;
    const int row = invoices.findFirst(u"Rnbr", last);
    if (row < 0 || invoices.rowCount() < 2) {
        // The year always keeps an invoice: the first one is made at start-up.
        dialogs.message(QStringLiteral("Prvi račun poslovne godine se ne briše."));
        return false;
    }
    if (!InvoiceRecord::fromRow(invoices, row).isBlank()) {
        dialogs.message(QStringLiteral("Račun broj %1 nije prazan (upisan je broj potvrde, pacijent ili pomagalo) i ne "
                                       "briše se.\r\nObrisati se može samo posljednji račun godine dok je prazan.")
                            .arg(last));
        return false;
    }
    if (!dialogs.okCancel(QStringLiteral("Obrisati prazni račun broj %1? Njegov broj dobit će sljedeći novi račun.").arg(last),
                          QStringLiteral("Brisanje praznog računa")))
        return false;
    if (!m_session.database().exec(QStringLiteral("DELETE FROM Rn WHERE rowid = ?"), {invoices.key(row)})) {
        dialogs.message(QStringLiteral("Račun nije obrisan:\r\n") + m_session.database().error());
        return false;
    }
    if (!invoices.reload()) {
        dialogs.message(invoices.error());
        return false;
    }
    return invoices.moveLast();
}

void InvoiceCommands::showInvoiceByNumber()
{
    const QString answer = m_services.dialogs.input(QStringLiteral("IZBOR RAČUNA"), QStringLiteral("Prikaži račun broj:"), {});
    if (answer.isEmpty())
        return;
    RecordSet& invoices = m_session.invoices();
    const int row = invoices.findFirst(u"Rnbr", invoices::leadingNumber(answer));
    if (row >= 0) {
        invoices.setCurrent(row);
        return;
    }
    invoices.moveLast();
    m_services.dialogs.message(QStringLiteral("Račun broj ") + answer + QStringLiteral(" ne postoji!"));
}

void InvoiceCommands::selectAid(const QString& code)
{
    if (code.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Molim najprije označite pomagalo u tablici!"));
        return;
    }
    RecordSet& invoices = m_session.invoices();
    InvoiceRecord invoice = InvoiceRecord::fromRow(invoices, invoices.current());
    for (AidLine& line : invoice.offered()) {
        if (line.code == code) {
            line.quantityText = QString::number(int(line.quantity()) + 1);
            break;
        }
        if (line.isEmpty()) {
            line = {code, QStringLiteral("1")};
            break;
        }
    }
    invoice.writeTo(invoices, invoices.current());
    recompute();
}

void InvoiceCommands::clearLine(int line)
{
    if (line < 1 || line > kOfferedLines)
        return;
    RecordSet& invoices = m_session.invoices();
    InvoiceRecord invoice = InvoiceRecord::fromRow(invoices, invoices.current());
    invoice.aids[size_t(line - 1)] = {QString(), QStringLiteral("0")};
    if (line == 1)
        invoice.manufacturer.clear();
    invoice.writeTo(invoices, invoices.current());
    recompute();
}

bool InvoiceCommands::recompute()
{
    RecordSet& invoices = m_session.invoices();
    InvoiceRecord invoice = InvoiceRecord::fromRow(invoices, invoices.current());
    const pricing::Priced priced = pricing::price(m_session.database(), invoice, pricing::Document::Amount);
    if (!priced.error.isEmpty()) {
        m_services.dialogs.message(pricing::failedLookupMessage(priced.error));
        return false;
    }
    if (!priced.unknownCode.isEmpty()) {
        m_services.dialogs.message(pricing::unknownCodeMessage(priced.unknownCode));
        return false;
    }
    invoice.amount = priced.total;
    invoice.writeTo(invoices, invoices.current());
    return true;
}

void InvoiceCommands::coPaymentFlagChanged(QStringView field)
{
    RecordSet& invoices = m_session.invoices();
    if (!sqlvalue::toBool(invoices.field(field)))
        return;
    if (field.compare(u"Osl", Qt::CaseInsensitive) == 0)
        invoices.setField(u"Dop", false);
    else if (field.compare(u"Dop", Qt::CaseInsensitive) == 0)
        invoices.setField(u"Osl", false);
}

void InvoiceCommands::step(int direction)
{
    RecordSet& invoices = m_session.invoices();
    const int row = invoices.current() + direction;
    if (row < 0 || row >= invoices.rowCount())
        return;
    if (!invoices.setCurrent(row))
        m_services.dialogs.message(invoices.error());
}

void InvoiceCommands::showCoPayment()
{
    const RecordSet& invoices = m_session.invoices();
    const InvoiceRecord invoice = InvoiceRecord::fromRow(invoices, invoices.current());
    m_services.dialogs.message(pricing::coPaymentText(invoice.amount, invoice.exempt, invoice.supplementary));
}
