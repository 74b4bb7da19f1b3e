#include "platform/controls/PictureBox.h"

#include "platform/controls/ShiftState.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <cmath>

namespace {
constexpr double kTwipsPerMm = 56.7;
}

PictureBox::PictureBox(QWidget* parent, Kind kind) : QWidget(parent), m_kind(kind) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_vscroll = std::make_unique<ScrollBar>(Qt::Vertical, this, this);
    m_hscroll = std::make_unique<ScrollBar>(Qt::Horizontal, this, this);
    SetScaleMode(1);
    Remeasure();
}

PictureBox::~PictureBox() {
    if (m_painter.isActive()) m_painter.end();
}

int PictureBox::TwipsToPixels(float twips, double dpi) const {
    return std::max(1, int(std::lround(twips / kTwipsPerMm * dpi / 25.4)));
}

void PictureBox::SetLeft(float twips) {
    m_leftTwips = twips;
    move(int(std::lround(twips / kTwipsPerMm * logicalDpiX() / 25.4)), y());
}

void PictureBox::SetTop(float twips) {
    m_topTwips = twips;
    move(x(), int(std::lround(twips / kTwipsPerMm * logicalDpiY() / 25.4)));
}

void PictureBox::SetWidth(float twips) {
    m_widthTwips = twips;
    resize(TwipsToPixels(twips, logicalDpiX()), height());
    Remeasure();
}

void PictureBox::SetHeight(float twips) {
    m_heightTwips = twips;
    resize(width(), TwipsToPixels(twips, logicalDpiY()));
    Remeasure();
}

void PictureBox::Move(float left, float top, float width, float height) {
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

void PictureBox::Remeasure() {
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    const QSize size(std::max(1, width()), std::max(1, height()));
    // A size set in twips stays exact; a size that a layout gave the widget
    // is turned into twips.
    if (m_widthTwips <= 0 || TwipsToPixels(m_widthTwips, dpiX) != size.width())
        m_widthTwips = float(size.width() * 25.4 / dpiX * kTwipsPerMm);
    if (m_heightTwips <= 0 || TwipsToPixels(m_heightTwips, dpiY) != size.height())
        m_heightTwips = float(size.height() * 25.4 / dpiY * kTwipsPerMm);
    if (m_image.size() != size) {
        if (m_painter.isActive()) m_painter.end();
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(std::lround(dpiX / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(dpiY / 0.0254)));
        image.fill(ToQColor(BackColor()));
        if (!m_image.isNull()) {
            QPainter copy(&image);
            copy.drawImage(0, 0, m_image);
        }
        m_image = image;
    }
    SetDevice(size.width(), size.height(), dpiX, dpiY, m_widthTwips, m_heightTwips);
}

const QImage& PictureBox::Image() {
    if (m_painter.isActive()) m_painter.end();
    return m_image;
}

void PictureBox::Cls() {
    OutputObject::Cls();
}

QPainter* PictureBox::ActivePainter() {
    if (!m_painter.isActive() && !m_painter.begin(&m_image)) return nullptr;
    return &m_painter;
}

void PictureBox::Painted() {
    if (m_updatePending || !isVisible()) return;
    m_updatePending = true;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    m_updatePending = false;
    if (m_painter.isActive()) m_painter.end();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Remeasure();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    m_pressed = event->button();
    const int16_t button = ButtonCode(event->button());
    if (MouseDown && button != 0)
        MouseDown(button, ShiftState(event->modifiers()), float(UnitX(event->position().x())),
                  float(UnitY(event->position().y())));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click = event->button() == m_pressed && rect().contains(event->position().toPoint());
    m_pressed = Qt::NoButton;
    if (click && Click) Click();
}
