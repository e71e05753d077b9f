#pragma once
// Neutral or ion reference masses. The CH and CF tables hold neutral masses; a positive ion is
// lighter by the mass of the electron it lost, so a positive-ion spectrum is calibrated on
//     ion mass = neutral mass - kElectronMass.
// Neutral masses are the default: every list, file and result then holds the tables' own masses.
// With ion masses every written text that shows reference masses says so (kIonMassesNote).
#include <string>
#include <vector>

#include "calibration/reference_masses.h"
#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

inline constexpr double kElectronMass = 0.000548580;  // u

enum class ReferenceMassKind { Neutral, Ion };

// The caption of the choice on the calibration page.
inline constexpr const char* kIonMassesCaption = "ионы (минус масса электрона)";
// The line that heads a written list of ion masses.
inline constexpr const char* kIonMassesNote = "Массы ионов: нейтральная масса минус масса электрона 0.000548580 u";
// Says which masses a new report used: "Опорные массы: нейтральные" or the ion note.
std::string ReferenceMassesLine(ReferenceMassKind kind);

// StandartCH and StandartCF as the final run calls them, then the masses of `kind`.
ReferenceTables BuildReferenceTables(const PeakResults& peaks, const ElementMasses& m, ReferenceMassKind kind);

// `lines` unchanged for neutral masses; headed by kIonMassesNote for ion masses.
std::vector<std::string> NotedMassLines(std::vector<std::string> lines, ReferenceMassKind kind);

}  // namespace orvelo
