#include <zlib.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/ms_data_file.h"
#include "file_support.h"

namespace orvelo {
namespace {

using ::testing::HasSubstr;

// One <binaryDataArray> of the document, decoded here without the library: base64, zlib, then
// little-endian 32- or 64-bit floats.
struct Array {
    std::string name;  // the array's cv term: "m/z array", or the value of a non-standard array
    bool is64 = false;
    std::vector<double> values;
};

std::string Base64Bytes(const std::string& text) {
    static const std::string kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const auto v = kDigits.find(c);
        if (v == std::string::npos) continue;
        bits = (bits << 6) | static_cast<unsigned>(v);
        if ((count += 6) >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

std::string Inflated(const std::string& bytes) {
    std::string out(1 << 20, '\0');
    uLongf size = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                         static_cast<uLong>(bytes.size())),
              Z_OK);
    out.resize(size);
    return out;
}

// The arrays of each <spectrum>, in document order.
std::vector<std::vector<Array>> ArraysOf(const std::string& document) {
    std::vector<std::vector<Array>> spectra;
    const std::regex spectrum("<spectrum [\\s\\S]*?</spectrum>");
    const std::regex array("<binaryDataArray [\\s\\S]*?</binaryDataArray>");
    const std::regex name("name=\"(m/z array|intensity array)\"|name=\"non-standard data array\" value=\"([^\"]*)\"");
    const std::regex binary("<binary>([^<]*)</binary>");
    for (auto s = std::sregex_iterator(document.begin(), document.end(), spectrum); s != std::sregex_iterator(); ++s) {
        const std::string text = s->str();
        std::vector<Array>& arrays = spectra.emplace_back();
        for (auto a = std::sregex_iterator(text.begin(), text.end(), array); a != std::sregex_iterator(); ++a) {
            const std::string element = a->str();
            Array out;
            std::smatch m;
            if (std::regex_search(element, m, name)) out.name = m[1].matched ? m[1].str() : m[2].str();
            out.is64 = element.find("MS:1000523") != std::string::npos;
            EXPECT_NE(element.find("MS:1000574"), std::string::npos) << "zlib";
            std::string bytes;
            if (std::regex_search(element, m, binary) && !m[1].str().empty()) bytes = Inflated(Base64Bytes(m[1].str()));
            const std::size_t width = out.is64 ? 8 : 4;
            for (std::size_t at = 0; at + width <= bytes.size(); at += width) {
                if (out.is64) {
                    double v;
                    std::memcpy(&v, bytes.data() + at, 8);
                    out.values.push_back(v);
                } else {
                    float v;
                    std::memcpy(&v, bytes.data() + at, 4);
                    out.values.push_back(v);
                }
            }
            arrays.push_back(std::move(out));
        }
    }
    return spectra;
}

TEST(CentroidMzML, WritesEachSpectrumsPeaksWithTheirWidthsAndErrorsAndReopensAsCentroids) {
    CentroidSpectrum scan;
    scan.source = {"/data/run.mzML", "controllerType=0 controllerNumber=1 scan=7", 1, 12.5};
    // Given out of order: written by m/z.
    scan.peaks = {{301.141, 2500, 3.3, 0.0004}, {102.0001, 1000.5, 5.0, 0.00012}, {200.05, 40000, 4.25, 2e-5}};
    CentroidSpectrum text;  // a spectrum without an id or time, and without peaks
    const std::string document =
        CentroidMzMLBytes({scan, text}, "/data/run.mzML", CalibrationCurve{0, 0.1, -2}, "3.2.1");

    const MsDataFile file = MsDataFile::FromBytes(document, "centroids.mzML");
    ASSERT_EQ(file.scans().size(), 2u);
    const ScanInfo& first = file.scans()[0];
    EXPECT_EQ(first.id, scan.source.nativeId);
    EXPECT_EQ(first.msLevel, 1);
    EXPECT_DOUBLE_EQ(*first.retentionTime, 12.5);
    EXPECT_EQ(first.representation, ScanRepresentation::Centroid);
    EXPECT_EQ(first.points, 3u);
    EXPECT_DOUBLE_EQ(*first.lowMz, 102.0001);
    EXPECT_DOUBLE_EQ(*first.highMz, 301.141);
    EXPECT_DOUBLE_EQ(*first.totalIonCurrent, 43500.5);
    const ScanInfo& second = file.scans()[1];
    EXPECT_EQ(second.id, "index=1");
    EXPECT_FALSE(second.retentionTime);
    EXPECT_EQ(second.representation, ScanRepresentation::Centroid);
    EXPECT_EQ(second.points, 0u);
    EXPECT_THAT(testing::ErrorText([&] { file.LoadScan(1); }), HasSubstr("записан в центроидах"));

    const auto arrays = ArraysOf(document);
    ASSERT_EQ(arrays.size(), 2u);
    for (const auto& spectrum : arrays) {
        ASSERT_EQ(spectrum.size(), 4u);
        EXPECT_EQ(spectrum[0].name, "m/z array");
        EXPECT_EQ(spectrum[1].name, "intensity array");
        EXPECT_EQ(spectrum[2].name, "FWHM_ppm");
        EXPECT_EQ(spectrum[3].name, "mz_standard_error");
        EXPECT_TRUE(spectrum[0].is64 && spectrum[1].is64);
        EXPECT_FALSE(spectrum[2].is64 || spectrum[3].is64);
    }
    EXPECT_EQ(arrays[0][0].values, (std::vector<double>{102.0001, 200.05, 301.141}));
    EXPECT_EQ(arrays[0][1].values, (std::vector<double>{1000.5, 40000, 2500}));
    EXPECT_EQ(arrays[0][2].values, (std::vector<double>{5.0, 4.25, 3.3f}));
    EXPECT_EQ(arrays[0][3].values, (std::vector<double>{0.00012f, 2e-5f, 0.0004f}));
    EXPECT_TRUE(arrays[1][0].values.empty() && arrays[1][2].values.empty());

    // Centroid spectra, picked by this program at this version, through the calibration given.
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (auto at = document.find(what); at != std::string::npos; at = document.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("accession=\"MS:1000127\""), 3u);  // the file's content and both spectra
    EXPECT_EQ(count("accession=\"MS:1000128\""), 0u);  // no profile spectrum
    EXPECT_EQ(count("accession=\"MS:1000035\" name=\"peak picking\""), 1u);
    EXPECT_THAT(document, HasSubstr("<software id=\"orvelo\" version=\"3.2.1\">"));
    EXPECT_THAT(document, HasSubstr("value=\"Orvelo\""));
    EXPECT_THAT(document, HasSubstr("name=\"calibration coefficient B\" value=\"0.10000000000000001\""));
    EXPECT_THAT(document, HasSubstr("<sourceFile id=\"source\" name=\"run.mzML\""));
}

}  // namespace
}  // namespace orvelo
