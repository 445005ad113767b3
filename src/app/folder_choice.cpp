#include "folder_choice.h"

#include "data/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace folderchoice {

namespace {

bool holdsData(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(schema::kInvoiceFile)).isFile();
}

const QString kOrganisation = QStringLiteral("Kelmorin");
const QString kKey = QStringLiteral("zadnjaMapa");

} // namespace

QString choose(const QString& argument, const QString& current, const QString& lastUsed, const QString& home)
{
    if (!argument.isEmpty())
        return QDir::cleanPath(QDir(current).absoluteFilePath(argument));
    if (holdsData(current))
        return QDir(current).absolutePath();
    if (holdsData(lastUsed))
        return QDir(lastUsed).absolutePath();
    return QDir(home).absoluteFilePath(kDefaultFolderName);
}

QString lastUsed() { return QSettings(kOrganisation, kOrganisation).value(kKey).toString(); }

void remember(const QString& folder)
{
    QSettings(kOrganisation, kOrganisation).setValue(kKey, QDir(folder).absolutePath());
}

} // namespace folderchoice
