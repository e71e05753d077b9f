#include "batch/scans.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <mutex>
#include <set>

#include "batch/auto_height.h"
#include "batch/centroids.h"
#include "batch/output.h"
#include "batch/run.h"
#include "batch/text_escape.h"
#include "core/errors.h"
#include "core/system_error.h"
#include "core/worker_pool.h"
#include "export/table_text.h"
#include "fitting/final_run.h"
#include "fitting/results_table.h"
#include "session/session.h"

namespace orvelo::batch {
namespace {

// The cells come from the file: a control character in one is written out, so that a cell
// stays one cell and a row one line.
std::string JoinTabs(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += '\t';
        line += EscapedControls(cells[i]);
    }
    return line;
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// What one scan of a whole run gave: its table rows (without the head), or why it was skipped.
struct ScanOutcome {
    std::vector<std::string> rows;
    int peaks = 0;
    int problems = 0;
    std::string skipped;  // empty: processed
    bool failed = false;  // skipped by an error rather than by its kind
    std::vector<CentroidPeak> centroids;
    int64_t height = 0;  // the noise height it was processed with
};

std::string KindReason(const ScanInfo& scan) {
    if (scan.representation == ScanRepresentation::Centroid) return "пропущен: центроидный спектр";
    return "пропущен: уровень MS " + (scan.msLevel > 0 ? std::to_string(scan.msLevel) : std::string("не указан")) +
           ", обрабатываются только спектры MS1";
}

// The same steps as a run on one spectrum, on one thread: the rows equal that run's results.tsv.
ScanOutcome ProcessScan(LoadedSpectrum loaded, int kolUsred, const Options& options) {
    Session session;
    session.RestoreRunSettings(kolUsred, std::nullopt);
    session.Load(std::move(loaded), {});
    session.RunPreliminaryHere();
    const int64_t height = BeginFinalRun(options, session);
    const FinalRunResult result = session.RunFinalHere(1);  // the scans themselves run in parallel
    ScanOutcome outcome;
    outcome.rows = TabSeparatedLines(ResultGrid(result.peaks), std::nullopt);
    outcome.rows.erase(outcome.rows.begin());  // the head
    outcome.peaks = static_cast<int>(result.peaks.size());
    outcome.problems = result.ProblemCount;
    outcome.centroids = CentroidPeaksOf(result.peaks, std::nullopt);
    outcome.height = height;
    return outcome;
}

class Progress {
public:
    explicit Progress(std::size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}
    void Step() {
        if (!shown_) return;
        std::lock_guard<std::mutex> lock(mutex_);
        std::cerr << "\rСпектров обработано: " << ++done_ << " из " << total_ << std::flush;
        if (done_ == total_) std::cerr << "\n";
    }

private:
    std::mutex mutex_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool shown_;
};

}  // namespace

void PrintScanTable(const MsDataFile& file, std::ostream& out) {
    out << JoinTabs(ScanTableHead()) << '\n';
    for (const ScanInfo& scan : file.scans()) out << JoinTabs(ScanTableRow(scan)) << '\n';
}

namespace {

struct ScanRange {
    int first = 0, last = 0;
};

// The ranges of a list such as "1,3,5-9", or why it is no such list.
std::vector<ScanRange> ScanRanges(const std::string& text, std::string& why) {
    std::vector<ScanRange> ranges;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view part(text.data() + start, comma - start);
        const std::size_t dash = part.find('-');
        const std::optional<int> first = WholeNumber(part.substr(0, dash));
        const std::optional<int> last = dash == std::string_view::npos ? first : WholeNumber(part.substr(dash + 1));
        if (!first || !last) {
            why = "ожидаются номера и диапазоны вида 1,3,5-9 или all";
            return {};
        }
        if (*first < 1) {
            why = "номера спектров начинаются с 1";
            return {};
        }
        if (*first > *last) {
            why = "диапазон " + std::string(part) + " идёт от большего номера к меньшему; нужно " +
                  std::to_string(*last) + "-" + std::to_string(*first);
            return {};
        }
        ranges.push_back({*first, *last});
        start = comma + 1;
    }
    return ranges;
}

std::string ChoiceRefusal(const std::string& text, const std::string& why) {
    return "Недопустимый выбор спектров \"" + EscapedControls(text) + "\": " + why;
}

}  // namespace

std::optional<std::string> ScanChoiceSyntaxError(const std::string& text) {
    if (text == "all") return std::nullopt;
    std::string why;
    if (ScanRanges(text, why).empty()) return ChoiceRefusal(text, why);
    return std::nullopt;
}

ScanChoice ParseScanChoice(const std::string& text, int scanCount) {
    ScanChoice choice;
    if (text == "all") {
        choice.all = true;
        for (int n = 1; n <= scanCount; ++n) choice.numbers.push_back(n);
        return choice;
    }
    std::string why;
    const std::vector<ScanRange> ranges = ScanRanges(text, why);
    if (ranges.empty()) throw OrveloError(ChoiceRefusal(text, why));
    if (scanCount == 0) throw OrveloError(ChoiceRefusal(text, "в файле нет ни одного спектра"));
    std::set<int> numbers;
    for (const ScanRange& r : ranges) {
        if (r.last > scanCount)
            throw OrveloError(ChoiceRefusal(text, "номера спектров файла от 1 до " + std::to_string(scanCount)));
        for (int n = r.first; n <= r.last; ++n) numbers.insert(n);
    }
    choice.numbers.assign(numbers.begin(), numbers.end());
    return choice;
}

LoadedScan LoadOneScan(const MsDataFile& file, const std::optional<std::string>& scan) {
    int number = file.DefaultScan();
    if (scan) {
        const ScanChoice choice = ParseScanChoice(*scan, static_cast<int>(file.scans().size()));
        number = choice.numbers.front();
    }
    return {file.LoadScan(number), file.SourceOf(number)};
}

int RunScans(const Options& options, int kolUsred, const MsDataFile& file, const ScanChoice& choice, Output& output) {
    const int jobs = JobCount(options.jobs);
    if (choice.numbers.empty()) throw OrveloError("Ни один спектр не обработан: в файле нет ни одного спектра");

    const std::vector<ScanInfo>& scans = file.scans();
    std::vector<ScanOutcome> outcomes(choice.numbers.size());
    std::vector<std::size_t> work;  // indices into choice.numbers of the scans to process
    for (std::size_t k = 0; k < choice.numbers.size(); ++k) {
        const ScanInfo& scan = scans[static_cast<std::size_t>(choice.numbers[k] - 1)];
        if (scan.ms1Profile()) work.push_back(k);
        else outcomes[k] = {{}, 0, 0, KindReason(scan), !choice.all, {}, 0};
    }

    // The file is read by one thread at a time; the processing of the scans runs in parallel.
    std::mutex fileMutex;
    std::size_t next = 0;
    Progress progress(work.size());
    const auto worker = [&] {
        for (;;) {
            std::size_t k;
            LoadedSpectrum loaded;
            std::string error;
            {
                std::lock_guard<std::mutex> lock(fileMutex);
                if (next == work.size()) return;
                k = work[next++];
                try {
                    loaded = file.LoadScan(choice.numbers[k]);
                } catch (const std::exception& e) {
                    error = ErrorMessage(e);
                }
            }
            if (error.empty()) {
                try {
                    outcomes[k] = ProcessScan(std::move(loaded), kolUsred, options);
                } catch (const std::exception& e) {
                    error = ErrorMessage(e);
                }
            }
            if (!error.empty()) outcomes[k] = {{}, 0, 0, "ошибка: " + error, true, {}, 0};
            progress.Step();
        }
    };
    {
        // This thread works too: a system that gives no more threads slows the run, never ends it.
        const int wanted = std::min<int>(jobs, static_cast<int>(work.size())) - 1;
        WorkerPool threads(wanted, [&](int) { worker(); });
        if (threads.started() < wanted)
            std::cerr << "Потоков запущено " << threads.started() + 1 << " из " << wanted + 1
                      << ": система не дала больше (" << SystemErrorText(threads.error()) << ")\n";
        worker();
    }

    std::vector<std::string> all{"Спектр\tВремя, мин\t" +
                                 JoinTabs({ResultsTableHeads().begin(), ResultsTableHeads().end()})};
    std::vector<std::string> list{"Спектр\tId\tВремя, мин\tПиков\tПроблемных пиков\tПропущен"};
    // With --threshold auto a last column gives each scan's chosen height.
    const bool autoHeight = AutoThreshold(options);
    if (autoHeight) list.front() += "\tПорог";
    int status = 0;
    for (std::size_t k = 0; k < choice.numbers.size(); ++k) {
        const ScanInfo& scan = scans[static_cast<std::size_t>(choice.numbers[k] - 1)];
        const ScanOutcome& o = outcomes[k];
        const std::string lead = std::to_string(scan.number) + "\t";
        const std::string id = EscapedControls(scan.id), skipped = EscapedControls(o.skipped);
        const std::string time = RetentionTimeText(scan.retentionTime);
        for (const std::string& row : o.rows) all.push_back(lead + time + "\t" + row);
        if (o.skipped.empty())
            list.push_back(lead + id + "\t" + time + "\t" + std::to_string(o.peaks) + "\t" +
                           std::to_string(o.problems) + "\t");
        else list.push_back(lead + id + "\t" + time + "\t\t\t" + skipped);
        if (autoHeight) list.back() += "\t" + (o.skipped.empty() ? std::to_string(o.height) : std::string());
        if (o.failed) {
            std::cerr << "Спектр " << scan.number << ": " << skipped << "\n";
            status = 1;
        }
    }
    output.WriteUtf8("results-all.tsv", all);
    output.WriteUtf8("scans.tsv", list);
    if (options.centroidMzml) {
        std::vector<CentroidSpectrum> spectra;
        for (std::size_t k = 0; k < choice.numbers.size(); ++k)
            if (outcomes[k].skipped.empty())
                spectra.push_back({file.SourceOf(choice.numbers[k]), outcomes[k].centroids});
        output.WriteBytes(kCentroidFileName, CentroidFileBytes(spectra, options.spectrum, std::nullopt));
    }
    if (work.empty()) {
        std::cerr << "Ни один спектр не обработан: среди " << (choice.all ? "" : "выбранных ") << choice.numbers.size()
                  << " спектров файла нет спектров MS1 в профильном виде\n";
        status = 1;
    }
    return status;
}

}  // namespace orvelo::batch
