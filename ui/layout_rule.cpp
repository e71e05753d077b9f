#include "ui/layout_rule.h"

#include <algorithm>

namespace orvelo::ui {
namespace {

constexpr int kMargin = 20;
constexpr int kFrameMargin = 16;  // inside GroupBox5

int AtLeastZero(int v) { return std::max(v, 0); }

void FollowBottom(Box& b, int pageHeight, int margin = kMargin) { b.height = AtLeastZero(pageHeight - b.top - margin); }

}  // namespace

LayoutBoxes DesignLayout() {
    LayoutBoxes b;
    b.ListBox1 = {24, 40, 193, 600};
    b.Chart5 = {232, 200, 1000, 600};
    b.ListBox5 = {16, 40, 161, 600};
    b.GroupBox5 = {552, 112, 345, 600};
    b.ListBox2 = {16, 216, 313, 300};
    b.Button6 = {0, 8, 313, 97};
    b.Button4 = {328, 8, 273, 97};
    b.Button5 = {616, 8, 393, 97};
    b.Chart2 = {0, 112, 1000, 600};
    b.ListBox8 = {24, 104, 169, 600};
    b.ListBox9 = {208, 104, 441, 600};
    b.ListBox3 = {16, 104, 265, 600};
    b.ListBox4 = {296, 104, 297, 600};
    return b;
}

LayoutBoxes ApplyLayoutRule(const LayoutPages& pages, LayoutBoxes b) {
    FollowBottom(b.ListBox1, pages.settings.height);
    FollowBottom(b.Chart5, pages.settings.height);
    b.Chart5.width = AtLeastZero(pages.settings.width - b.Chart5.left - kMargin);

    FollowBottom(b.ListBox5, pages.calibrationMasses.height);
    FollowBottom(b.GroupBox5, pages.calibrationMasses.height);
    FollowBottom(b.ListBox2, b.GroupBox5.height, kFrameMargin);

    FollowBottom(b.ListBox8, pages.singlePeak.height);
    FollowBottom(b.ListBox9, pages.singlePeak.height);
    // The iteration lines take the page's width, so that none is cut off while the page has room
    // (at 669 pixels this is the design width, 441).
    b.ListBox9.width = AtLeastZero(pages.singlePeak.width - b.ListBox9.left - kMargin);

    FollowBottom(b.ListBox3, pages.testing.height);
    FollowBottom(b.ListBox4, pages.testing.height);

    const int third = pages.calibrationCurve.width / 3;
    const int w = AtLeastZero(third - 20);
    b.Button6.left = 10;
    b.Button6.width = w;
    b.Button4.left = third;
    b.Button4.width = w;
    b.Button5.left = 2 * w + 30;
    b.Button5.width = w;
    b.Chart2.width = AtLeastZero(pages.calibrationCurve.width);
    b.Chart2.height = AtLeastZero(pages.calibrationCurve.height - b.Chart2.top - 3);
    return b;
}

}  // namespace orvelo::ui
