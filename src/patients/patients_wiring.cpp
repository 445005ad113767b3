#include "patients_wiring.h"

#include "app/main_window.h"
#include "data/record_set.h"
#include "data/sql_values.h"
#include "patient_card_window.h"
#include "patient_list_window.h"
#include "patient_register.h"
#include "recall.h"
#include "visit_card.h"
#include "visit_print.h"

namespace patientstab {

Register::Register(MainWindow& window, Services services, PrintTarget& printer, RecordSet& generalData, Viewer viewer)
    : m_window(window), m_services(services), m_printer(printer), m_generalData(generalData), m_viewer(std::move(viewer)),
      m_list(std::make_unique<patients::PatientList>(services))
{
}

Register::~Register()
{
    // The windows belong to the main window; the edits still in them are
    // written back before the register closes its file.
    saveAll();
    delete m_cardWindow;
    delete m_listWindow;
}

void Register::saveAll()
{
    if (m_card)
        m_card->save();
    m_list->save();
}

bool Register::showList()
{
    if (!m_list->open())
        return false;
    if (!m_listWindow) {
        m_card = std::make_unique<patients::VisitCard>(m_list->database(), m_services);
        m_listWindow = new PatientListWindow(*m_list,
                                             {[this] { showCard(); }, [this] { recall(); }, {}}, &m_window);
        m_cardWindow = new PatientCardWindow(*m_list, *m_card, {[this] { printVisit(); }, [this] { showList(); }},
                                             &m_window);
    }
    m_listWindow->show();
    m_listWindow->raise();
    m_listWindow->activateWindow();
    return true;
}

void Register::showCard()
{
    if (!m_list->currentPatient() || !m_list->save())
        return;
    m_cardWindow->reload();
    m_cardWindow->show();
    m_cardWindow->raise();
    m_cardWindow->activateWindow();
    m_listWindow->hide();
}

void Register::printVisit()
{
    const auto patient = m_list->currentPatient();
    if (!patient || m_card->visits().current() < 0)
        return;
    patients::VisitPrint print;
    print.shopName = sqlvalue::toText(m_generalData.field(u"Naziv"));
    print.shopAddress = sqlvalue::toText(m_generalData.field(u"Adresa"));
    print.shopTown = sqlvalue::toText(m_generalData.field(u"Mjesto"));
    print.patientNumber = patient->number;
    print.surname = patient->surname;
    print.name = patient->name;
    print.born = patient->born;
    print.visit = m_card->currentVisit();
    patients::printVisit(m_printer, m_services.dialogs, print);
}

void Register::recall()
{
    m_list->save();
    patients::RecallCommand(m_list->database(), m_services, m_viewer).run();
}

std::unique_ptr<Register> install(MainWindow& window, Services services, PrintTarget& printer, RecordSet& generalData,
                                  Register::Viewer viewer)
{
    auto reg = std::make_unique<Register>(window, services, printer, generalData, std::move(viewer));
    Register* shown = reg.get();
    window.setCommand(QStringLiteral("visu"), [shown] { shown->showList(); });
    return reg;
}

} // namespace patientstab
