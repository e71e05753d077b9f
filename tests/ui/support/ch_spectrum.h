#pragma once
// A spectrum of five hydrocarbon ions (C2H5 .. C6H13) whose masses are all shifted by a known
// line, m -> m + 0.005 + 0.0001 m, as an uncalibrated instrument would show them; and the
// window steps that process it (KolUsred 5, noise threshold 100).
#include <QString>
#include <vector>

#include "ui/support/window_fixture.h"

namespace orvelo::ui::testing {

// C2H5, C3H7, C4H9, C5H11, C6H13.
const std::vector<double>& CHTrueMasses();
double ShiftedMass(double trueMass);

// Samples every 0.001 from 25 to 90, resolving power 3000, heights 2000, 4000 .. 10000 over a
// baseline of 20 with a uniform noise of +-10.
QString WriteCHSpectrum(const QString& path);

// "Предварительная" with KolUsred 5, then "Последняя" with the threshold 100 typed into Edit4;
// waits for the end of the run.
void ProcessCHSpectrum(WindowFixture& f);

// Load and process; afterwards ListBox5 holds the five peaks.
void LoadAndProcess(WindowFixture& f, const QString& path);

// A window with the CH spectrum loaded and processed, its messages cleared.
struct ProcessedWindow : WindowFixture {
    ProcessedWindow();
    // Every peak taken with its true mass typed.
    void completeList();
};

}  // namespace orvelo::ui::testing
