#include "file_opener.h"

#include "common/platform.h"

#include <QFile>
#include <QFileInfo>

namespace browser {

bool isTextFile(const QString& path)
{
    static const QStringList documents = {
        QStringLiteral("rtf"), QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("pdf"),
        QStringLiteral("doc"), QStringLiteral("docx"), QStringLiteral("odt"), QStringLiteral("xls"),
        QStringLiteral("xlsx"), QStringLiteral("ods"), QStringLiteral("png"), QStringLiteral("jpg"),
        QStringLiteral("jpeg"), QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("exe"),
    };
    if (documents.contains(QFileInfo(path).suffix().toLower()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(8192);
    return !head.contains('\0') && !head.startsWith("SQLite format 3");
}

void openFile(const QString& path, Platform& platform, const OpenTextFile& openText)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    if (openText && isTextFile(full))
        openText(full);
    else
        platform.openDocument(full);
}

} // namespace browser
