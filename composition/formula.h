#pragma once
// An elemental formula of an ion: atom counts, charge, exact mass, ring-double-bond equivalent.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "composition/elements.h"

namespace orvelo {

struct Formula {
    std::array<int16_t, kElementCount> counts{};
    int charge = 1;

    int count(int element) const { return counts[static_cast<std::size_t>(element)]; }
    bool operator==(const Formula&) const = default;
};

// The neutral mass of the atoms (monoisotopic).
double NeutralMass(const Formula& f);
// The ion's m/z: (neutral - z * electron) / z.
double IonMass(const Formula& f);
// Twice the ring-double-bond equivalent, 2 + sum of n * (valence - 2): an integer, so that
// even-electron ions (half-integer RDBE) are odd numbers here.
int TwiceRdbe(const Formula& f);
inline double Rdbe(const Formula& f) { return TwiceRdbe(f) / 2.0; }

// Hill order (C, H, then the others alphabetically; without carbon every element
// alphabetically), counts of 1 left out, then the charge: "C7H7+", "C6H5Cl+", "ClH+", and for a
// doubly charged ion " 2+" after a blank, so that the charge never joins the last count:
// "C12H10N2 2+".
std::string HillText(const Formula& f);

// Reads "C 4 H 9" or "C4H9" (a CH or CF reference ion's name, a formula typed by hand);
// nothing for anything else. The charge is 1.
bool ParseFormulaText(std::string_view text, Formula& out);

}  // namespace orvelo
