#include "patient_card_window.h"

#include "app/field_binder.h"
#include "app/grid_layouts.h"
#include "app/record_set_model.h"
#include "data/record_set.h"
#include "data/sql_values.h"
#include "entry_highlight.h"
#include "patient_register.h"
#include "visit_card.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace {

bool isLongText(const QString& field)
{
    return field == u"Anamneza" || field == u"Komentar" || field == u"A43";
}

QLabel* caption(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

PatientCardWindow::PatientCardWindow(patients::PatientList& list, patients::VisitCard& card, Actions actions,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), m_list(list), m_card(card), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("Karton"));
    setWindowTitle(QStringLiteral("Karton pacijenta"));
    RecordSet& visits = card.visits();

    auto* menu = new QMenuBar(this);
    QMenu* options = menu->addMenu(QStringLiteral("      Opcije      "));
    options->addAction(QStringLiteral("Nova posjeta      "), this, &PatientCardWindow::addVisit);
    options->addAction(QStringLiteral("Ispis nalaza"), this, [this] {
        if (m_card.save() && m_actions.print)
            m_actions.print();
    });
    menu->addAction(QStringLiteral("    Povratak    "), this, &PatientCardWindow::goBack);

    m_header = new QLabel;
    m_header->setObjectName(QStringLiteral("zaglavlje"));
    QFont bold = m_header->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_header->setFont(bold);

    m_model = new RecordSetModel(visits, this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("posjete"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->setMaximumWidth(160);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid() && current.row() != m_card.visits().current() && !m_card.select(current.row()))
            followCurrent(m_card.visits().current());
    });
    connect(&visits, &RecordSet::currentChanged, this, [this](int row) {
        followCurrent(row);
        showCurrent();
    });
    connect(&visits, &RecordSet::reset, this, [this] {
        followCurrent(m_card.visits().current());
        showCurrent();
    });
    connect(&visits, &RecordSet::rowChanged, this, [this](int row) {
        if (row == m_card.visits().current())
            showCurrent();
    });

    m_date = new QLabel;
    m_date->setObjectName(QStringLiteral("datum"));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(QStringLiteral("Datum")));
    dateRow->addWidget(m_date, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(dateRow);
    left->addWidget(m_grid, 1);

    m_binder = new FieldBinder(visits, this);
    for (const QString& f : patients::visitFields())
        m_fields.push_back(makeField(f));
    auto at = [this](const char* name) { return m_fields.at(patients::visitFields().indexOf(QString::fromLatin1(name))); };

    auto* fields = new QVBoxLayout;
    auto* history = new QHBoxLayout;
    history->addWidget(caption(QStringLiteral("Anamneza:")), 0, Qt::AlignTop);
    history->addWidget(at("Anamneza"), 1);
    fields->addLayout(history);
    auto* dg = new QGridLayout;
    dg->addWidget(caption(QStringLiteral("Dg./")), 0, 0);
    dg->addWidget(at("Dg1"), 0, 1);
    dg->addWidget(at("Dg2"), 1, 1);
    dg->addWidget(at("Dg3"), 2, 1);
    fields->addLayout(dg);

    // The four boxes of the examination: acuity, acuity with a sphere,
    // with sphere and cylinder, with the correction prescribed.
    auto box = [](QLayout* layout) {
        auto* group = new QGroupBox;
        group->setLayout(layout);
        return group;
    };
    auto* box1 = new QGridLayout;
    box1->addWidget(caption(QStringLiteral("V oc. dex =")), 0, 0);
    box1->addWidget(at("NormD"), 0, 1);
    box1->addWidget(caption(QStringLiteral("V oc. sin =")), 1, 0);
    box1->addWidget(at("NormS"), 1, 1);
    auto* box2 = new QGridLayout;
    for (int eye = 0; eye < 2; ++eye) {
        const int a = eye == 0 ? 1 : 5;
        box2->addWidget(caption(eye == 0 ? QStringLiteral("V oc. dex =") : QStringLiteral("V oc. sin =")), eye, 0);
        box2->addWidget(m_fields.at(5 + a), eye, 1);
        box2->addWidget(m_fields.at(5 + a + 1), eye, 2);
        box2->addWidget(m_fields.at(5 + a + 2), eye, 3);
        box2->addWidget(caption(QStringLiteral("Dsph =")), eye, 4);
        box2->addWidget(m_fields.at(5 + a + 3), eye, 5);
    }
    auto* box3 = new QGridLayout;
    for (int eye = 0; eye < 2; ++eye) {
        const int a = eye == 0 ? 9 : 16;
        box3->addWidget(caption(eye == 0 ? QStringLiteral("V oc. dex =") : QStringLiteral("V oc. sin =")), eye, 0);
        box3->addWidget(m_fields.at(5 + a), eye, 1);
        box3->addWidget(m_fields.at(5 + a + 1), eye, 2);
        box3->addWidget(m_fields.at(5 + a + 2), eye, 3);
        box3->addWidget(caption(QStringLiteral("Dsph ")), eye, 4);
        box3->addWidget(m_fields.at(5 + a + 3), eye, 5);
        box3->addWidget(m_fields.at(5 + a + 4), eye, 6);
        box3->addWidget(caption(QStringLiteral("Dcyl ax")), eye, 7);
        box3->addWidget(m_fields.at(5 + a + 5), eye, 8);
        box3->addWidget(caption(QStringLiteral("=")), eye, 9);
        box3->addWidget(m_fields.at(5 + a + 6), eye, 10);
    }
    auto* box4 = new QGridLayout;
    for (int eye = 0; eye < 2; ++eye) {
        auto* kind = new QLabel;
        kind->setObjectName(eye == 0 ? QStringLiteral("KorDnkl") : QStringLiteral("KorSnkl"));
        kind->setFrameShape(QFrame::Panel);
        kind->setFrameShadow(QFrame::Sunken);
        kind->setMinimumWidth(kind->fontMetrics().horizontalAdvance(QStringLiteral("kont. leće")) + 12);
        kind->setToolTip(QStringLiteral("Kliknite za vrstu korekcije: naočale, kont. leće ili ništa"));
        kind->setCursor(Qt::PointingHandCursor);
        kind->installEventFilter(this);
        (eye == 0 ? m_kindRight : m_kindLeft) = kind;
        box4->addWidget(caption(eye == 0 ? QStringLiteral("V oc. dex cc -") : QStringLiteral("V oc. sin  cc -")), eye, 0);
        box4->addWidget(kind, eye, 1);
        box4->addWidget(caption(QStringLiteral("=")), eye, 2);
        box4->addWidget(at(eye == 0 ? "KorD" : "KorS"), eye, 3);
    }
    box4->addWidget(caption(QStringLiteral("add  +  ")), 2, 0);
    box4->addWidget(at("Addbliz"), 2, 1);
    box4->addWidget(new QLabel(QStringLiteral("Dsph za blizinu")), 2, 2, 1, 2);
    auto* boxes = new QGridLayout;
    boxes->addWidget(box(box1), 0, 0);
    boxes->addWidget(box(box2), 0, 1);
    boxes->addWidget(box(box3), 1, 0, 1, 2);
    boxes->addWidget(box(box4), 2, 0, 1, 2);
    fields->addLayout(boxes);

    auto* rest = new QGridLayout;
    rest->addWidget(caption(QStringLiteral("Komentar:")), 0, 0, Qt::AlignTop | Qt::AlignRight);
    rest->addWidget(at("Komentar"), 0, 1);
    rest->addWidget(caption(QStringLiteral("Kontrola za")), 1, 0);
    rest->addWidget(at("A42"), 1, 1);
    rest->addWidget(caption(QStringLiteral("Mišljenje:")), 2, 0, Qt::AlignTop | Qt::AlignRight);
    rest->addWidget(at("A43"), 2, 1);
    rest->addWidget(caption(QStringLiteral("Th./")), 3, 0);
    for (int i = 0; i < 4; ++i)
        rest->addWidget(at(QByteArray("A" + QByteArray::number(44 + i)).constData()), 3 + i, 1);
    fields->addLayout(rest);

    m_previous = new QLabel;
    m_previous->setObjectName(QStringLiteral("prethodna"));
    m_previous->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_previous->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_previous->setWordWrap(true);
    m_previous->setMinimumWidth(200);
    auto* previousBox = new QGroupBox(QStringLiteral("Prethodna posjeta"));
    auto* previousLayout = new QVBoxLayout(previousBox);
    previousLayout->addWidget(m_previous);
    previousLayout->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(fields, 1);
    body->addWidget(previousBox);
    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menu);
    outer->addWidget(m_header);
    outer->addLayout(body, 1);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &PatientCardWindow::goBack);
    resize(1100, 720);
}

QWidget* PatientCardWindow::makeField(const QString& field)
{
    RecordSet& visits = m_card.visits();
    QWidget* box = nullptr;
    if (isLongText(field)) {
        auto* edit = new QPlainTextEdit;
        edit->setObjectName(field);
        edit->setTabChangesFocus(true);
        edit->setMaximumHeight(edit->fontMetrics().lineSpacing() * 4 + 10);
        connect(edit, &QPlainTextEdit::textChanged, this, [&visits, edit, field] {
            if (visits.current() >= 0 && sqlvalue::toText(visits.field(field)) != edit->toPlainText())
                visits.setField(field, edit->toPlainText());
        });
        m_showTexts.push_back([&visits, edit, field] {
            const QString stored = sqlvalue::toText(visits.field(field));
            if (edit->toPlainText() != stored) {
                const QSignalBlocker block(edit);
                edit->setPlainText(stored);
            }
        });
        box = edit;
    } else {
        auto* edit = m_binder->text(field, nullptr);
        if (patients::isSignField(field)) {
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?")), edit));
            edit->setMaxLength(1);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(u'+') * 2 + 14);
            edit->setAlignment(Qt::AlignCenter);
            edit->setToolTip(QStringLiteral("Dvoklik: - ili +"));
        } else if (field.startsWith(u'A') && field.mid(1).toInt() <= 22) {
            edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
        }
        box = edit;
    }
    box->installEventFilter(this);
    return box;
}

void PatientCardWindow::followCurrent(int row)
{
    if (row < 0 || m_grid->currentIndex().row() == row)
        return;
    const QModelIndex index = m_model->index(row, 2);
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

void PatientCardWindow::showCurrent()
{
    for (const auto& show : m_showTexts)
        show();
    const RecordSet& visits = m_card.visits();
    const QDate date = sqlvalue::toDate(visits.field(u"Datum"));
    m_date->setText(date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString());
    m_kindRight->setText(sqlvalue::toText(visits.field(u"KorDnkl")));
    m_kindLeft->setText(sqlvalue::toText(visits.field(u"KorSnkl")));
    const std::optional<QVariantMap> previous = m_card.previousVisit();
    if (!previous) {
        m_previous->setText(QStringLiteral("Nema prethodne posjete."));
        return;
    }
    const QDate when = sqlvalue::toDate(previous->value(QStringLiteral("Datum")));
    const QString summary = patients::refractionSummary(*previous);
    m_previous->setText(when.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral("\n")
                        + (summary.isEmpty() ? QStringLiteral("Refrakcija i korekcija nisu upisane.") : summary));
}

void PatientCardWindow::reload()
{
    const std::optional<patients::PatientList::Patient> patient = m_list.currentPatient();
    if (!patient)
        return;
    m_header->setText(QStringLiteral("%1 %2     Datum rođenja: %3     Šifra: %4")
                          .arg(patient->surname, patient->name, patient->born)
                          .arg(patient->number));
    m_loadFailed = !m_card.load(patient->number);
    // Only the date of each visit shows.
    GridLayout layout(std::max(m_card.visits().columnCount(), 3), ColumnLayout{0, true});
    layout[2] = ColumnLayout{1120};
    layout[2].date = true;
    layout[2].digits = 10; // dd.mm.yyyy whole at any screen's font
    grids::apply(*m_grid, *m_model, layout);
    const bool editable = m_card.isEditable();
    for (QWidget* box : m_fields) {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->setReadOnly(!editable);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(box))
            text->setReadOnly(!editable);
    }
    showCurrent();
    m_fields.front()->setFocus(Qt::OtherFocusReason);
}

void PatientCardWindow::addVisit()
{
    if (m_card.addVisit() < 0)
        return;
    m_loadFailed = false;
    reload();
}

void PatientCardWindow::goBack()
{
    m_card.save();
    hide();
    if (m_actions.goBack)
        m_actions.goBack();
}

bool PatientCardWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_loadFailed)
        reload();
    return QWidget::event(event);
}

bool PatientCardWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_kindRight || watched == m_kindLeft) {
        if (event->type() == QEvent::MouseButtonPress && m_card.isEditable()) {
            m_card.cycleCorrectionKind(watched->objectName());
            return true;
        }
        return false;
    }
    const auto at = std::find(m_fields.begin(), m_fields.end(), watched);
    if (at == m_fields.end())
        return false;
    QWidget* box = *at;
    const int position = int(at - m_fields.begin());
    switch (event->type()) {
    case QEvent::FocusIn:
        patientsui::highlight(box, true);
        break;
    case QEvent::FocusOut:
        patientsui::highlight(box, false);
        m_card.save();
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Enter goes on to the next field; Shift+Enter starts a new line in
        // a text of several lines.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && !(qobject_cast<QPlainTextEdit*>(box) && (key->modifiers() & Qt::ShiftModifier))) {
            m_fields.at(patients::nextVisitPosition(position))->setFocus(Qt::TabFocusReason);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (patients::isSignField(box->objectName()) && m_card.isEditable()) {
            m_card.toggleSign(box->objectName());
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

void PatientCardWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    goBack();
}
