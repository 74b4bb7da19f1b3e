#include "platform/controls/ColorDialog.h"

#include "platform/controls/OutputObject.h"

#include <QColorDialog>

namespace {

class RealColorDialogs : public ColorDialogService {
public:
    std::optional<int32_t> PickColor(int32_t start, QWidget* parent) override
    {
        const QColor colour = QColorDialog::getColor(ToQColor(start), parent);
        if (!colour.isValid()) return std::nullopt;
        return RGB(colour.red(), colour.green(), colour.blue());
    }
};

RealColorDialogs& Real()
{
    static RealColorDialogs real;
    return real;
}

ColorDialogService*& Installed()
{
    static ColorDialogService* service = nullptr;
    return service;
}

} // namespace

ColorDialogService* InstallColorDialogService(ColorDialogService* service)
{
    ColorDialogService* previous = Installed();
    Installed() = service;
    return previous;
}

bool ColorDialog::ShowColor(QWidget* parent)
{
    ColorDialogService& service = Installed() ? *Installed() : Real();
    const std::optional<int32_t> picked = service.PickColor(m_color, parent);
    if (!picked) return false;
    m_color = *picked;
    return true;
}
