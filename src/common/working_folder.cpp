#include "working_folder.h"

#include <QFileInfo>

namespace workdir {

QString findFileNoCase(const QString& name, const QDir& dir)
{
    if (name.isEmpty())
        return {};
    if (QFileInfo(dir.filePath(name)).isFile())
        return name;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QString displayPath() { return QDir::toNativeSeparators(QDir::currentPath()); }

} // namespace workdir
