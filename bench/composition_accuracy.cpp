// Accuracy of the elemental compositions on spectra of known ions (not run by the tests; see
// composition_accuracy.sh).
//
//   composition_accuracy generate DIR [SEED]  writes DIR/s<k>.txt, spectra of EI-like ions of C, H, N,
//                                       O, S, Cl, Br, Si and F up to m/z 700, singly and doubly
//                                       charged, every isotopologue at natural abundance, R from
//                                       1,000 to 10,000, Poisson noise; DIR/s<k>.truth the ions
//   composition_accuracy evaluate DIR [misses]
//                                       reads DIR/out<k>/results.tsv and formulas.tsv of
//                                       orvelo-batch and prints how often the true formula is
//                                       first and within the first five, beside the ranking by
//                                       the absolute mass deviation alone; with "misses" it
//                                       first lists the clean peaks whose formula is not in the five
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "composition/candidates.h"
#include "composition/formula_search.h"

using namespace orvelo;

namespace {

constexpr double kGaussK = 1.6651;  // the fit's model: exp(-(K R (c/x - 1))^2)
const int kResolvingPowers[] = {1000, 2000, 3000, 5000, 7000, 10000};
constexpr int kSpectraPerR = 2;
constexpr double kBackground = 3;

struct Ion {
    Formula f;
    double amplitude = 0;  // of the monoisotopic peak
    double mz = 0;
};

struct Line {
    double mz, amplitude;
};

// Every isotopologue above 1e-6 of the whole, as (m/z, fraction).
std::vector<Line> Isotopologues(const Formula& f) {
    std::vector<Line> dist{{0, 1}};
    for (int e = 0; e < kElementCount; ++e) {
        const Element& el = ElementOf(e);
        for (int n = 0; n < f.count(e); ++n) {
            std::vector<Line> next;
            for (const Line& d : dist)
                for (int k = 0; k < el.isotopeCount; ++k)
                    next.push_back({d.mz + el.isotopes[k].mass, d.amplitude * el.isotopes[k].abundance});
            std::sort(next.begin(), next.end(), [](const Line& a, const Line& b) { return a.mz < b.mz; });
            dist.clear();
            for (const Line& l : next) {
                if (l.amplitude < 1e-7) continue;
                if (!dist.empty() && l.mz - dist.back().mz < 1e-6) {
                    dist.back().mz = (dist.back().mz * dist.back().amplitude + l.mz * l.amplitude) /
                                     (dist.back().amplitude + l.amplitude);
                    dist.back().amplitude += l.amplitude;
                } else {
                    dist.push_back(l);
                }
            }
        }
    }
    std::vector<Line> out;
    for (const Line& d : dist)
        if (d.amplitude >= 1e-6) out.push_back({(d.mz - f.charge * kElectronMassU) / f.charge, d.amplitude});
    return out;
}

std::mt19937_64 rng(20261209);
int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
bool Chance(double p) { return Real(0, 1) < p; }

// An EI-like ion: a skeleton of carbon with a class of heteroatoms, hydrogen from its RDBE,
// odd-electron (integer RDBE) two times in five.
bool RandomIon(Formula& f, bool doubly) {
    f = Formula{};
    f.charge = doubly ? 2 : 1;
    auto set = [&](int e, int n) { f.counts[static_cast<std::size_t>(e)] = static_cast<int16_t>(n); };
    const int c = doubly ? Uniform(8, 50) : Uniform(1, 45);
    set(kC, c);
    const double kind = Real(0, 1);
    if (doubly) {
        if (Chance(0.4)) set(kN, Uniform(1, 2));
        if (Chance(0.3)) set(kO, Uniform(1, 3));
    } else if (kind < 0.25) {
    } else if (kind < 0.55) {
        set(kN, Chance(0.5) ? Uniform(1, 3) : 0);
        set(kO, Uniform(f.count(kN) ? 0 : 1, 5));
    } else if (kind < 0.67) {
        if (Chance(0.6)) set(kCl, Uniform(1, 4));
        else set(kBr, Uniform(1, 3));
        if (Chance(0.3)) set(kO, Uniform(1, 2));
    } else if (kind < 0.75) {
        set(kS, Uniform(1, 2));
        if (Chance(0.3)) set(kO, Uniform(1, 2));
        if (Chance(0.2)) set(kN, 1);
    } else if (kind < 0.85) {
        set(kSi, Uniform(1, std::min(3, std::max(1, c / 3))));
        set(kO, Uniform(0, f.count(kSi) + 1));
    } else {
        set(kF, Uniform(1, std::min(15, 2 * c + 1)));
    }
    const bool oddElectron = Chance(0.4);
    const int saturated2 = 2 + 2 * c + f.count(kN) + 2 * f.count(kSi) - f.count(kCl) - f.count(kBr) - f.count(kF);
    const int maxRdbe2 = std::min(2 * (c + 1), 30);
    int rdbe2 = 2 * Uniform(0, maxRdbe2 / 2) + (oddElectron ? 0 : 1);
    if (f.charge == 2) rdbe2 = 2 * Uniform(c / 4, maxRdbe2 / 2);  // dications of aromatics
    const int h = saturated2 - rdbe2;
    if (h < 0 || h > 120) return false;
    set(kH, h);
    const double m = IonMass(f);
    return m > 15 && m < 700;
}

std::vector<Ion> RandomIons() {
    std::vector<Ion> ions;
    std::vector<std::pair<double, double>> taken;  // m/z intervals of the clusters
    for (int tries = 0; tries < 20000 && ions.size() < 60; ++tries) {
        Ion ion;
        if (!RandomIon(ion.f, Chance(0.1))) continue;
        ion.mz = IonMass(ion.f);
        const std::vector<Line> lines = Isotopologues(ion.f);
        double lo = ion.mz - 1.5, hi = ion.mz;
        for (const Line& l : lines) hi = std::max(hi, l.mz);
        hi += 1.5;
        // Most clusters stand apart; one in eight may fall on another (not a clean peak then).
        const bool overlapAllowed = Chance(0.125);
        bool free = true;
        for (const auto& [a, b] : taken) free = free && (hi < a || lo > b);
        if (!free && !overlapAllowed) continue;
        taken.push_back({lo, hi});
        ion.amplitude = std::exp(Real(std::log(2000.0), std::log(200000.0)));
        ions.push_back(ion);
    }
    return ions;
}

int Generate(const std::string& dir) {
    int k = 0;
    for (const int R : kResolvingPowers)
        for (int s = 0; s < kSpectraPerR; ++s, ++k) {
            const std::vector<Ion> ions = RandomIons();
            // Each ion's isotopologues in counts, the monoisotopic line at its amplitude.
            std::vector<std::vector<Line>> patterns;
            for (const Ion& ion : ions) {
                std::vector<Line> iso = Isotopologues(ion.f);
                double mono = 0;
                for (const Line& l : iso)
                    if (std::abs(l.mz - ion.mz) < 1e-6) mono = l.amplitude;
                for (Line& l : iso) l.amplitude *= ion.amplitude / mono;
                patterns.push_back(std::move(iso));
            }
            std::vector<Line> lines;  // every isotopologue of every ion
            for (const std::vector<Line>& pattern : patterns)
                for (const Line& l : pattern)
                    if (l.amplitude > 0.5) lines.push_back(l);
            std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.mz < b.mz; });
            std::ofstream spectrum(dir + "/s" + std::to_string(k) + ".txt", std::ios::binary);
            spectrum << "\"Ions R " << R << "\"\r\n\"\"\r\n\"\"\r\n";
            std::size_t first = 0;
            char text[64];
            for (double x = 14; x < 705; x += x / (12.0 * R)) {
                double y = kBackground;
                const double reach = 4 * x / R;
                while (first < lines.size() && lines[first].mz < x - reach) ++first;
                for (std::size_t i = first; i < lines.size() && lines[i].mz < x + reach; ++i) {
                    const double t = kGaussK * R * (lines[i].mz / x - 1);
                    y += lines[i].amplitude * std::exp(-t * t);
                }
                const double counts = static_cast<double>(std::poisson_distribution<long>(y)(rng));
                std::snprintf(text, sizeof text, "%.6f\t%.0f\r\n", x, counts);
                spectrum << text;
            }
            // An ion's monoisotopic peak is clean when the other ions put less than 5% of its
            // height within two widths of it; its pattern is clean when the same holds for each
            // of its isotopologues of at least 5% of that height.
            std::ofstream truth(dir + "/s" + std::to_string(k) + ".truth");
            auto others = [&](std::size_t ion, double at) {
                double other = 0;
                for (std::size_t o = 0; o < ions.size(); ++o)
                    for (const Line& l : patterns[o])
                        if (o != ion && std::abs(l.mz - at) < 2 * ions[ion].mz / R) other += l.amplitude;
                return other;
            };
            for (std::size_t i = 0; i < ions.size(); ++i) {
                const Ion& ion = ions[i];
                const bool clean = others(i, ion.mz) < 0.05 * ion.amplitude;
                bool patternClean = clean;
                for (const Line& l : patterns[i])
                    if (l.amplitude >= 0.05 * ion.amplitude && l.mz > ion.mz + 0.5 / ion.f.charge)
                        patternClean = patternClean && others(i, l.mz) < 0.05 * l.amplitude;
                truth << HillText(ion.f) << '\t' << ion.f.charge << '\t' << std::to_string(ion.mz) << '\t'
                      << ion.amplitude << '\t' << R << '\t' << (clean ? 1 : 0) << '\t' << (patternClean ? 1 : 0)
                      << '\n';
            }
        }
    std::cout << k << " spectra\n";
    return 0;
}

std::vector<std::vector<std::string>> ReadTsv(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t')) cells.push_back(cell);
        if (!line.empty() && line.back() == '\t') cells.push_back("");
        rows.push_back(cells);
    }
    return rows;
}

struct Tally {
    int n = 0, found = 0, first = 0, five = 0, massFirst = 0, massFive = 0;
};

int Evaluate(const std::string& dir, bool listMisses) {
    const auto ranges = ParseElementRanges(kDefaultElementRanges).ranges;
    const FormulaSearch search(ranges, kDefaultMaxRdbe, 2 * 720);
    std::map<std::string, Tally> tallies;
    for (int k = 0;; ++k) {
        const auto truth = ReadTsv(dir + "/s" + std::to_string(k) + ".truth");
        if (truth.empty()) break;
        const auto results = ReadTsv(dir + "/out" + std::to_string(k) + "/results.tsv");
        const auto formulas = ReadTsv(dir + "/out" + std::to_string(k) + "/formulas.tsv");
        PeakResults peaks;  // what the charge rule needs: centre, error, amplitude
        for (std::size_t r = 1; r < results.size(); ++r) {
            PeakResult p;
            p.Centre = std::stod(results[r][1].empty() || results[r][1] == "Ошибка" ? "0" : results[r][1]);
            if (results[r][1] == "Ошибка") p.Height = kProblemPeakHeight;
            else {
                p.Errors[3] = std::stod(results[r][2]);
                p.Background = std::stod(results[r][7]);
                p.Height = p.Background + std::stod(results[r][8]);
                p.R = std::stod(results[r][5]);
            }
            peaks.push_back(p);
        }
        for (const auto& t : truth) {
            const double mz = std::stod(t[2]);
            const int R = std::stoi(t[4]);
            const bool clean = t[5] == "1";
            const std::string bin = mz < 200 ? "a <200" : mz < 400 ? "b 200-400" : "c 400-700";
            std::vector<std::string> keys{bin + (clean ? " clean" : " overlapped"),
                                          std::string("all") + (clean ? " clean" : " overlapped"),
                                          "all",
                                          mz < 300 && clean ? "clean <300" : "",
                                          t[1] == "2" ? "doubly charged" : "",
                                          "R " + std::to_string(R),
                                          t.size() > 6 && t[6] == "1" ? "all clean pattern" : ""};
            // The fitted peak of the ion: the nearest within a quarter width.
            long row = -1;
            double best = mz / R / 4;
            for (std::size_t r = 0; r < peaks.size(); ++r)
                if (!IsProblemPeak(peaks[r]) && std::abs(peaks[r].Centre - mz) < best) {
                    best = std::abs(peaks[r].Centre - mz);
                    row = static_cast<long>(r);
                }
            int rank = 0, massRank = 0;
            if (row >= 0) {
                for (std::size_t f = 1; f < formulas.size(); ++f)
                    if (formulas[f].size() > 3 && std::stol(formulas[f][0]) == row + 1 && formulas[f][3] == t[0])
                        rank = std::stoi(formulas[f][2]);
                // By the mass deviation alone, in the same window and with the same charge rule.
                const PeakResult& p = peaks[static_cast<std::size_t>(row)];
                const double sigma = std::max(p.Errors[3], kDefaultTolerancePpm * 1e-6 * p.Centre);
                std::vector<Formula> found;
                const int z = ChargeOfPeak(peaks, static_cast<std::size_t>(row), kDefaultTolerancePpm);
                search.Find(p.Centre - kCandidateWindowSigmas * sigma, p.Centre + kCandidateWindowSigmas * sigma, z,
                            found);
                double trueDelta = -1;
                for (const Formula& f : found)
                    if (HillText(f) == t[0]) trueDelta = std::abs(IonMass(f) - p.Centre);
                if (trueDelta >= 0) {
                    massRank = 1;
                    for (const Formula& f : found)
                        if (std::abs(IonMass(f) - p.Centre) < trueDelta) ++massRank;
                }
            }
            if (listMisses && clean && !(rank >= 1 && rank <= 5)) {
                std::printf("miss s%d R %d %s %s%s rank %d", k, R, t[0].c_str(), t[2].c_str(),
                            t.size() > 6 && t[6] == "1" ? " (clean pattern)" : "", rank);
                for (std::size_t f = 1; f < formulas.size(); ++f)
                    if (row >= 0 && formulas[f].size() > 10 && std::stol(formulas[f][0]) == row + 1 &&
                        (formulas[f][2] == "1" || formulas[f][3] == t[0]))
                        std::printf(" | %s %s dsig %s iso %s score %s", formulas[f][2].c_str(), formulas[f][3].c_str(),
                                    formulas[f][7].c_str(), formulas[f][9].c_str(), formulas[f][10].c_str());
                std::printf("\n");
            }
            for (const std::string& key : keys) {
                if (key.empty()) continue;
                Tally& tally = tallies[key];
                ++tally.n;
                tally.found += row >= 0;
                tally.first += rank == 1;
                tally.five += rank >= 1 && rank <= 5;
                tally.massFirst += massRank == 1;
                tally.massFive += massRank >= 1 && massRank <= 5;
            }
        }
    }
    std::printf("%-22s %5s %6s | %8s %8s | %8s %8s\n", "peaks", "n", "fitted", "first", "top5", "mass 1st",
                "mass top5");
    for (const auto& [key, t] : tallies) {
        auto pct = [&](int x) { return t.found ? 100.0 * x / t.found : 0.0; };
        std::printf("%-22s %5d %6d | %7.1f%% %7.1f%% | %7.1f%% %7.1f%%\n", key.c_str(), t.n, t.found, pct(t.first),
                    pct(t.five), pct(t.massFirst), pct(t.massFive));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 3 || argc == 4) && std::string(argv[1]) == "generate") {
        if (argc == 4) rng.seed(std::stoull(argv[3]));
        return Generate(argv[2]);
    }
    if ((argc == 3 || argc == 4) && std::string(argv[1]) == "evaluate")
        return Evaluate(argv[2], argc == 4 && std::string(argv[3]) == "misses");
    std::cerr << "usage: composition_accuracy generate DIR [SEED] | evaluate DIR\n";
    return 2;
}
