#include "core/spectrum_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "core/cp1251.h"
#include "core/errors.h"
#include "core/line_splitter.h"
#include "core/number_text.h"
#include "core/text_file.h"

namespace orvelo {

namespace {

constexpr std::size_t kLookedAtChars = 100;    // the rest of a longer line is skipped
constexpr std::size_t kNumberFieldChars = 21;  // a longer number is a range check error
constexpr double kDecimalIntensityScale = 1000.0;
// Far beyond any real spectrum (a million points take about 20 MB); keeps a wrongly chosen
// huge file from being read into memory whole.
constexpr std::size_t kMaxSpectrumFileBytes = std::size_t{1} << 30;

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'E' || c == 'e'; }

// The part of a line that is read: at most kLookedAtChars characters.
std::string_view LookedAt(std::string_view line) { return line.substr(0, kLookedAtChars); }

[[noreturn]] void ThrowRangeCheck(const char* text) { throw OrveloError(text); }

std::string LinePrefix(int lineNumber) { return "Строка " + std::to_string(lineNumber) + ": "; }

// A text spectrum never holds a zero byte; UTF-16 texts always do, binary files nearly always.
void RefuseZeroBytes(std::string_view bytes) {
    const auto* zero = static_cast<const char*>(std::memchr(bytes.data(), '\0', bytes.size()));
    if (zero == nullptr) return;
    LineSplitter lines(bytes);
    std::string_view line;
    while (lines.Next(line) && line.data() + line.size() <= zero) {
    }
    throw OrveloError(LinePrefix(lines.lineNumber()) +
                      "нулевой байт, файл двоичный или записан не в кодировке Windows-1251");
}

// " Test" from "\"Test\"": the opening quote becomes a blank, the last character is dropped.
// `line` is Windows-1251, or UTF-8 when `utf8`; the result is UTF-8.
std::string TitleFromLine(std::string_view line, bool utf8) {
    std::string title = utf8 ? CutToCharacters(line, kLookedAtChars) : Cp1251ToUtf8(LookedAt(line));
    title[0] = ' ';
    return CutToCharacters(title, CharCount(title) - 1);
}

// The masses must follow the direction of the first two points all through the file (equal
// neighbours allowed); `firstLine` is the file line of point 0.
void CheckMassOrder(const std::vector<double>& x, int firstLine) {
    const bool descending = x[0] > x[1];
    for (std::size_t i = 1; i < x.size(); ++i) {
        const bool wrong = descending ? x[i] > x[i - 1] : x[i] < x[i - 1];
        if (!wrong) continue;
        const std::string pair = " (" + FormatGeneral(x[i]) + " после " + FormatGeneral(x[i - 1]) + ")";
        throw OrveloError(LinePrefix(firstLine + static_cast<int>(i)) +
                          (descending ? "массы должны убывать, как в начале файла" : "массы должны возрастать") + pair);
    }
}

// Applies the x1000 scaling of files with decimal intensities and refuses values that are
// not finite numbers (or stop being finite when scaled).
void ScaleAndCheckValues(PointList& points, bool scale, int firstLine) {
    for (std::size_t i = 0; i < points.x.size(); ++i) {
        const double y = points.y[i];
        const double scaled = scale ? y * kDecimalIntensityScale : y;
        if (std::isfinite(points.x[i]) && std::isfinite(scaled)) {
            points.y[i] = scaled;
            continue;
        }
        const std::string where = LinePrefix(firstLine + static_cast<int>(i));
        if (!std::isfinite(points.x[i]) || !std::isfinite(y))
            throw OrveloError(where + "масса и интенсивность должны быть конечными числами");
        throw OrveloError(where + "интенсивность " + FormatGeneral(y) +
                          ", умноженная на 1000, выходит за пределы допустимых чисел");
    }
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "100,5 2000" or "100,5;2000,25": a comma between two digits and at least three runs of
// digits in the looked-at part of a line without any point. "100,2000" (two numbers
// separated by a comma) is not such a line.
bool LooksDecimalComma(std::string_view line) {
    line = LookedAt(line);
    if (line.find('.') != std::string_view::npos) return false;
    bool commaBetweenDigits = false;
    int digitRuns = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (IsDigit(line[i]) && (i == 0 || !IsDigit(line[i - 1]))) ++digitRuns;
        if (line[i] == ',' && i > 0 && i + 1 < line.size() && IsDigit(line[i - 1]) && IsDigit(line[i + 1]))
            commaBetweenDigits = true;
    }
    return commaBetweenDigits && digitRuns >= 3;
}

// The line as the operator would see it in a refusal: at most the looked-at characters.
std::string QuotedLine(std::string_view line) { return "\"" + Cp1251ToUtf8(LookedAt(line)) + "\""; }

// A refusal of ParseLine names the line after the program's own text.
[[noreturn]] void ThrowWithLine(const OrveloError& e, std::string_view line, int lineNumber) {
    const std::string what = IsBlank(line) ? "пустая строка среди данных" : QuotedLine(line);
    throw OrveloError(std::string(e.what()) + ". " + LinePrefix(lineNumber) + what);
}

void ReverseInPlace(PointList& points) {
    std::reverse(points.x.begin(), points.x.end());
    std::reverse(points.y.begin(), points.y.end());
}

}  // namespace

ParsedLine ParseLine(std::string_view line) {
    line = LookedAt(line);
    char first[kNumberFieldChars];
    char second[kNumberFieldChars];
    std::size_t firstLen = 0;
    std::size_t secondLen = 0;

    std::size_t i = 0;
    while (i < line.size() && !IsNumberChar(line[i])) ++i;
    for (; i < line.size() && IsNumberChar(line[i]); ++i) {
        if (firstLen == kNumberFieldChars) ThrowRangeCheck(kNumberTooLongError);
        first[firstLen++] = line[i];
    }
    // Every later number character belongs to the second number: "100 200 300" -> 200300.
    for (; i < line.size(); ++i) {
        if (!IsNumberChar(line[i])) continue;
        if (secondLen == kNumberFieldChars) ThrowRangeCheck(kNumberTooLongError);
        second[secondLen++] = line[i];
    }

    const std::string_view xText(first, firstLen);
    const std::string_view yText(second, secondLen);
    ParsedLine parsed;
    parsed.x = ParseNumberOrThrow(xText);
    parsed.y = ParseNumberOrThrow(yText);
    const std::size_t point = yText.find('.');
    if (point != std::string_view::npos) parsed.fractionDigits = static_cast<int>(secondLen - point - 1);
    return parsed;
}

LoadedSpectrum ParseSpectrumText(std::string_view bytes) {
    RefuseZeroBytes(bytes);
    SkipUtf8ByteOrderMark(bytes);
    LoadedSpectrum loaded;
    LineSplitter lines(bytes);
    std::string_view line;
    if (!bytes.empty() && bytes.front() == '"') {
        lines.Next(line);
        // Windows-1251 letters beyond ASCII practically never form valid UTF-8.
        loaded.title = TitleFromLine(line, IsValidUtf8(line));
        if (auto warning = TitleCharsWarning(*loaded.title)) loaded.warnings.push_back(std::move(*warning));
        lines.Next(line);  // lines 2 and 3 are ignored, whatever they hold
        lines.Next(line);
    }
    const int firstDataLine = lines.lineNumber() + 1;

    loaded.points.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    int firstBlank = 0;        // the first of the blank lines since the last data line
    int decimalCommaLine = 0;  // the first line written with a decimal comma
    bool anyPoint = false;
    while (lines.Next(line)) {
        if (IsBlank(line)) {
            if (firstBlank == 0) firstBlank = lines.lineNumber();
            continue;  // blank lines after the last data line are ignored
        }
        if (firstBlank != 0) ThrowWithLine(OrveloError(NotValidFloatMessage("")), "", firstBlank);
        ParsedLine parsed;
        try {
            parsed = ParseLine(line);
        } catch (const OrveloError& e) {
            ThrowWithLine(e, line, lines.lineNumber());
        }
        loaded.points.push(parsed.x, parsed.y);
        loaded.maxFractionDigits = std::max(loaded.maxFractionDigits, parsed.fractionDigits);
        if (!anyPoint) {  // once a point is seen, commas are separators and need no look
            anyPoint = LookedAt(line).find('.') != std::string_view::npos;
            if (decimalCommaLine == 0 && LooksDecimalComma(line)) decimalCommaLine = lines.lineNumber();
        }
    }
    // Where the numbers have points, a comma is a separator; in a file without any point a
    // comma between digits is a decimal comma, which would silently give wrong numbers.
    if (decimalCommaLine != 0 && !anyPoint)
        throw OrveloError(LinePrefix(decimalCommaLine) +
                          "числа записаны с десятичной запятой; нужна десятичная точка (100.5 2000)");
    if (loaded.points.count() < 2) ThrowRangeCheck(kTooFewPointsError);

    ScaleAndCheckValues(loaded.points, loaded.maxFractionDigits > 0, firstDataLine);
    CheckMassOrder(loaded.points.x, firstDataLine);
    if (loaded.points.x[0] > loaded.points.x[1]) ReverseInPlace(loaded.points);
    return loaded;
}

std::optional<std::string> TitleCharsWarning(const std::string& title) {
    const std::string outside = CharsOutsideCp1251(title);
    if (outside.empty()) return std::nullopt;
    std::string listed;
    for (std::size_t i = 0; i < outside.size(); ++i) {
        if (i > 0 && (static_cast<unsigned char>(outside[i]) & 0xC0) != 0x80) listed += ' ';
        listed += outside[i];
    }
    return "В названии спектра есть знаки, которых нет в кодировке Windows-1251: " + listed +
           "; в текстовых файлах они будут записаны как \"?\"";
}

LoadedSpectrum ReadSpectrumFile(const std::string& path) {
    return ParseSpectrumText(ReadFileBytes(path, kMaxSpectrumFileBytes));
}

void ApplyLoadedSpectrum(SpectrumState& state, LoadedSpectrum loaded) {
    state.Spectrum = std::move(loaded.points);
    state.MaxFractionDigits = loaded.maxFractionDigits;
    if (loaded.title) state.SpectrumTitle = std::move(*loaded.title);
}

std::vector<std::string> SpectrumFileLines(const std::string& title, const PointList& points, int first, int last) {
    const bool anyPoint = last >= first;
    if (anyPoint && (first < 0 || last >= points.count())) {
        const std::string range = "Точки " + std::to_string(first) + "–" + std::to_string(last);
        if (points.empty()) throw OrveloError(range + " лежат вне спектра: спектр не загружен");
        throw OrveloError(range + " лежат вне спектра: номера его точек от 0 до " + std::to_string(points.count() - 1));
    }
    std::vector<std::string> lines;
    lines.reserve(3 + (anyPoint ? static_cast<std::size_t>(last - first) + 1 : 0));
    lines.push_back("\"" + title + "\"");
    lines.emplace_back("\"\"");
    lines.emplace_back("\"\"");
    for (int i = first; i <= last; ++i)
        lines.push_back(FormatFixed(points.x[i], 5) + "     " + FormatGeneral(points.y[i]));
    return lines;
}

void WriteSpectrumFile(const std::string& path, const SpectrumState& state) {
    WriteTextFile(path, SpectrumFileLines(state.SpectrumTitle, state.Spectrum, 0, state.Spectrum.count() - 1));
}

void WritePeakFile(const std::string& path, const SpectrumState& state, double mass, int first, int last) {
    WriteTextFile(path, SpectrumFileLines(FormatFixed(mass, 0) + " пик", state.Spectrum, first, last));
}

std::string PeakFileName(double mass) { return FormatFixed(mass, 0) + "peak.txt"; }

}  // namespace orvelo
