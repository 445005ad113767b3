// Kelmorin: invoices of a contracted supplier of medical aids to the
// Croatian Health Insurance Fund. The program works on the data files of the
// folder it is started in.
#include "app/main_window.h"
#include "data/session.h"
#include "app/shell_commands.h"
#include "app/startup.h"
#include "app/termination.h"
#include "app/version_notice.h"
#include "browser/browser_wiring.h"
#include "codelists/codelists_wiring.h"
#include "common/clock.h"
#include "common/desktop_platform.h"
#include "common/dialogs.h"
#include "common/folder_lock.h"
#include "common/working_folder.h"
#include "common/qt_dialogs.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"
#include "patients/patients_wiring.h"
#include "print/adjustment_window.h"
#include "print/print_commands.h"
#include "print/print_target.h"
#include "print/print_wiring.h"
#include "reports/report_window.h"
#include "reports/report_wiring.h"
#include "submission/marking.h"
#include "submission/submission_run.h"
#include "submission/submission_wiring.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QTimer>

int main(int argc, char* argv[])
{
    workdir::keepFilesPrivate();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelmorin"));
    QLocale::setDefault(QLocale::system());
    // The toolkit's own dialogs (buttons, the print dialog) speak Croatian
    // like the rest of the program.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Croatian, QLocale::Croatia), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

    QtDialogs dialogs;
    SystemClock clock;
    DesktopPlatform platform;
    const Services services{dialogs, clock, platform};

    // One program at a time works on a folder's data, for the whole run.
    workdir::FolderLock folderLock;
    if (!folderLock.isHeld()) {
        static_cast<Dialogs&>(dialogs).message(folderLock.error());
        return 1;
    }
    workdir::narrowDataFiles();

    std::unique_ptr<Session> session = Startup(services).run();
    if (!session)
        return 1;

    MainWindow window(*session, services);
    dialogs.setParent(&window);
    shell::install(window, *session, services);
    codelisttab::install(window, *session, services);
    InvoiceCommands invoiceCommands(*session, services);
    invoicetab::install(window, *session, invoiceCommands, dialogs);
    DialogPrintTarget printer(session->printer, &window);
    PrintCommands printCommands(*session, services, invoiceCommands, printer);
    AdjustmentWindow adjustment(session->database(), dialogs, &window);
    printtab::install(window, printCommands, adjustment);
    MarkingCommands marking(*session, services);
    SubmissionRun submission(*session, services, printer);
    submissiontab::install(window, marking, submission);
    const auto reports = reporttab::install(window, *session, services, printer);
    // Text files of the folder and the medium open in the report window.
    browsertab::install(window, services, [&reports](const QString& path) { reports->window().showTextFile(path); });
    const auto patientRegister = patientstab::install(window, services, printer, session->generalData(),
                                                      [&reports](const QString& path) { reports->window().showTextFile(path); });
    window.prepare();
    // Ended by the desktop or a signal: the edits are saved as at exit.
    termination::install([&session, &patientRegister] {
        session->saveAll();
        patientRegister->saveAll();
    });
    window.show();

    version::Notice notice(dialogs);
    QTimer::singleShot(0, &notice, [&] { notice.start(clock.today()); });
    return app.exec();
}
