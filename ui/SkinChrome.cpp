#include "SkinChrome.h"

#include "Skin.h"
#include "SkinLayout.h"
#include "platform/MessagePump.h"

#include <QBitmap>
#include <QDialog>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

SkinChrome::SkinChrome(QWidget *window, const QPixmap &face, QTimer &revealTimer)
    : QObject(window), m_window(window), m_face(face), m_revealTimer(revealTimer)
{
    m_window->setWindowFlag(Qt::FramelessWindowHint);
    m_window->setMouseTracking(true);
    m_window->installEventFilter(this);
    m_revealTimer.setSingleShot(true);
    m_revealTimer.setInterval(kRevealMilliSeconds);
}

void SkinChrome::Park()
{
    m_window->move(-m_window->width() - 7, -m_window->height() - 7);
}

void SkinChrome::Reveal()
{
    m_revealTimer.stop();
    // The outline is cut in the window's own pixels, whatever the face was drawn for.
    QImage face = m_face.toImage();
    face.setDevicePixelRatio(1);
    if (m_face.devicePixelRatio() != 1.0)
        face = face.scaled(m_face.deviceIndependentSize().toSize(), Qt::IgnoreAspectRatio,
                           Qt::FastTransformation);
    face = face.copy(QRect(QPoint(0, 0), m_window->size()));
    m_window->setMask(QBitmap::fromImage(face.createMaskFromColor(SkinLayout::kKeyColour, Qt::MaskInColor)));
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect whole = screen->geometry();
        m_window->move(whole.x() + (whole.width() - m_window->width()) / 2,
                       whole.y() + (whole.height() - m_window->height()) / 2);
    }
    platform::PumpMessages();
}

bool SkinChrome::IsBareSkin(const QPointF &position) const
{
    return m_window->childAt(position.toPoint()) == nullptr;
}

bool SkinChrome::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(m_window);
        painter.drawPixmap(0, 0, m_face);
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() != Qt::LeftButton || !IsBareSkin(press->position()))
            return false;
        QWindow *handle = m_window->windowHandle();
        if (!handle || !handle->startSystemMove())
            m_dragOffset = press->globalPosition().toPoint() - m_window->frameGeometry().topLeft();
        return false;
    }
    case QEvent::MouseMove: {
        auto *move = static_cast<QMouseEvent *>(event);
        if (m_dragOffset && (move->buttons() & Qt::LeftButton))
            m_window->move(move->globalPosition().toPoint() - *m_dragOffset);
        // A move over a control that lets it through (a label) is not a move over bare skin.
        if (IsBareSkin(move->position()))
            emit BareSkinMoved();
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_dragOffset.reset();
        return false;
    default:
        return false;
    }
}

SkinChrome *MakeSkinnedDialog(QDialog *dialog, const PictureName &faceName, const QSize &size,
                              QTimer &revealTimer)
{
    dialog->setModal(true);
    dialog->setFixedSize(size);
    dialog->setFont(Skin::WindowFont());
    auto *chrome = new SkinChrome(dialog, Skin::Picture(faceName), revealTimer);
    QObject::connect(&revealTimer, &QTimer::timeout, chrome, &SkinChrome::Reveal);
    return chrome;
}
