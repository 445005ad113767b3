// kelmorin-tool: the program's commands without windows, for set-up,
// scripts and tests.
//
//   kelmorin-tool init [--demo] DIR   a new working folder at the newest release
//   kelmorin-tool upgrade DIR         applies the pending upgrade steps in DIR
#include "common/clock.h"
#include "common/desktop_platform.h"
#include "common/scripted_dialogs.h"
#include "data/new_folder.h"
#include "data/upgrade_chain.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

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

int usage()
{
    err() << "Upotreba:\n"
             "  kelmorin-tool init [--demo] MAPA\n"
             "  kelmorin-tool upgrade MAPA\n";
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
    SystemClock clock;
    DesktopPlatform platform;
    ScriptedDialogs dialogs;
    upgrade::Chain chain(dialogs, clock, platform);
    const bool ok = chain.run();
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    int rc = 2;
    if (command == u"init")
        rc = runInit(args);
    else if (command == u"upgrade")
        rc = runUpgrade(args);
    else
        rc = usage();
    out().flush();
    err().flush();
    return rc;
}
