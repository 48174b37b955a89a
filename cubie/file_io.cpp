#include "cubie/file_io.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cubie {
namespace {

// As many links as the system itself follows in one path before it gives up on a loop.
constexpr int32_t maxLinkHops = 40;
// Names tried for the temporary file before the save gives up: target.tmp, target.tmp1, ... target.tmp99.
constexpr int32_t maxTemporaryNames = 100;

// Opens a file only when it is a regular one, and without waiting: a pipe or a device under the save file's name
// would otherwise block the program for good (a pipe without a writer on opening to read). The flags are those of
// open(2); the mode string is fdopen's.
std::FILE* openRegularFile(const char* path, int flags, const char* mode) {
    const int fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat info;
    std::FILE* file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, mode) : nullptr;
    if (!file) ::close(fd);
    return file;
}

// Follows path through any symbolic links to the name that holds no link, into out, with that name's lstat in
// info (exists false when nothing stands there yet). Returns false when a link cannot be read, the links loop or
// a name does not fit.
bool followLinks(const char* path, char* out, size_t capacity, struct stat& info, bool& exists) {
    const size_t length = std::strlen(path);
    if (length + 1 > capacity) return false;
    std::memcpy(out, path, length + 1);
    for (int32_t hop = 0; hop <= maxLinkHops; ++hop) {
        if (lstat(out, &info) != 0) {
            exists = false;
            return errno == ENOENT;
        }
        exists = true;
        if (!S_ISLNK(info.st_mode)) return true;
        char link[4096];
        const ssize_t size = readlink(out, link, sizeof link);
        if (size <= 0 || static_cast<size_t>(size) >= sizeof link) return false;
        // A relative link names a path from the folder that holds the link.
        const char* slash = std::strrchr(out, '/');
        const size_t keep = link[0] == '/' || !slash ? 0 : static_cast<size_t>(slash - out) + 1;
        if (keep + static_cast<size_t>(size) + 1 > capacity) return false;
        std::memcpy(out + keep, link, static_cast<size_t>(size));
        out[keep + static_cast<size_t>(size)] = '\0';
    }
    return false;
}

// Root passes every permission check, so the write bits themselves must also allow writing: a file nobody may
// write has been protected on purpose.
bool mayReplace(const char* path, const struct stat& info) {
    return (info.st_mode & 0222) != 0 && faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0;
}

}  // namespace

bool readFileStart(const char* path, char* buffer, size_t capacity, size_t& size) {
    size = 0;
    std::FILE* file = openRegularFile(path, O_RDONLY, "rb");
    if (!file) return false;
    size = std::fread(buffer, 1, capacity, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

AtomicFile::AtomicFile(const char* path) {
    struct stat info {};
    bool exists = false;
    failed_ = true;
    if (!followLinks(path, target_, sizeof target_, info, exists)) return;
    if (exists && (!S_ISREG(info.st_mode) || !mayReplace(target_, info))) return;
    failed_ = !openTemporary(exists, info.st_mode & 07777);
}

// Creates the temporary file exclusively (O_EXCL never follows a link and never opens what stands at the name)
// under the first free name. A replaced file's mode is given to it, since the rename puts it in that file's place;
// a new file gets the usual mode for a new file.
bool AtomicFile::openTemporary(bool keepMode, uint32_t mode) {
    const size_t length = std::strlen(target_);
    std::memcpy(temporary_, target_, length);
    std::memcpy(temporary_ + length, ".tmp", 4);
    char* const number = temporary_ + length + 4;
    for (int32_t attempt = 0; attempt < maxTemporaryNames; ++attempt) {
        char* end = number;
        if (attempt > 0) end = std::to_chars(number, temporary_ + sizeof temporary_ - 1, attempt).ptr;
        *end = '\0';
        const int fd = ::open(temporary_, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        if (!keepMode || fchmod(fd, static_cast<mode_t>(mode)) == 0) file_ = fdopen(fd, "wb");
        if (file_) return true;
        ::close(fd);
        ::unlink(temporary_);
        break;
    }
    temporary_[0] = '\0';
    return false;
}

AtomicFile::~AtomicFile() {
    if (file_) {
        std::fclose(file_);
        ::unlink(temporary_);
    }
}

void AtomicFile::write(const char* bytes, size_t size) {
    if (failed_) return;
    failed_ = std::fwrite(bytes, 1, size, file_) != size;
}

bool AtomicFile::commit() {
    if (!file_) return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok && std::rename(temporary_, target_) == 0) return true;
    ::unlink(temporary_);
    failed_ = true;
    return false;
}

}  // namespace cubie
