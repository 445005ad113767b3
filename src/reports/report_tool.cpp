#include "report_tool.h"

#include "data/session.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/scripted_dialogs.h"
#include "data/pricing.h"
#include "reports.h"

#include <QTextStream>

namespace reporttool {
namespace {

// The value after an option, or nothing when the option is absent.
std::optional<QString> option(const QStringList& args, const char* name)
{
    const qsizetype i = args.indexOf(QLatin1String(name));
    if (i < 0)
        return std::nullopt;
    return i + 1 < args.size() ? args.at(i + 1) : QString();
}

QString consoleText(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

} // namespace

int run(const QStringList& args, QTextStream& out, QTextStream& err,
        const std::function<bool(const QString& folder, Session& session)>& openFolder)
{
    const QString folder = args.value(0), kind = args.value(1);
    if (folder.isEmpty() || folder.startsWith(u"--") || kind.isEmpty())
        return 2;
    const QStringList opts = args.mid(2);
    const QString period = option(opts, "--period").value_or(QStringLiteral("S"));
    const QString reportKind = opts.contains(QStringLiteral("--long")) ? QStringLiteral("2") : QStringLiteral("1");

    ScriptedDialogs dialogs;
    std::function<ReportCommands::Result(ReportCommands&, Session&)> report;
    // In the program an empty answer ends a report silently; here the user
    // is told which option ended it.
    QString endedBy = QStringLiteral("--period ne smije biti prazan.");
    if (kind == u"overview") {
        static const QStringList which = {"unpaid", "paid", "all"};
        const qsizetype w = which.indexOf(option(opts, "--which").value_or(QString()));
        if (w < 0)
            return 2;
        dialogs.answer(period);
        dialogs.answer(reportKind);
        report = [w](ReportCommands& c, Session&) { return c.invoiceOverview(ReportCommands::Paid(w)); };
    } else if (kind == u"vat") {
        const auto from = option(opts, "--from"), to = option(opts, "--to");
        if (!from || !to)
            return 2;
        dialogs.answer(*from);
        dialogs.answer(*to);
        endedBy = QStringLiteral("--from i --to moraju biti brojevi računa veći od 0.");
        report = [](ReportCommands& c, Session&) { return c.taxRecapitulation(); };
    } else if (kind == u"note") {
        static const QStringList which = {"none", "any", "text"};
        const qsizetype w = which.indexOf(option(opts, "--which").value_or(QString()));
        const auto text = option(opts, "--text");
        if (w < 0 || (w == 2) != text.has_value())
            return 2;
        if (text)
            dialogs.answer(*text);
        endedBy = QStringLiteral("--text ne smije biti prazan.");
        report = [w](ReportCommands& c, Session&) { return c.noteOverview(ReportCommands::Note(w)); };
    } else if (kind == u"aid") {
        // An empty code is the window's "nothing chosen in the grid".
        const auto code = option(opts, "--code");
        if (!code)
            return 2;
        dialogs.answer(period);
        dialogs.answer(reportKind);
        report = [code = *code, &err](ReportCommands& c, Session& session) {
            if (code.isEmpty())
                return c.aidOverview(code, {});
            // The name from the aid's list, as the code-list grid shows it.
            const pricing::Lookup found = pricing::find(session.database(), code);
            if (!found.aid) {
                err << consoleText(found.failed() ? pricing::failedLookupMessage(found.error) : pricing::unknownCodeMessage(code))
                    << '\n';
                return ReportCommands::Result{ReportCommands::Outcome::Stopped, {}};
            }
            return c.aidOverview(code, found.aid->name);
        };
    } else {
        return 2;
    }

    Session session;
    if (!openFolder(folder, session))
        return 1;
    dialogs.onShown([&err](const ScriptedDialogs::Shown& shown) {
        if (shown.kind == ScriptedDialogs::Shown::Message)
            err << consoleText(shown.text) << '\n';
    });
    SystemClock clock;
    HeadlessPlatform platform;
    ReportCommands commands(session, Services{dialogs, clock, platform}, {});
    const ReportCommands::Result result = report(commands, session);
    if (result.outcome == ReportCommands::Outcome::Cancelled)
        err << QStringLiteral("Izvješće nije napravljeno: ") << endedBy << '\n';
    if (result.outcome != ReportCommands::Outcome::Written)
        return 1;
    out << result.path << '\n';
    return 0;
}

} // namespace reporttool
