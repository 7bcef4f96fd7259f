#pragma once
// The plane and angle arithmetic shared by the reading, the travel and the
// projection of the moves.

#include "trajectoire/trajectoire.h"

#include <cmath>

namespace tarvex::trajectoire {

inline constexpr double kPi = 3.14159265358979323846;

// The axes of a plane: a across, b up, n the third (indices into Point).
struct AxesPlan {
    int a, b, n;
};
inline AxesPlan axesDuPlan(Plan p)
{
    switch (p) {
    case Plan::XY: return {0, 1, 2};
    case Plan::ZX: return {2, 0, 1};
    case Plan::YZ: return {1, 2, 0};
    }
    return {0, 1, 2};
}

// Turning: X is a diameter, the true circle has X as a radius.
inline double echelle(int axe, bool tournage) { return tournage && axe == 0 ? 0.5 : 1.0; }

inline double normaliser(double angle)
{
    angle = std::fmod(angle, 2 * kPi);
    return angle < 0 ? angle + 2 * kPi : angle;
}

// Whether an arc leaving at `depart` and turning `balayage` passes `angle`.
inline bool dansBalayage(double depart, double balayage, double angle)
{
    if (std::fabs(balayage) >= 2 * kPi) return true;
    const double u = normaliser(balayage > 0 ? angle - depart : depart - angle);
    return u <= std::fabs(balayage);
}

}  // namespace tarvex::trajectoire
