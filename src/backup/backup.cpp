#include "backup.h"

#include "common/text_file.h"
#include "data/database.h"
#include "data/general_record.h"
#include "data/upgrade_chain.h"
#include "data/schema.h"
#include "data/sql_values.h"
#include "data/statement.h"
#include "common/working_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <set>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace backup {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kStaged = QStringLiteral(".vracanje");
const QString kRestoreRecord = QStringLiteral("Kelmorin.vracanje");

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

QString copyName(const QString& database, const QDateTime& stamp)
{
    return QFileInfo(database).completeBaseName() + u'-' + stamp.toString(kStampFormat) + QStringLiteral(".mdb");
}

// The folder's entry is on the disk once the folder itself is flushed.
void syncFolder(const QString& path)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// Replaces `to` by `from` in one step: a reader sees the one file or the other.
bool replaceFile(const QString& from, const QString& to, QString* error)
{
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), ec);
    if (ec) {
        if (error)
            *error = QStringLiteral("Datoteku %1 nije moguće preimenovati u %2: %3")
                         .arg(native(from), native(to), QString::fromLocal8Bit(ec.message().c_str()));
        return false;
    }
    return true;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

QStringList tablesOf(Database& db)
{
    QStringList tables;
    Statement names(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    while (names.next())
        tables << names.text(0);
    return tables;
}

bool countRows(Database& db, RowCounts& counts, QString* error)
{
    counts.clear();
    for (const QString& table : tablesOf(db)) {
        const QVariant n = db.scalar(QStringLiteral("SELECT count(*) FROM ") + sqlvalue::quotedName(table));
        if (!n.isValid())
            return fail(error, QStringLiteral("Tablicu %1 nije moguće pročitati: %2").arg(table, db.error()));
        counts[table] = n.toLongLong();
    }
    return true;
}

QString engineReason(int code, const QString& text)
{
    if (code == SQLITE_FULL)
        return QStringLiteral("Na disku nema dovoljno mjesta.");
    return text;
}

QList<Copy> listIn(const QDir& archive)
{
    static const QRegularExpression pattern(QStringLiteral("^Kelmorin-(\\d{8}-\\d{6})\\.mdb$"));
    QList<Copy> copies;
    const QStringList names = archive.entryList({QStringLiteral("Kelmorin-*.mdb")}, QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        const QDateTime stamp = QDateTime::fromString(m.captured(1), kStampFormat);
        if (!stamp.isValid())
            continue;
        const QString patients = archive.filePath(QStringLiteral("Pac-") + m.captured(1) + QStringLiteral(".mdb"));
        copies.append({stamp, archive.absoluteFilePath(name), QFileInfo(patients).isFile() ? QFileInfo(patients).absoluteFilePath() : QString()});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) { return a.stamp > b.stamp; });
    return copies;
}

// A pair goes as a unit: the invoice copy first, so that a pair interrupted
// half-way is no longer listed.
void removeCopies(const QDir& archive, const QDateTime& now)
{
    const QList<Copy> copies = listIn(archive);
    QList<QDateTime> stamps;
    for (const Copy& c : copies)
        stamps << c.stamp;
    const QList<QDateTime> gone = toRemove(stamps, now);
    for (const Copy& c : copies) {
        if (!gone.contains(c.stamp))
            continue;
        if (QFile::remove(c.invoiceFile) && !c.patientFile.isEmpty())
            QFile::remove(c.patientFile);
    }
}

void removeLeftovers(const QDir& archive)
{
    for (const QString& name : archive.entryList({QStringLiteral(".*.tmp"), QStringLiteral(".*.tmp-journal")},
                                                 QDir::Files | QDir::Hidden))
        QFile::remove(archive.filePath(name));
}

QStringList databasesOf(const QDir& folder)
{
    QStringList files;
    // The patient copy first: the invoice copy's name marks a whole pair.
    if (QFileInfo(folder.filePath(schema::kPatientFile)).isFile())
        files << schema::kPatientFile;
    files << schema::kInvoiceFile;
    return files;
}

// Copies a finished pair into the second place, patients first.
bool copyToSecondPlace(const Copy& copy, const QString& place, const QDateTime& now, QString* error)
{
    const QDir target(place);
    if (place.isEmpty() || !target.exists())
        return fail(error, QStringLiteral("Drugo mjesto za arhive (%1) nije dostupno; arhiva je samo u mapi %2.")
                               .arg(native(place), kFolder));
    // The same folder twice would copy each file onto itself.
    if (target.canonicalPath() == QFileInfo(copy.invoiceFile).canonicalPath())
        return fail(error, QStringLiteral("Drugo mjesto za arhive mora biti druga mapa, ne mapa %1.").arg(kFolder));
    for (const QString& file : {copy.patientFile, copy.invoiceFile}) {
        if (file.isEmpty())
            continue;
        const QString to = target.filePath(QFileInfo(file).fileName());
        QString reason;
        if (!textfile::copyWhole(file, to, &reason))
            return fail(error, QStringLiteral("Arhiva nije kopirana na drugo mjesto (%1): %2").arg(native(place), reason));
    }
    removeCopies(target, now);
    return true;
}

} // namespace

QList<Copy> list(const QDir& folder) { return listIn(QDir(folder.filePath(kFolder))); }

std::optional<Copy> copyOf(const QString& file)
{
    static const QRegularExpression pattern(QStringLiteral("^(Kelmorin|Pac)-(\\d{8}-\\d{6})\\.mdb$"));
    const QFileInfo info(file);
    const QRegularExpressionMatch m = pattern.match(info.fileName());
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime stamp = QDateTime::fromString(m.captured(2), kStampFormat);
    for (const Copy& c : listIn(info.absoluteDir()))
        if (c.stamp == stamp)
            return c;
    return std::nullopt;
}

bool copyDatabase(const QString& source, const QString& target, QString* error)
{
    const QString name = QFileInfo(source).fileName();
    const auto failed = [&](const QString& reason) {
        return fail(error, QStringLiteral("Arhiva datoteke %1 nije napravljena: %2").arg(name, reason));
    };
    if (QFileInfo::exists(target))
        return failed(QStringLiteral("datoteka %1 već postoji.").arg(native(target)));
    const QString temporary = QFileInfo(target).absolutePath() + QStringLiteral("/.") + QFileInfo(target).fileName()
                              + QStringLiteral(".tmp");
    QFile::remove(temporary);
    RowCounts counts;
    {
        Database db(source, Database::Mode::ReadOnly);
        if (!db.isOpen())
            return failed(db.error());
        // One read transaction: the counts and the copy see the same
        // snapshot, whatever another connection commits meanwhile.
        if (!db.exec(QStringLiteral("BEGIN")))
            return failed(db.error());
        QString reason;
        if (!countRows(db, counts, &reason)) {
            db.exec(QStringLiteral("ROLLBACK"));
            return failed(reason);
        }
        sqlite3* to = nullptr;
        int rc = sqlite3_open_v2(QFile::encodeName(temporary).constData(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_backup* copy = sqlite3_backup_init(to, "main", engineConnection(db), "main");
            if (copy) {
                rc = sqlite3_backup_step(copy, -1);
                sqlite3_backup_finish(copy);
                rc = rc == SQLITE_DONE ? sqlite3_errcode(to) : rc;
            } else {
                rc = sqlite3_errcode(to);
            }
        }
        reason = engineReason(rc, to ? QString::fromUtf8(sqlite3_errmsg(to)) : QStringLiteral("nema memorije."));
        sqlite3_close(to);
        db.exec(QStringLiteral("ROLLBACK"));
        if (rc != SQLITE_OK) {
            QFile::remove(temporary);
            QFile::remove(temporary + QStringLiteral("-journal"));
            return failed(reason);
        }
    }
    QString reason;
    if (!verify(temporary, counts, &reason)) {
        QFile::remove(temporary);
        return failed(QStringLiteral("kopija nije prošla provjeru (%1) i obrisana je.").arg(reason));
    }
    if (!replaceFile(temporary, target, &reason)) {
        QFile::remove(temporary);
        return failed(reason);
    }
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

bool verify(const QString& path, const RowCounts& expected, QString* error)
{
    Database db(path, Database::Mode::ReadOnly);
    if (!db.isOpen())
        return fail(error, db.error());
    // The check looks every row up in each of its table's indexes: with the
    // whole file in the cache it reads each page once.
    db.exec(QStringLiteral("PRAGMA cache_size = -131072"));
    const QString check = db.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    if (check != u"ok")
        return fail(error, check.isEmpty() ? db.error() : check);
    RowCounts counts;
    if (!countRows(db, counts, error))
        return false;
    for (const auto& [table, n] : expected) {
        const auto it = counts.find(table);
        if (it == counts.end())
            return fail(error, QStringLiteral("nema tablice %1").arg(table));
        if (it->second != n)
            return fail(error, QStringLiteral("tablica %1 ima %2 redaka umjesto %3").arg(table).arg(it->second).arg(n));
    }
    if (counts.size() != expected.size())
        return fail(error, QStringLiteral("broj tablica se razlikuje"));
    return true;
}

bool verify(const QString& path, QString* error)
{
    RowCounts counts;
    {
        Database db(path, Database::Mode::ReadOnly);
        if (!db.isOpen())
            return fail(error, db.error());
        if (!countRows(db, counts, error))
            return false;
    }
    return verify(path, counts, error);
}

QList<QDateTime> toRemove(QList<QDateTime> stamps, const QDateTime& now)
{
    std::sort(stamps.begin(), stamps.end(), std::greater<>());
    const int thisMonth = now.date().year() * 12 + now.date().month() - 1;
    std::set<int> monthsKept;
    QList<QDateTime> gone;
    for (qsizetype i = 0; i < stamps.size(); ++i) {
        const int month = stamps[i].date().year() * 12 + stamps[i].date().month() - 1;
        const bool recentMonth = thisMonth - month < 24;
        const bool lastOfMonth = recentMonth && monthsKept.insert(month).second;
        if (i >= 10 && !lastOfMonth)
            gone << stamps[i];
    }
    return gone;
}

namespace {

Result makeCopy(const QDir& folder, const QDateTime& now, const QString& secondPlace, bool prune)
{
    Result result;
    const QDir archive(folder.filePath(kFolder));
    if (!QDir().mkpath(archive.path())) {
        result.error = QStringLiteral("Mapu %1 nije moguće napraviti.").arg(native(archive.absolutePath()));
        return result;
    }
    removeLeftovers(archive);
    if (!QFileInfo(folder.filePath(schema::kInvoiceFile)).isFile()) {
        result.error = QStringLiteral("U mapi %1 nema datoteke %2.").arg(native(folder.absolutePath()), schema::kInvoiceFile);
        return result;
    }
    QDateTime stamp = now;
    stamp.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    const QStringList files = databasesOf(folder);
    const auto taken = [&] {
        for (const QString& f : {schema::kInvoiceFile, schema::kPatientFile})
            if (QFileInfo::exists(archive.filePath(copyName(f, stamp))))
                return true;
        return false;
    };
    while (taken())
        stamp = stamp.addSecs(1);
    QStringList made;
    for (const QString& file : files) {
        const QString target = archive.absoluteFilePath(copyName(file, stamp));
        if (!copyDatabase(folder.filePath(file), target, &result.error)) {
            for (const QString& m : made)
                QFile::remove(m);
            return result;
        }
        made << target;
    }
    result.ok = true;
    result.copy = {stamp, archive.absoluteFilePath(copyName(schema::kInvoiceFile, stamp)),
                   files.size() > 1 ? archive.absoluteFilePath(copyName(schema::kPatientFile, stamp)) : QString()};
    if (prune)
        removeCopies(archive, now);
    // A relative folder is taken from the working folder.
    if (!secondPlace.isEmpty())
        copyToSecondPlace(result.copy, QDir::cleanPath(folder.absoluteFilePath(QDir::fromNativeSeparators(secondPlace))), now,
                          &result.warning);
    return result;
}

} // namespace

Result make(const QDir& folder, const QDateTime& now, const QString& secondPlace)
{
    return makeCopy(folder, now, secondPlace, true);
}

QString secondPlace(const QDir& folder)
{
    {
        Database db(folder.filePath(schema::kInvoiceFile), Database::Mode::ReadOnly);
        if (const auto general = db.isOpen() ? GeneralRecord::load(db, nullptr) : std::nullopt)
            return general->backupSecondPlace.trimmed();
    }
    // A folder of an earlier release, before its upgrade.
    return upgrade::oldSecondPlace(folder);
}

int invoicesOfBusinessYear(const QString& invoiceFile)
{
    Database db(invoiceFile, Database::Mode::ReadOnly);
    if (!db.isOpen())
        return -1;
    const QString year = db.scalar(QStringLiteral("SELECT God FROM Opci")).toString();
    const QVariant n = db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE God = ?"), {year.right(2).toInt()});
    return n.isValid() ? n.toInt() : -1;
}

bool moveStaleJournalsAside(const QDir& folder, const QString& database, QString* error)
{
    for (const QString& name : workdir::journalsBeside(folder.filePath(database))) {
        const QString stale = folder.filePath(name);
        const QDir archive(folder.filePath(kFolder));
        if (!QDir().mkpath(archive.path()))
            return fail(error, QStringLiteral("Mapu %1 nije moguće napraviti.").arg(native(archive.absolutePath())));
        const QString aside = archive.filePath(name + u'-'
                                               + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")));
        if (!replaceFile(stale, aside, error))
            return false;
    }
    return true;
}

namespace {

// Puts the staged files in place, as recorded; safe to run again after an
// interruption at any point.
bool rollForward(const QDir& folder, const QStringList& targets, QString* error, const StepSeam& seam)
{
    const auto stop = [&](Step step) { return seam && !seam(step); };
    for (const QString& target : targets)
        if (QFileInfo::exists(folder.filePath(target + kStaged)) && !moveStaleJournalsAside(folder, target, error))
            return false;
    if (stop(Step::JournalsAside))
        return true;
    for (const QString& target : targets) {
        const QString staged = folder.filePath(target + kStaged);
        if (QFileInfo::exists(staged) && !replaceFile(staged, folder.filePath(target), error))
            return false;
        syncFolder(folder.absolutePath());
        if (stop(target == schema::kPatientFile ? Step::PatientsSwapped : Step::InvoicesSwapped))
            return true;
    }
    if (!QFile::remove(folder.filePath(kRestoreRecord)))
        return fail(error, QStringLiteral("Datoteku %1 nije moguće obrisati.").arg(kRestoreRecord));
    syncFolder(folder.absolutePath());
    stop(Step::Done);
    return true;
}

} // namespace

bool restore(const QDir& folder, const Copy& copy, QString* error, const StepSeam& seam)
{
    const auto stop = [&](Step step) { return seam && !seam(step); };
    if (QFileInfo::exists(folder.filePath(kRestoreRecord)))
        return fail(error, QStringLiteral("Prethodno vraćanje podataka nije dovršeno."));
    QStringList targets;
    QStringList sources;
    if (!copy.patientFile.isEmpty()) {
        targets << schema::kPatientFile;
        sources << copy.patientFile;
    }
    targets << schema::kInvoiceFile;
    sources << copy.invoiceFile;
    for (const QString& source : sources) {
        QString reason;
        if (!verify(source, &reason))
            return fail(error, QStringLiteral("Arhiva %1 nije ispravna: %2").arg(QFileInfo(source).fileName(), reason));
    }
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const QString staged = folder.filePath(targets[i] + kStaged);
        if (!textfile::copyWhole(sources[i], staged, error)) {
            for (const QString& t : targets)
                QFile::remove(folder.filePath(t + kStaged));
            return false;
        }
    }
    if (stop(Step::Staged))
        return true;
    // The record is the point of no return: once it is on the disk, the
    // restore is finished, if need be at the next start.
    TextFileWriter record;
    for (const QString& t : targets)
        record.writeLine(t);
    if (!record.save(folder.filePath(kRestoreRecord), error)) {
        for (const QString& t : targets)
            QFile::remove(folder.filePath(t + kStaged));
        return false;
    }
    syncFolder(folder.absolutePath());
    if (stop(Step::Committed))
        return true;
    return rollForward(folder, targets, error, seam);
}

Result backUpAndRestore(const QDir& folder, const Copy& copy, const QDateTime& now, const StepSeam& seam)
{
    // The chosen copy stays until it is in place (the keep rule runs after);
    // the restore checks it before anything is replaced.
    Result current = makeCopy(folder, now, {}, false);
    if (!current.ok) {
        current.error = QStringLiteral("Podaci nisu vraćeni jer trenutne podatke nije moguće arhivirati.\r\n") + current.error;
        return current;
    }
    if (!restore(folder, copy, &current.error, seam))
        current.ok = false;
    else
        removeCopies(QDir(folder.filePath(kFolder)), now);
    return current;
}

bool recoverRestore(const QDir& folder, QString* error)
{
    const QString recordPath = folder.filePath(kRestoreRecord);
    if (!QFileInfo::exists(recordPath)) {
        // Staged before the commit: the old files stay.
        for (const QString& t : {schema::kInvoiceFile, schema::kPatientFile})
            QFile::remove(folder.filePath(t + kStaged));
        return true;
    }
    const auto lines = textfile::readLines(recordPath);
    QStringList targets;
    for (const QString& line : lines.value_or(QStringList()))
        if (line == schema::kInvoiceFile || line == schema::kPatientFile)
            targets << line;
    return rollForward(folder, targets, error, {});
}

} // namespace backup
