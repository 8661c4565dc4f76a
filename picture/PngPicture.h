// picture/ holds the chart picture as PNG, rendered from its SVG by librsvg, the one part that links it.
#pragma once

#include <string>
#include <string_view>

namespace halvaro::picture {

struct PngResult {
    std::string Bytes; // the PNG file's bytes; empty on failure
    std::string Error; // why there is no picture, in words for the user
};

// The PNG of an SVG drawing at `scale` times its own size, on white, as the
// window's Save Picture writes it (twice the size: sharp on dense screens
// and on paper). Pure: any number of threads may call it.
PngResult PngOfSvg(std::string_view svg, int scale);

// A picture file's kind by its name's ending, in either case.
enum class PictureKind { Svg, Png, Other };
PictureKind PictureKindOf(std::string_view path);

} // namespace halvaro::picture
