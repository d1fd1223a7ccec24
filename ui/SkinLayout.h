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
constexpr const char *kMenuCaptions[] = {"File", "Options", "About"};

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
// Over the line under the queue's heading, while a batch runs: where it stands.
constexpr QRect kBatchCaption(17, 138, 455, 16);
// Above Convert, while the cutter is on.
constexpr QRect kCutIndicator(488, 355, 189, 15);
constexpr int kFormatColumnWidth = 94;
// A queue row: the text and room above and below it (descenders included).
constexpr int kRowPadding = 8;
constexpr QRect kHint(164, 264, 163, 21);
constexpr QRect kProgressBar(113, 447, 361, 13);
constexpr QRect kProgressLabel(214, 447, 157, 13);
// The Stop button beside the bar, shown while a batch runs.
constexpr QRect kStop(82, 443, 26, 20);

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

// The visible part of a skinned window's face: key-coloured bands of 3 pixels at the top and 4 at
// the left, the rest reaching the window's right and bottom edges.
constexpr QRect VisibleFace(const QSize &window)
{
    return QRect(4, 3, window.width() - 4, window.height() - 3);
}

// The cutter options dialog.
namespace Options {
constexpr QSize kWindowSize(330, 199);
constexpr QSize kFaceSize(334, 204);
constexpr QRect kExit(300, 9, 15, 15);
constexpr QSize kExitHoverSize(14, 13);
constexpr QRect kSoundPicker(146, 34, 163, 22);
constexpr QRect kSoundButton(289, 36, 19, 19);
constexpr QRect kCutter(146, 64, 13, 13);
constexpr int kStartTop = 85;
constexpr int kLengthTop = 109;
constexpr int kFieldHeight = 18;
constexpr QRect Field(int top, int column)
{
    // Hours, minutes, seconds. Hours holds "100" in the fields' own font.
    return column == 0
               ? QRect(94, top, 35, kFieldHeight)
               : (column == 1 ? QRect(160, top, 31, kFieldHeight) : QRect(230, top, 43, kFieldHeight));
}
// How many files convert at once.
constexpr QRect kFilesPicker(146, 136, 60, 22);
constexpr QRect kFilesButton(186, 138, 19, 19);
// As far above the frame's bottom line as the labels are right of its left one (12 pixels).
constexpr QRect kOK(146, 164, 76, 22);
constexpr QRect kBack(232, 164, 76, 22);
} // namespace Options

// The feedback form.
namespace Suggest {
constexpr QSize kWindowSize(326, 174);
constexpr QSize kFaceSize(330, 180);
constexpr QRect kName(110, 50, 141, 21);
constexpr QRect kEMail(110, 76, 141, 21);
constexpr QRect kComment(110, 102, 189, 21);
constexpr QRect kSending(48, 138, 70, 14);
constexpr QRect kSend(166, 136, 58, 18);
constexpr QRect kBack(246, 136, 58, 18);
constexpr QRect kExit(300, 11, 15, 15);
constexpr QSize kExitHoverSize(14, 13);
} // namespace Suggest

} // namespace SkinLayout
