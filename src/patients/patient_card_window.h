#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class FieldBinder;
class QLabel;
class QTableView;
class RecordSetModel;

namespace patients {
class PatientList;
class VisitCard;
}

// "Karton pacijenta": the header of the list's current patient, the grid
// of visits, the fields of the current visit and, read-only beside them,
// the refraction and correction of the visit before it. Made once, then
// only shown and hidden; every activation reads the patient's visits
// anew and shows the last one.
class PatientCardWindow : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> print;  // "Ispis nalaza" of the current visit
        std::function<void()> goBack; // "Povratak": the list shows again
    };
    PatientCardWindow(patients::PatientList& list, patients::VisitCard& card, Actions actions, QWidget* parent);

    // The entry box of the visit field at a position of the Enter order
    // (0 to 37): a QLineEdit or, for the texts of several lines, a
    // QPlainTextEdit.
    QWidget* field(int position) const { return m_fields.at(position); }
    QLabel* correctionKind(bool rightEye) const { return rightEye ? m_kindRight : m_kindLeft; }
    QLabel* previousVisit() const { return m_previous; }
    QLabel* header() const { return m_header; }
    QTableView* grid() const { return m_grid; }

    // What an activation does: the header and the visits read anew, the
    // last visit current, the fields editable only when there is a visit.
    void reload();
    void addVisit();
    void goBack();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeField(const QString& field);
    void showCurrent();
    void followCurrent(int row);

    patients::PatientList& m_list;
    patients::VisitCard& m_card;
    Actions m_actions;
    RecordSetModel* m_model = nullptr;
    FieldBinder* m_binder = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_header = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_kindRight = nullptr;
    QLabel* m_kindLeft = nullptr;
    QLabel* m_previous = nullptr;
    std::vector<QWidget*> m_fields;
    std::vector<std::function<void()>> m_showTexts; // the boxes of several lines
    // A card that could not be read (or saved) is not read again each time
    // the message about it closes and the card becomes active again.
    bool m_loadFailed = false;
};
