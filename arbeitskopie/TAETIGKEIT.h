#pragma once

// What a run does while it alone decides about the working copy: its save
// question at the end, a compaction, its start. It is written into the
// copy's state folder, so that another run that waits for it (a start
// waiting for the decision, a command waiting for the copy) can say what it
// waits for. A run killed meanwhile leaves the file behind; what it says
// counts no more once its process is gone.

#include <QString>

namespace TAETIGKEIT {

enum ART { FRAGE, KOMPRIMIEREN, START };

// Writes what this run does into the state folder `zustand` (nothing when
// the folder is not known).
void MELDEN(const QString& zustand, ART art);
// This run has stopped doing it: the file goes, while it is still this
// run's.
void BEENDEN();
// What another live run does, as the first line of a waiting window in the
// language `sprache` (1 English, 3 German); empty when no other run says.
QString LESEN(const QString& zustand, int sprache);

} // namespace TAETIGKEIT
