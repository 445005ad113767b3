#include "codelists_wiring.h"

#include "app/grid_layouts.h"
#include "app/main_window.h"
#include "data/session.h"
#include "code_list_model.h"
#include "code_search.h"
#include "codelist_commands.h"
#include "common/dialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace codelisttab {
namespace {

// A search box that a double-click empties (which, by the change, moves
// the grid to its first row).
class SearchBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { clear(); }
};

struct ListControls {
    bool thirteen = false;
    QTableView* grid = nullptr;
    CodeListModel* model = nullptr;
    RecordSet* set = nullptr;
};

void layOut(const ListControls& c)
{
    grids::apply(*c.grid, *c.model, grids::codeListGrid(c.thirteen));
}

void writePending(const ListControls& c, Dialogs& dialogs)
{
    if (!c.model->writePending())
        dialogs.message(QStringLiteral("Promjene u tablici %1 nisu spremljene: %2")
                            .arg(c.set->query().table, c.model->error()));
}

QLineEdit* searchBox(const QString& name, const QString& label, QTableView* grid, RecordSet& set, codelists::Match match)
{
    auto* box = new SearchBox;
    box->setObjectName(name);
    box->setAccessibleName(label);
    box->setToolTip(QStringLiteral("tekst koji se traži"));
    box->setMaximumWidth(160);
    QObject::connect(box, &QLineEdit::textChanged, grid, [grid, &set, match](const QString& text) {
        const int row = codelists::firstMatch(set, text, match);
        if (row < 0)
            return;
        const QModelIndex index = grid->model()->index(row, 3);
        grid->setCurrentIndex(index);
        grid->scrollTo(index, QAbstractItemView::PositionAtCenter);
    });
    // Enter goes on to the first match, in the grid, where Enter or the
    // button picks it.
    QObject::connect(box, &QLineEdit::returnPressed, grid, [box, grid, &set, match] {
        const int row = codelists::firstMatch(set, box->text(), match);
        if (row < 0)
            return;
        const QModelIndex index = grid->model()->index(row, 3);
        grid->setCurrentIndex(index);
        grid->scrollTo(index, QAbstractItemView::PositionAtCenter);
        grid->setFocus(Qt::ShortcutFocusReason);
    });
    return box;
}

// The grid's page on the code-list tab: the buttons and search boxes above
// the grid.
void buildPage(MainWindow& window, ListControls& c, Services services)
{
    QTabWidget* tabs = window.codeListTabs();
    const int tab = tabs->indexOf(c.grid);
    const QString caption = tabs->tabText(tab);
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(2, 2, 2, 2);
    auto* bar = new QHBoxLayout;
    const QString suffix = c.thirteen ? QStringLiteral("13") : QStringLiteral("12");

    auto* unlock = new QPushButton(codelists::kUnlockCaption);
    unlock->setObjectName(QStringLiteral("omogucipromjene") + suffix);
    unlock->setToolTip(codelists::kUnlockHint);
    auto* refresh = new QPushButton(QStringLiteral("Osvježi tablicu"));
    refresh->setObjectName(QStringLiteral("osvjezi") + suffix);
    bar->addWidget(unlock);
    bar->addWidget(refresh);
    bar->addSpacing(16);
    auto addSearch = [&](const char* name, const QString& label, codelists::Match match) {
        auto* caption = new QLabel(label);
        QLineEdit* box = searchBox(QLatin1String(name), label, c.grid, *c.set, match);
        caption->setBuddy(box);
        bar->addWidget(caption);
        bar->addWidget(box);
        bar->addSpacing(12);
    };
    // Each box's key stands in its caption: from anywhere in the window
    // the keyboard reaches the list without Tab after Tab.
    if (c.thirteen) {
        addSearch("trazi13", QStringLiteral("Pronađi šifru u tablici (13 znakova) - F3"), codelists::Match::Beginning);
        addSearch("trazizadnje", QStringLiteral("Pronađi zadnje znam. - F4"), codelists::Match::Ending);
    } else {
        addSearch("trazi12", QStringLiteral("Pronađi šifru u tablici 12 znakova) - F3"), codelists::Match::Beginning);
    }
    bar->addStretch(1);
    column->addLayout(bar);

    tabs->removeTab(tab);
    column->addWidget(c.grid, 1);
    c.grid->show(); // the tab widget hid it when it was taken out
    tabs->insertTab(tab, page, caption);

    const int lastEditable = c.thirteen ? 26 : 25;
    QObject::connect(unlock, &QPushButton::clicked, c.grid, [c, services, lastEditable] {
        c.model->unlock(lastEditable);
        layOut(c);
        services.dialogs.message(codelists::kUnlockMessage);
    });
    QObject::connect(refresh, &QPushButton::clicked, c.grid, [c, services] {
        writePending(c, services.dialogs);
        c.model->lock();
        if (!c.set->reload())
            services.dialogs.message(c.set->error());
        layOut(c);
    });
}

void wireGrid(ListControls& c, Services services)
{
    c.grid->setModel(c.model);
    layOut(c);
    // A double-click puts the aid on the invoice; a cell of an unlocked
    // list is edited by typing into it, F2 or a click on the current row.
    c.grid->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                            | QAbstractItemView::SelectedClicked);
    QObject::connect(c.grid->selectionModel(), &QItemSelectionModel::currentRowChanged, c.grid,
                     [c, services](const QModelIndex& current) {
                         if (!c.model->leaveRow(current.isValid() ? current.row() : -1))
                             services.dialogs.message(QStringLiteral("Promjena retka nije spremljena: %1")
                                                          .arg(c.model->error()));
                     });
    QObject::connect(c.model, &CodeListModel::refused, c.grid,
                     [services](const QString& reason) { services.dialogs.message(reason); });
    QObject::connect(c.model, &CodeListModel::rowAdded, c.grid, [c](int row) {
        // The new aid is a row of the list now: the set-up again, the end of
        // the list in view, the cursor on the new row.
        const int column = c.grid->currentIndex().isValid() ? c.grid->currentIndex().column() : 3;
        layOut(c);
        c.grid->scrollToBottom();
        c.grid->setCurrentIndex(c.model->index(row, column));
    });
}

} // namespace

void install(MainWindow& window, Session& session, Services services)
{
    ListControls old{false, window.codeListGrid(false), nullptr, &session.oldCodeList()};
    ListControls fresh{true, window.codeListGrid(true), nullptr, &session.newCodeList()};
    for (ListControls* c : {&old, &fresh}) {
        c->model = new CodeListModel(*c->set, c->grid);
        wireGrid(*c, services);
        buildPage(window, *c, services);
    }

    auto writeBoth = [old, fresh, services] {
        writePending(old, services.dialogs);
        writePending(fresh, services.dialogs);
    };
    QObject::connect(&window, &MainWindow::invoiceTabLeft, &window, writeBoth);
    QObject::connect(window.codeListTabs(), &QTabWidget::currentChanged, &window, writeBoth);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &window, writeBoth);

    // F3: the search box of the list shown; F4: the end of a 13-character
    // code.
    auto searchKey = [&window](QKeySequence key, std::function<QString()> box) {
        auto* action = new QAction(&window);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
        QObject::connect(action, &QAction::triggered, &window, [&window, box] {
            window.tabs()->setCurrentIndex(MainWindow::InvoiceTab);
            const QString name = box();
            if (name == u"trazizadnje")
                window.codeListTabs()->setCurrentIndex(window.codeListTabs()->indexOf(
                    window.codeListTabs()->findChild<QLineEdit*>(name)->parentWidget()));
            if (auto* target = window.codeListTabs()->findChild<QLineEdit*>(name)) {
                target->setFocus(Qt::ShortcutFocusReason);
                target->selectAll();
            }
        });
    };
    searchKey(QKeySequence(Qt::Key_F3), [&window] {
        return window.codeListTabs()->currentWidget()->findChild<QLineEdit*>(QStringLiteral("trazi12"))
            ? QStringLiteral("trazi12")
            : QStringLiteral("trazi13");
    });
    searchKey(QKeySequence(Qt::Key_F4), [] { return QStringLiteral("trazizadnje"); });

    window.setCommand(QStringLiteral("sifrar"), [services] { codelists::openCodeListDocument(services); });
    auto snapshot = [fresh, services](const QString& table) {
        return [fresh, services, table] {
            writePending(fresh, services.dialogs);
            codelists::loadSnapshotPrices(services, *fresh.set, table, fresh.grid->currentIndex().row());
            layOut(fresh);
        };
    };
    window.setCommand(QStringLiteral("uctcij0"), snapshot(codelists::kOldPrices));
    window.setCommand(QStringLiteral("uctcij1"), snapshot(codelists::kNewPrices));
    window.setCommand(QStringLiteral("uctcjenik"), [&window, &session, old, fresh, services, writeBoth] {
        const QString path = QFileDialog::getOpenFileName(
            &window, QStringLiteral("Učitaj cjenik iz datoteke"), QDir::currentPath(),
            QStringLiteral("Cjenik (*.csv *.txt);;Sve datoteke (*)"));
        if (path.isEmpty())
            return;
        writeBoth();
        if (codelists::loadPriceFile(services, session.database(), path) != codelists::PriceLoad::Applied)
            return;
        for (const ListControls& c : {old, fresh}) {
            if (!c.set->reload())
                services.dialogs.message(c.set->error());
            layOut(c);
        }
    });
}

} // namespace codelisttab
