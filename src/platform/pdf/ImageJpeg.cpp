// A JPEG is embedded byte for byte (DCTDecode); libjpeg only reads its header: the size, the
// colour model, the resolution and the EXIF orientation.

#include <csetjmp>
#include <cstdio>

// After <cstdio>: it uses FILE and size_t without including them.
#include <jpeglib.h>

#include "platform/pdf/ImageFrame.h"

namespace tomefuse::image_detail {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void quiet(j_common_ptr, int) {}

struct Header {
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    int components = 0;
    J_COLOR_SPACE space = JCS_UNKNOWN;
    bool adobe = false;  // an Adobe APP14 marker: its CMYK is stored inverted
    UINT8 densityUnit = 0;
    UINT16 densityX = 0;
    UINT16 densityY = 0;
    int orientation = 1;
};

// Only plain data lives in this frame: longjmp leaves it without running destructors.
bool readHeader(const unsigned char* data, size_t size, Header& header, char* message) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = quiet;
    if (setjmp(errors.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    header.width = info.image_width;
    header.height = info.image_height;
    header.components = info.num_components;
    header.space = info.jpeg_color_space;
    header.adobe = info.saw_Adobe_marker;
    if (info.saw_JFIF_marker) {
        header.densityUnit = info.density_unit;
        header.densityX = info.X_density;
        header.densityY = info.Y_density;
    }
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > 6 &&
            std::string_view(reinterpret_cast<const char*>(marker->data), 6) == std::string_view("Exif\0\0", 6)) {
            header.orientation = exifOrientation(
                std::string_view(reinterpret_cast<const char*>(marker->data) + 6, marker->data_length - 6));
            break;
        }
    }
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

std::vector<ImageFrame> jpegFrames(std::string_view bytes) {
    Header header;
    char message[JMSG_LENGTH_MAX] = "";
    if (!readHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), header, message)) {
        throw ImageError(message);
    }
    checkDimensions(header.width, header.height, static_cast<uint64_t>(header.components));
    ImageFrame frame;
    frame.width = header.width;
    frame.height = header.height;
    frame.components = header.components;
    switch (header.components) {
        case 1:
            frame.colorSpace = "/DeviceGray";
            break;
        case 3:
            frame.colorSpace = "/DeviceRGB";
            break;
        case 4:
            frame.colorSpace = "/DeviceCMYK";
            if (header.adobe) {
                frame.decode = "[1 0 1 0 1 0 1 0]";
            }
            break;
        default:
            throw ImageError("a JPEG of " + std::to_string(header.components) + " colour components");
    }
    if (header.densityUnit == 1 || header.densityUnit == 2) {
        const double perInch = header.densityUnit == 1 ? 1 : 2.54;
        frame.dpiX = header.densityX * perInch;
        frame.dpiY = header.densityY * perInch;
    }
    frame.orientation = header.orientation;
    frame.filter = "/DCTDecode";
    frame.data.assign(bytes.data(), bytes.size());
    std::vector<ImageFrame> frames;
    frames.push_back(std::move(frame));
    return frames;
}

}  // namespace tomefuse::image_detail
