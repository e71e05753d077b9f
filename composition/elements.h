#pragma once
// The elements an elemental composition may hold: monoisotopic and isotope masses, natural
// isotopic abundances and the valence used for the ring-double-bond equivalent.
//
// Masses: the atomic mass evaluation AME2020 (W. J. Huang et al., Chinese Physics C 45 (2021)
// 030002), in unified atomic mass units. Abundances: the IUPAC representative isotopic
// compositions (CIAAW, "Isotopic compositions of the elements 2013", Pure Appl. Chem. 88 (2016)
// 293), as mole fractions. Electron mass: CODATA 2018.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace orvelo {

inline constexpr double kElectronMassU = 0.000548579909;  // u, CODATA 2018

struct Isotope {
    int shift = 0;    // nucleons more than the lightest isotope
    double mass = 0;  // u
    double abundance = 0;
};

struct Element {
    const char* symbol;
    int valence;                      // the lowest common valence
    std::array<Isotope, 4> isotopes;  // the lightest first; unused ones have abundance 0
    int isotopeCount;

    double mass() const { return isotopes[0].mass; }  // the monoisotopic mass
};

// In Hill order: C, H, then the others alphabetically.
enum ElementId : int { kC, kH, kBr, kCl, kF, kI, kN, kO, kP, kS, kSi, kElementCount };

const std::array<Element, kElementCount>& Elements();
inline const Element& ElementOf(int id) { return Elements()[static_cast<std::size_t>(id)]; }
std::optional<int> FindElement(std::string_view symbol);

}  // namespace orvelo
