#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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

    // The folder of the one removable medium that is present (a diskette or
    // a USB stick): "a:/" on Windows; elsewhere the single medium mounted
    // under /media/<user> or /run/media/<user>, or the folder that the
    // environment variable KELMORIN_MEDIJ names. Empty when there is none,
    // or more than one to choose from.
    virtual QString removableMedium() const;

    // A program that writes files to a CD or DVD, with the arguments that
    // come before the file; none when nothing of the kind is installed.
    struct DiscWriter {
        QString program;
        QStringList arguments;
    };
    virtual std::optional<DiscWriter> discWriter() const;

    // Copies a file whole or not at all, replacing one of the same name;
    // false with the reason in *error on failure.
    virtual bool copyFile(const QString& from, const QString& to, QString* error = nullptr);

    // A companion program such as "Dst.exe" in the working folder; on systems
    // without ".exe" programs an executable of the same name without the
    // extension counts too. Empty when there is none.
    QString findCompanion(const QString& exeName) const;
};
