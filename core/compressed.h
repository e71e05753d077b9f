#pragma once
// Bounded inflation of gzip files and of the zlib streams inside instrument files: a few
// kilobytes of compressed zeros can stand for gigabytes, so every inflation has a ceiling.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvelo {

// The two bytes that open every gzip stream.
bool StartsWithGzipMagic(std::string_view head);

inline constexpr std::size_t kMaxInflatedBytes = std::size_t{4} << 30;  // 4 GiB
inline constexpr std::size_t kMaxInflationRatio = 1000;

// The content of a gzip file (several members are joined, as gunzip does). Refuses, naming
// `name`, damaged data and output beyond kMaxInflatedBytes or kMaxInflationRatio times the
// compressed size.
std::string InflateGzip(std::string_view compressed, const std::string& name);

// The number of bytes a zlib stream inflates to, counted without keeping them; nullopt when
// the stream is damaged or incomplete, or when it would exceed `limit` (counting stops there).
struct InflatedCount {
    std::size_t bytes = 0;
    bool beyondLimit = false;
};
std::optional<InflatedCount> CountInflatedBytes(std::string_view zlibStream, std::size_t limit);

}  // namespace orvelo
