#include "core/FileReplace.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

namespace halvaro {

namespace fs = std::filesystem;

namespace {

// A name of the form .<target>.<random>.tmp beside the target; the leading
// dot keeps it out of a file manager's view while it exists.
fs::path TemporaryName(const fs::path& folder, const fs::path& target, std::mt19937& random)
{
    std::array<char, 16> hex {};
    const auto [end, ec] = std::to_chars(hex.data(), hex.data() + hex.size(), static_cast<std::uint32_t>(random()), 16);
    (void)ec;
    std::string name(1, '.');
    name.append(target.filename().string()).append(".").append(hex.data(), end).append(".tmp");
    return folder / name;
}

} // namespace

// Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) about a
// literal prepended to a std::string.
std::string QuotedPath(const fs::path& path)
{
    std::string quoted(1, '"');
    quoted.append(path.string()).push_back('"');
    return quoted;
}

std::string ErrnoText(int error)
{
    return error != 0 ? std::generic_category().message(error) : std::string("unknown error");
}

std::optional<std::string> ReplaceFileContents(const fs::path& path, std::string_view bytes)
{
    if (path.empty() || !path.has_filename()) {
        return "no file name was given";
    }

    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        if (fs::path resolved = fs::canonical(target, ec); !ec) {
            target = resolved;
        }
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (!fs::is_directory(folder, ec)) {
        return "the folder " + QuotedPath(folder) + " does not exist";
    }
    const fs::file_status targetStatus = fs::status(target, ec);
    const bool targetExists = fs::exists(targetStatus);
    if (targetExists && !fs::is_regular_file(targetStatus)) {
        return "it is not a plain file";
    }
    if (targetExists) {
        // A file the user may not write is left alone, even when its folder
        // would let us replace it.
        errno = 0;
        std::FILE* probe = std::fopen(target.c_str(), "r+b");
        if (probe == nullptr) {
            return ErrnoText(errno);
        }
        std::fclose(probe);
    }

    std::mt19937 random(std::random_device {}());
    fs::path temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && file == nullptr; ++attempt) {
        temporary = TemporaryName(folder, target, random);
        errno = 0;
        file = std::fopen(temporary.c_str(), "wbx");
        if (file == nullptr && errno != EEXIST) {
            return ErrnoText(errno);
        }
    }
    if (file == nullptr) {
        return "no temporary file could be created beside it";
    }

    int error = 0;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0) {
        error = errno != 0 ? errno : EIO;
    }
    errno = 0;
    if (std::fclose(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (error != 0) {
        fs::remove(temporary, ec);
        return ErrnoText(error);
    }
    if (targetExists) {
        fs::permissions(temporary, targetStatus.permissions(), ec); // keep the file's mode; cosmetic if it fails
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::string reason = ec.message();
        fs::remove(temporary, ec);
        return reason;
    }
    return std::nullopt;
}

} // namespace halvaro
