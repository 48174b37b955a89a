// The save file's only contact with the file system: reading a file's bytes and replacing a file atomically.
// Plain functions over byte buffers, so that the templates of the save file stay free of system calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace cubie {

// Reads the start of a regular file into buffer: at most capacity bytes, their number in size. Returns false when
// the file cannot be opened or read, or is no regular file (a pipe or a device under the name is never waited on).
bool readFileStart(const char* path, char* buffer, size_t capacity, size_t& size);

// A file written under a temporary name beside the file it replaces, and renamed over that file only when all of
// it is written and synced, so a failure never destroys the previous file. A writer that is not committed removes
// its temporary file.
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
// target.tmp1, target.tmp2, ... in the target's folder. Whatever already stands at such a name (left over from a
// crash, or put there by someone else) is never opened or replaced.
class AtomicFile {
public:
    explicit AtomicFile(const char* path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; once a write has failed, later ones do nothing and commit fails.
    void write(const char* bytes, size_t size);

    // Flushes, syncs and closes the temporary file and renames it over the target. Returns false when the target
    // was refused or anything failed since; the target is then untouched and no temporary file is left.
    bool commit();

private:
    bool openTemporary(bool keepMode, uint32_t mode);

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    char target_[4096] = {};
    char temporary_[4096 + 16] = {};
};

}  // namespace cubie
