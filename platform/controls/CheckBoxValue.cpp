#include "platform/controls/CheckBoxValue.h"

#include <QCheckBox>

int16_t CheckBoxValue(const QCheckBox& box)
{
    switch (box.checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

bool SetCheckBoxValue(QCheckBox& box, int16_t value)
{
    switch (value) {
    case 0:
        box.setCheckState(Qt::Unchecked);
        return true;
    case 1:
        box.setCheckState(Qt::Checked);
        return true;
    case 2:
        box.setTristate(true);
        box.setCheckState(Qt::PartiallyChecked);
        return true;
    default:
        return false;
    }
}
