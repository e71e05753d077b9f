// Saves that fail for real on a small file system of their own: a full disk and a read-only
// folder. The old file stays as it was, no partial file is left, and the message names the
// file. The file system is a 64 KiB tmpfs mounted for the test; where mounting is not allowed
// the test is skipped (the injected failures of TextFile cover the same paths everywhere).
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/spectrum_file.h"
#include "core/text_file.h"

namespace orvelo {
namespace {

namespace fs = std::filesystem;

class SmallDisk : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvelo-disk-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        if (mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=64k") != 0) {
            fs::remove(dir_);
            GTEST_SKIP() << "cannot mount a small file system here";
        }
        mounted_ = true;
        old_ = (fs::path(dir_) / "Спектр.txt").string();
        std::ofstream(old_) << "\"old\"\r\n";
    }
    void TearDown() override {
        if (mounted_) umount(dir_.c_str());
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    std::string ReadOld() const {
        std::ifstream in(old_);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        return names;
    }
    // A spectrum too big for the disk: about 150 KB of lines.
    static SpectrumState BigSpectrum() {
        SpectrumState s;
        for (int i = 0; i < 6000; ++i) s.Spectrum.push(100 + i * 0.001, 1000 + i);
        return s;
    }
    std::string ErrorOf(const std::function<void()>& write) {
        try {
            write();
        } catch (const OrveloError& e) {
            return e.what();
        }
        return {};
    }

    std::string dir_, old_;
    bool mounted_ = false;
};

TEST_F(SmallDisk, FullDiskKeepsTheOldFileAndLeavesNoPartialOne) {
    const std::string error = ErrorOf([&] { WriteSpectrumFile(old_, BigSpectrum()); });
    EXPECT_NE(error.find(old_), std::string::npos) << error;
    EXPECT_EQ(ReadOld(), "\"old\"\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Спектр.txt"});

    // Once there is room again, the same save succeeds.
    SpectrumState small;
    small.Spectrum.push(1, 2);
    WriteSpectrumFile(old_, small);
    EXPECT_EQ(ReadOld(), "\"\"\r\n\"\"\r\n\"\"\r\n1.00000     2\r\n");
}

TEST_F(SmallDisk, ReadOnlyFolderKeepsTheOldFileAndNamesTheFile) {
    ASSERT_EQ(mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
    const std::string target = (fs::path(dir_) / "new.txt").string();
    std::string error = ErrorOf([&] { WriteTextFile(target, {"a"}); });
    EXPECT_NE(error.find(target), std::string::npos) << error;
    error = ErrorOf([&] { WriteTextFile(old_, {"a"}); });
    EXPECT_NE(error.find(old_), std::string::npos) << error;
    EXPECT_EQ(ReadOld(), "\"old\"\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Спектр.txt"});
}

}  // namespace
}  // namespace orvelo
