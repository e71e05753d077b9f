#pragma once
// The preliminary run: stages 1 to 7 and the zone table from the loaded spectrum, ending with
// the zone list sorted by height (zone_list.h). The window draws the stages; nothing here talks
// to the user.
#include <optional>
#include <string>
#include <vector>

#include "core/spectrum_state.h"
#include "processing/zone_list.h"

namespace orvelo {

void Obrab1(SpectrumState& s);       // stage 1: three smoothing passes of stage 0
void Obrab2(SpectrumState& s);       // stage 2 (KolUsred + 2 passes of stage 1) and stage 3
void Obrab3(SpectrumState& s);       // stage 4
void Obrab4(SpectrumState& s);       // stage 5 and the zone table
void ObrabNaklon(SpectrumState& s);  // stages 6 and 7 with NoiseThreshold

// Smoothing passes whose work (passes x samples) exceeds this would keep the window busy for
// more than about a minute; such a KolUsred is refused before anything changes.
inline constexpr double kMaxSmoothingWork = 2e10;

// Smoothing work beyond this keeps a run busy for a noticeable time (about a tenth of a second
// and more): the window then runs it on a worker and shows that it is busy.
inline constexpr double kNoticeableSmoothingWork = 2e7;
// The smoothing work of a preliminary run: passes times samples.
double SmoothingWork(int kolUsred, int samples);

// The refusal text for a KolUsred whose passes over `samples` points would take too long, or
// nothing when it is acceptable. Negative values are fine (stage 2 then gets one pass).
std::optional<std::string> CheckKolUsred(int kolUsred, int samples);

// Obrab1 .. Obrab4, ObrabNaklon, OtsortVysota, with s.KolUsred as it stands (checked by
// CheckKolUsred first: an absurd value is refused before any stage changes). Throws
// OrveloError naming the step and the cause when a stage cannot be built.
void RunPreliminary(SpectrumState& s);

}  // namespace orvelo
