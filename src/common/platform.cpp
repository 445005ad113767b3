#include "platform.h"

#include "working_folder.h"

#include <QFileInfo>

QString Platform::findFile(const QString& name) const { return workdir::findFileNoCase(name); }

QString Platform::findCompanion(const QString& exeName) const
{
#ifndef Q_OS_WIN
    if (exeName.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
        const QString native = findFile(exeName.chopped(4));
        if (!native.isEmpty() && QFileInfo(native).isExecutable())
            return native;
    }
#endif
    return findFile(exeName);
}
