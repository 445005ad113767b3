#include "main_window.h"
#include "accessible_names.h"

#include "common/clock.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "data/record_set.h"
#include "general_data_form.h"
#include "grid_layouts.h"
#include "main_menu.h"
#include "data/session.h"
#include "version_notice.h"
#include "width_limited_delegate.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

// Menu items and buttons whose commands come with a later version of the
// program say so when they are chosen (a grey item cannot be clicked, and
// a hint that only a pointer resting on it shows is easily missed).
const QString kNotAvailableYet = QStringLiteral("Ova mogućnost još nije dostupna u ovoj verziji programa.");

QTableView* makeGrid(QWidget* parent, RecordSetModel* model)
{
    auto* grid = new QTableView(parent);
    // The grids' column widths were laid out for an 8-point Arial (Liberation
    // Sans has the same metrics).
    QFont font = grid->font();
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSize(8);
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->setModel(model);
    grid->setItemDelegate(new WidthLimitedDelegate(grid));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    return grid;
}

} // namespace

MainWindow::MainWindow(Session& session, Services services, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_services(services)
{
    setWindowTitle(kAppCaption);
    setObjectName(QStringLiteral("MainWindow"));
    accessiblenames::install();

    m_newInvoice = new QAction(QStringLiteral("KREIRAJ NOVI RAČUN  (F9)"), this);
    m_newInvoice->setObjectName(QStringLiteral("novirn"));
    m_newInvoice->setShortcut(QKeySequence(Qt::Key_F9));
    m_newInvoice->setShortcutContext(Qt::WindowShortcut);
    addAction(m_newInvoice);

    m_invoiceModel = new RecordSetModel(session.invoices(), this);
    m_oldCodeModel = new RecordSetModel(session.oldCodeList(), this);
    m_newCodeModel = new RecordSetModel(session.newCodeList(), this);

    m_tabs = new QTabWidget(this);
    // On a screen smaller than a tab the tab scrolls, rather than putting
    // its controls beyond the screen's edge.
    auto scrolled = [](QWidget* page) {
        auto* area = new QScrollArea;
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidget(page);
        return area;
    };
    m_tabs->addTab(scrolled(buildInvoiceTab()), QStringLiteral("Kreiranje i ispis računa"));
    m_tabs->addTab(scrolled(buildOverviewTab()), QStringLiteral("Pregled svih računa i kreiranje diskete"));
    m_tabs->addTab(scrolled(buildGeneralDataTab()), QStringLiteral("Opći podaci"));
    setCentralWidget(m_tabs);
    buildMenu();

    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    connect(&session.invoices(), &RecordSet::currentChanged, this, &MainWindow::followCurrentInvoice);
    connect(m_invoiceGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_session.invoices().setCurrent(current.row());
            });
    resize(1100, 760);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::buildInvoiceTab()
{
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* top = new QHBoxLayout;
    m_invoiceEntry = new QWidget(tab);
    m_invoiceEntry->setObjectName(QStringLiteral("invoiceEntry"));
    top->addWidget(m_invoiceEntry, 1);
    top->addLayout(invoiceButtons());
    layout->addLayout(top);

    m_codeListTabs = new QTabWidget(tab);
    m_oldCodeGrid = makeGrid(m_codeListTabs, m_oldCodeModel);
    m_newCodeGrid = makeGrid(m_codeListTabs, m_newCodeModel);
    m_codeListTabs->addTab(m_oldCodeGrid, QStringLiteral("Stare šifre (12)"));
    m_codeListTabs->addTab(m_newCodeGrid, QStringLiteral("Nove šifre (13)"));
    layout->addWidget(m_codeListTabs, 1);
    return tab;
}

QLayout* MainWindow::invoiceButtons()
{
    auto* column = new QVBoxLayout;
    auto* newInvoice = new QPushButton(QStringLiteral("&") + m_newInvoice->text());
    newInvoice->setObjectName(QStringLiteral("novirnbutton"));
    connect(newInvoice, &QPushButton::clicked, m_newInvoice, &QAction::trigger);
    column->addWidget(newInvoice);
    column->addWidget(addButton(QStringLiteral("izborpom"), QStringLiteral("&IZBOR KELMORIN IZ TABL.")));
    column->addWidget(addButton(QStringLiteral("iznsudgumb"), QStringLiteral("Iznos &sudjelovanja")));
    column->addSpacing(12);
    auto* formCaption = new QLabel(QStringLiteral("Izbor obrasca re&cepta"));
    column->addWidget(formCaption);
    m_formVariants = new QComboBox;
    formCaption->setBuddy(m_formVariants);
    m_formVariants->setObjectName(QStringLiteral("izbobrrec"));
    m_formVariants->setMinimumContentsLength(16);
    column->addWidget(m_formVariants);
    column->addWidget(addButton(QStringLiteral("ispispotvrde"), QStringLiteral("ISPIS &POTVRDE (RECEPTA)"),
                                QStringLiteral("Ispis stražnje strane potvrde o ort. pomagalu (recepta)")));
    const QString plainPaper = QStringLiteral("Ispis računa na čistom papiru");
    column->addWidget(addButton(QStringLiteral("ispisosnovno"), QStringLiteral("ISPIS RAČUNA ZA &OSNOVNO OSIGURANJE"), plainPaper));
    column->addWidget(addButton(QStringLiteral("ispisdopunsko"), QStringLiteral("ISPIS RAČUNA ZA &DOPUNSKO / SUDJELOVANJE"), plainPaper));
    column->addWidget(addButton(QStringLiteral("ispisknjig"), QStringLiteral("ISPIS RAČUNA ZA KN&JIGOVODSTVO (nije obvezno)")));
    column->addWidget(addButton(QStringLiteral("eracun"), QStringLiteral("eRačun za HZZO..."),
                                QStringLiteral("Računi za HZZO kao eRačuni (XML) za informacijskog posrednika")));
    column->addStretch(1);
    return column;
}

QWidget* MainWindow::tabPage(Tab tab) const
{
    QWidget* page = m_tabs->widget(tab);
    if (auto* area = qobject_cast<QScrollArea*>(page))
        return area->widget();
    return page;
}

QWidget* MainWindow::buildOverviewTab()
{
    auto* tab = new QWidget;
    auto* layout = new QHBoxLayout(tab);
    m_invoiceGrid = makeGrid(tab, m_invoiceModel);
    m_invoiceGrid->setObjectName(QStringLiteral("invoiceGrid"));
    layout->addWidget(m_invoiceGrid, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(addButton(QStringLiteral("izbordisk"), QStringLiteral("&IZBOR RAČUNA ZA DISKETU")));
    side->addWidget(addButton(QStringLiteral("brisiizbor"), QStringLiteral("IZB&RIŠI SVE OZNAKE U KOLONI IZBOR")));
    side->addWidget(addButton(QStringLiteral("kreirajdisk"), QStringLiteral("&KREIRAJ DISKETU ILI CD ZA IZABRANE RAČUNE")));
    side->addStretch(1);
    layout->addLayout(side);
    return tab;
}

QWidget* MainWindow::buildGeneralDataTab()
{
    auto* tab = new QWidget;
    auto* layout = new QHBoxLayout(tab);
    m_generalData = new QWidget(tab);
    m_generalData->setObjectName(QStringLiteral("generalData"));
    generaldata::build(m_generalData, m_session, m_services.dialogs);
    layout->addWidget(m_generalData, 1);

    auto* side = new QVBoxLayout;
    m_calendar = new QCalendarWidget(tab);
    m_calendar->setGridVisible(true);
    // The month arrows show only an arrow.
    for (auto [name, caption] : {std::pair{"qt_calendar_prevmonth", "Prethodni mjesec"},
                                 std::pair{"qt_calendar_nextmonth", "Sljedeći mjesec"}}) {
        if (auto* arrow = m_calendar->findChild<QWidget*>(QLatin1String(name)))
            arrow->setAccessibleName(QString::fromUtf8(caption));
    }
    side->addWidget(m_calendar);
    side->addStretch(1);
    auto* label = new QLabel(version::kLabel, tab);
    label->setObjectName(QStringLiteral("verzija"));
    side->addWidget(label, 0, Qt::AlignRight);
    layout->addLayout(side);
    return tab;
}

QPushButton* MainWindow::addButton(const QString& name, const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setToolTip(hint.isEmpty() ? kNotAvailableYet : hint);
    connect(button, &QPushButton::clicked, this, [this, name] {
        if (auto command = m_commands.value(name))
            command();
        else
            m_services.dialogs.message(kNotAvailableYet);
    });
    m_buttons.insert(name, button);
    return button;
}

void MainWindow::buildMenu()
{
    QMenu* options = menuBar()->addMenu(mainmenu::kOptions);
    options->setToolTipsVisible(true);
    std::function<void(QMenu*, const std::vector<MenuItem>&)> fill = [&](QMenu* menu, const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            if (item.caption == mainmenu::kSeparator) {
                menu->addSeparator();
                continue;
            }
            if (!item.items.empty()) {
                QMenu* sub = menu->addMenu(item.caption);
                sub->setToolTipsVisible(true);
                sub->menuAction()->setObjectName(item.name);
                sub->menuAction()->setToolTip(kNotAvailableYet);
                m_actions.insert(item.name, sub->menuAction());
                fill(sub, item.items);
                continue;
            }
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            action->setVisible(!item.hidden);
            action->setToolTip(kNotAvailableYet);
            const QString name = item.name;
            connect(action, &QAction::triggered, this, [this, name] {
                if (auto command = m_commands.value(name))
                    command();
                else
                    m_services.dialogs.message(kNotAvailableYet);
            });
            m_actions.insert(item.name, action);
        }
    };
    fill(options, mainmenu::items());

    QAction* exit = menuBar()->addAction(mainmenu::kExit);
    exit->setObjectName(QStringLiteral("izlaz"));
    connect(exit, &QAction::triggered, this, &MainWindow::close);
    m_actions.insert(exit->objectName(), exit);
}

void MainWindow::setCommand(const QString& name, std::function<void()> command)
{
    if (!m_buttons.contains(name) && !m_actions.contains(name))
        throw std::invalid_argument("no menu item or button named " + name.toStdString());
    m_commands.insert(name, std::move(command));
    if (QPushButton* b = m_buttons.value(name)) {
        b->setEnabled(true);
        if (b->toolTip() == kNotAvailableYet)
            b->setToolTip(QString());
    }
    if (QAction* a = m_actions.value(name)) {
        a->setEnabled(true);
        a->setToolTip(a->text());
        for (QObject* p = a->parent(); p; p = p->parent()) {
            if (auto* menu = qobject_cast<QMenu*>(p)) {
                menu->menuAction()->setEnabled(true);
                menu->menuAction()->setToolTip(menu->menuAction()->text());
            }
        }
    }
    updateMenuForTab();
}

QAction* MainWindow::menuAction(const QString& name) const { return m_actions.value(name); }
QPushButton* MainWindow::button(const QString& name) const { return m_buttons.value(name); }

QTableView* MainWindow::codeListGrid(bool thirteen) const { return thirteen ? m_newCodeGrid : m_oldCodeGrid; }

void MainWindow::applyInvoiceGridLayout() { grids::apply(*m_invoiceGrid, *m_invoiceModel, grids::invoiceGrid()); }

void MainWindow::applyCodeListLayouts()
{
    // The code-list commands may give a grid a model of their own.
    auto modelOf = [](QTableView* grid, RecordSetModel* own) {
        auto* model = qobject_cast<RecordSetModel*>(grid->model());
        return model ? model : own;
    };
    grids::apply(*m_oldCodeGrid, *modelOf(m_oldCodeGrid, m_oldCodeModel), grids::codeListGrid(false));
    grids::apply(*m_newCodeGrid, *modelOf(m_newCodeGrid, m_newCodeModel), grids::codeListGrid(true));
}

void MainWindow::prepare()
{
    centreOnScreen();
    applyInvoiceGridLayout();
    applyCodeListLayouts();
    m_calendar->setSelectedDate(m_services.clock.today());
    m_formVariants->clear();
    m_formVariants->addItems(m_session.formVariants);
    m_formVariants->setCurrentIndex(m_session.chosenFormVariant);
    m_tabs->setCurrentIndex(InvoiceTab);
    followCurrentInvoice(m_session.invoices().current());
    updateMenuForTab();
    // Every tab is built by now: the boxes take their captions' names.
    accessiblenames::nameFromCaptions(this);
}

QSize MainWindow::preferredSize() const
{
    // What the widest and tallest tab needs without scrolling, with the
    // menu bar and the tab bar.
    // Sizes are only known once the style and fonts are applied.
    ensurePolished();
    QSize pages;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (auto* area = qobject_cast<QScrollArea*>(m_tabs->widget(i)); area && area->widget())
            pages = pages.expandedTo(area->widget()->sizeHint()).expandedTo(area->widget()->minimumSizeHint());
    }
    const int chrome = 24;
    return QSize(pages.width() + chrome, pages.height() + m_tabs->tabBar()->sizeHint().height() + menuBar()->sizeHint().height() + chrome)
        .expandedTo(QSize(1100, 760));
}

void MainWindow::centreOnScreen()
{
    const QScreen* s = screen();
    if (!s)
        return;
    // The screen less its panels; a window larger than that is fitted into
    // it (the tabs then scroll).
    const QRect area = s->availableGeometry();
    const QMargins frame = frameGeometry().isValid() && isVisible()
        ? QMargins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom())
        : QMargins(0, 0, 0, 0);
    const QSize room = area.size().shrunkBy(frame);
    resize(preferredSize().boundedTo(room));
    const QSize outer = size().grownBy(frame);
    move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void MainWindow::followCurrentInvoice(int row)
{
    if (row < 0 || m_invoiceGrid->currentIndex().row() == row)
        return;
    const QModelIndex index = m_invoiceModel->index(row, 0);
    m_invoiceGrid->setCurrentIndex(index);
    m_invoiceGrid->scrollTo(index);
}

void MainWindow::onTabChanged(int index)
{
    if (m_shownTab == InvoiceTab)
        Q_EMIT invoiceTabLeft();
    m_shownTab = index;
    if (index == OverviewTab) {
        applyInvoiceGridLayout();
        m_session.invoices().moveLast();
        followCurrentInvoice(m_session.invoices().current());
    }
    updateMenuForTab();
}

void MainWindow::updateMenuForTab()
{
    if (QAction* coPayment = m_actions.value(QStringLiteral("iznsud")))
        coPayment->setEnabled(m_shownTab == InvoiceTab && m_commands.contains(QStringLiteral("iznsud")));
}

void MainWindow::exitProgram()
{
    if (m_exited)
        return;
    m_exited = true;
    if (!m_session.saveAll())
        m_services.dialogs.message(QStringLiteral("Promjene zadnjeg računa ili općih podataka nisu spremljene:\r\n%1")
                                       .arg(m_session.invoices().error() + m_session.generalData().error()));
    const QString archive = m_services.platform.findCompanion(QStringLiteral("Arhiva.exe"));
    if (!archive.isEmpty())
        m_services.platform.startProgram(archive, {}, Platform::Window::Normal);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The final sizes of the tabs are known once the window is shown.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    exitProgram();
    event->accept();
}
