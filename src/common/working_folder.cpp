#include "working_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

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

bool isDataFileName(const QString& path)
{
    static const QRegularExpression names(
        QStringLiteral("^(?:(?:kelmorin|pac|upg[0-9]{6})\\.mdb(?:-journal|-wal|-shm)?|upg[0-9]{6}\\.inm|upg050207|"
                       "osndop\\.inm|pacor\\.inm|040506\\.inm|recept\\.txt|kelmorin\\.lck|rp[0-6]|"
                       "[0-9]+(?:\\.o[0-9]*)?\\.o[0-9]{2})$"),
        QRegularExpression::CaseInsensitiveOption);
    return names.match(QFileInfo(path).fileName()).hasMatch();
}

void keepFilesPrivate()
{
#ifndef Q_OS_WIN
    ::umask(077);
#endif
}

void narrowDataFiles(const QDir& dir)
{
#ifndef Q_OS_WIN
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (!isDataFileName(entry))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(entry));
        struct stat st;
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0)
            ::chmod(path.constData(), st.st_mode & 0700);
    }
#else
    Q_UNUSED(dir);
#endif
}

QStringList journalsBeside(const QString& databasePath)
{
    QStringList found;
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QFileInfo info(databasePath + QLatin1String(suffix));
        if (info.exists() || info.isSymLink())
            found << info.fileName();
    }
    return found;
}

QString journalRefusal(const QString& databasePath, const QStringList& journals)
{
    const QFileInfo info(databasePath);
    return QStringLiteral("Uz %1 u mapi %2 stoji %3 (ostatak nedovršenog rada s bazom podataka).\r\n"
                          "Nova baza tog imena se ne piše, jer bi je taj ostatak oštetio. "
                          "Premjestite ili obrišite %3 i pokušajte ponovo.")
        .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()), journals.join(QStringLiteral(", ")));
}

} // namespace workdir
