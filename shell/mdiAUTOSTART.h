#pragma once

// The start screen: a child window of the main window that stands behind
// all others, with the publisher's address band and logo, the product's
// title, the version line, a picture and the program's only progress bar
// pgbBERECHNEN, which the evaluation and the output pages step while they
// work.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QRectF>
#include <QWidget>
#include <array>

// What the layout starts from, in twips: the size of the main window's
// client area and the sizes of the controls after their texts are set.
struct AUTOSTARTMASSE {
    double W = 0, H = 0;
    double fraKOPFHoehe = 0;
    double imgRUMEBreite = 0;
    double lblTITELBreite = 0, lblTITELHoehe = 0;
    double lblUNTERTITELBreite = 0, lblUNTERTITELHoehe = 0;
    double imgDIABreite = 0, imgDIAHoehe = 0;
    double TEXTHOEHE = 0; // height of a text line in the start screen's own font
    double pgbHoehe = 0;
    double lblVERSIONBreite = 0, lblVERSIONHoehe = 0;
};

// Where the controls go, in twips.
struct AUTOSTARTLAGE {
    QRectF fraKOPF, imgRUME, lblTITEL, lblUNTERTITEL, imgDIA, lblVERSION, pgbBERECHNEN;
};

class mdiAUTOSTART : public QWidget {
    Q_OBJECT
public:
    explicit mdiAUTOSTART(QWidget* parent = nullptr);

    // The load handler: texts by the main window's language, then the
    // layout. It has no error handler of its own: a failure reaches the
    // caller.
    void Form_Load();

    // Lays the controls out for a client area of that size in pixels.
    void ANORDNEN(const QSize& flaeche);
    static AUTOSTARTLAGE ANORDNUNG(const AUTOSTARTMASSE& masse);

    // Design height of the address band and of the progress bar, in twips.
    static constexpr double kKopfHoehe = 1335;
    static constexpr double kKopfOben = 120;
    static constexpr double kBalkenHoehe = 255;

    QFrame* fraKOPF;
    QLabel* imgRUME;
    std::array<QLabel*, 4> lblKOPF;
    QLabel* lblTITEL;
    QLabel* lblUNTERTITEL;
    QLabel* imgDIA;
    QLabel* lblVERSION;
    QProgressBar* pgbBERECHNEN;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_geladen = false;
};
