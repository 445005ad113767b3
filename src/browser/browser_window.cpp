#include "browser_window.h"
#include "app/accessible_names.h"

#include "common/dialogs.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

void refill(QListWidget* list, const QStringList& names)
{
    const QString chosen = list->currentItem() ? list->currentItem()->text() : QString();
    list->clear();
    list->addItems(names);
    const auto found = list->findItems(chosen, Qt::MatchExactly);
    if (!found.isEmpty())
        list->setCurrentItem(found.first());
}

} // namespace

BrowserWindow::BrowserWindow(Dialogs& dialogs, Platform& platform, browser::OpenTextFile openText, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_platform(platform), m_openText(std::move(openText))
{
    setObjectName(QStringLiteral("pregbaz"));
    accessiblenames::install();
    // Left open, it must not keep the program running after the main window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Pregled baze podataka i kreiranih disketa"));

    m_databases = new QListWidget;
    m_databases->setObjectName(QStringLiteral("File1"));
    m_databases->setAccessibleName(QStringLiteral("Baze podataka"));
    m_tables = new QListWidget;
    m_tables->setObjectName(QStringLiteral("List1"));
    m_tables->setAccessibleName(QStringLiteral("Tablice i upiti"));
    m_files = new QListWidget;
    m_files->setObjectName(QStringLiteral("File2"));
    m_files->setAccessibleName(QStringLiteral("Sve datoteke"));
    m_files->setToolTip(QStringLiteral("Dvoklikom na fajl omogućujete prikaz sadržaja fajla"));
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(&m_browser.model());
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setResizeContentsPrecision(200);
    m_cell = new QLabel;
    m_cell->setObjectName(QStringLiteral("Label1"));
    m_cell->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("Label2"));
    auto* back = new QPushButton(QStringLiteral("    Povratak    "));
    back->setObjectName(QStringLiteral("povr"));

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Baze podataka (*.mdb)")));
    left->addWidget(m_databases, 1);
    left->addWidget(new QLabel(QStringLiteral("Tablice i upiti")));
    left->addWidget(m_tables, 2);
    left->addWidget(new QLabel(QStringLiteral("Sve datoteke")));
    left->addWidget(m_files, 2);
    left->addWidget(back);

    auto* right = new QVBoxLayout;
    right->addWidget(m_grid, 1);
    auto* labels = new QHBoxLayout;
    labels->addWidget(m_cell, 1);
    labels->addWidget(m_count);
    right->addLayout(labels);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 4);
    resize(1000, 640);

    connect(m_databases, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseDatabase(item->text()); });
    connect(m_tables, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseTable(item->text()); });
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { openFile(item->text()); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &BrowserWindow::sortByColumn);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { copyCell(current); });
    connect(back, &QPushButton::clicked, this, &QWidget::hide);
    m_folder = QDir::currentPath();
}

void BrowserWindow::refreshFiles()
{
    m_folder = QDir::currentPath();
    refill(m_databases, DatabaseBrowser::databaseFiles(m_folder));
    refill(m_files, DatabaseBrowser::allFiles(m_folder));
}

void BrowserWindow::chooseDatabase(const QString& fileName)
{
    QStringList names;
    m_tables->clear();
    m_chosenFile.clear();
    // One file's rows never stand under another file's name.
    m_browser.clearShown();
    m_count->setText(m_browser.countLabel());
    m_cell->clear();
    if (!m_browser.listNames(QDir(m_folder).filePath(fileName), names)) {
        m_dialogs.message(m_browser.error());
        return;
    }
    m_chosenFile = fileName;
    m_tables->addItems(names);
}

void BrowserWindow::chooseTable(const QString& name)
{
    if (m_chosenFile.isEmpty())
        return;
    if (!m_browser.show(QDir(m_folder).filePath(m_chosenFile), name))
        m_dialogs.message(m_browser.error());
    m_count->setText(m_browser.countLabel());
    m_cell->clear();
    // Columns as wide as what they show, a long text no wider than a third
    // of the grid.
    m_grid->resizeColumnsToContents();
    const int widest = std::max(120, m_grid->viewport()->width() / 3);
    for (int c = 0; c < m_browser.model().columnCount(); ++c)
        m_grid->setColumnWidth(c, std::min(m_grid->columnWidth(c), widest));
}

void BrowserWindow::sortByColumn(int column)
{
    if (!m_browser.sortBy(column) && !m_browser.error().isEmpty())
        m_dialogs.message(m_browser.error());
    m_count->setText(m_browser.countLabel());
}

void BrowserWindow::openFile(const QString& fileName)
{
    browser::openFile(QDir(m_folder).filePath(fileName), m_platform, m_openText);
}

void BrowserWindow::copyCell(const QModelIndex& index)
{
    const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
    m_cell->setText(text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

bool BrowserWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        refreshFiles();
    return QWidget::event(event);
}

void BrowserWindow::closeEvent(QCloseEvent* event)
{
    // Closing only hides the window; it keeps its last table.
    event->ignore();
    hide();
}

void BrowserWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}
