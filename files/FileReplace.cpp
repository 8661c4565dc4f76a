#include "files/FileReplace.h"

#include "core/Text.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>
#include <utility>

namespace halvaro::files {

namespace fs = std::filesystem;

int FileCalls::OpenUnnamed(int folderFd)
{
    return ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

int FileCalls::Fsync(int fd)
{
    return ::fsync(fd);
}

int FileCalls::Rename(int folderFd, const char* from, const char* to)
{
    return ::renameat(folderFd, from, folderFd, to);
}

bool IsTemporaryName(std::string_view fileName)
{
    if (fileName.size() != TemporaryPrefix.size() + TemporaryDigits + TemporarySuffix.size()
        || !fileName.starts_with(TemporaryPrefix) || !fileName.ends_with(TemporarySuffix)) {
        return false;
    }
    const std::string_view digits = fileName.substr(TemporaryPrefix.size(), TemporaryDigits);
    return std::all_of(digits.begin(), digits.end(),
        [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string QuotedPath(const fs::path& path)
{
    // Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) about a
    // literal prepended to a std::string.
    std::string quoted(1, '"');
    quoted.append(PrintableText(path.string())).push_back('"');
    return quoted;
}

std::string ErrnoText(int error)
{
    return error != 0 ? std::generic_category().message(error) : std::string("unknown error");
}

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        Reset(std::exchange(other.fd_, -1));
        return *this;
    }

    [[nodiscard]] int Get() const { return fd_; }
    [[nodiscard]] bool Valid() const { return fd_ >= 0; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0) {
            const int saved = errno; // a failed open's error outlives the close of what it replaces
            ::close(fd_);
            errno = saved;
        }
        fd_ = fd;
    }

private:
    int fd_;
};

constexpr int NoSurprises = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string NewTemporaryName(std::mt19937_64& random)
{
    constexpr std::string_view hexDigits = "0123456789abcdef";
    std::string name(TemporaryPrefix);
    std::uint64_t value = random();
    std::array<char, TemporaryDigits> digits {};
    for (std::size_t i = digits.size(); i-- > 0;) {
        digits[i] = hexDigits[value & 0x0FU];
        value >>= 4U;
    }
    name.append(digits.data(), digits.size()).append(TemporarySuffix);
    return name;
}

// A save holds a lock on its temporary file from before the file has a name
// until it is renamed; one of the pattern that can be locked belongs to a
// save that was killed. On a file system without locks nothing is removed.
void RemoveStaleTemporaryFiles(int folderFd)
{
    const int listingFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0) {
        return;
    }
    DIR* listing = ::fdopendir(listingFd);
    if (listing == nullptr) {
        ::close(listingFd);
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (!IsTemporaryName(entry->d_name)) {
            continue;
        }
        // Read access is enough for a lock; a file whose mode allows only writing is opened for that.
        Descriptor file(::openat(folderFd, entry->d_name, O_RDONLY | NoSurprises));
        if (!file.Valid() && errno == EACCES) {
            file.Reset(::openat(folderFd, entry->d_name, O_WRONLY | NoSurprises));
        }
        struct stat opened {};
        struct stat named {};
        if (!file.Valid() || ::fstat(file.Get(), &opened) != 0 || !S_ISREG(opened.st_mode)
            || ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        // Still the file that was locked, not a new one that took its name.
        if (::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named)) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

// The kernel's rule for links in a shared folder (fs.protected_symlinks),
// kept where the kernel does not keep it: a link in a sticky folder that
// everyone may write is followed only when it is the caller's or the
// folder owner's. Each link on the way to the file is asked.
std::optional<std::string> PlantedLink(const fs::path& path)
{
    fs::path current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat link {};
        if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            break;
        }
        fs::path folder = current.parent_path();
        if (folder.empty()) {
            folder = ".";
        }
        struct stat shared {};
        if (::stat(folder.c_str(), &shared) == 0 && (shared.st_mode & S_ISVTX) != 0 && (shared.st_mode & S_IWOTH) != 0
            && link.st_uid != ::geteuid() && link.st_uid != shared.st_uid) {
            return "it is a symbolic link that another user made in the shared folder " + QuotedPath(folder)
                + ", so it is not followed";
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            break;
        }
        current = next.is_absolute() ? next : folder / next;
    }
    return std::nullopt;
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

FileWriter::FileWriter()
    : calls_(ownCalls_)
{
}

FileWriter::FileWriter(FileCalls& calls)
    : calls_(calls)
{
}

FileWriter::~FileWriter()
{
    Discard();
}

void FileWriter::Discard()
{
    if (!temporaryName_.empty()) {
        ::unlinkat(folderFd_, temporaryName_.c_str(), 0);
        temporaryName_.clear();
    }
    for (int* fd : {&fileFd_, &folderFd_}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

std::optional<std::string> FileWriter::Open(const fs::path& path)
{
    Discard();
    error_ = 0;
    if (path.empty() || !path.has_filename()) {
        return "no file name was given";
    }

    // Saving through a symbolic link replaces the file it points to, not the
    // link. A link that leads to no file is refused: creating a file wherever
    // it points is rarely what was meant, and a planted link could aim it.
    fs::path target = path;
    struct stat linkStatus {};
    if (::lstat(path.c_str(), &linkStatus) == 0 && S_ISLNK(linkStatus.st_mode)) {
        if (auto planted = PlantedLink(path)) {
            return planted;
        }
        struct stat followed {};
        if (::stat(path.c_str(), &followed) != 0) {
            std::error_code ec;
            if (errno == ENOENT) {
                return "it is a symbolic link to " + QuotedPath(fs::read_symlink(path, ec)) + ", which leads to no file";
            }
            return ErrnoText(errno);
        }
        if (!S_ISREG(followed.st_mode)) {
            return "it is not a plain file"; // /dev/stdout on a pipe, a link to a folder
        }
        std::error_code ec;
        fs::path resolved = fs::canonical(path, ec);
        if (ec) {
            return ec.message();
        }
        target = std::move(resolved);
    }

    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    name_ = target.filename().string();
    folderListable_ = true;
    Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.Valid() && errno == EACCES) {
        // A folder one may write in but not list: saved, but neither tidied
        // nor flushed.
        folderFd.Reset(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        folderListable_ = false;
    }
    if (!folderFd.Valid()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return "the folder " + QuotedPath(folder) + " does not exist";
        }
        return ErrnoText(errno);
    }
    // A folder no one may write protects its files, from the superuser too.
    struct stat folderStatus {};
    if (::fstat(folderFd.Get(), &folderStatus) == 0 && (folderStatus.st_mode & 0222U) == 0) {
        return ErrnoText(EACCES);
    }

    struct stat existing {};
    const bool exists = ::fstatat(folderFd.Get(), name_.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) {
        return ErrnoText(errno);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return "it is not a plain file";
    }
    if (exists) {
        // A file the user may not write is left alone, even when its folder
        // would let us replace it.
        const Descriptor probe(::openat(folderFd.Get(), name_.c_str(), O_WRONLY | NoSurprises));
        if (!probe.Valid()) {
            return ErrnoText(errno);
        }
        // Nor is a file no one may write, though the superuser could.
        if ((existing.st_mode & 0222U) == 0) {
            return ErrnoText(EACCES);
        }
    }
    if (folderListable_) {
        RemoveStaleTemporaryFiles(folderFd.Get());
    }

    // An unnamed file where the file system has them, named only once it is
    // complete and on disk, so that a writer killed before then leaves
    // nothing; else a named one, locked at once so that other saves see it
    // is in use.
    Descriptor file(calls_.OpenUnnamed(folderFd.Get()));
    std::string temporaryName;
    if (file.Valid()) {
        ::flock(file.Get(), LOCK_EX); // no one else can reach it yet
    } else {
        std::mt19937_64 random(std::random_device {}());
        for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
            std::string name = NewTemporaryName(random);
            Descriptor fd(::openat(folderFd.Get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (!fd.Valid()) {
                if (errno == EEXIST) {
                    continue;
                }
                return ErrnoText(errno);
            }
            // A save that took it for a stale one in the moment before the
            // lock removes it, and another name is tried.
            struct stat status {};
            const bool taken = ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
            if (taken || ::fstat(fd.Get(), &status) != 0 || status.st_nlink == 0) {
                continue;
            }
            file = std::move(fd);
            temporaryName = std::move(name);
        }
        if (!file.Valid()) {
            return ErrnoText(EEXIST);
        }
    }
    if (exists) {
        // The replaced file's owner and group stay, or its owner would be
        // locked out of it (the superuser's save) or its group lose it (a
        // shared folder). Where they cannot be kept, nothing is replaced.
        struct stat made {};
        if (::fstat(file.Get(), &made) != 0
            || ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid)
                && ::fchown(file.Get(), existing.st_uid, existing.st_gid) != 0)) {
            const int error = errno;
            if (!temporaryName.empty()) {
                ::unlinkat(folderFd.Get(), temporaryName.c_str(), 0);
            }
            return "its owner and group could not be kept (" + ErrnoText(error) + ")";
        }
        ::fchmod(file.Get(), existing.st_mode & 07777U); // keep the replaced file's mode; cosmetic if it fails
    }
    folderFd_ = folderFd.Release();
    fileFd_ = file.Release();
    temporaryName_ = std::move(temporaryName);
    return std::nullopt;
}

bool FileWriter::Write(std::string_view bytes)
{
    if (error_ == 0 && fileFd_ >= 0) {
        error_ = WriteAll(fileFd_, bytes);
    }
    return error_ == 0 && fileFd_ >= 0;
}

std::optional<std::string> FileWriter::Commit()
{
    if (fileFd_ < 0) {
        return ErrnoText(EBADF);
    }
    if (error_ == 0 && calls_.Fsync(fileFd_) != 0) {
        error_ = errno != 0 ? errno : EIO;
    }
    if (error_ == 0 && temporaryName_.empty()) {
        // Named by the descriptor where that is allowed, else through /proc,
        // which needs no privilege.
        std::array<char, 32> procPath {};
        std::snprintf(procPath.data(), procPath.size(), "/proc/self/fd/%d", fileFd_);
        std::mt19937_64 random(std::random_device {}());
        for (int attempt = 0; attempt < 100 && temporaryName_.empty() && error_ == 0; ++attempt) {
            std::string name = NewTemporaryName(random);
            if (::linkat(fileFd_, "", folderFd_, name.c_str(), AT_EMPTY_PATH) == 0
                || (errno != EEXIST
                    && ::linkat(AT_FDCWD, procPath.data(), folderFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0)) {
                temporaryName_ = std::move(name);
            } else if (errno != EEXIST) {
                error_ = errno;
            }
        }
        if (temporaryName_.empty() && error_ == 0) {
            error_ = EEXIST;
        }
    }
    if (error_ == 0 && calls_.Rename(folderFd_, temporaryName_.c_str(), name_.c_str()) != 0) {
        error_ = errno;
    }
    if (error_ != 0) {
        const int error = error_;
        Discard();
        return ErrnoText(error);
    }
    temporaryName_.clear(); // it is the file now
    // The rename reaches the disk with its folder. Some file systems cannot
    // flush a folder (EINVAL); they order it themselves.
    const bool flushed = !folderListable_ || calls_.Fsync(folderFd_) == 0 || errno == EINVAL;
    const int error = errno;
    Discard();
    if (!flushed) {
        return "its folder could not be flushed to disk (" + ErrnoText(error) + ")";
    }
    return std::nullopt;
}

std::optional<std::string> ReplaceFileContents(const fs::path& path, std::string_view bytes, FileCalls& calls)
{
    FileWriter writer(calls);
    if (auto refused = writer.Open(path)) {
        return refused;
    }
    writer.Write(bytes);
    return writer.Commit();
}

std::optional<std::string> ReplaceFileContents(const fs::path& path, std::string_view bytes)
{
    FileCalls system;
    return ReplaceFileContents(path, bytes, system);
}

} // namespace halvaro::files
