#include "guide.h"

#include "common/text_file.h"
#include "common/working_folder.h"

#include <QDirIterator>
#include <QFile>

namespace guide {

bool install(const QDir& folder, QString* error)
{
    if (!workdir::findFileNoCase(kPage, folder).isEmpty())
        return true;
    // The pictures first: the page appears only when what it shows is there.
    QStringList files;
    QDirIterator it(QStringLiteral(":/guide/Uputstva"), QDir::Files);
    while (it.hasNext())
        files << it.next().mid(QStringLiteral(":/guide/").size());
    files << kPage;
    if (files.size() > 1 && !QDir().mkpath(folder.filePath(QStringLiteral("Uputstva")))) {
        if (error)
            *error = QStringLiteral("Mapu %1 nije moguće napraviti.").arg(QDir::toNativeSeparators(folder.filePath(QStringLiteral("Uputstva"))));
        return false;
    }
    for (const QString& name : files) {
        QFile resource(QStringLiteral(":/guide/") + name);
        if (!resource.open(QIODevice::ReadOnly) || !textfile::writeWhole(folder.filePath(name), resource.readAll(), error))
            return false;
    }
    return true;
}

} // namespace guide
