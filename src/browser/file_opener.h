#pragma once

#include <QString>

#include <functional>

class Platform;

// Opening a file the user picked in a viewer: text files (reports, the
// fund's submission files, markers) in the program's text window, anything
// else with the system's default program.
namespace browser {

using OpenTextFile = std::function<void(const QString& path)>;

// Plain text: no NUL byte in its first kilobytes, and not a document type
// that has a program of its own (RTF, HTML, PDF, office files, pictures).
bool isTextFile(const QString& path);

void openFile(const QString& path, Platform& platform, const OpenTextFile& openText);

} // namespace browser
