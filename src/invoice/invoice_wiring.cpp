#include "invoice_wiring.h"

#include "app/main_window.h"
#include "data/record_set.h"
#include "data/session.h"
#include "invoice_commands.h"
#include "invoice_form.h"

#include <QAction>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTableView>

namespace invoicetab {
namespace {

// The code (Sifra) of the selected row of the code-list grid that is
// showing; empty when no row is selected.
QString selectedCode(MainWindow& window, Session& session)
{
    const bool thirteen = window.codeListTabs()->currentIndex() == 1;
    const QTableView* grid = window.codeListGrid(thirteen);
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid() || !grid->selectionModel()->isRowSelected(current.row(), {}))
        return {};
    const RecordSet& list = thirteen ? session.newCodeList() : session.oldCodeList();
    return grid->model()->index(current.row(), list.fieldIndex(u"Sifra")).data(Qt::EditRole).toString();
}

// Enter on a row of a code-list grid picks that aid, as a double-click does.
class EnterPicks : public QObject {
public:
    EnterPicks(QWidget* grid, std::function<void()> pick) : QObject(grid), m_pick(std::move(pick))
    {
        grid->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_pick();
        return true;
    }

private:
    std::function<void()> m_pick;
};

// A code list opened for changes edits its cells on a double-click and
// Enter; only a locked list picks the aid that way (the button always
// picks), so that correcting a price never adds an aid to the invoice.
bool picksOnTheRow(const QTableView* grid)
{
    const QModelIndex current = grid->currentIndex();
    return !current.isValid() || !(grid->model()->flags(current) & Qt::ItemIsEditable);
}

} // namespace

void install(MainWindow& window, Session& session, InvoiceCommands& commands, Dialogs& dialogs)
{
    auto pickAid = [&window, &session, &commands] { commands.selectAid(selectedCode(window, session)); };
    invoiceform::build(window.invoiceEntryArea(), session, commands, dialogs, pickAid);
    QObject::connect(window.newInvoiceAction(), &QAction::triggered, &window, [&window, &commands] {
        if (!commands.newInvoice())
            return;
        window.tabs()->setCurrentIndex(MainWindow::InvoiceTab);
        if (auto* number = window.invoiceEntryArea()->findChild<QWidget*>(QStringLiteral("Broj")))
            number->setFocus(Qt::OtherFocusReason);
    });
    window.setCommand(QStringLiteral("izborpom"), pickAid);
    window.setCommand(QStringLiteral("iznsudgumb"), [&commands] { commands.showCoPayment(); });
    window.setCommand(QStringLiteral("prikrnbr"), [&commands] { commands.showInvoiceByNumber(); });
    window.setCommand(QStringLiteral("brisirn"), [&commands] { commands.removeBlankLastInvoice(); });
    window.setCommand(QStringLiteral("iznsud"), [&commands] { commands.showCoPayment(); });
    QObject::connect(&window, &MainWindow::invoiceTabLeft, &window, [&commands] { commands.recompute(); });
    for (bool thirteen : {false, true}) {
        QTableView* grid = window.codeListGrid(thirteen);
        auto pickFromRow = [grid, pickAid] {
            if (picksOnTheRow(grid))
                pickAid();
        };
        QObject::connect(grid, &QTableView::doubleClicked, &window, pickFromRow);
        new EnterPicks(grid, pickFromRow);
    }
}

} // namespace invoicetab
