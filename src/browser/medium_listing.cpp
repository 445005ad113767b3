#include "medium_listing.h"

#include "common/platform.h"

#include <QDir>
#include <QFileInfo>

namespace browser {

std::optional<Medium> readMedium(const Platform& platform)
{
    const QString folder = platform.removableMedium();
    if (folder.isEmpty())
        return std::nullopt;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return std::nullopt;
    QDir dir(folder);
    return Medium{folder, dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)};
}

} // namespace browser
