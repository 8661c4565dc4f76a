#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace halvaro {

// A text of bounded length kept inside the object. Position and result texts
// are rewritten on every calculation; keeping them out of the heap lets a
// reading be computed in a loop without a single allocation. Every caller
// sizes N for the longest text it can produce; an append beyond N is cut.
template <std::size_t N>
class FixedText {
public:
    static_assert(N < 256, "the length is kept in one byte");

    // The buffer is left as it is at run time: only the first size() bytes
    // are ever read, and a reading would otherwise clear the kilobytes of its
    // 32 labels before writing them. A constant gets it filled, as it must.
    constexpr FixedText() // NOLINT: data_ is written before it is read
    {
        if (std::is_constant_evaluated()) {
            data_.fill('\0');
        }
    }
    constexpr FixedText(std::string_view text) : FixedText() { append(text); } // NOLINT: implicit by design

    // A shorter text's whole buffer copied at once: a fixed-size copy the
    // compiler does in a few moves, where append would call memmove.
    template <std::size_t M>
        requires(M <= N)
    constexpr explicit FixedText(const FixedText<M>& shorter) : FixedText()
    {
        std::copy_n(shorter.data_.data(), M, data_.data());
        size_ = shorter.size_;
    }

    constexpr FixedText& append(std::string_view text)
    {
        const std::size_t count = std::min(text.size(), N - size_);
        std::copy_n(text.data(), count, data_.data() + size_);
        size_ = static_cast<std::uint8_t>(size_ + count);
        return *this;
    }

    constexpr FixedText& append(char c)
    {
        if (size_ < N) {
            data_[size_++] = c;
        }
        return *this;
    }

    // Appends a non-negative whole number in plain decimal, locale-free (a
    // digit loop: faster than std::to_chars for the small numbers of the
    // position texts).
    constexpr FixedText& appendNumber(unsigned long long value)
    {
        char digits[20] {};
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10U);
            value /= 10U;
        } while (value != 0U);
        while (count > 0) {
            append(digits[--count]);
        }
        return *this;
    }

    constexpr void clear() { size_ = 0; }
    [[nodiscard]] constexpr std::size_t size() const { return size_; }
    [[nodiscard]] constexpr bool empty() const { return size_ == 0; }
    [[nodiscard]] constexpr std::string_view view() const { return {data_.data(), size_}; }
    constexpr operator std::string_view() const { return view(); } // NOLINT: implicit by design
    [[nodiscard]] std::string str() const { return std::string(view()); }

    friend constexpr bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    friend constexpr bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    template <std::size_t>
    friend class FixedText;

    std::array<char, N> data_;
    std::uint8_t size_ = 0;
};

// The long position text: 29° 59' 59" Pis is 16 bytes in UTF-8.
using PositionText = FixedText<32>;
// The short position text: 29 Pis 59.
using ShortText = FixedText<16>;
// One result label; the longest possible is 85 bytes (a graha aspecting all
// seven others), and every reading holds 32 of them.
using LabelText = FixedText<95>;

} // namespace halvaro
