#include "batch/scans.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <mutex>
#include <set>
#include <thread>

#include "batch/output.h"
#include "batch/run.h"
#include "core/errors.h"
#include "export/table_text.h"
#include "fitting/final_run.h"
#include "fitting/results_table.h"
#include "processing/preliminary.h"

namespace orvelo::batch {
namespace {

std::string JoinTabs(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
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
};

std::string KindReason(const ScanInfo& scan) {
    if (scan.representation == ScanRepresentation::Centroid) return "пропущен: центроидный спектр";
    return "пропущен: уровень MS " + (scan.msLevel > 0 ? std::to_string(scan.msLevel) : std::string("не указан")) +
           ", обрабатываются только спектры MS1";
}

// The same steps as a run on one spectrum, on one thread: the rows equal that run's results.tsv.
ScanOutcome ProcessScan(LoadedSpectrum loaded, int kolUsred, int64_t height, bool flat) {
    SpectrumState state;
    state.KolUsred = kolUsred;
    ApplyLoadedSpectrum(state, std::move(loaded));
    RunPreliminary(state);
    const FinalRunResult result = RunFinalSteps(state, height, flat, 1);  // the scans themselves run in parallel
    ScanOutcome outcome;
    outcome.rows = TabSeparatedLines(ResultGrid(result.peaks), std::nullopt);
    outcome.rows.erase(outcome.rows.begin());  // the head
    outcome.peaks = static_cast<int>(result.peaks.size());
    outcome.problems = result.ProblemCount;
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

int JobCount(const std::optional<std::string>& text) {
    if (!text) return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const std::optional<int> jobs = WholeNumber(*text);
    if (!jobs || *jobs < 1) throw OrveloError("Число потоков --jobs должно быть целым числом от 1: \"" + *text + "\"");
    return *jobs;
}

}  // namespace

void PrintScanTable(const MsDataFile& file, std::ostream& out) {
    out << JoinTabs(ScanTableHead()) << '\n';
    for (const ScanInfo& scan : file.scans()) out << JoinTabs(ScanTableRow(scan)) << '\n';
}

ScanChoice ParseScanChoice(const std::string& text, int scanCount) {
    ScanChoice choice;
    const auto refuse = [&](const std::string& why) -> ScanChoice {
        throw OrveloError("Недопустимый выбор спектров \"" + text + "\": " + why);
    };
    if (text == "all") {
        choice.all = true;
        for (int n = 1; n <= scanCount; ++n) choice.numbers.push_back(n);
        return choice;
    }
    std::set<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view part(text.data() + start, comma - start);
        const std::size_t dash = part.find('-');
        const std::optional<int> first = WholeNumber(part.substr(0, dash));
        const std::optional<int> last = dash == std::string_view::npos ? first : WholeNumber(part.substr(dash + 1));
        if (!first || !last || *first > *last) return refuse("ожидаются номера и диапазоны вида 1,3,5-9 или all");
        if (*first < 1 || *last > scanCount)
            return refuse("номера спектров файла от 1 до " + std::to_string(scanCount));
        for (int n = *first; n <= *last; ++n) numbers.insert(n);
        start = comma + 1;
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

int RunScans(const Options& options, int kolUsred, int64_t height, const MsDataFile& file, const ScanChoice& choice,
             Output& output) {
    const int jobs = JobCount(options.jobs);

    const std::vector<ScanInfo>& scans = file.scans();
    std::vector<ScanOutcome> outcomes(choice.numbers.size());
    std::vector<std::size_t> work;  // indices into choice.numbers of the scans to process
    for (std::size_t k = 0; k < choice.numbers.size(); ++k) {
        const ScanInfo& scan = scans[static_cast<std::size_t>(choice.numbers[k] - 1)];
        if (scan.ms1Profile()) work.push_back(k);
        else outcomes[k] = {{}, 0, 0, KindReason(scan), !choice.all};
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
                    error = e.what();
                }
            }
            if (error.empty()) {
                try {
                    outcomes[k] = ProcessScan(std::move(loaded), kolUsred, height, options.flat);
                } catch (const std::exception& e) {
                    error = e.what();
                }
            }
            if (!error.empty()) outcomes[k] = {{}, 0, 0, "ошибка: " + error, true};
            progress.Step();
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < std::min<int>(jobs, static_cast<int>(work.size())); ++t) threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads) t.join();

    std::vector<std::string> all{"Спектр\tВремя, мин\t" + JoinTabs({ResultsTableHeads().begin(), ResultsTableHeads().end()})};
    std::vector<std::string> list{"Спектр\tId\tВремя, мин\tПиков\tПроблемных пиков\tПропущен"};
    int status = 0;
    for (std::size_t k = 0; k < choice.numbers.size(); ++k) {
        const ScanInfo& scan = scans[static_cast<std::size_t>(choice.numbers[k] - 1)];
        const ScanOutcome& o = outcomes[k];
        const std::string lead = std::to_string(scan.number) + "\t";
        const std::string time = RetentionTimeText(scan.retentionTime);
        for (const std::string& row : o.rows) all.push_back(lead + time + "\t" + row);
        if (o.skipped.empty())
            list.push_back(lead + scan.id + "\t" + time + "\t" + std::to_string(o.peaks) + "\t" +
                           std::to_string(o.problems) + "\t");
        else
            list.push_back(lead + scan.id + "\t" + time + "\t\t\t" + o.skipped);
        if (o.failed) {
            std::cerr << "Спектр " << scan.number << ": " << o.skipped << "\n";
            status = 1;
        }
    }
    output.WriteUtf8("results-all.tsv", all);
    output.WriteUtf8("scans.tsv", list);
    return status;
}

}  // namespace orvelo::batch
