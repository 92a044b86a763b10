#pragma once

// Image files as documents: a JPEG, PNG or TIFF becomes a PDF of one page per frame, so the rest
// of the program lists, previews and combines it as it does any PDF.

#include <optional>
#include <string>
#include <string_view>

namespace tomefuse {

enum class ImageFormat { none, jpeg, png, tiff };

// Told by the first bytes of a file (12 are enough), never by its name.
ImageFormat imageFormatOf(std::string_view head);

// How large each image's page is: the image at its own resolution (96 dpi where it states none),
// or fitted into a sheet, turned to the image's orientation, and centred.
enum class ImagePageSize { natural, a4, letter };

// The PDF made of an image file's bytes: a JPEG embedded as it is, PNG and TIFF without loss
// (palettes, 16-bit samples, alpha as a soft mask, CCITT Group 4 passed through). Absent, with
// why in error, for bytes that are no image it can read.
std::optional<std::string> pdfFromImage(std::string_view bytes, ImagePageSize size, std::string& error);

}  // namespace tomefuse
