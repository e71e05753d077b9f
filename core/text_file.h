#pragma once
// The OS edge for text files. Readers and writers elsewhere work on strings and line lists;
// only these functions touch the disk.
#include <cstddef>
#include <string>
#include <vector>

namespace orvelo {

// Whole file as bytes. Throws OrveloError naming the file when it cannot be read or is not a
// regular file (a folder, a FIFO, a device: none of them is waited on or read).
std::string ReadFileBytes(const std::string& path);
// The same, refusing (before reading) a file of more than maxBytes bytes, with both exact sizes.
std::string ReadFileBytes(const std::string& path, std::size_t maxBytes);

// Writes the lines (UTF-8 in memory) as Windows-1251, each ended by CR LF. The text goes to a
// temporary file in the target folder first and replaces the target only when everything has
// been written, so a failed write leaves the old file intact and no partial file behind.
// Throws OrveloError naming the file on failure.
void WriteTextFile(const std::string& path, const std::vector<std::string>& lines);

// The same for bytes already encoded (used where the lines are not text in the program's sense).
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// The bytes WriteTextFile writes for the lines: Windows-1251, each line ended by CR LF.
std::string ProgramFileBytes(const std::vector<std::string>& lines);

// Writes all `size` bytes to the descriptor, going on after EINTR; false (errno set) on failure.
bool WriteAll(int fd, const char* data, std::size_t size);

}  // namespace orvelo
