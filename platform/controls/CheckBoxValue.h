#pragma once

// A check box's Value as the forms store it: 0 clear, 1 ticked, 2 grey.

#include <cstdint>

class QCheckBox;

int16_t CheckBoxValue(const QCheckBox& box);
// Sets the value (2 makes the box three-state); false for any other value,
// which a check box cannot take (the box stays as it was).
bool SetCheckBoxValue(QCheckBox& box, int16_t value);
