#include "upgrade_chain.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "common/text_file.h"
#include "common/working_folder.h"
#include "database.h"
#include "schema.h"
#include "table_ops.h"

#include <QFile>

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

const Step* Chain::newestMarkedStep() const
{
    const Step* newest = nullptr;
    bool counting = false;
    for (const Step& step : steps()) {
        counting = counting || step.id == kFirstCountedStep;
        if (counting && m_platform.fileExists(markerName(step.id)))
            newest = &step;
    }
    return newest;
}

QStringList Chain::pendingSteps() const
{
    QStringList ids;
    const Step* newest = newestMarkedStep();
    bool after = false;
    bool counting = false;
    for (const Step& step : steps()) {
        counting = counting || step.id == kFirstCountedStep;
        if (newest) {
            if (after)
                ids << step.id;
            after = after || &step == newest;
        } else if (counting) {
            ids << step.id;
        } else {
            const QString marker = step.id == u"050207" ? kOldestMarker : markerName(step.id);
            if (!m_platform.fileExists(marker))
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

bool Chain::run()
{
    if (!newestMarkedStep() && !runPreliminaries())
        return false;
    const QStringList pending = pendingSteps();
    for (const Step& step : steps()) {
        if (pending.contains(step.id) && !runStep(step))
            return false;
    }
    return true;
}

namespace {

// Older installations kept their invoice layouts in Osndop.inm: its rows
// replace those of Kelmorin.mdb, column by column after the key.
bool copyLegacyLayouts(Database& source, Database& target, QString* error)
{
    for (const QString& table : {QStringLiteral("Osnovno"), QStringLiteral("Dopunsko")}) {
        if (!target.exec(QStringLiteral("DELETE FROM \"%1\"").arg(table))) {
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
            Database source(osndop, Database::Mode::ReadOnly);
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
        if (!pacor.isEmpty())
            QFile::copy(pacor, schema::kPatientFile);
    }
    return true;
}

bool Chain::runStep(const Step& step)
{
    QString package;
    if (!step.package.isEmpty()) {
        package = m_platform.findFile(step.package);
        if (package.isEmpty())
            return stop(QStringLiteral("Nedostaje datoteka nadogradnje %1 u mapi %2.\r\n"
                                       "Baza podataka nije nadograđena; program se zatvara.")
                            .arg(step.package, workdir::displayPath()));
    }
    {
        Database target(schema::kInvoiceFile);
        if (!target.isOpen())
            return stop(stepFailedMessage(step.id, target.error()));
        std::unique_ptr<Database> source;
        if (!package.isEmpty()) {
            source = std::make_unique<Database>(package, Database::Mode::ReadOnly);
            if (!source->isOpen())
                return stop(stepFailedMessage(step.id, source->error()));
        }
        StepContext ctx(target, source.get(), m_platform);
        Transaction tx(target);
        if (!tx.isActive() || !step.work(ctx))
            return stop(stepFailedMessage(step.id, ctx.error().isEmpty() ? target.error() : ctx.error()));
        if (!tx.commit())
            return stop(stepFailedMessage(step.id, target.error()));
    }
    if (step.messageBeforeMarker && !step.message.isEmpty())
        m_dialogs.message(step.message);
    if (!writeMarker(step))
        return false;
    if (!step.messageBeforeMarker && !step.message.isEmpty())
        m_dialogs.message(step.message);
    if (step.registerFileTypes)
        m_platform.registerSubmissionFileTypes();
    return true;
}

bool Chain::writeMarker(const Step& step)
{
    TextFileWriter marker;
    QString name;
    if (step.id == u"050207") {
        name = kOldestMarker;
        marker.writeLine(QStringLiteral("Nadogradnja 050207 ") + m_clock.now().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    } else {
        name = markerName(step.id);
        marker.writeLine(m_clock.now().toString(QStringLiteral("ddMMyyHHmmss")) + step.markerSuffix);
    }
    QString error;
    if (!marker.save(name, &error))
        return stop(QStringLiteral("Ne mogu zapisati datoteku %1 u mapi %2:\r\n%3\r\nProgram se zatvara.")
                        .arg(name, workdir::displayPath(), error));
    return true;
}

} // namespace upgrade
