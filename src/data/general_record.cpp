#include "general_record.h"

#include "database.h"
#include "record_set.h"
#include "stored_fields.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

using GeneralFields = StoredFields<GeneralRecord>;

const GeneralFields& generalFields()
{
    using G = GeneralRecord;
    static const GeneralFields f = {
        {{"Naziv", &G::name},
         {"Sifra", &G::code},
         {"Mjesto", &G::place},
         {"Matbr", &G::registration},
         {"Ziro", &G::iban},
         {"Model", &G::referenceModel},
         {"Vrsta", &G::kindOfAids},
         {"Mjestopodrur", &G::officeCity},
         {"Ulicapodrur", &G::officeStreet},
         {"Adresa", &G::address},
         {"Odgovosoba", &G::responsible},
         {"Crte", &G::lineThickness},
         {"Podrured", &G::mainOffice},
         {"Predbroj", &G::prefix},
         {"Izabroj", &G::chosenNumber},
         {"RacunR", &G::invoiceR},
         {"Oznosn", &G::basicMark},
         {"Ozndop", &G::supplementaryMark},
         {"OIB", &G::oib},
         {"AdresaMalopr", &G::retailAddress},
         {"SifraMalopr", &G::retailCode},
         {"Prostor", &G::premises},
         {"Operater", &G::registerMark},
         {"EOperater", &G::einvoiceOperator},
         {"EOIBOperatera", &G::einvoiceOperatorOib},
         {"EKpd12", &G::kpdOld},
         {"EKpd13", &G::kpdNew},
         {"EMapa", &G::einvoiceFolder},
         {"ArhivaMapa", &G::backupSecondPlace}},
        {},
        {},
        {{"Brd", &G::mediumCounter}, {"God", &G::year}, {"ERokPlacanja", &G::paymentDays}},
        {},
    };
    return f;
}

} // namespace

QString GeneralRecord::yearDigits() const { return year == 0 ? QString() : QString::number(year).right(2); }

const QStringList& GeneralRecord::columns()
{
    static const QStringList names = generalFields().columns();
    return names;
}

GeneralRecord GeneralRecord::read(const QVariantList& values)
{
    GeneralRecord r;
    generalFields().read(r, [&](qsizetype k) { return k < values.size() ? values.at(k) : QVariant(); });
    return r;
}

std::optional<GeneralRecord> GeneralRecord::load(Database& db, QString* error)
{
    QSqlQuery query(db.handle());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM Opci LIMIT 1").arg(columns().join(QStringLiteral(", "))))
        || !query.next()) {
        if (error)
            *error = QStringLiteral("Opće podatke nije moguće pročitati: ") + query.lastError().text();
        return std::nullopt;
    }
    GeneralRecord r;
    generalFields().read(r, [&](qsizetype k) { return query.value(int(k)); });
    return r;
}

GeneralRecord GeneralRecord::fromRow(const RecordSet& set, int row) { return read(rowValues(set, row, columns())); }

void GeneralRecord::writeTo(RecordSet& set, int row) const { generalFields().writeTo(*this, set, row); }
