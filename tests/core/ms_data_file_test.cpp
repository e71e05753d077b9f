#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <regex>
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

using testing::ErrorText;
using ::testing::HasSubstr;

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

    EXPECT_EQ(ScanTableRow(first), (std::vector<std::string>{"1", first.id, "1", "0.0049", "19914", "профиль",
                                                             "200.0002", "2000.0099", "15245068"}));
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

// The library's refusals keep its text in parentheses behind a Russian sentence that names the
// file, and the scan or the byte offset where they are known.
TEST(MsDataFile, LibraryRefusalsAreRussianSentencesNamingTheFile) {
    const std::string xml = testing::ReadAll(kMzml + "microscans.mzXML");
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string bytes = xml;
        return bytes.replace(bytes.find(from), from.size(), to);
    };
    testing::TempFolder dir;
    testing::WriteAll(dir / "tag.mzXML", with("</scan>", "</sca>"));
    EXPECT_EQ(ErrorText([&] { MsDataFile f(dir / "tag.mzXML"); }),
              "Файл \"" + dir / "tag.mzXML" +
                  "\" не удалось прочитать как mzML или mzXML: нарушена вложенность элементов XML (Illegal end tag "
                  "\"sca\" at offset 19414.)");
    testing::WriteAll(dir / "time.mzXML", with("retentionTime=\"PT29.0069S\"", "retentionTime=\"PTxxS\""));
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "time.mzXML"); }),
                HasSubstr("не удалось прочитать как mzML или mzXML: значение в файле не является числом нужного "
                          "вида (bad lexical cast"));
    testing::WriteAll(dir / "count.mzXML", with("peaksCount=\"2926\"", "peaksCount=\"29x6\""));
    EXPECT_EQ(ErrorText([&] { MsDataFile(dir / "count.mzXML").LoadScan(1); }),
              "Файл \"" + dir / "count.mzXML" +
                  "\": спектр 1 не удалось прочитать: неверное число точек спектра (Invalid peak count.)");
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

// zlib's own streams: a gzip file (`gzip`) or the zlib stream of an mzML array.
std::string Deflate(const std::string& bytes, bool gzip) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 9, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, bytes.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Whether a file is compressed is told by its bytes; inflation is bounded and its result gets
// the checks of an uncompressed file.
TEST(MsDataFile, GzipIsToldByContentAndInflatedWithinBounds) {
    const std::string crash =
        testing::ReadAll(ORVELO_TEST_DATA "/../fuzz-regressions/mzml/library-crash-zero-bytes-uncompressed.mzXML");
    testing::TempFolder dir;
    testing::WriteAll(dir / "plain.mzXML.gz", crash);  // named .gz, not compressed
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "plain.mzXML.gz"); }), HasSubstr("нулевой байт в позиции 12093"));
    testing::WriteAll(dir / "zipped.mzXML.gz", Deflate(crash, true));
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "zipped.mzXML.gz"); }), HasSubstr("нулевой байт в позиции 12093"));

    const std::string small = testing::ReadAll(kMzml + "small.mzML");
    testing::WriteAll(dir / "run", Deflate(small, true));  // no telling name at all
    const MsDataFile zipped(dir / "run");
    ASSERT_EQ(zipped.scans().size(), 48u);
    EXPECT_TRUE(zipped.warnings().empty());
    EXPECT_EQ(zipped.LoadScan(2).points.x, MsDataFile(kMzml + "small.mzML").LoadScan(2).points.x);

    testing::WriteAll(dir / "bomb.mzML.gz", Deflate(std::string(20 << 20, ' '), true));
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "bomb.mzML.gz"); }),
                HasSubstr("не удалось распаковать: данные сжаты более чем в 1000 раз"));
    const std::string whole = Deflate(small, true);
    testing::WriteAll(dir / "cut.mzML.gz", whole.substr(0, whole.size() / 2));
    EXPECT_THAT(ErrorText([&] { MsDataFile f(dir / "cut.mzML.gz"); }), HasSubstr("сжатые данные обрываются"));
}

// small.mzML with the offsets of its spectrum index rewritten by `offset` (old offset, entry
// number -> new offset), each kept to its length so that nothing else moves.
std::string WithSpectrumOffsets(const std::function<long(long, int)>& offset) {
    std::string bytes = testing::ReadAll(kMzml + "small.mzML");
    const std::size_t from = bytes.find("<index name=\"spectrum\">");
    const std::size_t to = bytes.find("</index>", from);
    std::string index = bytes.substr(from, to - from);
    const std::regex entry("(<offset idRef=\"[^\"]*\">)([0-9]+)(</offset>)");
    std::string rewritten;
    int n = 0;
    auto last = index.cbegin();
    for (std::sregex_iterator it(index.begin(), index.end(), entry), end; it != end; ++it, ++n) {
        const std::string old = (*it)[2];
        std::string digits = std::to_string(offset(std::stol(old), n));
        EXPECT_LE(digits.size(), old.size());
        digits.insert(0, old.size() - digits.size(), '0');
        rewritten.append(last, (*it)[2].first).append(digits);
        last = (*it)[2].second;
    }
    rewritten.append(last, index.cend());
    return bytes.replace(from, index.size(), rewritten);
}

// An index entry must lead to the start tag of the spectrum with its index and id; otherwise
// the file is read through, and the caller is told once.
TEST(MsDataFile, WrongIndexIsNotFollowed) {
    const MsDataFile right(kMzml + "small.mzML");
    EXPECT_TRUE(right.warnings().empty());
    long first = 0;
    const std::string sameSpectrum = WithSpectrumOffsets([&](long old, int n) { return n == 0 ? first = old : first; });
    const std::string inside = WithSpectrumOffsets([](long old, int) { return old + 10; });
    testing::TempFolder dir;
    for (const std::string& bytes : {sameSpectrum, inside}) {
        testing::WriteAll(dir / "s.mzML", bytes);
        const MsDataFile file(dir / "s.mzML");
        ASSERT_EQ(file.scans().size(), 48u);
        EXPECT_EQ(file.scans()[47].id, right.scans()[47].id);
        EXPECT_EQ(file.LoadScan(2).points.x, right.LoadScan(2).points.x);
        ASSERT_EQ(file.warnings().size(), 1u);
        EXPECT_THAT(file.warnings()[0], HasSubstr("указывает не на те места (запись спектра "));
        EXPECT_THAT(file.warnings()[0], HasSubstr("файл прочитан целиком без индекса"));
    }
}

// The arrays of a spectrum are measured before the library decodes them: a small zlib stream
// standing for gigabytes is never inflated whole.
TEST(MsDataFile, OversizedArraysAreRefusedBeforeTheyAreDecoded) {
    PointList points;
    points.x = {100, 101, 102};
    points.y = {1, 5, 1};
    const std::string written = MzMLBytes(points, {}, std::nullopt);
    const std::size_t binary = written.find("<binary>") + 8;
    const std::size_t binaryEnd = written.find("</binary>", binary);
    const std::string zeros = Deflate(std::string(64 << 20, '\0'), false);  // 64 MB in 64 KB
    std::string encoded;
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < zeros.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(zeros[i]) << 16;
        if (i + 1 < zeros.size()) v |= static_cast<unsigned char>(zeros[i + 1]) << 8;
        if (i + 2 < zeros.size()) v |= static_cast<unsigned char>(zeros[i + 2]);
        encoded += kAlphabet[(v >> 18) & 63];
        encoded += kAlphabet[(v >> 12) & 63];
        encoded += i + 1 < zeros.size() ? kAlphabet[(v >> 6) & 63] : '=';
        encoded += i + 2 < zeros.size() ? kAlphabet[v & 63] : '=';
    }
    testing::TempFolder dir;
    testing::WriteAll(dir / "bomb.mzML", std::string(written).replace(binary, binaryEnd - binary, encoded));
    EXPECT_THAT(ErrorText([&] { MsDataFile(dir / "bomb.mzML").LoadScan(1); }),
                HasSubstr("bomb.mzML\", спектр 1: сжатый массив (" + std::to_string(zeros.size()) +
                          " байт) распаковывается больше чем в 24 байт, объявленных для 3 значений"));

    const std::string huge =
        std::regex_replace(written, std::regex("defaultArrayLength=\"3\""), "defaultArrayLength=\"300000000\"");
    testing::WriteAll(dir / "huge.mzML", huge);
    EXPECT_THAT(ErrorText([&] { MsDataFile(dir / "huge.mzML").LoadScan(1); }),
                HasSubstr("спектр 1: массив объявлен на 300000000 значений, больше допустимых 256.0 МБ"));
}

// The first refusal met while opening the file and loading each of its scans; empty when none.
std::string FirstRefusal(const std::function<MsDataFile()>& open) {
    try {
        const MsDataFile file = open();
        for (int n = 1; n <= static_cast<int>(file.scans().size()); ++n) file.LoadScan(n);
    } catch (const OrveloError& e) {
        return e.what();
    }
    return {};
}

// Every file that once crashed the reader or exhausted memory is refused with a message that
// names it, whether read from its path or from its bytes.
TEST(MsDataFile, EveryFuzzRegressionIsRefusedNamingTheFile) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORVELO_TEST_DATA "/../fuzz-regressions/mzml")) {
        const std::string path = entry.path().string();
        ++files;
        EXPECT_THAT(FirstRefusal([&] { return MsDataFile(path); }), HasSubstr("Файл \"" + path + "\"")) << path;
        EXPECT_THAT(FirstRefusal([&] { return MsDataFile::FromBytes(testing::ReadAll(path), "fuzz"); }),
                    HasSubstr("Файл \"fuzz\""))
            << path;
    }
    EXPECT_GE(files, 5);
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

    EXPECT_EQ(ErrorText([&] {
                  MsDataFile(Write({100, 101, 100.5}, {1, 2, 3})).LoadScan(1);
              }),
              "Спектр 1, точка 3: массы должны возрастать (100.5 после 101)");
    EXPECT_EQ(ErrorText([&] {
                  MsDataFile(Write({100, 101}, {1, NAN})).LoadScan(1);
              }),
              "Спектр 1, точка 2: масса и интенсивность должны быть конечными числами");
    EXPECT_EQ(ErrorText([&] { MsDataFile(Write({100}, {1})).LoadScan(1); }),
              "Range check error: в спектре 1 меньше двух точек");
}

TEST_F(WrittenSpectrum, ValuesNoInstrumentMeasuresAreRefusedWithTheScanAndPoint) {
    EXPECT_EQ(ErrorText([&] {
                  MsDataFile(Write({-1, 100, 101}, {1, 2, 3})).LoadScan(1);
              }),
              "Спектр 1, точка 1: масса должна быть больше нуля (-1)");
    EXPECT_EQ(ErrorText([&] {
                  MsDataFile(Write({100, 101, 102}, {-1, -2, 0})).LoadScan(1);
              }),
              "Спектр 1: ни одна интенсивность не больше нуля, пиков в нём нет");
    EXPECT_THAT(ErrorText([&] {
                    MsDataFile(Write({100, 100 + 1e-13, 100 + 2e-13}, {1, 2, 3})).LoadScan(1);
                }),
                HasSubstr("Спектр 1, точка 2: масса отличается от предыдущей (100) на 9.9475983006414E-14, меньше "
                          "1E-9 её величины: таких точек прибор не различает"));
    // Some negative intensities (a subtracted baseline) and repeated masses are data.
    EXPECT_EQ(MsDataFile(Write({100, 100, 101}, {-1, 2, 3})).LoadScan(1).points.count(), 3);
}

// File names in Windows-1251 (not UTF-8) are converted; characters the text files cannot
// hold are named.
TEST_F(WrittenSpectrum, TitlesAreUtf8AndUnwritableCharactersNamed) {
    PointList points;
    points.x = {100, 101, 102};
    points.y = {1, 5, 1};
    const std::string cp1251Name = dir_ / "\xEF\xF0\xEE\xE1\xE0.mzML";  // "проба" in Windows-1251
    WriteMzMLFile(cp1251Name, points, {"", "scan=1 \"a&b\" 日", 1, std::nullopt}, std::nullopt);
    const MsDataFile file(cp1251Name);
    EXPECT_TRUE(file.warnings().empty());  // the index leads to the id, written with entities
    const LoadedSpectrum loaded = file.LoadScan(1);
    EXPECT_EQ(loaded.title, "проба.mzML, scan=1 \"a&b\" 日");
    ASSERT_EQ(loaded.warnings.size(), 1u);
    EXPECT_THAT(loaded.warnings[0], HasSubstr("нет в кодировке Windows-1251: 日;"));
    EXPECT_TRUE(MsDataFile(Write({100, 101}, {1, 2})).LoadScan(1).warnings.empty());
}

TEST_F(WrittenSpectrum, SavedScanReopensWithTheSameMassesAndRecordsItsOrigin) {
    const MsDataFile small(kMzml + "small.mzML");
    const PointList scan1 = small.LoadScan(1).points;
    const CalibrationCurve curve{1e-6, -0.002, 0.5};
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
