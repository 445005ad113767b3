#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <array>
#include <functional>

class Database;

// An invoice as the reports read it: only the fields they print or sum.
struct ReportInvoice {
    static constexpr int kSlots = 7;

    int number = 0; // Rnbr
    QDate billed;   // Datum
    QString confirmation; // Broj
    QString surname, firstName;
    std::array<QString, kSlots> codes;    // Pom1..Pom7; empty when none
    std::array<double, kSlots> quantities{}; // Kol1..Kol7
    double amount = 0; // Iznos
    QString paid;      // Plac
    QString note;      // Opaska
    QString maker;     // Proizv
    QString retailReceipt; // BrojMalopRn

    QString name() const { return surname + u' ' + firstName; }
};

namespace reportrows {

// Hands each invoice that meets a condition (with ? placeholders for the
// bound values) to the report, in the given order, one at a time. The
// condition and the order are the program's own texts; every value the user
// typed is bound. False with the database's reason when the query fails.
bool forEach(Database& db, const QString& where, const QVariantList& binds, const QString& orderBy,
             const std::function<void(const ReportInvoice&)>& report, QString* error);

// The condition on the billing date for a period, both days included.
QString periodCondition();
QVariantList periodBinds(const QDate& from, const QDate& to);

} // namespace reportrows
