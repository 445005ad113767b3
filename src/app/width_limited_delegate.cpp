#include "width_limited_delegate.h"

#include "record_set_model.h"

#include <QLineEdit>

QWidget* WidthLimitedDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    const int width = index.data(RecordSetModel::MaxLengthRole).toInt();
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && width > 0)
        line->setMaxLength(width);
    return editor;
}
