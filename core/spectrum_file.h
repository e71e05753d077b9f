#pragma once
// The spectrum text file: an optional three-line title block, then one "mass intensity" line
// per point. The reader parses into a new LoadedSpectrum first; only a complete, valid file
// replaces the loaded spectrum (ApplyLoadedSpectrum), so a failed load loses nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/spectrum_state.h"

namespace orvelo {

struct ParsedLine {
    double x = 0;            // ParsedX
    double y = 0;            // ParsedY
    int fractionDigits = 0;  // characters of the second number after its first point
};

// One data line (only its first 100 characters are looked at). Throws OrveloError with the
// program's own texts: "'%s' is not a valid floating point value", "Range check error".
ParsedLine ParseLine(std::string_view line);

struct LoadedSpectrum {
    PointList points;                  // ascending (reversed when the file descends)
    std::optional<std::string> title;  // UTF-8; present only when the file has a title block
    int maxFractionDigits = 0;
    // Russian sentences the caller shows beside the spectrum: what was read, but not quite as
    // the file meant it (characters of the title that Windows-1251 cannot write, for example).
    std::vector<std::string> warnings;
};

// The warning for a title (UTF-8) with characters that the Windows-1251 files cannot hold,
// naming them; nullopt when every character can be written.
std::optional<std::string> TitleCharsWarning(const std::string& title);

// Parses the bytes of a spectrum file (Windows-1251). Throws OrveloError on any defect: the
// texts of ParseLine followed by the line (". Строка 7: "100 2.5.5"", or "пустая строка
// среди данных" for a blank line between data lines), "Range check error" for fewer than two
// points, and, naming the line ("Строка 12: массы должны возрастать (100.5 после 101.2)"), a
// zero byte (binary or UTF-16 file), a file written with decimal commas ("100,5 2000" in a
// file without any point), masses that leave the direction of the first two (equal neighbours
// are allowed), and intensities that the x1000 scaling takes beyond the double range.
// Lines end in CR LF, LF or CR; blank lines after the last data line are ignored; a leading
// UTF-8 byte order mark is skipped. A title that is valid UTF-8 (with or without the mark) is
// read as UTF-8, any other as Windows-1251.
LoadedSpectrum ParseSpectrumText(std::string_view bytes);
LoadedSpectrum ReadSpectrumFile(const std::string& path);

// Replaces stage 0, MaxFractionDigits and (when the file had one) the title. Stages 1 to 7
// and the zone table are left as they were.
void ApplyLoadedSpectrum(SpectrumState& state, LoadedSpectrum loaded);

// The lines of a spectrum file (without line ends): title block, then "%.5f" mass, five
// blanks, intensity in the general number form, for points first..last (none when last < first).
std::vector<std::string> SpectrumFileLines(const std::string& title, const PointList& points, int first, int last);

// WriteToFile: the whole spectrum with SpectrumTitle.
void WriteSpectrumFile(const std::string& path, const SpectrumState& state);

// WriteOtdelPik: points first..last of the spectrum, titled "<mass> пик". Indices outside the
// loaded spectrum are refused with an OrveloError before anything is written.
// `mass` is a whole number; a double, so that no nominal mass is out of range.
void WritePeakFile(const std::string& path, const SpectrumState& state, double mass, int first, int last);

// The proposed file name of the single-peak save dialog: "57peak.txt".
std::string PeakFileName(double mass);

}  // namespace orvelo
