// files/ holds the safe saving and opening of any file: reading files, chart pictures, batch output; the one
// part of the core that calls the system (POSIX).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::files {

// The calls whose order decides whether a replaced file survives a power
// cut. Saves use the system's; a test puts a recorder in their place.
class FileCalls {
public:
    FileCalls() = default;
    FileCalls(const FileCalls&) = delete;
    FileCalls& operator=(const FileCalls&) = delete;
    virtual ~FileCalls() = default;

    // An unnamed file in the folder (O_TMPFILE); -1 where there is none.
    virtual int OpenUnnamed(int folderFd);
    virtual int Fsync(int fd);
    // Renames within one folder, given as an open descriptor.
    virtual int Rename(int folderFd, const char* from, const char* to);
};

// A save's temporary file, when it has a name at all, is called
// .halvaro-<16 hex digits>.tmp in the target's folder: short and of fixed
// length, so every name the target itself may have still works.
inline constexpr std::string_view TemporaryPrefix = ".halvaro-";
inline constexpr std::string_view TemporarySuffix = ".tmp";
inline constexpr std::size_t TemporaryDigits = 16;
bool IsTemporaryName(std::string_view fileName);

// Replaces the file at path by bytes, whole or not at all: the bytes go to a
// temporary file in the same folder (unnamed where the file system allows),
// which is flushed to disk, renamed over the target, and then the folder is
// flushed too. A symbolic link is saved through to the file it points to; a
// link that leads to no file is refused, and so is one that another user
// made in a sticky folder everyone may write. Special files are refused, and
// so is a file the user may not write, or one in a folder no one may write;
// an existing file keeps its mode, owner and group (or is left as it was
// when they cannot be kept).
// Temporary files of earlier saves that were killed, and that no running
// save holds, are removed first. Nothing on success, or the reason in words
// ("the folder "x" does not exist").
std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
    FileCalls& calls);

// The same, a piece at a time, for output too long to hold in memory (a
// batch's): Open makes the checks above and the temporary file, each Write
// appends to it, Commit puts it in place. A writer destroyed before Commit
// leaves the target as it was and, its temporary file having no name, nothing
// else behind.
class FileWriter {
public:
    FileWriter();
    explicit FileWriter(FileCalls& calls);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Nothing when the file can be written, or why not.
    std::optional<std::string> Open(const std::filesystem::path& path);
    // False once a write has failed; the error is kept for Commit.
    bool Write(std::string_view bytes);
    [[nodiscard]] int Error() const { return error_; }
    // Where the file system gave no unnamed file: the folder and the name of
    // the temporary file while it has one, else -1 and an empty name.
    [[nodiscard]] int FolderFd() const { return folderFd_; }
    [[nodiscard]] const std::string& TemporaryName() const { return temporaryName_; }
    std::optional<std::string> Commit();

private:
    void Discard();

    FileCalls ownCalls_;
    FileCalls& calls_;
    int folderFd_ = -1, fileFd_ = -1, error_ = 0;
    bool folderListable_ = true;
    std::string name_, temporaryName_; // the target's name in its folder; the temporary file's, once it has one
};

// A path in double quotes for messages, control characters shown escaped.
std::string QuotedPath(const std::filesystem::path& path);

// The words of an errno value, or "unknown error" for none.
std::string ErrnoText(int error);

} // namespace halvaro::files
