// The save file's only contact with the file system: reading a file's bytes and replacing a file atomically.
// Plain functions over byte buffers, so that the templates of the save file stay free of system calls.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace cubie {

// What a save or load came to. error is 0 when it worked, the errno value of the system call that failed, or one
// of the save file's own reasons below (negative, so that they never meet an errno value).
struct FileResult {
    int32_t error = 0;
    explicit operator bool() const { return error == 0; }
};

inline constexpr int32_t notRegularFile = -1;   // a pipe, a device or a socket stands at the name
inline constexpr int32_t noTemporaryName = -2;  // every name the temporary file may take is taken
inline constexpr int32_t notSaveFile = -3;      // the file's contents are no save of this program
inline constexpr int32_t notRecorded = -4;      // a replayed game loads, but its recording holds no load there

// The reason in words: the system's text for an errno value, or the text of one of the reasons above.
const char* failureText(int32_t error);

// Prints "program: path not saved: reason" (or "not loaded") on out when result is a failure; prints nothing
// when it worked. One line for each failed save or refused load, which the picture does not show.
void reportFailure(const char* program, const char* path, bool saving, FileResult result, std::FILE* out = stderr);

// The system calls of the file layer. It makes them through this table only, so that a test can make any one of
// them fail in turn; the programs never change it. A save or a load runs on a key, never in a frame, so an
// indirect call costs nothing that matters.
struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    int (*close)(int fd);
    ssize_t (*read)(int fd, void* bytes, size_t size);
    ssize_t (*write)(int fd, const void* bytes, size_t size);
    int (*fsync)(int fd);
    int (*fstat)(int fd, struct stat* info);
    int (*lstat)(const char* path, struct stat* info);
    ssize_t (*readlink)(const char* path, char* out, size_t size);
    int (*mayWrite)(const char* path);  // 0 when the caller could open path for writing (effective ids)
    int (*fchmod)(int fd, mode_t mode);
    int (*flock)(int fd, int operation);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

// The calls of the running system; what fileCalls holds unless a test has replaced entries.
extern const FileCalls systemFileCalls;
extern FileCalls fileCalls;

// Reads the start of a regular file into buffer: at most capacity bytes, their number in size. Fails when the
// file cannot be opened or read, or is no regular file (a pipe or a device under the name is never waited on).
// While a game is recorded, what it read (or why it failed) goes into the recording; while one is replayed, the
// recorded load is given back and no file is touched (play/session.h).
FileResult readFileStart(const char* path, char* buffer, size_t capacity, size_t& size);

// A file written under a temporary name beside the file it replaces, and renamed over that file only when all of
// it is written and synced, so a failure never destroys the previous file. The folder is synced after the rename,
// so a save that reported success survives a power cut. A writer that is not committed removes its temporary file.
//
// What it replaces: path, or when path is a symbolic link (or a chain of them) the file the links lead to, so a
// link stays a link and its target receives the new contents atomically; a link to a missing file creates that
// file. Only a regular file that may be written is replaced, and it keeps its permission bits. "May be written"
// means the caller could open it for writing and its mode lets someone write it: a file without any write bit
// has been made read-only on purpose, and is kept even from a user whom permissions do not stop (root). Anything
// else (a protected file, a folder, a pipe, a device, a loop of links) is refused before any file is touched, and
// commit then fails.
//
// The temporary file is always created new, never through a link: the first free name of target.tmp,
// target.tmp1, ... target.tmp99 in the target's folder. Its writer holds an advisory lock on it until it is
// renamed or removed, so a temporary file whose lock can be taken was left by a save that died (a crash, a kill,
// a power cut). Before it creates its own, a writer removes those: a regular file of its own user at one of these
// names, whose lock it can take. Whatever else stands at such a name (a link, a folder, a pipe, another user's
// file, a live save's file) is never opened for writing, followed, replaced or removed.
//
// While a recorded game is replayed a writer touches no file at all, and commit succeeds.
class AtomicFile {
public:
    explicit AtomicFile(const char* path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; once a write has failed, later ones do nothing and commit fails.
    void write(const char* bytes, size_t size);

    // Writes out, syncs the temporary file, renames it over the target and syncs the folder. Fails when the
    // target was refused or anything failed since; the target is then the previous file (or, when only the
    // folder could not be synced, the new one), and no temporary file is left.
    FileResult commit();

private:
    void removeStaleTemporaries();
    void nameTemporary(int32_t attempt);
    void openTemporary(bool keepMode, mode_t mode);
    bool writeOut();
    bool syncFolder();
    void fail(int32_t error);

    int fd_ = -1;
    bool replaying_ = false;
    int32_t error_ = 0;
    size_t buffered_ = 0;
    char buffer_[8192];
    char target_[4096] = {};
    char temporary_[4096 + 16] = {};
};

}  // namespace cubie
