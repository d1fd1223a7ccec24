#include "CutterIndicator.h"

CutterIndicator::CutterIndicator(QWidget *parent, const QRect &place) : HotText(parent, place, {})
{
    setObjectName(QStringLiteral("lblCut"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    hide();
}

QString CutterIndicator::LengthText(qint64 seconds)
{
    QStringList parts;
    if (seconds >= 3600)
        parts << QStringLiteral("%1 h").arg(seconds / 3600);
    if (seconds % 3600 >= 60)
        parts << QStringLiteral("%1 min").arg(seconds % 3600 / 60);
    if (seconds % 60 != 0 || parts.isEmpty())
        parts << QStringLiteral("%1 s").arg(seconds % 60);
    return parts.join(QLatin1Char(' '));
}

namespace {

// "0:01:30": where the cut starts, as the options dialog's fields read.
QString StartText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString CutterIndicator::Text(const CutterOptions &cutter)
{
    return QStringLiteral("Cut: ") + StartText(cutter.CutStartSeconds) + QStringLiteral(" + ") +
           LengthText(cutter.CutLengthSeconds);
}

void CutterIndicator::ShowCutter(const CutterOptions &cutter)
{
    setVisible(cutter.CutterEnabled != 0);
    if (cutter.CutterEnabled == 0)
        return;
    setText(Text(cutter));
    setToolTip(QStringLiteral("Every file is cut: %1 from %2 on. Click to change or switch off the cut.")
                   .arg(LengthText(cutter.CutLengthSeconds), StartText(cutter.CutStartSeconds)));
    setAccessibleName(text());
    setAccessibleDescription(toolTip());
}
