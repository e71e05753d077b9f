#pragma once
// The layout rule, applied at start-up and on every change of the window size: the lists and
// charts that end near the bottom or right edge of their page follow it with a margin of 20
// pixels. Plain arithmetic over sizes, so the examples can be checked without a window.
//
//   page "Отдельный пик" 668 wide:  ListBox9.width = 668 - 208 - 20 = 440 (669: 441, the design)
//   page "Калибровочная кривая" 1009 wide: third = 336, w = 316;
//     Button6 at 10, Button4 at 336, Button5 at 2*316 + 30 = 662, each 316 wide
namespace orvelo::ui {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

struct PageSize {
    int width = 0, height = 0;
};

struct LayoutPages {
    PageSize settings;           // "Настройка"
    PageSize calibrationMasses;  // "Калибровочные массы"
    PageSize calibrationCurve;   // "Калибровочная кривая"
    PageSize singlePeak;         // "Отдельный пик"
    PageSize testing;            // "Тестирование"
};

// The boxes the rule changes (ListBox2 relative to GroupBox5, the others to their page).
struct LayoutBoxes {
    Box ListBox1, Chart5;
    Box ListBox5, GroupBox5, ListBox2;
    Box Button6, Button4, Button5, Chart2;
    Box ListBox8, ListBox9;
    Box ListBox3, ListBox4;
    bool operator==(const LayoutBoxes&) const = default;
};

// The places at design size (sizes the rule recomputes are given as at design size).
LayoutBoxes DesignLayout();

// Sizes below zero become zero.
LayoutBoxes ApplyLayoutRule(const LayoutPages& pages, LayoutBoxes boxes);

}  // namespace orvelo::ui
