// The safe save on Linux: an anonymous temporary file (O_TMPFILE) where the
// file system allows it, a rename that refuses a taken name (renameat2), and
// a folder opened only to name files in it (O_PATH).
#include "common/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#include "common/FileDescriptor.h"
#include "common/SaveNames.h"
#include "common/SaveSteps.h"

namespace tavo {

namespace {

using file_detail::Descriptor;
using file_detail::lastError;

std::string temporaryName()
{
    static thread_local std::mt19937 rng{std::random_device{}()};
    return temporaryFileName(static_cast<std::uint32_t>(::getpid()), static_cast<std::uint32_t>(rng()));
}

// A save killed between naming its temporary file and renaming it leaves
// the file behind; the next save in the folder removes those of programs
// that are gone. A live program's temporary file is never touched.
void removeAbandonedTemporaries(int dir)
{
    const int listing = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    DIR* folder = ::fdopendir(listing);
    if (!folder) {
        ::close(listing);
        return;
    }
    const auto gone = [](std::uint32_t pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; };
    while (const dirent* entry = ::readdir(folder)) {
        if (abandonedTemporary(entry->d_name, static_cast<std::uint32_t>(::getpid()), gone))
            ::unlinkat(dir, entry->d_name, 0);
    }
    ::closedir(folder);
}

// The file a save replaces: symbolic links are followed to the file they name
// (which need not exist yet).
FileStatus followLinks(const std::string& path, std::string& target)
{
    if (path.empty())
        return FileStatus::fromErrno(ENOENT);
    target = path;
    std::vector<char> link(PATH_MAX + 1);
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0)
            return errno == ENOENT ? FileStatus() : lastError();
        if (!S_ISLNK(st.st_mode))
            return {};
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0)
            return lastError();
        if (length == 0 || static_cast<std::size_t>(length) >= link.size())
            return FileStatus::fromErrno(length == 0 ? ENOENT : ENAMETOOLONG);
        std::string next(link.data(), static_cast<std::size_t>(length));
        // A relative link is relative to the folder holding the link.
        if (next[0] != '/') {
            const std::size_t slash = target.find_last_of('/');
            if (slash != std::string::npos)
                next = target.substr(0, slash + 1) + next;
        }
        target = std::move(next);
    }
    return FileStatus::fromErrno(ELOOP);
}

bool writeAll(int fd, std::string_view bytes, bool positioned)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = positioned ? ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                                static_cast<off_t>(done))
                                     : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Flushes the folder so that a rename in it survives a power loss. The
// rename has happened by then; a folder that cannot be flushed (some file
// systems refuse) does not make the save a failure.
void syncFolder(int dir)
{
    (void)::fsync(dir);
}

// A temporary file in the target's folder. One that was given a name is
// removed again unless it was renamed over the target or kept on purpose.
class Temporary {
public:
    explicit Temporary(int dir) : dir_(dir) {}
    ~Temporary()
    {
        if (!name_.empty() && !keep_)
            ::unlinkat(dir_, name_.c_str(), 0);
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    // An anonymous file where the file system allows it: a program killed
    // while it writes leaves nothing behind.
    FileStatus open(bool anonymous)
    {
        if (anonymous) {
            const int fd = ::openat(dir_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_.reset(fd);
                return {};
            }
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return lastError();
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = temporaryName();
            const int fd = ::openat(dir_, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (fd >= 0) {
                fd_.reset(fd);
                name_ = std::move(name);
                return {};
            }
            if (errno != EEXIST)
                return lastError();
        }
        return FileStatus::fromErrno(EEXIST);
    }

    // Gives the file a name: `wanted` (replacing an older file of that name)
    // or else a fresh temporary one. False when the system cannot link an
    // anonymous file (then a named temporary file is used from the start).
    bool giveName(const std::string& wanted = {})
    {
        if (!name_.empty()) {
            if (wanted.empty() || wanted == name_)
                return true;
            if (::renameat(dir_, name_.c_str(), dir_, wanted.c_str()) != 0)
                return false;
            name_ = wanted;
            return true;
        }
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_.get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = wanted.empty() ? temporaryName() : wanted;
            if (::linkat(AT_FDCWD, self, dir_, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd_.get(), "", dir_, name.c_str(), AT_EMPTY_PATH) == 0) {
                name_ = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
            if (!wanted.empty())
                ::unlinkat(dir_, wanted.c_str(), 0);
        }
        return false;
    }

    // Gives the complete file the name `wanted` only when no file has it;
    // false with errno (EEXIST for a taken name) otherwise.
    bool nameAsNew(const std::string& wanted)
    {
        if (!name_.empty()) {
            // A rename that refuses a taken name; where the file system has
            // no such rename, a hard link, which fails on a taken name too.
            if (::renameat2(dir_, name_.c_str(), dir_, wanted.c_str(), RENAME_NOREPLACE) != 0) {
                if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                    return false;
                if (::linkat(dir_, name_.c_str(), dir_, wanted.c_str(), 0) != 0)
                    return false;
                ::unlinkat(dir_, name_.c_str(), 0);
            }
            name_ = wanted;
            return true;
        }
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_.get());
        if (::linkat(fd_.get(), "", dir_, wanted.c_str(), AT_EMPTY_PATH) == 0 ||
            (errno != EEXIST && ::linkat(AT_FDCWD, self, dir_, wanted.c_str(), AT_SYMLINK_FOLLOW) == 0)) {
            name_ = wanted;
            return true;
        }
        return false;
    }

    int fd() const { return fd_.get(); }
    const std::string& name() const { return name_; }
    void keep() { keep_ = true; }

private:
    int dir_;
    Descriptor fd_;
    std::string name_;
    bool keep_ = false;
};

// Writes the complete new content into the temporary file, with the target's
// permission bits, owner and group, and flushes it to the disk.
FileStatus fillTemporary(Temporary& temp, std::string_view bytes, const struct stat* old)
{
    if (!writeAll(temp.fd(), bytes, false))
        return lastError();
    if (old) {
        // Owner and group where the process may set them (the group alone
        // when only that is allowed); then the mode, which chown may clear.
        if (::fchown(temp.fd(), old->st_uid, old->st_gid) != 0)
            (void)::fchown(temp.fd(), static_cast<uid_t>(-1), old->st_gid);
        if (::fchmod(temp.fd(), old->st_mode & 07777) != 0)
            return lastError();
    }
    if (::fsync(temp.fd()) != 0)
        return lastError();
    return {};
}

// A hard-linked file rewritten in place (SaveSteps.h), with the inode as
// the file's identity.
FileStatus rewriteInPlace(int dir, const std::string& name, const struct stat& old, Temporary& copy,
                          std::string_view bytes)
{
    Descriptor out;
    const file_detail::InPlaceRewrite steps{
        [&] {
            if (!copy.giveName(linkedCopyName(static_cast<std::uint64_t>(old.st_ino))))
                return lastError();
            syncFolder(dir);
            return FileStatus();
        },
        [&] {
            out.reset(::openat(dir, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat now {};
            if (!out.valid() || ::fstat(out.get(), &now) != 0)
                return lastError();
            if (!S_ISREG(now.st_mode) || now.st_ino != old.st_ino || now.st_dev != old.st_dev)
                return FileStatus::notRegularFile();
            return FileStatus();
        },
        [&](std::size_t size) {
            const int reserved = ::posix_fallocate(out.get(), 0, static_cast<off_t>(size));
            if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
                return FileStatus::fromErrno(reserved);
            return FileStatus();
        },
        [&](std::string_view content) {
            if (!writeAll(out.get(), content, true) || ::ftruncate(out.get(), static_cast<off_t>(content.size())) != 0 ||
                ::fsync(out.get()) != 0)
                return lastError();
            return FileStatus();
        },
        [&] { copy.keep(); }};
    return file_detail::rewriteInPlace(steps, bytes);
}

// The folder holding `path`, opened to make and rename files in it, and the
// name in it; a name that is no file's ("", ".", "..") is refused.
FileStatus openFolderOf(const std::string& path, Descriptor& dir, std::string& name)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return FileStatus::fromErrno(EISDIR);
    dir.reset(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid() && errno == EACCES)  // a folder we may write but not list
        dir.reset(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return lastError();
    return {};
}

}  // namespace

FileStatus createFileAtomically(const std::string& path, std::string_view bytes)
{
    Descriptor dir;
    std::string name;
    if (const FileStatus opened = openFolderOf(path, dir, name); !opened)
        return opened;
    struct stat taken {};
    if (::fstatat(dir.get(), name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
        return FileStatus::fromErrno(EEXIST);

    removeAbandonedTemporaries(dir.get());
    for (const bool anonymous : {true, false}) {
        Temporary temp(dir.get());
        if (const FileStatus opened = temp.open(anonymous); !opened)
            return opened;
        if (const FileStatus filled = fillTemporary(temp, bytes, nullptr); !filled)
            return filled;
        if (!temp.nameAsNew(name)) {
            if (errno == EEXIST || !anonymous)
                return lastError();
            continue;  // the system cannot link an anonymous file: a named one then
        }
        temp.keep();
        syncFolder(dir.get());
        return {};
    }
    return FileStatus::fromErrno(EIO);
}

FileStatus writeFileAtomically(const std::string& path, std::string_view bytes)
{
    std::string target;
    if (const FileStatus followed = followLinks(path, target); !followed)
        return followed;
    Descriptor dir;
    std::string name;
    if (const FileStatus opened = openFolderOf(target, dir, name); !opened)
        return opened;

    struct stat old {};
    const bool exists = ::fstatat(dir.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return lastError();
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return FileStatus::fromErrno(EISDIR);
        if (!S_ISREG(old.st_mode))
            return FileStatus::notRegularFile();
        // Renaming over it would succeed: the file's own permission decides.
        if ((old.st_mode & 0222) == 0)
            return FileStatus::readOnly();
        if (::faccessat(dir.get(), name.c_str(), W_OK, AT_EACCESS) != 0)
            return lastError();
    }

    removeAbandonedTemporaries(dir.get());
    for (const bool anonymous : {true, false}) {
        Temporary temp(dir.get());
        if (const FileStatus opened = temp.open(anonymous); !opened)
            return opened;
        if (const FileStatus filled = fillTemporary(temp, bytes, exists ? &old : nullptr); !filled)
            return filled;
        if (exists && old.st_nlink > 1) {
            const FileStatus rewritten = rewriteInPlace(dir.get(), name, old, temp, bytes);
            if (rewritten)
                syncFolder(dir.get());
            return rewritten;
        }
        if (!temp.giveName())
            continue;
        if (::renameat(dir.get(), temp.name().c_str(), dir.get(), name.c_str()) != 0)
            return lastError();
        temp.keep();
        syncFolder(dir.get());
        return {};
    }
    return FileStatus::fromErrno(EIO);
}

}  // namespace tavo
