#include "platform.h"

#include "text_file.h"

#include "working_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

QString Platform::removableMedium() const
{
    const QString named = qEnvironmentVariable("KELMORIN_MEDIJ");
    if (!named.isEmpty())
        return QFileInfo(named).isDir() ? named : QString();
#ifdef Q_OS_WIN
    return QStringLiteral("a:/");
#else
    const QString user = qEnvironmentVariable("USER");
    QStringList mounted;
    for (const QString& base : {QStringLiteral("/media/"), QStringLiteral("/run/media/")}) {
        const QDir dir(base + user);
        if (user.isEmpty() || !dir.exists())
            continue;
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            mounted << dir.filePath(name);
    }
    return mounted.size() == 1 ? mounted.first() : QString();
#endif
}

std::optional<Platform::DiscWriter> Platform::discWriter() const
{
    // Programs with a window first: they let the user pick the drive and
    // watch the writing. xorriso writes to the first drive by itself.
    const std::pair<const char*, QStringList> writers[] = {
        {"brasero", {QStringLiteral("--data")}},
        {"k3b", {QStringLiteral("--data")}},
        {"xorriso", {QStringLiteral("-dev"), QStringLiteral("/dev/sr0"), QStringLiteral("-blank"),
                     QStringLiteral("as_needed"), QStringLiteral("-add")}},
    };
    for (const auto& [name, arguments] : writers) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(name));
        if (!program.isEmpty())
            return DiscWriter{program, arguments};
    }
    return std::nullopt;
}

bool Platform::copyFile(const QString& from, const QString& to, QString* error)
{
    return textfile::copyWhole(from, to, error);
}
