#pragma once

#include <QComboBox>

// The skin's drop-down picker. A class of its own so screen readers are told about it as the
// window wants: named by its caption, its choice its value (Qt names a combo box by its text).
class Picker : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
};
