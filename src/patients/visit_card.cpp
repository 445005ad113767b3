#include "visit_card.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "data/database.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/sql_values.h"

namespace patients {
namespace {

QString text(const QVariantMap& visit, const char* field)
{
    return sqlvalue::toText(visit.value(QString::fromLatin1(field))).trimmed();
}

// A value with the sign typed in the narrow box before it; a sign alone is
// nothing.
QString withSign(const QString& sign, const QString& value)
{
    return value.isEmpty() ? QString() : sign + value;
}

} // namespace

const QStringList& visitFields()
{
    static const QStringList fields = [] {
        QStringList f = {QStringLiteral("Anamneza"), QStringLiteral("Dg1"), QStringLiteral("Dg2"), QStringLiteral("Dg3"),
                         QStringLiteral("NormD"), QStringLiteral("NormS")};
        for (int i = 1; i <= 22; ++i)
            f << QStringLiteral("A%1").arg(i);
        f << QStringLiteral("KorD") << QStringLiteral("KorS") << QStringLiteral("Addbliz") << QStringLiteral("Komentar");
        for (int i = 42; i <= 47; ++i)
            f << QStringLiteral("A%1").arg(i);
        return f;
    }();
    return fields;
}

bool isSignField(const QString& field)
{
    static const QStringList signs = {QStringLiteral("A2"),  QStringLiteral("A6"),  QStringLiteral("A10"),
                                      QStringLiteral("A12"), QStringLiteral("A17"), QStringLiteral("A19")};
    return signs.contains(field, Qt::CaseInsensitive);
}

QString nextSign(const QString& sign)
{
    return sign == u"+" || sign.isEmpty() ? QStringLiteral("-") : QStringLiteral("+");
}

QString nextCorrectionKind(const QString& kind)
{
    if (kind.isEmpty())
        return QStringLiteral("naočale");
    if (kind == u"naočale")
        return QStringLiteral("kont. leće");
    if (kind == u"kont. leće")
        return QString();
    return kind;
}

bool EyeFindings::isEmpty() const
{
    return acuity.isEmpty() && sphere.isEmpty() && cylinder.isEmpty() && axis.isEmpty() && correctedAcuity.isEmpty()
        && correctionKind.isEmpty() && correction.isEmpty();
}

EyeFindings eyeFindings(const QVariantMap& v, bool rightEye)
{
    // The right eye's boxes come first on the card, the left eye's after
    // them: A1–A4 and A9–A15 for the right eye, A5–A8 and A16–A22 for the left.
    const int box2 = rightEye ? 1 : 5, box3 = rightEye ? 9 : 16;
    auto a = [&v](int n) { return sqlvalue::toText(v.value(QStringLiteral("A%1").arg(n))).trimmed(); };
    EyeFindings e;
    e.acuity = text(v, rightEye ? "NormD" : "NormS");
    if (e.acuity.isEmpty())
        e.acuity = !a(box3).isEmpty() ? a(box3) : a(box2);
    e.sphere = withSign(a(box3 + 1), a(box3 + 2));
    if (e.sphere.isEmpty())
        e.sphere = withSign(a(box2 + 1), a(box2 + 2));
    e.cylinder = withSign(a(box3 + 3), a(box3 + 4));
    e.axis = a(box3 + 5);
    e.correctedAcuity = !a(box3 + 6).isEmpty() ? a(box3 + 6) : a(box2 + 3);
    e.correctionKind = text(v, rightEye ? "KorDnkl" : "KorSnkl");
    e.correction = text(v, rightEye ? "KorD" : "KorS");
    return e;
}

QString refractionSummary(const QVariantMap& visit)
{
    QStringList lines;
    for (const bool right : {true, false}) {
        const EyeFindings e = eyeFindings(visit, right);
        QStringList parts;
        if (!e.sphere.isEmpty())
            parts << QStringLiteral("sph ") + e.sphere;
        if (!e.cylinder.isEmpty())
            parts << QStringLiteral("cyl ") + e.cylinder;
        if (!e.axis.isEmpty())
            parts << QStringLiteral("ax ") + e.axis;
        if (!e.correctedAcuity.isEmpty())
            parts << QStringLiteral("V = ") + e.correctedAcuity;
        if (!e.correctionKind.isEmpty() || !e.correction.isEmpty())
            parts << (e.correctionKind.isEmpty() ? QStringLiteral("cc") : e.correctionKind)
                    + (e.correction.isEmpty() ? QString() : QStringLiteral(" = ") + e.correction);
        if (!parts.isEmpty())
            lines << (right ? QStringLiteral("OD: ") : QStringLiteral("OS: ")) + parts.join(QStringLiteral("  "));
    }
    if (const QString add = text(visit, "Addbliz"); !add.isEmpty())
        lines << QStringLiteral("add +") + add + QStringLiteral(" Dsph");
    return lines.join(u'\n');
}

VisitCard::VisitCard(Database& db, Services services) : m_db(db), m_services(services)
{
    RecordSet::Query query;
    query.table = kVisitTable;
    query.columns = QStringList{QStringLiteral("Rbr"), QStringLiteral("Broj"), QStringLiteral("Datum")} + visitFields()
        + QStringList{QStringLiteral("KorDnkl"), QStringLiteral("KorSnkl")};
    query.whereField = QStringLiteral("Broj");
    query.whereValue = m_patient;
    // By date across the years (stored as ISO dates); visits of one day in
    // the order they were opened.
    query.orderBy = {{QStringLiteral("Datum")}, {QStringLiteral("Rbr")}};
    m_visits = std::make_unique<RecordSet>(m_db, query);
}

VisitCard::~VisitCard() { m_visits->saveAll(); }

bool VisitCard::load(qint64 patientNumber)
{
    if (!save())
        return false;
    m_patient = patientNumber;
    m_visits->setWhereValue(patientNumber);
    if (!m_visits->reload()) {
        m_services.dialogs.message(QStringLiteral("Ne mogu pročitati posjete pacijenta iz %1:\r\n%2")
                                       .arg(schema::kPatientFile, m_visits->error()));
        return false;
    }
    m_visits->moveLast();
    return true;
}

bool VisitCard::hasVisits() const { return m_visits->rowCount() > 0; }

bool VisitCard::select(int row)
{
    if (m_visits->setCurrent(row))
        return true;
    if (!m_visits->error().isEmpty())
        m_services.dialogs.message(m_visits->error());
    return false;
}

int VisitCard::addVisit()
{
    if (m_patient < 0)
        return -1;
    if (!m_services.dialogs.yesNo(QStringLiteral("Želite li otvoriti novu posjetu?"), QStringLiteral("Nova posjeta")))
        return -1;
    if (!save())
        return -1;
    const int row = m_visits->append({{QStringLiteral("Broj"), m_patient}, {QStringLiteral("Datum"), m_services.clock.today()}});
    if (row < 0) {
        m_services.dialogs.message(QStringLiteral("Novu posjetu nije moguće upisati u %1:\r\n%2")
                                       .arg(schema::kPatientFile, m_visits->error()));
        return -1;
    }
    m_visits->setCurrent(row);
    return row;
}

bool VisitCard::save()
{
    if (m_visits->save(m_visits->current()))
        return true;
    m_services.dialogs.message(m_visits->error());
    return false;
}

bool VisitCard::toggleSign(const QString& field)
{
    if (m_visits->current() < 0 || !isSignField(field))
        return false;
    return m_visits->setField(field, nextSign(sqlvalue::toText(m_visits->field(field))));
}

bool VisitCard::cycleCorrectionKind(const QString& field)
{
    if (m_visits->current() < 0)
        return false;
    return m_visits->setField(field, nextCorrectionKind(sqlvalue::toText(m_visits->field(field))));
}

QVariantMap VisitCard::currentVisit() const { return m_visits->currentRow(); }

std::optional<QVariantMap> VisitCard::previousVisit() const
{
    const int row = m_visits->current();
    if (row <= 0)
        return std::nullopt;
    QVariantMap previous;
    for (int c = 0; c < m_visits->columnCount(); ++c)
        previous.insert(m_visits->fieldNames().at(c), m_visits->value(row - 1, c));
    return previous;
}

} // namespace patients
