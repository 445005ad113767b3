#pragma once

#include <QDialog>

class QTableWidget;

namespace eracun {
class KpdCommands;
}

namespace eracuntab {

// "KPD oznake šifri...": the codes with a KPD code of their own, with the
// commands to give a code one, change it or take it away (the code list's
// then applies). The rules are the command's; the window shows and asks.
class KpdWindow : public QDialog {
public:
    KpdWindow(eracun::KpdCommands& commands, QWidget* parent);

private:
    void refresh(const QString& select = {});
    QString selectedCode() const;

    eracun::KpdCommands& m_commands;
    QTableWidget* m_table;
};

} // namespace eracuntab
