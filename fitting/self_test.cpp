#include "fitting/self_test.h"

#include "core/number_text.h"
#include "fitting/peak_fit.h"

namespace orvelo {

std::string Op44Message() {
    const Matrix4 m{{{1, 1, 5, 6}, {1, 2, 8, 3}, {1, 3, 0, 1}, {1, 4, 2, 0}}};
    return "Op44 = " + FormatGeneral(Det4(m));
}

std::string DopolnenieMessage() {
    const Matrix4 m{{{1, 4, 345, 1}, {2, 4, 6744, 4}, {56, -3, 167, -23}, {3, 4, -17, 9}}};
    return "Dopolnenie = " + FormatGeneral(Cofactor(m, 2, 2));
}

}  // namespace orvelo
