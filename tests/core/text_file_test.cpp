#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/system_error.h"
#include "core/text_file.h"
#include "file_support.h"

namespace orvelo {
namespace {

using testing::ErrorText;
using ::testing::HasSubstr;
using testing::ReadAll;
using testing::TempFolder;

// Lets writes beyond `bytes` fail with EFBIG, as a full disk would make them fail; the
// limit holds for root too, unlike folder permissions.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        savedHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, savedHandler_);
    }

private:
    rlimit saved_{};
    sighandler_t savedHandler_{};
};

TEST(TextFile, WritesWindows1251LinesWithCrLf) {
    TempFolder folder;
    const std::string path = folder / "out.txt";
    WriteTextFile(path, {"\"Спектр\"", "", "100.00000     5"});
    EXPECT_EQ(ReadAll(path), "\"\xD1\xEF\xE5\xEA\xF2\xF0\"\r\n\r\n100.00000     5\r\n");
    WriteTextFile(path, {});
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"out.txt"});
}

TEST(TextFile, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder / "spectrum.txt";
    testing::WriteAll(path, "old contents that are longer than the new ones");
    WriteFileAtomically(path, "new");
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"spectrum.txt"});
}

TEST(TextFile, NewFilesGetTheUsualPermissionsNotPrivateOnes) {
    TempFolder folder;
    const mode_t savedMask = umask(022);
    WriteFileAtomically(folder / "a.txt", "x");
    umask(savedMask);
    struct stat info {};
    ASSERT_EQ(stat((folder / "a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(TextFile, ReplacedFileKeepsItsPermissionsAndLinksAreWrittenThrough) {
    TempFolder folder;
    const std::string path = folder / "private.txt";
    testing::WriteAll(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    std::filesystem::create_symlink("private.txt", folder / "link.txt");
    WriteFileAtomically(folder / "link.txt", "through the link");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
    EXPECT_EQ(ReadAll(path), "through the link");
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"link.txt", "private.txt"}));
}

TEST(TextFile, FailedWriteKeepsTheOldFileAndRemovesThePartialOne) {
    TempFolder folder;
    const std::string path = folder / "keep.txt";
    testing::WriteAll(path, "old");
    std::string message;
    {
        FileSizeLimit limit(100);
        message = ErrorText([&] { WriteTextFile(path, {std::string(1000, 'x')}); });
    }
    EXPECT_EQ(message, "Не удалось записать файл \"" + path + "\": превышен допустимый размер файла (EFBIG)");
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"keep.txt"});
}

TEST(TextFile, FailedReplaceOfAFolderLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder / "taken";
    std::filesystem::create_directory(path);
    const std::string message = ErrorText([&] { WriteFileAtomically(path, "data"); });
    EXPECT_THAT(message, HasSubstr("Не удалось записать файл \"" + path + "\": "));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"taken"});
}

TEST(TextFile, MissingFolderIsReportedWithTheFileName) {
    TempFolder folder;
    const std::string path = folder / "no-such-folder/out.txt";
    EXPECT_EQ(ErrorText([&] { WriteTextFile(path, {"a"}); }),
              "Не удалось записать файл \"" + path + "\": нет такого файла или папки (ENOENT)");
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(TextFile, ReadOnlyFolderIsReportedAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    TempFolder folder;
    const std::string path = folder / "old.txt";
    testing::WriteAll(path, "old");
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THAT(ErrorText([&] { WriteTextFile(path, {"new"}); }), HasSubstr("доступ запрещён (EACCES)"));
    EXPECT_EQ(ReadAll(path), "old");
}

TEST(TextFile, ReadsTheBytesUnchanged) {
    TempFolder folder;
    const std::string bytes = std::string("a\r\nb\0c\xFF", 7);
    testing::WriteAll(folder / "in.bin", bytes);
    EXPECT_EQ(ReadFileBytes(folder / "in.bin"), bytes);
    EXPECT_EQ(ReadFileBytes(folder / "in.bin", 7), bytes);
}

TEST(TextFile, ReadFailuresNameTheFileAndTheCauseInRussian) {
    TempFolder folder;
    const std::string missing = folder / "missing.txt";
    EXPECT_EQ(ErrorText([&] { ReadFileBytes(missing); }),
              "Не удалось открыть файл \"" + missing + "\": нет такого файла или папки (ENOENT)");
    testing::WriteAll(folder / "big.txt", std::string(3 * 1024 * 1024, '1'));
    EXPECT_EQ(ErrorText([&] { ReadFileBytes(folder / "big.txt", 1024 * 1024); }),
              "Файл \"" + (folder / "big.txt") + "\" слишком велик: 3145728 байт, допустимо не более 1048576 байт");
    EXPECT_EQ(ReadFileBytes(folder / "big.txt", 3 * 1024 * 1024).size(), 3u * 1024 * 1024);  // the limit itself is fine
}

// None of these may be waited on or read without end: a FIFO without a writer would block
// forever, /dev/zero never ends.
TEST(TextFile, OnlyRegularFilesAreRead) {
    TempFolder folder;
    const std::string fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "это канал (FIFO)"}, {"/dev/zero", "это устройство"}, {folder.path().string(), "это папка"}};
    for (const auto& [path, kind] : cases)
        EXPECT_EQ(ErrorText([&] { ReadFileBytes(path, 1024); }),
                  "Не удалось прочитать файл \"" + path + "\": " + kind + ", а читаются только обычные файлы");
}

TEST(SystemError, CommonCausesAreRussianWithTheirNameAndOthersKeepTheSystemText) {
    EXPECT_EQ(SystemErrorText(ENOSPC), "на диске не осталось места (ENOSPC)");
    EXPECT_EQ(SystemErrorText(EACCES), "доступ запрещён (EACCES)");
    EXPECT_EQ(SystemErrorText(999), "Unknown error 999 (errno 999)");
    EXPECT_EQ(ErrorMessage(std::bad_alloc()), "Недостаточно памяти для выполнения команды");
    EXPECT_EQ(ErrorMessage(OrveloError("Строка 2: x")), "Строка 2: x");
}

}  // namespace
}  // namespace orvelo
