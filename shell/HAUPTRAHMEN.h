#pragma once

// The main window as an output object: the frame whose ScaleWidth and
// ScaleHeight give the client area (the MDI area's viewport) that the header
// and footer of a page on the screen span. It draws nothing itself.

#include "platform/controls/OutputObject.h"

#include <QPointer>
#include <QWidget>

class HAUPTRAHMEN : public OutputObject {
public:
    explicit HAUPTRAHMEN(QWidget* flaeche);

    Kind ObjectKind() const override { return Kind::Form; }

    // Takes the client area's present size.
    void MESSEN();

protected:
    QPainter* ActivePainter() override { return nullptr; }

private:
    QPointer<QWidget> m_flaeche;
};
