#pragma once

#include "layout_adjustment.h"

#include <QWidget>

#include <functional>

class Database;
class Dialogs;
class QLineEdit;

// "Prilagodba ispisa recepta": the left and top position of every value of
// the confirmation form's back side, with buttons that move them all by a
// millimetre. The window stays loaded for the run; hiding it keeps what was
// typed, only "SPREMI PROMJENE" stores it.
class AdjustmentWindow : public QWidget {
    Q_OBJECT

public:
    AdjustmentWindow(Database& db, Dialogs& dialogs, QWidget* mainWindow);

    // Shows the window (loading the table the first time) with the form
    // variant in its title.
    void open(const QString& formVariant);

    QLineEdit* leftBox(int slot) const { return m_left.at(size_t(slot)); }
    QLineEdit* topBox(int slot) const { return m_top.at(size_t(slot)); }
    const LayoutAdjustment& adjustment() const { return m_adjustment; }

    void moveAll(double right, double down);
    void saveChanges();
    void cancel();

private:
    QWidget* buildSlots();
    QLayout* buildButtons();
    void showBoxes();
    void backToMainWindow();

    Database& m_db;
    Dialogs& m_dialogs;
    QWidget* m_mainWindow;
    LayoutAdjustment m_adjustment;
    std::array<QLineEdit*, LayoutAdjustment::kSlots> m_left{}, m_top{};
    bool m_loaded = false;
};
