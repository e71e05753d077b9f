#include "ui/support/ch_spectrum.h"

#include <QLineEdit>
#include <QSignalSpy>

#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "core/text_file.h"
#include "support/synthetic_spectrum.h"
#include "ui/final_run.h"

namespace orvelo::ui::testing {

const std::vector<double>& CHTrueMasses() {
    static const std::vector<double> masses = {29.03915, 43.05481, 57.07047, 71.08613, 85.10179};
    return masses;
}

double ShiftedMass(double trueMass) { return trueMass + 0.005 + 0.0001 * trueMass; }

QString WriteCHSpectrum(const QString& path) {
    orvelo::testing::SyntheticSpectrum s;
    double height = 2000;
    for (double m : CHTrueMasses()) {
        s.peaks.push_back({ShiftedMass(m), 3000, height});
        height += 2000;
    }
    s.massFirst = 25;
    s.massLast = 90;
    s.spacing = 0.001;
    s.baseline = 20;
    s.noiseAmplitude = 10;  // well under the threshold of 100, but enough to give the fits an error
    s.seed = 29;
    s.integral = true;
    const PointList points = s.Generate();
    WriteTextFile(path.toStdString(),
                  SpectrumFileLines("Пять ионов CH", points, 0, static_cast<int>(points.x.size()) - 1));
    return path;
}

void ProcessCHSpectrum(WindowFixture& f) {
    f.preliminary(5);
    f.find<QLineEdit>("Edit4")->setText(QStringLiteral("100"));
    QSignalSpy ended(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    f.button("Button13")->click();
    if (f.window->finalRunCommands().running()) QVERIFY(ended.wait(60000));
}

void LoadAndProcess(WindowFixture& f, const QString& path) {
    f.open(path);
    ProcessCHSpectrum(f);
}

ProcessedWindow::ProcessedWindow() {
    LoadAndProcess(*this, WriteCHSpectrum(dir.filePath("ch.txt")));
    messages->clear();
}

void ProcessedWindow::completeList() {
    for (int i = 0; i < 5; ++i) take(i);
    for (int i = 0; i < 5; ++i) attachTyped(i, QString::fromStdString(FormatGeneral(CHTrueMasses()[i])));
}

}  // namespace orvelo::ui::testing
