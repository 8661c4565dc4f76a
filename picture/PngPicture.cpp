#include "picture/PngPicture.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <memory>

namespace halvaro::picture {

namespace {

struct SurfaceFree {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextFree {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct HandleFree {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

bool EndsWith(std::string_view text, std::string_view ending)
{
    if (text.size() < ending.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
        if (c != ending[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

PictureKind PictureKindOf(std::string_view path)
{
    return EndsWith(path, ".svg") ? PictureKind::Svg : EndsWith(path, ".png") ? PictureKind::Png : PictureKind::Other;
}

PngResult PngOfSvg(std::string_view svg, int scale)
{
    const PngResult failed {{}, "The picture could not be made; nothing was saved."};
    GError* error = nullptr;
    const std::unique_ptr<RsvgHandle, HandleFree> handle(
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
    if (!handle) {
        g_clear_error(&error);
        return failed;
    }
    gdouble width = 0;
    gdouble height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width < 1 || height < 1
        || scale < 1) {
        return failed;
    }
    const int pixelsWide = static_cast<int>(width * scale + 0.5);
    const int pixelsHigh = static_cast<int>(height * scale + 0.5);
    const std::unique_ptr<cairo_surface_t, SurfaceFree> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsWide, pixelsHigh));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return failed;
    }
    const std::unique_ptr<cairo_t, ContextFree> context(cairo_create(surface.get()));
    cairo_set_source_rgb(context.get(), 1, 1, 1);
    cairo_paint(context.get());
    const RsvgRectangle viewport {0, 0, static_cast<double>(pixelsWide), static_cast<double>(pixelsHigh)};
    if (!rsvg_handle_render_document(handle.get(), context.get(), &viewport, &error)) {
        g_clear_error(&error);
        return failed;
    }
    PngResult png;
    if (cairo_surface_write_to_png_stream(surface.get(), AppendBytes, &png.Bytes) != CAIRO_STATUS_SUCCESS) {
        return failed;
    }
    return png;
}

} // namespace halvaro::picture
