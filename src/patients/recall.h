#pragma once

#include "common/services.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class Database;
class QTextStream;

// Who is due for a check: opticians recall their patients a year or two
// after the last examination. The list is a text report ("Temp.txt") of
// every patient whose last visit is at least the given number of months
// old, or who has no visit at all.
namespace patients {

struct RecallEntry {
    qint64 number = -1;
    QString surname, name, born, phone, street, postcode, town;
    QDate lastVisit; // invalid: no visit
};

// The patients due on `today`: those whose last visit was on or before the
// same day `months` months earlier (a visit exactly that long ago is due),
// and those without a visit. Those with a visit come first, the longest
// waiting first; those without a visit follow, by surname and name.
// nullopt with the reason when the register cannot be read.
std::optional<std::vector<RecallEntry>> dueForCheck(Database& db, const QDate& today, int months,
                                                    QString* error = nullptr);

// The report's bytes as they are written to the file (Windows-1250, CR LF).
QByteArray recallReport(const std::vector<RecallEntry>& due, const QDate& today, int months);

// "Pacijenti za kontrolu...": asks for the months (default 24), writes
// "Temp.txt" in the working folder from Pac.mdb there and hands it to the
// viewer. The report's path, or empty when an answer or a message ended
// the command.
class RecallCommand {
public:
    using Viewer = std::function<void(const QString& path)>;
    RecallCommand(Database& db, Services services, Viewer viewer);
    QString run();

private:
    Database& m_db;
    Services m_services;
    Viewer m_viewer;
};

// Writes the report for the tool in the current folder: the months come
// from "--months N" (24 without it). The path goes to out, a reason to err.
// 0 written, 1 failed, 2 for options that do not fit.
int runRecallTool(const QStringList& options, QTextStream& out, QTextStream& err);

inline const char* kRecallUsage = "  kelmorin-tool report MAPA recall [--months N]\n";

} // namespace patients
