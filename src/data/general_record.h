#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class Database;
class RecordSet;

// The supplier's general data (the single row of Opci), read once.
struct GeneralRecord {
    QString name;              // Naziv
    QString code;              // Sifra, the supplier's code with the fund
    QString place;             // Mjesto
    QString registration;      // Matbr
    QString iban;              // Ziro
    QString referenceModel;    // Model
    QString kindOfAids;        // Vrsta
    QString officeCity;        // Mjestopodrur
    QString officeStreet;      // Ulicapodrur
    QString address;           // Adresa
    QString responsible;       // Odgovosoba
    QString lineThickness;     // Crte
    QString mainOffice;        // Podrured
    QString prefix;            // Predbroj
    QString chosenNumber;      // Izabroj
    QString invoiceR;          // RacunR
    QString basicMark;         // Oznosn
    QString supplementaryMark; // Ozndop
    QString oib;               // OIB
    QString retailAddress;     // AdresaMalopr
    QString retailCode;        // SifraMalopr
    QString premises;          // Prostor
    QString registerMark;      // Operater
    // The e-invoice: the operator who issues it (label and OIB), the days
    // to pay, the product classification (KPD) of each code list's aids and
    // the folder the documents go to.
    QString einvoiceOperator;    // EOperater
    QString einvoiceOperatorOib; // EOIBOperatera
    QString kpdOld;              // EKpd12, the 12-character list
    QString kpdNew;              // EKpd13, the 13-character list
    QString einvoiceFolder;      // EMapa
    // A second folder (a USB stick, a synchronised folder) that receives a
    // copy of each backup; empty when there is none.
    QString backupSecondPlace;   // ArhivaMapa
    int paymentDays = 0;         // ERokPlacanja
    int mediumCounter = 0;     // Brd
    int year = 0;              // God, four digits

    // The last two characters of the business year (2024 gives "24").
    QString yearDigits() const;

    static const QStringList& columns();
    // The values of columns() in that order.
    static GeneralRecord read(const QVariantList& values);
    static GeneralRecord fromRow(const RecordSet& set, int row);
    // The stored row of a database, read in one query; nullopt with the
    // reason when it cannot be read.
    static std::optional<GeneralRecord> load(Database& db, QString* error);
    // Every field that differs from the stored row. The general-data tab
    // and the shell's commands still set single fields by name.
    void writeTo(RecordSet& set, int row) const;
};
