#include "files/FileRead.h"

#include "files/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

namespace halvaro::files {

namespace {

// Closes the file on every way out.
struct OpenFile {
    explicit OpenFile(int fd) : Fd(fd) {}
    ~OpenFile()
    {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    const int Fd;
};

} // namespace

ReadFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    const OpenFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Fd < 0) {
        return {ReadFault::CannotRead, {}, errno};
    }
    struct stat status {};
    if (::fstat(file.Fd, &status) != 0) {
        return {ReadFault::CannotRead, {}, errno};
    }
    if (!S_ISREG(status.st_mode)) {
        return {ReadFault::NotPlainFile, {}, 0};
    }
    if (status.st_size < 0 || static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        return {ReadFault::TooLarge, {}, 0};
    }
    // One byte more than allowed tells a file that grew since it was measured.
    std::string bytes(maxBytes + 1, '\0');
    std::size_t count = 0;
    while (count < bytes.size()) {
        const ssize_t got = ::read(file.Fd, bytes.data() + count, bytes.size() - count);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {ReadFault::CannotRead, {}, errno};
        }
        if (got == 0) {
            break;
        }
        count += static_cast<std::size_t>(got);
    }
    if (count > maxBytes) {
        return {ReadFault::TooLarge, {}, 0};
    }
    bytes.resize(count);
    return {ReadFault::None, std::move(bytes), 0};
}

} // namespace halvaro::files

namespace halvaro::files {

int OpenToRead(const std::filesystem::path& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        error = ErrnoText(errno);
    } else if (S_ISDIR(status.st_mode)) {
        error = "it is a folder";
    } else {
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return -1;
}

long ReadSome(int fd, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

} // namespace halvaro::files
