#include "price_tool.h"

#include "codelist_commands.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace codelists {

int runPricesTool(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QStringList rest = args;
    const bool yes = rest.removeAll(QStringLiteral("--yes")) > 0;
    if (rest.size() != 2 || rest[0].startsWith(u"--") || rest[1].startsWith(u"--"))
        return 2;
    const QString csv = QFileInfo(rest[1]).absoluteFilePath();
    if (!QDir::setCurrent(rest[0])) {
        err << "Mapa " << rest[0] << " ne postoji.\n";
        return 1;
    }
    Database db(schema::kInvoiceFile);
    if (!db.isOpen()) {
        err << db.error() << '\n';
        return 1;
    }
    ScriptedDialogs dialogs;
    dialogs.setFallback(yes);
    auto console = [](QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); };
    dialogs.onShown([&](const ScriptedDialogs::Shown& shown) {
        if (shown.kind != ScriptedDialogs::Shown::OkCancel)
            return;
        // The summary without the window's closing question.
        const QString text = console(shown.text);
        out << text.left(text.lastIndexOf(u'\n')).trimmed() << '\n';
        if (!yes)
            out << "\nNišta nije promijenjeno; s --yes cjenik se učitava.\n";
    });
    SystemClock clock;
    HeadlessPlatform platform;
    const PriceLoad result = loadPriceFile({dialogs, clock, platform}, db, csv, -1);
    const bool failed = result == PriceLoad::Failed;
    for (const QString& message : dialogs.messages())
        (failed ? err : out) << console(message) << '\n';
    // Without --yes the run is a preview: the summary is its result.
    return result == PriceLoad::Failed ? 1 : 0;
}

} // namespace codelists
