#include "batch/calibration_file.h"

#include <sstream>

#include "core/errors.h"
#include "core/number_text.h"
#include "core/text_file.h"

namespace orvelo::batch {
namespace {

std::string LineError(const std::string& path, int lineNo, const std::string& what) {
    return path + ", строка " + std::to_string(lineNo) + ": " + what;
}

}  // namespace

CalibrationList ReadCalibrationFile(const std::string& path, const std::vector<std::string>& massLines) {
    std::istringstream in(ReadFileBytes(path));
    CalibrationList list;
    std::string text;
    int lineNo = 0;
    while (std::getline(in, text)) {
        ++lineNo;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::istringstream fields(text);
        std::string peakText, massText, extra;
        if (!(fields >> peakText) || peakText[0] == '#') continue;
        if (!(fields >> massText) || (fields >> extra))
            throw OrveloError(LineError(path, lineNo, "нужны два поля: номер пика и истинная масса"));
        const std::optional<int32_t> peak = ParseInt32(peakText);
        if (!peak || *peak < 0 || *peak >= static_cast<int>(massLines.size()))
            throw OrveloError(LineError(path, lineNo, "нет пика с номером " + peakText + " (пиков " +
                                                          std::to_string(massLines.size()) + ")"));
        ListChange taken = list.TakePeak(*peak, massLines);
        if (!taken.changed()) throw OrveloError(LineError(path, lineNo, taken.message));
        int line = 0;
        while (list.CalibIndex()[line] != *peak) ++line;
        ListChange attached = list.AttachTypedMass(line, massText);
        if (!attached.changed()) throw OrveloError(LineError(path, lineNo, attached.message));
    }
    return list;
}

}  // namespace orvelo::batch
