#pragma once

#include <QAccessible>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

// A place on the skin that reacts to the pointer. Idle it shows its idle picture (usually none,
// so the skin below shows); hovered or pressed it shows the matching picture. Hover comes from
// pointer moves and ends only when the window resets it, as the skin's buttons have no leave.
// One that acts also takes the keyboard's focus (shown by a ring) and acts on Enter and Space.
class HotArea : public QWidget
{
    Q_OBJECT
public:
    enum class Look { Idle, Hover, Pressed };
    // What a button press does to the look.
    enum class PressLook { NoChange, Idle };

    HotArea(QWidget *parent, const QRect &place);

    void SetIdlePicture(const QPixmap &picture);
    void SetHoverPicture(const QPixmap &picture) { m_hover = picture; }
    void SetPressedPicture(const QPixmap &picture) { m_pressed = picture; }
    // What the area shows while it is out of reach (a batch runs).
    void SetDisabledPicture(const QPixmap &picture) { m_disabled = picture; }
    void SetPressLook(PressLook pressLook) { m_pressLook = pressLook; }

    Look CurrentLook() const { return m_look; }
    // The picture the area shows now: the disabled one while disabled, else its look's.
    const QPixmap &ShownPicture() const;
    void SetLook(Look look);
    void Idle() { SetLook(Look::Idle); }
    // Screen readers: a button unless said otherwise (the start panel is a pane).
    QAccessible::Role AccessibleRole() const { return m_role; }
    void SetAccessibleRole(QAccessible::Role role) { m_role = role; }
    // What a screen reader calls it, and what it does.
    void Describe(const QString &name, const QString &description);

public slots:
    // Acts as a click does.
    void Click() { emit Clicked(); }
    // The pressed picture, or no picture when the area has none.
    void SetPressedLook() { SetLook(Look::Pressed); }

signals:
    // Raised before the area lights itself, so a group can put its other members out first.
    void PointerMoved();
    void ButtonDown();
    void Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QPixmap m_idle;
    QPixmap m_hover;
    QPixmap m_pressed;
    QPixmap m_disabled;
    PressLook m_pressLook = PressLook::NoChange;
    Look m_look = Look::Idle;
    QAccessible::Role m_role = QAccessible::Button;
};

// A text on the skin that reacts to the pointer: bold while hovered.
class HotText : public QLabel
{
    Q_OBJECT
public:
    HotText(QWidget *parent, const QRect &place, const QString &text);
    void SetBold(bool bold);
    bool IsBold() const { return font().bold(); }

public slots:
    void Click() { emit Clicked(); }

signals:
    void Clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// The keys that press a focused button.
bool IsPressKey(const QKeyEvent *event);
// The ring around a focused control, in the skin's accent colour.
void DrawFocusRing(QWidget *control, QPainter &painter);
