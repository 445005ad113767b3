#include "report_wiring.h"

#include "app/main_window.h"
#include "report_window.h"
#include "reports.h"

#include <QTabWidget>
#include <QItemSelectionModel>
#include <QTableView>

namespace reporttab {
namespace {

struct ChosenAid {
    QString code, name;
};

// The current row of the code-list grid that is showing. Both lists keep
// the code at position 3 and the name at position 5.
ChosenAid chosenAid(MainWindow& window)
{
    const bool thirteen = window.codeListTabs()->currentIndex() == 1;
    const QTableView* grid = window.codeListGrid(thirteen);
    QModelIndex current = grid->currentIndex();
    if (!current.isValid() && grid->selectionModel() && grid->selectionModel()->hasSelection())
        current = grid->selectionModel()->selectedIndexes().constFirst();
    if (!current.isValid())
        return {};
    const QAbstractItemModel* model = grid->model();
    return {model->index(current.row(), 3).data(Qt::EditRole).toString(),
            model->index(current.row(), 5).data(Qt::EditRole).toString()};
}

} // namespace

Reports::Reports(MainWindow& window, Session& session, Services services, PrintTarget& printer)
    : m_window(std::make_unique<ReportWindow>(printer, services.dialogs, services.platform, &window))
{
    ReportWindow* shown = m_window.get();
    m_commands = std::make_unique<ReportCommands>(session, services,
                                                  [shown](const QString& path) { shown->showTextFile(path); });
}

Reports::~Reports() = default;

std::unique_ptr<Reports> install(MainWindow& window, Session& session, Services services, PrintTarget& printer)
{
    auto reports = std::make_unique<Reports>(window, session, services, printer);
    ReportCommands& c = reports->commands();
    using Paid = ReportCommands::Paid;
    using Note = ReportCommands::Note;
    window.setCommand(QStringLiteral("ispirneplac"), [&c] { c.invoiceOverview(Paid::Unpaid); });
    window.setCommand(QStringLiteral("ispirplac"), [&c] { c.invoiceOverview(Paid::Paid); });
    window.setCommand(QStringLiteral("ispirsvi"), [&c] { c.invoiceOverview(Paid::All); });
    window.setCommand(QStringLiteral("ispirsifra"), [&c, &window] {
        const ChosenAid aid = chosenAid(window);
        c.aidOverview(aid.code, aid.name);
    });
    window.setCommand(QStringLiteral("ispobbez"), [&c] { c.noteOverview(Note::Without); });
    window.setCommand(QStringLiteral("ispobbilo"), [&c] { c.noteOverview(Note::Any); });
    window.setCommand(QStringLiteral("ispobodr"), [&c] { c.noteOverview(Note::Given); });
    window.setCommand(QStringLiteral("rekaporeza"), [&c] { c.taxRecapitulation(); });
    return reports;
}

} // namespace reporttab
