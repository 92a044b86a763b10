// A PNG becomes an image without loss: its samples as they are (palettes stay indexed, 16-bit
// stays 16-bit), alpha as a soft mask, a transparent colour as a colour-key mask, an embedded
// ICC profile kept. Rows are compressed as they are read.

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "platform/pdf/ImageFrame.h"

namespace tomefuse::image_detail {

namespace {

struct Header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 8;
    int colorType = 0;
    bool interlaced = false;
    png_color palette[PNG_MAX_PALETTE_LENGTH];
    int paletteSize = 0;
    unsigned char alphas[PNG_MAX_PALETTE_LENGTH];
    int alphaCount = 0;
    png_color_16 transparent{};
    bool hasTransparent = false;
    png_uint_32 perMetreX = 0;  // pixels per metre, 0 when unstated
    png_uint_32 perMetreY = 0;
};

// What the reading hands back, from inside the frame that libpng may longjmp out of.
struct Reader {
    void* context;
    // Once the header is read; answers the buffer rows are read into, whole image or one row.
    unsigned char* (*begin)(void* context, const Header& header, const std::string& icc, size_t rowBytes);
    void (*row)(void* context, const unsigned char* row);
};

struct Input {
    const unsigned char* data;
    size_t size;
    size_t at;
    char message[200];
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    if (length > input->size - input->at) {
        png_error(png, "cut short");
    }
    std::memcpy(out, input->data + input->at, length);
    input->at += length;
}

void onError(png_structp png, png_const_charp message) {
    auto* input = static_cast<Input*>(png_get_io_ptr(png));
    std::snprintf(input->message, sizeof input->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Only plain data lives in this frame: longjmp leaves it without running destructors.
bool readPng(Input& input, Header& header, std::string& icc, const Reader& reader) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, onError, onWarning);
    if (!png) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &input, readBytes);
    png_set_crc_action(png, PNG_CRC_WARN_DISCARD, PNG_CRC_WARN_DISCARD);
    png_read_info(png, info);
    int interlace = 0;
    png_get_IHDR(png, info, &header.width, &header.height, &header.depth, &header.colorType, &interlace, nullptr,
                 nullptr);
    header.interlaced = interlace != PNG_INTERLACE_NONE;
    png_colorp palette = nullptr;
    if (png_get_PLTE(png, info, &palette, &header.paletteSize) == 0 || !palette) {
        header.paletteSize = 0;
    } else {
        std::memcpy(header.palette, palette, sizeof(png_color) * static_cast<size_t>(header.paletteSize));
    }
    png_bytep alphas = nullptr;
    png_color_16p transparent = nullptr;
    if (png_get_tRNS(png, info, &alphas, &header.alphaCount, &transparent)) {
        if (header.colorType == PNG_COLOR_TYPE_PALETTE && alphas) {
            std::memcpy(header.alphas, alphas, static_cast<size_t>(header.alphaCount));
        } else if (transparent) {
            header.transparent = *transparent;
            header.hasTransparent = true;
        }
    }
    int unit = 0;
    if (png_get_pHYs(png, info, &header.perMetreX, &header.perMetreY, &unit) && unit != PNG_RESOLUTION_METER) {
        header.perMetreX = header.perMetreY = 0;
    }
    png_charp name = nullptr;
    png_bytep profile = nullptr;
    png_uint_32 profileSize = 0;
    int compression = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileSize)) {
        icc.assign(reinterpret_cast<const char*>(profile), profileSize);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    // What the reader throws (too large, out of memory) passes on, once libpng's state is freed.
    try {
        unsigned char* rows = reader.begin(reader.context, header, icc, rowBytes);
        for (int pass = 0; pass < passes; ++pass) {
            for (png_uint_32 y = 0; y < header.height; ++y) {
                unsigned char* row = header.interlaced ? rows + rowBytes * y : rows;
                png_read_row(png, row, nullptr);
                if (!header.interlaced) {
                    reader.row(reader.context, row);
                }
            }
        }
        for (png_uint_32 y = 0; header.interlaced && y < header.height; ++y) {
            reader.row(reader.context, rows + rowBytes * y);
        }
    } catch (...) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Splits rows into the colour samples and the alpha, compressing each.
struct Frame {
    ImageFrame image;
    Header header;
    Deflater color;
    std::unique_ptr<Deflater> alpha;
    std::vector<unsigned char> buffer;
    std::vector<unsigned char> colorRow;
    std::vector<unsigned char> alphaRow;
    int colorSamples = 0;
    bool alphaChannel = false;
    bool paletteAlpha = false;

    unsigned char* begin(const Header& h, size_t rowBytes) {
        header = h;
        checkDimensions(h.width, h.height, 4);
        image.width = h.width;
        image.height = h.height;
        image.bitsPerComponent = h.depth;
        const bool gray = (h.colorType & PNG_COLOR_MASK_COLOR) == 0;
        colorSamples = gray ? 1 : 3;
        image.components = h.colorType == PNG_COLOR_TYPE_PALETTE ? 1 : colorSamples;
        image.colorSpace = gray ? "/DeviceGray" : "/DeviceRGB";
        image.filter = "/FlateDecode";
        if (h.colorType == PNG_COLOR_TYPE_PALETTE) {
            if (h.paletteSize == 0) {
                throw ImageError("a palette image without a palette");
            }
            for (int i = 0; i < h.paletteSize; ++i) {
                image.palette += static_cast<char>(h.palette[i].red);
                image.palette += static_cast<char>(h.palette[i].green);
                image.palette += static_cast<char>(h.palette[i].blue);
            }
            paletteAlpha = h.alphaCount > 0;
        }
        alphaChannel = (h.colorType & PNG_COLOR_MASK_ALPHA) != 0;
        if (h.hasTransparent) {
            const int max = (1 << h.depth) - 1;
            auto key = [&](int v) { return std::to_string(std::min(v, max)) + ' ' + std::to_string(std::min(v, max)); };
            image.colorKeyMask = gray ? "[" + key(h.transparent.gray) + "]"
                                      : "[" + key(h.transparent.red) + ' ' + key(h.transparent.green) + ' ' +
                                            key(h.transparent.blue) + "]";
        }
        if (alphaChannel || paletteAlpha) {
            alpha = std::make_unique<Deflater>();
            alphaRow.resize(size_t{h.width} * (alphaChannel && h.depth == 16 ? 2 : 1));
            colorRow.resize(size_t{h.width} * static_cast<size_t>(colorSamples) * (h.depth == 16 ? 2 : 1));
        }
        buffer.resize(h.interlaced ? rowBytes * h.height : rowBytes);
        return buffer.data();
    }

    void row(const unsigned char* row) {
        if (alphaChannel) {
            const size_t sample = header.depth == 16 ? 2 : 1;
            const size_t pixel = sample * static_cast<size_t>(colorSamples + 1);
            for (size_t x = 0; x < header.width; ++x) {
                std::memcpy(&colorRow[x * sample * static_cast<size_t>(colorSamples)], row + x * pixel,
                            sample * static_cast<size_t>(colorSamples));
                std::memcpy(&alphaRow[x * sample], row + x * pixel + sample * static_cast<size_t>(colorSamples),
                            sample);
            }
            color.write(colorRow.data(), colorRow.size());
            alpha->write(alphaRow.data(), alphaRow.size());
            return;
        }
        if (paletteAlpha) {
            const int depth = header.depth;
            const int perByte = 8 / depth;
            for (size_t x = 0; x < header.width; ++x) {
                const int shift = 8 - depth * (1 + static_cast<int>(x % static_cast<size_t>(perByte)));
                const int index = (row[x / static_cast<size_t>(perByte)] >> shift) & ((1 << depth) - 1);
                alphaRow[x] = index < header.alphaCount ? header.alphas[index] : 255;
            }
            alpha->write(alphaRow.data(), alphaRow.size());
        }
        color.write(
            row,
            (size_t{header.width} * static_cast<size_t>(header.depth) * static_cast<size_t>(image.components) + 7) / 8);
    }
};

}  // namespace

std::vector<ImageFrame> pngFrames(std::string_view bytes) {
    Input input{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0, "damaged"};
    Frame frame;
    Reader reader{&frame,
                  [](void* context, const Header& header, const std::string&, size_t rowBytes) -> unsigned char* {
                      return static_cast<Frame*>(context)->begin(header, rowBytes);
                  },
                  [](void* context, const unsigned char* row) { static_cast<Frame*>(context)->row(row); }};
    Header header;
    std::string icc;
    if (!readPng(input, header, icc, reader)) {
        throw ImageError(input.message);
    }
    ImageFrame image = std::move(frame.image);
    image.data = frame.color.finish();
    image.iccProfile = std::move(icc);
    if (frame.alpha) {
        auto mask = std::make_unique<ImageFrame>();
        mask->width = image.width;
        mask->height = image.height;
        mask->bitsPerComponent = frame.alphaChannel ? image.bitsPerComponent : 8;
        mask->components = 1;
        mask->colorSpace = "/DeviceGray";
        mask->filter = "/FlateDecode";
        mask->data = frame.alpha->finish();
        image.softMask = std::move(mask);
    }
    if (header.perMetreX > 0 && header.perMetreY > 0) {
        image.dpiX = header.perMetreX * 0.0254;
        image.dpiY = header.perMetreY * 0.0254;
    }
    std::vector<ImageFrame> frames;
    frames.push_back(std::move(image));
    return frames;
}

}  // namespace tomefuse::image_detail
