#include "patient_register.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "common/working_folder.h"
#include "data/croatian_collation.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/sql_values.h"

namespace patients {
namespace {

// The list's own columns: the three the grid shows, then the rest of the
// patient's data.
const QStringList& listColumns()
{
    static const QStringList columns = {
        QStringLiteral("prezime"),  QStringLiteral("ime"),       QStringLiteral("JMBG"),
        QStringLiteral("Datrodj"),  QStringLiteral("Ulica"),     QStringLiteral("Mjesto"),
        QStringLiteral("Postbr"),   QStringLiteral("Telefon"),   QStringLiteral("Zanimanje"),
        QStringLiteral("zaposlen"), QStringLiteral("Grupa"),     QStringLiteral("Izabranidr"),
        QStringLiteral("Datupisa"), QStringLiteral("Broj"),
    };
    return columns;
}

QString collated(const QString& field)
{
    return sqlvalue::quotedName(field) + QStringLiteral(" COLLATE ") + croatian::kCollation;
}

// Surname, first name, citizen's number; the patient's number keeps
// namesakes in the order they were entered.
std::vector<RecordSet::Order> defaultOrder()
{
    return {{QStringLiteral("prezime"), true}, {QStringLiteral("ime"), true}, {QStringLiteral("JMBG"), true},
            {QStringLiteral("Broj")}};
}

bool isBlank(const QVariant& v) { return sqlvalue::toText(v).trimmed().isEmpty(); }

} // namespace

const std::vector<PatientField>& patientFields()
{
    static const std::vector<PatientField> fields = {
        {QStringLiteral("prezime"), QStringLiteral("Prezime")},
        {QStringLiteral("ime"), QStringLiteral("Ime")},
        {QStringLiteral("JMBG"), QStringLiteral("JMBG")},
        {QStringLiteral("Datrodj"), QStringLiteral("Datum rođenja")},
        {QStringLiteral("Ulica"), QStringLiteral("Ulica")},
        {QStringLiteral("Mjesto"), QStringLiteral("Mjesto")},
        {QStringLiteral("Postbr"), QStringLiteral("Poštanski broj")},
        {QStringLiteral("Telefon"), QStringLiteral("Telefon")},
        {QStringLiteral("Zanimanje"), QStringLiteral("Zanimanje")},
        {QStringLiteral("zaposlen"), QStringLiteral("Zaposlen")},
        {QStringLiteral("Grupa"), QStringLiteral("Grupa")},
        {QStringLiteral("Izabranidr"), QStringLiteral("Izabrani dr.")},
        {QStringLiteral("Datupisa"), QStringLiteral("Datum upisa"), true},
        {QStringLiteral("Broj"), QStringLiteral("Šifra"), true},
    };
    return fields;
}

int nextPatientPosition(int position)
{
    return position >= 0 && position < 11 ? position + 1 : 0;
}

std::optional<QString> dateOfBirthFromJmbg(const QString& jmbg)
{
    if (jmbg.size() <= 6)
        return std::nullopt;
    for (int i = 0; i < 7; ++i) {
        if (!jmbg.at(i).isDigit() || jmbg.at(i).unicode() > 127)
            return std::nullopt;
    }
    const int day = jmbg.mid(0, 2).toInt(), month = jmbg.mid(2, 2).toInt(), y = jmbg.mid(4, 3).toInt();
    const int year = y > 800 ? 1000 + y : 2000 + y;
    if (!QDate(year, month, day).isValid())
        return std::nullopt;
    return jmbg.mid(0, 2) + u'.' + jmbg.mid(2, 2) + u'.' + QString::number(year);
}

PatientList::PatientList(Services services) : m_services(services) {}

PatientList::~PatientList()
{
    if (m_patients)
        m_patients->saveAll();
}

void PatientList::fail(const QString& text) { m_services.dialogs.message(text); }

bool PatientList::open()
{
    if (m_patients)
        return true;
    const QString folder = workdir::displayPath();
    if (!m_services.platform.fileExists(schema::kPatientFile)) {
        m_services.dialogs.message(QStringLiteral("U radnoj mapi %1 nema datoteke %2 s registrom pacijenata.")
                                       .arg(folder, schema::kPatientFile));
        if (!m_services.dialogs.yesNo(QStringLiteral("Želite li u mapi %1 napraviti novi, prazan registar pacijenata?")
                                          .arg(folder),
                                      QString()))
            return false;
        QString error;
        if (!newfolder::createPatientRegister(QStringLiteral("."), &error)) {
            fail(error);
            return false;
        }
    }
    if (!bind())
        return false;
    if (!m_cleaned) {
        m_cleaned = true;
        removeAbandonedFirstRow();
    }
    return true;
}

bool PatientList::bind()
{
    auto db = std::make_unique<Database>(m_services.platform.findFile(schema::kPatientFile));
    if (!db->isOpen()) {
        fail(QStringLiteral("Ne mogu otvoriti registar pacijenata %1:\r\n%2").arg(schema::kPatientFile, db->error()));
        return false;
    }
    // The list's order kept as an index in the Croatian alphabet's order,
    // so that opening a register of many thousands of patients reads it
    // without sorting. A register made before gets it at its first opening
    // (the folder's lock is held for the whole run).
    if (!db->exec(QStringLiteral("CREATE INDEX IF NOT EXISTS \"Popis_abeceda\" ON Popis (") + collated(QStringLiteral("prezime"))
                  + u',' + collated(QStringLiteral("ime")) + u',' + collated(QStringLiteral("JMBG")) + u')')) {
        fail(QStringLiteral("Ne mogu pripremiti popis pacijenata u %1:\r\n%2").arg(schema::kPatientFile, db->error()));
        return false;
    }
    RecordSet::Query query;
    query.table = kPatientTable;
    query.columns = listColumns();
    query.orderBy = defaultOrder();
    auto set = std::make_unique<RecordSet>(*db, query);
    if (!set->reload()) {
        fail(QStringLiteral("Ne mogu pročitati popis pacijenata iz %1:\r\n%2").arg(schema::kPatientFile, set->error()));
        return false;
    }
    // The folded texts follow the list: all anew when it is read again,
    // one row when a field changes.
    QObject::connect(set.get(), &RecordSet::reset, set.get(), [this] { m_folded.clear(); });
    QObject::connect(set.get(), &RecordSet::rowChanged, set.get(), [this](int row) {
        if (row >= 0 && size_t(row) < m_folded.size())
            m_folded[row] = foldedRow(row);
    });
    m_db = std::move(db);
    m_patients = std::move(set);
    m_patients->setCurrent(m_patients->rowCount() > 0 ? 0 : -1);
    searchedText(0, false); // folded now, so that no keystroke waits for it
    return true;
}

// A patient added and left without a surname, a first name or a number
// sorts first. Such rows go, unless visits were recorded for them.
void PatientList::removeAbandonedFirstRow()
{
    RecordSet& list = *m_patients;
    bool removed = false;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (!isBlank(list.value(row, 0)) || !isBlank(list.value(row, 1)) || !isBlank(list.value(row, 2)))
            break;
        const QVariant number = list.value(row, 13);
        if (m_db->scalar(QStringLiteral("SELECT count(*) FROM Nalazi WHERE Broj = ?"), {number}).toInt() != 0)
            continue;
        if (!m_db->exec(QStringLiteral("DELETE FROM Popis WHERE rowid = ?"), {list.key(row)})) {
            fail(QStringLiteral("Prazan redak popisa pacijenata nije moguće obrisati:\r\n") + m_db->error());
            return;
        }
        removed = true;
    }
    if (removed && list.reload())
        list.setCurrent(list.rowCount() > 0 ? 0 : -1);
}

// What the search compares, case folded once for the whole list: the
// surname or the citizen's number of each row.
const QString& PatientList::searchedText(int row, bool digits)
{
    static const QString none;
    if (m_folded.size() != size_t(m_patients->rowCount())) {
        m_folded.clear();
        m_folded.reserve(m_patients->rowCount());
        for (int r = 0; r < m_patients->rowCount(); ++r)
            m_folded.push_back(foldedRow(r));
    }
    if (row < 0 || size_t(row) >= m_folded.size())
        return none;
    return digits ? m_folded[row].second : m_folded[row].first;
}

std::pair<QString, QString> PatientList::foldedRow(int row) const
{
    return {sqlvalue::toText(m_patients->value(row, 0)).toCaseFolded(),
            sqlvalue::toText(m_patients->value(row, 2)).toCaseFolded()};
}

int PatientList::findFrom(const QString& text, int start, int count)
{
    const QString wanted = text.toCaseFolded();
    const bool digits = !text.isEmpty() && text.at(0).isDigit();
    const int n = m_patients->rowCount();
    for (int step = 0; step < count && n > 0; ++step) {
        const int row = (start + step) % n;
        if (searchedText(row, digits).startsWith(wanted))
            return row;
    }
    return -1;
}

void PatientList::search(const QString& text)
{
    RecordSet& list = *m_patients;
    const int row = findFrom(text, 0, list.rowCount());
    list.setCurrent(row >= 0 ? row : (list.rowCount() > 0 ? 0 : -1));
}

void PatientList::searchNext(const QString& text)
{
    RecordSet& list = *m_patients;
    const int row = findFrom(text, list.current() + 1, list.rowCount());
    if (row >= 0)
        list.setCurrent(row);
}

bool PatientList::sortBy(int column)
{
    RecordSet& list = *m_patients;
    if (column < 0 || column >= list.columnCount() || !save())
        return false;
    std::vector<RecordSet::Order> order{{list.fieldNames().at(column), true}};
    for (RecordSet::Order& o : defaultOrder())
        order.push_back(std::move(o));
    list.setOrderBy(std::move(order));
    if (!list.reload()) {
        fail(list.error());
        return false;
    }
    return true;
}

int PatientList::addPatient()
{
    if (!m_services.dialogs.okCancel(
            QStringLiteral("Želite li upisati novog pacijenta kliknite na OK i upišite sve podatke?"),
            QStringLiteral("Upis novog pacijenta")))
        return -1;
    RecordSet& list = *m_patients;
    if (!save())
        return -1;
    const int row = list.append({{QStringLiteral("Datupisa"), m_services.clock.today()}});
    if (row < 0) {
        fail(QStringLiteral("Novog pacijenta nije moguće upisati u %1:\r\n%2").arg(schema::kPatientFile, list.error()));
        return -1;
    }
    list.setCurrent(row);
    return row;
}

void PatientList::showCount()
{
    m_services.dialogs.message(QStringLiteral("Ukupan broj upisanih pacijenata je ")
                               + QString::number(m_patients->rowCount()));
}

bool PatientList::leaveField(const QString& field)
{
    RecordSet& list = *m_patients;
    if (list.current() < 0)
        return false;
    const int column = list.fieldIndex(field);
    if (column < 0 || column >= 12)
        return false;
    const QVariant v = list.field(field);
    if (!v.isNull()) {
        const QString upper = v.toString().toUpper();
        if (upper != v.toString())
            list.setField(field, upper);
    }
    bool filled = false;
    if (field.compare(QStringLiteral("JMBG"), Qt::CaseInsensitive) == 0 && isBlank(list.field(u"Datrodj"))) {
        if (const std::optional<QString> born = dateOfBirthFromJmbg(sqlvalue::toText(list.field(u"JMBG")))) {
            list.setField(u"Datrodj", *born);
            filled = true;
        }
    }
    save();
    return filled;
}

bool PatientList::save()
{
    if (!m_patients || m_patients->save(m_patients->current()))
        return true;
    fail(m_patients->error());
    return false;
}

std::optional<PatientList::Patient> PatientList::currentPatient() const
{
    if (!m_patients || m_patients->current() < 0)
        return std::nullopt;
    const RecordSet& list = *m_patients;
    return Patient{list.field(u"Broj").toLongLong(), sqlvalue::toText(list.field(u"prezime")),
                   sqlvalue::toText(list.field(u"ime")), sqlvalue::toText(list.field(u"Datrodj"))};
}

} // namespace patients
