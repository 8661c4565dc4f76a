// readings/ holds the `.aha` reading file and its character shift.
#pragma once

#include "core/Birth.h"
#include "core/BirthData.h"
#include "core/Conventions.h"
#include "core/InputChecks.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::readings {

inline constexpr int ReadingLineCount = 17;

// A reading is a few hundred bytes; anything far larger is not one, and is
// refused before it is read whole.
inline constexpr std::size_t MaxReadingFileBytes = 64 * 1024;
inline constexpr std::size_t MaxReadingLineBytes = 4 * 1024;

// What one stored line may hold, a single definition for the writer and the
// reader: at most MaxReadingLineBytes bytes, none below 85 (the stored form
// of code 0), so that the writer refuses whatever the reader would.
struct StoredLineCheck {
    enum class Fault { None, TooLong, ByteWithoutField };
    Fault Found = Fault::None;
    unsigned char Byte = 0; // the first byte without a field, for ByteWithoutField
};
StoredLineCheck CheckStoredLine(std::string_view stored);

struct OpenResult {
    // Every line checked; texts are UTF-8, the number boxes' lines stay texts,
    // since they go to their boxes as they are. Empty: the file is refused as
    // a whole.
    std::optional<BirthData> Reading;
    std::string Reason;                   // why it was refused, for logs and the command line
    // From the lines after the 17th: the offset in force, to the second,
    // with its zone (for the checks, in place of the list entry), and the
    // sky and conventions it was computed under. Empty when not given.
    std::optional<ExactOffset> Offset;
    std::optional<Conventions> Chosen;
};

struct SaveResult {
    bool Saved = false;
    std::string Error; // why not, in words for the user
};

// The exact bytes of a reading file: 17 scrambled lines, each ended by CR LF,
// written from a checked birth: its zone list entry, and its degrees and
// minutes back out of the signed degrees. What they cannot hold (an offset
// no entry gives, whose nearest entry line 7 then holds, the zone it was
// found in, the sky and the conventions) follows in lines of their own
// (readings/ReadingExtras.h); a classic birth at an entry of the list has
// the 17 lines alone.
// Fails, naming the field, when a field holds a character with no scrambled
// form (a code above 170, or one that does not fit a byte), when it is longer
// than a line may be, or when a name or place is blank: trimmed to an empty
// line, it would be refused on opening.
struct BytesResult {
    std::optional<std::string> Bytes;
    std::string Error;
};
BytesResult ReadingFileBytes(const Birth& birth, const Conventions& conventions = {});

// Checks the reading as ReadingFileBytes does before anything touches the
// disk, then writes the file as ReplaceFileContents (files/FileReplace.h) does:
// through a temporary file flushed to disk and renamed over the target, so
// an existing file is never left damaged.
SaveResult SaveReadingFile(
    const std::filesystem::path& path, const Birth& birth, const Conventions& conventions = {});

// Checks the whole content before anything is used. A line ends at CR LF;
// the last line may lack it. A lone CR or LF is a byte below 85 inside a
// line, and so refuses the file, as does a NUL. A file that ends before its
// 14th line is cut short; the place lines it lacks are empty texts. Lines
// after the 17th must be ours (blank ones aside), or the file is refused.
OpenResult ParseReadingFile(std::string_view bytes);
OpenResult OpenReadingFile(const std::filesystem::path& path);

// The name check of the Open button: the last three characters are "aha".
bool HasReadingExtension(std::string_view path);

inline constexpr std::string_view CheckTheFileMessage = "Please Check The File.";

} // namespace halvaro::readings
