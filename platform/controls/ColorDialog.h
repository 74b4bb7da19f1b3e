#pragma once

// The colour dialog of the common dialogs: it holds a colour (a Long, red in
// the lowest byte, as RGB gives it), shows it as the start of the user's
// choice, and takes the colour the user picks; cancelling keeps the colour it
// held. The real service shows a QColorDialog; tests install a scripted one.

#include <cstdint>
#include <optional>

class QWidget;

class ColorDialog {
public:
    int32_t Color() const { return m_color; }
    void SetColor(int32_t colour) { m_color = colour; }
    // Shows the dialog over `parent` and returns whether a colour was picked.
    bool ShowColor(QWidget* parent = nullptr);

private:
    int32_t m_color = 0;
};

// What shows the dialog: the colour picked, or nothing when cancelled.
class ColorDialogService {
public:
    virtual ~ColorDialogService() = default;
    virtual std::optional<int32_t> PickColor(int32_t start, QWidget* parent) = 0;
};

// Installs a service and returns the one it replaces; nullptr installs the
// real one again. The caller keeps ownership.
ColorDialogService* InstallColorDialogService(ColorDialogService* service);
