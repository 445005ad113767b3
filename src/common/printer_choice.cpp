#include "printer_choice.h"

#include "common/dialogs.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

const QString kNoPrinterMessage = QStringLiteral(
    "Na ovom računalu nije instaliran nijedan pisač.\r\n"
    "Ispisi se i dalje mogu spremiti u PDF datoteku: kod ispisa u prozoru ispisa izaberite ispis u datoteku (PDF).");

void PrinterChoice::choose(QWidget* parent, Dialogs& dialogs)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        dialogs.message(kNoPrinterMessage);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    if (!systemDefault.isEmpty())
        printer.setPrinterName(systemDefault);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Izbor printera i postavke ispisa"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted || printer.outputFormat() != QPrinter::NativeFormat)
        return;
    m_printerName = printer.printerName();
    m_layout = printer.pageLayout();
    m_copies = printer.copyCount();
    m_duplex = int(printer.duplex());
    m_colorMode = int(printer.colorMode());
}

void PrinterChoice::applyTo(QPrinter& printer) const
{
    if (!isChosen())
        return;
    printer.setPrinterName(m_printerName);
    printer.setPageLayout(m_layout);
    printer.setCopyCount(m_copies);
    printer.setDuplex(QPrinter::DuplexMode(m_duplex));
    printer.setColorMode(QPrinter::ColorMode(m_colorMode));
}
