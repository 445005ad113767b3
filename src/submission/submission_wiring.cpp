#include "submission_wiring.h"

#include "app/main_window.h"
#include "marking.h"
#include "submission_run.h"

#include <QHeaderView>
#include <QTableView>

namespace submissiontab {

void install(MainWindow& window, MarkingCommands& marking, SubmissionRun& run)
{
    auto relaidOut = [&window](std::function<void()> command) {
        return [&window, command] {
            command();
            window.applyInvoiceGridLayout();
        };
    };
    window.setCommand(QStringLiteral("izbordisk"), relaidOut([&marking] { marking.chooseForSubmission(); }));
    window.setCommand(QStringLiteral("brisiizbor"), relaidOut([&marking] { marking.clearMarks(); }));
    window.setCommand(QStringLiteral("kreirajdisk"), [&window, &run] {
        window.applyInvoiceGridLayout();
        run.run();
    });
    QTableView* grid = window.invoiceGrid();
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, &window, [&window, &marking, grid](int column) {
        marking.sortBy(grid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        window.applyInvoiceGridLayout();
    });
}

} // namespace submissiontab
