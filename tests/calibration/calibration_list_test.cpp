#include <gtest/gtest.h>

#include "calibration/calibration_list.h"
#include "core/cp1251.h"

namespace orvelo {
namespace {

using Lines = std::vector<std::string>;

// "Все массы" of ten peaks: peak p at mass 10 p + 13, height 1000 + p.
Lines AllMassLines() {
    Lines lines;
    for (int p = 0; p < 10; ++p) lines.push_back(std::to_string(10 * p + 13) + ".0,  " + std::to_string(1000 + p));
    return lines;
}

TEST(CalibrationList, PeaksStayInPeakOrderWhateverOrderTheyAreTakenIn) {
    CalibrationList list;
    const Lines all = AllMassLines();
    for (int p : {7, 2, 5}) EXPECT_TRUE(list.TakePeak(p, all).changed());
    EXPECT_EQ(list.CalibIndex(), (std::vector<int>{2, 5, 7}));
    EXPECT_EQ(list.lines(), (Lines{all[2], all[5], all[7]}));
    EXPECT_EQ(list.CalibCount(), 3);
    EXPECT_EQ(list.ShowIndexLines(), (Lines{"0,  2", "1,  5", "2,  7"}));
    EXPECT_TRUE(list.TakePeak(9, all).changed());
    EXPECT_TRUE(list.TakePeak(0, all).changed());
    EXPECT_EQ(list.CalibIndex(), (std::vector<int>{0, 2, 5, 7, 9}));
}

TEST(CalibrationList, TakingAPeakTwiceIsRefusedAndChangesNothing) {
    CalibrationList list;
    const Lines all = AllMassLines();
    list.TakePeak(4, all);
    list.AttachTypedMass(0, "53.1");
    const Lines before = list.lines();
    const ListChange again = list.TakePeak(4, all);
    EXPECT_EQ(again.outcome, ListOutcome::AlreadyTaken);
    EXPECT_EQ(again.message, "Вы уже занесли этот пик");
    EXPECT_EQ(list.lines(), before);
    EXPECT_EQ(list.CalibCount(), 1);
    EXPECT_EQ(list.TrueMassCount(), 1);
}

TEST(CalibrationList, ReplacingATrueMassKeepsTheCount) {
    CalibrationList list;
    const Lines peakLines{"43.0,  12345"};
    list.TakePeak(0, peakLines);
    EXPECT_TRUE(list.AttachTypedMass(0, "43.0184").changed());
    EXPECT_EQ(list.lines()[0], "43.0,  12345,  43.0184");
    EXPECT_EQ(list.TrueMassCount(), 1);
    EXPECT_TRUE(list.AttachTypedMass(0, "43.02").changed());
    EXPECT_EQ(list.lines()[0], "43.0,  12345,  43.02");
    EXPECT_EQ(list.TrueMassCount(), 1);
    EXPECT_TRUE(list.AllTrueMassesGiven());
}

TEST(CalibrationList, StandardMassIsTheGeneralFormOfTheStandardLinesLeadingNumber) {
    CalibrationList list;
    list.TakePeak(0, Lines{"44.0,  5000"});
    const Lines standard{"43.05481,  C 3 H 7,  один", "44.06264,  C 3 H 8,  молек"};
    EXPECT_TRUE(list.AttachStandardMass(0, standard, 1).changed());
    EXPECT_EQ(list.lines()[0], "44.0,  5000,  44.06264");
    EXPECT_TRUE(list.AttachStandardMass(0, standard, 0).changed());
    EXPECT_EQ(list.lines()[0], "44.0,  5000,  43.05481");
    EXPECT_EQ(list.TrueMassCount(), 1);
    EXPECT_EQ(list.AttachStandardMass(0, standard, -1).outcome, ListOutcome::NoSelection);
    EXPECT_EQ(list.AttachStandardMass(0, {"C 3 H 8"}, 0).outcome, ListOutcome::InvalidText);
    EXPECT_EQ(list.lines()[0], "44.0,  5000,  43.05481");
}

TEST(CalibrationList, RemovingALineWithATrueMassLowersTheCount) {
    CalibrationList list;
    const Lines all = AllMassLines();
    for (int p : {1, 3, 6}) list.TakePeak(p, all);
    list.AttachTypedMass(0, "23.01");
    list.AttachTypedMass(2, "73.02");
    EXPECT_FALSE(list.AllTrueMassesGiven());
    EXPECT_TRUE(list.RemoveLine(1).changed());  // no true mass
    EXPECT_EQ(list.TrueMassCount(), 2);
    EXPECT_TRUE(list.AllTrueMassesGiven());
    EXPECT_TRUE(list.RemoveLine(0).changed());  // with a true mass
    EXPECT_EQ(list.TrueMassCount(), 1);
    EXPECT_EQ(list.CalibIndex(), (std::vector<int>{6}));
    EXPECT_EQ(list.lines(), (Lines{all[6] + ",  73.02"}));
    // A removed peak can be taken again.
    EXPECT_TRUE(list.TakePeak(1, all).changed());
}

TEST(CalibrationList, CommandsWithoutSelectionDoNothingSilently) {
    CalibrationList list;
    const Lines all = AllMassLines();
    list.TakePeak(2, all);
    for (const ListChange& c : {list.TakePeak(-1, all), list.TakePeak(10, all), list.RemoveLine(-1), list.RemoveLine(1),
                                list.AttachTypedMass(-1, "1"), list.AttachTypedMass(1, "1"),
                                list.AttachStandardMass(1, {"1.5,  C 1 H 1"}, 0)}) {
        EXPECT_EQ(c.outcome, ListOutcome::NoSelection);
        EXPECT_TRUE(c.message.empty());
    }
    EXPECT_EQ(list.lines(), (Lines{all[2]}));
    EXPECT_EQ(list.TrueMassCount(), 0);
}

TEST(CalibrationList, TypedTrueMassIsRefusedWhenEmptyMalformedOrTooLong) {
    CalibrationList list;
    list.TakePeak(0, Lines{"43.0,  12345"});
    const ListChange empty = list.AttachTypedMass(0, "");
    EXPECT_EQ(empty.outcome, ListOutcome::NothingTyped);
    EXPECT_EQ(empty.message, "Вы ничего не ввели");
    // Blanks and commas would move the fields the curve reads back.
    for (const char* bad : {"1,5", "43 0", "-43", "4e3"})
        EXPECT_EQ(list.AttachTypedMass(0, bad).outcome, ListOutcome::InvalidText) << bad;
    EXPECT_EQ(list.lines()[0], "43.0,  12345");
    EXPECT_EQ(list.TrueMassCount(), 0);

    // "43.0,  12345,  " is 15 characters: 35 more make exactly 50.
    const std::string fits(35, '4');
    EXPECT_TRUE(list.AttachTypedMass(0, fits).changed());
    EXPECT_EQ(list.lines()[0].size(), kMaxCalibLineChars);
    const ListChange tooLong = list.AttachTypedMass(0, fits + "1");
    EXPECT_EQ(tooLong.outcome, ListOutcome::LineTooLong);
    EXPECT_EQ(tooLong.message, kTrueMassTooLongMessage);
    EXPECT_EQ(list.lines()[0], "43.0,  12345,  " + fits);
    EXPECT_EQ(list.TrueMassCount(), 1);
    // A malformed number passes here; the curve refuses it later.
    EXPECT_TRUE(list.AttachTypedMass(0, "1.2.3").changed());
}

TEST(CalibrationList, ClearStartsTheListAgain) {
    CalibrationList list;
    const Lines all = AllMassLines();
    for (int p : {1, 3}) list.TakePeak(p, all);
    list.AttachTypedMass(1, "43");
    list.clear();
    EXPECT_EQ(list.CalibCount(), 0);
    EXPECT_EQ(list.TrueMassCount(), 0);
    EXPECT_TRUE(list.CalibIndex().empty() && list.lines().empty() && list.ShowIndexLines().empty());
    EXPECT_TRUE(list.TakePeak(3, all).changed());
}

TEST(CalibrationList, FieldsAreFoundByCommasAndBlanks) {
    std::string withMass = "43.0,  12345,  43.0184";
    EXPECT_TRUE(StripTrueMass(withMass));
    EXPECT_EQ(withMass, "43.0,  12345");
    EXPECT_FALSE(StripTrueMass(withMass));
    std::string threeCommas = "1,  2,  3,  4";
    EXPECT_FALSE(StripTrueMass(threeCommas));
    EXPECT_EQ(threeCommas, "1,  2,  3,  4");

    EXPECT_EQ(LeadingNumber("44.06264,  C 3 H 8,  молек"), 44.06264);
    EXPECT_EQ(LeadingNumber("12.5"), 12.5);
    EXPECT_FALSE(LeadingNumber("C 3 H 8").has_value());
    EXPECT_EQ(TrailingNumber("43.0,  12345,  43.0184"), 43.0184);
    EXPECT_EQ(TrailingNumber("57"), 57.0);
    EXPECT_EQ(TrailingText("43.0,  12345,  1.2.3"), "1.2.3");
    EXPECT_FALSE(TrailingNumber("43.0,  12345,  1.2.3").has_value());
    EXPECT_EQ(CharCount("молек"), 5u);
}

}  // namespace
}  // namespace orvelo
