#pragma once

#include <QDir>
#include <QString>

// The user guide "Uputstva.htm" with its pictures in "Uputstva/", built
// into the program so that every data folder can have it: "Opcije" →
// "Pomoć" opens it from the working folder.
namespace guide {

inline const QString kPage = QStringLiteral("Uputstva.htm");

// Writes the guide into `folder` unless it already holds a page of that
// name (in any case of letters; a page the user changed is kept). False with
// the reason when a file could not be written.
bool install(const QDir& folder, QString* error = nullptr);

} // namespace guide
