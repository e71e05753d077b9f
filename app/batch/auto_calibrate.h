#pragma once
// --auto-calibrate: the reference ions matched to the fitted peaks fill the calibration list
// that --calibrate FILE would have read, and the same calibration step applies it.
#include <optional>
#include <string_view>

#include "batch/options.h"
#include "batch/output.h"
#include "calibration/after_final_run.h"
#include "calibration/auto_calibration.h"
#include "session/session.h"

namespace orvelo::batch {

// "CH", "CF", "CH,CF" or "CF,CH"; nothing for any other text. CH is the full CH list.
std::optional<ReferenceChoice> ParseReferenceFamilies(std::string_view text);
// A number of mmu above 0 and below kMaxToleranceMmu; nothing otherwise.
std::optional<double> ParseToleranceMmu(std::string_view text);
// Throws UsageError for --auto-calibrate, --tolerance and --ion-masses used wrongly.
void CheckAutoCalibrationOptions(const Options& o);

ReferenceMassKind MassKindOf(const Options& o);

// Matches the chosen references of the session's reference tables (assigned with the options'
// mass kind) to its peaks and fills its calibration list. Throws OrveloError with the matcher's
// message when no calibration can be proposed; nothing is written then.
AutoCalibration AutoCalibrate(const Options& o, Session& session, const std::vector<std::string>& massLines);

// auto-calibration.tsv, with the deviations after the applied curve; the summary goes to `out`.
void WriteAutoCalibration(Output& output, const AutoCalibration& match, const PeakResults& peaks,
                          const CalibrationCurve& applied, ReferenceMassKind kind);

}  // namespace orvelo::batch
