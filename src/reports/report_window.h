#pragma once

#include "text_document.h"

#include <QWidget>

#include <functional>

class Dialogs;
class Platform;
class PrintTarget;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's window for its text documents (the reports, and any other
// text file the program shows): the text decoded from Windows-1250 in a
// fixed-pitch font so that the columns line up, read-only, beside the main
// window without blocking it. "Ispis..." prints through the system's print
// dialog (a PDF file too), "Spremi kao..." writes a copy, "Otvori u
// uređivaču" opens the file with the desktop's default program.
class ReportWindow : public QWidget {
    Q_OBJECT

public:
    ReportWindow(PrintTarget& printer, Dialogs& dialogs, Platform& platform, QWidget* parent = nullptr);

    // Reads the file and shows it, bringing the window to the front; a file
    // that cannot be read shows a message. False when nothing is shown.
    bool showTextFile(const QString& path);

    const TextDocument& document() const { return m_document; }
    QPlainTextEdit* textView() const { return m_view; }

    // The button commands.
    void print();
    void saveAs();
    void openInEditor();

    // Asks where to save the copy (the system's file dialog); an empty
    // answer saves nothing. Tests put their own answer here.
    std::function<QString(const QString& suggested)> chooseSavePath;

private:
    PrintTarget& m_printer;
    Dialogs& m_dialogs;
    Platform& m_platform;
    TextDocument m_document;
    QPlainTextEdit* m_view = nullptr;
};
