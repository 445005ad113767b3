#pragma once

#include <QStringList>

#include <functional>

class QTextStream;
class Session;

namespace reporttool {

// kelmorin-tool report DIR KIND [options]: writes "Temp.txt" in DIR as the
// menu's report does, with the answers given as options:
//   overview --which unpaid|paid|all [--period ddMMyy-ddMMyy] [--long]
//   vat --from N --to M
//   note --which none|any|text [--text T]
//   aid --code CODE [--period ddMMyy-ddMMyy] [--long]
// No --period is the answer "S". The report's path goes to out, the
// messages to err. Returns 0 when written, 1 when a message or an empty
// answer ended the report, 2 for options that do not fit (the caller shows
// its usage).
int run(const QStringList& args, QTextStream& out, QTextStream& err,
        const std::function<bool(const QString& folder, Session& session)>& openFolder);

inline const char* kUsage =
    "  kelmorin-tool report MAPA overview --which unpaid|paid|all [--period ddMMyy-ddMMyy] [--long]\n"
    "  kelmorin-tool report MAPA vat --from N --to M\n"
    "  kelmorin-tool report MAPA note --which none|any|text [--text TEKST]\n"
    "  kelmorin-tool report MAPA aid --code SIFRA [--period ddMMyy-ddMMyy] [--long]\n";

} // namespace reporttool
