#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where everything sits on the main window, in pixels from its top-left corner. The skin's
// artwork and the window's controls are both placed from these, so they always line up.
namespace SkinLayout {

constexpr QSize kWindowSize(696, 495);
constexpr QSize kFaceSize(700, 500);
// Pixels of this colour are cut out of the window's shape.
constexpr QRgb kKeyColour = 0xFFFF00FF;
constexpr int kCornerRadius = 7;
// The visible face: a key-coloured band of 3 pixels at the top and 4 at the left.
constexpr QRect kVisibleFace(4, 3, 692, 492);

// Toolbar hot areas by index (5 is not used), left to right: 0, 6, 1, 2, 3, 4.
constexpr int kToolbarIndexes[] = {0, 6, 1, 2, 3, 4};
constexpr QSize kToolbarButtonSize(86, 53);
constexpr int kToolbarY = 55;
constexpr QRect ToolbarButton(int index)
{
    // Positions by index: 0 at 16, 1 at 190, 2 at 277, 3 at 364, 4 at 451, 6 at 103.
    return QRect(index == 6 ? 103 : (index == 0 ? 16 : 190 + 87 * (index - 1)), kToolbarY, 86, 53);
}

constexpr QRect kMenuTabs[] = {QRect(18, 31, 40, 15), QRect(60, 31, 59, 15), QRect(122, 31, 51, 15)};

constexpr QRect kConvert(489, 371, 187, 91);
constexpr QSize kConvertHoverSize(185, 88);
constexpr QRect kBrowse(635, 331, 42, 22);
constexpr QRect kHelp(635, 8, 15, 15);
constexpr QSize kHelpHoverSize(12, 17);
constexpr QRect kMin(652, 9, 14, 14);
constexpr QSize kMinHoverSize(14, 14);
constexpr QRect kExit(672, 10, 15, 15);
constexpr QSize kExitHoverSize(14, 13);
constexpr QRect kFeedback(628, 477, 46, 13);

constexpr QRect kList(17, 160, 455, 274);
constexpr int kFormatColumnWidth = 94;
constexpr QRect kHint(164, 264, 163, 21);
constexpr QRect kProgressBar(113, 447, 361, 13);
constexpr QRect kProgressLabel(214, 447, 157, 13);

// The start panel and its button (the button's place is inside the panel).
constexpr QRect kDoor(12, 117, 674, 350);
constexpr QRect kDoorButton(194, 291, 266, 29);

// The pickers in one column, each with its drop-down button over its right end, then the
// output-folder box.
constexpr QRect kFormatPicker(488, 158, 189, 22);
constexpr QRect kBitratePicker(488, 200, 189, 22);
constexpr QRect kRatePicker(488, 244, 189, 22);
constexpr QRect kChannelPicker(488, 286, 189, 22);
constexpr QRect kOutputFolder(488, 330, 143, 23);
constexpr QRect PickerButton(const QRect &picker)
{
    return QRect(657, picker.y() + 2, 19, 19);
}
constexpr QSize kPickerButtonImageSize(18, 18);

constexpr QSize kHandCursorSize(32, 32);
constexpr QPoint kHandHotSpot(6, 0);

} // namespace SkinLayout
