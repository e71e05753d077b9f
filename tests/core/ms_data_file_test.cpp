#include <cmath>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/ms_data_file.h"
#include "core/spectrum_file.h"
#include "file_support.h"

namespace orvelo {
namespace {

using ::testing::HasSubstr;
using testing::ErrorText;

const std::string kMzml = std::string(ORVELO_TEST_DATA) + "/mzml/";
const std::string kReal = std::string(ORVELO_REAL_DATA) + "/";

// The text files hold the masses to six decimals and the intensities rounded to whole numbers.
void ExpectSameSpectrum(const PointList& fromMzml, const PointList& fromText) {
    ASSERT_EQ(fromMzml.count(), fromText.count());
    int massOff = 0, intensityOff = 0;
    for (int i = 0; i < fromText.count(); ++i) {
        massOff += std::abs(fromMzml.x[i] - fromText.x[i]) > 0.5e-6 + 1e-9;
        intensityOff += std::abs(fromMzml.y[i] - fromText.y[i]) > 0.5 + 1e-6;
    }
    EXPECT_EQ(massOff, 0);
    EXPECT_EQ(intensityOff, 0);
}

TEST(MsDataFile, ListsTheScansOfSmallFileFromTheirMetadata) {
    const MsDataFile file(kMzml + "small.mzML");
    const auto& scans = file.scans();
    ASSERT_EQ(scans.size(), 48u);
    const ScanInfo& first = scans[0];
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.id, "controllerType=0 controllerNumber=1 scan=1");
    EXPECT_EQ(first.msLevel, 1);
    EXPECT_EQ(first.points, 19914u);
    EXPECT_EQ(first.representation, ScanRepresentation::Profile);
    EXPECT_NEAR(*first.retentionTime, 0.2961, 1e-4);
    EXPECT_NEAR(*first.lowMz, 200.000188, 1e-6);
    EXPECT_EQ(scans[2].msLevel, 2);
    EXPECT_EQ(scans[2].representation, ScanRepresentation::Centroid);
    EXPECT_EQ(file.DefaultScan(), 1);

    EXPECT_EQ(ScanTableRow(first),
              (std::vector<std::string>{"1", first.id, "1", "0.0049", "19914", "профиль", "200.0002", "2000.0099",
                                        "15245068"}));
    EXPECT_EQ(ScanTableHead().size(), ScanTableRow(first).size());
}

TEST(MsDataFile, ScanOneOfSmallFileIsTheSpectrumOfItsTextFile) {
    const MsDataFile file(kMzml + "small.mzML");
    const LoadedSpectrum scan = file.LoadScan(1);
    ExpectSameSpectrum(scan.points, ReadSpectrumFile(kReal + "ltqft_ms1_scan1.txt").points);
    EXPECT_EQ(scan.title, "small.mzML, controllerType=0 controllerNumber=1 scan=1, 0.0049 мин");
    EXPECT_EQ(scan.maxFractionDigits, 0);  // intensities as stored, never scaled
}

// Equal neighbouring masses are kept, as in text files; the text file of this scan was made
// without its 11 repeated masses (the last of each pair stays).
TEST(MsDataFile, FileWithWrongIndexOpensByReadingItThrough) {
    const MsDataFile file(kMzml + "three_test_scans.mzML");
    ASSERT_EQ(file.scans().size(), 3u);
    EXPECT_EQ(file.scans()[0].id, "controllerType=0 controllerNumber=1 scan=10014");
    const PointList all = file.LoadScan(1).points;
    PointList distinct;
    for (int i = 0; i < all.count(); ++i)
        if (i + 1 == all.count() || all.x[i] != all.x[i + 1]) distinct.push(all.x[i], all.y[i]);
    EXPECT_EQ(all.count() - distinct.count(), 11);
    ExpectSameSpectrum(distinct, ReadSpectrumFile(kReal + "orbitrap_qexactive_ms1.txt").points);
}

TEST(MsDataFile, MzXMLAndNumpressFilesGiveTheSameScans) {
    const MsDataFile xml(kMzml + "microscans.mzXML");
    const MsDataFile numpress(kMzml + "microscans.numpress.mzML");
    ASSERT_EQ(xml.scans().size(), 4u);
    ASSERT_EQ(numpress.scans().size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        const PointList a = xml.LoadScan(n).points;
        const PointList b = numpress.LoadScan(n).points;
        ASSERT_EQ(a.count(), b.count()) << n;
        for (int i = 0; i < a.count(); ++i) ASSERT_NEAR(a.x[i], b.x[i], 1e-6) << n << " " << i;
    }
}

TEST(MsDataFile, CentroidedAndMissingScansAreRefusedWithTheReason) {
    const MsDataFile file(kMzml + "small.mzML");
    EXPECT_THAT(ErrorText([&] { file.LoadScan(3); }),
                HasSubstr("записан в центроидах: от каждого пика в нём осталась одна линия"));
    EXPECT_THAT(ErrorText([&] { file.LoadScan(49); }), HasSubstr("нет спектра 49: номера спектров от 1 до 48"));
}

TEST(MsDataFile, UnreadableFilesGiveClearErrors) {
    testing::TempFolder dir;
    testing::WriteAll(dir / "broken.mzML", "<?xml version=\"1.0\"?><mzML><run><spectrumList count=\"1\">");
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "broken.mzML"); }),
                HasSubstr("не удалось прочитать как mzML или mzXML"));
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "absent.mzML"); }), HasSubstr("файл не найден"));
}

// Zero bytes crash the library's XML parser; no document holds one, so they are refused first.
TEST(MsDataFile, ZeroBytesAreRefusedBeforeTheLibraryReadsThem) {
    const std::string crash =
        testing::ReadAll(ORVELO_TEST_DATA "/../fuzz-regressions/mzml/library-crash-zero-bytes-in-tag.mzXML");
    ASSERT_EQ(crash.size(), 74u);
    EXPECT_EQ(ErrorText([&] { MsDataFile::FromBytes(crash, "crash.mzXML"); }),
              "Файл \"crash.mzXML\" не является документом mzML или mzXML: нулевой байт в позиции 70");
    testing::TempFolder dir;
    testing::WriteAll(dir / "crash.mzXML", crash);
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "crash.mzXML"); }), HasSubstr("нулевой байт в позиции 70"));
}

TEST(MsDataFile, RecognisesFilesByNameAndByContent) {
    testing::TempFolder dir;
    testing::WriteAll(dir / "run.MZML.gz", "x");
    testing::WriteAll(dir / "noname", "\xEF\xBB\xBF  <?xml version=\"1.0\"?>\n<mzML>");
    testing::WriteAll(dir / "spectrum.txt", "\"Test\"\r\n\"\"\r\n\"\"\r\n100 1\r\n");
    testing::WriteAll(dir / "zipped", "\x1F\x8B\x08");
    EXPECT_TRUE(IsMsDataFile(dir / "run.MZML.gz"));
    EXPECT_TRUE(IsMsDataFile(dir / "noname"));
    EXPECT_TRUE(IsMsDataFile(dir / "zipped"));
    EXPECT_FALSE(IsMsDataFile(dir / "spectrum.txt"));
}

// Spectra with defects are written through the library's own writer, then read back.
class WrittenSpectrum : public ::testing::Test {
protected:
    std::string Write(std::vector<double> x, std::vector<double> y) {
        PointList points;
        points.x = std::move(x);
        points.y = std::move(y);
        WriteMzMLFile(dir_ / "s.mzML", points, {}, std::nullopt);
        return dir_ / "s.mzML";
    }
    testing::TempFolder dir_;
};

TEST_F(WrittenSpectrum, GetsTheChecksOfTextSpectra) {
    const LoadedSpectrum descending = MsDataFile(Write({103, 102, 101}, {3, 2, 1})).LoadScan(1);
    EXPECT_EQ(descending.points.x, (std::vector<double>{101, 102, 103}));
    EXPECT_EQ(descending.points.y, (std::vector<double>{1, 2, 3}));

    EXPECT_EQ(ErrorText([&] { MsDataFile(Write({100, 101, 100.5}, {1, 2, 3})).LoadScan(1); }),
              "Спектр 1, точка 3: массы должны возрастать (100.5 после 101)");
    EXPECT_EQ(ErrorText([&] { MsDataFile(Write({100, 101}, {1, NAN})).LoadScan(1); }),
              "Спектр 1, точка 2: масса и интенсивность должны быть конечными числами");
    EXPECT_EQ(ErrorText([&] { MsDataFile(Write({100}, {1})).LoadScan(1); }),
              "Range check error: в спектре 1 меньше двух точек");
}

TEST_F(WrittenSpectrum, SavedScanReopensWithTheSameMassesAndRecordsItsOrigin) {
    const MsDataFile small(kMzml + "small.mzML");
    const PointList scan1 = small.LoadScan(1).points;
    const AppliedCalibration curve{1e-6, -0.002, 0.5};
    WriteMzMLFile(dir_ / "calibrated.mzML", scan1, small.SourceOf(1), curve);

    const MsDataFile saved(dir_ / "calibrated.mzML");
    ASSERT_EQ(saved.scans().size(), 1u);
    EXPECT_EQ(saved.scans()[0].id, "controllerType=0 controllerNumber=1 scan=1");
    EXPECT_EQ(saved.scans()[0].representation, ScanRepresentation::Profile);
    EXPECT_NEAR(*saved.scans()[0].retentionTime, 0.2961, 1e-4);
    const LoadedSpectrum again = saved.LoadScan(1);
    EXPECT_EQ(again.points.x, scan1.x);
    EXPECT_EQ(again.points.y, scan1.y);

    const std::string text = testing::ReadAll(dir_ / "calibrated.mzML");
    for (const char* recorded : {"name=\"source file\" value=\"small.mzML\"", "value=\"parabola\"",
                                 "name=\"calibration coefficient A\" value=\"9.9999999999999995e-07\"",
                                 "name=\"calibration coefficient C\" value=\"0.5\"", "m/z calibration"})
        EXPECT_THAT(text, HasSubstr(recorded));
}

}  // namespace
}  // namespace orvelo
