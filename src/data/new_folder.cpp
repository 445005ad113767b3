#include "new_folder.h"

#include "form_layouts.h"

#include "common/clock.h"
#include "common/text_file.h"
#include "database.h"
#include "sample_data.h"
#include "schema.h"
#include "guide/guide.h"
#include "upgrade_chain.h"

#include "common/working_folder.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace newfolder {
namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool writeRecept(const QString& path, QString* error)
{
    TextFileWriter recept;
    recept.writeLine(QStringLiteral("Obrasci potvrde o medicinskom pomagalu"));
    // The program keeps at most 15 characters of a form's name.
    recept.writeLine(QStringLiteral("#99 Potvrda HZZO"));
    recept.writeLine(QStringLiteral("#99 Stara potvrda"));
    return recept.save(path, error);
}

bool writeNewestMarker(const QString& dir, const Clock& clock, QString* error)
{
    TextFileWriter marker;
    marker.writeLine(clock.now().toString(QStringLiteral("ddMMyyHHmmss")));
    return marker.save(QDir(dir).filePath(upgrade::markerName(upgrade::steps().back().id)), error);
}

// "Datoteku Kelmorin.mdb u mapi … nije moguće napraviti: database or disk is full".
bool notMade(QString* error, const QString& temporary, const QString& finalName, const QString& reason)
{
    return fail(error, QStringLiteral("Datoteku %1 u mapi %2 nije moguće napraviti: %3")
                           .arg(finalName, QDir::toNativeSeparators(QFileInfo(temporary).absolutePath()), reason));
}

bool fillInvoiceDatabase(const QString& path, Content content, const Clock& clock, QString* error)
{
    Database db(path, Database::Mode::Create);
    if (!db.isOpen() || !schema::createInvoiceDatabase(db))
        return notMade(error, path, schema::kInvoiceFile, db.error());
    Transaction tx(db);
    // The database is made at the newest release and says so itself: losing
    // the marker files never sends it through the upgrade chain again.
    bool ok = upgrade::recordApplied(db, upgrade::allStepIds(),
                                     clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        && sampledata::insertGeneralData(db, clock.today().year()) && sampledata::insertCodeLists(db)
        && formlayouts::insert(db);
    if (ok && content == Content::Demo)
        ok = sampledata::insertDemoSupplier(db) && sampledata::insertDemoInvoices(db, clock.today());
    if (!ok || !tx.commit())
        return notMade(error, path, schema::kInvoiceFile, db.error());
    return true;
}

bool fillPatientDatabase(const QString& path, Content content, const Clock& clock, QString* error)
{
    Database db(path, Database::Mode::Create);
    if (!db.isOpen() || !schema::createPatientDatabase(db))
        return notMade(error, path, schema::kPatientFile, db.error());
    if (content == Content::Demo && !sampledata::insertDemoPatients(db, clock.today()))
        return notMade(error, path, schema::kPatientFile, db.error());
    return true;
}

// An empty file for the user alone under a name of its own beside the file
// it will become; empty when none can be made.
QString privateTemporary(const QDir& dir, const QString& finalName, QString* error)
{
    QTemporaryFile file(dir.filePath(QStringLiteral(".") + finalName + QStringLiteral("-XXXXXX")));
    file.setAutoRemove(false);
    if (!file.open()) {
        fail(error, QStringLiteral("Datoteku %1 nije moguće zapisati: %2")
                        .arg(QDir::toNativeSeparators(dir.filePath(finalName)), file.errorString()));
        return {};
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.fileName();
}

bool isLink(const QString& path) { return QFileInfo(path).isSymLink(); }

// Puts a finished file in place; never over an existing one.
bool putInPlace(const QString& temporary, const QString& path, QString* error)
{
    // The new name must reach the disk before the folder counts as made.
    if (QFile::rename(temporary, path) && textfile::syncFolder(QFileInfo(path).absolutePath()))
        return true;
    return fail(error, QStringLiteral("Datoteku %1 nije moguće zapisati.").arg(QDir::toNativeSeparators(path)));
}

} // namespace

bool create(const QString& dirPath, Content content, const Clock& clock, QString* error)
{
    QDir dir(dirPath);
    if (!dir.exists()) {
        if (!QDir().mkpath(dirPath))
            return fail(error, QStringLiteral("Ne mogu napraviti mapu %1.").arg(QDir::toNativeSeparators(dirPath)));
        QFile::setPermissions(dirPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    const QString invoices = dir.filePath(schema::kInvoiceFile);
    const QString patients = dir.filePath(schema::kPatientFile);
    const QString recept = dir.filePath(QStringLiteral("Recept.txt"));
    const QString marker = dir.filePath(upgrade::markerName(upgrade::steps().back().id));
    for (const QString& path : {invoices, patients, recept, marker}) {
        if (isLink(path))
            return fail(error, QStringLiteral("U mapi %1 je %2 simbolička veza; program ne stvara datoteke kroz veze. "
                                              "Ništa nije promijenjeno.")
                                   .arg(QDir::toNativeSeparators(dir.absolutePath()), QFileInfo(path).fileName()));
    }
    if (QFileInfo::exists(invoices))
        return fail(error, QStringLiteral("U mapi %1 već postoji %2; ništa nije promijenjeno.")
                               .arg(QDir::toNativeSeparators(dir.absolutePath()), schema::kInvoiceFile));
    // A journal of a database that is no longer there would be applied by
    // SQLite to the new database of the same name, and corrupt it.
    for (const QString& database : {schema::kInvoiceFile, schema::kPatientFile}) {
        const QString path = dir.filePath(database);
        if (QFileInfo::exists(path))
            continue;
        if (const QStringList left = workdir::journalsBeside(path); !left.isEmpty())
            return fail(error, workdir::journalRefusal(path, left));
    }
    // What an earlier, interrupted run left under temporary names.
    for (const QString& stale : dir.entryList({QStringLiteral(".Kelmorin.mdb-*"), QStringLiteral(".Pac.mdb-*")},
                                              QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(stale));
    const bool hadPatients = QFileInfo::exists(patients);
    const bool hadRecept = QFileInfo::exists(recept);

    // Everything is built under names of its own and takes its real name
    // only when complete; Kelmorin.mdb comes last, so that a folder with it
    // is always a whole folder.
    QString invoicesTemp, patientsTemp;
    bool receptWritten = false, patientsPlaced = false;
    bool ok = !(invoicesTemp = privateTemporary(dir, schema::kInvoiceFile, error)).isEmpty()
        && fillInvoiceDatabase(invoicesTemp, content, clock, error);
    if (ok && !hadPatients)
        ok = !(patientsTemp = privateTemporary(dir, schema::kPatientFile, error)).isEmpty()
            && fillPatientDatabase(patientsTemp, content, clock, error);
    if (ok && !hadRecept)
        ok = receptWritten = writeRecept(recept, error);
    if (ok)
        ok = writeNewestMarker(dirPath, clock, error);
    if (ok && !hadPatients)
        ok = patientsPlaced = putInPlace(patientsTemp, patients, error);
    if (ok)
        ok = putInPlace(invoicesTemp, invoices, error);
    if (!ok) {
        for (const QString& temp : {invoicesTemp, patientsTemp}) {
            if (!temp.isEmpty()) {
                QFile::remove(temp);
                QFile::remove(temp + QStringLiteral("-journal"));
            }
        }
        if (patientsPlaced)
            QFile::remove(patients);
        if (receptWritten)
            QFile::remove(recept);
        QFile::remove(marker);
    }
    // The user guide comes with every new folder; without it the folder
    // still works, and the program writes it again at its next start.
    if (ok)
        guide::install(dir);
    return ok;
}

bool createPatientRegister(const QString& dirPath, QString* error)
{
    const QDir dir(dirPath);
    const QString patients = dir.filePath(schema::kPatientFile);
    if (isLink(patients) || QFileInfo::exists(patients))
        return fail(error, QStringLiteral("U mapi %1 već postoji %2; ništa nije promijenjeno.")
                               .arg(QDir::toNativeSeparators(dir.absolutePath()), schema::kPatientFile));
    const QString temp = privateTemporary(dir, schema::kPatientFile, error);
    if (temp.isEmpty())
        return false;
    bool ok = false;
    {
        Database db(temp, Database::Mode::Create);
        ok = db.isOpen() && schema::createPatientDatabase(db);
        if (!ok)
            fail(error, QStringLiteral("Datoteku %1 nije moguće zapisati: %2")
                            .arg(QDir::toNativeSeparators(patients), db.error()));
    }
    if (ok)
        ok = putInPlace(temp, patients, error);
    if (!ok) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    }
    return ok;
}

} // namespace newfolder
