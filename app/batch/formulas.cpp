#include "batch/formulas.h"

#include <cctype>
#include <cmath>

#include "batch/text_escape.h"
#include "composition/candidates.h"
#include "core/errors.h"
#include "core/number_text.h"

namespace orvelo::batch {

namespace {

CompositionSettings SettingsOf(const Options& o) {
    CompositionSettings s;
    if (o.formulas && !o.formulas->empty()) s.ranges = *o.formulas;
    if (o.formulaPpm) s.tolerancePpm = *ParseNumber(*o.formulaPpm);
    return s;
}

}  // namespace

bool LooksLikeElementRanges(const std::string& word) {
    // Symbol, count, optional "-count", repeated: C0-60H0-120.
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i]))) ++i;
        return i > start;
    };
    if (word.empty()) return false;
    while (i < word.size()) {
        if (!std::isupper(static_cast<unsigned char>(word[i++]))) return false;
        if (i < word.size() && std::islower(static_cast<unsigned char>(word[i]))) ++i;
        if (!digits()) return false;
        if (i < word.size() && word[i] == '-') {
            ++i;
            if (!digits()) return false;
        }
    }
    return true;
}

void CheckFormulaOptions(const Options& o) {
    if (o.formulaPpm && !o.formulas) throw UsageError{"--formula-ppm требует --formulas"};
    if (!o.formulas) return;
    if (!o.threshold || !o.outDir) throw UsageError{"--formulas требует --threshold и --out"};
    if (SeveralScans(o)) throw UsageError{"--formulas обрабатывает один спектр"};
    if (o.formulaPpm) {
        const auto ppm = ParseNumber(*o.formulaPpm);
        if (!ppm || !std::isfinite(*ppm) || *ppm <= 0)
            throw UsageError{"--formula-ppm: допуск должен быть положительным числом ppm, а не \"" +
                             EscapedControls(*o.formulaPpm) + "\""};
    }
}

void CheckFormulaRanges(const Options& o) {
    if (!o.formulas) return;
    const ElementRangesParse parsed = ParseElementRanges(SettingsOf(o).ranges);
    if (!parsed.ok()) throw OrveloError(parsed.message);
}

void WriteFormulas(const Options& o, Output& output, const PeakResults& peaks, int64_t height) {
    CompositionSettings settings = SettingsOf(o);
    settings.thresholdHeight = static_cast<double>(height);
    const CompositionRun run = FindCompositions(peaks, settings);
    if (!run.ok()) throw OrveloError(run.message);
    output.WriteUtf8("formulas.tsv", FormulaTableLines(peaks, run.peaks));
}

}  // namespace orvelo::batch
