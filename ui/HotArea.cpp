#include "HotArea.h"

#include "Palette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

bool IsPressKey(const QKeyEvent *event)
{
    return event->modifiers() == Qt::NoModifier &&
           (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space);
}

void DrawFocusRing(QWidget *control, QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Palette::Accent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(control->rect()).adjusted(1, 1, -1, -1), 4, 4);
    painter.restore();
}

HotArea::HotArea(QWidget *parent, const QRect &place) : QWidget(parent)
{
    setGeometry(place);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    // The keyboard reaches it by Tab; a click does not leave a ring behind.
    setFocusPolicy(Qt::TabFocus);
}

void HotArea::Describe(const QString &name, const QString &description)
{
    setAccessibleName(name);
    setAccessibleDescription(description);
}

void HotArea::keyPressEvent(QKeyEvent *event)
{
    if (IsPressKey(event) && isEnabled())
        emit Clicked();
    else
        QWidget::keyPressEvent(event);
}

void HotArea::SetIdlePicture(const QPixmap &picture)
{
    m_idle = picture;
    update();
}

void HotArea::SetLook(Look look)
{
    if (m_look == look)
        return;
    m_look = look;
    update();
}

const QPixmap &HotArea::ShownPicture() const
{
    return !isEnabled() && !m_disabled.isNull()             ? m_disabled
           : m_look == Look::Hover && !m_hover.isNull()     ? m_hover
           : m_look == Look::Pressed && !m_pressed.isNull() ? m_pressed
                                                            : m_idle;
}

void HotArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &picture = ShownPicture();
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    if (hasFocus())
        DrawFocusRing(this, painter);
}

void HotArea::mouseMoveEvent(QMouseEvent *)
{
    // A move always shows the hover look: a pressed look lasts only until the pointer moves.
    emit PointerMoved();
    SetLook(Look::Hover);
}

void HotArea::mousePressEvent(QMouseEvent *)
{
    emit ButtonDown();
    if (m_pressLook == PressLook::Idle)
        SetLook(Look::Idle);
}

void HotArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}

void HotArea::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_look = Look::Idle;
        update();
    }
    QWidget::changeEvent(event);
}

HotText::HotText(QWidget *parent, const QRect &place, const QString &text) : QLabel(text, parent)
{
    setGeometry(place);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(text);
}

void HotText::keyPressEvent(QKeyEvent *event)
{
    if (IsPressKey(event) && isEnabled())
        emit Clicked();
    else
        QLabel::keyPressEvent(event);
}

void HotText::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        DrawFocusRing(this, painter);
    }
}

void HotText::SetBold(bool bold)
{
    QFont f = font();
    if (f.bold() == bold)
        return;
    f.setBold(bold);
    // Bold runs wider: draw it a little tighter so the text stays within its place.
    f.setLetterSpacing(QFont::AbsoluteSpacing, bold ? -0.3 : 0);
    setFont(f);
}

void HotText::mouseMoveEvent(QMouseEvent *)
{
    SetBold(true);
}

void HotText::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}
