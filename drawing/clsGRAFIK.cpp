#include "drawing/clsGRAFIK.h"

#include "data/HAUPTFENSTER.h"
#include "drawing/FEHLERBOX.h"
#include "drawing/MESSUNG.h"
#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"
#include "platform/controls/OutputObject.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <QVariantList>
#include <cmath>

namespace {
constexpr double kTwipsProMm = 56.7;

QVariant Liste1(double wert) {
    return QVariantList{wert};
}
} // namespace

clsGRAFIK::clsGRAFIK() {
    // The figure belongs to the first active record, in the order the
    // records were stored.
    std::shared_ptr<Connection> verbindung = frmMAIN().DBPROJEKT();
    if (!verbindung) throw OBJEKTVARIABLEFEHLT();
    Recordset rs(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true ORDER BY rowid"),
                 *verbindung);
    if (!rs.Eof()) {
        rs.MoveFirst();
        m_EID = CLng(rs.Fields(QStringLiteral("ID")).Value());
    } else {
        m_EID = 0;
    }
    rs.Close();
}

clsGRAFIK::~clsGRAFIK() {
    m_EXBALKEN = nullptr;
    m_EYBALKEN = nullptr;
    m_SCHRIFTSATZ.FREIGEBEN();
    m_EOBJEKT = nullptr;
}

OutputObject& clsGRAFIK::Objekt() const {
    if (!m_EOBJEKT) throw OBJEKTVARIABLEFEHLT();
    return *m_EOBJEKT;
}

void clsGRAFIK::setEOBJEKT(OutputObject* objekt) {
    m_EOBJEKT = objekt;
    if (!objekt) return;
    if (objekt->IsPictureBox() || objekt->IsPrinter()) {
        const MASSSTABFAKTOREN mass = PIXELPROEINHEIT(*objekt);
        m_pixelX = mass.X;
        m_pixelY = mass.Y;
        setELX(float(objekt->Width() / kTwipsProMm));
        setELY(float(objekt->Height() / kTwipsProMm));
    }
    SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0);
}

void clsGRAFIK::setELX(float wert) {
    m_ELX = wert;
    m_ELXMIN = QVariantList{0.0, double(wert)};
    m_ELXDIFF = Liste1(wert);
    m_ELXIT = Liste1(1);
    m_ELXGIT = Liste1(0);
    m_ELXZL = m_ELXGIT;
}

void clsGRAFIK::setELY(float wert) {
    m_ELY = wert;
    m_ELYMIN = QVariantList{0.0, double(wert)};
    m_ELYDIFF = Liste1(wert);
    m_ELYIT = Liste1(1);
    m_ELYGIT = Liste1(0);
    m_ELYZL = m_ELYGIT;
}

void clsGRAFIK::setELXGIT(const QVariant& liste) {
    m_ELXGIT = liste;
    m_ELXZL = liste;
}

void clsGRAFIK::setELYGIT(const QVariant& liste) {
    m_ELYGIT = liste;
    m_ELYZL = liste;
}

QVariant clsGRAFIK::LISTE(std::initializer_list<double> werte) {
    QVariantList liste;
    for (double wert : werte)
        liste.append(wert);
    return liste;
}

void clsGRAFIK::setEXYIT(float wert) {
    m_EXYIT = CInt(double(wert));
}

float clsGRAFIK::LININT(float x1, float x2, float x, float y1, float y2) {
    if (x2 == x1) {
        MsgBox(QStringLiteral("Division durch Null!"), vbOKOnly, QStringLiteral("LININT"));
        return 0;
    }
    return float(double(y2) - (double(y2) - y1) * (double(x2) - x) / (double(x2) - x1));
}

float clsGRAFIK::MINIMUM(float a, float b) {
    return a < b ? a : b;
}
