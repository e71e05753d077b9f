#include "core/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "core/cp1251.h"
#include "core/errors.h"
#include "core/system_error.h"

namespace orvelo {

namespace {

[[noreturn]] void Fail(const char* what, const std::string& path, int error) {
    throw OrveloError(std::string(what) + " \"" + path + "\": " + SystemErrorText(error));
}

// What a name that is not a regular file is, for the refusal.
const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "это папка";
    if (S_ISFIFO(mode)) return "это канал (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "это устройство";
    if (S_ISSOCK(mode)) return "это сокет";
    return "это не обычный файл";
}

std::string TooBigMessage(const std::string& path, const std::string& size, std::size_t maxBytes) {
    return "Файл \"" + path + "\" слишком велик: " + size + " байт, допустимо не более " + std::to_string(maxBytes) +
           " байт";
}

// Closes the descriptor when it goes out of scope (on the error paths).
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result; the destructor then has nothing left to do.
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Creates a new, empty file next to the target: "<folder>/.<name>.<pid>.<n>.tmp". The name is
// unique within this process by the counter and against other processes by the pid; O_EXCL
// makes sure no existing file is ever reused.
int CreateTemporaryNextTo(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(path);
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/." + name + "." + std::to_string(::getpid()) + "." +
                   std::to_string(counter.fetch_add(1)) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// A symbolic link is replaced through: the file it points to gets the new contents.
std::string FollowLink(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;  // a dangling link is replaced itself
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// A replaced file keeps its permissions, so that a private file does not become readable.
bool KeepPermissionsOf(const std::string& path, int fd) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
    return ::fchmod(fd, info.st_mode & 07777) == 0;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) { return ReadFileBytes(path, std::string::npos); }

std::string ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a FIFO without a writer must not wait; it is refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) Fail("Не удалось открыть файл", path, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) Fail("Не удалось прочитать файл", path, errno);
    if (!S_ISREG(info.st_mode))
        throw OrveloError("Не удалось прочитать файл \"" + path + "\": " + KindOf(info.st_mode) +
                          ", а читаются только обычные файлы");
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        Fail("Не удалось прочитать файл", path, errno);
    if (maxBytes != std::string::npos && static_cast<std::size_t>(info.st_size) > maxBytes)
        throw OrveloError(TooBigMessage(path, std::to_string(info.st_size), maxBytes));

    std::string bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Не удалось прочитать файл", path, errno);
        }
        if (n == 0) break;
        if (maxBytes != std::string::npos && bytes.size() + static_cast<std::size_t>(n) > maxBytes)  // it grew
            throw OrveloError(TooBigMessage(path, "больше " + std::to_string(maxBytes), maxBytes));
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = FollowLink(path);
    std::string tempPath;
    FileDescriptor fd(CreateTemporaryNextTo(target, tempPath));
    if (fd.get() < 0) Fail("Не удалось записать файл", path, errno);

    int error = 0;
    if (!KeepPermissionsOf(target, fd.get()) || !WriteAll(fd.get(), bytes.data(), bytes.size())) error = errno;
    if (fd.close() != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tempPath.c_str());
        Fail("Не удалось записать файл", path, error);
    }
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string ProgramFileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    bytes.reserve(size);
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    return bytes;
}

void WriteTextFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(path, ProgramFileBytes(lines));
}

}  // namespace orvelo
