#include "conversion.h"

#include "access_file.h"

#include "common/working_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <optional>

namespace accessdb {
namespace {

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

// The rows of each table of the new file, or nothing when it cannot be read.
std::optional<std::map<QString, qint64>> countRows(const QString& path, const QStringList& tables)
{
    std::map<QString, qint64> counts;
    const QString connection = QStringLiteral("access-check-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        ok = db.open();
        for (const QString& table : tables) {
            if (!ok)
                break;
            QSqlQuery query(db);
            ok = query.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(QString(table).replace(u'"', QStringLiteral("\"\""))))
                 && query.next();
            if (ok)
                counts[table] = query.value(0).toLongLong();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok)
        return std::nullopt;
    return counts;
}

bool syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString Conversion::defaultProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kelmorin-access-convert");
}

bool Conversion::fail(const QString& source, const QString& reason)
{
    m_error = QStringLiteral("Datoteka %1 se ne može pretvoriti: %2.\r\n"
                             "Nova datoteka nije napravljena; izvorna datoteka ostaje kakva je.")
                  .arg(fileName(source), reason);
    return false;
}

bool Conversion::run(const QString& source, const QString& target, const Listener& listener)
{
    m_error.clear();
    m_tables.clear();
    if (!QFileInfo(source).isFile())
        return fail(source, QStringLiteral("datoteka ne postoji"));
    switch (formatOf(source)) {
    case Format::NotAccess:
        return fail(source, QStringLiteral("to nije baza podataka u formatu Access (ili se ne može pročitati)"));
    case Format::Newer:
        return fail(source, QStringLiteral("baza je u novijem formatu Access (accdb), koji se ne pretvara"));
    default:
        break;
    }
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        m_error = QStringLiteral("Datoteka %1 već postoji; pretvorba je ne mijenja.").arg(QDir::toNativeSeparators(target));
        return false;
    }
    const QStringList journals = workdir::journalsBeside(target);
    if (!journals.isEmpty()) {
        m_error = workdir::journalRefusal(target, journals);
        return false;
    }

    // The new file grows under a temporary name beside the target.
    QTemporaryFile temporary(targetInfo.absolutePath() + u'/' + u'.' + targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return fail(source, QStringLiteral("u mapi %1 se ne može pisati (%2)")
                                .arg(QDir::toNativeSeparators(targetInfo.absolutePath()), temporary.errorString()));
    temporary.close();
    const QString temporaryPath = temporary.fileName();

    QProcess process;
    process.setProgram(m_program);
    process.setArguments({QFileInfo(source).absoluteFilePath(), temporaryPath});
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(30000))
        return fail(source, QStringLiteral("program za pretvorbu %1 se ne može pokrenuti (%2)")
                                .arg(QDir::toNativeSeparators(m_program), process.errorString()));

    std::map<QString, qint64> expected;
    QStringList order;
    bool done = false;
    QElapsedTimer silence;
    silence.start();
    QByteArray pending;
    const auto readLines = [&] {
        pending += process.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            silence.restart();
            if (line.startsWith("TABLES ")) {
                const QList<QByteArray> parts = line.split(' ');
                if (listener.started && parts.size() >= 3)
                    listener.started(parts[1].toInt(), parts[2].toLongLong());
            } else if (line.startsWith("TABLE ")) {
                const qsizetype space = line.indexOf(' ', 6);
                if (space > 0) {
                    const QString name = QString::fromUtf8(line.mid(space + 1));
                    expected[name] = line.mid(6, space - 6).toLongLong();
                    order << name;
                    if (listener.table)
                        listener.table(name);
                }
            } else if (line.startsWith("ROWS ")) {
                if (listener.rows)
                    listener.rows(line.mid(5).toLongLong());
            } else if (line == "DONE") {
                done = true;
            }
        }
    };
    bool stuck = false;
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning)
            break;
        readLines();
        if (listener.rows)
            listener.rows(-1);
        if (silence.elapsed() > m_silenceLimit) {
            stuck = true;
            process.kill();
            process.waitForFinished(5000);
            break;
        }
    }
    readLines();
    const QString reason = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (stuck)
        return fail(source, QStringLiteral("pretvorba je zastala, datoteka je vjerojatno oštećena"));
    if (process.exitStatus() == QProcess::CrashExit)
        return fail(source, QStringLiteral("datoteka je oštećena (pretvorba se prekinula)"));
    if (process.exitCode() != 0 || !done)
        return fail(source, reason.isEmpty() ? QStringLiteral("datoteka je oštećena") : reason);

    // The converter's own count of each table, from the source, against
    // what the new file holds.
    const auto counts = countRows(temporaryPath, order);
    if (!counts)
        return fail(source, QStringLiteral("nova datoteka se ne može pročitati"));
    for (const QString& table : order) {
        if (counts->at(table) != expected.at(table))
            return fail(source, QStringLiteral("u tablici %1 izvorna datoteka ima %2 redaka, a nova %3")
                                    .arg(table).arg(expected.at(table)).arg(counts->at(table)));
    }
    if (!syncFile(temporaryPath))
        return fail(source, QStringLiteral("nova datoteka se ne može spremiti na disk"));
    // A rename never replaces: a target that appeared meanwhile is kept.
    if (QFileInfo::exists(target) || !workdir::journalsBeside(target).isEmpty() || !temporary.rename(target))
        return fail(source, QStringLiteral("nova datoteka ne može dobiti ime %1").arg(QDir::toNativeSeparators(target)));
    temporary.setAutoRemove(false);
    syncFolder(targetInfo.absolutePath());
    m_tables = order;
    return true;
}

ReadableCopy::ReadableCopy(const QString& path, const QString& program) : m_path(path)
{
    if (!isAccessFile(path))
        return;
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        m_error = QStringLiteral("Ne mogu napraviti privremenu mapu za pretvorbu datoteke %1: %2")
                      .arg(fileName(path), m_dir->errorString());
        return;
    }
    m_path = m_dir->filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".sqlite"));
    Conversion conversion(program);
    if (!conversion.run(path, m_path))
        m_error = conversion.error();
}

ReadableCopy::~ReadableCopy() = default;

} // namespace accessdb
