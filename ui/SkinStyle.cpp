#include "SkinStyle.h"

#include "Palette.h"

#include <QHash>

namespace {

// "@Name@" stands for the palette's colour of that name.
const char *const kSheet = R"(
QTableView { border: none; background: @Card@; color: @Text@; selection-background-color: @Selection@;
            selection-color: @AccentDeep@; alternate-background-color: @RowAlternate@; outline: 0; }
QTableView::item { padding: 3px 0px; }
QHeaderView::section { background: @ListHeader@; color: @Muted@; border: none; border-bottom: 1px solid @Line@;
                       padding: 3px 2px; }
QComboBox, QLineEdit { background: @Card@; color: @Text@; border: 1px solid @FieldBorder@; border-radius: 3px;
                       padding: 1px 6px; }
QComboBox:hover, QLineEdit:hover { border-color: @Muted@; }
QComboBox:focus, QLineEdit:focus { border-color: @Accent@; }
QComboBox::drop-down { border: none; width: 20px; }
QComboBox QAbstractItemView { background: @Card@; color: @Text@; selection-background-color: @Accent@;
                              selection-color: @Card@; border: 1px solid @FieldBorder@; }
QLabel#lblText { color: @Hint@; background: transparent; }
QLabel#lblFeed { color: @Link@; background: transparent; }
QLabel#caption { color: @Muted@; background: transparent; }
QLabel#lblBatch { color: @AccentDark@; background: @Body@; font-weight: bold; }
QLabel#lblCut { color: @AccentDark@; background: transparent; }
QLabel#lblFeed:disabled { color: @Greyed@; }
frmOptions QComboBox, frmOptions QLineEdit { padding: 0px 2px; }
frmOptions QCheckBox::indicator { width: 13px; height: 13px; }
frmOptions QLineEdit:disabled { background: @Body@; color: @FieldDisabledText@; }
frmSuggest QLineEdit { padding: 0px 4px; }
QLabel#lblSending { color: @Card@; background: transparent; }
)";

} // namespace

QString SkinStyleSheet()
{
    const QHash<QString, QColor> colours = {
        {QStringLiteral("Card"), Palette::Card},
        {QStringLiteral("Text"), Palette::Text},
        {QStringLiteral("Muted"), Palette::Muted},
        {QStringLiteral("Line"), Palette::Line},
        {QStringLiteral("Body"), Palette::Body},
        {QStringLiteral("Accent"), Palette::Accent},
        {QStringLiteral("AccentDeep"), Palette::AccentDeep},
        {QStringLiteral("AccentDark"), Palette::AccentDark},
        {QStringLiteral("Greyed"), Palette::Greyed},
        {QStringLiteral("Selection"), Palette::Selection},
        {QStringLiteral("RowAlternate"), Palette::RowAlternate},
        {QStringLiteral("ListHeader"), Palette::ListHeader},
        {QStringLiteral("FieldBorder"), Palette::FieldBorder},
        {QStringLiteral("FieldDisabledText"), Palette::FieldDisabledText},
        {QStringLiteral("Hint"), Palette::Hint},
        {QStringLiteral("Link"), Palette::Link},
    };
    QString sheet = QString::fromLatin1(kSheet);
    for (auto it = colours.cbegin(); it != colours.cend(); ++it)
        sheet.replace(QLatin1Char('@') + it.key() + QLatin1Char('@'), it.value().name());
    return sheet;
}
