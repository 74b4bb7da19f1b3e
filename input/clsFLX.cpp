// The grid editor's data: binding the controls, the column lists and what
// writing them does to the grid, and the numbering of the index columns.

#include "input/clsFLX.h"
#include "platform/runtime/System.h"

#include "input/clsFLX_Intern.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/Variant.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QStringList>
#include <limits>

// Shared helpers ----------------------------------------------------------------------

namespace flx {

RuntimeError NichtGesetzt() {
    const bool deutsch = GermanTexts();
    return RuntimeError(91, deutsch ? QStringLiteral("Objektvariable oder With-Blockvariable "
                                                     "nicht festgelegt")
                                    : QStringLiteral("Object variable or With block variable "
                                                     "not set"));
}

bool IstListe(const QVariant& wert) {
    return wert.typeId() == QMetaType::QVariantList || wert.typeId() == QMetaType::QStringList;
}

bool IstInteger(const QVariant& wert) {
    return wert.typeId() == QMetaType::Short;
}

int Anzahl(const QVariant& liste) {
    if (liste.typeId() == QMetaType::QVariantList)
        return int(static_cast<const QVariantList*>(liste.constData())->size());
    if (liste.typeId() == QMetaType::QStringList)
        return int(static_cast<const QStringList*>(liste.constData())->size());
    throw RuntimeError::TypeMismatch();
}

QVariant Eintrag(const QVariant& liste, int i) {
    if (liste.typeId() == QMetaType::QVariantList) {
        const auto& eintraege = *static_cast<const QVariantList*>(liste.constData());
        if (i < 0 || i >= eintraege.size()) throw RuntimeError::SubscriptOutOfRange();
        return eintraege.at(i);
    }
    if (liste.typeId() == QMetaType::QStringList) {
        const auto& eintraege = *static_cast<const QStringList*>(liste.constData());
        if (i < 0 || i >= eintraege.size()) throw RuntimeError::SubscriptOutOfRange();
        return eintraege.at(i);
    }
    throw RuntimeError::TypeMismatch();
}

QString Formatiert(const QString& text, const QVariant& format) {
    if (clsFLX::ISTFEHLER(format) || IsEmpty(format) || IsNull(format)) return text;
    const QString muster = CStr(format);
    if (muster.isEmpty()) return text;
    return Format(QVariant(text), muster);
}

} // namespace flx

using namespace flx;

namespace {

QVariantList Liste(int anzahl, const QVariant& wert) {
    QVariantList liste;
    liste.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i)
        liste.append(wert);
    return liste;
}

QVariantList Nummeriert(int anzahl, const QString& vorsatz) {
    QVariantList liste;
    liste.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i)
        liste.append(vorsatz + QString::number(i + 1));
    return liste;
}

} // namespace

// Life -----------------------------------------------------------------------------------

clsFLX::clsFLX() = default;

clsFLX::~clsFLX() {
    // The controls belong to the owner; only the references go.
    m_EFLX = nullptr;
    m_EFLXK.reset();
    m_ETXT = nullptr;
    m_ECBO = nullptr;
}

QVariant clsFLX::FEHLERWERT(int nummer) {
    return QVariant::fromValue(FLXFEHLERWERT{nummer});
}

bool clsFLX::ISTFEHLER(const QVariant& wert) {
    return wert.metaType() == QMetaType::fromType<FLXFEHLERWERT>();
}

QVariant clsFLX::normalisiert(const QVariant& wert) {
    // A list of texts is kept as the general list, so that every list reads
    // back with the same kind.
    if (wert.typeId() == QMetaType::QStringList) {
        QVariantList liste;
        for (const QString& text : wert.toStringList())
            liste.append(text);
        return liste;
    }
    return wert;
}

MSFlexGrid& clsFLX::raster() const {
    if (!m_EFLX) throw NichtGesetzt();
    return *m_EFLX;
}

// Bindings -------------------------------------------------------------------------------

MSFlexGrid* clsFLX::EFLX() const {
    return m_EFLX.data();
}

QLineEdit* clsFLX::ETXT() const {
    return m_ETXT.data();
}

QComboBox* clsFLX::ECBO() const {
    return m_ECBO.data();
}

PictureBox* clsFLX::EPIC() const {
    return m_EPIC.data();
}

void clsFLX::EFLX(MSFlexGrid* grid) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / FLX"));
    m_EFLX = grid;
    if (!grid) return;
    const std::optional<QVariantList> breiten =
        eh.Value([&] { return Liste(grid->Cols(), QVariant(15)); });
    eh.Run([&] { grid->SetRows(grid->FixedRows() + 1); });
    if (breiten) eh.Run([&] { ELSB(*breiten); });
    eh.Run([&] { m_EDET = -1; });
}

std::shared_ptr<clsFLX> clsFLX::EFLXK() {
    if (!m_EFLXK) m_EFLXK = std::make_shared<clsFLX>();
    return m_EFLXK;
}

void clsFLX::EFLXK(std::shared_ptr<clsFLX> editor) {
    m_EFLXK = std::move(editor);
}

void clsFLX::ETXT(QLineEdit* editor) {
    m_ETXT = editor;
    if (!editor) return;
    editor->setFrame(true);
    editor->clear();
    editor->hide();
}

void clsFLX::ECBO(QComboBox* editor) {
    m_ECBO = editor;
    if (!editor) return;
    editor->setEditable(true);
    editor->clearEditText();
    editor->hide();
}

void clsFLX::EPIC(PictureBox* picture) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / PIC"));
    m_EPIC = picture;
    if (!picture) return;
    eh.Run([&] { picture->SetScaleMode(1); });
    // Half a millimetre inside the grid's corner, over the heading row.
    eh.Run([&] { picture->SetLeft(float(raster().Left() + 28.35)); });
    eh.Run([&] { picture->SetTop(float(raster().Top() + 28.35)); });
    eh.Run([&] { picture->raise(); });
}

// Column lists ---------------------------------------------------------------------------

void clsFLX::ELSB(const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / LSB"));
    m_ELSB = normalisiert(wert);
    const std::optional<int> spalten = eh.Value([&] {
        const int anzahl = Anzahl(m_ELSB);
        raster().SetCols(anzahl);
        return anzahl;
    });
    if (!spalten) {
        if (eh.Left()) return;
    } else {
        for (int i = 0; i < *spalten && !eh.Left(); ++i)
            eh.Run([&] {
                MSFlexGrid& grid = raster();
                grid.SetColWidth(i, CLng(CDbl(Eintrag(m_ELSB, i)) * kTwipsJeMm));
                grid.SetFixedAlignment(i, MSFlexGrid::flexAlignCenterCenter);
            });
        if (eh.Left()) return;
        m_ELST1 = Nummeriert(*spalten, QStringLiteral("I"));
        m_ELSTTT = Nummeriert(*spalten, QStringLiteral("SpaltenNr."));
        m_ELSTYP = Liste(*spalten, QVariant::fromValue<int16_t>(0));
        m_ELFORMAT = Liste(*spalten, QVariant());
        m_ELA = Liste(*spalten, QVariant::fromValue<int16_t>(2));
        m_ELMIN = Liste(*spalten, QVariant());
        m_ELMAX = Liste(*spalten, QVariant());
        m_ELCBO = Liste(*spalten, QVariant());
        ELST1(m_ELST1);
        ELSTYP(m_ELSTYP);
        ELA(m_ELA);
    }
    m_EBOH = true;
    SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0);
}

void clsFLX::ELST1(const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / LST1"));
    m_ELST1 = normalisiert(wert);
    const std::optional<int> spalten = eh.Value([&] { return raster().Cols(); });
    for (int i = 0; spalten && i < *spalten && !eh.Left(); ++i)
        eh.Run([&] { raster().SetTextMatrix(0, i, CStr(Eintrag(m_ELST1, i))); });
}

void clsFLX::ELSTYP(const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("LSTYP - FlexGrid"));
    m_ELSTYP = normalisiert(wert);
    m_typspalte.fill(-1);
    const std::optional<int> spalten = eh.Value([&] { return raster().Cols(); });
    for (int i = 0; spalten && i < *spalten && !eh.Left(); ++i)
        eh.Run([&] {
            const int16_t typ = CInt(Eintrag(m_ELSTYP, i));
            if (typ >= 1 && typ <= 6) m_typspalte[size_t(typ - 1)] = int16_t(i);
        });
    if (eh.Left()) return;
    // Index columns stand leftmost and stay in place, level 1 first.
    const int fest = m_typspalte[0] < 0 ? 0 : m_typspalte[1] < 0 ? 1 : m_typspalte[2] < 0 ? 2 : 3;
    eh.Run([&] { raster().SetFixedCols(fest); });
    if (eh.Left()) return;
    m_start = {0, 0, 0};
    // A Long 0 is neither Empty, an Integer nor a list: it changes no limit
    // and no row count and only renumbers.
    ELINDEXMAX(QVariant(int32_t(0)));
}

QVariant clsFLX::ELCBO(int16_t INDEX) const {
    return Eintrag(m_ELCBO, INDEX);
}

void clsFLX::ELCBO(int16_t INDEX, const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / LCBO"));
    eh.Run([&] {
        if (!IstListe(m_ELCBO)) throw RuntimeError::TypeMismatch();
        QVariantList listen = m_ELCBO.toList();
        if (INDEX < 0 || INDEX >= listen.size()) throw RuntimeError::SubscriptOutOfRange();
        listen[INDEX] = normalisiert(wert);
        m_ELCBO = listen;
    });
}

void clsFLX::ELA(const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / LA "));
    m_ELA = normalisiert(wert);
    const std::optional<int> spalten = eh.Value([&] { return raster().Cols(); });
    for (int i = 0; spalten && i < *spalten && !eh.Left(); ++i)
        eh.Run([&] {
            MSFlexGrid& grid = raster();
            grid.SetFixedAlignment(i, MSFlexGrid::flexAlignCenterCenter);
            switch (CInt(Eintrag(m_ELA, i))) {
            case 0:
                grid.SetColAlignment(i, MSFlexGrid::flexAlignLeftCenter);
                break;
            case 1:
                grid.SetColAlignment(i, MSFlexGrid::flexAlignCenterCenter);
                break;
            case 2:
                grid.SetColAlignment(i, MSFlexGrid::flexAlignRightCenter);
                break;
            default:
                break;
            }
        });
}

// Index levels -----------------------------------------------------------------------------

void clsFLX::indexStartwerte(const QVariant& wert) {
    if (IsEmpty(wert)) {
        m_start = {0, 0, 0};
    } else if (IstInteger(wert)) {
        m_start = {CInt(wert), 0, 0};
    } else if (IstListe(wert)) {
        const int anzahl = Anzahl(wert);
        if (anzahl == 2) {
            m_start = {CInt(Eintrag(wert, 0)), CInt(Eintrag(wert, 1)), 0};
        } else if (anzahl == 3) {
            m_start = {CInt(Eintrag(wert, 0)), CInt(Eintrag(wert, 1)), CInt(Eintrag(wert, 2))};
        }
    }
}

void clsFLX::indexGrenzen(const QVariant& wert) {
    int64_t datenzeilen = 0;
    if (IsEmpty(wert)) {
        m_grenze2 = 0;
        m_grenze3 = 0;
        datenzeilen = 1;
    } else if (IstInteger(wert)) {
        m_grenze2 = CInt(wert);
        m_grenze3 = 0;
        datenzeilen = int64_t(m_grenze2) - m_start[1] + 1;
    } else if (IstListe(wert) && Anzahl(wert) >= 2) {
        m_grenze2 = CInt(Eintrag(wert, 0));
        m_grenze3 = CInt(Eintrag(wert, 1));
        datenzeilen = (int64_t(m_grenze2) - m_start[1] + 1) * (int64_t(m_grenze3) - m_start[2] + 1);
    } else {
        return; // any other kind is only stored
    }
    MSFlexGrid& grid = raster();
    const int64_t zeilen = grid.FixedRows() + datenzeilen;
    if (zeilen > std::numeric_limits<int>::max()) throw RuntimeError::Overflow();
    grid.SetRows(int(zeilen));
}

void clsFLX::ELINDEXMIN(const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / LINDEXMIN"));
    m_ELINDEXMIN = normalisiert(wert);
    eh.Run([&] { indexStartwerte(m_ELINDEXMIN); });
    eh.Run([&] { NUMMERIEREN(); });
}

void clsFLX::ELINDEXMAX(const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / ELINDEXMAX"));
    m_ELINDEXMAX = normalisiert(wert);
    eh.Run([&] { indexGrenzen(m_ELINDEXMAX); });
    eh.Run([&] { NUMMERIEREN(); });
}

// Cells ------------------------------------------------------------------------------------

QString clsFLX::EMATRIX(int SPALTENR, int ZEILENR) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / EMATRIX"));
    return eh.Value([&] { return raster().TextMatrix(SPALTENR, ZEILENR); }).value_or(QString());
}

void clsFLX::EMATRIX(int SPALTENR, int ZEILENR, const QVariant& wert) {
    ErrorHandler eh(kPraefix, QStringLiteral("MSFlexGrid / EMATRIX"));
    eh.Run([&] {
        raster().SetTextMatrix(SPALTENR, ZEILENR, CStr(Eintrag(Eintrag(wert, SPALTENR), ZEILENR)));
    });
}

// Numbering --------------------------------------------------------------------------------

void clsFLX::NUMMERIEREN() {
    const int s1 = m_typspalte[0];
    const int s2 = m_typspalte[1];
    const int s3 = m_typspalte[2];
    if (s1 < 0) return;
    MSFlexGrid& grid = raster();
    const OhneNeuzeichnen gesammelt(&grid);
    int32_t z1 = m_start[0];
    int32_t z2 = m_start[1];
    int32_t z3 = m_start[2];
    const int zeilen = grid.Rows();
    for (int r = grid.FixedRows(); r < zeilen; ++r) {
        if (s2 < 0) {
            grid.SetTextMatrix(r, s1, QString::number(z1));
            ++z1;
        } else if (s3 < 0) {
            if (z2 > m_grenze2) {
                z2 = m_start[1];
                ++z1;
            }
            grid.SetTextMatrix(r, s1, QString::number(z1));
            grid.SetTextMatrix(r, s2, QString::number(z2));
            ++z2;
        } else {
            if (z3 > m_grenze3) {
                z3 = m_start[2];
                ++z2;
                if (z2 > m_grenze2) {
                    z2 = m_start[1];
                    ++z1;
                }
            }
            grid.SetTextMatrix(r, s1, QString::number(z1));
            grid.SetTextMatrix(r, s2, QString::number(z2));
            grid.SetTextMatrix(r, s3, QString::number(z3));
            ++z3;
        }
    }
}
