#pragma once

// The colour dialog of the tests: installed while it lives, it records the
// colour each dialog starts with and answers from a queue (a colour picked,
// or Cancel). A dialog the test did not expect fails the test and is
// cancelled; answers left unused when it goes fail the test as well.

#include "platform/controls/ColorDialog.h"

#include <QList>
#include <optional>

class ScriptedColors : public ColorDialogService {
public:
    ScriptedColors();
    ~ScriptedColors() override;
    ScriptedColors(const ScriptedColors&) = delete;
    ScriptedColors& operator=(const ScriptedColors&) = delete;

    void expectPick(int32_t colour) { m_queue.append(colour); }
    void expectCancel() { m_queue.append(std::nullopt); }

    // The colours the dialogs started with, in order.
    const QList<int32_t>& starts() const { return m_starts; }
    int pending() const { return int(m_queue.size()); }

    std::optional<int32_t> PickColor(int32_t start, QWidget* parent) override;

private:
    QList<std::optional<int32_t>> m_queue;
    QList<int32_t> m_starts;
    ColorDialogService* m_previous = nullptr;
};
