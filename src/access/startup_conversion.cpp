#include "startup_conversion.h"

#include "access_file.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/working_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace accessdb {
namespace {

using workdir::kArchiveFolder;

// The original's name in Arhiva/: its own name, "Access" and the date and
// time of the conversion, "Kelmorin-Access-20261207-101500.mdb". The word
// keeps it apart from the program's own backups (Kelmorin-YYYYMMDD-HHMMSS.mdb),
// which are pruned by age: an original is never removed.
QString archiveName(const QString& file, const QDateTime& now)
{
    const QFileInfo info(file);
    const QString base = info.completeBaseName() + QStringLiteral("-Access-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base + u'.' + info.suffix();
    for (int n = 2; QFileInfo::exists(kArchiveFolder + u'/' + name); ++n)
        name = base + u'-' + QString::number(n) + u'.' + info.suffix();
    return kArchiveFolder + u'/' + name;
}

} // namespace

QString StartupConversion::question(const QString& file)
{
    return QStringLiteral("%1 je baza u formatu Access. Želite li je pretvoriti u novi oblik? "
                          "Izvorna datoteka ostaje sačuvana.")
        .arg(file);
}

StartupConversion::Outcome StartupConversion::run()
{
    QStringList files;
    for (const QString& file : {QStringLiteral("Kelmorin.mdb"), QStringLiteral("Pac.mdb")}) {
        if (isAccessFile(file))
            files << file;
    }
    if (files.isEmpty())
        return Outcome::NothingToConvert;
    // Every question first: a "No" leaves the folder as it was.
    for (const QString& file : files) {
        if (!m_services.dialogs.yesNo(question(file), QString()))
            return Outcome::Declined;
    }
    for (const QString& file : files) {
        if (!convertOne(file))
            return Outcome::Failed;
    }
    return Outcome::Converted;
}

bool StartupConversion::convertOne(const QString& file)
{
    Dialogs& dialogs = m_services.dialogs;
    const QStringList journals = workdir::journalsBeside(file);
    if (!journals.isEmpty()) {
        dialogs.message(workdir::journalRefusal(file, journals));
        return false;
    }
    if (!QDir().mkpath(kArchiveFolder)) {
        dialogs.message(QStringLiteral("Ne mogu napraviti mapu %1 u mapi %2; %3 nije pretvorena.")
                            .arg(kArchiveFolder, workdir::displayPath(), file));
        return false;
    }
    // The converted file is made beside the original first; only when it is
    // complete does the original go to Arhiva/ and the new file take its
    // name, so that the folder never lacks its database for longer than
    // two renames.
    const QString converted = u'.' + file + QStringLiteral(".pretvorba");
    // What an earlier conversion that was stopped half way left behind.
    for (const QString& left : QDir(QStringLiteral(".")).entryList({converted + u'*', u'.' + converted + u'*'},
                                                                     QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(left);
    Conversion conversion(m_program);
    Listener listener;
    qint64 total = 0;
    QString table;
    if (m_progress) {
        listener.started = [&](int, qint64 rows) {
            total = rows;
            m_progress->begin(QStringLiteral("Pretvorba datoteke %1").arg(file), rows);
        };
        listener.table = [&](const QString& name) {
            table = name;
            m_progress->update(table, -1);
        };
        listener.rows = [&](qint64 done) { m_progress->update(table, done); };
    }
    const bool ok = conversion.run(file, converted, listener);
    if (m_progress)
        m_progress->end();
    if (!ok) {
        dialogs.message(conversion.error());
        return false;
    }
    const QString archived = archiveName(file, m_services.clock.now());
    if (!QFile::rename(file, archived)) {
        QFile::remove(converted);
        dialogs.message(QStringLiteral("Ne mogu premjestiti %1 u mapu %2; ništa nije promijenjeno.").arg(file, kArchiveFolder));
        return false;
    }
    if (!QFile::rename(converted, file)) {
        QFile::rename(archived, file);
        QFile::remove(converted);
        dialogs.message(QStringLiteral("Pretvorena datoteka ne može dobiti ime %1; ništa nije promijenjeno.").arg(file));
        return false;
    }
    return true;
}

} // namespace accessdb
