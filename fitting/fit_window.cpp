#include "fitting/fit_window.h"

#include <algorithm>
#include <cmath>

namespace orvelo {

MassIndex::MassIndex(const std::vector<double>& x) : x_(&x) {
    if (std::is_sorted(x.begin(), x.end())) return;
    runningMax_.resize(x.size());
    double top = -INFINITY;
    for (std::size_t i = 0; i < x.size(); ++i) runningMax_[i] = top = std::max(top, x[i]);
}

int MassIndex::FirstAtOrAbove(double mass) const {
    const std::vector<double>& keys = runningMax_.empty() ? *x_ : runningMax_;
    if (std::isnan(mass)) return static_cast<int>(keys.size());
    return static_cast<int>(std::lower_bound(keys.begin(), keys.end(), mass) - keys.begin());
}

FitSource::FitSource(const PointList& spectrum, const PointList& smooth, double gaussPower)
    : spectrum_(&spectrum),
      smooth_(&smooth),
      gaussPower_(gaussPower),
      spectrumIndex_(spectrum.x),
      smoothIndex_(smooth.x) {}

FitWindow FitSource::Window(double left, double right) const {
    FitWindow w;
    const int count = spectrum_->count();
    w.first = spectrumIndex_.FirstAtOrAbove(left);
    // No sample reaching Right: the window ends at the last sample.
    w.last = std::min(spectrumIndex_.FirstAtOrAbove(right), count - 1);
    w.N = std::max(0, w.last - w.first + 1);
    return w;
}

PeakInput FitSource::Input(double left, double right) const {
    PeakInput in;
    in.Left = left;
    in.Right = right;
    in.window = Window(left, right);
    const std::vector<double>& y = spectrum_->y;
    for (int i = in.window.first; i <= in.window.last; ++i) {
        if (y[i] > in.V) {
            in.V = y[i];
            in.centreIndex = i;
        }
    }
    in.Fon = in.V;
    for (int i = in.window.first; i <= in.window.last; ++i)
        if (!(y[i] >= in.Fon)) in.Fon = y[i];
    in.Center = in.centreIndex >= 0 ? spectrum_->x[in.centreIndex] : left;
    return in;
}

FitSamples FitSource::Samples(const FitWindow& w) const {
    FitSamples s;
    s.x = spectrum_->x.data();
    s.y = spectrum_->y.data();
    s.first = w.first;
    s.last = w.N > 0 ? w.last : w.first - 1;
    s.n = gaussPower_;
    return s;
}

double FitSource::LevelCrossing(Crossing mode, double level, double fromMass, int lastIndex) const {
    const std::vector<double>& xs = smooth_->x;
    const std::vector<double>& ys = smooth_->y;
    const int bound = std::min(lastIndex, smooth_->count() - 1);
    if (bound < 0) return fromMass;
    for (int j = smoothIndex_.FirstAtOrAbove(fromMass); j <= bound; ++j) {
        if (mode == Crossing::Rising ? ys[j] > level : ys[j] < level) return xs[j];
    }
    return xs[bound];
}

double FitSource::EstimateR(double height, double fromMass, double centre, int lastIndex) const {
    const double level = height / 2;
    const double x1 = LevelCrossing(Crossing::Rising, level, fromMass, lastIndex);
    const double x2 = LevelCrossing(Crossing::Falling, level, x1, lastIndex);
    if (x2 - x1 == 0) return 1000.0;
    return centre / (x2 - x1);
}

}  // namespace orvelo
