#pragma once

#include <QStyledItemDelegate>

// Grid editor that takes no more characters than the field holds.
class WidthLimitedDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
