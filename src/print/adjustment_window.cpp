#include "adjustment_window.h"
#include "app/accessible_names.h"

#include "common/dialogs.h"
#include "prescription_slots.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// Enter in a top box goes to the next slot's left box; after the unit
// price difference of the last aid line (the last value of the aid lines
// that users move) it starts again at the first slot.
constexpr int kLastOfFirstRound = prescriptionslots::slot::kLineDifference + prescriptionslots::slot::kLines - 1;

} // namespace

AdjustmentWindow::AdjustmentWindow(Database& db, Dialogs& dialogs, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), m_db(db), m_dialogs(dialogs), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("prilagodba"));
    accessiblenames::install();
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QStringLiteral("Udaljenost od ruba papira (mm)"), this);
    layout->addWidget(hint, 0, Qt::AlignRight);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(buildSlots());
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);
    layout->addLayout(buildButtons());
    resize(560, 700);
}

QWidget* AdjustmentWindow::buildSlots()
{
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->addWidget(new QLabel(QStringLiteral("Lijevi"), area), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Gornji"), area), 0, 2, Qt::AlignHCenter);
    const QStringList& captions = prescriptionslots::captions();
    for (int slot = 0; slot < LayoutAdjustment::kSlots; ++slot) {
        auto* left = new QLineEdit(area);
        auto* top = new QLineEdit(area);
        for (QLineEdit* box : {left, top}) {
            box->setMaximumWidth(80);
            box->setEnabled(false); // until the table is loaded
        }
        left->setObjectName(QStringLiteral("lijevi%1").arg(slot));
        top->setObjectName(QStringLiteral("gornji%1").arg(slot));
        // Each box is announced by its row and column, as a sighted user reads it.
        left->setAccessibleName(captions.at(slot) + QStringLiteral(": lijevi rub (mm)"));
        top->setAccessibleName(captions.at(slot) + QStringLiteral(": gornji rub (mm)"));
        connect(left, &QLineEdit::textEdited, this, [this, slot](const QString& t) { m_adjustment.setLeft(slot, t); });
        connect(top, &QLineEdit::textEdited, this, [this, slot](const QString& t) { m_adjustment.setTop(slot, t); });
        connect(left, &QLineEdit::returnPressed, top, [top] { top->setFocus(); });
        connect(top, &QLineEdit::returnPressed, this, [this, slot] {
            const int next = slot == kLastOfFirstRound || slot + 1 >= LayoutAdjustment::kSlots ? 0 : slot + 1;
            m_left.at(size_t(next))->setFocus();
        });
        m_left.at(size_t(slot)) = left;
        m_top.at(size_t(slot)) = top;
        grid->addWidget(new QLabel(captions.at(slot), area), slot + 1, 0);
        grid->addWidget(left, slot + 1, 1);
        grid->addWidget(top, slot + 1, 2);
    }
    return area;
}

QLayout* AdjustmentWindow::buildButtons()
{
    auto* grid = new QGridLayout;
    auto add = [&](const QString& name, const QString& caption, int row, int column, std::function<void()> action,
                   bool enabled) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setEnabled(enabled);
        connect(button, &QPushButton::clicked, this, action);
        grid->addWidget(button, row, column);
    };
    add(QStringLiteral("desno"), QStringLiteral("Pomakni sve desno za 1 mm"), 0, 0, [this] { moveAll(1, 0); }, false);
    add(QStringLiteral("lijevo"), QStringLiteral("Pomakni sve lijevo za 1 mm"), 0, 1, [this] { moveAll(-1, 0); }, false);
    add(QStringLiteral("dolje"), QStringLiteral("Pomakni sve dolje za 1 mm"), 1, 0, [this] { moveAll(0, 1); }, false);
    add(QStringLiteral("gore"), QStringLiteral("Pomakni sve gore za 1 mm"), 1, 1, [this] { moveAll(0, -1); }, false);
    add(QStringLiteral("spremi"), QStringLiteral("SPREMI PROMJENE"), 2, 0, [this] { saveChanges(); }, true);
    add(QStringLiteral("odustani"), QStringLiteral("ODUSTANI"), 2, 1, [this] { cancel(); }, true);
    return grid;
}

void AdjustmentWindow::open(const QString& formVariant)
{
    setWindowTitle(QStringLiteral("Prilagodba ispisa recepta: ") + formVariant);
    if (!m_loaded) {
        m_loaded = true;
        m_adjustment.load(m_db);
        for (int slot = 0; slot < LayoutAdjustment::kMovable; ++slot) {
            m_left.at(size_t(slot))->setEnabled(true);
            m_top.at(size_t(slot))->setEnabled(true);
        }
        for (const char* name : {"desno", "lijevo", "dolje", "gore"})
            findChild<QPushButton*>(QLatin1String(name))->setEnabled(true);
        showBoxes();
    }
    show();
    raise();
    activateWindow();
}

void AdjustmentWindow::showBoxes()
{
    for (int slot = 0; slot < LayoutAdjustment::kSlots; ++slot) {
        m_left.at(size_t(slot))->setText(m_adjustment.left(slot));
        m_top.at(size_t(slot))->setText(m_adjustment.top(slot));
    }
}

void AdjustmentWindow::moveAll(double right, double down)
{
    m_adjustment.moveAll(right, down);
    showBoxes();
}

void AdjustmentWindow::saveChanges()
{
    QString error;
    if (!m_adjustment.save(m_db, &error)) {
        m_dialogs.message(QStringLiteral("Promjene nisu spremljene!\r\n") + error);
        return;
    }
    m_dialogs.message(QStringLiteral("Promjene su spremljene!"));
    backToMainWindow();
}

void AdjustmentWindow::cancel() { backToMainWindow(); }

void AdjustmentWindow::backToMainWindow()
{
    if (m_mainWindow) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    hide();
}
