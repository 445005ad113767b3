#pragma once

#include "access/conversion.h"
#include "common/services.h"

#include <QString>

// At start-up: a Kelmorin.mdb or Pac.mdb of the folder that is still an
// Access database (a shop's folder from the earlier program) is converted
// on the user's word. The original is kept unchanged in Arhiva/ with the
// date and time of the conversion in its name; the converted file takes
// its place.
namespace accessdb {

// The window that shows a conversion's progress.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void begin(const QString& title, qint64 rows) = 0;
    // rowsDone < 0: no news, only keep the window alive.
    virtual void update(const QString& table, qint64 rowsDone) = 0;
    virtual void end() = 0;
};

class StartupConversion {
public:
    enum class Outcome {
        NothingToConvert,
        Converted,
        Declined, // the user said no: the program ends, nothing changed
        Failed,   // the reason has been shown; nothing changed
    };

    StartupConversion(Services services, ProgressView* progress, QString program = Conversion::defaultProgram())
        : m_services(services), m_progress(progress), m_program(std::move(program)) {}

    // Runs in the working folder, before the upgrade chain.
    Outcome run();

    // The question put for one file.
    static QString question(const QString& file);

private:
    bool convertOne(const QString& file);

    Services m_services;
    ProgressView* m_progress;
    QString m_program;
};

} // namespace accessdb
