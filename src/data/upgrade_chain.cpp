#include "upgrade_chain.h"

#include "access/conversion.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "common/text_file.h"
#include "common/working_folder.h"
#include "database.h"
#include "schema.h"
#include "table_ops.h"
#include "sql_values.h"

#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace upgrade {

// ---- StepContext -----------------------------------------------------------

bool StepContext::failed()
{
    if (m_error.isEmpty())
        m_error = m_target.error();
    return false;
}

bool StepContext::exec(const QString& sql, const QVariantList& binds)
{
    return m_target.exec(sql, binds) || failed();
}

bool StepContext::drop(const QString& table) { return tableops::dropTable(m_target, table) || failed(); }

bool StepContext::import(const QString& table)
{
    return tableops::importTable(*m_package, m_target, table, &m_error);
}

bool StepContext::rename(const QString& from, const QString& to)
{
    return tableops::renameTable(m_target, from, to) || failed();
}

void StepContext::renameIfPresent(const QString& from, const QString& to)
{
    tableops::renameTable(m_target, from, to);
}

bool StepContext::replaceKeepingBackup(const QString& table, const QString& backupName)
{
    return rename(table, backupName) && import(table);
}

bool StepContext::addGuarded(const QString& table, int count, const QString& column, const QString& type)
{
    return tableops::addColumnWithCountGuard(m_target, table, count, column, type) || failed();
}

bool StepContext::widen(const QString& table, const QString& column, int width)
{
    return tableops::widenTextColumn(m_target, table, column, width) || failed();
}

bool StepContext::addColumn(const QString& table, const QString& column, const QString& type)
{
    return tableops::addColumnIfMissing(m_target, table, column, type) || failed();
}

// ---- Chain -----------------------------------------------------------------

namespace {

const QString kFirstCountedStep = QStringLiteral("140110");

QString stepFailedMessage(const QString& id, const QString& reason)
{
    return QStringLiteral("Nadogradnja baze podataka (korak %1) nije uspjela:\r\n%2\r\n"
                          "Baza podataka je ostala kakva je bila; program se zatvara.")
        .arg(id, reason);
}

} // namespace

Chain::Chain(Dialogs& dialogs, Clock& clock, Platform& platform)
    : m_dialogs(dialogs), m_clock(clock), m_platform(platform)
{
}

std::optional<QStringList> Chain::recordedSteps(QString* error) const
{
    if (!m_platform.fileExists(schema::kInvoiceFile))
        return std::nullopt;
    // Read-write, under the folder's lock that the caller holds: a journal
    // left by a program stopped half-way is rolled back here, before the
    // database is judged by what it holds.
    Database db(schema::kInvoiceFile);
    if (!db.isOpen()) {
        *error = db.error();
        return std::nullopt;
    }
    if (!db.isSound(error))
        return std::nullopt;
    const QString count = QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    const QVariant generalData = db.scalar(count, {QStringLiteral("Opci")});
    if (!generalData.isValid()) {
        *error = db.error();
        return std::nullopt;
    }
    // Every release's database has its general data; a file without them
    // (empty, or another program's) is no database of this program.
    if (generalData.toInt() == 0) {
        *error = QStringLiteral("%1 nije baza podataka ovog programa (u njoj nema tablice Opci).").arg(schema::kInvoiceFile);
        return std::nullopt;
    }
    const QVariant record = db.scalar(count, {kAppliedTable});
    if (!record.isValid()) {
        *error = db.error();
        return std::nullopt;
    }
    if (record.toInt() == 0)
        return std::nullopt;
    QStringList ids;
    QSqlQuery query(db.handle());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT Korak FROM %1").arg(kAppliedTable))) {
        *error = query.lastError().databaseText().isEmpty() ? query.lastError().text() : query.lastError().databaseText();
        return std::nullopt;
    }
    while (query.next())
        ids << query.value(0).toString();
    if (query.lastError().isValid()) {
        *error = query.lastError().databaseText().isEmpty() ? query.lastError().text() : query.lastError().databaseText();
        return std::nullopt;
    }
    return ids;
}

bool Chain::isApplied(const Step& step, const std::optional<QStringList>& recorded) const
{
    if (recorded)
        return recorded->contains(step.id);
    return m_platform.fileExists(step.id == u"050207" ? kOldestMarker : markerName(step.id));
}

const Step* Chain::newestAppliedStep(const std::optional<QStringList>& recorded) const
{
    const Step* newest = nullptr;
    bool counting = false;
    for (const Step& step : steps()) {
        counting = counting || step.id == kFirstCountedStep;
        if (counting && isApplied(step, recorded))
            newest = &step;
    }
    return newest;
}

QStringList Chain::pendingSteps() const
{
    QString error;
    const std::optional<QStringList> recorded = recordedSteps(&error);
    return error.isEmpty() ? pendingSteps(recorded) : QStringList();
}

QStringList Chain::pendingSteps(const std::optional<QStringList>& recorded) const
{
    QStringList ids;
    const Step* newest = newestAppliedStep(recorded);
    bool after = false;
    bool counting = false;
    for (const Step& step : steps()) {
        counting = counting || step.id == kFirstCountedStep;
        if (newest) {
            if (after)
                ids << step.id;
            after = after || &step == newest;
        } else if (counting || !isApplied(step, recorded)) {
            ids << step.id;
        }
    }
    return ids;
}

bool Chain::stop(const QString& message)
{
    m_dialogs.message(message);
    return false;
}

namespace {

Checkpoint& checkpoint()
{
    static Checkpoint current;
    return current;
}

void reach(const QString& id, Instant instant)
{
    if (checkpoint())
        checkpoint()(id, instant);
}

QString stamp(const QDateTime& when) { return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

} // namespace

bool Chain::repairMarkers(const QStringList& recorded)
{
    // Markers lost after the newest one present (a stop between a step and
    // its marker) are written again; a new folder keeps only the marker of
    // the release it was made at.
    auto markerOf = [](const Step& step) { return step.id == u"050207" ? kOldestMarker : markerName(step.id); };
    qsizetype newestMarker = -1;
    for (qsizetype i = 0; i < qsizetype(steps().size()); ++i) {
        if (m_platform.fileExists(markerOf(steps()[size_t(i)])))
            newestMarker = i;
    }
    // With no marker left at all, the newest recorded step's marker alone
    // says what the folder holds.
    qsizetype newestRecorded = -1;
    for (qsizetype i = 0; i < qsizetype(steps().size()); ++i) {
        if (recorded.contains(steps()[size_t(i)].id))
            newestRecorded = i;
    }
    const qsizetype from = newestMarker >= 0 ? newestMarker + 1 : newestRecorded;
    Database db(schema::kInvoiceFile, Database::Mode::ReadOnly);
    for (qsizetype i = std::max<qsizetype>(from, 0); i < qsizetype(steps().size()); ++i) {
        const Step& step = steps()[size_t(i)];
        if (!recorded.contains(step.id) || m_platform.fileExists(markerOf(step)))
            continue;
        const QString when = db.scalar(QStringLiteral("SELECT Primijenjeno FROM %1 WHERE Korak = ?").arg(kAppliedTable),
                                       {step.id})
                                 .toString();
        if (!writeMarker(step.id, when, step.markerSuffix))
            return false;
    }
    return true;
}

bool Chain::run()
{
    QString error;
    const std::optional<QStringList> recorded = recordedSteps(&error);
    if (!error.isEmpty())
        return stop(QStringLiteral("Ne mogu pročitati koji su koraci nadogradnje primijenjeni na %1 u mapi %2:\r\n%3\r\n"
                                   "Ništa nije promijenjeno; program se zatvara.")
                        .arg(schema::kInvoiceFile, workdir::displayPath(), error));
    if (recorded && !repairMarkers(*recorded))
        return false;
    if (!newestAppliedStep(recorded) && !runPreliminaries())
        return false;
    const QStringList pending = pendingSteps(recorded);
    // What an older folder's markers say is applied goes into the table
    // together with the first step that runs.
    QStringList applied;
    for (const Step& step : steps()) {
        if (!pending.contains(step.id))
            applied << step.id;
    }
    for (const Step& step : steps()) {
        if (pending.contains(step.id) && !runStep(step, applied))
            return false;
        if (pending.contains(step.id))
            applied << step.id;
    }
    return true;
}

namespace {

// Older installations kept their invoice layouts in Osndop.inm: its rows
// replace those of Kelmorin.mdb, column by column after the key.
bool copyLegacyLayouts(Database& source, Database& target, QString* error)
{
    for (const QString& table : {QStringLiteral("Osnovno"), QStringLiteral("Dopunsko")}) {
        if (!target.exec(QStringLiteral("DELETE FROM %1").arg(sqlvalue::quotedName(table)))) {
            *error = target.error();
            return false;
        }
        if (!tableops::copyRowsByPosition(source, table, target, table, 1, 8, error))
            return false;
    }
    return true;
}

} // namespace

bool Chain::runPreliminaries()
{
    const QString osndop = m_platform.findFile(QStringLiteral("Osndop.inm"));
    if (!osndop.isEmpty()) {
        QString error;
        {
            const accessdb::ReadableCopy readable(osndop);
            if (!readable.ok())
                return stop(stepFailedMessage(QStringLiteral("Osndop.inm"), readable.error()));
            Database source(readable.path(), Database::Mode::ReadOnly);
            Database target(schema::kInvoiceFile);
            if (!source.isOpen() || !target.isOpen())
                error = source.isOpen() ? target.error() : source.error();
            else {
                Transaction tx(target);
                if (copyLegacyLayouts(source, target, &error) && !tx.commit())
                    error = target.error();
            }
        }
        if (!error.isEmpty())
            return stop(stepFailedMessage(QStringLiteral("Osndop.inm"), error));
        QFile::remove(osndop);
    }
    if (!m_platform.fileExists(schema::kPatientFile)) {
        const QString pacor = m_platform.findFile(QStringLiteral("Pacor.inm"));
        QString error;
        // An empty patient database in the Access format is copied as its
        // converted copy.
        std::optional<accessdb::ReadableCopy> readable;
        if (!pacor.isEmpty()) {
            readable.emplace(pacor);
            if (!readable->ok())
                return stop(stepFailedMessage(QStringLiteral("Pacor.inm"), readable->error()));
        }
        if (!pacor.isEmpty() && !textfile::copyWhole(readable->path(), schema::kPatientFile, &error))
            return stop(stepFailedMessage(QStringLiteral("Pacor.inm"), error));
    }
    return true;
}

bool Chain::runStep(const Step& step, const QStringList& alreadyApplied)
{
    QString package;
    if (!step.package.isEmpty()) {
        package = m_platform.findFile(step.package);
        if (package.isEmpty())
            return stop(QStringLiteral("Nedostaje datoteka nadogradnje %1 u mapi %2.\r\n"
                                       "Baza podataka nije nadograđena; program se zatvara.")
                            .arg(step.package, workdir::displayPath()));
    }
    const QString when = stamp(m_clock.now());
    {
        Database target(schema::kInvoiceFile);
        if (!target.isOpen())
            return stop(stepFailedMessage(step.id, target.error()));
        // A package in the Access format is read from its converted copy.
        std::optional<accessdb::ReadableCopy> readable;
        std::unique_ptr<Database> source;
        if (!package.isEmpty()) {
            readable.emplace(package);
            if (!readable->ok())
                return stop(stepFailedMessage(step.id, readable->error()));
            source = std::make_unique<Database>(readable->path(), Database::Mode::ReadOnly);
            if (!source->isOpen())
                return stop(stepFailedMessage(step.id, source->error()));
        }
        StepContext ctx(target, source.get(), m_platform);
        Transaction tx(target);
        if (!tx.isActive() || !step.work(ctx)
            || !recordApplied(target, QStringList(alreadyApplied) << step.id, when))
            return stop(stepFailedMessage(step.id, ctx.error().isEmpty() ? target.error() : ctx.error()));
        reach(step.id, Instant::Worked);
        if (!tx.commit())
            return stop(stepFailedMessage(step.id, target.error()));
    }
    reach(step.id, Instant::Committed);
    if (step.messageBeforeMarker && !step.message.isEmpty())
        m_dialogs.message(step.message);
    if (!writeMarker(step.id, when, step.markerSuffix))
        return false;
    reach(step.id, Instant::Marked);
    if (!step.messageBeforeMarker && !step.message.isEmpty())
        m_dialogs.message(step.message);
    if (step.registerFileTypes)
        m_platform.registerSubmissionFileTypes();
    return true;
}

bool Chain::writeMarker(const QString& id, const QString& when, const QString& suffix)
{
    QDateTime at = QDateTime::fromString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!at.isValid())
        at = m_clock.now();
    TextFileWriter marker;
    QString name;
    if (id == u"050207") {
        name = kOldestMarker;
        marker.writeLine(QStringLiteral("Nadogradnja 050207 ") + at.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    } else {
        name = markerName(id);
        marker.writeLine(at.toString(QStringLiteral("ddMMyyHHmmss")) + suffix);
    }
    QString error;
    if (!marker.save(name, &error))
        return stop(QStringLiteral("Ne mogu zapisati datoteku %1 u mapi %2:\r\n%3\r\nProgram se zatvara.")
                        .arg(name, workdir::displayPath(), error));
    return true;
}

void setCheckpoint(Checkpoint checkpointAt) { checkpoint() = std::move(checkpointAt); }

bool recordApplied(Database& db, const QStringList& ids, const QString& when)
{
    if (!db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (Korak TEXT PRIMARY KEY, Primijenjeno TEXT)")
                     .arg(kAppliedTable)))
        return false;
    for (const QString& id : ids) {
        if (!db.exec(QStringLiteral("INSERT OR IGNORE INTO %1 (Korak, Primijenjeno) VALUES (?, ?)").arg(kAppliedTable),
                     {id, when}))
            return false;
    }
    return true;
}

QStringList allStepIds()
{
    QStringList ids;
    for (const Step& step : steps())
        ids << step.id;
    return ids;
}

} // namespace upgrade
