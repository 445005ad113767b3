#include "invoice_commands.h"

#include "amounts.h"
#include "app/session.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "data/business_year.h"
#include "data/database.h"
#include "data/sql_values.h"

namespace {

QString pomField(int line) { return QStringLiteral("Pom%1").arg(line); }
QString kolField(int line) { return QStringLiteral("Kol%1").arg(line); }

} // namespace

bool InvoiceCommands::newInvoice()
{
    RecordSet& invoices = m_session.invoices();
    if (!invoices.save(invoices.current()) || !invoices.moveLast()) {
        m_services.dialogs.message(invoices.error());
        return false;
    }
    // The highest number of the year in the file, not in the window's set:
    // the set may be ordered by another column.
    const std::optional<int> number = invoices::nextNumber(m_session.database(), m_session.twoDigitYear());
    if (!number) {
        m_services.dialogs.message(invoices::kYearFullMessage);
        return false;
    }
    const QDate today = m_services.clock.today();
    const int row = invoices.append({{QStringLiteral("God"), m_session.twoDigitYear()},
                                     {QStringLiteral("Rnbr"), *number},
                                     {QStringLiteral("Datum"), today},
                                     {QStringLiteral("Datumnar"), today},
                                     {QStringLiteral("DatumIzdavanja"), today},
                                     {QStringLiteral("Pu"), m_session.generalData().field(u"Podrured")}});
    if (row < 0) {
        m_services.dialogs.message(invoices.error());
        return false;
    }
    return invoices.setCurrent(row);
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
    for (int line = 1; line <= kOfferedLines; ++line) {
        const QString present = sqlvalue::toText(invoices.field(pomField(line)));
        if (present == code) {
            invoices.setField(kolField(line), invoices.field(kolField(line)).toInt() + 1);
            break;
        }
        if (present.isEmpty()) {
            invoices.setField(pomField(line), code);
            invoices.setField(kolField(line), 1);
            break;
        }
    }
    recompute();
}

void InvoiceCommands::clearLine(int line)
{
    if (line < 1 || line > kOfferedLines)
        return;
    RecordSet& invoices = m_session.invoices();
    invoices.setField(pomField(line), QString());
    invoices.setField(kolField(line), 0);
    if (line == 1)
        invoices.setField(u"Proizv", QString());
    recompute();
}

bool InvoiceCommands::recompute()
{
    RecordSet& invoices = m_session.invoices();
    std::vector<amounts::Line> lines;
    for (int line = 1; line <= kOfferedLines; ++line)
        lines.push_back({sqlvalue::toText(invoices.field(pomField(line))), invoices.field(kolField(line)).toInt()});
    const amounts::Result result = amounts::compute(m_session.database(), lines);
    if (!result.amount) {
        m_services.dialogs.message(amounts::unknownCodeMessage(result.unknownCode));
        return false;
    }
    invoices.setField(u"Iznos", *result.amount);
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
    m_services.dialogs.message(amounts::coPaymentText(invoices.field(u"Iznos").toDouble(),
                                                      sqlvalue::toBool(invoices.field(u"Osl")),
                                                      sqlvalue::toBool(invoices.field(u"Dop"))));
}
