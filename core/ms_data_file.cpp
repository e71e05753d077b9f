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
#include <new>
#include <utility>

#include "core/compressed.h"
#include "core/cp1251.h"
#include "core/errors.h"
#include "core/markup_check.h"
#include "core/number_text.h"
#include "core/text_file.h"

namespace orvelo {

namespace pw = pwiz::msdata;
namespace cv = pwiz::cv;

namespace {

// The document held in memory (a gzipped file, a file read without its index) is at most
// this large; far beyond the runs it is meant for.
constexpr std::size_t kMaxInMemoryBytes = kMaxInflatedBytes;
constexpr std::size_t kSniffBytes = 512;
// One binary array of a spectrum, decoded: 32 million doubles, far beyond any real scan.
constexpr std::size_t kMaxArrayBytes = std::size_t{256} << 20;
// zlib cannot pack more than about 1032 bytes into one.
constexpr std::size_t kZlibMaxRatio = 1032;

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    return std::equal(
        tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
}

std::string FileHead(const std::string& path, std::size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string head(n, '\0');
    in.read(head.data(), static_cast<std::streamsize>(n));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
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

constexpr std::size_t kLibraryTextChars = 200;

// The library's message in the operator's words, the message itself in parentheses (without
// the "[Class::method()] " the library puts before it).
std::string LibraryText(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr)
        return "не хватило памяти, файл повреждён или слишком велик";
    static const std::pair<const char*, const char*> kKnown[] = {
        {"nsupported file format", "формат файла не распознан"},
        {"Bad istream", "файл повреждён или обрезан"},
        {"no element found", "файл обрывается до конца документа"},
        {"not well-formed", "файл не является правильным документом XML"},
        {"zlib", "сжатые данные спектра повреждены"},
        {"numpress", "сжатые данные спектра (MS-Numpress) повреждены"},
        {"byteCount", "длина данных массива не совпадает с объявленной"},
        {"end tag", "нарушена вложенность элементов XML"},
        {"lexical cast", "значение в файле не является числом нужного вида"},
        {"lexical_cast", "значение в файле не является числом нужного вида"},
        {"base64", "данные массива в кодировке base64 повреждены"},
        {"Base64", "данные массива в кодировке base64 повреждены"},
        {"entity", "недопустимая ссылка на сущность XML"},
        {"encoding", "кодировка документа не поддерживается"},
        {"attribute", "неверный атрибут элемента XML"},
        {"Unknown element", "неизвестный элемент XML"},
        {"cvParam accession", "неверный номер термина словаря"},
        {"resolve reference", "ссылка на элемент, которого в файле нет"},
        {"peak count", "неверное число точек спектра"},
    };
    std::string text = e.what();
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find("] ");
        if (close != std::string::npos) text.erase(0, close + 2);
    }
    // One line of readable length: the library quotes damaged input as it found it.
    text = AnyTextToUtf8(text);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (CharCount(text) > kLibraryTextChars) text = CutToCharacters(text, kLibraryTextChars) + "…";
    for (const auto& [english, russian] : kKnown)
        if (text.find(english) != std::string::npos) return std::string(russian) + " (" + text + ")";
    if (text.empty()) return "библиотека чтения не сообщила причину";
    return "содержимое не соответствует формату (" + text + ")";
}

[[noreturn]] void ThrowUnreadable(const std::string& path, const std::exception& e) {
    throw OrveloError("Файл \"" + path + "\" не удалось прочитать как mzML или mzXML: " + LibraryText(e));
}

[[noreturn]] void ThrowUnreadableScan(const std::string& path, int scan, const std::exception& e) {
    throw OrveloError("Файл \"" + path + "\": спектр " + std::to_string(scan) +
                      " не удалось прочитать: " + LibraryText(e));
}

// Overwrites the digits of <indexListOffset> (mzML) or <indexOffset> (mzXML) with zeros (same
// length, so nothing else moves): with a zero offset the library finds the spectra by reading
// the document through.
bool NeutraliseIndexOffset(std::string& bytes) {
    bool changed = false;
    for (const std::string_view open : {std::string_view("<indexListOffset>"), std::string_view("<indexOffset>")}) {
        const std::size_t at = bytes.rfind(open);
        if (at == std::string::npos) continue;
        for (std::size_t i = at + open.size(); i < bytes.size() && bytes[i] != '<'; ++i) {
            if (bytes[i] >= '1' && bytes[i] <= '9') {
                bytes[i] = '0';
                changed = true;
            }
        }
    }
    return changed;
}

// An input stream over a document in memory that shares it instead of copying it.
class SharedBytesBuf : public std::streambuf {
public:
    explicit SharedBytesBuf(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {
        char* begin = const_cast<char*>(bytes_->data());
        setg(begin, begin, begin + bytes_->size());
    }

protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
        const off_type base = dir == std::ios_base::beg   ? 0
                              : dir == std::ios_base::cur ? gptr() - eback()
                                                          : egptr() - eback();
        return seekpos(pos_type(base + off), std::ios_base::in);
    }
    pos_type seekpos(pos_type pos, std::ios_base::openmode) override {
        const off_type at = pos;
        if (at < 0 || at > egptr() - eback()) return pos_type(off_type(-1));
        setg(eback(), eback() + at, egptr());
        return pos;
    }

private:
    std::shared_ptr<const std::string> bytes_;
};

class SharedBytesStream : public std::istream {
public:
    explicit SharedBytesStream(std::shared_ptr<const std::string> bytes)
        : std::istream(nullptr), buf_(std::move(bytes)) {
        rdbuf(&buf_);
    }

private:
    SharedBytesBuf buf_;
};

bool IsMzXML(std::string_view document) { return document.substr(0, 4096).find("<mzXML") != std::string_view::npos; }

void ReadDocument(const std::shared_ptr<const std::string>& bytes, pw::MSData& msd) {
    auto stream = boost::shared_ptr<std::istream>(new SharedBytesStream(bytes));
    if (IsMzXML(*bytes)) pw::Serializer_mzXML().read(stream, msd);
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

// Neighbouring masses closer than this fraction of the mass are no measurement: no instrument
// resolves them, and the fit would work on rounding noise.
constexpr double kMinRelativeStep = 1e-9;

// The checks of the text reader, applied to the arrays of one spectrum, and those that only
// instrument data needs: masses above zero, steps an instrument can make, some intensity
// above zero.
void CheckPoints(PointList& points, int scan) {
    if (points.count() < 2)
        throw OrveloError(std::string(kRangeCheckError) + ": в спектре " + std::to_string(scan) + " меньше двух точек");
    for (std::size_t i = 0; i < points.x.size(); ++i) {
        if (!std::isfinite(points.x[i]) || !std::isfinite(points.y[i]))
            throw OrveloError(PointPrefix(scan, i) + "масса и интенсивность должны быть конечными числами");
        if (points.x[i] <= 0)
            throw OrveloError(PointPrefix(scan, i) + "масса должна быть больше нуля (" + FormatGeneral(points.x[i]) +
                              ")");
    }
    const bool descending = points.x[0] > points.x[1];
    for (std::size_t i = 1; i < points.x.size(); ++i) {
        const double step = std::abs(points.x[i] - points.x[i - 1]);
        if (step != 0 && step < kMinRelativeStep * points.x[i])
            throw OrveloError(PointPrefix(scan, i) + "масса отличается от предыдущей (" +
                              FormatGeneral(points.x[i - 1]) + ") на " + FormatGeneral(step) + ", меньше " +
                              FormatGeneral(kMinRelativeStep) + " её величины: таких точек прибор не различает");
        const bool wrong = descending ? points.x[i] > points.x[i - 1] : points.x[i] < points.x[i - 1];
        if (!wrong) continue;
        throw OrveloError(PointPrefix(scan, i) +
                          (descending ? "массы должны убывать, как в начале спектра" : "массы должны возрастать") +
                          " (" + FormatGeneral(points.x[i]) + " после " + FormatGeneral(points.x[i - 1]) + ")");
    }
    if (std::none_of(points.y.begin(), points.y.end(), [](double y) { return y > 0; }))
        throw OrveloError("Спектр " + std::to_string(scan) + ": ни одна интенсивность не больше нуля, пиков в нём нет");
    if (descending) {
        std::reverse(points.x.begin(), points.x.end());
        std::reverse(points.y.begin(), points.y.end());
    }
}

std::string Fixed(const std::optional<double>& v, int decimals) {
    return v ? FormatFixed(*v, decimals) : std::string();
}

// ---- A look at the XML itself, before the library follows or decodes it ----

// The value of attribute `name` in the start tag `tag` ("<spectrum id=... index=...>"), with
// the five predefined entities and character references replaced.
std::optional<std::string> Attribute(std::string_view tag, std::string_view name) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        const char before = at > 0 ? tag[at - 1] : '<';
        if (before != ' ' && before != '\t' && before != '\r' && before != '\n') continue;
        std::size_t i = at + name.size();
        while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n')) ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n')) ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) return std::nullopt;
        const std::size_t close = tag.find(tag[i], i + 1);
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view raw = tag.substr(i + 1, close - i - 1);
        std::string value;
        for (std::size_t k = 0; k < raw.size(); ++k) {
            if (raw[k] != '&') {
                value += raw[k];
                continue;
            }
            const std::size_t semi = raw.find(';', k);
            if (semi == std::string_view::npos) return std::nullopt;
            const std::string_view ref = raw.substr(k + 1, semi - k - 1);
            static const std::pair<std::string_view, char> kEntities[] = {
                {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            bool known = false;
            for (const auto& [entity, ch] : kEntities)
                if (ref == entity) value += ch, known = true;
            if (!known && ref.size() > 1 && ref[0] == '#') {
                const bool hex = ref[1] == 'x';
                const std::string digits(ref.substr(hex ? 2 : 1));
                char* stop = nullptr;
                const unsigned long c = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
                if (digits.empty() || *stop != '\0' || c > 0x10FFFF) return std::nullopt;
                if (c < 0x80) value += static_cast<char>(c);
                else if (c < 0x800) value += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
                else if (c < 0x10000)
                    value += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                              static_cast<char>(0x80 | (c & 0x3F))};
                else
                    value += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                              static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
                known = true;
            }
            if (!known) return std::nullopt;
            k = semi;
        }
        return value;
    }
    return std::nullopt;
}

std::optional<std::size_t> NumberAttribute(std::string_view tag, std::string_view name) {
    const auto text = Attribute(tag, name);
    if (!text || text->empty() || text->size() > 19 || text->find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<std::size_t>(std::stoull(*text));
}

// The start tag at the beginning of `text` when it is an element `name` ("<spectrum ...>").
std::optional<std::string_view> StartTag(std::string_view text, std::string_view name) {
    if (text.size() < name.size() + 2 || text[0] != '<' || text.substr(1, name.size()) != name) return std::nullopt;
    const char after = text[name.size() + 1];
    if (after != ' ' && after != '\t' && after != '\r' && after != '\n' && after != '>') return std::nullopt;
    const std::size_t close = text.find('>');
    if (close == std::string_view::npos) return std::nullopt;
    return text.substr(0, close + 1);
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// The bytes of a base64 text (white space skipped, decoding ends at the padding); nullopt when
// another character appears.
std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    unsigned int bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '=') break;
        const int v = Base64Value(c);
        if (v < 0) return std::nullopt;
        bits = (bits << 6) | static_cast<unsigned int>(v);
        if (++count == 4) {
            out += static_cast<char>((bits >> 16) & 0xFF);
            out += static_cast<char>((bits >> 8) & 0xFF);
            out += static_cast<char>(bits & 0xFF);
            bits = 0;
            count = 0;
        }
    }
    if (count == 2) out += static_cast<char>((bits >> 4) & 0xFF);
    if (count == 3) {
        out += static_cast<char>((bits >> 10) & 0xFF);
        out += static_cast<char>((bits >> 2) & 0xFF);
    }
    return out;
}

std::string MegabytesText(std::size_t bytes) { return FormatFixed(static_cast<double>(bytes) / (1 << 20), 1) + " МБ"; }

// One binary array as the XML declares it.
struct DeclaredArray {
    std::size_t values = 0;      // 0: not declared
    std::size_t valueBytes = 8;  // bytes per decoded value
    bool knownType = false;      // valueBytes is the declared type's, not a guess
    bool zlib = false;
    bool numpress = false;
    std::string_view base64;
};

// An array whose declared or inflated size is beyond the limit, or beyond what its bytes in
// the file can hold, is refused before the library decodes it.
void CheckDeclaredArray(const DeclaredArray& a, std::size_t documentBytes, const std::string& where) {
    const std::size_t declared = a.values > kMaxArrayBytes ? kMaxArrayBytes + 1 : a.values * a.valueBytes;
    if (declared > kMaxArrayBytes)
        throw OrveloError(where + "массив объявлен на " + std::to_string(a.values) + " значений, больше допустимых " +
                          MegabytesText(kMaxArrayBytes));
    if (declared > documentBytes * kZlibMaxRatio)
        throw OrveloError(where + "массив объявлен на " + std::to_string(a.values) +
                          " значений, а во всём файле нет данных на столько");
    const auto bytes = DecodeBase64(a.base64);
    if (!bytes) throw OrveloError(where + "данные массива в кодировке base64 повреждены");
    if (!a.zlib && !a.numpress && a.knownType && a.values > 0 && declared > bytes->size())
        throw OrveloError(where + "массив объявлен на " + std::to_string(a.values) + " значений, а данных в файле на " +
                          std::to_string(bytes->size() / a.valueBytes));
    if (!a.zlib) return;
    // MS-Numpress packs a value into at most 8 bytes, behind a header of at most 16.
    const std::size_t limit = a.values == 0 ? kMaxArrayBytes : a.numpress ? declared + 16 : declared;
    const auto inflated = CountInflatedBytes(*bytes, limit);
    if (!inflated) throw OrveloError(where + "сжатые данные массива (zlib) повреждены или обрезаны");
    if (inflated->beyondLimit)
        throw OrveloError(
            where + "сжатый массив (" + std::to_string(bytes->size()) + " байт) распаковывается больше чем в " +
            (a.values == 0
                 ? "допустимые " + MegabytesText(limit)
                 : std::to_string(limit) + " байт, объявленных для " + std::to_string(a.values) + " значений") +
            "; распаковка прервана");
}

bool HasAccession(std::string_view text, std::string_view accession) {
    return text.find("\"" + std::string(accession) + "\"") != std::string_view::npos ||
           text.find("'" + std::string(accession) + "'") != std::string_view::npos;
}

// The binary arrays of one <spectrum> element of an mzML document.
void CheckMzMLArrays(std::string_view element, std::size_t documentBytes, const std::string& where) {
    const auto tag = StartTag(element, "spectrum");
    const std::size_t defaultLength = tag ? NumberAttribute(*tag, "defaultArrayLength").value_or(0) : 0;
    for (std::size_t at = element.find("<binaryDataArray"); at != std::string_view::npos;
         at = element.find("<binaryDataArray", at + 1)) {
        const std::string_view rest = element.substr(at);
        if (rest.size() > 16 && rest[16] == 'L') continue;  // <binaryDataArrayList
        const std::size_t close = rest.find("</binaryDataArray>");
        const std::string_view array = rest.substr(0, close);
        const auto arrayTag = StartTag(array, "binaryDataArray");
        if (!arrayTag) continue;
        DeclaredArray a;
        a.values = NumberAttribute(*arrayTag, "arrayLength").value_or(defaultLength);
        // 16-, 32- and 64-bit floats, 32- and 64-bit integers; another type is not measured exactly.
        static const std::pair<const char*, std::size_t> kTypes[] = {
            {"MS:1000520", 2}, {"MS:1000521", 4}, {"MS:1000523", 8}, {"MS:1000519", 4}, {"MS:1000522", 8}};
        for (const auto& [accession, bytes] : kTypes)
            if (HasAccession(array, accession)) a.valueBytes = bytes, a.knownType = true;
        a.zlib = HasAccession(array, "MS:1000574") || HasAccession(array, "MS:1002746") ||
                 HasAccession(array, "MS:1002747") || HasAccession(array, "MS:1002748");
        for (const char* accession :
             {"MS:1002312", "MS:1002313", "MS:1002314", "MS:1002746", "MS:1002747", "MS:1002748"})
            a.numpress = a.numpress || HasAccession(array, accession);
        if (a.numpress) a.valueBytes = 8;
        const std::size_t binary = array.find("<binary>");
        if (binary == std::string_view::npos) continue;
        const std::size_t binaryEnd = array.find("</binary>", binary);
        a.base64 = array.substr(binary + 8,
                                binaryEnd == std::string_view::npos ? std::string_view::npos : binaryEnd - binary - 8);
        CheckDeclaredArray(a, documentBytes, where);
    }
}

// The <peaks> of one <scan> element of an mzXML document: m/z and intensity pairs.
void CheckMzXMLPeaks(std::string_view element, std::size_t documentBytes, const std::string& where) {
    const auto tag = StartTag(element, "scan");
    const std::size_t at = element.find("<peaks");
    if (!tag || at == std::string_view::npos) return;
    const std::string_view peaks = element.substr(at);
    const std::size_t close = peaks.find('>');
    if (close == std::string_view::npos) return;
    const std::string_view peaksTag = peaks.substr(0, close + 1);
    DeclaredArray a;
    const std::size_t count = NumberAttribute(*tag, "peaksCount").value_or(0);
    a.values = count > kMaxArrayBytes ? kMaxArrayBytes + 1 : 2 * count;
    a.valueBytes = Attribute(peaksTag, "precision").value_or("32") == "64" ? 8 : 4;
    a.knownType = true;
    a.zlib = Attribute(peaksTag, "compressionType").value_or("none") == "zlib";
    a.base64 = peaks.substr(close + 1, peaks.find("</peaks>") - close - 1);
    CheckDeclaredArray(a, documentBytes, where);
}

std::string DamagedIndexWarning(const std::string& path) {
    return "Индекс файла \"" + path + "\" не совпадает с его содержимым: файл прочитан целиком без индекса";
}

// The start of an element; the offsets of some writers land on the white space before it.
std::string_view SkipWhiteSpace(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace

struct MsDataFile::Impl {
    std::string path;  // as given; its file name goes into titles
    // The document when it is held in memory (inflated, or read without its index); else it
    // is read from `path`, which is then not compressed.
    std::shared_ptr<const std::string> bytes;
    std::size_t documentBytes = 0;
    bool mzXML = false;
    std::unique_ptr<pw::MSData> data;
    std::vector<ScanInfo> scans;
    std::vector<std::string> warnings;
    mutable std::ifstream file;  // the document on disk, opened on first look

    const pw::SpectrumList& list() const { return *data->run.spectrumListPtr; }

    // Up to `n` bytes of the document from `offset`.
    std::string ReadAt(std::size_t offset, std::size_t n) const {
        if (offset >= documentBytes) return {};
        n = std::min(n, documentBytes - offset);
        if (bytes) return bytes->substr(offset, n);
        if (!file.is_open()) file.open(path, std::ios::binary);
        file.clear();
        std::istream& in = file;
        in.seekg(static_cast<std::streamoff>(offset));
        std::string text(n, '\0');
        in.read(text.data(), static_cast<std::streamsize>(n));
        text.resize(static_cast<std::size_t>(in.gcount()));
        return text;
    }

    // The text from `offset` to the first `end` after it (or to the end of the document).
    std::string ReadUntil(std::size_t offset, std::string_view end) const {
        if (bytes) {
            if (offset >= bytes->size()) return {};
            const std::size_t to = bytes->find(end, offset);
            return bytes->substr(offset, to == std::string::npos ? std::string::npos : to + end.size() - offset);
        }
        std::string text;
        for (std::size_t chunk = 1 << 16; offset + text.size() < documentBytes; chunk *= 2) {
            const std::size_t from = text.size() >= end.size() ? text.size() - end.size() : 0;
            text += ReadAt(offset + text.size(), chunk);
            const std::size_t to = text.find(end, from);
            if (to != std::string::npos) return text.substr(0, to + end.size());
        }
        return text;
    }

    void ReadInMemory(std::string document) {
        bytes = std::make_shared<const std::string>(std::move(document));
        documentBytes = bytes->size();
        mzXML = IsMzXML(*bytes);
        data = std::make_unique<pw::MSData>();
        try {
            ReadDocument(bytes, *data);
        } catch (const std::exception& e) {
            if (!IsIndexFailure(e.what())) ThrowUnreadable(path, e);
            std::string document = *bytes;
            if (!NeutraliseIndexOffset(document)) ThrowUnreadable(path, e);
            warnings.push_back(DamagedIndexWarning(path));
            bytes = std::make_shared<const std::string>(std::move(document));
            data = std::make_unique<pw::MSData>();
            try {
                ReadDocument(bytes, *data);
            } catch (const std::exception& again) {
                ThrowUnreadable(path, again);
            }
        }
    }

    // The whole document, from memory or from the file, with its index offset made zero.
    void ReadWithoutIndex() {
        std::string document = bytes ? *bytes : ReadFileBytes(path, kMaxInMemoryBytes);
        bytes.reset();
        data.reset();
        NeutraliseIndexOffset(document);
        ReadInMemory(std::move(document));
    }

    // The first spectrum (0-based) whose index entry does not lead to its own start tag.
    std::optional<std::size_t> FirstMisindexedSpectrum() const {
        if (!data->run.spectrumListPtr) return std::nullopt;
        const std::size_t n = list().size();
        for (std::size_t i = 0; i < n; ++i) {
            const pw::SpectrumIdentity& identity = list().spectrumIdentity(i);
            if (identity.sourceFilePosition < 0) return i;
            const std::string text = ReadAt(static_cast<std::size_t>(identity.sourceFilePosition), 4096);
            const std::string_view head = SkipWhiteSpace(text);
            if (mzXML) {
                const auto tag = StartTag(head, "scan");
                const auto num = tag ? Attribute(*tag, "num") : std::nullopt;
                if (!num || num->empty()) return i;
                const std::string& id = identity.id;
                const bool sameScan = id == *num || (id.size() > num->size() && id.ends_with(*num) &&
                                                     id[id.size() - num->size() - 1] == '=');
                if (!sameScan) return i;
            } else {
                const auto tag = StartTag(head, "spectrum");
                if (!tag || Attribute(*tag, "id") != identity.id ||
                    NumberAttribute(*tag, "index") != std::optional<std::size_t>(i))
                    return i;
            }
        }
        return std::nullopt;
    }

    // A wrong index (the file was rewritten after indexing, or damaged) is not followed: the
    // document is read through instead, and the caller is told once.
    void CheckIndex() {
        std::optional<std::size_t> wrong;
        try {
            wrong = FirstMisindexedSpectrum();
        } catch (const std::exception& e) {
            ThrowUnreadable(path, e);
        }
        if (!wrong) return;
        warnings.push_back("Индекс файла \"" + path + "\" указывает не на те места (запись спектра " +
                           std::to_string(*wrong + 1) + "): файл прочитан целиком без индекса");
        ReadWithoutIndex();
    }

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

    // The sizes of the spectrum's arrays, checked before the library decodes them.
    void CheckArrays(int number) const {
        const pw::SpectrumIdentity& identity = list().spectrumIdentity(static_cast<std::size_t>(number - 1));
        if (identity.sourceFilePosition < 0) return;
        const auto offset = static_cast<std::size_t>(identity.sourceFilePosition);
        const std::string text = ReadUntil(offset, mzXML ? "</peaks>" : "</spectrum>");
        const std::string_view element = SkipWhiteSpace(text);
        const std::string where = "Файл \"" + path + "\", спектр " + std::to_string(number) + ": ";
        if (mzXML) CheckMzXMLPeaks(element, documentBytes, where);
        else CheckMzMLArrays(element, documentBytes, where);
    }
};

bool IsMsDataFile(const std::string& path) {
    if (HasMsDataName(FileName(path))) return true;
    // Only a regular file is looked into: a FIFO or a device would block or never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    const std::string head = FileHead(path, kSniffBytes);
    const std::string_view bytes(head);
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
    Impl& f = *impl_;
    f.path = path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw OrveloError("Не удалось открыть файл \"" + path +
                          "\": " + (std::filesystem::exists(path, ec) ? "это не обычный файл" : "файл не найден"));
    // Whether the file is compressed is told by its content, never by its name.
    if (StartsWithGzipMagic(FileHead(path, 2))) {
        std::string document = InflateGzip(ReadFileBytes(path, kMaxInMemoryBytes), path);
        CheckMarkup(document, path);
        f.ReadInMemory(std::move(document));
    } else {
        CheckMarkupOfFile(path);
        f.documentBytes = static_cast<std::size_t>(std::filesystem::file_size(path, ec));
        f.mzXML = IsMzXML(FileHead(path, 4096));
        try {
            f.data = std::make_unique<pw::MSDataFile>(path);
        } catch (const std::exception& e) {
            if (!IsIndexFailure(e.what())) ThrowUnreadable(path, e);
            std::string document = ReadFileBytes(path, kMaxInMemoryBytes);
            if (!NeutraliseIndexOffset(document)) ThrowUnreadable(path, e);
            f.warnings.push_back(DamagedIndexWarning(path));
            f.ReadInMemory(std::move(document));
        }
    }
    f.CheckIndex();
    f.ListScans();
}

MsDataFile MsDataFile::FromBytes(std::string bytes, const std::string& name) {
    auto impl = std::make_unique<Impl>();
    impl->path = name;
    if (StartsWithGzipMagic(bytes)) bytes = InflateGzip(bytes, name);
    CheckMarkup(bytes, name);
    NeutraliseIndexOffset(bytes);
    impl->ReadInMemory(std::move(bytes));
    impl->CheckIndex();
    impl->ListScans();
    return MsDataFile(std::move(impl));
}

const std::vector<std::string>& MsDataFile::warnings() const { return impl_->warnings; }

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
    impl_->CheckArrays(number);
    try {
        const pw::SpectrumPtr spectrum = impl_->list().spectrum(static_cast<std::size_t>(number - 1), true);
        const pw::BinaryDataArrayPtr mz = spectrum->getMZArray();
        const pw::BinaryDataArrayPtr intensity = spectrum->getIntensityArray();
        if (!mz || !intensity || mz->data.size() != intensity->data.size())
            throw OrveloError("Файл \"" + impl_->path + "\", спектр " + std::to_string(number) +
                              ": нет пары массивов m/z и интенсивностей одной длины");
        loaded.points.x.assign(mz->data.begin(), mz->data.end());
        loaded.points.y.assign(intensity->data.begin(), intensity->data.end());
    } catch (const OrveloError&) {
        throw;
    } catch (const std::exception& e) {
        ThrowUnreadableScan(impl_->path, number, e);
    }
    CheckPoints(loaded.points, number);

    // The id is shortened first, so that the file name and the time stay in the title. A file
    // name that is not UTF-8 was given in Windows-1251.
    const std::string name = AnyTextToUtf8(FileName(impl_->path));
    const std::string time = info.retentionTime ? ", " + RetentionTimeText(info.retentionTime) + " мин" : "";
    std::string title = name + ", " + info.id + time;
    const std::size_t fixed = CharCount(name) + CharCount(time) + 3;  // ", " and "…"
    if (CharCount(title) > kTitleMaxChars && fixed < kTitleMaxChars)
        title = name + ", " + CutToCharacters(info.id, kTitleMaxChars - fixed) + "…" + time;
    loaded.title = CutToCharacters(title, kTitleMaxChars);
    if (auto warning = TitleCharsWarning(*loaded.title)) loaded.warnings.push_back(std::move(*warning));
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

// The calibration applied to the masses, as every written file records it.
void AddCalibrationParams(pw::ProcessingMethod& method, const CalibrationCurve& calibration) {
    method.set(cv::MS_m_z_calibration);
    method.userParams.emplace_back("calibration curve", calibration.parabola() ? "parabola" : "line", "xsd:string");
    method.userParams.emplace_back("calibration formula", "corrected m/z = m/z + (A*m/z^2 + B*m/z + C)/1000",
                                   "xsd:string");
    method.userParams.emplace_back("calibration coefficient A", Exact(calibration.CalibA), "xsd:double");
    method.userParams.emplace_back("calibration coefficient B", Exact(calibration.CalibB), "xsd:double");
    method.userParams.emplace_back("calibration coefficient C", Exact(calibration.CalibC), "xsd:double");
}

// The id, vocabularies, source file (`sourcePath`, when given) and software of a written
// document; the software is returned for its processing description.
pw::SoftwarePtr StartDocument(pw::MSData& msd, const std::string& sourcePath, const std::string& version) {
    msd.id = sourcePath.empty() ? "orvelo" : std::filesystem::path(sourcePath).stem().string();
    msd.cvs = pw::defaultCVList();
    if (!sourcePath.empty()) {
        auto file = boost::make_shared<pw::SourceFile>("source", FileName(sourcePath));
        std::error_code ec;
        const auto folder = std::filesystem::absolute(sourcePath, ec).parent_path().string();
        if (!ec) file->location = "file://" + folder;
        msd.fileDescription.sourceFilePtrs.push_back(file);
    }
    auto software = boost::make_shared<pw::Software>("orvelo");
    software->version = version;
    software->set(cv::MS_custom_unreleased_software_tool, "Orvelo");
    msd.softwarePtrs.push_back(software);
    return software;
}

// The document as every written mzML holds it: 64-bit arrays, zlib, written on this thread;
// with `floatExtras` the program's own (non-standard) arrays are 32-bit.
std::string SerialisedMzML(const pw::MSData& msd, bool floatExtras) {
    pw::MSDataFile::WriteConfig config(pw::MSDataFile::Format_mzML);
    config.binaryDataEncoderConfig.precision = pw::BinaryDataEncoder::Precision_64;
    if (floatExtras)
        config.binaryDataEncoderConfig.precisionOverrides[cv::MS_non_standard_data_array] =
            pw::BinaryDataEncoder::Precision_32;
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

pw::DataProcessingPtr ProcessingOf(const SpectrumSource& source, const std::optional<CalibrationCurve>& calibration,
                                   const pw::SoftwarePtr& software) {
    auto processing = boost::make_shared<pw::DataProcessing>("orvelo_processing");
    pw::ProcessingMethod method;
    method.order = 0;
    method.softwarePtr = software;
    method.set(cv::MS_file_format_conversion);
    method.userParams.emplace_back("source file", source.path.empty() ? "" : FileName(source.path), "xsd:string");
    if (!source.nativeId.empty()) method.userParams.emplace_back("source spectrum", source.nativeId, "xsd:string");
    if (calibration) AddCalibrationParams(method, *calibration);
    processing->processingMethods.push_back(method);
    return processing;
}

}  // namespace

std::string MzMLBytes(const PointList& points, const SpectrumSource& source,
                      const std::optional<CalibrationCurve>& calibration) {
    pw::MSData msd;
    const pw::SoftwarePtr software = StartDocument(msd, source.path, "1");
    msd.fileDescription.fileContent.set(cv::MS_MS1_spectrum);
    msd.fileDescription.fileContent.set(cv::MS_profile_spectrum);
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

    return SerialisedMzML(msd, false);
}

void WriteMzMLFile(const std::string& path, const PointList& points, const SpectrumSource& source,
                   const std::optional<CalibrationCurve>& calibration) {
    WriteFileAtomically(path, MzMLBytes(points, source, calibration));
}

namespace {

pw::BinaryDataArrayPtr FloatArray(const char* name, cv::CVID unit, std::vector<double> values,
                                  const pw::DataProcessingPtr& processing) {
    auto array = boost::make_shared<pw::BinaryDataArray>();
    array->set(cv::MS_non_standard_data_array, name, unit);
    array->data = std::move(values);
    array->dataProcessingPtr = processing;
    return array;
}

pw::SpectrumPtr CentroidSpectrumOf(const CentroidSpectrum& in, std::size_t index,
                                   const pw::DataProcessingPtr& processing) {
    std::vector<CentroidPeak> peaks = in.peaks;
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const CentroidPeak& a, const CentroidPeak& b) { return a.mz < b.mz; });
    std::vector<double> mz, intensity, fwhm, error;
    for (const CentroidPeak& p : peaks) {
        mz.push_back(p.mz);
        intensity.push_back(p.intensity);
        fwhm.push_back(p.fwhmPpm);
        error.push_back(p.mzStandardError);
    }
    auto spectrum = boost::make_shared<pw::Spectrum>();
    spectrum->index = index;
    spectrum->id = in.source.nativeId.empty() ? "index=" + std::to_string(index) : in.source.nativeId;
    spectrum->set(cv::MS_ms_level, in.source.msLevel > 0 ? in.source.msLevel : 1);
    spectrum->set(in.source.msLevel > 1 ? cv::MS_MSn_spectrum : cv::MS_MS1_spectrum);
    spectrum->set(cv::MS_centroid_spectrum);
    double total = 0;
    for (double y : intensity) total += y;
    spectrum->set(cv::MS_total_ion_current, total, cv::MS_number_of_detector_counts);
    if (!mz.empty()) {
        spectrum->set(cv::MS_lowest_observed_m_z, mz.front(), cv::MS_m_z);
        spectrum->set(cv::MS_highest_observed_m_z, mz.back(), cv::MS_m_z);
        const auto base = std::max_element(intensity.begin(), intensity.end()) - intensity.begin();
        spectrum->set(cv::MS_base_peak_m_z, mz[static_cast<std::size_t>(base)], cv::MS_m_z);
        spectrum->set(cv::MS_base_peak_intensity, intensity[static_cast<std::size_t>(base)],
                      cv::MS_number_of_detector_counts);
    }
    spectrum->dataProcessingPtr = processing;
    pw::Scan scan;
    if (in.source.retentionTime) scan.set(cv::MS_scan_start_time, *in.source.retentionTime, cv::UO_second);
    spectrum->scanList.scans.push_back(scan);
    spectrum->scanList.set(cv::MS_no_combination);
    spectrum->setMZIntensityArrays(mz, intensity, cv::MS_number_of_detector_counts);
    spectrum->binaryDataArrayPtrs.push_back(
        FloatArray(kFwhmPpmArrayName, cv::UO_parts_per_million, std::move(fwhm), processing));
    spectrum->binaryDataArrayPtrs.push_back(
        FloatArray(kMzStandardErrorArrayName, cv::MS_m_z, std::move(error), processing));
    return spectrum;
}

}  // namespace

std::string CentroidMzMLBytes(const std::vector<CentroidSpectrum>& spectra, const std::string& sourcePath,
                              const std::optional<CalibrationCurve>& calibration, const std::string& version) {
    pw::MSData msd;
    const pw::SoftwarePtr software = StartDocument(msd, sourcePath, version);
    bool msn = false;
    for (const CentroidSpectrum& s : spectra) msn = msn || s.source.msLevel > 1;
    msd.fileDescription.fileContent.set(cv::MS_MS1_spectrum);
    if (msn) msd.fileDescription.fileContent.set(cv::MS_MSn_spectrum);
    msd.fileDescription.fileContent.set(cv::MS_centroid_spectrum);

    auto processing = boost::make_shared<pw::DataProcessing>("orvelo_peak_picking");
    pw::ProcessingMethod method;
    method.order = 0;
    method.softwarePtr = software;
    method.set(cv::MS_peak_picking);
    method.userParams.emplace_back("peak picker", "Orvelo " + version + ": least-squares fit of every peak zone",
                                   "xsd:string");
    method.userParams.emplace_back("intensity", "fitted height above background", "xsd:string");
    if (calibration) AddCalibrationParams(method, *calibration);
    processing->processingMethods.push_back(method);
    msd.dataProcessingPtrs.push_back(processing);

    auto list = boost::make_shared<pw::SpectrumListSimple>();
    for (std::size_t i = 0; i < spectra.size(); ++i)
        list->spectra.push_back(CentroidSpectrumOf(spectra[i], i, processing));
    list->dp = processing;
    msd.run.id = msd.id;
    msd.run.spectrumListPtr = list;

    return SerialisedMzML(msd, true);
}

}  // namespace orvelo
