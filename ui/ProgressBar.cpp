#include "ProgressBar.h"

#include "Palette.h"

#include <QAccessible>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal kRadius = 3;

} // namespace

ProgressFill::ProgressFill(QWidget *parent, const QRect &track) : QWidget(parent), m_trackWidth(track.width())
{
    setGeometry(track);
    setObjectName(QStringLiteral("imgPB"));
}

double ProgressFill::Share() const
{
    return m_trackWidth > 0 ? double(width()) / m_trackWidth : 0;
}

void ProgressFill::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QAccessibleValueChangeEvent change(this, qRound(Share() * 100));
    QAccessible::updateAccessibility(&change);
}

void ProgressFill::paintEvent(QPaintEvent *)
{
    if (width() <= 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The whole track's rounded shape, cut at the widget's own width: the fill ends square until
    // it reaches the track's rounded end.
    QPainterPath track;
    track.addRoundedRect(QRectF(0, 0, m_trackWidth, height()), kRadius, kRadius);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, Palette::AccentLight);
    fill.setColorAt(1, Palette::AccentDark);
    p.fillPath(track, fill);
}

ProgressText::ProgressText(QWidget *parent, const QRect &place, const QWidget *fill)
    : QLabel(parent), m_fill(fill)
{
    setGeometry(place);
    setObjectName(QStringLiteral("lblPB"));
    setAlignment(Qt::AlignCenter);
}

void ProgressText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QString shown = text();
    // Where the fill ends, in this label's own pixels.
    const int edge =
        m_fill->isVisible() ? mapFromGlobal(m_fill->mapToGlobal(QPoint(m_fill->width(), 0))).x() : 0;
    p.setFont(font());
    p.setClipRect(QRect(edge, 0, width() - edge, height()));
    p.setPen(Palette::AccentDeep);
    p.drawText(rect(), int(alignment()), shown);
    p.setClipRect(QRect(0, 0, edge, height()));
    p.setPen(Palette::OnAccent);
    p.drawText(rect(), int(alignment()), shown);
}
