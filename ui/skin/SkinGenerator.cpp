// Draws Brimwave's skin: the faces of the main window, the options dialog and the feedback form,
// every hover, pressed and greyed picture, the start panel, the hand cursor and the progress
// gradient, the program's icon (PNG at every size, and SVG), plus the finish chime. The build runs it and
// compiles the pictures in as resources; change the drawing here to change the artwork.
//
// Usage: skin_generator <picture folder> <sound file> <icon folder>
#include "settings/OutputFormats.h"
#include "ui/Commands.h"
#include "ui/Palette.h"
#include "ui/SkinLayout.h"
#include "ui/skin/PictureNames.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using namespace SkinLayout;

// The device pixel ratio the pictures are being drawn for (1, then 2 for screens at 200 %).
qreal g_ratio = 1;

// An image of `logical` size in the design's pixels, with as many device pixels as the ratio gives.
QImage Canvas(const QSize &logical, QImage::Format format)
{
    QImage image(logical * g_ratio, format);
    image.setDevicePixelRatio(g_ratio);
    return image;
}

// The look an element is drawn in.
enum class Look { Idle, Hover, Pressed, Disabled };

// Every element of a face that has a look of its own.
enum class Element { None, Toolbar, Tab, Convert, Browse, Help, Min, Exit, DoorButton, OK, Back, Send };

struct Lit
{
    Element element = Element::None;
    int index = 0;
    Look look = Look::Hover;
    Look LookOf(Element e, int i = 0) const { return e == element && i == index ? look : Look::Idle; }
};

QFont Font(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QPainterPath Rounded(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void Text(QPainter &p, const QRectF &rect, const QString &text, const QFont &font, const QColor &colour,
          int flags = Qt::AlignCenter)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(rect, flags, text);
}

// Toolbar icons, drawn into a 24 x 24 box.
void ToolbarIcon(QPainter &p, int index, const QPointF &topLeft, const QColor &colour)
{
    p.save();
    p.translate(topLeft);
    QPen pen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const auto plus = [&](QPointF c) {
        p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
        p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
    };
    switch (index) {
    case 0: { // add a file: a page with a folded corner and a plus
        QPainterPath page;
        page.moveTo(5, 2);
        page.lineTo(14, 2);
        page.lineTo(19, 7);
        page.lineTo(19, 22);
        page.lineTo(5, 22);
        page.closeSubpath();
        p.drawPath(page);
        p.drawPolyline(QPolygonF({QPointF(14, 2), QPointF(14, 7), QPointF(19, 7)}));
        plus(QPointF(12, 14.5));
        break;
    }
    case 6: { // add a folder
        QPainterPath folder;
        folder.moveTo(2, 6);
        folder.lineTo(9, 6);
        folder.lineTo(11, 8.5);
        folder.lineTo(22, 8.5);
        folder.lineTo(22, 20);
        folder.lineTo(2, 20);
        folder.closeSubpath();
        p.drawPath(folder);
        plus(QPointF(12, 14.2));
        break;
    }
    case 1: // remove: a bin
        p.drawLine(QPointF(4, 6), QPointF(20, 6));
        p.drawPolyline(QPolygonF({QPointF(9, 6), QPointF(9.5, 3), QPointF(14.5, 3), QPointF(15, 6)}));
        p.drawPolyline(QPolygonF({QPointF(6, 6), QPointF(7.2, 21), QPointF(16.8, 21), QPointF(18, 6)}));
        p.drawLine(QPointF(10, 10), QPointF(10.3, 17));
        p.drawLine(QPointF(14, 10), QPointF(13.7, 17));
        break;
    case 2: // options: three sliders
        for (int row = 0; row < 3; ++row) {
            const qreal y = 5 + row * 7;
            const qreal knob = row == 1 ? 15 : (row == 0 ? 8 : 11);
            p.drawLine(QPointF(3, y), QPointF(21, y));
            p.setBrush(colour);
            p.drawEllipse(QPointF(knob, y), 2.3, 2.3);
            p.setBrush(Qt::NoBrush);
        }
        break;
    case 3: { // help: a question mark in a ring
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        QPainterPath hook;
        hook.moveTo(9, 9.5);
        hook.cubicTo(9, 5.5, 15.5, 5.5, 15.2, 9.5);
        hook.cubicTo(15, 12, 12, 12, 12, 14.5);
        p.drawPath(hook);
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 17.8), 1.3, 1.3);
        break;
    }
    case 4: // exit: a power sign
        p.drawArc(QRectF(3, 4, 18, 18), 120 * 16, -240 * 16);
        p.drawLine(QPointF(12, 2), QPointF(12, 11));
        break;
    }
    p.restore();
}

void ToolbarButton(QPainter &p, int index, Look look)
{
    const QRectF r = SkinLayout::ToolbarButton(index);
    if (look == Look::Hover) {
        p.setPen(QPen(Palette::Accent, 1));
        p.setBrush(Palette::Card);
        p.drawPath(Rounded(r.adjusted(1.5, 1.5, -1.5, -1.5), 7));
    }
    const QColor ink = look == Look::Hover      ? Palette::Accent
                       : look == Look::Disabled ? Palette::Greyed
                                                : Palette::AccentDark;
    ToolbarIcon(p, index, r.topLeft() + QPointF(31, 7), ink);
    const QColor label = look == Look::Hover      ? Palette::Text
                         : look == Look::Disabled ? Palette::Greyed
                                                  : Palette::Muted;
    Text(p, QRectF(r.x(), r.y() + 33, r.width(), 16), QString::fromLatin1(Commands::ToolbarCaption(index)),
         Font(11, look == Look::Hover), label);
}

void MenuTab(QPainter &p, int index, Look look)
{
    const QRectF r = kMenuTabs[index];
    if (look == Look::Hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(Palette::Glass(46));
        p.drawPath(Rounded(r, 4));
    }
    const QColor ink = look == Look::Hover      ? Palette::OnAccent
                       : look == Look::Disabled ? Palette::HeaderMuted
                                                : Palette::HeaderText;
    Text(p, r, QString::fromLatin1(kMenuCaptions[index]), Font(11), ink);
}

void ConvertButton(QPainter &p, Look look)
{
    const QRectF r = QRectF(kConvert).adjusted(2, 2, -4, -5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    if (look == Look::Disabled) {
        fill.setColorAt(0, Palette::ButtonGreyTop);
        fill.setColorAt(1, Palette::ButtonGreyBottom);
    } else {
        fill.setColorAt(0, look == Look::Hover ? Palette::ButtonTopLit : Palette::ButtonTop);
        fill.setColorAt(1, look == Look::Hover ? Palette::ButtonBottomLit : Palette::AccentDark);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Shadow(look == Look::Disabled ? 12 : 28));
    p.drawPath(Rounded(r.translated(0, 2), 12));
    p.setBrush(fill);
    p.drawPath(Rounded(r, 12));
    // A play sign in a ring, then the caption.
    const QPointF c(r.left() + 38, r.center().y());
    p.setPen(QPen(Palette::Glass(220), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 17, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::OnAccent);
    p.drawPolygon(QPolygonF({c + QPointF(-5, -8), c + QPointF(9, 0), c + QPointF(-5, 8)}));
    Text(p, QRectF(r.left() + 62, r.top(), r.width() - 66, r.height()), QStringLiteral("Convert"),
         Font(21, true), Palette::OnAccent, Qt::AlignVCenter | Qt::AlignLeft);
}

void BrowseButton(QPainter &p, Look look)
{
    const QRectF r = QRectF(kBrowse).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor fill =
        look == Look::Idle ? Palette::Card : (look == Look::Hover ? Palette::Accent : Palette::AccentDark);
    p.setPen(QPen(look == Look::Idle ? Palette::Line : fill, 1));
    p.setBrush(fill);
    p.drawPath(Rounded(r, 4));
    const QColor ink = look == Look::Idle ? Palette::AccentDark : Palette::OnAccent;
    // A small open folder.
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF o = r.topLeft() + QPointF(13, 4.5);
    p.drawPolyline(QPolygonF({o + QPointF(0, 12), o + QPointF(0, 1), o + QPointF(5, 1), o + QPointF(7, 3),
                              o + QPointF(15, 3), o + QPointF(15, 12), o + QPointF(0, 12)}));
}

void TitleIcon(QPainter &p, Element e, Look look)
{
    const QRectF r = e == Element::Help ? QRectF(kHelp) : (e == Element::Min ? QRectF(kMin) : QRectF(kExit));
    const bool lit = look == Look::Hover;
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(e == Element::Exit ? Palette::Danger : Palette::Glass(60));
        const QSizeF size = e == Element::Help
                                ? QSizeF(kHelpHoverSize)
                                : (e == Element::Min ? QSizeF(kMinHoverSize) : QSizeF(kExitHoverSize));
        p.drawPath(Rounded(QRectF(r.topLeft(), size), 3));
    }
    const QColor ink = lit ? Palette::OnAccent : Palette::HeaderText;
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    switch (e) {
    case Element::Help:
        Text(p, QRectF(r.x(), r.y() + 1, 12, 15), QStringLiteral("?"), Font(12, true), ink);
        break;
    case Element::Min:
        p.drawLine(QPointF(r.x() + 3.5, r.y() + 10), QPointF(r.x() + 10.5, r.y() + 10));
        break;
    case Element::Exit:
        p.drawLine(QPointF(r.x() + 3.5, r.y() + 3), QPointF(r.x() + 10.5, r.y() + 10));
        p.drawLine(QPointF(r.x() + 10.5, r.y() + 3), QPointF(r.x() + 3.5, r.y() + 10));
        break;
    default:
        break;
    }
}

// The wave mark beside the product's name.
void Logo(QPainter &p, const QPointF &o)
{
    p.setPen(Qt::NoPen);
    static const qreal bars[] = {5, 10, 15, 9, 13, 6};
    for (int i = 0; i < 6; ++i) {
        QLinearGradient g(0, o.y(), 0, o.y() + 16);
        g.setColorAt(0, Palette::AccentLight);
        g.setColorAt(1, Palette::Accent);
        p.setBrush(g);
        p.drawPath(Rounded(QRectF(o.x() + i * 3.4, o.y() + 8 - bars[i] / 2, 2.2, bars[i]), 1.1));
    }
}

// The program's icon, on a grid of 256: the header's dark rounded square with the wave mark.
namespace Icon {
constexpr qreal kSquare[] = {16, 16, 224, 224, 48}; // x, y, width, height, corner radius
constexpr qreal kBarHeights[] = {60, 110, 160, 100, 140, 70};
constexpr qreal kBarWidth = 20;
constexpr qreal kBarGap = 12;
constexpr qreal kBarsLeft = 38;

QRectF Bar(int i)
{
    return QRectF(kBarsLeft + i * (kBarWidth + kBarGap), 128 - kBarHeights[i] / 2, kBarWidth, kBarHeights[i]);
}

QImage Picture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    QLinearGradient ground(0, kSquare[1], 0, kSquare[1] + kSquare[3]);
    ground.setColorAt(0, Palette::HeaderTop);
    ground.setColorAt(1, Palette::HeaderBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawPath(Rounded(QRectF(kSquare[0], kSquare[1], kSquare[2], kSquare[3]), kSquare[4]));
    QLinearGradient wave(0, 48, 0, 208);
    wave.setColorAt(0, Palette::AccentLight);
    wave.setColorAt(1, Palette::Accent);
    p.setBrush(wave);
    for (int i = 0; i < 6; ++i)
        p.drawPath(Rounded(Bar(i), kBarWidth / 2));
    return image;
}

QByteArray Svg()
{
    const auto colour = [](const QColor &c) {
        return c.name().toLatin1();
    };
    QByteArray svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"ground\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        "      <stop offset=\"0\" stop-color=\"" +
        colour(Palette::HeaderTop) + "\"/>\n      <stop offset=\"1\" stop-color=\"" +
        colour(Palette::HeaderBottom) +
        "\"/>\n    </linearGradient>\n"
        "    <linearGradient id=\"wave\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"48\" x2=\"0\" "
        "y2=\"208\">\n"
        "      <stop offset=\"0\" stop-color=\"" +
        colour(Palette::AccentLight) + "\"/>\n      <stop offset=\"1\" stop-color=\"" +
        colour(Palette::Accent) + "\"/>\n    </linearGradient>\n  </defs>\n";
    svg += QStringLiteral(
               "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"url(#ground)\"/>\n")
               .arg(kSquare[0])
               .arg(kSquare[1])
               .arg(kSquare[2])
               .arg(kSquare[3])
               .arg(kSquare[4])
               .toLatin1();
    for (int i = 0; i < 6; ++i) {
        const QRectF bar = Bar(i);
        svg += QStringLiteral(
                   "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"url(#wave)\"/>\n")
                   .arg(bar.x())
                   .arg(bar.y())
                   .arg(bar.width())
                   .arg(bar.height())
                   .arg(kBarWidth / 2)
                   .toLatin1();
    }
    return svg + "</svg>\n";
}

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Windows' icon file: every size, each as a PNG (which Windows reads in icons since Vista).
QByteArray Ico()
{
    QByteArray head, images;
    const auto put16 = [&head](quint16 value) {
        const quint16 bytes = qToLittleEndian(value);
        head.append(reinterpret_cast<const char *>(&bytes), 2);
    };
    const auto put32 = [&head](quint32 value) {
        const quint32 bytes = qToLittleEndian(value);
        head.append(reinterpret_cast<const char *>(&bytes), 4);
    };
    constexpr int kCount = int(std::size(kSizes));
    put16(0); // reserved
    put16(1); // an icon, not a cursor
    put16(kCount);
    const quint32 firstImage = 6 + 16 * kCount;
    for (int size : kSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Picture(size).save(&buffer, "PNG");
        head.append(char(size % 256)); // 0 stands for 256
        head.append(char(size % 256));
        head.append(char(0)); // no palette
        head.append(char(0));
        put16(1);  // colour planes
        put16(32); // bits per pixel
        put32(quint32(png.size()));
        put32(firstImage + quint32(images.size()));
        images += png;
    }
    return head + images;
}
} // namespace Icon

// The outline: key colour outside the rounded visible face, and a one-pixel rim inside it so the
// window's edge shows on a light desktop. The shape is worked out in the design's pixels, without
// smoothing, so the cut matches the window's mask exactly at every ratio.
void CutOutline(QImage &face, const QRect &visible)
{
    const QSize logical = face.deviceIndependentSize().toSize();
    QImage shape(logical, QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    QPainter s(&shape);
    s.setPen(Qt::NoPen);
    s.setBrush(Qt::black);
    s.drawPath(Rounded(QRectF(visible), kCornerRadius));
    s.end();
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < logical.width() && y < logical.height() &&
               qAlpha(shape.pixel(x, y)) >= 128;
    };
    for (int y = 0; y < face.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(face.scanLine(y));
        const int ly = int(y / g_ratio);
        for (int x = 0; x < face.width(); ++x) {
            const int lx = int(x / g_ratio);
            if (!inside(lx, ly))
                line[x] = kKeyColour;
            else if (!inside(lx - 1, ly) || !inside(lx + 1, ly) || !inside(lx, ly - 1) || !inside(lx, ly + 1))
                line[x] = Palette::Rim.rgb();
            else if (line[x] == kKeyColour)
                line[x] = 0xFFFE00FF; // never cut a hole inside the face
        }
    }
}

QImage Face(const Lit &lit)
{
    QImage face = Canvas(kFaceSize, QImage::Format_RGB32);
    face.fill(Palette::Body);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Header: name, menu tabs and the window's own buttons on a dark band.
    QLinearGradient header(0, VisibleFace(kWindowSize).top(), 0, 50);
    header.setColorAt(0, Palette::HeaderTop);
    header.setColorAt(1, Palette::HeaderBottom);
    p.fillRect(QRect(0, 0, kFaceSize.width(), 50), header);
    Logo(p, QPointF(16, 8));
    Text(p, QRectF(40, 5, 200, 22), QStringLiteral("Brimwave"), Font(14, true), Palette::OnAccent,
         Qt::AlignVCenter | Qt::AlignLeft);
    Text(p, QRectF(122, 6, 300, 20), QStringLiteral("audio extractor"), Font(11), Palette::HeaderText,
         Qt::AlignVCenter | Qt::AlignLeft);
    for (int i = 0; i < 3; ++i)
        MenuTab(p, i, lit.LookOf(Element::Tab, i));
    for (Element e : {Element::Help, Element::Min, Element::Exit})
        TitleIcon(p, e, lit.LookOf(e));

    // Toolbar strip.
    p.fillRect(QRect(0, 50, kFaceSize.width(), 62), Palette::Strip);
    p.fillRect(QRect(0, 111, kFaceSize.width(), 1), Palette::Line);
    for (int index : kToolbarIndexes)
        ToolbarButton(p, index, lit.LookOf(Element::Toolbar, index));

    // The queue: a heading and a card under the list.
    Text(p, QRectF(17, 119, 300, 18), QStringLiteral("Files to convert"), Font(13, true), Palette::Text,
         Qt::AlignVCenter | Qt::AlignLeft);
    Text(p, QRectF(17, 138, 455, 16), QStringLiteral("Converted one after another, top first"), Font(11),
         Palette::Muted, Qt::AlignVCenter | Qt::AlignLeft);
    p.setPen(QPen(Palette::Line, 1));
    p.setBrush(Palette::Card);
    p.drawPath(Rounded(QRectF(kList).adjusted(-1.5, -1.5, 1.5, 1.5), 4));

    // Output settings: a label above each picker and the folder box.
    Text(p, QRectF(488, 119, 190, 18), QStringLiteral("Output"), Font(13, true), Palette::Text,
         Qt::AlignVCenter | Qt::AlignLeft);
    // The pickers' captions are the window's own labels (screen readers take them as names);
    // the skin adds what they apply to, on the right.
    const std::pair<QRect, const char *> notes[] = {
        {kBitratePicker, "MP3, kbit/s"}, {kRatePicker, "MP3, Hz"}, {kChannelPicker, "MP3"}};
    for (const auto &[rect, note] : notes)
        Text(p, QRectF(rect.x(), rect.y() - 17, rect.width(), 15), QString::fromLatin1(note), Font(10),
             Palette::Muted, Qt::AlignVCenter | Qt::AlignRight);
    BrowseButton(p, lit.LookOf(Element::Browse));

    ConvertButton(p, lit.LookOf(Element::Convert));

    // Progress row and footer.
    Text(p, QRectF(17, kProgressBar.y() - 2, 90, 17), QStringLiteral("Progress"), Font(11), Palette::Muted,
         Qt::AlignVCenter | Qt::AlignLeft);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Track);
    p.drawPath(Rounded(QRectF(kProgressBar), 3));
    p.fillRect(QRect(0, 470, kFaceSize.width(), 1), Palette::Line);
    QStringList formats;
    for (const OutputFormatRow &format : kOutputFormats)
        formats << QString::fromLatin1(format.caption.data(), qsizetype(format.caption.size()));
    Text(p, QRectF(17, 474, 400, 18), formats.join(QStringLiteral(" \u00b7 ")), Font(10), Palette::Muted,
         Qt::AlignVCenter | Qt::AlignLeft);
    p.end();

    CutOutline(face, VisibleFace(kWindowSize));
    return face;
}

// The header band of a small skinned window, with its caption and its exit button.
void SmallHeader(QPainter &p, const QSize &faceSize, const QString &caption, const QRect &exit,
                 const QSize &exitHoverSize, Look exitLook)
{
    QLinearGradient header(0, 3, 0, 30);
    header.setColorAt(0, Palette::HeaderTop);
    header.setColorAt(1, Palette::HeaderBottom);
    p.fillRect(QRect(0, 0, faceSize.width(), 30), header);
    Logo(p, QPointF(16, 7));
    Text(p, QRectF(40, 4, 200, 22), caption, Font(13, true), Palette::OnAccent,
         Qt::AlignVCenter | Qt::AlignLeft);
    if (exitLook == Look::Hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(Palette::Danger);
        p.drawPath(Rounded(QRectF(exit.topLeft(), exitHoverSize), 3));
    }
    p.setPen(QPen(exitLook == Look::Hover ? Palette::OnAccent : Palette::HeaderText, 1.6, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(QPointF(exit.x() + 3.5, exit.y() + 3), QPointF(exit.x() + 10.5, exit.y() + 10));
    p.drawLine(QPointF(exit.x() + 10.5, exit.y() + 3), QPointF(exit.x() + 3.5, exit.y() + 10));
}

// A button face: the main action filled with the accent, the other one outlined.
void FaceButton(QPainter &p, const QRect &place, const QString &caption, bool main, Look look)
{
    // A filled button fills its place; an outline's pen (1 pixel) is centred half a pixel inside.
    const qreal inset = main ? 0 : 0.5;
    const QRectF r = QRectF(place).adjusted(inset, inset, -inset, -inset);
    const bool lit = look == Look::Hover;
    if (main) {
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, lit ? Palette::ButtonTopLit : Palette::ButtonTop);
        fill.setColorAt(1, lit ? Palette::ButtonBottomLit : Palette::AccentDark);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
    } else {
        p.setPen(QPen(lit ? Palette::Accent : Palette::Line, 1));
        p.setBrush(lit ? Palette::Strip : Palette::Card);
    }
    p.drawPath(Rounded(r, 5));
    Text(p, r, caption, Font(12, true),
         main ? Palette::OnAccent : (lit ? Palette::AccentDark : Palette::Text));
}

// The face of a small skinned window: its header with `caption` and the exit button at `exit`,
// what `content` draws, and the outline.
template <typename Content>
QImage SmallFace(const QSize &faceSize, const QSize &windowSize, const QRect &exit,
                 const QSize &exitHoverSize, const QString &caption, const Lit &lit, Content content)
{
    QImage face = Canvas(faceSize, QImage::Format_RGB32);
    face.fill(Palette::Body);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    SmallHeader(p, faceSize, caption, exit, exitHoverSize, lit.LookOf(Element::Exit));
    content(p);
    p.end();
    CutOutline(face, SkinLayout::VisibleFace(windowSize));
    return face;
}

QImage OptionsFace(const Lit &lit)
{
    namespace L = SkinLayout::Options;
    return SmallFace(L::kFaceSize, L::kWindowSize, L::kExit, L::kExitHoverSize, QStringLiteral("Options"),
                     lit, [&](QPainter &p) {
                         // The labels the dialog's controls have none of.
                         const auto label = [&](int top, const QString &text) {
                             Text(p, QRectF(16, top, 76, L::kFieldHeight + 4), text, Font(11), Palette::Text,
                                  Qt::AlignVCenter | Qt::AlignLeft);
                         };
                         label(L::kSoundPicker.y(), QStringLiteral("Finish sound"));
                         label(L::kCutter.y() - 3, QStringLiteral("Music Cutter"));
                         label(L::kStartTop - 2, QStringLiteral("Start"));
                         label(L::kLengthTop - 2, QStringLiteral("Length"));
                         label(L::kFilesPicker.y(), QStringLiteral("Files at once"));
                         for (int top : {L::kStartTop, L::kLengthTop}) {
                             const char *units[] = {"h", "min", "s"};
                             for (int column = 0; column < 3; ++column) {
                                 const QRect field = L::Field(top, column);
                                 Text(p, QRectF(field.right() + 4, top, 30, L::kFieldHeight),
                                      QString::fromLatin1(units[column]), Font(11), Palette::Muted,
                                      Qt::AlignVCenter | Qt::AlignLeft);
                             }
                         }
                         FaceButton(p, L::kOK, QStringLiteral("OK"), true, lit.LookOf(Element::OK));
                         FaceButton(p, L::kBack, QStringLiteral("Back"), false, lit.LookOf(Element::Back));
                     });
}

QImage SuggestFace(const Lit &lit)
{
    namespace L = SkinLayout::Suggest;
    return SmallFace(L::kFaceSize, L::kWindowSize, L::kExit, L::kExitHoverSize, QStringLiteral("Feedback"),
                     lit, [&](QPainter &p) {
                         const std::pair<QRect, const char *> labels[] = {
                             {L::kName, "Your name"}, {L::kEMail, "E-mail"}, {L::kComment, "Comment"}};
                         for (const auto &[field, caption] : labels)
                             Text(p, QRectF(16, field.y(), field.x() - 22, field.height()),
                                  QString::fromLatin1(caption), Font(11), Palette::Text,
                                  Qt::AlignVCenter | Qt::AlignLeft);
                         // The status line's ground: a dark pill the white status text stands on.
                         p.setPen(Qt::NoPen);
                         p.setBrush(Palette::HeaderBottom);
                         p.drawPath(Rounded(QRectF(L::kSending).adjusted(-6, -2, 6, 2), 4));
                         FaceButton(p, L::kSend, QStringLiteral("Send"), true, lit.LookOf(Element::Send));
                         FaceButton(p, L::kBack, QStringLiteral("Back"), false, lit.LookOf(Element::Back));
                     });
}

void DoorButton(QPainter &p, Look look)
{
    const QRectF r = QRectF(kDoorButton).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, look == Look::Hover ? Palette::ButtonTopLit : Palette::ButtonTop);
    fill.setColorAt(1, look == Look::Hover ? Palette::ButtonBottomLit : Palette::AccentDark);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(Rounded(r, 7));
    Text(p, r, QStringLiteral("+   Add a file to start"), Font(13, true), Palette::OnAccent);
}

QImage Door(Look buttonLook)
{
    QImage door = Canvas(kDoor.size(), QImage::Format_RGB32);
    door.fill(Palette::Body);
    QPainter p(&door);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(2.5, 6.5, kDoor.width() - 5, kDoor.height() - 11);
    p.setPen(QPen(Palette::Line, 1));
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, Palette::Card);
    fill.setColorAt(1, Palette::PanelGlow);
    p.setBrush(fill);
    p.drawPath(Rounded(card, 10));

    // A waveform coming out of a film frame.
    const QPointF c(card.center().x(), 100);
    p.setPen(QPen(Palette::AccentDark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Rounded(QRectF(c.x() - 120, c.y() - 38, 76, 76), 10));
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(c.x() - 112, c.y() - 24 + i * 24), QPointF(c.x() - 104, c.y() - 24 + i * 24));
        p.drawLine(QPointF(c.x() - 60, c.y() - 24 + i * 24), QPointF(c.x() - 52, c.y() - 24 + i * 24));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::AccentDark);
    p.drawPolygon(QPolygonF({c + QPointF(-90, -12), c + QPointF(-72, 0), c + QPointF(-90, 12)}));
    p.setPen(QPen(Palette::Muted, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-30, 0), c + QPointF(-8, 0));
    p.drawLine(c + QPointF(-16, -7), c + QPointF(-8, 0));
    p.drawLine(c + QPointF(-16, 7), c + QPointF(-8, 0));
    static const qreal bars[] = {18, 38, 58, 30, 66, 44, 24, 52, 34, 14};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 10; ++i) {
        QLinearGradient g(0, c.y() - 33, 0, c.y() + 33);
        g.setColorAt(0, Palette::AccentLight);
        g.setColorAt(1, Palette::Accent);
        p.setBrush(g);
        p.drawPath(Rounded(QRectF(c.x() + 10 + i * 11, c.y() - bars[i] / 2, 6, bars[i]), 3));
    }

    Text(p, QRectF(0, 158, kDoor.width(), 32), QStringLiteral("Turn your videos into audio"), Font(22, true),
         Palette::Text);
    Text(p, QRectF(60, 196, kDoor.width() - 120, 44),
         QStringLiteral("Queue video and audio files, choose an output format and folder,\nthen press "
                        "Convert. Every file becomes one audio file."),
         Font(12), Palette::Muted);
    Text(p, QRectF(0, 250, kDoor.width(), 20),
         QStringLiteral("MP4 \u00b7 AVI \u00b7 MPG \u00b7 WMV \u00b7 FLV \u00b7 MOV \u00b7 VOB \u00b7 3GP "
                        "\u00b7 MKV \u00b7 WEBM "
                        "\u00b7 MP3 \u00b7 WAV \u00b7 WMA"),
         Font(10), Palette::Accent);
    DoorButton(p, buttonLook);
    return door;
}

QImage PickerButtonImage(bool light)
{
    QImage image = Canvas(kPickerButtonImageSize, QImage::Format_RGB32);
    image.fill(Palette::Card);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(light ? Palette::Accent : Palette::Track);
    p.drawPath(Rounded(QRectF(0, 0, 18, 18), 3));
    p.setPen(
        QPen(light ? Palette::OnAccent : Palette::Text, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(5, 7.5), QPointF(9, 11.5), QPointF(13, 7.5)}));
    return image;
}

// A pointing hand in black and white, its fingertip at the hot spot.
QImage HandCursor()
{
    QImage hand = Canvas(kHandCursorSize, QImage::Format_ARGB32);
    hand.fill(Qt::transparent);
    QPainter p(&hand);
    QPainterPath path;
    path.moveTo(4, 2.5);
    path.arcTo(QRectF(4, 0.5, 5, 4), 180, -180);
    path.lineTo(9, 11);
    path.arcTo(QRectF(9, 9, 4, 3), 180, -180);
    path.lineTo(13, 12);
    path.arcTo(QRectF(13, 10, 4, 3), 180, -180);
    path.lineTo(17, 13);
    path.arcTo(QRectF(17, 11, 4, 3), 180, -180);
    path.lineTo(21, 21);
    path.cubicTo(21, 25, 19, 27, 18, 28);
    path.lineTo(18, 30);
    path.lineTo(8, 30);
    path.lineTo(8, 28);
    path.cubicTo(6, 26, 1, 20, 0.5, 17);
    path.cubicTo(0.5, 15, 2.5, 14.5, 4, 16.5);
    path.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(path.translated(0.5, 0.5));
    p.setPen(QPen(Qt::black, 1));
    for (qreal x : {9.5, 13.5, 17.5})
        p.drawLine(QPointF(x, 12), QPointF(x, 17));
    p.end();
    // Monochrome: every pixel black, white or clear.
    for (int y = 0; y < hand.height(); ++y) {
        for (int x = 0; x < hand.width(); ++x) {
            const QRgb px = hand.pixel(x, y);
            if (qAlpha(px) < 128)
                hand.setPixel(x, y, qRgba(0, 0, 0, 0));
            else
                hand.setPixel(x, y, qGray(px) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return hand;
}

// The Stop button beside the progress bar: a square in a rounded button.
QImage StopButton(Look look)
{
    QImage image = Canvas(kStop.size(), QImage::Format_RGB32);
    image.fill(Palette::Body);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool lit = look == Look::Hover;
    p.setPen(QPen(lit ? Palette::DangerDark : Palette::Line, 1));
    p.setBrush(lit ? Palette::Danger : Palette::Card);
    p.drawPath(Rounded(QRectF(0.5, 0.5, kStop.width() - 1, kStop.height() - 1), 4));
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? Palette::OnAccent : Palette::DangerDark);
    p.drawPath(Rounded(QRectF(kStop.width() / 2.0 - 4, kStop.height() / 2.0 - 4, 8, 8), 1.5));
    return image;
}

// The overlay over the list while files are dragged onto it: a light tint, a dashed frame and a
// word of what a drop does. Translucent, so the queue stays in sight below it.
QImage DropOverlay()
{
    QImage image = Canvas(kList.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QColor tint = Palette::Accent;
    tint.setAlpha(40);
    p.setBrush(tint);
    QPen frame(Palette::Accent, 2, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(frame);
    p.drawPath(Rounded(QRectF(image.rect()).adjusted(4, 4, -4, -4), 8));
    Text(p, QRectF(image.rect()), QStringLiteral("Drop to add the files to the queue"), Font(14, true),
         Palette::AccentDark);
    return image;
}

// A short two-note chime with soft overtones, 16-bit mono PCM.
QByteArray Chime()
{
    constexpr int rate = 44100;
    constexpr double length = 1.1;
    const int frames = int(rate * length);
    QByteArray pcm(frames * 2, '\0');
    auto *samples = reinterpret_cast<qint16 *>(pcm.data());
    const struct
    {
        double start, frequency, gain;
    } notes[] = {{0.0, 1046.5, 0.45}, {0.14, 1567.98, 0.40}};
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        double v = 0;
        for (const auto &n : notes) {
            const double u = t - n.start;
            if (u < 0)
                continue;
            const double envelope = std::min(1.0, u / 0.004) * std::exp(-u * 4.2);
            v += n.gain * envelope *
                 (std::sin(2 * M_PI * n.frequency * u) + 0.25 * std::sin(4 * M_PI * n.frequency * u) +
                  0.08 * std::sin(6 * M_PI * n.frequency * u));
        }
        const double fadeOut = std::min(1.0, (length - t) / 0.05);
        samples[i] = qToLittleEndian(qint16(std::clamp(v * fadeOut, -1.0, 1.0) * 30000));
    }
    QByteArray wav;
    const auto put32 = [&](quint32 v) {
        v = qToLittleEndian(v);
        wav.append(reinterpret_cast<const char *>(&v), 4);
    };
    const auto put16 = [&](quint16 v) {
        v = qToLittleEndian(v);
        wav.append(reinterpret_cast<const char *>(&v), 2);
    };
    wav.append("RIFF");
    put32(quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    wav.append("data");
    put32(quint32(pcm.size()));
    wav.append(pcm);
    return wav;
}

bool Save(const QImage &image, const QString &folder, const PictureName &picture, QStringList &written)
{
    QString name = picture.Text() + QStringLiteral(".png");
    if (g_ratio != 1)
        name.insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(g_ratio));
    written << name;
    QDir().mkpath(QFileInfo(folder + QLatin1Char('/') + name).absolutePath());
    return image.save(folder + QLatin1Char('/') + name, "PNG");
}

// Every picture of the skin, drawn for the current ratio.
bool DrawPictures(const QString &folder, QStringList &written)
{
    bool ok = Save(Face({}), folder, Pictures::face, written);
    const QImage door = Door(Look::Idle);
    ok &= Save(door, folder, Pictures::imgDoor, written);

    const auto crop = [](const QImage &image, const QPoint &at, const QSize &size) {
        return image.copy(QRect(at * g_ratio, size * g_ratio));
    };
    for (int index : kToolbarIndexes) {
        ok &= Save(crop(Face({Element::Toolbar, index}), SkinLayout::ToolbarButton(index).topLeft(),
                        kToolbarButtonSize),
                   folder, Pictures::imgButtonData(index), written);
    }
    for (int i = 0; i < 3; ++i) {
        ok &= Save(crop(Face({Element::Tab, i}), kMenuTabs[i].topLeft(), kMenuTabs[i].size()), folder,
                   Pictures::imgMenuData(i), written);
        ok &= Save(crop(Face({Element::Tab, i, Look::Disabled}), kMenuTabs[i].topLeft(), kMenuTabs[i].size()),
                   folder, Pictures::imgMenuDisabled(i), written);
    }
    // What is out of reach during a batch: whole hot areas, cut from the face drawn so.
    for (int index : kToolbarIndexes) {
        ok &= Save(crop(Face({Element::Toolbar, index, Look::Disabled}),
                        SkinLayout::ToolbarButton(index).topLeft(), kToolbarButtonSize),
                   folder, Pictures::imgButtonDisabled(index), written);
    }
    ok &= Save(crop(Face({Element::Convert, 0, Look::Disabled}), kConvert.topLeft(), kConvert.size()), folder,
               Pictures::imgConvertDisabled, written);
    ok &= Save(crop(Face({Element::Convert}), kConvert.topLeft(), kConvertHoverSize), folder,
               Pictures::imgConvertData, written);
    ok &= Save(crop(Face({Element::Browse}), kBrowse.topLeft(), kBrowse.size()), folder,
               Pictures::imgBrowseLight, written);
    ok &= Save(crop(Face({Element::Browse, 0, Look::Pressed}), kBrowse.topLeft(), kBrowse.size()), folder,
               Pictures::imgBrowseDark, written);
    ok &= Save(crop(Face({Element::Help}), kHelp.topLeft(), kHelpHoverSize), folder, Pictures::imgHelpLight,
               written);
    ok &= Save(crop(Face({Element::Min}), kMin.topLeft(), kMinHoverSize), folder, Pictures::imgMinLight,
               written);
    ok &= Save(crop(Face({Element::Exit}), kExit.topLeft(), kExitHoverSize), folder, Pictures::imgExitLight,
               written);
    ok &= Save(crop(Door(Look::Hover), kDoorButton.topLeft(), kDoorButton.size()), folder,
               Pictures::imgDoorButtonData, written);
    ok &= Save(PickerButtonImage(false), folder, Pictures::imgButton, written);
    ok &= Save(PickerButtonImage(true), folder, Pictures::imgButtonLight, written);
    ok &= Save(HandCursor(), folder, Pictures::hand, written);
    ok &= Save(DropOverlay(), folder, Pictures::picDrop, written);
    ok &= Save(StopButton(Look::Idle), folder, Pictures::imgStop, written);
    ok &= Save(StopButton(Look::Hover), folder, Pictures::imgStopLight, written);

    // The cutter options dialog: its face and the hover looks of its buttons.
    {
        namespace L = SkinLayout::Options;
        ok &= Save(OptionsFace({}), folder, Pictures::frmOptionsFace, written);
        ok &= Save(crop(OptionsFace({Element::OK}), L::kOK.topLeft(), L::kOK.size()), folder,
                   Pictures::frmOptionsOKLight, written);
        ok &= Save(crop(OptionsFace({Element::Back}), L::kBack.topLeft(), L::kBack.size()), folder,
                   Pictures::frmOptionsBackLight, written);
        ok &= Save(crop(OptionsFace({Element::Exit}), L::kExit.topLeft(), L::kExitHoverSize), folder,
                   Pictures::frmOptionsExitLight, written);
    }
    // The feedback form.
    {
        namespace L = SkinLayout::Suggest;
        ok &= Save(SuggestFace({}), folder, Pictures::frmSuggestFace, written);
        ok &= Save(crop(SuggestFace({Element::Send}), L::kSend.topLeft(), L::kSend.size()), folder,
                   Pictures::frmSuggestSendLight, written);
        ok &= Save(crop(SuggestFace({Element::Back}), L::kBack.topLeft(), L::kBack.size()), folder,
                   Pictures::frmSuggestBackLight, written);
        ok &= Save(crop(SuggestFace({Element::Exit}), L::kExit.topLeft(), L::kExitHoverSize), folder,
                   Pictures::frmSuggestExitLight, written);
    }

    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: skin_generator <picture folder> <sound file> <icon folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QStringList written;
    bool ok = true;
    // Each picture for screens at 100 %, and again with twice the pixels for 200 % (Qt takes
    // those for any ratio above 1): no picture is ever stretched.
    for (const qreal ratio : {1.0, 2.0}) {
        g_ratio = ratio;
        ok &= DrawPictures(folder, written);
    }
    g_ratio = 1;

    // The program's icon: in the pictures for the window, and as files for the desktop.
    const QString icons = QString::fromLocal8Bit(argv[3]);
    QDir().mkpath(icons);
    for (int size : Icon::kSizes) {
        const QImage icon = Icon::Picture(size);
        ok &= Save(icon, folder, Pictures::icon(size), written);
        ok &= icon.save(QStringLiteral("%1/brimwave_%2.png").arg(icons).arg(size), "PNG");
    }
    QFile ico(icons + QStringLiteral("/brimwave.ico"));
    ok &= ico.open(QIODevice::WriteOnly) && ico.write(Icon::Ico()) > 0;
    ico.close();
    QFile svg(icons + QStringLiteral("/brimwave.svg"));
    ok &= svg.open(QIODevice::WriteOnly) && svg.write(Icon::Svg()) > 0;
    svg.close();

    QFile qrc(folder + QStringLiteral("/skin.qrc"));
    ok &= qrc.open(QIODevice::WriteOnly);
    qrc.write("<RCC>\n  <qresource prefix=\"/skin\">\n");
    for (const QString &name : written)
        qrc.write(QStringLiteral("    <file>%1</file>\n").arg(name).toUtf8());
    qrc.write("  </qresource>\n</RCC>\n");
    qrc.close();

    QFile sound(QString::fromLocal8Bit(argv[2]));
    ok &= sound.open(QIODevice::WriteOnly) && sound.write(Chime()) > 0;
    if (!ok) {
        std::fprintf(stderr, "skin_generator: could not write every file\n");
        return 1;
    }
    return 0;
}
