#include "file_io.h"

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cubie {
namespace {

// Opens a file only when it is a regular one, and without waiting: a pipe or a device under the save file's name
// would otherwise block the program for good (a pipe without a writer on opening to read, without a reader on
// opening to write). The flags are those of open(2); the mode string is fdopen's.
std::FILE* openRegularFile(const char* path, int flags, const char* mode) {
    const int fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat info;
    std::FILE* file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, mode) : nullptr;
    if (!file) ::close(fd);
    return file;
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
    const size_t length = std::strlen(path);
    // Both names must fit, the temporary one with its suffix.
    if (length + 5 > sizeof temporary_) {
        failed_ = true;
        return;
    }
    std::memcpy(path_, path, length + 1);
    std::memcpy(temporary_, path, length);
    std::memcpy(temporary_ + length, ".tmp", 5);
    file_ = openRegularFile(temporary_, O_WRONLY | O_CREAT | O_TRUNC, "wb");
    failed_ = file_ == nullptr;
}

AtomicFile::~AtomicFile() {
    if (file_) {
        std::fclose(file_);
        std::remove(temporary_);
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
    if (ok && std::rename(temporary_, path_) == 0) return true;
    std::remove(temporary_);
    failed_ = true;
    return false;
}

}  // namespace cubie
