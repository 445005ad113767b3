#pragma once

#include "common/text_file.h"
#include "einvoice.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Clock;
class Database;

namespace eracun {

// Writes the e-invoices of invoices of the business year: reads the
// invoices, the general data and the classification of the aids from the
// database, keeps the time each invoice's e-invoice was first made (so that
// making it again gives the same document), checks every document and
// writes the ones that pass through the program's one file writer. Nothing
// is written for an invoice that fails.
class Run {
public:
    Run(Database& db, const Clock& clock);

    // The general data and the classification; false with error() when
    // they could not be read.
    bool load();
    const GeneralRecord& general() const { return m_general; }
    const QString& error() const { return m_error; }

    struct Outcome {
        QStringList files;   // the paths written
        QStringList views;   // the pages to read beside them (Pregled), when written to a folder
        QStringList messages; // one per invoice that failed, naming what to fix
        int invoices = 0;    // invoices with their documents written
        // One note per document written whose amounts differ from the
        // printed invoice's by the rounding of the VAT (differenceNote).
        QStringList differences;
        bool ok() const { return messages.isEmpty(); }
    };

    // The documents of invoice `number` of the year (`kind` alone when
    // given) into `folder`, or to `file` when that is given (one kind).
    Outcome writeInvoice(int twoDigitYear, int number, std::optional<Kind> kind, const QString& folder,
                         const QString& file = {});

    // The documents of every invoice of the year carrying the submission
    // mark. `progress` hears (done, count) after each invoice and stops the
    // run by returning false.
    Outcome writeMarked(int twoDigitYear, const QString& mark, const QString& folder,
                        const std::function<bool(int, int)>& progress = {});

    // The folder the program writes to when none was chosen: eRacun in the
    // data folder.
    static QString defaultFolder();

private:
    // Builds, checks and writes one invoice's documents.
    // Writes the documents at once, or adds them to `batch` when one is
    // given (written together at the end of a run).
    void write(InvoiceRecord invoice, const std::vector<Kind>& kinds, const QString& folder, const QString& file,
               pricing::Catalogue& catalogue, Outcome& outcome, std::vector<textfile::NamedBytes>* batch = nullptr);
    bool storeTime(const InvoiceRecord& invoice, const QString& time);

    Database& m_db;
    const Clock& m_clock;
    GeneralRecord m_general;
    Classification m_classification;
    QString m_error;
};

} // namespace eracun
