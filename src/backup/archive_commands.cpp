#include "archive_commands.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "data/schema.h"

#include <QFileInfo>

namespace backup {

namespace {

const QString kShownStamp = QStringLiteral("dd.MM.yyyy. HH:mm:ss");

QString where(const Copy& copy)
{
    return QDir::toNativeSeparators(QFileInfo(copy.invoiceFile).absolutePath());
}

} // namespace

bool beforeManyChanges(const QDir& folder, const QString& what, Services services)
{
    if (!QFileInfo(folder.filePath(schema::kInvoiceFile)).isFile())
        return true;
    const Result r = make(folder, services.clock.now(), secondPlace(folder));
    if (r.ok)
        return true;
    return services.dialogs.okCancel(QStringLiteral("Arhiva prije %1 nije napravljena:\r\n%2\r\n\r\n"
                                                    "Želite li ipak nastaviti bez arhive?")
                                         .arg(what, r.error),
                                     kTitle);
}

ArchiveCommands::ArchiveCommands(const QDir& folder, Services services, std::function<bool()> saveEdits)
    : m_folder(folder), m_services(services), m_saveEdits(std::move(saveEdits))
{
}

bool ArchiveCommands::backupNow()
{
    if (m_saveEdits && !m_saveEdits()) {
        m_services.dialogs.message(QStringLiteral("Promjene nisu spremljene, arhiva nije napravljena."), kTitle);
        return false;
    }
    const Result r = make(m_folder, m_services.clock.now(), secondPlace(m_folder));
    if (!r.ok) {
        m_services.dialogs.message(r.error, kTitle);
        return false;
    }
    QString text = QStringLiteral("Arhiva je napravljena i provjerena:\r\n%1\r\nu mapi %2")
                       .arg(QFileInfo(r.copy.invoiceFile).fileName()
                                + (r.copy.patientFile.isEmpty() ? QString() : QStringLiteral(", ") + QFileInfo(r.copy.patientFile).fileName()),
                            where(r.copy));
    if (!r.warning.isEmpty())
        text += QStringLiteral("\r\n\r\n") + r.warning;
    m_services.dialogs.message(text, kTitle);
    return true;
}

bool ArchiveCommands::backupAtExit()
{
    const Result r = make(m_folder, m_services.clock.now(), secondPlace(m_folder));
    if (!r.ok)
        m_services.dialogs.message(QStringLiteral("Arhiva na izlazu iz programa nije napravljena.\r\n") + r.error, kTitle);
    else if (!r.warning.isEmpty())
        m_services.dialogs.message(r.warning, kTitle);
    return r.ok;
}

QString ArchiveCommands::describe(const Copy& copy)
{
    const int invoices = invoicesOfBusinessYear(copy.invoiceFile);
    return copy.stamp.toString(kShownStamp)
           + (invoices < 0 ? QStringLiteral("   (nečitljiva)") : QStringLiteral("   računa u poslovnoj godini: %1").arg(invoices));
}

bool ArchiveCommands::restore(const StepSeam& seam)
{
    const QList<Copy> copies = list(m_folder);
    if (copies.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("U mapi %1 nema arhiva podataka.")
                                       .arg(QDir::toNativeSeparators(m_folder.absoluteFilePath(kFolder))),
                                   kTitle);
        return false;
    }
    QStringList lines;
    for (const Copy& copy : copies)
        lines << describe(copy);
    const int chosen = m_services.dialogs.chooseFromList(
        QStringLiteral("Vraćanje podataka iz arhive"),
        QStringLiteral("Arhive podataka, najnovija prva. Odaberite arhivu iz koje želite vratiti podatke:"), lines, 0);
    if (chosen < 0 || chosen >= copies.size())
        return false;
    const Copy& copy = copies[chosen];
    if (!m_services.dialogs.okCancel(QStringLiteral("Podaci u mapi bit će zamijenjeni podacima iz arhive od %1.\r\n"
                                                    "Trenutni podaci prije toga se arhiviraju.\r\n\r\n"
                                                    "Želite li vratiti podatke iz te arhive?")
                                         .arg(copy.stamp.toString(kShownStamp)),
                                     QStringLiteral("Vraćanje podataka iz arhive")))
        return false;
    if (m_saveEdits && !m_saveEdits()) {
        m_services.dialogs.message(QStringLiteral("Promjene nisu spremljene, podaci nisu vraćeni."), kTitle);
        return false;
    }
    const Result r = backUpAndRestore(m_folder, copy, m_services.clock.now(), seam);
    if (!r.ok) {
        m_services.dialogs.message(r.error, kTitle);
        return false;
    }
    m_services.dialogs.message(QStringLiteral("Podaci su vraćeni iz arhive od %1.\r\n"
                                              "Dotadašnji podaci arhivirani su kao %2.\r\n"
                                              "Program će se sada ponovno pokrenuti.")
                                   .arg(copy.stamp.toString(kShownStamp), QFileInfo(r.copy.invoiceFile).fileName()),
                               kTitle);
    return true;
}

} // namespace backup
