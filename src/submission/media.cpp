#include "media.h"

#include "common/dialogs.h"
#include "common/platform.h"

#include <QDir>
#include <QFileInfo>

namespace media {
namespace {

const QString kNoDiskette = QStringLiteral("Disketa nije prisutna ili je neispravna!");

// A copy the user waits for ends with where it went.
QString copiedMessage(const QString& target)
{
    return QStringLiteral("Fajl je snimljen: ") + QDir::toNativeSeparators(target);
}

void toRemovableMedium(const QString& file, Services s)
{
    const QString folder = s.platform.removableMedium();
    const QString target = QDir(folder).filePath(QFileInfo(file).fileName());
    if (folder.isEmpty() || !s.platform.copyFile(file, target))
        s.dialogs.message(kNoDiskette);
    else
        s.dialogs.message(copiedMessage(target));
}

Outcome toDisc(const QString& file, Services s)
{
    std::optional<Platform::DiscWriter> writer = s.platform.discWriter();
    if (!writer) {
        if (!s.dialogs.okCancel(QStringLiteral("Da bi automatski snimili fajl na CD morate prethodno downloadati program za "
                                               "snimanje na CD.\r\nŽelite li downloadati i instalirati taj program?"),
                                QStringLiteral("Nije instaliran program za snimanje CD-a")))
            return Outcome::CdCancelled;
        s.platform.openDocument(kDiscWriterHelpPage);
        s.dialogs.message(QStringLiteral("Nakon instalacije programa za snimanje CD-a kliknite na OK za nastavak"),
                          QStringLiteral("Nastavak snimanja CD-a"));
        writer = s.platform.discWriter();
    }
    if (!writer || !s.platform.startProgram(writer->program, writer->arguments << file, Platform::Window::Normal))
        s.dialogs.message(QStringLiteral("Program za snimanje CD-a nije moguće pokrenuti! Fajl ") + file
                          + QStringLiteral(" snimite na CD ručno."));
    return Outcome::Done;
}

void toFolder(const QString& file, Services s)
{
    const QString answer = s.dialogs.input(QStringLiteral("Izbor adrese"),
                                           QStringLiteral("Molim upišite adresu (path) na koju želite snimiti fajl!"), {});
    if (answer.isEmpty())
        return;
    const QString target = destination(answer, QFileInfo(file).fileName());
    QString error;
    if (!s.platform.copyFile(file, target, &error))
        s.dialogs.message(QStringLiteral("Fajl nije moguće snimiti na ") + target + u'!'
                          + (error.isEmpty() ? QString() : QStringLiteral("\r\n") + error));
    else
        s.dialogs.message(copiedMessage(target));
}

} // namespace

QString destination(const QString& answer, const QString& fileName)
{
    if (answer.size() == 2 && answer[1] == u':' && answer[0].isLetter())
        return answer + u'\\' + fileName;
    if (QFileInfo(answer).isDir())
        return QDir(answer).filePath(fileName);
    return answer + fileName;
}

Outcome choose(const QString& file, Services s)
{
    const QString choice = s.dialogs.input(QStringLiteral("Izbor medija"),
                                           QStringLiteral("Želite : \r\n\r\n1. Snimiti fajl na disketu (ubacite praznu disketu)\r\n"
                                                          "2. Snimiti fajl na CD (ubacite prazni CD)\r\n"
                                                          "3. Snimiti fajl na proizvoljnu adresu"),
                                           QStringLiteral("1"));
    if (choice == u"1")
        toRemovableMedium(file, s);
    else if (choice == u"2")
        return toDisc(file, s);
    else if (choice == u"3")
        toFolder(file, s);
    return Outcome::Done;
}

} // namespace media
