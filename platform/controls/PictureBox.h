#pragma once

// The picture box of a page: a widget that keeps everything drawn on it in an
// image of its own and repaints from that image, so a page that draws once
// keeps its figures across repaints. It is the screen target of the drawing
// surface (OutputObject) and the heading picture of the grid editor. Its
// place and size are set in twips (56.7 to the millimetre); its scroll bars
// lie on top of the picture, placed in its own scale units.
//
// A page window that draws its header and footer on itself uses a picture
// box of the kind Form that fills the window.

#include "platform/controls/OutputObject.h"
#include "platform/controls/ScrollBar.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <memory>

class PictureBox : public QWidget, public OutputObject {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr, Kind kind = Kind::PictureBox);
    ~PictureBox() override;

    Kind ObjectKind() const override { return m_kind; }

    // Place in the container and size, in twips.
    float Left() const { return m_leftTwips; }
    float Top() const { return m_topTwips; }
    void SetLeft(float twips);
    void SetTop(float twips);
    void SetWidth(float twips);
    void SetHeight(float twips);
    void Move(float left, float top, float width, float height);

    ScrollBar& VScroll() { return *m_vscroll; }
    ScrollBar& HScroll() { return *m_hscroll; }

    QString ToolTipText() const { return toolTip(); }
    void SetToolTipText(const QString& text) { setToolTip(text); }

    // What has been drawn so far.
    const QImage& Image();

    void Cls() override;

    // Mouse events, positions in the box's scale units. Button: 1 left,
    // 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt held. A press on the
    // box is the box's own: it does not reach the window behind it. Click
    // follows the release of the button pressed, over the box.
    std::function<void(int16_t Button, int16_t Shift, float X, float Y)> MouseDown;
    std::function<void()> Click;

protected:
    QPainter* ActivePainter() override;
    void Painted() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Remeasure();
    int TwipsToPixels(float twips, double dpi) const;

    Kind m_kind;
    QImage m_image;
    QPainter m_painter;
    bool m_updatePending = false;
    Qt::MouseButton m_pressed = Qt::NoButton;
    float m_leftTwips = 0;
    float m_topTwips = 0;
    float m_widthTwips = 0;
    float m_heightTwips = 0;
    std::unique_ptr<ScrollBar> m_vscroll;
    std::unique_ptr<ScrollBar> m_hscroll;
};
