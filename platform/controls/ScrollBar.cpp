#include "platform/controls/ScrollBar.h"

#include "platform/controls/OutputObject.h"

#include <QWidget>
#include <cmath>

ScrollBar::ScrollBar(Qt::Orientation orientation, OutputObject* container, QWidget* parent)
    : m_orientation(orientation), m_container(container) {
    if (!parent) return;
    m_widget = new QScrollBar(orientation, parent);
    m_widget->hide();
    Apply();
    QObject::connect(m_widget, &QScrollBar::valueChanged, m_widget, [this](int value) {
        if (value == m_value) return;
        m_value = value;
        if (Change) Change();
    });
}

ScrollBar::~ScrollBar() {
    if (m_widget) QObject::disconnect(m_widget, nullptr, m_widget, nullptr);
}

int ScrollBar::Value() const {
    return m_value;
}

void ScrollBar::SetValue(int value) {
    value = std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
    if (value == m_value) return;
    m_value = value;
    Apply();
    if (Change) Change();
}

void ScrollBar::SetMin(int value) {
    m_min = value;
    m_value = std::clamp(m_value, std::min(m_min, m_max), std::max(m_min, m_max));
    Apply();
}

void ScrollBar::SetMax(int value) {
    m_max = value;
    m_value = std::clamp(m_value, std::min(m_min, m_max), std::max(m_min, m_max));
    Apply();
}

void ScrollBar::SetLargeChange(int value) {
    m_largeChange = std::max(1, value);
    Apply();
}

void ScrollBar::SetSmallChange(int value) {
    m_smallChange = std::max(1, value);
    Apply();
}

void ScrollBar::SetVisible(bool visible) {
    m_visible = visible;
    if (m_widget) m_widget->setVisible(visible);
}

void ScrollBar::SetLeft(float value) {
    m_left = value;
    Place();
}

void ScrollBar::SetTop(float value) {
    m_top = value;
    Place();
}

void ScrollBar::SetWidth(float value) {
    m_width = value;
    Place();
}

void ScrollBar::SetHeight(float value) {
    m_height = value;
    Place();
}

void ScrollBar::Apply() {
    if (!m_widget) return;
    const QSignalBlocker block(m_widget);
    m_widget->setRange(std::min(m_min, m_max), std::max(m_min, m_max));
    m_widget->setInvertedAppearance(m_min > m_max);
    m_widget->setPageStep(m_largeChange);
    m_widget->setSingleStep(m_smallChange);
    m_widget->setValue(m_value);
}

void ScrollBar::Place() {
    if (!m_widget || !m_container) return;
    const double x1 = m_container->PixelX(m_left), y1 = m_container->PixelY(m_top);
    const double x2 = m_container->PixelX(m_left + m_width),
                 y2 = m_container->PixelY(m_top + m_height);
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    m_widget->setGeometry(int(std::lround(std::min(x1, x2))), int(std::lround(std::min(y1, y2))),
                          std::max(1, int(std::lround(std::abs(x2 - x1)))),
                          std::max(1, int(std::lround(std::abs(y2 - y1)))));
}
