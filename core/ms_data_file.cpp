#include "core/ms_data_file.h"

#include <pwiz/data/msdata/MSDataFile.hpp>
#include <pwiz/data/msdata/Serializer_mzML.hpp>
#include <pwiz/data/msdata/Serializer_mzXML.hpp>
#include <pwiz/utility/misc/random_access_compressed_ifstream.hpp>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "core/cp1251.h"
#include "core/errors.h"
#include "core/number_text.h"
#include "core/text_file.h"

namespace orvelo {

namespace pw = pwiz::msdata;
namespace cv = pwiz::cv;

namespace {

// The wrong-index fallback holds the whole file in memory; far beyond the runs it is meant for.
constexpr std::size_t kMaxUnindexedBytes = std::size_t{4} << 30;
constexpr std::size_t kSniffBytes = 512;

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
}

// The two bytes that open every gzip stream.
bool StartsWithGzipMagic(std::string_view head) {
    return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0x1F &&
           static_cast<unsigned char>(head[1]) == 0x8B;
}

bool IsGzip(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[2] = {0, 0};
    in.read(magic, sizeof magic);
    return StartsWithGzipMagic(std::string_view(magic, static_cast<std::size_t>(in.gcount())));
}

bool HasMsDataName(std::string_view name) {
    if (EndsWithNoCase(name, ".gz")) name.remove_suffix(3);
    return EndsWithNoCase(name, ".mzml") || EndsWithNoCase(name, ".mzxml");
}

// "Bad istream" and its kin: the library followed the index into the wrong place.
bool IsIndexFailure(const std::string& what) {
    return what.find("Bad istream") != std::string::npos || what.find("index") != std::string::npos ||
           what.find("Index") != std::string::npos;
}

// The library's message in the operator's words where its cause is known; otherwise the
// message itself, without the "[Class::method()] " the library puts before it.
std::string LibraryText(const std::exception& e) {
    static const std::pair<const char*, const char*> kKnown[] = {
        {"nsupported file format", "формат файла не распознан"},
        {"Bad istream", "файл повреждён или обрезан"},
        {"no element found", "файл обрывается до конца документа"},
        {"not well-formed", "файл не является правильным документом XML"},
        {"zlib", "сжатые данные спектра повреждены"},
        {"numpress", "сжатые данные спектра (MS-Numpress) повреждены"},
    };
    std::string text = e.what();
    for (const auto& [english, russian] : kKnown)
        if (text.find(english) != std::string::npos) return std::string(russian) + " (" + text + ")";
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find("] ");
        if (close != std::string::npos) text.erase(0, close + 2);
    }
    return text.empty() ? "неизвестная ошибка библиотеки" : "ошибка библиотеки: " + text;
}

[[noreturn]] void ThrowUnreadable(const std::string& path, const std::exception& e) {
    throw OrveloError("Файл \"" + path + "\" не удалось прочитать как mzML или mzXML: " + LibraryText(e));
}

// Overwrites the digits of <indexListOffset> with zeros (same length, so nothing else moves):
// with a zero offset the library finds the spectra by reading the file through.
bool NeutraliseIndexOffset(std::string& bytes) {
    static constexpr std::string_view kOpen = "<indexListOffset>";
    const std::size_t at = bytes.rfind(kOpen);
    if (at == std::string::npos) return false;
    bool changed = false;
    for (std::size_t i = at + kOpen.size(); i < bytes.size() && bytes[i] != '<'; ++i) {
        if (bytes[i] >= '1' && bytes[i] <= '9') {
            bytes[i] = '0';
            changed = true;
        }
    }
    return changed;
}

// The whole document, unpacked when the file is gzipped.
std::string DocumentBytes(const std::string& path) {
    pwiz::util::random_access_compressed_ifstream in(path.c_str());
    if (!in) throw OrveloError("Не удалось прочитать файл \"" + path + "\"");
    std::string bytes;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxUnindexedBytes)
            throw OrveloError("Файл \"" + path + "\" слишком велик для чтения без индекса: допустимо не более " +
                              std::to_string(kMaxUnindexedBytes >> 30) + " ГБ");
    }
    return bytes;
}

// XML never holds a zero byte, and the library's parser is not safe against one (a 74-byte
// document with two zero bytes in a tag crashed it): such bytes are refused before it sees them.
void RefuseZeroByte(std::string_view bytes, std::size_t offset, const std::string& name) {
    const void* zero = std::memchr(bytes.data(), 0, bytes.size());
    if (zero == nullptr) return;
    const auto at = offset + static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data());
    throw OrveloError("Файл \"" + name + "\" не является документом mzML или mzXML: нулевой байт в позиции " +
                      std::to_string(at));
}

void RefuseZeroByteInFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char buffer[1 << 16];
    std::size_t offset = 0;
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const auto n = static_cast<std::size_t>(in.gcount());
        RefuseZeroByte(std::string_view(buffer, n), offset, path);
        offset += n;
    }
}

void ReadDocument(std::string bytes, pw::MSData& msd) {
    const bool mzXML = std::string_view(bytes).substr(0, 4096).find("<mzXML") != std::string_view::npos;
    auto stream = boost::shared_ptr<std::istream>(new std::istringstream(std::move(bytes)));
    if (mzXML) pw::Serializer_mzXML().read(stream, msd);
    else pw::Serializer_mzML().read(stream, msd);
}

std::optional<double> OptionalParam(const pwiz::data::ParamContainer& params, cv::CVID id) {
    const pwiz::data::CVParam p = params.cvParam(id);
    if (p.empty()) return std::nullopt;
    const double v = p.valueAs<double>();
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

ScanInfo InfoOf(const pw::Spectrum& s, int number) {
    ScanInfo info;
    info.number = number;
    info.id = s.id;
    info.msLevel = s.cvParam(cv::MS_ms_level).valueAs<int>();
    info.points = s.defaultArrayLength;
    if (s.hasCVParam(cv::MS_centroid_spectrum)) info.representation = ScanRepresentation::Centroid;
    else if (s.hasCVParam(cv::MS_profile_spectrum)) info.representation = ScanRepresentation::Profile;
    if (!s.scanList.scans.empty()) {
        const pwiz::data::CVParam t = s.scanList.scans.front().cvParam(cv::MS_scan_start_time);
        if (!t.empty() && std::isfinite(t.timeInSeconds())) info.retentionTime = t.timeInSeconds();
    }
    info.lowMz = OptionalParam(s, cv::MS_lowest_observed_m_z);
    info.highMz = OptionalParam(s, cv::MS_highest_observed_m_z);
    info.totalIonCurrent = OptionalParam(s, cv::MS_total_ion_current);
    return info;
}

std::string PointPrefix(int scan, std::size_t point) {
    return "Спектр " + std::to_string(scan) + ", точка " + std::to_string(point + 1) + ": ";
}

// The checks of the text reader, applied to the arrays of one spectrum.
void CheckPoints(PointList& points, int scan) {
    if (points.count() < 2)
        throw OrveloError(std::string(kRangeCheckError) + ": в спектре " + std::to_string(scan) +
                          " меньше двух точек");
    for (std::size_t i = 0; i < points.x.size(); ++i)
        if (!std::isfinite(points.x[i]) || !std::isfinite(points.y[i]))
            throw OrveloError(PointPrefix(scan, i) + "масса и интенсивность должны быть конечными числами");
    const bool descending = points.x[0] > points.x[1];
    for (std::size_t i = 1; i < points.x.size(); ++i) {
        const bool wrong = descending ? points.x[i] > points.x[i - 1] : points.x[i] < points.x[i - 1];
        if (!wrong) continue;
        throw OrveloError(PointPrefix(scan, i) +
                          (descending ? "массы должны убывать, как в начале спектра" : "массы должны возрастать") +
                          " (" + FormatGeneral(points.x[i]) + " после " + FormatGeneral(points.x[i - 1]) + ")");
    }
    if (descending) {
        std::reverse(points.x.begin(), points.x.end());
        std::reverse(points.y.begin(), points.y.end());
    }
}

// UTF-8 text cut to at most `limit` characters.
std::string CutToCharacters(const std::string& text, std::size_t limit) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == limit) return text.substr(0, i);
    }
    return text;
}

std::string Fixed(const std::optional<double>& v, int decimals) {
    return v ? FormatFixed(*v, decimals) : std::string();
}

}  // namespace

struct MsDataFile::Impl {
    std::string path;  // as given; its file name goes into titles
    std::unique_ptr<pw::MSData> data;
    std::vector<ScanInfo> scans;

    const pw::SpectrumList& list() const { return *data->run.spectrumListPtr; }

    void ListScans() {
        if (!data->run.spectrumListPtr) return;
        try {
            const std::size_t n = list().size();
            scans.reserve(n);
            for (std::size_t i = 0; i < n; ++i)
                scans.push_back(InfoOf(*list().spectrum(i, false), static_cast<int>(i) + 1));
        } catch (const std::exception& e) {
            ThrowUnreadable(path, e);
        }
    }
};

bool IsMsDataFile(const std::string& path) {
    if (HasMsDataName(FileName(path))) return true;
    // Only a regular file is looked into: a FIFO or a device would block or never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    char head[kSniffBytes];
    in.read(head, sizeof head);
    const std::string_view bytes(head, static_cast<std::size_t>(in.gcount()));
    if (StartsWithGzipMagic(bytes)) return true;
    const std::size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string_view::npos && bytes[first] == '<' &&
           (bytes.find("<?xml") != std::string_view::npos || bytes.find("<mzML") != std::string_view::npos ||
            bytes.find("<indexedmzML") != std::string_view::npos || bytes.find("<mzXML") != std::string_view::npos);
}

MsDataFile::MsDataFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MsDataFile::~MsDataFile() = default;
MsDataFile::MsDataFile(MsDataFile&&) noexcept = default;
MsDataFile& MsDataFile::operator=(MsDataFile&&) noexcept = default;

MsDataFile::MsDataFile(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw OrveloError("Не удалось открыть файл \"" + path + "\": " +
                          (std::filesystem::exists(path, ec) ? "это не обычный файл" : "файл не найден"));
    if (!EndsWithNoCase(path, ".gz") && !IsGzip(path)) RefuseZeroByteInFile(path);
    try {
        impl_->data = std::make_unique<pw::MSDataFile>(path);
    } catch (const std::exception& e) {
        if (!IsIndexFailure(e.what())) ThrowUnreadable(path, e);
        std::string bytes = DocumentBytes(path);
        RefuseZeroByte(bytes, 0, path);
        if (!NeutraliseIndexOffset(bytes)) ThrowUnreadable(path, e);
        impl_->data = std::make_unique<pw::MSData>();
        try {
            ReadDocument(std::move(bytes), *impl_->data);
        } catch (const std::exception& again) {
            ThrowUnreadable(path, again);
        }
    }
    impl_->ListScans();
}

MsDataFile MsDataFile::FromBytes(std::string bytes, const std::string& name) {
    auto impl = std::make_unique<Impl>();
    impl->path = name;
    impl->data = std::make_unique<pw::MSData>();
    RefuseZeroByte(bytes, 0, name);
    NeutraliseIndexOffset(bytes);
    try {
        ReadDocument(std::move(bytes), *impl->data);
    } catch (const std::exception& e) {
        ThrowUnreadable(name, e);
    }
    impl->ListScans();
    return MsDataFile(std::move(impl));
}

const std::vector<ScanInfo>& MsDataFile::scans() const { return impl_->scans; }

int MsDataFile::DefaultScan() const {
    const auto& s = impl_->scans;
    const auto ms1 = std::find_if(s.begin(), s.end(), [](const ScanInfo& i) { return i.ms1Profile(); });
    if (ms1 != s.end()) return ms1->number;
    return s.empty() ? 0 : 1;
}

LoadedSpectrum MsDataFile::LoadScan(int number) const {
    const auto& s = impl_->scans;
    if (number < 1 || number > static_cast<int>(s.size()))
        throw OrveloError(s.empty() ? "В файле \"" + impl_->path + "\" нет ни одного спектра"
                                    : "В файле \"" + impl_->path + "\" нет спектра " + std::to_string(number) +
                                          ": номера спектров от 1 до " + std::to_string(s.size()));
    const ScanInfo& info = s[static_cast<std::size_t>(number - 1)];
    if (!info.fittable())
        throw OrveloError("Спектр " + std::to_string(number) + " (" + info.id +
                          ") записан в центроидах: от каждого пика в нём осталась одна линия, и форму пика "
                          "подобрать нельзя. Выберите профильный спектр (профиль; обычно это спектры MS1)");

    LoadedSpectrum loaded;
    try {
        const pw::SpectrumPtr spectrum = impl_->list().spectrum(static_cast<std::size_t>(number - 1), true);
        const pw::BinaryDataArrayPtr mz = spectrum->getMZArray();
        const pw::BinaryDataArrayPtr intensity = spectrum->getIntensityArray();
        if (!mz || !intensity || mz->data.size() != intensity->data.size())
            throw OrveloError("Спектр " + std::to_string(number) +
                              " не содержит пары массивов m/z и интенсивностей одной длины");
        loaded.points.x.assign(mz->data.begin(), mz->data.end());
        loaded.points.y.assign(intensity->data.begin(), intensity->data.end());
    } catch (const OrveloError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowUnreadable(impl_->path, e);
    }
    CheckPoints(loaded.points, number);

    // The id is shortened first, so that the file name and the time stay in the title.
    const std::string name = FileName(impl_->path);
    const std::string time = info.retentionTime ? ", " + RetentionTimeText(info.retentionTime) + " мин" : "";
    std::string title = name + ", " + info.id + time;
    const std::size_t fixed = CharCount(name) + CharCount(time) + 3;  // ", " and "…"
    if (CharCount(title) > kTitleMaxChars && fixed < kTitleMaxChars)
        title = name + ", " + CutToCharacters(info.id, kTitleMaxChars - fixed) + "…" + time;
    loaded.title = CutToCharacters(title, kTitleMaxChars);
    loaded.maxFractionDigits = 0;  // intensities are taken as stored: no x1000 scaling
    return loaded;
}

SpectrumSource MsDataFile::SourceOf(int number) const {
    SpectrumSource source;
    source.path = impl_->path;
    if (number < 1 || number > static_cast<int>(impl_->scans.size())) return source;
    const ScanInfo& info = impl_->scans[static_cast<std::size_t>(number - 1)];
    source.nativeId = info.id;
    source.msLevel = info.msLevel;
    source.retentionTime = info.retentionTime;
    return source;
}

std::vector<std::string> ScanTableHead() {
    return {"Номер", "Id", "Уровень MS", "Время, мин", "Точек", "Вид", "m/z от", "m/z до", "Полный ток"};
}

std::string RetentionTimeText(const std::optional<double>& seconds) {
    return seconds ? FormatFixed(*seconds / 60.0, 4) : std::string();
}

std::vector<std::string> ScanTableRow(const ScanInfo& scan) {
    static const char* const kKinds[] = {"профиль", "центроиды", "не отмечен"};
    return {std::to_string(scan.number),
            scan.id,
            scan.msLevel > 0 ? std::to_string(scan.msLevel) : std::string(),
            RetentionTimeText(scan.retentionTime),
            std::to_string(scan.points),
            kKinds[static_cast<int>(scan.representation)],
            Fixed(scan.lowMz, 4),
            Fixed(scan.highMz, 4),
            Fixed(scan.totalIonCurrent, 0)};
}

namespace {

std::string Exact(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

pw::DataProcessingPtr ProcessingOf(const SpectrumSource& source, const std::optional<AppliedCalibration>& calibration,
                                   const pw::SoftwarePtr& software) {
    auto processing = boost::make_shared<pw::DataProcessing>("orvelo_processing");
    pw::ProcessingMethod method;
    method.order = 0;
    method.softwarePtr = software;
    method.set(cv::MS_file_format_conversion);
    method.userParams.emplace_back("source file", source.path.empty() ? "" : FileName(source.path), "xsd:string");
    if (!source.nativeId.empty()) method.userParams.emplace_back("source spectrum", source.nativeId, "xsd:string");
    if (calibration) {
        method.set(cv::MS_m_z_calibration);
        method.userParams.emplace_back("calibration curve", calibration->parabola() ? "parabola" : "line",
                                       "xsd:string");
        method.userParams.emplace_back("calibration formula",
                                       "corrected m/z = m/z + (A*m/z^2 + B*m/z + C)/1000", "xsd:string");
        method.userParams.emplace_back("calibration coefficient A", Exact(calibration->a), "xsd:double");
        method.userParams.emplace_back("calibration coefficient B", Exact(calibration->b), "xsd:double");
        method.userParams.emplace_back("calibration coefficient C", Exact(calibration->c), "xsd:double");
    }
    processing->processingMethods.push_back(method);
    return processing;
}

}  // namespace

std::string MzMLBytes(const PointList& points, const SpectrumSource& source,
                      const std::optional<AppliedCalibration>& calibration) {
    pw::MSData msd;
    msd.id = source.path.empty() ? "orvelo" : std::filesystem::path(source.path).stem().string();
    msd.cvs = pw::defaultCVList();
    msd.fileDescription.fileContent.set(cv::MS_MS1_spectrum);
    msd.fileDescription.fileContent.set(cv::MS_profile_spectrum);
    if (!source.path.empty()) {
        auto file = boost::make_shared<pw::SourceFile>("source", FileName(source.path));
        std::error_code ec;
        const auto folder = std::filesystem::absolute(source.path, ec).parent_path().string();
        if (!ec) file->location = "file://" + folder;
        msd.fileDescription.sourceFilePtrs.push_back(file);
    }
    auto software = boost::make_shared<pw::Software>("orvelo");
    software->version = "1";
    software->set(cv::MS_custom_unreleased_software_tool, "Orvelo");
    msd.softwarePtrs.push_back(software);
    const pw::DataProcessingPtr processing = ProcessingOf(source, calibration, software);
    msd.dataProcessingPtrs.push_back(processing);

    auto spectrum = boost::make_shared<pw::Spectrum>();
    spectrum->index = 0;
    spectrum->id = source.nativeId.empty() ? "scan=1" : source.nativeId;
    spectrum->set(cv::MS_ms_level, source.msLevel > 0 ? source.msLevel : 1);
    spectrum->set(source.msLevel > 1 ? cv::MS_MSn_spectrum : cv::MS_MS1_spectrum);
    spectrum->set(cv::MS_profile_spectrum);
    if (!points.empty()) {
        const auto [low, high] = std::minmax_element(points.x.begin(), points.x.end());
        spectrum->set(cv::MS_lowest_observed_m_z, *low, cv::MS_m_z);
        spectrum->set(cv::MS_highest_observed_m_z, *high, cv::MS_m_z);
        double total = 0;
        for (double y : points.y) total += y;
        spectrum->set(cv::MS_total_ion_current, total, cv::MS_number_of_detector_counts);
    }
    spectrum->dataProcessingPtr = processing;
    pw::Scan scan;
    if (source.retentionTime) scan.set(cv::MS_scan_start_time, *source.retentionTime, cv::UO_second);
    spectrum->scanList.scans.push_back(scan);
    spectrum->scanList.set(cv::MS_no_combination);
    spectrum->setMZIntensityArrays(points.x, points.y, cv::MS_number_of_detector_counts);

    auto list = boost::make_shared<pw::SpectrumListSimple>();
    list->spectra.push_back(spectrum);
    list->dp = processing;
    msd.run.id = msd.id;
    msd.run.spectrumListPtr = list;

    pw::MSDataFile::WriteConfig config(pw::MSDataFile::Format_mzML);
    config.binaryDataEncoderConfig.precision = pw::BinaryDataEncoder::Precision_64;
    config.binaryDataEncoderConfig.compression = pw::BinaryDataEncoder::Compression_Zlib;
    config.useWorkerThreads = false;
    std::ostringstream bytes;
    try {
        pw::MSDataFile::write(msd, bytes, config);
    } catch (const std::exception& e) {
        throw OrveloError("Не удалось составить документ mzML: " + LibraryText(e));
    }
    return std::move(bytes).str();
}

void WriteMzMLFile(const std::string& path, const PointList& points, const SpectrumSource& source,
                   const std::optional<AppliedCalibration>& calibration) {
    WriteFileAtomically(path, MzMLBytes(points, source, calibration));
}

}  // namespace orvelo
