// Cell editing: the overlay editors laid over a cell and committed into it,
// Enter on the last cell, copy and paste of the selected block, and the fill
// of a block by dragging from the right edge of the current cell.

#include "input/clsFLX.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/Zeichensatz.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

using namespace flx;

namespace {

// The character of a typed key's code (code page 1252 below 256).
QString Zeichen(int code) {
    return code >= 0 && code <= 255 ? QString(Cp1252Char(code)) : QString(QChar(code));
}

// Other programs separate the rows of a copied block by CR LF or LF and
// often end it with a line break; the grid's block rule knows CR only.
QString Blocktext(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    return text;
}

} // namespace

void clsFLX::editorLegen(QWidget& editor, bool hoeheDerZelle) {
    MSFlexGrid& grid = raster();
    // The cell in the grid's container, in the editor's container.
    QPoint ort(grid.TwipsToPixelsX(grid.Left() + grid.CellLeft()),
               grid.TwipsToPixelsY(grid.Top() + grid.CellTop()));
    QWidget* rasterBehaelter = grid.parentWidget();
    QWidget* editorBehaelter = editor.parentWidget();
    if (rasterBehaelter && editorBehaelter && rasterBehaelter != editorBehaelter)
        ort = editorBehaelter->mapFromGlobal(rasterBehaelter->mapToGlobal(ort));
    const int breite = grid.TwipsToPixelsX(grid.CellWidth());
    const int hoehe = hoeheDerZelle ? grid.TwipsToPixelsY(grid.CellHeight()) : editor.height();
    editor.setGeometry(ort.x(), ort.y(), breite, hoehe);
}

void clsFLX::BEARBEITEN(int BOB, float X) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / Bearbeiten"));
    if (BOB == 13) {
        // Enter appends a row only on the last cell of the grid.
        const std::optional<bool> letzte = eh.Value([&] {
            const MSFlexGrid& grid = raster();
            return grid.Col() == grid.Cols() - 1 && grid.Row() == grid.Rows() - 1;
        });
        if (!letzte || !*letzte || !m_EBOH) return;
        eh.Run([&] { raster().SetRows(raster().Rows() + 1); });
        eh.Run([&] { raster().SetRow(raster().Rows() - 1); });
        eh.Run([&] { raster().SetCol(raster().FixedCols()); });
        eh.Run([&] { raster().SetLeftCol(raster().FixedCols()); });
        if (m_EFLXK && m_EFLXK->EFLX()) {
            eh.Run([&] {
                MSFlexGrid& gekoppelt = *m_EFLXK->EFLX();
                gekoppelt.SetRows(gekoppelt.Rows() + 1);
                gekoppelt.SetRow(gekoppelt.Rows() - 1);
                gekoppelt.SetCol(gekoppelt.FixedCols());
            });
            eh.Run([&] { m_EFLXK->NUMMERIEREN(); });
        }
        eh.Run([&] { NUMMERIEREN(); });
        return;
    }
    if (BOB == -1) {
        eh.Run([&] {
            const QString block = raster().Clip();
            QClipboard* ablage = QGuiApplication::clipboard();
            ablage->clear();
            ablage->setText(block);
        });
        return;
    }
    if (BOB == -2) {
        // The right-hand 15 % of the current cell arms the fill of a block.
        eh.Run([&] {
            MSFlexGrid& grid = raster();
            const float links = float(grid.CellLeft());
            const float breite = float(grid.CellWidth());
            const bool scharf = links + 0.85f * breite < X && X < links + breite;
            grid.SetMousePointer(scharf ? 2 : 0);
        });
        return;
    }
    // Space, Backspace, Esc and the other control characters open nothing.
    if (BOB != 0 && BOB <= 32) return;

    if (m_ETXT && m_ETXT->isHidden()) {
        const std::optional<bool> textspalte =
            eh.Value([&] { return CInt(Eintrag(m_ELSTYP, raster().Col())) < 7; });
        if (eh.Left()) return;
        if (textspalte && *textspalte) {
            QLineEdit& editor = *m_ETXT;
            eh.Run([&] { editorLegen(editor, true); });
            eh.Run([&] {
                editor.show();
                editor.raise();
                editor.setFocus();
            });
            eh.Run([&] {
                double zahl = 0;
                const bool rechts = ParseNumberText(raster().Text(), zahl);
                editor.setAlignment((rechts ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            });
            eh.Run([&] {
                if (BOB == 0) {
                    editor.setText(raster().Text());
                    editor.selectAll();
                } else {
                    // The typed character replaces the cell's text.
                    editor.setText(Zeichen(BOB));
                    editor.end(false);
                }
            });
            eh.Run([&] {
                m_EZNR = raster().Row();
                m_ESNR = int16_t(raster().Col());
            });
            if (eh.Left()) return;
        }
    }
    if (m_ECBO && m_ECBO->isHidden()) {
        const std::optional<bool> auswahlspalte =
            eh.Value([&] { return CInt(Eintrag(m_ELSTYP, raster().Col())) == 7; });
        if (eh.Left() || !auswahlspalte || !*auswahlspalte) return;
        QComboBox& editor = *m_ECBO;
        eh.Run([&] {
            editor.clear();
            const QVariant liste = Eintrag(m_ELCBO, raster().Col());
            for (int i = 0, n = Anzahl(liste); i < n; ++i)
                editor.addItem(CStr(Eintrag(liste, i)));
        });
        eh.Run([&] { editorLegen(editor, false); });
        eh.Run([&] {
            editor.show();
            editor.raise();
            editor.setFocus();
        });
        eh.Run([&] {
            if (BOB == 0) {
                editor.setEditText(raster().Text());
                if (editor.lineEdit()) editor.lineEdit()->selectAll();
            } else {
                // The typed character goes after the cell's text.
                editor.setEditText(raster().Text() + Zeichen(BOB));
                if (editor.lineEdit()) editor.lineEdit()->end(false);
            }
        });
        eh.Run([&] {
            m_EZNR = raster().Row();
            m_ESNR = int16_t(raster().Col());
        });
    }
}

bool clsFLX::uebernehmen(bool kombination, ErrorHandler& eh) {
    QLineEdit* text = m_ETXT;
    QComboBox* auswahl = m_ECBO;
    QWidget* editor = kombination ? static_cast<QWidget*>(auswahl) : static_cast<QWidget*>(text);
    if (!editor || editor->isHidden()) return true;
    const std::optional<bool> zustaendig = eh.Value([&] {
        const int16_t typ = CInt(Eintrag(m_ELSTYP, m_ESNR));
        return kombination ? typ == 7 : typ < 7;
    });
    if (eh.Left()) return false;
    if (!zustaendig || !*zustaendig) return true;

    const auto editortext = [&] { return kombination ? auswahl->currentText() : text->text(); };
    const auto setzen = [&](const QString& neu) {
        if (kombination)
            auswahl->setEditText(neu);
        else
            text->setText(neu);
    };
    if (!editortext().isEmpty()) {
        // A refused value (or a check that failed) leaves the editor open
        // with its text, and nothing is written.
        const std::optional<bool> gueltig =
            eh.Value([&] { return pruefen(editortext(), kombination); });
        if (!gueltig || !*gueltig) return false;
    }
    eh.Run([&] {
        const QString wert = editortext();
        if (!wert.isEmpty()) setzen(Formatiert(wert, Eintrag(m_ELFORMAT, m_ESNR)));
    });
    if (eh.Left()) return false;
    // Into the cell the editor was opened on, wherever the current cell is.
    eh.Run([&] { raster().SetTextMatrix(m_EZNR, m_ESNR, editortext()); });
    if (eh.Left()) return false;
    eh.Run([&] {
        setzen(QString());
        editor->hide();
        raster().setFocus();
    });
    return !eh.Left();
}

void clsFLX::EINFUEGEN(int BOE) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / Einfügen"));
    if (BOE == 0 || BOE == 13) {
        // A value refused (or a failure) leaves its editor open, after a
        // box: the user's correction goes into it, wherever the click or
        // key that committed had put the focus.
        const auto offenLassen = [](QWidget* editor) {
            if (!editor || !editor->isVisible()) return;
            editor->activateWindow();
            editor->setFocus(Qt::OtherFocusReason);
        };
        if (!uebernehmen(false, eh)) {
            offenLassen(m_ETXT);
            return;
        }
        if (!uebernehmen(true, eh)) offenLassen(m_ECBO);
        return;
    }
    if (BOE == -1) {
        eh.Run([&] {
            const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
            if (!daten || !daten->hasText()) return;
            raster().SetClip(Blocktext(daten->text()));
        });
        return;
    }
    if (BOE == -2) {
        eh.Run([&] {
            MSFlexGrid& grid = raster();
            if (grid.MousePointer() != 2) return;
            // Downwards and to the right only: a block dragged the other way
            // fills nothing, but the mark is cleared all the same.
            const QString text = grid.Text();
            for (int r = grid.Row(); r <= grid.RowSel(); ++r)
                for (int c = grid.Col(); c <= grid.ColSel(); ++c)
                    grid.SetTextMatrix(r, c, text);
            grid.SetMousePointer(0);
        });
    }
}
