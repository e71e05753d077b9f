#include "calibration/after_final_run.h"

namespace orvelo {

MassAssignment AssignMasses(const SpectrumState& state, const PeakResults& peaks, ReferenceMassKind kind) {
    MassAssignment out;
    out.massLines = FillListMass(peaks);
    out.refusal = ReferenceRangeRefusal(peaks);
    out.tables = BuildReferenceTables(peaks, ElementMassesOf(state), kind);
    out.ch = CreateTeoriaCH(out.tables, peaks);
    out.cf = CreateTeoriaCF(out.tables, peaks);
    return out;
}

}  // namespace orvelo
