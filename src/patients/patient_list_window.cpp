#include "patient_list_window.h"

#include "app/field_binder.h"
#include "app/grid_layouts.h"
#include "app/record_set_model.h"
#include "data/record_set.h"
#include "data/sql_values.h"
#include "entry_highlight.h"
#include "patient_register.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace {

// Surname, first name and citizen's number; the rest of the patient's data
// stands in the fields beside the grid.
GridLayout patientGrid()
{
    GridLayout layout(14, ColumnLayout{0, true});
    layout[0] = {2500};
    layout[1] = {2000};
    layout[2] = {1600};
    return layout;
}

} // namespace

PatientListWindow::PatientListWindow(patients::PatientList& list, Actions actions, QWidget* parent)
    : QWidget(parent, Qt::Window), m_list(list), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("Popis"));
    setWindowTitle(QStringLiteral("Popis pacijenata"));
    RecordSet& set = list.patients();

    auto* menu = new QMenuBar(this);
    QMenu* options = menu->addMenu(QStringLiteral("      Opcije      "));
    options->addAction(QStringLiteral("Karton pacijenta"), this, [this] { m_actions.openCard(); });
    options->addAction(QStringLiteral("Upis novog pac."), this, [this] {
        if (m_list.addPatient() >= 0)
            m_fields.front()->setFocus(Qt::OtherFocusReason);
    });
    options->addAction(QStringLiteral("Ukupan broj upisanih pacijenata"), this, [this] { m_list.showCount(); });
    options->addSeparator();
    options->addAction(QStringLiteral("Pacijenti za kontrolu..."), this, [this] { m_actions.recall(); });
    menu->addAction(QStringLiteral("      Povratak      "), this, &PatientListWindow::goBack);

    m_model = new RecordSetModel(set, this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    applyGridLayout();
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_list.sortBy(column))
            applyGridLayout();
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { m_actions.openCard(); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            m_list.patients().setCurrent(current.row());
    });
    connect(&set, &RecordSet::currentChanged, this, &PatientListWindow::followCurrent);
    connect(&set, &RecordSet::reset, this, [this] { followCurrent(m_list.patients().current()); });

    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("Text1"));
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textEdited, this, [this](const QString& text) { m_list.search(text); });

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Pronađi:")));
    searchRow->addWidget(m_search, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addWidget(m_grid, 1);

    m_binder = new FieldBinder(set, this);
    auto* form = new QFormLayout;
    for (const patients::PatientField& f : patients::patientFields()) {
        QLineEdit* box = nullptr;
        if (f.readOnly) {
            box = new QLineEdit;
            box->setObjectName(f.field);
            box->setReadOnly(true);
        } else {
            box = m_binder->text(f.field, nullptr);
        }
        box->installEventFilter(this);
        // Enter leaves the field as a click elsewhere would, then goes on
        // (from "JMBG" that filled the date of birth, to "Ulica").
        connect(box, &QLineEdit::returnPressed, this, [this, box] {
            const int at = int(std::find(m_fields.begin(), m_fields.end(), box) - m_fields.begin());
            const bool filled = leave(at);
            m_fields.at(filled ? 4 : patients::nextPatientPosition(at))->setFocus(Qt::TabFocusReason);
        });
        m_fields.push_back(box);
        form->addRow(f.caption, box);
    }
    connect(&set, &RecordSet::currentChanged, this, &PatientListWindow::showReadOnlyFields);
    connect(&set, &RecordSet::reset, this, &PatientListWindow::showReadOnlyFields);
    showReadOnlyFields();

    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addLayout(form, 2);
    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menu);
    outer->addLayout(body);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &PatientListWindow::goBack);
    resize(900, 560);
    followCurrent(set.current());
}

void PatientListWindow::applyGridLayout() { grids::apply(*m_grid, *m_model, patientGrid()); }

void PatientListWindow::followCurrent(int row)
{
    if (row < 0 || m_grid->currentIndex().row() == row)
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

void PatientListWindow::showReadOnlyFields()
{
    const RecordSet& set = m_list.patients();
    const QDate entered = sqlvalue::toDate(set.field(u"Datupisa"));
    m_fields.at(12)->setText(entered.isValid() ? entered.toString(QStringLiteral("dd.MM.yyyy")) : QString());
    m_fields.at(13)->setText(sqlvalue::toText(set.field(u"Broj")));
}

bool PatientListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_search->clear();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_list.searchNext(m_search->text());
                return true;
            }
        }
        return false;
    }
    const auto at = std::find(m_fields.begin(), m_fields.end(), watched);
    if (at == m_fields.end())
        return false;
    QLineEdit* box = *at;
    const int position = int(at - m_fields.begin());
    switch (event->type()) {
    case QEvent::FocusIn:
        patientsui::highlight(box, true);
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
        break;
    case QEvent::FocusOut:
        patientsui::highlight(box, false);
        if (leave(position))
            QTimer::singleShot(0, this, [this] { m_fields.at(4)->setFocus(Qt::OtherFocusReason); });
        break;
    case QEvent::MouseButtonDblClick:
        if (position <= 1) {
            m_actions.openCard();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

bool PatientListWindow::leave(int position)
{
    return !patients::patientFields().at(position).readOnly && m_list.leaveField(m_fields.at(position)->objectName());
}

void PatientListWindow::goBack()
{
    m_list.save();
    hide();
    if (QWidget* main = parentWidget()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
    if (m_actions.goBack)
        m_actions.goBack();
}

void PatientListWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    goBack();
}

void PatientListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followCurrent(m_list.patients().current());
}
