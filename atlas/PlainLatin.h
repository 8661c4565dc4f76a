#pragma once

#include <iconv.h>
#include <locale.h>

#include <optional>
#include <string>
#include <string_view>

namespace halvaro::atlas {

// Latin text in plain ASCII letters (Tromsø → Tromso, São Paulo → Sao
// Paulo, Þórshöfn → THorshofn), through glibc's iconv transliteration.
// glibc takes the transliteration table from the thread's LC_CTYPE, and the
// C locale has none, so the converter works under C.UTF-8 for the calls it
// makes, whatever the program's locale. A character without a Latin form
// (another script) is left out. Holds an iconv descriptor: one per thread.
class PlainLatinConverter {
public:
    PlainLatinConverter();
    ~PlainLatinConverter();
    PlainLatinConverter(const PlainLatinConverter&) = delete;
    PlainLatinConverter& operator=(const PlainLatinConverter&) = delete;

    // False when the system offers no transliteration (no iconv converter or
    // no C.UTF-8 locale); Convert then fails for any text beyond ASCII.
    [[nodiscard]] bool Usable() const;

    // ASCII text is returned as it is. Empty when the text is not well-formed
    // UTF-8, or holds a character beyond ASCII and the converter is not usable.
    [[nodiscard]] std::optional<std::string> Convert(std::string_view utf8);

private:
    iconv_t descriptor;
    locale_t cLocale;
    locale_t utf8Locale;
};

// One text, for callers that convert now and then (the place dialog, the
// command line); a batch of texts keeps one converter.
std::optional<std::string> PlainLatin(std::string_view utf8);

} // namespace halvaro::atlas
