#pragma once

#include "common/services.h"

#include <QDate>
#include <QString>

class Database;
class Session;

// The marks in Rn.Izbor that group the invoices of one submission: one
// mark per regional office.
namespace marking {

// The first day of the month ten days ago: the month that is being closed.
QDate defaultStart(const QDate& today);
// The last day of the start's month (a start late in a month reaches into
// the next one).
QDate defaultEnd(const QDate& start);

// Every invoice of the year dated from start to end (both included) gets
// the number of its office, counted in the order in which the offices first
// appear by ascending Rnbr ("99" stands for a missing office; the 21st
// office and later stay unmarked); every other invoice of the year loses
// its mark. All or nothing.
bool markByOffice(Database& db, int twoDigitYear, const QDate& start, const QDate& end, QString* error);

// Empties the marks of every invoice of every year.
bool clearAll(Database& db, QString* error);

} // namespace marking

// The marking commands of the overview tab. Each ends with the year's
// invoices read anew; the window lays the grid out again.
class MarkingCommands {
public:
    MarkingCommands(Session& session, Services services) : m_session(session), m_services(services) {}

    // "IZBOR RAČUNA ZA DISKETU": asks for the interval and marks it.
    void chooseForSubmission();
    // "IZBRIŠI SVE OZNAKE U KOLONI IZBOR".
    void clearMarks();
    // A click on a heading of the invoice grid: asks, then orders the
    // year's invoices by that field.
    void sortBy(const QString& field);

private:
    bool saveEdits();
    void reread();

    Session& m_session;
    Services m_services;
};
