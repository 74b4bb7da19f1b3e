#pragma once

// The evaluation of one water-uptake test: the water uptake w = V / m s * 100
// in per cent of every reading of the active record, and the water uptake at
// the reference time t max, interpolated on the readings that bracket it
// (the test's result). Reads E2 (TMAX, MS) and E3 (I1, DET, V) and writes
// A1.VELD and the curve rows A2 (I, W), all through data-access objects on
// the active record.
//
// One object serves one run: create it, call BERECHNUNG once, release it.
// The start screen's progress bar goes to 0, 15 and 35 and stays at 35.
//
// A reading whose row is missing (a gap in I1) or whose time or volume is
// empty takes no part in the search for the bracketing readings: the search
// bridges it with the usable readings on either side. Its A2 row is written
// all the same, with the water uptake that its volume gives (0 without one).

#include <QVariant>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class ErrorHandler;
class Transaction;
class clsDATEN;

class clsBERECHNEN {
public:
    clsBERECHNEN();
    ~clsBERECHNEN();
    clsBERECHNEN(const clsBERECHNEN&) = delete;
    clsBERECHNEN& operator=(const clsBERECHNEN&) = delete;

    // True when the run reached its end with every A2 row written (errors
    // the user answered with OK do not prevent it). False when it stopped
    // early: Cancel in the error box, or an A2 row that could not be
    // written; A1.VELD is then written already, and so are the A2 rows
    // below the failing index. The results are written in one transaction,
    // committed whichever way the writing ends; no box of the computation
    // waits inside it.
    bool BERECHNUNG();

private:
    // The value at x of the straight line through (x1, y1) and (x2, y2),
    // computed in extended precision and rounded once to Single. Equal x1 and
    // x2 give the message "Division durch Null!" and 0; a result beyond the
    // Single range raises the overflow error.
    float LININT(const float& x1, const float& x2, const float& x, const float& y1, const float& y2);

    // What the computation reads: t max, m s, the highest index n and the
    // count of the readings, and the time and the volume of reading i for
    // i = 0 to n as stored (Empty where the reading has no row).
    struct EINGABEN {
        float tmax = 0.0f;
        float ms = 0.0f;
        int16_t n = 0;
        int16_t anzahl = 0;
        std::vector<QVariant> det, vol;
        bool operator==(const EINGABEN&) const = default;
    };
    // Nothing when the user left in an error box.
    std::optional<EINGABEN> EINGABENLESEN(ErrorHandler& eh);
    // Where the copy stands: equal stands on one connection mean that
    // nothing was committed to it in between, by another connection or by
    // this one. Nothing when the engine cannot tell.
    struct STAND {
        qlonglong version = 0;
        qlonglong eigene = 0;
        bool operator==(const STAND&) const = default;
    };
    static std::optional<STAND> STANDLESEN(const clsDATEN& daten);
    void MESSWERTELESEN(ErrorHandler& eh, int16_t anzahl, std::vector<QVariant>& det,
                        std::vector<QVariant>& vol);
    // The water uptakes and the result; false when the user left.
    bool RECHNEN(ErrorHandler& eh, const EINGABEN& e);
    // The result and the curve rows, in the open transaction, which it
    // commits.
    bool SCHREIBEN(ErrorHandler& eh, Transaction& transaktion);
    // W of the curve row I = i for i = 0 to n, each row as the scalar write
    // of the data-access object would leave it. False when a row could not
    // be written (after the data-access object's message for it, or the
    // refusal of the copy in the run's box).
    bool KURVESCHREIBEN(ErrorHandler& eh);

    std::unique_ptr<clsDATEN> m_e2, m_e3, m_a1, m_a2;

    int16_t m_i = 0;           // loop index
    int16_t m_n = 0;           // highest index of the readings
    float m_ms = 0.0f;         // solid mass
    float m_wasser = 0.0f;     // water factor
    float m_tmax = 0.0f;       // reference time
    std::vector<float> m_t;    // times
    std::vector<float> m_v;    // volumes
    std::vector<float> m_w;    // water uptakes
    std::vector<char> m_punkt; // the reading has a time and a volume
    float m_wmax = 0.0f;       // result
};
