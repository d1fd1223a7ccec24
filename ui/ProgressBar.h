#pragma once

#include <QLabel>
#include <QWidget>

// The progress bar `imgPB`: its width is the share of the file converted so far, filled with the
// skin's gradient and rounded like the track it lies on.
class ProgressFill : public QWidget
{
    Q_OBJECT
public:
    ProgressFill(QWidget *parent, const QRect &track);
    // The share shown, 0 to 1, as the width tells it.
    double Share() const;
    // The label over the bar, whose text screen readers hear as the bar's value text.
    void SetLabel(QLabel *label) { m_label = label; }
    QLabel *Label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent *event) override;
    // A new width is a new value: screen readers hear it.
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_trackWidth;
    QLabel *m_label = nullptr;
};

// The percentage `lblPB` over the bar: dark over the empty track, white over the fill, split at
// the fill's edge, so it reads well over both.
class ProgressText : public QLabel
{
    Q_OBJECT
public:
    ProgressText(QWidget *parent, const QRect &place, const QWidget *fill);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QWidget *m_fill;
};
