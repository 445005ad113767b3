#pragma once

#include "common/services.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class Database;
class RecordSet;

// The optician's patient register: the patients of Pac.mdb (table Popis),
// listed by surname, first name and citizen's number in the order of the
// Croatian alphabet, searched as the user types, added and counted.
namespace patients {

inline const QString kPatientTable = QStringLiteral("Popis");

// One entry field of a patient, by its place in the Enter order.
struct PatientField {
    QString field;
    QString caption;
    bool readOnly = false;
};
// Positions 0 to 13: "Prezime" … "Izabrani dr.", then the read-only
// "Datum upisa" and "Šifra".
const std::vector<PatientField>& patientFields();
// The field Enter goes to from the field at `position`: the next one, from
// "Izabrani dr." (and from the read-only fields) back to "Prezime".
int nextPatientPosition(int position);

// The date of birth a citizen's number (JMBG) carries in its first seven
// digits: day, month and the last three digits of the year, 9xx standing
// for 19xx and 0xx for 20xx (1503985… is 15.03.1985, 0107003… is
// 01.07.2003). Nothing for six characters or fewer, for characters other
// than digits there, or for a day that does not exist.
std::optional<QString> dateOfBirthFromJmbg(const QString& jmbg);

class PatientList {
public:
    explicit PatientList(Services services);
    ~PatientList();

    // Opens Pac.mdb of the working folder and reads the list. A missing
    // file is named and the user may have an empty register made; every
    // failure is shown. The first open of a run removes the empty row an
    // abandoned new patient left at the top. False when the register
    // cannot be used.
    bool open();
    bool isOpen() const { return m_patients != nullptr; }

    RecordSet& patients() { return *m_patients; }
    Database& database() { return *m_db; }

    // Search as you type: the first patient whose citizen's number (when
    // the text starts with a digit) or surname starts with the text,
    // without regard to case and taken literally, becomes current; the
    // first row when none does.
    void search(const QString& text);
    // Enter in the search box: the next match after the current patient,
    // wrapping round to the first one.
    void searchNext(const QString& text);

    // A click on a column heading: the list ordered by that column (then by
    // surname, first name and number), the current patient kept.
    bool sortBy(int column);

    // "Upis novog pac.": asks, then adds an empty patient entered today and
    // makes it current. The new row, or -1 (cancelled or failed; a failure
    // is shown).
    int addPatient();
    // "Ukupan broj upisanih pacijenata".
    void showCount();

    // Leaving a field of the current patient: its text goes into capitals;
    // leaving "JMBG" fills an empty date of birth from the number; the row
    // is saved. True when the date of birth was filled (the cursor goes on
    // to "Ulica").
    bool leaveField(const QString& field);

    // Writes back the current patient; a failure is shown.
    bool save();

    // The patient the card is opened for.
    struct Patient {
        qint64 number = -1;
        QString surname, name, born;
    };
    std::optional<Patient> currentPatient() const;

private:
    bool bind();
    // The first row from `start` on (wrapping round, at most `count` rows)
    // whose surname or number starts with the text; -1 when none does.
    int findFrom(const QString& text, int start, int count);
    const QString& searchedText(int row, bool digits);
    std::pair<QString, QString> foldedRow(int row) const;
    void removeAbandonedFirstRow();
    void fail(const QString& text);

    Services m_services;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_patients;
    bool m_cleaned = false;
    std::vector<std::pair<QString, QString>> m_folded; // surname and number of each row, case folded
};

} // namespace patients
