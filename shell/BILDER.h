#pragma once

// The publisher's logo and the picture of the start screen, drawn rather
// than stored, so that the program carries no image files.

#include <QPixmap>

// The logo: a square mark with the publisher's initials, `hoehe` pixels high.
QPixmap VERLAGSLOGO(int hoehe);
// A water-uptake apparatus: a filter plate on a glass vessel joined to a
// graduated pipette, `breite` x `hoehe` pixels.
QPixmap GERAETEBILD(int breite, int hoehe);
