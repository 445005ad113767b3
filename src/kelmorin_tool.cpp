// kelmorin-tool: the program's commands without windows, for set-up,
// scripts and tests.
//
//   kelmorin-tool init [--demo] DIR   a new working folder at the newest release
//   kelmorin-tool upgrade DIR         applies the pending upgrade steps in DIR
//   kelmorin-tool print DIR --invoice N --form osnovno|dopunsko|potvrda|knjigovodstvo --pdf FILE
//                                     one document of invoice N of the business year as a PDF
//   kelmorin-tool submission DIR --mark M --medium N --date DD.MM.YYYY --office CCC
//                            [--copies K] [--cover FILE] [--yes]
//                                     the fund's submission file of the invoices marked M
//   kelmorin-tool report DIR overview|vat|note|aid [options]
//                                     a report written to DIR/Temp.txt (options in reports/report_tool.h)
//   kelmorin-tool report DIR recall [--months N]
//                                     the patients due for a check, written to DIR/Temp.txt
//   kelmorin-tool prices DIR FILE.csv [--yes]
//                                     what the fund's price list changes; applied with --yes
//   kelmorin-tool import-access SOURCE.mdb TARGET
//                                     an Access database converted into a new database file
//   kelmorin-tool backup DIR          a checked backup of DIR's databases in DIR/Arhiva
//   kelmorin-tool restore DIR FILE    backs up DIR, then puts the backup FILE in its place
//   kelmorin-tool eracun DIR --invoice N [--kind osnovno|dopunsko] --out FILE.xml
//   kelmorin-tool eracun DIR --mark M --out-dir FOLDER
//                                     the e-invoices of one invoice or of the invoices marked M
#include "kelmorin_tool.h"

#include "access/conversion.h"
#include "backup/archive_commands.h"
#include "codelists/price_tool.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/desktop_platform.h"
#include "common/folder_lock.h"
#include "common/working_folder.h"
#include "common/scripted_dialogs.h"
#include "common/text_file.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "data/session.h"
#include "data/upgrade_chain.h"
#include "eracun/eracun_run.h"
#include "invoice/invoice_commands.h"
#include "print/print_commands.h"
#include "print/print_target.h"
#include "patients/recall.h"
#include "reports/report_tool.h"
#include "submission/submission_run.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Messages end with CR LF inside; on a terminal one LF per line.
QString consoleText(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// Every command that writes holds the working folder's lock for its whole
// run; false (with the reason on standard error) when another program has
// it. The data files' rights are narrowed once the folder is ours.
bool holdFolder(std::optional<workdir::FolderLock>& lock, const QString& folder = QStringLiteral("."))
{
    lock.emplace(folder);
    if (!lock->isHeld()) {
        err() << consoleText(lock->error()) << '\n';
        return false;
    }
    workdir::narrowDataFiles(QDir(folder));
    // A restore that a crash interrupted is finished before anything reads
    // the data.
    QString error;
    if (!backup::recoverRestore(QDir(folder), &error)) {
        err() << consoleText(error) << '\n';
        return false;
    }
    textfile::removeStaleTemporaries(QDir(folder));
    return true;
}

int usage()
{
    err() << "Upotreba:\n"
             "  kelmorin-tool init [--demo] MAPA\n"
             "  kelmorin-tool upgrade MAPA\n"
             "  kelmorin-tool print MAPA --invoice N --form osnovno|dopunsko|potvrda|knjigovodstvo --pdf DATOTEKA\n"
             "  kelmorin-tool submission MAPA --mark M --medium N --date DD.MM.GGGG --office PPP\n"
             "                           [--copies K] [--cover DATOTEKA.pdf] [--yes]\n"
          << reporttool::kUsage << patients::kRecallUsage
          << "  kelmorin-tool prices MAPA CJENIK.csv [--yes]\n"
             "  kelmorin-tool import-access IZVOR.mdb NOVA_DATOTEKA\n"
             "  kelmorin-tool backup MAPA\n"
             "  kelmorin-tool restore MAPA ARHIVA.mdb\n"
             "  kelmorin-tool eracun MAPA --invoice N [--kind osnovno|dopunsko] --out DATOTEKA.xml\n"
             "  kelmorin-tool eracun MAPA --mark M --out-dir MAPA\n";
    err().flush();
    return 2;
}

int runInit(const QStringList& args)
{
    const bool demo = args.contains(QStringLiteral("--demo"));
    QStringList rest = args;
    rest.removeAll(QStringLiteral("--demo"));
    if (rest.size() != 1)
        return usage();
    if (!QDir().mkpath(rest.first())) {
        err() << "Ne mogu napraviti mapu " << QDir::toNativeSeparators(rest.first()) << ".\n";
        return 1;
    }
    std::optional<workdir::FolderLock> lock;
    if (!holdFolder(lock, rest.first()))
        return 1;
    SystemClock clock;
    QString error;
    if (!newfolder::create(rest.first(), demo ? newfolder::Content::Demo : newfolder::Content::Empty, clock, &error)) {
        err() << consoleText(error) << '\n';
        return 1;
    }
    out() << "Nova radna mapa: " << QDir(rest.first()).absolutePath() << '\n';
    return 0;
}

int runUpgrade(const QStringList& args)
{
    if (args.size() != 1)
        return usage();
    if (!QDir::setCurrent(args.first())) {
        err() << "Mapa " << args.first() << " ne postoji.\n";
        return 1;
    }
    std::optional<workdir::FolderLock> lock;
    if (!holdFolder(lock))
        return 1;
    SystemClock clock;
    DesktopPlatform platform;
    ScriptedDialogs dialogs;
    upgrade::Chain chain(dialogs, clock, platform);
    const bool ok = (chain.pendingSteps().isEmpty()
                     || backup::beforeManyChanges(QDir::current(), QStringLiteral("nadogradnje"), {dialogs, clock, platform}))
                    && chain.run();
    // The step messages go to standard output; a failure's message, always
    // the last one shown, to standard error.
    QStringList messages = dialogs.messages();
    const QString failure = !ok && !messages.isEmpty() ? messages.takeLast() : QString();
    for (const QString& message : messages)
        out() << consoleText(message) << '\n';
    if (!ok) {
        err() << consoleText(failure) << '\n';
        return 1;
    }
    return 0;
}

// The value after an option ("--pdf FILE"), or an empty text.
QString option(const QStringList& args, const char* name)
{
    const qsizetype i = args.indexOf(QLatin1String(name));
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
}

PrintCommands::Outcome printForm(PrintCommands& prints, const QString& form)
{
    if (form == u"osnovno")
        return prints.printInvoice(invoiceslots::Kind::Basic);
    if (form == u"dopunsko")
        return prints.printInvoice(invoiceslots::Kind::Supplementary);
    if (form == u"potvrda")
        return prints.printConfirmationForm();
    return prints.printBookkeeping();
}

// Makes the folder the working folder and opens its data as the program
// does (without the upgrade chain); false with the reason on standard error.
bool openSession(const QString& folder, Session& session, std::optional<workdir::FolderLock>& lock,
                 Session::Scope scope = Session::Scope::Everything)
{
    if (!QDir::setCurrent(folder)) {
        err() << "Mapa " << folder << " ne postoji.\n";
        return false;
    }
    if (!holdFolder(lock))
        return false;
    if (!session.open(scope)) {
        err() << consoleText(session.error()) << '\n';
        return false;
    }
    return true;
}

// Prints like the program, with every prompt answered OK; the messages go
// to standard error, and a print that a check stopped ends with 1.
int runPrint(const QStringList& args)
{
    const QString folder = args.value(0), form = option(args, "--form");
    const QString pdf = option(args, "--pdf"), number = option(args, "--invoice");
    static const QStringList forms = {"osnovno", "dopunsko", "potvrda", "knjigovodstvo"};
    if (folder.startsWith(u"--") || pdf.isEmpty() || number.isEmpty() || !forms.contains(form))
        return usage();
    const QString pdfPath = QFileInfo(pdf).absoluteFilePath();
    std::optional<workdir::FolderLock> lock;
    Session session;
    if (!openSession(folder, session, lock))
        return 1;
    RecordSet& invoices = session.invoices();
    const int row = invoices.findFirst(u"Rnbr", number.toInt());
    if (row < 0 || !invoices.setCurrent(row)) {
        err() << "Račun broj " << number << " ne postoji u poslovnoj godini " << session.businessYear() << ".\n";
        return 1;
    }
    ScriptedDialogs dialogs;
    dialogs.setFallback(true);
    dialogs.onShown([](const ScriptedDialogs::Shown& shown) {
        if (shown.kind == ScriptedDialogs::Shown::Message)
            err() << consoleText(shown.text) << '\n';
    });
    SystemClock clock;
    HeadlessPlatform platform;
    const Services services{dialogs, clock, platform};
    InvoiceCommands invoiceCommands(session, services);
    PdfPrintTarget target(pdfPath);
    PrintCommands prints(session, services, invoiceCommands, target);
    const PrintCommands::Outcome outcome = printForm(prints, form);
    // What the print changed in the invoice (the amount, the confirmation
    // number) is kept, as in the program.
    if (!session.saveAll()) {
        const QString reason = session.invoices().error().isEmpty() ? session.generalData().error() : session.invoices().error();
        err() << "Promjene računa nije moguće spremiti u " << schema::kInvoiceFile << ": " << consoleText(reason) << '\n';
        return 1;
    }
    if (outcome != PrintCommands::Outcome::Printed)
        return 1;
    out() << pdfPath << '\n';
    return 0;
}

// The submission run with the answers given on the command line; the
// medium is left to the user (the file stays in the folder).
int runSubmission(const QStringList& args)
{
    const QString folder = args.value(0), mark = option(args, "--mark"), medium = option(args, "--medium");
    const QString date = option(args, "--date"), office = option(args, "--office");
    const QString copies = option(args, "--copies").isEmpty() ? QStringLiteral("1") : option(args, "--copies");
    const QString cover = option(args, "--cover");
    if (folder.startsWith(u"--") || mark.isEmpty() || medium.isEmpty() || date.isEmpty() || office.isEmpty()
        || SubmissionRun::copies(copies) == 0)
        return usage();
    const QString coverPath = cover.isEmpty() ? QString() : QFileInfo(cover).absoluteFilePath();
    std::optional<workdir::FolderLock> lock;
    Session session;
    // The run reads its own invoices; the year's set of the window is not needed.
    if (!openSession(folder, session, lock, Session::Scope::GeneralDataOnly))
        return 1;
    ScriptedDialogs dialogs;
    dialogs.setFallback(args.contains(QStringLiteral("--yes")));
    // The medium is left to the user: the file stays in the folder.
    dialogs.answer(QString());
    dialogs.onShown([](const ScriptedDialogs::Shown& shown) {
        if (shown.kind == ScriptedDialogs::Shown::Message || shown.kind == ScriptedDialogs::Shown::OkCancel)
            err() << consoleText(shown.text) << '\n';
    });
    SystemClock clock;
    HeadlessPlatform platform;
    const Services services{dialogs, clock, platform};
    std::unique_ptr<PrintTarget> target;
    if (coverPath.isEmpty())
        target = std::make_unique<DiscardPrintTarget>();
    else
        target = std::make_unique<PdfPrintTarget>(coverPath);
    const QFileInfo coverBefore(coverPath);
    const bool coverExisted = !coverPath.isEmpty() && coverBefore.exists();
    const QDateTime coverChanged = coverExisted ? coverBefore.lastModified() : QDateTime();
    SubmissionRun run(session, services, *target);
    const SubmissionRun::Result result = run.run({mark, medium, date, office, copies});
    if (result.outcome != SubmissionRun::Outcome::Completed) {
        // A cover letter for a file that was never written would be sent
        // with nothing: the letter this run made goes again.
        const QFileInfo cover(coverPath);
        if (!coverPath.isEmpty() && cover.exists() && !cover.isSymLink()
            && (result.fileName.isEmpty() || !QFileInfo::exists(result.fileName))
            && (!coverExisted || cover.lastModified() != coverChanged))
            QFile::remove(coverPath);
        return 1;
    }
    out() << result.fileName << '\n';
    if (result.stoppedAt > 0) {
        err() << "Datoteka " << result.fileName << " sadrži samo račune prije računa br. " << result.stoppedAt << ".\n";
        return 1;
    }
    return 0;
}

int runReport(const QStringList& args)
{
    std::optional<workdir::FolderLock> lock;
    if (args.value(1) == u"recall") {
        if (args.value(0).startsWith(u"--"))
            return usage();
        if (!QDir::setCurrent(args.value(0))) {
            err() << "Mapa " << args.value(0) << " ne postoji.\n";
            return 1;
        }
        if (!holdFolder(lock))
            return 1;
        const int rc = patients::runRecallTool(args.mid(2), out(), err());
        return rc == 2 ? usage() : rc;
    }
    // A report reads only the invoices it lists, straight from the file; the
    // year's set of the window is not needed.
    const int rc = reporttool::run(args, out(), err(), [&lock](const QString& folder, Session& session) {
        return openSession(folder, session, lock, Session::Scope::GeneralDataOnly);
    });
    return rc == 2 ? usage() : rc;
}

// The code lists change under the folder's lock; the folder is the first
// argument that is not an option.
int runPrices(const QStringList& args)
{
    std::optional<workdir::FolderLock> lock;
    for (const QString& arg : args) {
        if (arg.startsWith(u"--"))
            continue;
        if (QFileInfo(arg).isDir() && !holdFolder(lock, arg))
            return 1;
        break;
    }
    const int rc = codelists::runPricesTool(args, out(), err());
    return rc == 2 ? usage() : rc;
}

// Converts an Access database into a new file; the tables it converted go
// to standard output, a failure's reason to standard error.
int runImportAccess(const QStringList& args)
{
    if (args.size() != 2 || args.at(0).startsWith(u"--") || args.at(1).startsWith(u"--"))
        return usage();
    accessdb::Conversion conversion;
    if (!conversion.run(args.at(0), args.at(1))) {
        err() << consoleText(conversion.error()) << '\n';
        return 1;
    }
    for (const QString& table : conversion.tables())
        out() << table << '\n';
    return 0;
}

// A folder given on the command line must exist before its lock is taken.
bool existingFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    err() << "Mapa " << QDir::toNativeSeparators(folder) << " ne postoji.\n";
    return false;
}

int runBackup(const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(u"--"))
        return usage();
    std::optional<workdir::FolderLock> lock;
    if (!existingFolder(args.first()) || !holdFolder(lock, args.first()))
        return 1;
    const QDir folder(args.first());
    const backup::Result result = backup::make(folder, QDateTime::currentDateTime(), backup::secondPlace(folder));
    if (!result.ok) {
        err() << consoleText(result.error) << '\n';
        return 1;
    }
    out() << QDir::toNativeSeparators(result.copy.invoiceFile) << '\n';
    if (!result.copy.patientFile.isEmpty())
        out() << QDir::toNativeSeparators(result.copy.patientFile) << '\n';
    if (!result.warning.isEmpty())
        err() << consoleText(result.warning) << '\n';
    return 0;
}

int runRestore(const QStringList& args)
{
    if (args.size() != 2 || args.first().startsWith(u"--"))
        return usage();
    std::optional<workdir::FolderLock> lock;
    if (!existingFolder(args.first()) || !holdFolder(lock, args.first()))
        return 1;
    const std::optional<backup::Copy> copy = backup::copyOf(args.at(1));
    if (!copy) {
        err() << "Datoteka " << QDir::toNativeSeparators(args.at(1)) << " nije arhiva programa (Kelmorin-GGGGMMDD-HHMMSS.mdb).\n";
        return 1;
    }
    const backup::Result result = backup::backUpAndRestore(QDir(args.first()), *copy, QDateTime::currentDateTime());
    if (!result.ok) {
        err() << consoleText(result.error) << '\n';
        return 1;
    }
    out() << "Trenutni podaci arhivirani su u " << QDir::toNativeSeparators(result.copy.invoiceFile) << '\n'
          << "Vraćeni su podaci iz arhive od " << copy->stamp.toString(QStringLiteral("dd.MM.yyyy. HH:mm:ss")) << ".\n";
    return 0;
}

// The e-invoices with the program's checks; every invoice that fails is
// named on standard error and the tool ends with 1.
int runEracun(const QStringList& args)
{
    const QString folder = args.value(0), number = option(args, "--invoice"), mark = option(args, "--mark");
    const QString outFile = option(args, "--out"), outDir = option(args, "--out-dir"), kind = option(args, "--kind");
    const bool one = !number.isEmpty() && !outFile.isEmpty() && mark.isEmpty() && outDir.isEmpty();
    const bool marked = number.isEmpty() && outFile.isEmpty() && !mark.isEmpty() && !outDir.isEmpty();
    if (folder.startsWith(u"--") || (!one && !marked) || (!kind.isEmpty() && (!one || (kind != u"osnovno" && kind != u"dopunsko"))))
        return usage();
    bool numeric = false;
    const int invoiceNumber = number.toInt(&numeric);
    if (one && !numeric)
        return usage();
    const QString target = QFileInfo(one ? outFile : outDir).absoluteFilePath();
    std::optional<workdir::FolderLock> lock;
    Session session;
    if (!openSession(folder, session, lock, Session::Scope::GeneralDataOnly))
        return 1;
    SystemClock clock;
    eracun::Run run(session.database(), clock);
    if (!run.load()) {
        err() << consoleText(run.error()) << '\n';
        return 1;
    }
    const eracun::Run::Outcome outcome =
        one ? run.writeInvoice(session.twoDigitYear(), invoiceNumber,
                               kind == u"dopunsko" ? eracun::Kind::Supplementary : eracun::Kind::Basic, {}, target)
            : run.writeMarked(session.twoDigitYear(), mark, target);
    for (const QString& file : outcome.files)
        out() << file << '\n';
    // Written, but with amounts that differ from the printed invoice by the
    // rounding of the VAT: said, not failed.
    for (const QString& note : outcome.differences)
        err() << consoleText(note) << '\n';
    for (const QString& message : outcome.messages)
        err() << consoleText(message) << '\n';
    if (marked && outcome.files.isEmpty() && outcome.messages.isEmpty()) {
        err() << "Nema računa s oznakom " << mark << ".\n";
        return 1;
    }
    return outcome.ok() ? 0 : 1;
}

} // namespace

int kelmorinTool(int argc, char* argv[])
{
    // The tool never shows a window; printing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    workdir::keepFilesPrivate();
    // A submission without a cover letter to draw needs no fonts: without
    // the display side the run neither loads the platform nor the font
    // configuration (which the display side reads even at its exit).
    bool drawsNothing = argc > 1 && (qstrcmp(argv[1], "submission") == 0 || qstrcmp(argv[1], "import-access") == 0
                                     || qstrcmp(argv[1], "eracun") == 0);
    for (int i = 2; i < argc; ++i)
        drawsNothing = drawsNothing && qstrcmp(argv[i], "--cover") != 0;
    std::unique_ptr<QCoreApplication> app;
    if (drawsNothing)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QGuiApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    int rc = 2;
    if (command == u"init")
        rc = runInit(args);
    else if (command == u"upgrade")
        rc = runUpgrade(args);
    else if (command == u"print")
        rc = runPrint(args);
    else if (command == u"submission")
        rc = runSubmission(args);
    else if (command == u"report")
        rc = runReport(args);
    else if (command == u"prices")
        rc = runPrices(args);
    else if (command == u"import-access")
        rc = runImportAccess(args);
    else if (command == u"backup")
        rc = runBackup(args);
    else if (command == u"restore")
        rc = runRestore(args);
    else if (command == u"eracun")
        rc = runEracun(args);
    else
        rc = usage();
    out().flush();
    err().flush();
    return rc;
}
