#include "core/compressed.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "core/errors.h"

namespace orvelo {

namespace {

std::string GigabytesText(std::size_t bytes) { return std::to_string(bytes >> 30) + " ГБ"; }

// zlib counts its input and output in 32-bit units: the input is fed in pieces.
constexpr std::size_t kPiece = std::size_t{1} << 30;

class Inflater {
public:
    explicit Inflater(int windowBits) { ok_ = inflateInit2(&z_, windowBits) == Z_OK; }
    ~Inflater() {
        if (ok_) inflateEnd(&z_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    bool ok() const { return ok_; }
    z_stream& z() { return z_; }

private:
    z_stream z_{};
    bool ok_ = false;
};

}  // namespace

bool StartsWithGzipMagic(std::string_view head) {
    return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0x1F &&
           static_cast<unsigned char>(head[1]) == 0x8B;
}

std::string InflateGzip(std::string_view compressed, const std::string& name) {
    const std::string prefix = "Файл \"" + name + "\" не удалось распаковать: ";
    Inflater inflater(16 + MAX_WBITS);  // gzip wrapper only
    if (!inflater.ok()) throw OrveloError(prefix + "не удалось начать распаковку");
    z_stream& z = inflater.z();
    const std::size_t ratioLimit = compressed.size() > kMaxInflatedBytes / kMaxInflationRatio
                                       ? kMaxInflatedBytes
                                       : compressed.size() * kMaxInflationRatio;
    const std::size_t limit = std::min(kMaxInflatedBytes, ratioLimit);
    std::string out;
    std::size_t fed = 0;
    char buffer[1 << 16];
    for (;;) {
        if (z.avail_in == 0 && fed < compressed.size()) {
            const std::size_t n = std::min(kPiece, compressed.size() - fed);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data() + fed));
            z.avail_in = static_cast<uInt>(n);
            fed += n;
        }
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        const int status = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = sizeof buffer - z.avail_out;
        if (out.size() + produced > limit) {
            if (limit < kMaxInflatedBytes)
                throw OrveloError(prefix + "данные сжаты более чем в " + std::to_string(kMaxInflationRatio) +
                                  " раз (из " + std::to_string(compressed.size()) +
                                  " байт получается больше " + std::to_string(limit) +
                                  "), так спектры не сжимаются");
            throw OrveloError(prefix + "распакованные данные больше " + GigabytesText(kMaxInflatedBytes));
        }
        out.append(buffer, produced);
        if (status == Z_STREAM_END) {
            // Another member may follow; trailing zero padding is allowed, as gunzip allows it.
            const std::string_view rest = compressed.substr(fed - z.avail_in);
            if (rest.find_first_not_of('\0') == std::string_view::npos) return out;
            if (!StartsWithGzipMagic(rest)) throw OrveloError(prefix + "после сжатых данных лишние байты");
            inflateReset(&z);
            continue;
        }
        if (status == Z_BUF_ERROR && z.avail_in == 0 && fed == compressed.size())
            throw OrveloError(prefix + "сжатые данные обрываются (файл обрезан)");
        if (status != Z_OK && status != Z_BUF_ERROR)
            throw OrveloError(prefix + "сжатые данные повреждены" + (z.msg ? std::string(" (") + z.msg + ")" : ""));
    }
}

std::optional<InflatedCount> CountInflatedBytes(std::string_view zlibStream, std::size_t limit) {
    Inflater inflater(MAX_WBITS);  // zlib wrapper
    if (!inflater.ok()) return std::nullopt;
    z_stream& z = inflater.z();
    InflatedCount count;
    std::size_t fed = 0;
    char buffer[1 << 16];
    for (;;) {
        if (z.avail_in == 0 && fed < zlibStream.size()) {
            const std::size_t n = std::min(kPiece, zlibStream.size() - fed);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zlibStream.data() + fed));
            z.avail_in = static_cast<uInt>(n);
            fed += n;
        }
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        const int status = inflate(&z, Z_NO_FLUSH);
        count.bytes += sizeof buffer - z.avail_out;
        if (count.bytes > limit) {
            count.beyondLimit = true;
            return count;
        }
        if (status == Z_STREAM_END) return count;
        if (status == Z_BUF_ERROR && z.avail_in == 0 && fed == zlibStream.size()) return std::nullopt;
        if (status != Z_OK && status != Z_BUF_ERROR) return std::nullopt;
    }
}

}  // namespace orvelo
