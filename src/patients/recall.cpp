#include "recall.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/formats.h"
#include "common/working_folder.h"
#include "data/croatian_collation.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/sql_values.h"
#include "reports/report_writer.h"

#include <QDir>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>

namespace patients {
namespace {

constexpr int kMaxMonths = 1200;

// The months typed: a whole number from 1 to 1200.
std::optional<int> readMonths(const QString& text)
{
    bool ok = false;
    const int months = text.trimmed().toInt(&ok);
    if (!ok || months < 1 || months > kMaxMonths)
        return std::nullopt;
    return months;
}

const QString kMonthsMessage = QStringLiteral("Broj mjeseci mora biti cijeli broj od 1 do 1200!");

void readFailed(QString* error, const QSqlQuery& query)
{
    if (error)
        *error = QStringLiteral("Ne mogu pročitati registar pacijenata %1:\r\n%2")
                     .arg(schema::kPatientFile, query.lastError().text());
}

// The report file in the working folder, written whole.
bool saveReport(const QByteArray& bytes, QString* path, QString* error)
{
    *path = QDir::current().absoluteFilePath(ReportWriter::kFileName);
    QString reason;
    if (textfile::writeWhole(*path, bytes, &reason))
        return true;
    *error = QStringLiteral("Izvješće nije moguće snimiti u datoteku ") + *path + QStringLiteral(":\r\n") + reason;
    return false;
}

} // namespace

std::optional<std::vector<RecallEntry>> dueForCheck(Database& db, const QDate& today, int months, QString* error)
{
    // The last visit of each patient; a date that cannot be read counts as
    // no visit.
    QHash<qint64, QDate> last;
    QSqlQuery visits(db.handle());
    visits.setForwardOnly(true);
    if (!visits.exec(QStringLiteral("SELECT Broj, Datum FROM Nalazi"))) {
        readFailed(error, visits);
        return std::nullopt;
    }
    while (visits.next()) {
        const QDate date = sqlvalue::toDate(visits.value(1));
        if (!date.isValid())
            continue;
        QDate& known = last[visits.value(0).toLongLong()];
        if (!known.isValid() || date > known)
            known = date;
    }
    const QDate limit = today.addMonths(-months);
    std::vector<RecallEntry> due;
    QSqlQuery patients(db.handle());
    patients.setForwardOnly(true);
    if (!patients.exec(QStringLiteral("SELECT Broj, prezime, ime, JMBG, Datrodj, Telefon, Ulica, Postbr, Mjesto FROM Popis"))) {
        readFailed(error, patients);
        return std::nullopt;
    }
    while (patients.next()) {
        auto text = [&patients](int i) { return sqlvalue::toText(patients.value(i)).trimmed(); };
        // A row a new patient left empty is nobody to call.
        if (text(1).isEmpty() && text(2).isEmpty() && text(3).isEmpty())
            continue;
        RecallEntry e;
        e.number = patients.value(0).toLongLong();
        e.lastVisit = last.value(e.number);
        if (e.lastVisit.isValid() && e.lastVisit > limit)
            continue;
        e.surname = text(1);
        e.name = text(2);
        e.born = text(4);
        e.phone = text(5);
        e.street = text(6);
        e.postcode = text(7);
        e.town = text(8);
        due.push_back(std::move(e));
    }
    std::sort(due.begin(), due.end(), [](const RecallEntry& a, const RecallEntry& b) {
        if (a.lastVisit.isValid() != b.lastVisit.isValid())
            return a.lastVisit.isValid();
        if (a.lastVisit != b.lastVisit)
            return a.lastVisit < b.lastVisit;
        if (const int c = croatian::compare(a.surname, b.surname))
            return c < 0;
        if (const int c = croatian::compare(a.name, b.name))
            return c < 0;
        return a.number < b.number;
    });
    return due;
}

QByteArray recallReport(const std::vector<RecallEntry>& due, const QDate& today, int months)
{
    ReportWriter w;
    w.line(QStringLiteral("Pacijenti za kontrolu: od zadnje posjete prošlo je najmanje %1 mj. (na dan %2)")
               .arg(months)
               .arg(format::shortDate(today)));
    w.line();
    w.at(1, QStringLiteral("Šifra"));
    w.at(8, QStringLiteral("Prezime i ime"));
    w.at(38, QStringLiteral("Datum rođ."));
    w.at(51, QStringLiteral("Telefon"));
    w.at(67, QStringLiteral("Zadnja posjeta"));
    w.endLine();
    w.line();
    for (const RecallEntry& e : due) {
        w.numberAt(1, double(e.number));
        w.at(8, QString(e.surname + u' ' + e.name).trimmed());
        w.at(38, e.born);
        w.at(51, e.phone);
        if (e.lastVisit.isValid())
            w.dateAt(67, e.lastVisit);
        else
            w.at(67, QStringLiteral("bez posjete"));
        w.endLine();
        const QString place = QString(e.postcode + u' ' + e.town).trimmed();
        const QString address =
            e.street.isEmpty() || place.isEmpty() ? QString(e.street + place) : QString(e.street + QStringLiteral(", ") + place);
        if (!address.isEmpty()) {
            w.at(8, address);
            w.endLine();
        }
    }
    w.line();
    w.at(8, QStringLiteral("Ukupno pacijenata za kontrolu: %1").arg(due.size()));
    w.endLine();
    return w.bytes();
}

RecallCommand::RecallCommand(Database& db, Services services, Viewer viewer)
    : m_db(db), m_services(services), m_viewer(std::move(viewer))
{
}

QString RecallCommand::run()
{
    const QString answer = m_services.dialogs.input(QStringLiteral("Pacijenti za kontrolu"),
                                                    QStringLiteral("Koliko je mjeseci prošlo od zadnje posjete?"),
                                                    QStringLiteral("24"));
    if (answer.isEmpty())
        return {};
    const std::optional<int> months = readMonths(answer);
    if (!months) {
        m_services.dialogs.message(kMonthsMessage);
        return {};
    }
    const QDate today = m_services.clock.today();
    QString error, path;
    const auto due = dueForCheck(m_db, today, *months, &error);
    if (!due || !saveReport(recallReport(*due, today, *months), &path, &error)) {
        m_services.dialogs.message(error);
        return {};
    }
    if (m_viewer)
        m_viewer(path);
    return path;
}

int runRecallTool(const QStringList& options, QTextStream& out, QTextStream& err)
{
    int months = 24;
    if (!options.isEmpty()) {
        if (options.size() != 2 || options.first() != u"--months")
            return 2;
        const std::optional<int> typed = readMonths(options.at(1));
        if (!typed) {
            err << QString(kMonthsMessage).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
            return 1;
        }
        months = *typed;
    }
    const QString file = workdir::findFileNoCase(schema::kPatientFile);
    if (file.isEmpty()) {
        err << QStringLiteral("U radnoj mapi %1 nema datoteke %2 s registrom pacijenata.\n")
                   .arg(workdir::displayPath(), schema::kPatientFile);
        return 1;
    }
    Database db(file, Database::Mode::ReadOnly);
    QString error, path;
    std::optional<std::vector<RecallEntry>> due;
    if (!db.isOpen())
        error = QStringLiteral("Ne mogu otvoriti registar pacijenata %1:\r\n%2").arg(schema::kPatientFile, db.error());
    else
        due = dueForCheck(db, QDate::currentDate(), months, &error);
    if (!due || !saveReport(recallReport(*due, QDate::currentDate(), months), &path, &error)) {
        err << error.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        return 1;
    }
    out << path << '\n';
    return 0;
}

} // namespace patients
