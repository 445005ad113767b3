#pragma once

#include "common/services.h"

#include <QString>

#include <functional>
#include <memory>

class MainWindow;
class PrintTarget;
class RecordSet;
class PatientCardWindow;
class PatientListWindow;

namespace patients {
class PatientList;
class VisitCard;
}

namespace patientstab {

// The patient register of the run: Pac.mdb opened on the first "Visus",
// the list and card windows made then and afterwards only shown and
// hidden.
class Register {
public:
    using Viewer = std::function<void(const QString& path)>;
    Register(MainWindow& window, Services services, PrintTarget& printer, RecordSet& generalData, Viewer viewer);
    ~Register();

    // "Visus": the list beside the main window; false when the register
    // cannot be opened (the user was told why).
    bool showList();
    void showCard();
    void printVisit();
    void recall();
    // Writes back the patient and the visit being edited (the end of the
    // program).
    void saveAll();

    PatientListWindow* listWindow() const { return m_listWindow; }
    PatientCardWindow* cardWindow() const { return m_cardWindow; }

private:
    MainWindow& m_window;
    Services m_services;
    PrintTarget& m_printer;
    RecordSet& m_generalData;
    Viewer m_viewer;
    std::unique_ptr<patients::PatientList> m_list;
    std::unique_ptr<patients::VisitCard> m_card;
    PatientListWindow* m_listWindow = nullptr;
    PatientCardWindow* m_cardWindow = nullptr;
};

// Wires "Visus" to the register; the report of patients due for a check
// opens in the viewer.
std::unique_ptr<Register> install(MainWindow& window, Services services, PrintTarget& printer, RecordSet& generalData,
                                  Register::Viewer viewer);

} // namespace patientstab
