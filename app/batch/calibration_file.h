#pragma once
#include <string>
#include <vector>

#include "session/session.h"

namespace orvelo::batch {

// The --calibrate file: one line per calibration point, "<peak line in the mass list> <true mass>"
// (blank or tab separated; empty lines and lines starting with # are skipped; lines end in
// CR LF, LF or CR; a UTF-8 byte order mark is skipped; at most 1 MB, a regular file). Builds the
// session's calibration list with the operator's own steps on the page "Калибровочные массы".
// Throws OrveloError naming the line for anything the list refuses.
void ReadCalibrationFile(const std::string& path, Session& session, const std::vector<std::string>& massLines);

}  // namespace orvelo::batch
