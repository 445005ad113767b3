#include "new_folder.h"

#include "form_layouts.h"

#include "common/clock.h"
#include "common/text_file.h"
#include "database.h"
#include "sample_data.h"
#include "schema.h"
#include "upgrade_chain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace newfolder {
namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool writeRecept(const QString& path)
{
    TextFileWriter recept;
    recept.writeLine(QStringLiteral("Obrasci potvrde o medicinskom pomagalu"));
    // The program keeps at most 15 characters of a form's name.
    recept.writeLine(QStringLiteral("#99 Potvrda HZZO"));
    recept.writeLine(QStringLiteral("#99 Stara potvrda"));
    return recept.save(path);
}

bool writeNewestMarker(const QString& dir, const Clock& clock)
{
    TextFileWriter marker;
    marker.writeLine(clock.now().toString(QStringLiteral("ddMMyyHHmmss")));
    return marker.save(QDir(dir).filePath(upgrade::markerName(upgrade::steps().back().id)));
}

bool fillInvoiceDatabase(const QString& path, Content content, const Clock& clock, QString* error)
{
    Database db(path, Database::Mode::Create);
    if (!db.isOpen() || !schema::createInvoiceDatabase(db))
        return fail(error, db.error());
    Transaction tx(db);
    bool ok = sampledata::insertGeneralData(db, clock.today().year()) && sampledata::insertCodeLists(db)
        && formlayouts::insert(db);
    if (ok && content == Content::Demo)
        ok = sampledata::insertDemoSupplier(db) && sampledata::insertDemoInvoices(db, clock.today());
    if (!ok || !tx.commit())
        return fail(error, db.error());
    return true;
}

bool fillPatientDatabase(const QString& path, Content content, const Clock& clock, QString* error)
{
    Database db(path, Database::Mode::Create);
    if (!db.isOpen() || !schema::createPatientDatabase(db))
        return fail(error, db.error());
    if (content == Content::Demo && !sampledata::insertDemoPatients(db, clock.today()))
        return fail(error, db.error());
    return true;
}

} // namespace

bool create(const QString& dirPath, Content content, const Clock& clock, QString* error)
{
    QDir dir(dirPath);
    if (!dir.exists() && !QDir().mkpath(dirPath))
        return fail(error, QStringLiteral("Ne mogu napraviti mapu %1.").arg(QDir::toNativeSeparators(dirPath)));
    const QString invoices = dir.filePath(schema::kInvoiceFile);
    if (QFileInfo::exists(invoices))
        return fail(error, QStringLiteral("U mapi %1 već postoji %2; ništa nije promijenjeno.")
                               .arg(QDir::toNativeSeparators(dir.absolutePath()), schema::kInvoiceFile));
    const QString patients = dir.filePath(schema::kPatientFile);
    const bool hadPatients = QFileInfo::exists(patients);
    const QString recept = dir.filePath(QStringLiteral("Recept.txt"));
    const bool hadRecept = QFileInfo::exists(recept);

    bool ok = fillInvoiceDatabase(invoices, content, clock, error);
    if (ok && !hadPatients)
        ok = fillPatientDatabase(patients, content, clock, error);
    if (ok && !hadRecept && !writeRecept(recept))
        ok = fail(error, QStringLiteral("Ne mogu zapisati %1.").arg(recept));
    if (ok && !writeNewestMarker(dirPath, clock))
        ok = fail(error, QStringLiteral("Ne mogu zapisati oznaku nadogradnje u mapu %1.").arg(dirPath));
    if (!ok) {
        QFile::remove(invoices);
        if (!hadPatients)
            QFile::remove(patients);
        if (!hadRecept)
            QFile::remove(recept);
    }
    return ok;
}

} // namespace newfolder
