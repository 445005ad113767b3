#pragma once

#include <QPageLayout>
#include <QString>

class Dialogs;
class QPrinter;
class QWidget;

// The printer the program prints on for the rest of the run: the system's
// default printer until the user picks another one with "Izbor printera i
// postavke ispisa". Every print sets up its printer from here.
class PrinterChoice {
public:
    // The system's print-setup dialog, starting from the system's default
    // printer; OK keeps the printer and its settings for the following
    // prints, Cancel changes nothing. Without any printer installed it says
    // so (prints can still be saved as PDF files) instead of showing an
    // empty list.
    void choose(QWidget* parent, Dialogs& dialogs);

    // The chosen printer and its settings; a printer nobody chose stays the
    // system's default.
    void applyTo(QPrinter& printer) const;

    bool isChosen() const { return !m_printerName.isEmpty(); }
    const QString& printerName() const { return m_printerName; }

private:
    QString m_printerName;
    QPageLayout m_layout;
    int m_copies = 1;
    int m_duplex = 0;
    int m_colorMode = 0;
};
