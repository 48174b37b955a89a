// The save file's only contact with the file system: reading a file's bytes and replacing a file atomically.
// Plain functions over byte buffers, so that the templates of the save file stay free of system calls.
#pragma once

#include <cstddef>
#include <cstdio>

namespace cubie {

// Reads the start of a regular file into buffer: at most capacity bytes, their number in size. Returns false when
// the file cannot be opened or read, or is no regular file (a pipe or a device under the name is never waited on).
bool readFileStart(const char* path, char* buffer, size_t capacity, size_t& size);

// A file written under a temporary name beside its final one (path + ".tmp") and renamed over it only when all of
// it is written and synced, so a failure never destroys the previous file. A writer that is not committed removes
// its temporary file.
class AtomicFile {
public:
    explicit AtomicFile(const char* path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; once a write has failed, later ones do nothing and commit fails.
    void write(const char* bytes, size_t size);

    // Flushes, syncs and closes the temporary file and renames it over the final one. Returns false when anything
    // failed since the file was opened; the final file is then untouched.
    bool commit();

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    char path_[4096] = {};
    char temporary_[4096] = {};
};

}  // namespace cubie
