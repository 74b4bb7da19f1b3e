// Inserting and removing rows (the grid keeps at least one data row; a
// table without readings is one empty row in a disabled grid) and the tool
// tip of the column under the mouse.

#include "input/clsFLX.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/Variant.h"

using namespace flx;

void clsFLX::ZEILEEINFUEGEN() {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / Zeile einfügen"));
    const std::optional<bool> aktiv = eh.Value([&] { return raster().Enabled(); });
    if (aktiv) {
        if (!*aktiv) {
            // The empty row of a table without readings becomes the first.
            eh.Run([&] { raster().SetBackColor(MSFlexGrid::kFensterhintergrund); });
            eh.Run([&] { raster().SetEnabled(true); });
            eh.Run([&] { NUMMERIEREN(); });
        } else {
            eh.Run([&] { raster().AddItem(QString(), raster().Row()); });
            eh.Run([&] { NUMMERIEREN(); });
        }
    }
    if (eh.Left()) return;
    if (m_EFLXK && m_EFLXK->EFLX()) eh.Run([&] { m_EFLXK->ZEILEEINFUEGEN(); });
}

void clsFLX::ZEILEENTFERNEN() {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / Zeile eintfernen"));
    const std::optional<int> datenzeilen =
        eh.Value([&] { return raster().Rows() - raster().FixedRows(); });
    if (datenzeilen && *datenzeilen > 1) {
        eh.Run([&] { raster().RemoveItem(raster().Row()); });
        eh.Run([&] { NUMMERIEREN(); });
    } else if (datenzeilen && *datenzeilen == 1) {
        // The last data row stays, emptied, in a greyed and disabled grid.
        eh.Run([&] {
            MSFlexGrid& grid = raster();
            const int zeile = grid.FixedRows();
            for (int c = 0; c < grid.Cols(); ++c)
                grid.SetTextMatrix(zeile, c, QString());
        });
        eh.Run([&] { raster().SetBackColor(raster().BackColorFixed()); });
        eh.Run([&] { raster().SetEnabled(false); });
    }
    if (eh.Left()) return;
    if (m_EFLXK && m_EFLXK->EFLX()) eh.Run([&] { m_EFLXK->ZEILEENTFERNEN(); });
}

void clsFLX::TOOLTIP(float X, float Y) {
    (void)Y;
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / ToolTip"));
    // The columns in view from the grid's left edge: the fixed ones, then
    // the scrolled ones, so the column found is the one under the mouse.
    const std::optional<QString> text = eh.Value([&] {
        const MSFlexGrid& grid = raster();
        float summe = 0;
        for (int c = 0; c < grid.Cols(); ++c) {
            if (!grid.ColIsVisible(c)) continue;
            summe += float(grid.ColWidth(c));
            if (summe > X) return CStr(Eintrag(m_ELSTTT, c));
        }
        return QString();
    });
    if (!text) return;
    eh.Run([&] { raster().SetToolTipText(*text); });
    if (m_EPIC) eh.Run([&] { m_EPIC->SetToolTipText(*text); });
}
