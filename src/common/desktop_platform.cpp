#include "desktop_platform.h"

#include "text_file.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QStringList kSubmissionExtensions = {
    QStringLiteral(".O23"), QStringLiteral(".O24"), QStringLiteral(".O25"),
    QStringLiteral(".O26"), QStringLiteral(".unl"),
};

QString resolvedProgram(const QString& program)
{
    const QFileInfo info(program);
    return info.exists() ? info.absoluteFilePath() : program;
}

#ifdef Q_OS_WIN
void registerOnWindows()
{
    const QString editor = QStringLiteral("C:\\Windows\\NOTEPAD.EXE");
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    for (const QString& ext : kSubmissionExtensions)
        classes.setValue(ext + QStringLiteral("/."), QStringLiteral("HZZOFile"));
    classes.setValue(QStringLiteral("HZZOFile/."), QStringLiteral("MY file"));
    classes.setValue(QStringLiteral("HZZOFile/DefaultIcon/."), editor);
    classes.setValue(QStringLiteral("HZZOFile/shell/open/command/."), editor + QStringLiteral(" %L"));
}
#else
// A user-level MIME type for the submission files, derived from plain text,
// so that the desktop opens them in its text editor.
void registerWithSharedMimeInfo()
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return;
    const QString mimeDir = dataHome + QStringLiteral("/mime");
    if (!QDir().mkpath(mimeDir + QStringLiteral("/packages")))
        return;
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"text/x-hzzo-submission\">\n"
        "    <sub-class-of type=\"text/plain\"/>\n"
        "    <comment>HZZO datoteka</comment>\n");
    for (const QString& ext : kSubmissionExtensions)
        xml += QStringLiteral("    <glob pattern=\"*%1\"/>\n").arg(ext);
    xml += QStringLiteral("  </mime-type>\n</mime-info>\n");
    if (!textfile::writeWhole(mimeDir + QStringLiteral("/packages/kelmorin-hzzo.xml"), xml.toUtf8()))
        return;
    QProcess::startDetached(QStringLiteral("update-mime-database"), {mimeDir});
}
#endif

} // namespace

bool DesktopPlatform::startProgram(const QString& program, const QStringList& arguments, Window)
{
    // Detached programs get their own window; the desktop decides its state.
    return QProcess::startDetached(resolvedProgram(program), arguments, QDir::currentPath());
}

bool DesktopPlatform::openDocument(const QString& pathOrUrl)
{
    const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath())
                                                  : QUrl(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

void DesktopPlatform::registerSubmissionFileTypes()
{
#ifdef Q_OS_WIN
    registerOnWindows();
#else
    registerWithSharedMimeInfo();
#endif
}
