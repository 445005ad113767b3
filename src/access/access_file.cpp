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

QString journalRefusal(const QString& path, const QStringList& journals)
{
    return QStringLiteral("Uz %1 u mapi %2 stoji %3 (ostatak nedovršenog rada s bazom podataka).\r\n"
                          "Nova baza tog imena se ne piše, jer bi je taj ostatak oštetio. "
                          "Premjestite ili obrišite %3 i pokušajte ponovo.")
        .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath()),
             journals.join(QStringLiteral(", ")));
}

} // namespace accessdb
