#include "calibration/after_final_run.h"

namespace orvelo {

MassAssignment AssignMasses(const SpectrumState& state, const PeakResults& peaks) {
    MassAssignment out;
    out.massLines = FillListMass(peaks);
    const ElementMasses elements = ElementMassesOf(state);
    StandartCH(peaks, elements, out.tables);
    StandartCF(peaks, elements, out.tables);
    out.ch = CreateTeoriaCH(out.tables, peaks);
    out.cf = CreateTeoriaCF(out.tables, peaks);
    return out;
}

}  // namespace orvelo
