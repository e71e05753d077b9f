#include "batch/output_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/errors.h"
#include "core/system_error.h"
#include "core/text_file.h"

namespace orvelo::batch {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw OrveloError(what + " \"" + path + "\": " + SystemErrorText(error));
}

std::string Join(const std::string& folder, const std::string& name) { return (fs::path(folder) / name).string(); }

const char* KindOf(mode_t mode) {
    if (S_ISLNK(mode)) return "символическая ссылка";
    if (S_ISDIR(mode)) return "папка";
    if (S_ISFIFO(mode)) return "канал (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "устройство";
    if (S_ISSOCK(mode)) return "сокет";
    return "не обычный файл";
}

// --- What a signal leaves to remove: the temporary folder and the files made in it so far.
// Fixed storage, filled before the handler may need it; the handler only calls unlink/rmdir.

constexpr int kMaxTemporaryPaths = 64;
char gTemporaryPaths[kMaxTemporaryPaths][PATH_MAX];
volatile sig_atomic_t gTemporaryCount = 0;
constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporariesAndDie(int signal) {
    for (int i = gTemporaryCount - 1; i >= 0; --i)
        if (::unlink(gTemporaryPaths[i]) != 0) ::rmdir(gTemporaryPaths[i]);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void Remember(const std::string& path) {
    if (gTemporaryCount >= kMaxTemporaryPaths || path.size() >= PATH_MAX)
        throw OrveloError("Слишком много файлов результата или слишком длинный путь \"" + path + "\"");
    std::memcpy(gTemporaryPaths[gTemporaryCount], path.c_str(), path.size() + 1);
    gTemporaryCount = gTemporaryCount + 1;
}

sigset_t CleanedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kCleanedSignals) sigaddset(&set, s);
    return set;
}

// Holds SIGINT, SIGTERM and SIGHUP back while it lives; they arrive when it ends.
class HeldSignals {
public:
    HeldSignals() {
        const sigset_t set = CleanedSignals();
        ::sigprocmask(SIG_BLOCK, &set, &previous_);
    }
    ~HeldSignals() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t previous_;
};

// The temporary folder with the new files: removed (with whatever is in it) when it goes out
// of scope, and on SIGINT, SIGTERM, SIGHUP while it exists.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& pattern) {
        HeldSignals held;  // the folder and its registration come into being together
        std::string path = pattern;
        if (::mkdtemp(path.data()) == nullptr) Fail("Не удалось создать временную папку", pattern, errno);
        path_ = path;
        Remember(path_);
        for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i) {
            struct sigaction action {};
            action.sa_handler = RemoveTemporariesAndDie;
            sigemptyset(&action.sa_mask);
            ::sigaction(kCleanedSignals[i], &action, &previous_[i]);
        }
    }
    ~TemporaryFolder() {
        HeldSignals held;
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove_all(path_, ignored);
        }
        gTemporaryCount = 0;
        for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i)
            ::sigaction(kCleanedSignals[i], &previous_[i], nullptr);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    // After the folder itself was renamed into place: nothing is left to remove.
    void Released() {
        HeldSignals held;
        path_.clear();
        gTemporaryCount = 0;
    }

    void Write(const OutputFile& file) const {
        const std::string path = Join(path_, file.name);
        {
            HeldSignals held;
            Remember(path);
        }
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) Fail("Не удалось записать файл", path, errno);
        int error = 0;
        if (!WriteAll(fd, file.bytes.data(), file.bytes.size())) error = errno;
        if (error == 0 && ::fsync(fd) != 0) error = errno;
        if (::close(fd) != 0 && error == 0) error = errno;
        if (error != 0) Fail("Не удалось записать файл", path, error);
    }

private:
    std::string path_;
    struct sigaction previous_[std::size(kCleanedSignals)] {};
};

// An exclusive lock on the output folder, held while files are moved into it.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) {
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) Fail("Не удалось открыть папку", folder, errno);
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd_);
            Fail("Не удалось занять папку", folder, error);
        }
    }
    ~FolderLock() { ::close(fd_); }  // closing releases the lock
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

// An output name must be free or a regular file; anything else is refused.
void CheckOutputName(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return;
        Fail("Не удалось проверить файл результата", path, errno);
    }
    if (!S_ISREG(info.st_mode))
        throw OrveloError("Файл результата \"" + path + "\" существует, и это " + KindOf(info.st_mode) +
                          ": orvelo-batch не пишет через ссылки и не заменяет особые файлы и папки");
}

// Moves the new files from `from` into `folder`, the old ones first set aside in `aside`; on a
// failure every move is undone and the error thrown. REQUIRES: the folder lock, signals held.
void MoveIntoPlace(const std::string& from, const std::string& aside, const std::string& folder,
                   const std::vector<OutputFile>& files) {
    for (const OutputFile& f : files) CheckOutputName(Join(folder, f.name));
    if (::mkdir(aside.c_str(), 0700) != 0) Fail("Не удалось создать временную папку", aside, errno);
    std::vector<const OutputFile*> setAside, movedIn;
    auto undo = [&] {
        for (const OutputFile* f : movedIn) ::rename(Join(folder, f->name).c_str(), Join(from, f->name).c_str());
        for (const OutputFile* f : setAside) ::rename(Join(aside, f->name).c_str(), Join(folder, f->name).c_str());
    };
    for (const OutputFile& f : files) {
        if (::rename(Join(folder, f.name).c_str(), Join(aside, f.name).c_str()) == 0) setAside.push_back(&f);
        else if (errno != ENOENT) {
            const int error = errno;
            undo();
            Fail("Не удалось заменить файл", Join(folder, f.name), error);
        }
    }
    for (const OutputFile& f : files) {
        if (::rename(Join(from, f.name).c_str(), Join(folder, f.name).c_str()) != 0) {
            const int error = errno;
            undo();
            Fail("Не удалось записать файл", Join(folder, f.name), error);
        }
        movedIn.push_back(&f);
    }
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

void CheckOutputFolder(const std::string& folder, const std::vector<std::string>& names,
                       const std::vector<std::string>& inputs) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        if (errno == ENOENT) return;  // made by the commit
        Fail("Не удалось проверить папку", folder, errno);
    }
    if (!S_ISDIR(info.st_mode)) throw OrveloError("\"" + folder + "\" существует и не является папкой");
    for (const std::string& name : names) {
        const std::string path = Join(folder, name);
        CheckOutputName(path);
        struct stat output {};
        if (::stat(path.c_str(), &output) != 0) continue;
        for (const std::string& input : inputs) {
            struct stat in {};
            if (::stat(input.c_str(), &in) == 0 && in.st_dev == output.st_dev && in.st_ino == output.st_ino)
                throw OrveloError("Входной файл \"" + input + "\" совпадает с файлом результата \"" + path +
                                  "\", который этот запуск заменил бы: запуск отменён, ничего не записано");
        }
    }
}

void CommitOutputFolder(const std::string& folder, const std::vector<OutputFile>& files) {
    fs::path target = fs::path(folder).lexically_normal();
    if (target.filename().empty()) target = target.parent_path();  // "out/" is "out"
    const std::string name = target.filename().string();
    const bool exists = IsFolder(folder);
    std::optional<TemporaryFolder> temporary;
    if (!exists) {
        // A new folder is made whole beside its place and renamed into it.
        fs::path parent = target.parent_path();
        if (parent.empty()) parent = ".";
        std::error_code ec;
        fs::create_directories(parent, ec);
        if (ec) Fail("Не удалось создать папку", parent.string(), ec.value());
        temporary.emplace(Join(parent.string(), "." + name + ".orvelo-batch-XXXXXX"));
    } else {
        temporary.emplace(Join(folder, ".orvelo-batch-XXXXXX"));
    }
    for (const OutputFile& f : files) temporary->Write(f);

    // From here on no signal interrupts: the set goes into place and the temporaries away.
    HeldSignals held;
    try {
        if (!exists) {
            if (::chmod(temporary->path().c_str(), 0777 & ~CurrentUmask()) != 0)
                Fail("Не удалось создать папку", folder, errno);
            if (::rename(temporary->path().c_str(), folder.c_str()) == 0) {
                temporary->Released();
                temporary.reset();
                return;
            }
            // Another run made the folder meanwhile: join it as an existing one.
            const int error = errno;
            if ((error != EEXIST && error != ENOTEMPTY) || !IsFolder(folder)) Fail("Не удалось создать папку", folder, error);
        }
        const FolderLock lock(folder);
        MoveIntoPlace(temporary->path(), Join(temporary->path(), ".old"), folder, files);
    } catch (...) {
        temporary.reset();
        throw;
    }
    temporary.reset();
}

}  // namespace orvelo::batch
