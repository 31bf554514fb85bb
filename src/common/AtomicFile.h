#pragma once
// Whole-file reading and crash-safe writing: the one way TaVO touches files.
//
// A save never leaves a partly written file. The bytes go to a temporary file
// in the target's folder (anonymous where the file system allows it), are
// flushed to the disk and renamed over the target; then the folder itself is
// flushed, so after a power loss the old or the new file is there, never an
// empty one. A symbolic link is followed and the file it names is replaced
// (the link stays a link). A file with several hard links is rewritten in
// place once a complete copy has been flushed beside it, so every link sees
// the new content. The saved file keeps its permission bits, and its owner
// and group where the process may set them. A read-only target is refused.
//
// Reading never opens a pipe or device: the file type is checked first, so a
// definition path that names a FIFO cannot block the program.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// The outcome of a file operation, and the reason for a failure in words a
// user understands ("Permission denied.", "No space left on the device.").
class FileStatus {
public:
    enum class Problem {
        None,
        Missing,         // the file (or a folder on its path) does not exist
        System,          // the operating system refused: see error()
        NotRegularFile,  // a pipe, device or socket
        TooLarge,        // larger than the caller's limit
        ReadOnly,        // the file has no write permission at all
        InUse,           // another program holds the file open and will not share it (Windows)
    };

    FileStatus() = default;
    static FileStatus fromErrno(int error);
    static FileStatus notRegularFile() { return FileStatus(Problem::NotRegularFile, 0); }
    static FileStatus readOnly() { return FileStatus(Problem::ReadOnly, 0); }
    static FileStatus inUse() { return FileStatus(Problem::InUse, 0); }
    static FileStatus tooLarge(std::uintmax_t limit);

    bool ok() const { return problem_ == Problem::None; }
    explicit operator bool() const { return ok(); }
    bool missing() const { return problem_ == Problem::Missing; }
    Problem problem() const { return problem_; }
    int error() const { return error_; }

    // Empty when ok.
    std::string reason() const;

private:
    FileStatus(Problem problem, int error) : problem_(problem), error_(error) {}
    Problem problem_ = Problem::None;
    int error_ = 0;
    std::uintmax_t limit_ = 0;
};

// Replaces (or creates) the file at path with the bytes, as described above.
// On failure the previous file is untouched and no temporary file remains.
FileStatus writeFileAtomically(const std::string& path, std::string_view bytes);

// Creates the file at path with the bytes, safely as above, but never over
// an existing name: a name that is taken (a file, a link, anything) gives
// the status of EEXIST and touches nothing. The check and the creation are
// one step, so two programs saving at once cannot replace each other's file.
FileStatus createFileAtomically(const std::string& path, std::string_view bytes);
// The status createFileAtomically gives for a name that is taken.
bool nameTaken(const FileStatus& status);

// Whether a save to path could go through now, asked before work whose
// result would be lost otherwise (a logging run): the folder exists and takes
// a new file, and what is already at path is a regular file that may be
// written. Nothing is left behind.
FileStatus checkWritable(const std::string& path);

struct FileContent {
    FileStatus status;
    std::vector<std::uint8_t> bytes;  // at most the requested number
    std::uintmax_t size = 0;          // the file's full size (more than bytes: not read whole)

    bool complete() const { return status.ok() && size == bytes.size(); }
};

// Reads at most maxBytes from the start of a regular file. A file that does
// not exist is `missing`; a folder, pipe or device is refused unopened.
FileContent readFileStart(const std::string& path, std::size_t maxBytes);

// Reads a regular file whole. A file larger than `limit` is TooLarge and
// gives no bytes, so a partly read file is never taken for the whole one.
FileContent readWholeFile(const std::string& path, std::size_t limit);

// readFileStart, nothing when the file could not be read.
std::optional<FileContent> readFilePrefix(const std::string& path, std::size_t maxBytes);

// Whether nothing is at path: only a name that does not exist is missing, not
// one that cannot be read.
bool fileMissing(const std::string& path);

// Removes the file at path (never a folder); true when it is gone.
bool removeFile(const std::string& path);

}  // namespace tavo
