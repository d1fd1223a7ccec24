#include "Accessibility.h"

#include "HotArea.h"
#include "ProgressBar.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace {

const char *const kCoveredProperty = "brimwaveCovered";

// A window whose covered controls are not among its children for screen readers.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Client) {}

    int childCount() const override { return int(Shown().size()); }
    QAccessibleInterface *child(int index) const override
    {
        QWidget *control = Shown().value(index);
        return control ? QAccessible::queryAccessibleInterface(control) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(Shown().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> Shown() const
    {
        QList<QWidget *> shown;
        for (QObject *object : widget()->children()) {
            auto *control = qobject_cast<QWidget *>(object);
            if (control && !control->isWindow() && !control->property(kCoveredProperty).toBool())
                shown.append(control);
        }
        return shown;
    }
};

class ButtonAccessible : public QAccessibleWidget
{
public:
    ButtonAccessible(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QStringList actionNames() const override
    {
        return role() == QAccessible::Button ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            QMetaObject::invokeMethod(widget(), "Click");
    }
};

class ProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressAccessible(ProgressFill *bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *bar = static_cast<const ProgressFill *>(widget());
        if (t == QAccessible::Value && bar->Label())
            return bar->Label()->text();
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Progress");
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override
    {
        return qRound(static_cast<const ProgressFill *>(widget())->Share() * 100);
    }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

// A picker with a caption: named by the caption, its choice its value, opened by its action.
class PickerAccessible : public QAccessibleWidget
{
public:
    explicit PickerAccessible(QComboBox *picker) : QAccessibleWidget(picker, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Picker()->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &name) override
    {
        if ((name == showMenuAction() || name == pressAction()) && Picker()->isEnabled())
            Picker()->showPopup();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QComboBox *Picker() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *Describe(const QString &className, QObject *object)
{
    if (className == QLatin1String("Picker"))
        return new PickerAccessible(static_cast<QComboBox *>(object));
    if (className == QLatin1String("HotArea"))
        return new ButtonAccessible(static_cast<HotArea *>(object),
                                    static_cast<HotArea *>(object)->AccessibleRole());
    if (className == QLatin1String("HotText"))
        return new ButtonAccessible(static_cast<QWidget *>(object), QAccessible::Button);
    if (className == QLatin1String("ProgressFill"))
        return new ProgressAccessible(static_cast<ProgressFill *>(object));
    if (className == QLatin1String("frmMain"))
        return new WindowAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(Describe), true);
    Q_UNUSED(installed);
}

void SetCoveredForScreenReaders(QWidget *control, bool covered)
{
    if (control->property(kCoveredProperty).toBool() == covered)
        return;
    control->setProperty(kCoveredProperty, covered);
    QAccessibleEvent event(control, covered ? QAccessible::ObjectHide : QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}
