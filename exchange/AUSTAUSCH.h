#pragma once

// What the two exchange dialogs share: their titles, the prefix of their
// error boxes (the same in every language) and the runtime error that a
// caught exception stands for.

#include "platform/runtime/RuntimeError.h"

#include <QString>
#include <QVariant>

namespace austausch {

inline const QString kVbError = QStringLiteral("VB-Error: ");
inline const QString kEXPIMPTITEL = QStringLiteral("Export/Import");
inline const QString kEXPINFTITEL = QStringLiteral("Export Informationssystem");

// Inside a catch block: the runtime error of the exception being handled
// (a RuntimeError as it is, other exceptions by their kind, 51 for the rest).
RuntimeError AKTUELLERFEHLER();

// A value as a list shows it and as it joins a text: Empty and Null as
// nothing.
QString TEXT(const QVariant& wert);


} // namespace austausch
