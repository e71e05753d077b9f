#include "batch/calibration_file.h"

#include <sstream>

#include "core/errors.h"
#include "core/line_splitter.h"
#include "core/number_text.h"
#include "core/text_file.h"

namespace orvelo::batch {
namespace {

// A calibration file holds a line per peak: a megabyte is thousands of times what it needs.
constexpr std::size_t kMaxCalibrationFileBytes = std::size_t{1} << 20;

std::string LineError(const std::string& path, int lineNo, const std::string& what) {
    return path + ", строка " + std::to_string(lineNo) + ": " + what;
}

}  // namespace

void ReadCalibrationFile(const std::string& path, Session& session, const std::vector<std::string>& massLines) {
    const CalibrationList& list = session.state().calibrationList;
    const std::string bytes = ReadFileBytes(path, kMaxCalibrationFileBytes);
    std::string_view rest(bytes);
    SkipUtf8ByteOrderMark(rest);
    LineSplitter lines(rest);
    std::string_view text;
    while (lines.Next(text)) {
        const int lineNo = lines.lineNumber();
        std::istringstream fields{std::string(text)};
        std::string peakText, massText, extra;
        if (!(fields >> peakText) || peakText[0] == '#') continue;
        if (!(fields >> massText) || (fields >> extra))
            throw OrveloError(LineError(path, lineNo, "нужны два поля: номер пика и истинная масса"));
        const std::optional<int32_t> peak = ParseInt32(peakText);
        if (!peak || *peak < 0 || *peak >= static_cast<int>(massLines.size()))
            throw OrveloError(LineError(
                path, lineNo, "нет пика с номером " + peakText + " (пиков " + std::to_string(massLines.size()) + ")"));
        ListChange taken = session.TakePeak(*peak, massLines);
        if (!taken.changed()) throw OrveloError(LineError(path, lineNo, taken.message));
        int line = 0;
        while (list.CalibIndex()[line] != *peak) ++line;
        ListChange attached = session.AttachTypedMass(line, massText);
        if (!attached.changed()) throw OrveloError(LineError(path, lineNo, attached.message));
    }
}

}  // namespace orvelo::batch
