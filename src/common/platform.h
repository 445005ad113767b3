#pragma once

#include <QString>
#include <QStringList>

// What the program asks of the desktop: starting other programs, opening
// documents and web pages, registering its file types. Files of the working
// folder are looked up without regard to case, as on the shops' Windows
// machines.
class Platform {
public:
    enum class Window { Normal, MinimizedNoFocus };

    virtual ~Platform() = default;

    // Starts a program without waiting for it; false when it could not start.
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              Window window) = 0;
    // Opens a file or a web address with the system's default program.
    virtual bool openDocument(const QString& pathOrUrl) = 0;
    // Registers the fund's submission files (.O23 to .O26, .unl) so that the
    // desktop opens them in a plain-text editor. Failures are ignored.
    virtual void registerSubmissionFileTypes() = 0;

    // The name under which a file stands in the working folder, compared
    // without regard to case; empty when there is none.
    virtual QString findFile(const QString& name) const;
    bool fileExists(const QString& name) const { return !findFile(name).isEmpty(); }

    // A companion program such as "Dst.exe" in the working folder; on systems
    // without ".exe" programs an executable of the same name without the
    // extension counts too. Empty when there is none.
    QString findCompanion(const QString& exeName) const;
};
