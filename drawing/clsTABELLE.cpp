#include "drawing/clsTABELLE.h"

#include "drawing/FEHLERBOX.h"
#include "drawing/MESSUNG.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/RuntimeError.h"

#include <QSequentialIterable>
#include <QVariantList>

// ---------------------------------------------------------------- cells

TABELLENZELLEN::TABELLENZELLEN(int spalten, int zeilen)
    : m_spalten(std::max(0, spalten)), m_zeilen(std::max(0, zeilen)) {
    m_werte.resize(qsizetype(m_spalten) * m_zeilen);
}

QVariant& TABELLENZELLEN::operator()(int spalte, int zeile) {
    if (spalte < 0 || spalte >= m_spalten || zeile < 0 || zeile >= m_zeilen)
        throw RuntimeError::SubscriptOutOfRange();
    return m_werte[qsizetype(zeile) * m_spalten + spalte];
}

const QVariant& TABELLENZELLEN::operator()(int spalte, int zeile) const {
    if (spalte < 0 || spalte >= m_spalten || zeile < 0 || zeile >= m_zeilen)
        throw RuntimeError::SubscriptOutOfRange();
    return m_werte[qsizetype(zeile) * m_spalten + spalte];
}

// ---------------------------------------------------------------- object

clsTABELLE::clsTABELLE() = default;

clsTABELLE::~clsTABELLE() {
    m_EOBJEKT = nullptr;
    m_EYBALKEN = nullptr;
    m_SCHRIFTSATZ.FREIGEBEN();
}

OutputObject& clsTABELLE::Objekt() const {
    if (!m_EOBJEKT) throw OBJEKTVARIABLEFEHLT();
    return *m_EOBJEKT;
}

void clsTABELLE::setEOBJEKT(OutputObject* objekt) {
    m_EOBJEKT = objekt;
    if (!objekt) return;
    const MASSSTABFAKTOREN mass = PIXELPROEINHEIT(*objekt);
    m_pixelX = mass.X;
    m_pixelY = mass.Y;
    SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0);
}

void clsTABELLE::setELSB(const QVariant& liste) {
    m_ELSB = liste;
    // Any list gives the bounds here; TABELLE accepts only a list of values.
    qsizetype n = -1; // upper bound
    if (liste.typeId() == QMetaType::QVariantList)
        n = liste.toList().size() - 1;
    else if (liste.typeId() != QMetaType::QString && liste.typeId() != QMetaType::QByteArray &&
             liste.canConvert<QSequentialIterable>())
        n = liste.value<QSequentialIterable>().size() - 1;
    else
        throw RuntimeError::TypeMismatch();
    const QVariantList leer(std::max<qsizetype>(0, n + 1));
    m_ELGIT = leer;
    m_ELMW = leer;
    // One entry per inner line; a single column keeps one entry all the same.
    m_ELGITLEER = QVariantList(std::max<qsizetype>(1, n));
}

QVariant clsTABELLE::LISTE(std::initializer_list<QVariant> werte) {
    return QVariantList(werte);
}
