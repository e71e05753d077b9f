#pragma once
// --formulas [RANGES]: the ranked elemental formulas of every fitted peak, into formulas.tsv.
#include <cstdint>
#include <string>
#include <vector>

#include "batch/options.h"
#include "batch/output.h"
#include "fitting/peak_result.h"

namespace orvelo::batch {

// Whether a command-line word is an element-range setting ("C0-60H0-120...") rather than a file.
bool LooksLikeElementRanges(const std::string& word);
// Throws UsageError for --formulas and --formula-ppm used wrongly.
void CheckFormulaOptions(const Options& o);
// Throws OrveloError with the setting's own message when the ranges cannot be read.
void CheckFormulaRanges(const Options& o);
// formulas.tsv for the peaks of the final run; `height` is its noise threshold.
void WriteFormulas(const Options& o, Output& output, const PeakResults& peaks, int64_t height);

}  // namespace orvelo::batch
