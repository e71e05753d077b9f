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
#include <algorithm>

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

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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

// An exclusive lock on a folder: on the output folder while files are moved into it or
// temporaries made or removed in it, on the parent while a new folder's temporary is made there.
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

constexpr const char* kTemporaryPrefix = ".orvelo-batch-";

// A temporary folder of a dead run: its lock is free. One with ".old" in it died while moving
// its set into `folder` (every file of the set was written by then): the move is finished, the
// old files it set aside removed. Any other is removed. Only names the program writes are moved.
// REQUIRES: the lock on `folder`.
void RemoveIfDead(const std::string& folder, const std::string& name, const std::vector<std::string>& known) {
    const std::string path = Join(folder, name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    const bool dead = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (dead) {
        if (IsFolder(Join(path, ".old")))
            for (const std::string& file : known) {
                struct stat info {};
                const std::string from = Join(path, file);
                if (::lstat(from.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
                    const std::string to = Join(folder, file);
                    struct stat there {};
                    if (::lstat(to.c_str(), &there) != 0 || S_ISREG(there.st_mode)) ::rename(from.c_str(), to.c_str());
                }
            }
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ::close(fd);
}

// REQUIRES: the lock on `folder`.
void RemoveDeadTemporaries(const std::string& folder, const std::vector<std::string>& known) {
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(kTemporaryPrefix)) names.push_back(name);
    }
    for (const std::string& name : names) RemoveIfDead(folder, name, known);
}

// The temporary folder with the new files, ".orvelo-batch-XXXXXX" in the output folder or, for a
// new one, beside it: removed (with whatever is in it) when it goes out of scope, and on SIGINT,
// SIGTERM, SIGHUP while it exists. It holds a lock on itself while it lives: a run that finds a
// temporary whose lock is free knows its run is dead (RemoveDeadTemporaries).
class TemporaryFolder {
public:
    // Messages name the files as they will be in `shownAs`, the output folder.
    // REQUIRES: the lock on `within` (or no lock to be had there).
    TemporaryFolder(const std::string& within, const std::string& shownAs) : shownAs_(shownAs) {
        HeldSignals held;  // the folder and its registration come into being together
        std::string path = Join(within, std::string(kTemporaryPrefix) + "XXXXXX");
        if (::mkdtemp(path.data()) == nullptr) Fail("Не удалось создать временную папку в папке", within, errno);
        path_ = path;
        Remember(path_);
        fd_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0) ::flock(fd_, LOCK_EX | LOCK_NB);
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
        if (fd_ >= 0) ::close(fd_);
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
    // Moves the folder with its files into `folder` (a new folder another run made first), so
    // that the set is moved in from there like any set of an existing folder.
    // REQUIRES: the lock on `folder`, signals held.
    void MoveInto(const std::string& folder, const std::vector<OutputFile>& files) {
        const std::string moved = Join(folder, fs::path(path_).filename().string());
        if (::rename(path_.c_str(), moved.c_str()) != 0) Fail("Не удалось перенести файлы в папку", folder, errno);
        path_ = moved;
        gTemporaryCount = 0;
        Remember(path_);
        for (const OutputFile& f : files) Remember(Join(path_, f.name));
    }

    void Write(const OutputFile& file) const {
        const std::string path = Join(path_, file.name);
        {
            HeldSignals held;
            Remember(path);
        }
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) Fail("Не удалось записать файл", Join(shownAs_, file.name), errno);
        int error = 0;
        if (!WriteAll(fd, file.bytes.data(), file.bytes.size())) error = errno;
        if (error == 0 && ::fsync(fd) != 0) error = errno;
        if (::close(fd) != 0 && error == 0) error = errno;
        if (error != 0) Fail("Не удалось записать файл", Join(shownAs_, file.name), error);
    }

private:
    std::string path_;
    std::string shownAs_;
    int fd_ = -1;
    struct sigaction previous_[std::size(kCleanedSignals)]{};
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

// The files of the run before, as its manifest lists them, that the program writes and this
// set does not: they are set aside with the rest, so that the folder holds one run.
std::vector<std::string> FormerExtras(const std::string& folder, const std::vector<OutputFile>& files,
                                      const std::vector<std::string>& known) {
    std::string manifest;
    try {
        manifest = ReadFileBytes(Join(folder, kManifestName), 1 << 20);
    } catch (const std::exception&) {
        return {};  // none, or not readable: only the files of this set are replaced
    }
    std::vector<std::string> extras;
    std::size_t start = 0;
    while (start < manifest.size()) {
        std::size_t end = manifest.find('\n', start);
        if (end == std::string::npos) end = manifest.size();
        const std::string name = manifest.substr(start, end - start);
        start = end + 1;
        const bool inSet = std::any_of(files.begin(), files.end(), [&](const OutputFile& f) { return f.name == name; });
        if (inSet || std::find(known.begin(), known.end(), name) == known.end() ||
            std::find(extras.begin(), extras.end(), name) != extras.end())
            continue;
        struct stat info {};
        if (::lstat(Join(folder, name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) extras.push_back(name);
    }
    return extras;
}

// Moves the new files from `from` into `folder`, the old ones (and the former run's files this
// set lacks) first set aside in `aside`; on a failure every move is undone and the error thrown.
// REQUIRES: the folder lock, signals held.
void MoveIntoPlace(const std::string& from, const std::string& aside, const std::string& folder,
                   const std::vector<OutputFile>& files, const std::vector<std::string>& known) {
    for (const OutputFile& f : files) CheckOutputName(Join(folder, f.name));
    std::vector<std::string> replaced;
    for (const OutputFile& f : files) replaced.push_back(f.name);
    for (const std::string& extra : FormerExtras(folder, files, known)) replaced.push_back(extra);
    if (::mkdir(aside.c_str(), 0700) != 0) Fail("Не удалось создать временную папку в папке", folder, errno);
    std::vector<const std::string*> setAside;
    std::vector<const OutputFile*> movedIn;
    auto undo = [&] {
        for (const OutputFile* f : movedIn) ::rename(Join(folder, f->name).c_str(), Join(from, f->name).c_str());
        for (const std::string* name : setAside) ::rename(Join(aside, *name).c_str(), Join(folder, *name).c_str());
    };
    for (const std::string& name : replaced) {
        if (::rename(Join(folder, name).c_str(), Join(aside, name).c_str()) == 0) setAside.push_back(&name);
        else if (errno != ENOENT) {
            const int error = errno;
            undo();
            Fail("Не удалось заменить файл", Join(folder, name), error);
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

// The folder as given, without trailing slashes ("out/" is "out"), resolved as the system
// resolves it: "a/../b" is b beside a, made after a when a is new.
std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Makes the missing folders of `path`, one by one; returns those it made, the outermost first.
std::vector<std::string> MakeFolders(const std::string& path) {
    std::vector<std::string> made;
    fs::path prefix;
    for (const fs::path& part : fs::path(path)) {
        prefix /= part;
        const std::string p = prefix.string();
        struct stat info {};
        if (::stat(p.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) throw OrveloError("\"" + p + "\" существует и не является папкой");
            continue;
        }
        if (errno != ENOENT || ::mkdir(p.c_str(), 0777) != 0) {
            const int error = errno;
            for (auto it = made.rbegin(); it != made.rend(); ++it) ::rmdir(it->c_str());
            Fail("Не удалось создать папку", p, error);
        }
        made.push_back(p);
    }
    return made;
}

// The folders a commit made for a new folder's parent: removed again (if still empty) when the
// commit fails.
class MadeFolders {
public:
    explicit MadeFolders(std::vector<std::string> made) : made_(std::move(made)) {}
    ~MadeFolders() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) ::rmdir(it->c_str());
    }
    void Keep() { made_.clear(); }
    MadeFolders(const MadeFolders&) = delete;
    MadeFolders& operator=(const MadeFolders&) = delete;

private:
    std::vector<std::string> made_;
};

// A lock on a folder if it can be opened, else none (a parent that cannot be read).
std::optional<FolderLock> TryLock(const std::string& folder) {
    try {
        return std::optional<FolderLock>(std::in_place, folder);
    } catch (const OrveloError&) {
        return std::nullopt;
    }
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

void CommitOutputFolder(const std::string& folderText, const std::vector<OutputFile>& files,
                        const std::vector<std::string>& known) {
    const std::string folder = WithoutTrailingSlashes(folderText);
    const fs::path target(folder);
    const bool exists = IsFolder(folder);
    std::optional<MadeFolders> made;  // outlives the temporary folder made in it
    std::optional<TemporaryFolder> temporary;
    if (!exists) {
        // A new folder is made whole beside its place and renamed into it.
        const std::string name = target.filename().string();
        if (name.empty() || name == "." || name == "..") Fail("Не удалось создать папку", folder, ENOENT);
        std::string parent = target.parent_path().string();
        if (parent.empty()) parent = ".";
        made.emplace(MakeFolders(parent));
        const std::optional<FolderLock> lock = TryLock(parent);
        if (lock) RemoveDeadTemporaries(parent, known);
        temporary.emplace(parent, folder);
    } else {
        const FolderLock lock(folder);
        RemoveDeadTemporaries(folder, known);
        temporary.emplace(folder, folder);
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
                made->Keep();
                return;
            }
            // Another run made the folder meanwhile: join it as an existing one.
            const int error = errno;
            if ((error != EEXIST && error != ENOTEMPTY) || !IsFolder(folder))
                Fail("Не удалось создать папку", folder, error);
        }
        const FolderLock lock(folder);
        RemoveDeadTemporaries(folder, known);
        if (!exists) temporary->MoveInto(folder, files);
        MoveIntoPlace(temporary->path(), Join(temporary->path(), ".old"), folder, files, known);
    } catch (...) {
        temporary.reset();
        throw;
    }
    temporary.reset();
    if (made) made->Keep();
}

}  // namespace orvelo::batch
