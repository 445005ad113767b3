#include "shell_commands.h"

#include "common/dialogs.h"
#include "common/platform.h"
#include "common/printer_choice.h"
#include "main_window.h"
#include "data/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace shell {

bool changeBusinessYear(Session& session, Dialogs& dialogs)
{
    const QString current = session.businessYear();
    const QString answer = dialogs.input(
        QStringLiteral("Promjena poslovne godine"),
        QStringLiteral("Molim upišite novu poslovnu godinu (trenutno je aktivna ") + current + QStringLiteral(" godina)"),
        current);
    if (answer.isEmpty())
        return false;
    bool numeric = false;
    answer.trimmed().toDouble(&numeric);
    if (!numeric) {
        dialogs.message(QStringLiteral("Neispravno upisana godina!"));
        return false;
    }
    // Four characters that are not four digits ("20.5", "-200") are no year
    // either.
    bool whole = false;
    const int year = answer.toInt(&whole);
    if (answer.size() != 4 || !whole || year < 1000) {
        dialogs.message(QStringLiteral("Godina mora biti upisan u formatu 0000, npr 2007"));
        return false;
    }
    // Brd counts the media of the year: a later year starts again from the
    // first medium.
    const bool later = year > current.toInt();
    RecordSet& general = session.generalData();
    if (!general.setField(u"God", year) || (later && !general.setField(u"Brd", 0)) || !session.saveAll()) {
        dialogs.message(general.error());
        return false;
    }
    dialogs.message(QStringLiteral("Molim ponovno pokrenite program kako bi promjene postale aktivne!\r\n"
                                   "Ne zaboravite promijeniti i predbrojeve računa!")
                    + (later ? QStringLiteral("\r\nPosljednji redni broj diskete vraćen je na 0: prva disketa (CD) nove "
                                              "godine ima redni broj 1.")
                             : QString()));
    return true;
}

void openHelp(Platform& platform, Dialogs& dialogs)
{
    const QString page = platform.findFile(QStringLiteral("Uputstva.htm"));
    if (page.isEmpty())
        dialogs.message(kNoHelpPage);
    else if (!platform.openDocument(QFileInfo(page).absoluteFilePath()))
        // Without a browser the user is at least told where the guide is.
        dialogs.message(QStringLiteral("Preglednik nije moguće pokrenuti. Upute su u datoteci ")
                        + QDir::toNativeSeparators(QFileInfo(page).absoluteFilePath()));
}

void install(MainWindow& window, Session& session, Services services, PrinterChoice& printer)
{
    window.setCommand(QStringLiteral("provpodpac"),
                      [services] {
                          // Without a browser the user is at least told where to look.
                          if (!services.platform.openDocument(kInsuranceStatusPage))
                              services.dialogs.message(QStringLiteral("Preglednik nije moguće pokrenuti. Podaci pacijenta "
                                                                      "provjeravaju se na adresi ")
                                                       + kInsuranceStatusPage);
                      });
    window.setCommand(QStringLiteral("izbpr"),
                      [&printer, &window, services] { printer.choose(&window, services.dialogs); });
    window.setCommand(QStringLiteral("krup"), [services] { openHelp(services.platform, services.dialogs); });
    window.setCommand(QStringLiteral("promposlgod"), [&session, services] {
        // The program ends at once, without the exit steps; pending edits
        // were saved with the new year.
        if (changeBusinessYear(session, services.dialogs))
            QCoreApplication::exit(0);
    });
}

} // namespace shell
