#pragma once

#include <QDir>
#include <QString>

// The working folder is the process's current folder: every data file is
// opened there by its bare name.
namespace workdir {

// The actual name of a file in the folder whose name equals `name` without
// regard to case (an exact match wins); empty when there is none.
QString findFileNoCase(const QString& name, const QDir& dir = QDir::current());

// The working folder's path in the form shown to the user.
QString displayPath();

} // namespace workdir
