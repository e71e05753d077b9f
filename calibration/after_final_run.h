#pragma once
// What every final run leaves for mass assignment, built from its peaks in one place for the
// window and for orvelo-batch: the "Все массы" lines (FillListMass), the CH and CF reference
// tables (StandartCH, StandartCF) and the two theory charts (CreateTeoriaCH, CreateTeoriaCF).
#include <optional>
#include <string>
#include <vector>

#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"
#include "calibration/theory_series.h"
#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

struct MassAssignment {
    std::vector<std::string> massLines;  // ListBox5 and ListBox8
    ReferenceTables tables;
    TheoryChart ch;  // Series9, Series10
    TheoryChart cf;  // Series12, Series13
    // Set when the peaks span more nominal masses than the reference tables cover; the tables
    // are then empty and this says why.
    std::optional<std::string> refusal;
};

// The element masses come from the spectrum state (the program's defaults unless changed); the
// reference masses are neutral or those of positive ions.
MassAssignment AssignMasses(const SpectrumState& state, const PeakResults& peaks,
                            ReferenceMassKind kind = ReferenceMassKind::Neutral);

}  // namespace orvelo
