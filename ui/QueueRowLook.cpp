#include "QueueRowLook.h"

#include "Palette.h"
#include "queue/QueueModel.h"

void QueueRowLook::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.data(QueueModel::ConvertingRole).toBool())
        return;
    option->font.setBold(true);
    option->palette.setColor(QPalette::Text, Palette::AccentDark);
    option->palette.setColor(QPalette::HighlightedText, Palette::AccentDark);
}
