#include "Accessibility.h"

#include "HotArea.h"
#include "ProgressBar.h"

#include <QAccessibleWidget>

namespace {

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

QAccessibleInterface *Describe(const QString &className, QObject *object)
{
    if (className == QLatin1String("HotArea"))
        return new ButtonAccessible(static_cast<HotArea *>(object),
                                    static_cast<HotArea *>(object)->AccessibleRole());
    if (className == QLatin1String("HotText"))
        return new ButtonAccessible(static_cast<QWidget *>(object), QAccessible::Button);
    if (className == QLatin1String("ProgressFill"))
        return new ProgressAccessible(static_cast<ProgressFill *>(object));
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(Describe), true);
    Q_UNUSED(installed);
}
