#include <gtest/gtest.h>

#include "calibration/ion_masses.h"
#include "calibration/peaks.h"
#include "calibration/theory_series.h"

namespace orvelo {
namespace {

using testing::PeaksAt;

std::vector<double> MassesOf(const std::vector<IonRow>& rows) {
    std::vector<double> m;
    for (const IonRow& r : rows) m.push_back(r.Mass);
    return m;
}

TEST(IonMasses, NeutralTablesAreTheStandardOnesAndIonTablesAreLighterByTheElectron) {
    const PeakResults peaks = PeaksAt({14.2, 45.7, 80.0});
    ReferenceTables standard;
    StandartCH(peaks, ElementMasses{}, standard);
    StandartCF(peaks, ElementMasses{}, standard);
    const ReferenceTables neutral = BuildReferenceTables(peaks, ElementMasses{}, ReferenceMassKind::Neutral);
    const ReferenceTables ion = BuildReferenceTables(peaks, ElementMasses{}, ReferenceMassKind::Ion);

    EXPECT_EQ(MassesOf(neutral.CHList), MassesOf(standard.CHList));
    EXPECT_EQ(MassesOf(neutral.CFList), MassesOf(standard.CFList));
    EXPECT_EQ(ReFill(neutral, ListFlags{}), ReFill(standard, ListFlags{}));
    ASSERT_EQ(ion.CHList.size(), standard.CHList.size());
    for (std::size_t i = 0; i < ion.CHList.size(); ++i)
        EXPECT_NEAR(standard.CHList[i].Mass - ion.CHList[i].Mass, 0.00054858, 1e-12);
    ASSERT_FALSE(ion.CFList.empty());
    EXPECT_NEAR(standard.CFList[0].Mass - ion.CFList[0].Mass, 0.00054858, 1e-12);
    // The list and the saw follow: CH4+ is 16.03077142, its defect 30.77 mmu.
    EXPECT_EQ(ReFill(ion, ListFlags{})[0], "16.03077142,  C 1 H 4,  молек");
    EXPECT_NEAR(CreateTeoriaCH(ion, peaks).theory.y[2], 30.77142, 1e-9);
}

TEST(IonMasses, WrittenListsSayWhichMassesTheyHoldOnlyForIons) {
    const std::vector<std::string> lines = {"16.03132,  C 1 H 4,  молек"};
    EXPECT_EQ(NotedMassLines(lines, ReferenceMassKind::Neutral), lines);
    EXPECT_EQ(
        NotedMassLines(lines, ReferenceMassKind::Ion),
        (std::vector<std::string>{"Массы ионов: нейтральная масса минус масса электрона 0.000548580 u", lines[0]}));

    PointList saw;
    saw.push(14.01566, 15.66);
    const std::vector<std::string> neutral = PilaCHTheoryLines(saw);
    EXPECT_EQ(PilaCHTheoryLines(saw, ReferenceMassKind::Neutral), neutral);
    std::vector<std::string> ion = PilaCHTheoryLines(saw, ReferenceMassKind::Ion);
    EXPECT_EQ(ion[0], "\"Пила CH (теория, массы ионов)\"");
    ion[0] = neutral[0];
    EXPECT_EQ(ion, neutral);
}

}  // namespace
}  // namespace orvelo
