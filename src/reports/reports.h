#pragma once

#include "common/services.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

class ReportWriter;
class Session;

// A period typed as "ddMMyy-ddMMyy".
struct ReportPeriod {
    QDate from, to;
};

namespace reportperiod {

// The answer "ddMMyy-ddMMyy" of the invoice overviews: six digits, a dash,
// six digits; the year is 2000 + yy, and a day or a month past its end runs
// on into the next month or year (320824 is 1 September 2024, 011324 is
// 1 January 2025). nullopt for any other form ("s" included).
std::optional<ReportPeriod> readCarried(const QString& answer);

// The same form, but each date must exist as typed (the overview by aid).
std::optional<ReportPeriod> readExact(const QString& answer);

} // namespace reportperiod

// The reports of the menu: each writes "Temp.txt" in the working folder and
// hands it to the viewer (the program's report window). The answers come
// through the dialogs; a rule that ends a command shows its message first.
class ReportCommands {
public:
    enum class Paid { Unpaid, Paid, All };
    enum class Note { Without, Any, Given };
    enum class Outcome {
        Written,   // the report was written and shown
        Cancelled, // an empty answer ended the command
        Stopped,   // a message ended the command
    };
    struct Result {
        Outcome outcome = Outcome::Cancelled;
        QString path; // the report written, when Written
    };
    using Viewer = std::function<void(const QString& path)>;

    ReportCommands(Session& session, Services services, Viewer viewer);

    // "Pregled računa..." → "neplaćenih", "plaćenih", "svih".
    Result invoiceOverview(Paid which);
    // "Rekapitulacija poreza".
    Result taxRecapitulation();
    // "Pregled računa po bilješci" → "bez bilješke", "sa bilo kakvom
    // bilješkom", "sa određenom bilješkom".
    Result noteOverview(Note which);
    // "Pregled računa..." → "po šifri kelmorin", for the aid chosen in a
    // code list (an empty code: nothing chosen).
    Result aidOverview(const QString& code, const QString& name);

    // Texts a user meets in more than one place.
    static inline const QString kWholeNumberMessage = QStringLiteral("Broj računa mora biti cijeli broj (upisano: %1)!");
    static inline const QString kPeriodTitle = QStringLiteral("Izbor vremenskog intervala");
    static inline const QString kPeriodMessage =
        QStringLiteral("Pogrešno upisan format početnog i završnog datuma, mora biti ddMMyy-ddMMyy npr: 010806-310806)");
    static inline const QString kNoAidMessage = QStringLiteral("Molim najprije u tablici odaberite pomagalo!");

private:
    bool saveEdits();
    // The edits saved and the database sound: a report may begin.
    bool ready();
    // The period prompt (its text, then the form and "S"), the short or
    // long report, and the report file emptied: the period (none for "S",
    // every invoice) and the length; nullopt when the command ends.
    struct Answers {
        std::optional<ReportPeriod> period;
        bool longReport = false;
    };
    using PeriodReader = std::optional<ReportPeriod> (*)(const QString&);
    std::optional<Answers> askAndBegin(const QString& prompt, PeriodReader read, Outcome& outcome);
    // "1" short, "2" long; nullopt when the command ends.
    std::optional<bool> askLong(Outcome& outcome);
    bool begin();
    Result finish(ReportWriter& writer);
    Result stop(const QString& message);

    Session& m_session;
    Services m_services;
    Viewer m_viewer;
    QString m_path;
};
