#pragma once

#include <QColor>

// Every colour of the skin, for the pictures the generator draws and for the controls the
// windows draw themselves (the progress bar, the focus ring, the style sheet).
namespace Palette {

inline const QColor HeaderTop(0x1f, 0x2b, 0x48);
inline const QColor HeaderBottom(0x2d, 0x3f, 0x6c);
inline const QColor HeaderText(0xd3, 0xdb, 0xec);
inline const QColor HeaderMuted(0x7d, 0x89, 0xa6);
inline const QColor Body(0xee, 0xf1, 0xf6);
inline const QColor Strip(0xf8, 0xfa, 0xfd);
inline const QColor Line(0xd3, 0xd9, 0xe4);
inline const QColor Card(0xff, 0xff, 0xff);
// Text and marks on the accent, on lit buttons and on the header's lit buttons.
inline const QColor OnAccent(0xff, 0xff, 0xff);
inline const QColor Text(0x1f, 0x29, 0x37);
inline const QColor Muted(0x5b, 0x65, 0x77);
inline const QColor Accent(0x0e, 0xa5, 0xa4);
inline const QColor AccentDark(0x0b, 0x76, 0x7d);
inline const QColor AccentLight(0x5e, 0xea, 0xd4);
inline const QColor AccentDeep(0x0b, 0x3b, 0x3f); // text on the accent's light tints
inline const QColor Track(0xdc, 0xe2, 0xeb);
// Out of reach while a batch runs.
inline const QColor Greyed(0xb4, 0xbb, 0xc7);
// The window's edge.
inline const QColor Rim(0x8a, 0x96, 0xac);
// The big buttons' fill: top and bottom, lit and idle; greyed while out of reach.
inline const QColor ButtonTop(0x14, 0xb8, 0xa6);
inline const QColor ButtonTopLit(0x2d, 0xd4, 0xbf);
inline const QColor ButtonBottomLit(0x0f, 0x9f, 0x9a);
inline const QColor ButtonGreyTop(0xcf, 0xd5, 0xde);
inline const QColor ButtonGreyBottom(0xb3, 0xbb, 0xc7);
// Closing and removing.
inline const QColor Danger(0xe1, 0x4b, 0x4b);
inline const QColor DangerDark(0xc2, 0x41, 0x3c);
// The start panel's lower glow.
inline const QColor PanelGlow(0xf3, 0xf8, 0xf8);
// The controls the windows draw: their borders, selections and dimmed texts.
inline const QColor FieldBorder(0xc9, 0xd1, 0xdd);
inline const QColor FieldDisabledText(0x9a, 0xa3, 0xb2);
inline const QColor Selection(0xcc, 0xf2, 0xee);
inline const QColor RowAlternate(0xf6, 0xf8, 0xfb);
inline const QColor ListHeader(0xf1, 0xf4, 0xf8);
inline const QColor Hint(0x7b, 0x85, 0x97);
inline const QColor Link(0x00, 0x00, 0x00);

// White or black laid over a picture, `alpha` of 255 opaque.
inline QColor Glass(int alpha)
{
    return QColor(255, 255, 255, alpha);
}
inline QColor Shadow(int alpha)
{
    return QColor(0, 0, 0, alpha);
}

} // namespace Palette
