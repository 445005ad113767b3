#pragma once

#include "common/services.h"

#include <QString>

// Putting the submission file on the medium that goes to the fund: the
// removable medium, a CD through a disc-writing program, or a folder.
namespace media {

inline const QString kDiscWriterHelpPage = QStringLiteral("https://wiki.debian.org/BurnCd");

enum class Outcome {
    Done,        // copied, or nothing chosen, or a failure that was reported
    CdCancelled, // the user would not install a disc-writing program
};

// Asks for the medium and copies the file (a full path) to it.
Outcome choose(const QString& file, Services services);

// Where a typed answer puts the file: inside an existing folder, after a
// bare drive letter ("D:" becomes "D:\"), otherwise right after the text.
QString destination(const QString& answer, const QString& fileName);

} // namespace media
