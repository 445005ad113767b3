#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class FieldBinder;
class QLineEdit;
class QTableView;
class RecordSetModel;

namespace patients {
class PatientList;
}

// "Popis pacijenata": the grid of patients, the search box, the current
// patient's data and the menu. Made once, then only shown and hidden; it
// keeps its place in the list.
class PatientListWindow : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> openCard;   // "Karton pacijenta"
        std::function<void()> recall;     // "Pacijenti za kontrolu..."
        std::function<void()> goBack;     // "Povratak": the main window shows
    };
    PatientListWindow(patients::PatientList& list, Actions actions, QWidget* parent);

    QLineEdit* searchBox() const { return m_search; }
    QTableView* grid() const { return m_grid; }
    // The entry box of a patient's field (positions 0 to 13).
    QLineEdit* field(int position) const { return m_fields.at(position); }

    // Runs "Povratak".
    void goBack();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void followCurrent(int row);
    void applyGridLayout();
    void showReadOnlyFields();
    // The rules of leaving a field; true when the date of birth was filled.
    bool leave(int position);

    patients::PatientList& m_list;
    Actions m_actions;
    RecordSetModel* m_model = nullptr;
    FieldBinder* m_binder = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    std::vector<QLineEdit*> m_fields;
};
