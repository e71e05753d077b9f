#include "calibration/calibration_list.h"

#include <algorithm>

#include "core/cp1251.h"
#include "core/number_text.h"

namespace orvelo {

namespace {

std::size_t CommaCount(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
}

// A line carries a true mass when it holds two commas.
bool HasTrueMass(std::string_view line) { return CommaCount(line) == 2; }

}  // namespace

bool StripTrueMass(std::string& line) {
    if (!HasTrueMass(line)) return false;
    line.erase(line.rfind(','));
    return true;
}

std::optional<double> LeadingNumber(std::string_view line) { return ParseNumber(line.substr(0, line.find(','))); }

std::string_view TrailingText(std::string_view line) {
    const std::size_t blank = line.rfind(' ');
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

std::optional<double> TrailingNumber(std::string_view line) { return ParseNumber(TrailingText(line)); }

bool IsTrueMassChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

ListChange CalibrationList::TakePeak(int peak, const std::vector<std::string>& allMassLines) {
    if (peak < 0 || peak >= static_cast<int>(allMassLines.size())) return {ListOutcome::NoSelection, {}};
    if (std::find(calibIndex_.begin(), calibIndex_.end(), peak) != calibIndex_.end())
        return {ListOutcome::AlreadyTaken, kPeakAlreadyTakenMessage};
    const std::string& line = allMassLines[static_cast<std::size_t>(peak)];
    if (CharCount(line) > kMaxCalibLineChars) return {ListOutcome::LineTooLong, kPeakLineTooLongMessage};
    // The first entry above the peak keeps the lines in peak order.
    const auto at = std::upper_bound(calibIndex_.begin(), calibIndex_.end(), peak);
    const auto pos = at - calibIndex_.begin();
    calibIndex_.insert(at, peak);
    lines_.insert(lines_.begin() + pos, line);
    return {};
}

ListChange CalibrationList::RemoveLine(int line) {
    if (!HasLine(line)) return {ListOutcome::NoSelection, {}};
    if (HasTrueMass(lines_[static_cast<std::size_t>(line)])) --trueMassCount_;
    calibIndex_.erase(calibIndex_.begin() + line);
    lines_.erase(lines_.begin() + line);
    return {};
}

ListChange CalibrationList::AttachTypedMass(int line, std::string_view typed) {
    if (!HasLine(line)) return {ListOutcome::NoSelection, {}};
    if (typed.empty()) return {ListOutcome::NothingTyped, kNothingTypedMessage};
    // Blanks or commas would change where the line's fields are found.
    if (!std::all_of(typed.begin(), typed.end(), IsTrueMassChar))
        return {ListOutcome::InvalidText, kTrueMassCharsMessage};
    return AttachTrueMassText(line, std::string(typed), kTrueMassTooLongMessage);
}

ListChange CalibrationList::AttachStandardMass(int line, const std::vector<std::string>& standardLines, int standard) {
    if (!HasLine(line) || standard < 0 || standard >= static_cast<int>(standardLines.size()))
        return {ListOutcome::NoSelection, {}};
    const std::optional<double> mass = LeadingNumber(standardLines[static_cast<std::size_t>(standard)]);
    if (!mass) return {ListOutcome::InvalidText, kStandardLineNoNumberMessage};
    return AttachTrueMassText(line, FormatGeneral(*mass), kTrueMassTooLongMessage);
}

ListChange CalibrationList::AttachTrueMassText(int line, const std::string& text, const char* tooLongMessage) {
    std::string updated = lines_[static_cast<std::size_t>(line)];
    const bool hadTrueMass = StripTrueMass(updated);
    updated += ",  ";
    updated += text;
    if (CharCount(updated) > kMaxCalibLineChars) return {ListOutcome::LineTooLong, tooLongMessage};
    lines_[static_cast<std::size_t>(line)] = std::move(updated);
    if (!hadTrueMass) ++trueMassCount_;
    return {};
}

void CalibrationList::clear() {
    lines_.clear();
    calibIndex_.clear();
    trueMassCount_ = 0;
}

std::vector<std::string> CalibrationList::ShowIndexLines() const {
    std::vector<std::string> out;
    out.reserve(calibIndex_.size());
    for (std::size_t i = 0; i < calibIndex_.size(); ++i)
        out.push_back(std::to_string(i) + ",  " + std::to_string(calibIndex_[i]));
    return out;
}

}  // namespace orvelo
