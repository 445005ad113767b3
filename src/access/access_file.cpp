#include "access_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace accessdb {

Format formatOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Format::NotAccess;
    // The first page: a page-type marker, the engine's name, its version.
    const QByteArray head = file.read(0x15);
    if (head.size() < 0x15 || head[0] != 0 || head[1] != 1 || head[2] != 0 || head[3] != 0)
        return Format::NotAccess;
    const QByteArray name = head.mid(4, 16);
    if (name == QByteArray("Standard Jet DB\0", 16)) {
        switch (head[0x14]) {
        case 0: return Format::Jet3;
        case 1: return Format::Jet4;
        default: return Format::Newer;
        }
    }
    if (name == QByteArray("Standard ACE DB\0", 16))
        return Format::Newer;
    return Format::NotAccess;
}

} // namespace accessdb
