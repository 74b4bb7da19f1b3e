#include "support/ScriptedColors.h"

#include <gtest/gtest.h>

ScriptedColors::ScriptedColors() { m_previous = InstallColorDialogService(this); }

ScriptedColors::~ScriptedColors()
{
    InstallColorDialogService(m_previous);
    if (!m_queue.isEmpty())
        ADD_FAILURE() << m_queue.size() << " expected colour dialog(s) never shown";
}

std::optional<int32_t> ScriptedColors::PickColor(int32_t start, QWidget*)
{
    m_starts.append(start);
    if (m_queue.isEmpty()) {
        ADD_FAILURE() << "Unexpected colour dialog starting at " << start;
        return std::nullopt;
    }
    return m_queue.takeFirst();
}
