#pragma once

// The main window's status bar stbMAIN: fifteen panels side by side, counted
// from 1, each with a design width in twips, a text, a tool tip, a
// visibility and a bevel (1 inset, 2 raised). Panel 7 is the spacer that
// takes what room is left. A mouse press reports its X position (in pixels
// of the status bar); releasing the button over a visible panel reports a
// click on that panel. The panels lie side by side at their widths; those
// that do not fit are cut at the right edge, so the status bar never makes
// the window wider, and hidden panels take no room. A text of the spacer
// that does not fit beside the other panels (a long notice while the input
// window's panels are shown) takes a row of its own above them, wrapped
// between words, so that it stays readable.

#include <QLabel>
#include <QStatusBar>
#include <vector>

class PANEL : public QLabel {
    Q_OBJECT
public:
    enum { sbrInset = 1, sbrRaised = 2 };

    PANEL(int index, int breiteTwips, QWidget* parent);

    int Index() const { return m_index; }
    QString Text() const { return m_text; }
    // Shown with its words whole: a wrapped line never breaks inside an
    // identifier.
    void SetText(const QString& text);
    QString ToolTipText() const { return toolTip(); }
    void SetToolTipText(const QString& text) { setToolTip(text); }
    // Visible as the panel's own switch, whether or not the window shows.
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool sichtbar) { setVisible(sichtbar); }
    int Bevel() const { return m_bevel; }
    void SetBevel(int bevel);
    int WidthTwips() const { return m_breite; }

protected:
    // Presses and clicks go on to the status bar; the panel keeps its tool
    // tip.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_text;
    int m_index;
    int m_breite;
    int m_bevel = sbrRaised;
};

// The row that carries the panels: it asks for no width of its own.
class PANELREIHE : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void Hinzufuegen(PANEL* panel, bool fuellt);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Anordnen();
    int Hoehe() const;
    // The height of the spacer's own row above the others (with the gap
    // below it), 0 while its text fits in its place.
    int EigeneZeile() const;
    std::vector<PANEL*> m_panels;
    PANEL* m_fuellt = nullptr;
    int m_eigeneZeile = 0;
};

class STATUSLEISTE : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int ANZAHL = 15;

    explicit STATUSLEISTE(QWidget* parent = nullptr);

    // The panel with that index (1 to 15); nullptr for any other index.
    PANEL* Panels(int index) const;
    // The visible panel under a point of the status bar (0 when none). A
    // notice that stands on a row of its own above the others lies over
    // none of them: only the point itself tells which panel it is on.
    int PanelBei(const QPoint& punkt) const;
    // Left edge and width of a panel in the status bar's pixels.
    int PanelLinks(int index) const;

signals:
    void MAUSGEDRUECKT(const QPoint& punkt);
    void PANELGEKLICKT(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<PANEL*> m_panels;
    bool m_gedrueckt = false;
};
