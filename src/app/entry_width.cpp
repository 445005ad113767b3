#include "entry_width.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

void fitCharacters(QLineEdit* edit, int characters)
{
    const QFontMetrics metrics = edit->fontMetrics();
    // The line edit keeps a few pixels of its own beside the text, and the
    // cursor after the last character.
    const int text = metrics.horizontalAdvance(QString(characters, u'0')) + 2 * 2 + edit->textMargins().left()
        + edit->textMargins().right() + 2;
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QSize size = edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, metrics.height()), edit);
    edit->setMinimumWidth(size.width());
    if (edit->maximumWidth() < size.width())
        edit->setMaximumWidth(size.width());
}
