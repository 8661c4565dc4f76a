#include "atlas/PlainLatin.h"

#include <algorithm>
#include <cerrno>

namespace halvaro::atlas {

namespace {

bool Opened(iconv_t descriptor)
{
    return descriptor != reinterpret_cast<iconv_t>(-1);
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Makes the converter's locale the calling thread's for one conversion.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(locale_t locale)
        : previous(uselocale(locale))
    {
    }
    ~ThreadLocaleScope() { uselocale(previous); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    locale_t previous;
};

} // namespace

PlainLatinConverter::PlainLatinConverter()
    : descriptor(iconv_open("ASCII//TRANSLIT", "UTF-8"))
    , cLocale(newlocale(LC_ALL_MASK, "C", locale_t {}))
    , utf8Locale(cLocale != locale_t {} ? newlocale(LC_CTYPE_MASK, "C.UTF-8", cLocale) : locale_t {})
{
    // newlocale consumed cLocale into utf8Locale when it succeeded.
    if (utf8Locale != locale_t {}) {
        cLocale = locale_t {};
    }
}

PlainLatinConverter::~PlainLatinConverter()
{
    if (Opened(descriptor)) {
        iconv_close(descriptor);
    }
    if (utf8Locale != locale_t {}) {
        freelocale(utf8Locale);
    }
    if (cLocale != locale_t {}) {
        freelocale(cLocale);
    }
}

bool PlainLatinConverter::Usable() const
{
    return Opened(descriptor) && utf8Locale != locale_t {};
}

std::optional<std::string> PlainLatinConverter::Convert(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    if (!Usable()) {
        return std::nullopt;
    }
    const ThreadLocaleScope scope(utf8Locale);
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);

    std::string input(utf8);
    std::string output(input.size() * 2 + 16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::size_t done = 0;
    while (inLeft > 0) {
        char* out = output.data() + done;
        std::size_t outLeft = output.size() - done;
        const std::size_t result = iconv(descriptor, &in, &inLeft, &out, &outLeft);
        done = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != E2BIG) {
            return std::nullopt; // EILSEQ or EINVAL: not well-formed UTF-8
        }
        output.resize(output.size() * 2);
    }
    output.resize(done);
    // iconv writes '?' for a character with no Latin form; a place name has
    // no question mark of its own, so those are dropped.
    if (utf8.find('?') == std::string_view::npos) {
        output.erase(std::remove(output.begin(), output.end(), '?'), output.end());
    }
    return output;
}

std::optional<std::string> PlainLatin(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    PlainLatinConverter converter;
    return converter.Convert(utf8);
}

} // namespace halvaro::atlas
