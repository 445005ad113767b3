#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The items of the menu "    Opcije    " in order. An item with sub-items
// opens a submenu; "-" stands for a separator line. Names are the ones the
// commands are wired to.
struct MenuItem {
    QString name;
    QString caption;
    std::vector<MenuItem> items;
    bool hidden = false;
};

namespace mainmenu {

inline const QString kOptions = QStringLiteral("    Opcije    ");
inline const QString kExit = QStringLiteral("    Izlaz    ");
inline const QString kSeparator = QStringLiteral("-");

const std::vector<MenuItem>& items();

} // namespace mainmenu
