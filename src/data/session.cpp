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
        explainDamage();
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
        explainDamage();
        return false;
    }
    return true;
}

void Session::explainDamage()
{
    // A read that fails on a damaged page says "malformed"; the user is
    // told what that means and what to do.
    QString damaged;
    if (!m_db->isSound(&damaged))
        m_error = damaged;
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
    return m_invoices->append(freshInvoice(1, today)) >= 0;
}

QVariantMap Session::freshInvoice(int number, const QDate& today) const
{
    return {{QStringLiteral("God"), m_twoDigitYear},
            {QStringLiteral("Rnbr"), number},
            {QStringLiteral("Datum"), today},
            {QStringLiteral("Datumnar"), today},
            {QStringLiteral("DatumIzdavanja"), today},
            {QStringLiteral("Pu"), m_generalData->field(u"Podrured")}};
}

bool Session::saveAll()
{
    const bool invoicesSaved = m_invoices ? m_invoices->saveAll() : true;
    const bool generalSaved = m_generalData ? m_generalData->saveAll() : true;
    const bool oldListSaved = m_oldCodeList ? m_oldCodeList->saveAll() : true;
    const bool newListSaved = m_newCodeList ? m_newCodeList->saveAll() : true;
    return invoicesSaved && generalSaved && oldListSaved && newListSaved;
}
