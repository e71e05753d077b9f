#include "batch/options.h"

#include <algorithm>
#include <charconv>
#include <thread>

#include "batch/auto_calibrate.h"
#include "batch/formulas.h"
#include "batch/scans.h"
#include "batch/text_escape.h"
#include "core/number_text.h"
#include "fitting/final_run.h"

namespace orvelo::batch {

const char* const kUsage =
    "Запуск: orvelo-batch [--kolusred N] [--threshold H|auto [--flat] [--calibrate ФАЙЛ [--parabola]]]\n"
    "                     [--scan K|all|СПИСОК [--jobs N]] [--centroid-mzml] [--out ПАПКА] СПЕКТР\n"
    "        orvelo-batch --threshold H --auto-calibrate CH|CF|CH,CF [--tolerance MMU] [--parabola]\n"
    "                     [--ion-masses] [--kolusred N] [--flat] [--scan K] [--out ПАПКА] СПЕКТР\n"
    "        orvelo-batch --threshold H --formulas [ДИАПАЗОНЫ] [--formula-ppm X] --out ПАПКА СПЕКТР\n"
    "        orvelo-batch --list-scans ФАЙЛ\n"
    "\n"
    "Загружает СПЕКТР (текстовый файл спектра: необязательный заголовок, затем строки массы и\n"
    "интенсивности) и выполняет предварительную обработку. Без --out печатает список зон, а с\n"
    "--threshold — таблицу результатов окончательной обработки.\n"
    "  --kolusred N     число проходов усреднения (по умолчанию 150)\n"
    "  --threshold H    высота первого пика выше шума: запускает окончательную обработку;\n"
    "                   с auto — высота первой зоны выше шума каждого спектра, записанная в\n"
    "                   summary.txt (или в последний столбец scans.tsv)\n"
    "  --flat           подбирать пики с плоской вершиной вместо гауссовых\n"
    "  --calibrate ФАЙЛ калибровочные точки, по одной в строке: номер строки пика (от 0) в\n"
    "                   списке масс и истинная масса; пишет исправленный спектр calibrated.txt\n"
    "                   (нужен --out)\n"
    "  --auto-calibrate CH|CF|CH,CF  сопоставить пикам эти опорные ионы вместо --calibrate ФАЙЛ;\n"
    "                   пишет также auto-calibration.tsv (нужен --out)\n"
    "  --tolerance MMU  насколько измеренная масса может отстоять от иона (по умолчанию 100,\n"
    "                   меньше 500)\n"
    "  --parabola       провести через калибровочные точки параболу вместо линии\n"
    "  --ion-masses     опорные массы положительных ионов (нейтральная минус масса электрона)\n"
    "  --formulas [ДИАПАЗОНЫ]  пять лучших элементных формул каждого пика в ПАПКА/formulas.tsv;\n"
    "                   ДИАПАЗОНЫ вида C0-60H0-120N0-6O0-10S0-4Cl0-6Br0-4Si0-4F0-30P0-2I0-2\n"
    "                   (по умолчанию)\n"
    "  --formula-ppm X  допуск масс для --formulas в ppm (по умолчанию 2)\n"
    "  --centroid-mzml  записать подобранные пики в ПАПКА/centroids.mzML: по спектру центроидов\n"
    "                   на каждый обработанный спектр, с массивами FWHM_ppm и mz_standard_error\n"
    "                   (нужны --threshold и --out)\n"
    "  --out ПАПКА      записать файлы результата в ПАПКУ, все вместе или ни одного; список\n"
    "                   файлов запуска — в ПАПКА/run-files.txt\n"
    "  --list-scans     напечатать спектры файла mzML или mzXML, по строке на спектр\n"
    "  --scan K         обработать спектр K файла mzML или mzXML (по умолчанию первый спектр\n"
    "                   MS1 в профильном виде); с all или списком вроде 1,3,5-9 — каждый\n"
    "                   выбранный спектр MS1 в профильном виде, в ПАПКА/results-all.tsv и\n"
    "                   ПАПКА/scans.tsv (нужны --threshold и --out)\n"
    "  --jobs N         потоков для нескольких спектров, от 1 до 256 (по умолчанию все ядра)\n"
    "  --help           показать этот текст\n"
    "\n"
    "Код выхода: 0 — успех, 1 — ошибка обработки или файлов, 2 — неверная командная строка.\n";

namespace {

bool IsOption(const std::string& a) { return a.size() > 1 && a[0] == '-' && a[1] == '-'; }

std::string Quoted(const std::string& text) { return "\"" + EscapedControls(text) + "\""; }

// The values that need no file are checked with the command line: a bad one is a usage error.
void CheckValues(const Options& o) {
    if (o.outDir && o.outDir->empty()) throw UsageError{"--out: имя папки пусто"};
    if (o.outDir && (*o.outDir)[0] == '-')
        throw UsageError{"--out: имя папки " + Quoted(*o.outDir) +
                         " начинается с \"-\" и похоже на ключ; папку с таким именем задают как ./" + *o.outDir};
    if (o.kolUsred && !ParseInt32(*o.kolUsred))
        throw UsageError{"--kolusred: число проходов усреднения должно быть целым числом, а не " + Quoted(*o.kolUsred)};
    if (o.threshold && !AutoThreshold(o) && !CheckNoiseHeight(*o.threshold))
        throw UsageError{"--threshold: недопустимое значение высоты " + Quoted(*o.threshold) +
                         ": нужно целое неотрицательное число"};
    if (o.scan)
        if (const std::optional<std::string> why = ScanChoiceSyntaxError(*o.scan)) throw UsageError{*why};
    if (o.jobs) JobCount(o.jobs);
}

}  // namespace

bool SeveralScans(const Options& o) {
    return o.scan && (*o.scan == "all" || o.scan->find_first_of(",-") != std::string::npos);
}

int JobCount(const std::optional<std::string>& text) {
    if (!text) return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxJobs);
    int jobs = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), jobs);
    if (text->empty() || ec != std::errc() || end != text->data() + text->size() || jobs < 1 || jobs > kMaxJobs)
        throw UsageError{"--jobs: число потоков должно быть целым числом от 1 до " + std::to_string(kMaxJobs) +
                         ", а не " + Quoted(*text)};
    return jobs;
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    bool haveSpectrum = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A value never is the next option: "--out --kolusred" lacks its folder.
        auto value = [&](const char* name) -> std::string {
            if (i + 1 >= args.size() || IsOption(args[i + 1]))
                throw UsageError{std::string("после ") + name + " нужно значение"};
            return args[++i];
        };
        if (a == "--kolusred") o.kolUsred = value("--kolusred");
        else if (a == "--out") o.outDir = value("--out");
        else if (a == "--threshold") o.threshold = value("--threshold");
        else if (a == "--calibrate") o.calibrate = value("--calibrate");
        else if (a == "--auto-calibrate") o.autoCalibrate = value("--auto-calibrate");
        else if (a == "--tolerance") o.tolerance = value("--tolerance");
        else if (a == "--ion-masses") o.ionMasses = true;
        else if (a == "--scan") o.scan = value("--scan");
        else if (a == "--jobs") o.jobs = value("--jobs");
        else if (a == "--list-scans") o.listScans = true;
        else if (a == "--formula-ppm") o.formulaPpm = value("--formula-ppm");
        else if (a.rfind("--formulas=", 0) == 0) o.formulas = a.substr(11);
        else if (a == "--formulas") {
            // The ranges are optional: the next word is taken when it reads as ranges and is
            // not the spectrum (the last word while none has been named).
            const bool next = i + 1 < args.size() && LooksLikeElementRanges(args[i + 1]);
            o.formulas = next && (haveSpectrum || i + 2 < args.size()) ? args[++i] : std::string();
        } else if (a == "--centroid-mzml") o.centroidMzml = true;
        else if (a == "--flat") o.flat = true;
        else if (a == "--parabola") o.parabola = true;
        else if (a == "--help" || a == "-h") throw UsageError{{}, true};
        else if (a == "-") throw UsageError{"спектр не читается со стандартного ввода: укажите имя его файла"};
        else if (a.size() > 1 && a[0] == '-') throw UsageError{"неизвестный ключ " + Quoted(a)};
        else if (haveSpectrum) throw UsageError{"можно указать только один файл спектра"};
        else {
            o.spectrum = a;
            haveSpectrum = true;
        }
    }
    if (!haveSpectrum) throw UsageError{"не указан файл спектра"};
    if ((o.flat || o.calibrate) && !o.threshold) throw UsageError{"--flat и --calibrate требуют --threshold"};
    if (o.parabola && !o.calibrate && !o.autoCalibrate)
        throw UsageError{"--parabola требует --calibrate или --auto-calibrate"};
    if (o.calibrate && !o.outDir) throw UsageError{"--calibrate требует --out (исправленный спектр — это файл)"};
    CheckAutoCalibrationOptions(o);
    CheckFormulaOptions(o);
    if (o.listScans && (o.scan || o.threshold || o.kolUsred || o.outDir))
        throw UsageError{"--list-scans не сочетается с другими ключами"};
    if (SeveralScans(o) && (!o.threshold || !o.outDir))
        throw UsageError{"--scan с несколькими спектрами требует --threshold и --out"};
    if (SeveralScans(o) && (o.calibrate || o.autoCalibrate))
        throw UsageError{"калибровка выполняется по одному спектру"};
    if (o.centroidMzml && (!o.threshold || !o.outDir)) throw UsageError{"--centroid-mzml требует --threshold и --out"};
    if (o.jobs && !SeveralScans(o)) throw UsageError{"--jobs требует --scan с несколькими спектрами"};
    CheckValues(o);
    return o;
}

}  // namespace orvelo::batch
