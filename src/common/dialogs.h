#pragma once

#include <QString>
#include <QStringList>

// The caption of the main window; also the title of every message box that
// does not name its own.
inline const QString kAppCaption = QStringLiteral("Računi za optička kelmorin");

// The modal questions a command may put to the user. Commands never open
// message boxes themselves: the program passes message boxes, the tests and
// the command-line tool pass scripted answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An information box with an OK button. An empty title means kAppCaption.
    virtual void message(const QString& text, const QString& title) = 0;
    void message(const QString& text) { message(text, QString()); }

    // OK / Cancel; true for OK.
    virtual bool okCancel(const QString& text, const QString& title) = 0;
    bool okCancel(const QString& text) { return okCancel(text, QString()); }
    // Yes / No; true for Yes.
    virtual bool yesNo(const QString& text, const QString& title) = 0;

    // An input box with a default answer. Cancel gives the empty string,
    // which every command treats like an empty answer.
    virtual QString input(const QString& title, const QString& prompt,
                          const QString& defaultAnswer) = 0;

    // A list of lines to choose one from, `preselected` marked at first.
    // The index of the line chosen, or -1 for Cancel (or an empty list).
    virtual int chooseFromList(const QString& title, const QString& prompt, const QStringList& lines,
                               int preselected) = 0;
};
