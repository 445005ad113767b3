// Kelmorin: invoices of a contracted supplier of medical aids to the
// Croatian Health Insurance Fund. The program works on the data files of one
// folder: `kelmorin [DIR]` (app/folder_choice.h says which).
#include "access/progress_dialog.h"
#include "app/folder_choice.h"
#include "app/main_window.h"
#include "backup/backup_wiring.h"
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
#include "common/printer_choice.h"
#include "common/text_file.h"
#include "common/working_folder.h"
#include "eracun/eracun_commands.h"
#include "eracun/eracun_wiring.h"
#include "common/qt_dialogs.h"
#include "invoice/invoice_commands.h"
#include "invoice/invoice_wiring.h"
#include "patients/patients_wiring.h"
#include "print/adjustment_window.h"
#include "print/print_commands.h"
#include "print/dialog_print_target.h"
#include "print/print_wiring.h"
#include "reports/report_window.h"
#include "reports/report_wiring.h"
#include "submission/marking.h"
#include "submission/submission_run.h"
#include "submission/submission_wiring.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QLibraryInfo>
#include <QTranslator>
#include <QTimer>

#include <optional>

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

    QString argument;
    for (const QString& arg : app.arguments().mid(1))
        if (!arg.startsWith(u'-') && argument.isEmpty())
            argument = arg;
    const QString folder = folderchoice::choose(argument, QDir::currentPath(), folderchoice::lastUsed(), QDir::homePath());
    const bool madeFolder = !QFileInfo::exists(folder);
    if ((madeFolder && !QDir().mkpath(folder)) || !QDir::setCurrent(folder)) {
        static_cast<Dialogs&>(dialogs).message(QStringLiteral("Mapu %1 nije moguće otvoriti.").arg(QDir::toNativeSeparators(folder)));
        return 1;
    }

    // One program at a time works on a folder's data, for the whole run.
    std::optional<workdir::FolderLock> folderLock(std::in_place);
    if (!folderLock->isHeld()) {
        static_cast<Dialogs&>(dialogs).message(folderLock->error());
        return 1;
    }
    workdir::narrowDataFiles();
    QString recovery;
    if (!backup::recoverRestore(QDir::current(), &recovery)) {
        static_cast<Dialogs&>(dialogs).message(recovery);
        return 1;
    }
    textfile::removeStaleTemporaries(QDir::current());

    ConversionProgressDialog conversionProgress;
    std::unique_ptr<Session> session = Startup(services, &conversionProgress).run();
    if (!session) {
        // A folder made for this start and then declined is not left behind.
        if (madeFolder) {
            folderLock.reset();
            QFile::remove(workdir::kLockFile);
            QDir::setCurrent(QDir::homePath());
            QDir().rmdir(folder);
        }
        return 1;
    }
    folderchoice::remember(folder);

    MainWindow window(*session, services);
    dialogs.setParent(&window);
    // The printer of this run's prints.
    PrinterChoice printerChoice;
    shell::install(window, *session, services, printerChoice);
    codelisttab::install(window, *session, services);
    InvoiceCommands invoiceCommands(*session, services);
    invoicetab::install(window, *session, invoiceCommands, dialogs);
    DialogPrintTarget printer(printerChoice, &window);
    PrintCommands printCommands(*session, services, invoiceCommands, printer);
    AdjustmentWindow adjustment(session->database(), dialogs, &window);
    printtab::install(window, printCommands, adjustment);
    MarkingCommands marking(*session, services);
    SubmissionRun submission(*session, services, printer);
    submissiontab::install(window, marking, submission);
    eracun::Commands einvoices(*session, services);
    eracuntab::install(window, einvoices, session->database(), services.dialogs);
    const auto reports = reporttab::install(window, *session, services, printer);
    // Text files of the folder and the medium open in the report window.
    browsertab::install(window, services, [&reports](const QString& path) { reports->window().showTextFile(path); });
    const auto archive = backuptab::install(window, *session, services);
    window.statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Mapa s podacima: ") + workdir::displayPath()));
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
    const int rc = app.exec();
    archive->atExit();
    if (archive->restartRequested()) {
        // The new run takes the folder's lock as this one gives it up.
        folderLock.reset();
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {QDir::currentPath()});
    }
    return rc;
}
