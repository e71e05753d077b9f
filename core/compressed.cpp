#include "core/compressed.h"

#include <zlib.h>

#include <algorithm>

#include "core/errors.h"

namespace orvelo {

namespace {

std::string GigabytesText(std::size_t bytes) { return std::to_string(bytes >> 30) + " ГБ"; }

// zlib counts its input and output in 32-bit units: the input is fed in pieces.
constexpr std::size_t kPiece = std::size_t{1} << 30;

// Inflates `input` into a buffer, one inflate call at a time, feeding it in pieces.
class Inflater {
public:
    Inflater(std::string_view input, int windowBits) : input_(input) { ok_ = inflateInit2(&z_, windowBits) == Z_OK; }
    ~Inflater() {
        if (ok_) inflateEnd(&z_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    bool ok() const { return ok_; }
    const z_stream& z() const { return z_; }
    void Reset() { inflateReset(&z_); }

    // One inflate call into `buffer`: its status; `produced` the bytes it wrote.
    int Step(char* buffer, std::size_t size, std::size_t& produced) {
        if (z_.avail_in == 0 && fed_ < input_.size()) {
            const std::size_t n = std::min(kPiece, input_.size() - fed_);
            z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input_.data() + fed_));
            z_.avail_in = static_cast<uInt>(n);
            fed_ += n;
        }
        z_.next_out = reinterpret_cast<Bytef*>(buffer);
        z_.avail_out = static_cast<uInt>(size);
        const int status = inflate(&z_, Z_NO_FLUSH);
        produced = size - z_.avail_out;
        return status;
    }
    // The input has been fed whole and taken in.
    bool Exhausted() const { return z_.avail_in == 0 && fed_ == input_.size(); }
    // The input after what inflate has taken.
    std::string_view Rest() const { return input_.substr(fed_ - z_.avail_in); }

private:
    std::string_view input_;
    std::size_t fed_ = 0;
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
    Inflater inflater(compressed, 16 + MAX_WBITS);  // gzip wrapper only
    if (!inflater.ok()) throw OrveloError(prefix + "не удалось начать распаковку");
    const std::size_t ratioLimit = compressed.size() > kMaxInflatedBytes / kMaxInflationRatio
                                       ? kMaxInflatedBytes
                                       : compressed.size() * kMaxInflationRatio;
    const std::size_t limit = std::min(kMaxInflatedBytes, ratioLimit);
    std::string out;
    char buffer[1 << 16];
    for (;;) {
        std::size_t produced = 0;
        const int status = inflater.Step(buffer, sizeof buffer, produced);
        if (out.size() + produced > limit) {
            if (limit < kMaxInflatedBytes)
                throw OrveloError(prefix + "данные сжаты более чем в " + std::to_string(kMaxInflationRatio) +
                                  " раз (из " + std::to_string(compressed.size()) + " байт получается больше " +
                                  std::to_string(limit) + "), так спектры не сжимаются");
            throw OrveloError(prefix + "распакованные данные больше " + GigabytesText(kMaxInflatedBytes));
        }
        out.append(buffer, produced);
        if (status == Z_STREAM_END) {
            // Another member may follow; trailing zero padding is allowed, as gunzip allows it.
            const std::string_view rest = inflater.Rest();
            if (rest.find_first_not_of('\0') == std::string_view::npos) return out;
            if (!StartsWithGzipMagic(rest)) throw OrveloError(prefix + "после сжатых данных лишние байты");
            inflater.Reset();
            continue;
        }
        if (status == Z_BUF_ERROR && inflater.Exhausted())
            throw OrveloError(prefix + "сжатые данные обрываются (файл обрезан)");
        if (status != Z_OK && status != Z_BUF_ERROR) {
            const char* why = inflater.z().msg;
            throw OrveloError(prefix + "сжатые данные повреждены" + (why ? std::string(" (") + why + ")" : ""));
        }
    }
}

std::optional<InflatedCount> CountInflatedBytes(std::string_view zlibStream, std::size_t limit) {
    Inflater inflater(zlibStream, MAX_WBITS);  // zlib wrapper
    if (!inflater.ok()) return std::nullopt;
    InflatedCount count;
    char buffer[1 << 16];
    for (;;) {
        std::size_t produced = 0;
        const int status = inflater.Step(buffer, sizeof buffer, produced);
        count.bytes += produced;
        if (count.bytes > limit) {
            count.beyondLimit = true;
            return count;
        }
        if (status == Z_STREAM_END) return count;
        // Damaged, or cut short: the input is used up before the stream ends.
        if (status == Z_BUF_ERROR ? inflater.Exhausted() : status != Z_OK) return std::nullopt;
    }
}

}  // namespace orvelo
