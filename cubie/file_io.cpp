#include "cubie/file_io.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "play/session.h"

namespace cubie {

const FileCalls systemFileCalls = {
    .open = [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    .close = ::close,
    .read = ::read,
    .write = ::write,
    .fsync = ::fsync,
    .fstat = ::fstat,
    .lstat = ::lstat,
    .readlink = ::readlink,
    .mayWrite = [](const char* path) { return faccessat(AT_FDCWD, path, W_OK, AT_EACCESS); },
    .fchmod = ::fchmod,
    .flock = ::flock,
    .rename = ::rename,
    .unlink = ::unlink,
};

FileCalls fileCalls = systemFileCalls;

namespace {

// As many links as the system itself follows in one path before it gives up on a loop.
constexpr int32_t maxLinkHops = 40;
// Names the temporary file may take: target.tmp, target.tmp1, ... target.tmp99.
constexpr int32_t maxTemporaryNames = 100;

// A call interrupted by a signal has done nothing and is simply made again. (close is never retried: the
// descriptor is gone whatever it returns.)
template <typename Call>
auto retried(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) result = call();
    return result;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// claimName's answer when the name no longer holds the file just created there.
constexpr int32_t lostName = -100;

// Locks a temporary file just created at name and checks that the name still holds it: 0 when it does, lostName
// when another save's clean-up took the lock between the creation and this lock (and removed the file), or the
// errno of a check that failed. Where the file system has no locks the file stays unlocked, and no clean-up can
// take its lock either.
int32_t claimName(int fd, const char* name) {
    if (retried([&] { return fileCalls.flock(fd, LOCK_EX | LOCK_NB); }) != 0 && errno == EWOULDBLOCK) return lostName;
    struct stat opened, named;
    if (retried([&] { return fileCalls.fstat(fd, &opened); }) != 0) return errno;
    if (retried([&] { return fileCalls.lstat(name, &named); }) != 0) return errno == ENOENT ? lostName : errno;
    return sameFile(opened, named) ? 0 : lostName;
}

// Follows path through any symbolic links to the name that holds no link, into out, with that name's lstat in
// info (exists false when nothing stands there yet). Returns 0, or the reason the links cannot be followed.
int32_t followLinks(const char* path, char* out, size_t capacity, struct stat& info, bool& exists) {
    const size_t length = std::strlen(path);
    if (length + 1 > capacity) return ENAMETOOLONG;
    std::memcpy(out, path, length + 1);
    for (int32_t hop = 0; hop <= maxLinkHops; ++hop) {
        if (retried([&] { return fileCalls.lstat(out, &info); }) != 0) {
            exists = false;
            return errno == ENOENT ? 0 : errno;
        }
        exists = true;
        if (!S_ISLNK(info.st_mode)) return 0;
        char link[4096];
        const ssize_t size = retried([&] { return fileCalls.readlink(out, link, sizeof link); });
        if (size < 0) return errno;
        if (size == 0 || static_cast<size_t>(size) >= sizeof link) return ENAMETOOLONG;
        // A relative link names a path from the folder that holds the link.
        const char* slash = std::strrchr(out, '/');
        const size_t keep = link[0] == '/' || !slash ? 0 : static_cast<size_t>(slash - out) + 1;
        if (keep + static_cast<size_t>(size) + 1 > capacity) return ENAMETOOLONG;
        std::memcpy(out + keep, link, static_cast<size_t>(size));
        out[keep + static_cast<size_t>(size)] = '\0';
    }
    return ELOOP;
}

// Why an existing file at the end of the links may not be replaced, or 0. Root passes every permission check, so
// the write bits themselves must also allow writing: a file nobody may write has been protected on purpose.
int32_t refusal(const char* path, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return EISDIR;
    if (!S_ISREG(info.st_mode)) return notRegularFile;
    if ((info.st_mode & 0222) == 0) return EACCES;
    return retried([&] { return fileCalls.mayWrite(path); }) == 0 ? 0 : errno;
}

}  // namespace

const char* failureText(int32_t error) {
    switch (error) {
        case notRegularFile: return "not a regular file";
        case noTemporaryName: return "every temporary name beside it is taken";
        case notSaveFile: return "not a save file of this program";
        case notRecorded: return "the recording holds no load here";
        default: return std::strerror(error);
    }
}

void reportFailure(const char* program, const char* path, bool saving, FileResult result, std::FILE* out) {
    if (result) return;
    std::fprintf(out, "%s: %s not %s: %s\n", program, path, saving ? "saved" : "loaded", failureText(result.error));
}

namespace {

FileResult readFromDisk(const char* path, char* buffer, size_t capacity, size_t& size) {
    size = 0;
    // Without waiting: a pipe or a device under the save file's name would otherwise block the program for good
    // (a pipe without a writer on opening to read).
    const int fd = retried([&] { return fileCalls.open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0); });
    if (fd < 0) return {errno};
    struct stat info;
    int32_t error = 0;
    if (retried([&] { return fileCalls.fstat(fd, &info); }) != 0) error = errno;
    else if (S_ISDIR(info.st_mode)) error = EISDIR;
    else if (!S_ISREG(info.st_mode)) error = notRegularFile;
    // A read may return fewer bytes than asked for before the end of the file: read on until the end.
    while (error == 0 && size < capacity) {
        const ssize_t got = retried([&] { return fileCalls.read(fd, buffer + size, capacity - size); });
        if (got < 0) error = errno;
        if (got <= 0) break;
        size += static_cast<size_t>(got);
    }
    // Nothing was written, so closing cannot lose anything.
    fileCalls.close(fd);
    return {error};
}

}  // namespace

FileResult readFileStart(const char* path, char* buffer, size_t capacity, size_t& size) {
    // A replayed game loads what the recorded one read, so that it goes the same way whatever the disk holds now.
    if (play::replayingGame()) return {play::replayedLoad(path, buffer, capacity, size, notRecorded)};
    const FileResult result = readFromDisk(path, buffer, capacity, size);
    play::recordLoad(path, buffer, size, result.error, failureText(result.error));
    return result;
}

AtomicFile::AtomicFile(const char* path) {
    // A replayed game saves nothing: the player's file stays as it is, and the save "succeeds" without a word.
    replaying_ = play::replayingGame();
    if (replaying_) return;
    struct stat info {};
    bool exists = false;
    error_ = followLinks(path, target_, sizeof target_, info, exists);
    if (error_ == 0 && exists) error_ = refusal(target_, info);
    if (error_ != 0) return;
    removeStaleTemporaries();
    openTemporary(exists, info.st_mode & 07777);
}

// Puts name number attempt (target.tmp, target.tmp1, ...) into temporary_.
// target_ holds at most 4095 characters, so every name fits.
void AtomicFile::nameTemporary(int32_t attempt) {
    const size_t length = std::strlen(target_);
    std::memcpy(temporary_, target_, length);
    std::memcpy(temporary_ + length, ".tmp", 4);
    char* end = temporary_ + length + 4;
    if (attempt > 0) end = std::to_chars(end, temporary_ + sizeof temporary_ - 1, attempt).ptr;
    *end = '\0';
}

// A temporary file is stale when it is a regular file of this user with a single name, and its lock can be
// taken: its writer is gone. The name is checked again under the lock, since another save may have removed the
// file and a new one taken the name between the look and the lock. Failures here only leave a file for a later
// save to remove; they never fail this one.
void AtomicFile::removeStaleTemporaries() {
    for (int32_t attempt = 0; attempt < maxTemporaryNames; ++attempt) {
        nameTemporary(attempt);
        struct stat seen, opened, locked;
        if (retried([&] { return fileCalls.lstat(temporary_, &seen); }) != 0) continue;
        if (!S_ISREG(seen.st_mode) || seen.st_uid != geteuid() || seen.st_nlink != 1) continue;
        const int fd = retried(
            [&] { return fileCalls.open(temporary_, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0); });
        if (fd < 0) continue;
        if (retried([&] { return fileCalls.fstat(fd, &opened); }) == 0 && sameFile(seen, opened) &&
            retried([&] { return fileCalls.flock(fd, LOCK_EX | LOCK_NB); }) == 0 &&
            retried([&] { return fileCalls.lstat(temporary_, &locked); }) == 0 && sameFile(locked, opened))
            retried([&] { return fileCalls.unlink(temporary_); });
        fileCalls.close(fd);
    }
    temporary_[0] = '\0';
}

// Creates the temporary file exclusively (O_EXCL never follows a link and never opens what stands at the name)
// under the first free name, and locks it. A replaced file's mode is given to it, since the rename puts it in
// that file's place; a new file gets the usual mode for a new file.
void AtomicFile::openTemporary(bool keepMode, mode_t mode) {
    for (int32_t attempt = 0; attempt < maxTemporaryNames; ++attempt) {
        nameTemporary(attempt);
        const int fd = retried(
            [&] { return fileCalls.open(temporary_, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666); });
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return fail(errno);
        const int32_t claim = claimName(fd, temporary_);
        if (claim == 0) {
            fd_ = fd;
            if (keepMode && retried([&] { return fileCalls.fchmod(fd_, mode); }) != 0) fail(errno);
            return;
        }
        // A name that could not be checked is this writer's unless another save's clean-up raced it as well.
        if (claim != lostName) retried([&] { return fileCalls.unlink(temporary_); });
        fileCalls.close(fd);
        if (claim != lostName) return fail(claim);
    }
    fail(noTemporaryName);
}

AtomicFile::~AtomicFile() {
    if (fd_ < 0) return;
    // Removed while still locked, so that no clean-up of another save meets it half gone.
    retried([&] { return fileCalls.unlink(temporary_); });
    fileCalls.close(fd_);
}

void AtomicFile::fail(int32_t error) {
    if (error_ == 0) error_ = error;
}

void AtomicFile::write(const char* bytes, size_t size) {
    if (replaying_) return;
    while (error_ == 0 && size > 0) {
        if (buffered_ == sizeof buffer_ && !writeOut()) return;
        const size_t part = std::min(size, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, bytes, part);
        buffered_ += part;
        bytes += part;
        size -= part;
    }
}

// Writes the buffer to the temporary file. A write may take fewer bytes than it was given (a full disk takes
// what still fits, then refuses the rest): the rest is written on until all is taken or a write fails.
bool AtomicFile::writeOut() {
    size_t done = 0;
    while (error_ == 0 && done < buffered_) {
        const ssize_t put = retried([&] { return fileCalls.write(fd_, buffer_ + done, buffered_ - done); });
        if (put < 0) fail(errno);
        // A write that takes nothing and names no error would otherwise be asked again for ever.
        else if (put == 0) fail(EIO);
        else done += static_cast<size_t>(put);
    }
    buffered_ = 0;
    return error_ == 0;
}

// Makes the rename durable: until the folder is synced, a power cut may bring back the previous file. A file
// system that cannot sync a folder says EINVAL; it keeps its folders by other means.
bool AtomicFile::syncFolder() {
    char folder[sizeof target_];
    const char* slash = std::strrchr(target_, '/');
    // A name in the root folder ("/name") lives in "/", a name without a slash in the working directory.
    const size_t length = !slash ? 1 : slash == target_ ? 1 : static_cast<size_t>(slash - target_);
    std::memcpy(folder, slash ? target_ : ".", length);
    folder[length] = '\0';
    const int fd = retried([&] { return fileCalls.open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0); });
    if (fd < 0) {
        fail(errno);
        return false;
    }
    if (retried([&] { return fileCalls.fsync(fd); }) != 0 && errno != EINVAL) fail(errno);
    fileCalls.close(fd);
    return error_ == 0;
}

FileResult AtomicFile::commit() {
    if (fd_ < 0) return {error_};
    if (writeOut() && retried([&] { return fileCalls.fsync(fd_); }) != 0) fail(errno);
    // The rename happens while the lock is held, so that no clean-up takes the finished file for a stale one.
    if (error_ == 0 && retried([&] { return fileCalls.rename(temporary_, target_); }) != 0) fail(errno);
    if (error_ != 0) return {error_};  // the destructor removes the temporary file
    // The contents are synced, so a failing close loses nothing; the descriptor is released whatever it says.
    fileCalls.close(fd_);
    fd_ = -1;
    syncFolder();
    return {error_};
}

}  // namespace cubie
