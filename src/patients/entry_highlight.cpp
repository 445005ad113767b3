#include "entry_highlight.h"

#include <QPalette>
#include <QWidget>

namespace patientsui {

void highlight(QWidget* box, bool hasCursor)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, hasCursor ? QColor(255, 255, 192) : QColor(Qt::white));
    box->setPalette(palette);
}

} // namespace patientsui
