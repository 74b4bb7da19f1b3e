#pragma once

// A horizontal or vertical scroll bar of a drawing surface, with the members
// the drawing classes set: Value, Min, Max, LargeChange, SmallChange, Visible
// and its place (Left, Top, Width, Height) in the scale units of its
// container. On a picture box it is a real scroll bar on top of the picture;
// elsewhere (a recording surface) it only keeps its values.

#include <QPointer>
#include <QScrollBar>
#include <functional>

class OutputObject;
class QWidget;

class ScrollBar {
public:
    // container: the surface whose scale places the bar; parent: the widget
    // that shows it (nullptr: none).
    ScrollBar(Qt::Orientation orientation, OutputObject* container, QWidget* parent);
    ~ScrollBar();
    ScrollBar(const ScrollBar&) = delete;
    ScrollBar& operator=(const ScrollBar&) = delete;

    Qt::Orientation Orientation() const { return m_orientation; }

    int Value() const;
    void SetValue(int value);
    int Min() const { return m_min; }
    void SetMin(int value);
    int Max() const { return m_max; }
    void SetMax(int value);
    int LargeChange() const { return m_largeChange; }
    void SetLargeChange(int value);
    int SmallChange() const { return m_smallChange; }
    void SetSmallChange(int value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void SetLeft(float value);
    void SetTop(float value);
    void SetWidth(float value);
    void SetHeight(float value);

    // Called whenever the value changes (by the user or by SetValue).
    std::function<void()> Change;

    QScrollBar* Widget() const { return m_widget; }

private:
    void Place();
    void Apply();

    Qt::Orientation m_orientation;
    OutputObject* m_container;
    QPointer<QScrollBar> m_widget;
    int m_value = 0;
    int m_min = 0;
    int m_max = 32767;
    int m_largeChange = 1;
    int m_smallChange = 1;
    bool m_visible = false;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};
