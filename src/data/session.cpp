#include "session.h"

#include "data/business_year.h"
#include "data/schema.h"

Session::Session() = default;
Session::~Session() = default;

bool Session::open(Scope scope)
{
    m_db = std::make_unique<Database>(schema::kInvoiceFile);
    if (!m_db->isOpen()) {
        m_error = m_db->error();
        return false;
    }
    m_generalData = std::make_unique<RecordSet>(*m_db, RecordSet::Query{QStringLiteral("Opci")});
    m_oldCodeList = std::make_unique<RecordSet>(
        *m_db, RecordSet::Query{QStringLiteral("KelmorinISO"), {}, {}, {}, {{QStringLiteral("Broj")}}});
    m_newCodeList = std::make_unique<RecordSet>(
        *m_db, RecordSet::Query{QStringLiteral("OrtopedskaKelmorinISO"), {}, {}, {}, {{QStringLiteral("Broj")}}});
    const bool everything = scope == Scope::Everything;
    if (!m_generalData->reload() || (everything && (!m_oldCodeList->reload() || !m_newCodeList->reload()))) {
        m_error = !m_generalData->error().isEmpty() ? m_generalData->error()
            : !m_oldCodeList->error().isEmpty()     ? m_oldCodeList->error()
                                                    : m_newCodeList->error();
        return false;
    }
    if (m_generalData->rowCount() == 0) {
        m_error = QStringLiteral("Tablica Opci nema redak s općim podacima.");
        return false;
    }
    m_generalData->setCurrent(0);
    m_twoDigitYear = invoices::twoDigitYear(m_generalData->field(u"God"));
    if (!everything)
        return true;
    m_invoices = std::make_unique<RecordSet>(*m_db, invoices::yearQuery(m_twoDigitYear));
    if (!m_invoices->reload()) {
        m_error = m_invoices->error();
        return false;
    }
    return true;
}

QString Session::businessYear() const
{
    const QVariant year = m_generalData->field(u"God");
    return year.isNull() ? QString() : year.toString();
}

bool Session::ensureFirstInvoice(const QDate& today)
{
    if (m_invoices->rowCount() > 0)
        return true;
    return m_invoices->append({{QStringLiteral("God"), m_twoDigitYear},
                               {QStringLiteral("Rnbr"), 1},
                               {QStringLiteral("Datum"), today},
                               {QStringLiteral("Datumnar"), today}})
        >= 0;
}

bool Session::saveAll()
{
    const bool invoicesSaved = m_invoices ? m_invoices->saveAll() : true;
    const bool generalSaved = m_generalData ? m_generalData->saveAll() : true;
    return invoicesSaved && generalSaved;
}
