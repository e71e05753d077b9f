#pragma once
// The theoretical CH and CF mass-defect series ("Теория CH", "Теория CF") against the measured
// peaks, the hover marks of the measured points, and the CH text exports (the two saw files and
// the list for a spreadsheet) as line lists for WriteTextFile.
//
// Defects are in mmu: the CH charts measure from the whole number below,
// (M - floor(M)) * 1000 in 0 .. 1000; the CF charts from the nearest whole number (halves to
// even), (M - round(M)) * 1000 in -500 .. 500.
#include <string>
#include <vector>

#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"
#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

double CHDefectMmu(double mass);
double CFDefectMmu(double mass);

// A measured series: points in ascending x, and for point v the index in PeakResults of the peak
// it was made from (the hover mark shows that peak).
struct PracticeSeries {
    PointList points;
    std::vector<int> peakIndex;
};

struct TheoryChart {
    PointList theory;         // Series9 (CH) or Series12 (CF)
    PracticeSeries practice;  // Series10 (CH, problem peaks left out) or Series13 (CF, every peak)
};

TheoryChart CreateTeoriaCH(const ReferenceTables& tables, const PeakResults& peaks);
TheoryChart CreateTeoriaCF(const ReferenceTables& tables, const PeakResults& peaks);

// The mark text of practice point `valueIndex`: when hints are on and it is the point under the
// cursor, "M = 57.071\rR = 1523\rV = 8410" ('\r' between the lines); otherwise empty (no mark).
std::string HoverMarkText(const PracticeSeries& series, const PeakResults& peaks, int valueIndex, int hoverIndex,
                          bool hintyCHCF);

// Save-dialog texts of the CH exports (the filter in the program's own "caption|mask|..." form).
inline constexpr const char* kPilaTheoryDialogTitle = "Сохранить пилу CH (теория)";
inline constexpr const char* kPilaTheoryFileName = "CH_t.txt";
inline constexpr const char* kPilaPracticeDialogTitle = "Сохранить пилу CH (практика)";
inline constexpr const char* kPilaPracticeFileName = "CH_p.txt";
inline constexpr const char* kPilaFilter = "Текст (*.txt)|*.TXT|Все (*.*)|*.*";
inline constexpr const char* kCHListDialogTitle = "Сохранить список CH для Excel";
inline constexpr const char* kCHListFileName = "СписокCH.txt";
inline constexpr const char* kCHListFilter = "TXT (*.txt)|*.TXT|Все (*.*)|*.*";

// PilaCHToFile: '"Пила CH (теория)"' (or "(практика)"), two lines '""', then one line per point:
// x "%.0f", a tab, y "%.0f". With ion masses the theory's title is "Пила CH (теория, массы ионов)".
std::vector<std::string> PilaCHTheoryLines(const PointList& series9,
                                           ReferenceMassKind kind = ReferenceMassKind::Neutral);
std::vector<std::string> PilaCHPracticeLines(const PointList& series10);

// WriteCHList: per CHList row "16.03132\tC 1 H 4\tмолек" (the tab and "молек" only for
// saturated rows), no heading.
std::vector<std::string> CHListLines(const std::vector<IonRow>& chList);

}  // namespace orvelo
