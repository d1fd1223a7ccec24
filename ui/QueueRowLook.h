#pragma once

#include <QStyledItemDelegate>

// Draws the queue's rows; the row whose file is being converted stands out in bold accent.
class QueueRowLook : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
