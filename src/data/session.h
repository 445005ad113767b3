#pragma once

#include "data/database.h"
#include "data/record_set.h"

#include <QStringList>

#include <memory>

// What the main window keeps open for the whole run: the connection to
// Kelmorin.mdb and its four live sets (general data, the business year's
// invoices, the two code lists), the business year, and the list of
// confirmation-form variants.
class Session {
public:
    Session();
    ~Session();

    // What open() reads: everything the main window shows, or only the
    // general data (a command of the tool that reads its own invoices).
    enum class Scope { Everything, GeneralDataOnly };
    // Opens Kelmorin.mdb and the sets; false with error() on failure.
    bool open(Scope scope = Scope::Everything);
    const QString& error() const { return m_error; }

    Database& database() { return *m_db; }
    RecordSet& generalData() { return *m_generalData; }
    // Not with Scope::GeneralDataOnly.
    RecordSet& invoices() { return *m_invoices; }
    // The year's set is open (Scope::Everything): only then can an invoice
    // be waiting to be written back.
    bool hasInvoices() const { return m_invoices != nullptr; }
    RecordSet& oldCodeList() { return *m_oldCodeList; }  // 12-character codes
    RecordSet& newCodeList() { return *m_newCodeList; }  // 13-character codes

    // The business year as the general data shows it (2024) and as Rn.God
    // holds it (24).
    QString businessYear() const;
    int twoDigitYear() const { return m_twoDigitYear; }

    // A business year without invoices gets invoice 1, made as every new
    // invoice is (freshInvoice).
    bool ensureFirstInvoice(const QDate& today);
    // The stored values of a new invoice of the business year: its number,
    // dated (billing, order and issue) today, addressed to the main
    // regional office of the general data.
    QVariantMap freshInvoice(int number, const QDate& today) const;

    // Writes back every pending edit (the current invoice, the general data,
    // a changed row of a code list).
    bool saveAll();

    QStringList formVariants;
    int chosenFormVariant = -1;

private:
    // After a failed read: the reason is the file's damage, when it is.
    void explainDamage();

    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_generalData;
    std::unique_ptr<RecordSet> m_invoices;
    std::unique_ptr<RecordSet> m_oldCodeList;
    std::unique_ptr<RecordSet> m_newCodeList;
    int m_twoDigitYear = 0;
    QString m_error;
};
