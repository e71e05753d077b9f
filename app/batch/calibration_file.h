#pragma once
#include <string>
#include <vector>

#include "calibration/calibration_list.h"

namespace orvelo::batch {

// The --calibrate file: one line per calibration point, "<peak line in the mass list> <true mass>"
// (blank or tab separated; empty lines and lines starting with # are skipped; lines end in
// CR LF, LF or CR; a UTF-8 byte order mark is skipped; at most 1 MB, a regular file). Builds the
// calibration list exactly as the operator would on the page "Калибровочные массы".
// Throws OrveloError naming the line for anything the list refuses.
CalibrationList ReadCalibrationFile(const std::string& path, const std::vector<std::string>& massLines);

}  // namespace orvelo::batch
