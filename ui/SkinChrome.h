#pragma once

#include <QObject>
#include <QPixmap>

#include "ui/skin/PictureNames.h"
#include <QPoint>

#include <optional>

class QDialog;
class QTimer;
class QWidget;

// What every skinned window has: its face drawn from one skin picture, no frame, an outline cut
// from the face's key colour and a place in the middle of the screen (both set by the one tick
// of its reveal timer, so the window is never seen unshaped), and its bare skin (over no
// control) as a caption: a left-button drag there moves the window.
class SkinChrome : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRevealMilliSeconds = 50;

    // Draws `face` on `window` and reveals it on the first tick of `revealTimer`, which it arms.
    SkinChrome(QWidget *window, const QPixmap &face, QTimer &revealTimer);

    // Moves the window out of sight until the reveal.
    void Park();
    // The reveal timer's tick: the outline from the key colour, the centre of the primary screen.
    void Reveal();
    bool IsBareSkin(const QPointF &position) const;

signals:
    // The pointer moved over bare skin: hover looks go back to idle.
    void BareSkinMoved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QPixmap m_face;
    QTimer &m_revealTimer;
    // Where the pointer took hold of the window, when the window system cannot move it.
    std::optional<QPoint> m_dragOffset;
};

// Makes `dialog` a skinned modal window of `size` whose face is the skin picture `faceName`,
// revealed on the first tick of `revealTimer`; returns its chrome.
SkinChrome *MakeSkinnedDialog(QDialog *dialog, const PictureName &faceName, const QSize &size,
                              QTimer &revealTimer);
