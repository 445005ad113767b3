#include "invoice_wiring.h"

#include "app/main_window.h"
#include "invoice_commands.h"

#include <QAction>
#include <QTabWidget>
#include <QTableView>

namespace invoicetab {
namespace {

// The code of the selected row of the code-list grid that is showing
// (column 3 holds the code); empty when no row is selected.
QString selectedCode(MainWindow& window)
{
    const bool thirteen = window.codeListTabs()->currentIndex() == 1;
    const QTableView* grid = window.codeListGrid(thirteen);
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid() || !grid->selectionModel()->isRowSelected(current.row(), {}))
        return {};
    return grid->model()->index(current.row(), 3).data(Qt::EditRole).toString();
}

} // namespace

void install(MainWindow& window, InvoiceCommands& commands)
{
    QObject::connect(window.newInvoiceAction(), &QAction::triggered, &window, [&window, &commands] {
        if (commands.newInvoice())
            window.tabs()->setCurrentIndex(MainWindow::InvoiceTab);
    });
    window.setCommand(QStringLiteral("prikrnbr"), [&commands] { commands.showInvoiceByNumber(); });
    window.setCommand(QStringLiteral("iznsud"), [&commands] { commands.showCoPayment(); });
    QObject::connect(&window, &MainWindow::invoiceTabLeft, &window, [&commands] { commands.recompute(); });
    for (bool thirteen : {false, true}) {
        QObject::connect(window.codeListGrid(thirteen), &QTableView::doubleClicked, &window,
                         [&window, &commands] { commands.selectAid(selectedCode(window)); });
    }
}

} // namespace invoicetab
