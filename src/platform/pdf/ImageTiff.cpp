// A TIFF becomes one page per frame. Group 4 fax data is passed through as it is; other frames
// are decoded strip by strip and their samples kept as they are (bilevel, grey, palette, RGB,
// CMYK, 16-bit, alpha as a soft mask). What this does not read sample by sample (tiles, separate
// planes, subsampled YCbCr, other colour models) libtiff turns into 8-bit RGBA.

#include <tiffio.h>

#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/pdf/ImageFrame.h"

namespace tomefuse::image_detail {

namespace {

struct Memory {
    std::string_view bytes;
    toff_t at = 0;
    std::string error;
};

tsize_t readMemory(thandle_t handle, tdata_t out, tsize_t size) {
    auto* memory = static_cast<Memory*>(handle);
    if (memory->at >= memory->bytes.size()) {
        return 0;
    }
    const size_t n = std::min<size_t>(static_cast<size_t>(size), memory->bytes.size() - memory->at);
    std::memcpy(out, memory->bytes.data() + memory->at, n);
    memory->at += n;
    return static_cast<tsize_t>(n);
}

tsize_t writeNothing(thandle_t, tdata_t, tsize_t) { return 0; }

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* memory = static_cast<Memory*>(handle);
    const toff_t base = whence == SEEK_CUR ? memory->at : whence == SEEK_END ? memory->bytes.size() : 0;
    memory->at = base + offset;
    return memory->at;
}

int closeNothing(thandle_t) { return 0; }
toff_t sizeOfMemory(thandle_t handle) { return static_cast<Memory*>(handle)->bytes.size(); }
int mapNothing(thandle_t, tdata_t*, toff_t*) { return 0; }
void unmapNothing(thandle_t, tdata_t, toff_t) {}

int onError(TIFF*, void* handle, const char*, const char* format, va_list args) {
    auto* memory = static_cast<Memory*>(handle);
    if (memory->error.empty()) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, args);
        memory->error = text;
    }
    return 1;
}

int onWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct Tiff {
    TIFF* handle = nullptr;
    ~Tiff() {
        if (handle) {
            TIFFClose(handle);
        }
    }
};

template <typename T>
T field(TIFF* tif, ttag_t tag, T fallback) {
    T value = fallback;
    return TIFFGetFieldDefaulted(tif, tag, &value) == 1 ? value : fallback;
}

std::unique_ptr<ImageFrame> grayMask(const ImageFrame& of, int bits, std::string data) {
    auto mask = std::make_unique<ImageFrame>();
    mask->width = of.width;
    mask->height = of.height;
    mask->bitsPerComponent = bits;
    mask->components = 1;
    mask->colorSpace = "/DeviceGray";
    mask->filter = "/FlateDecode";
    mask->data = std::move(data);
    return mask;
}

// Any frame, as 8-bit RGB and, where the frame has any, alpha.
ImageFrame rgbaFrame(TIFF* tif, ImageFrame frame, bool hasAlpha) {
    std::vector<uint32_t> raster(size_t{frame.width} * frame.height);
    if (!TIFFReadRGBAImageOriented(tif, frame.width, frame.height, raster.data(), ORIENTATION_TOPLEFT, 0)) {
        throw ImageError("a TIFF frame that cannot be decoded");
    }
    Deflater color;
    Deflater alpha;
    std::vector<unsigned char> rgb(size_t{frame.width} * 3);
    std::vector<unsigned char> a(frame.width);
    for (uint32_t y = 0; y < frame.height; ++y) {
        for (uint32_t x = 0; x < frame.width; ++x) {
            const uint32_t pixel = raster[size_t{y} * frame.width + x];
            rgb[x * 3] = static_cast<unsigned char>(TIFFGetR(pixel));
            rgb[x * 3 + 1] = static_cast<unsigned char>(TIFFGetG(pixel));
            rgb[x * 3 + 2] = static_cast<unsigned char>(TIFFGetB(pixel));
            a[x] = static_cast<unsigned char>(TIFFGetA(pixel));
        }
        color.write(rgb.data(), rgb.size());
        if (hasAlpha) {
            alpha.write(a.data(), a.size());
        }
    }
    frame.bitsPerComponent = 8;
    frame.components = 3;
    frame.colorSpace = "/DeviceRGB";
    frame.palette.clear();
    frame.decode.clear();
    frame.orientation = 1;  // the raster is upright already
    frame.filter = "/FlateDecode";
    frame.data = color.finish();
    if (hasAlpha) {
        frame.softMask = grayMask(frame, 8, alpha.finish());
    }
    return frame;
}

ImageFrame readFrame(TIFF* tif) {
    ImageFrame frame;
    frame.width = field<uint32_t>(tif, TIFFTAG_IMAGEWIDTH, 0);
    frame.height = field<uint32_t>(tif, TIFFTAG_IMAGELENGTH, 0);
    const int bits = field<uint16_t>(tif, TIFFTAG_BITSPERSAMPLE, 1);
    const int samples = field<uint16_t>(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    checkDimensions(frame.width, frame.height, static_cast<uint64_t>(samples));
    const int photometric = field<uint16_t>(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    const int compression = field<uint16_t>(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    const int planar = field<uint16_t>(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    frame.orientation = field<uint16_t>(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (frame.orientation < 1 || frame.orientation > 8) {
        frame.orientation = 1;
    }
    const float xres = field<float>(tif, TIFFTAG_XRESOLUTION, 0);
    const float yres = field<float>(tif, TIFFTAG_YRESOLUTION, 0);
    const int unit = field<uint16_t>(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (xres > 0 && yres > 0 && unit != RESUNIT_NONE) {
        frame.dpiX = unit == RESUNIT_CENTIMETER ? xres * 2.54 : xres;
        frame.dpiY = unit == RESUNIT_CENTIMETER ? yres * 2.54 : yres;
    }
    uint16_t extraCount = 0;
    uint16_t* extraKinds = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds);
    const bool alpha = extraCount > 0 && extraKinds &&
                       (extraKinds[0] == EXTRASAMPLE_ASSOCALPHA || extraKinds[0] == EXTRASAMPLE_UNASSALPHA);
    const bool premultiplied = alpha && extraKinds[0] == EXTRASAMPLE_ASSOCALPHA;

    if (compression == COMPRESSION_CCITTFAX4 && samples == 1 && bits == 1 && !TIFFIsTiled(tif) &&
        TIFFNumberOfStrips(tif) == 1 &&
        field<uint16_t>(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB) == FILLORDER_MSB2LSB) {
        const tmsize_t size = TIFFRawStripSize(tif, 0);
        if (size > 0) {
            frame.data.resize(static_cast<size_t>(size));
            if (TIFFReadRawStrip(tif, 0, frame.data.data(), size) == size) {
                frame.bitsPerComponent = 1;
                frame.components = 1;
                frame.colorSpace = "/DeviceGray";
                frame.filter = "/CCITTFaxDecode";
                frame.decodeParms = "<< /K -1 /Columns " + std::to_string(frame.width) + " /Rows " +
                                    std::to_string(frame.height) +
                                    (photometric == PHOTOMETRIC_MINISBLACK ? " /BlackIs1 true >>" : " >>");
                return frame;
            }
        }
        frame.data.clear();
    }

    int colors = 0;
    switch (photometric) {
        case PHOTOMETRIC_MINISWHITE:
            frame.decode = "[1 0]";
            [[fallthrough]];
        case PHOTOMETRIC_MINISBLACK:
            colors = 1, frame.colorSpace = "/DeviceGray";
            break;
        case PHOTOMETRIC_RGB:
            colors = 3, frame.colorSpace = "/DeviceRGB";
            break;
        case PHOTOMETRIC_SEPARATED:
            colors = field<uint16_t>(tif, TIFFTAG_INKSET, INKSET_CMYK) == INKSET_CMYK ? 4 : 0;
            frame.colorSpace = "/DeviceCMYK";
            break;
        case PHOTOMETRIC_PALETTE: {
            uint16_t* red = nullptr;
            uint16_t* green = nullptr;
            uint16_t* blue = nullptr;
            if (bits <= 8 && TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue)) {
                colors = 1;
                for (int i = 0; i < (1 << bits); ++i) {
                    frame.palette += static_cast<char>(red[i] >> 8);
                    frame.palette += static_cast<char>(green[i] >> 8);
                    frame.palette += static_cast<char>(blue[i] >> 8);
                }
                frame.colorSpace = "/DeviceRGB";
            }
            break;
        }
        case PHOTOMETRIC_YCBCR:
            if (compression == COMPRESSION_JPEG && TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB)) {
                colors = 3, frame.colorSpace = "/DeviceRGB";
            }
            break;
        default:
            break;
    }
    const bool sampled = colors > 0 && samples >= colors + (alpha ? 1 : 0) && planar == PLANARCONFIG_CONTIG &&
                         !TIFFIsTiled(tif) && (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16) &&
                         (!alpha || bits >= 8) && (!premultiplied || bits == 8) &&
                         (photometric != PHOTOMETRIC_YCBCR || compression == COMPRESSION_JPEG);
    if (!sampled) {
        return rgbaFrame(tif, std::move(frame), alpha);
    }
    frame.bitsPerComponent = bits;
    frame.components = colors;
    frame.filter = "/FlateDecode";

    const size_t rowBytes = (size_t{frame.width} * static_cast<size_t>(samples) * static_cast<size_t>(bits) + 7) / 8;
    const uint32_t rowsPerStrip = std::min(field<uint32_t>(tif, TIFFTAG_ROWSPERSTRIP, frame.height), frame.height);
    std::vector<unsigned char> strip(static_cast<size_t>(std::max<tmsize_t>(TIFFStripSize(tif), 0)));
    if (strip.size() < rowBytes) {
        throw ImageError("a TIFF frame whose strips are too small for its rows");
    }
    const size_t sample = bits == 16 ? 2 : 1;
    const bool split = alpha || samples > colors;
    std::vector<unsigned char> colorRow(split ? size_t{frame.width} * static_cast<size_t>(colors) * sample : 0);
    std::vector<unsigned char> alphaRow(alpha ? size_t{frame.width} * sample : 0);
    Deflater color;
    Deflater mask;
    uint32_t row = 0;
    for (tstrip_t s = 0; row < frame.height; ++s) {
        const tmsize_t got = TIFFReadEncodedStrip(tif, s, strip.data(), static_cast<tmsize_t>(strip.size()));
        const uint32_t rows = std::min(rowsPerStrip, frame.height - row);
        if (got < static_cast<tmsize_t>(rowBytes * rows)) {
            throw ImageError("a TIFF frame cut short");
        }
        for (uint32_t r = 0; r < rows; ++r, ++row) {
            unsigned char* line = strip.data() + rowBytes * r;
            // Decoded samples come in this machine's order; PDF wants the most significant first.
            if (bits == 16 && std::endian::native == std::endian::little) {
                for (size_t i = 0; i + 1 < rowBytes; i += 2) {
                    const uint16_t v = static_cast<uint16_t>(line[i] | (line[i + 1] << 8));
                    line[i] = static_cast<unsigned char>(v >> 8);
                    line[i + 1] = static_cast<unsigned char>(v & 0xff);
                }
            }
            if (!split) {
                color.write(line, rowBytes);
                continue;
            }
            const size_t pixel = sample * static_cast<size_t>(samples);
            for (size_t x = 0; x < frame.width; ++x) {
                const unsigned char* in = line + x * pixel;
                unsigned char* out = &colorRow[x * sample * static_cast<size_t>(colors)];
                std::memcpy(out, in, sample * static_cast<size_t>(colors));
                if (alpha) {
                    std::memcpy(&alphaRow[x * sample], in + sample * static_cast<size_t>(colors), sample);
                    if (premultiplied && in[colors] > 0) {
                        for (int c = 0; c < colors; ++c) {
                            out[c] = static_cast<unsigned char>(std::min(255, out[c] * 255 / in[colors]));
                        }
                    }
                }
            }
            color.write(colorRow.data(), colorRow.size());
            if (alpha) {
                mask.write(alphaRow.data(), alphaRow.size());
            }
        }
    }
    frame.data = color.finish();
    if (alpha) {
        frame.softMask = grayMask(frame, bits, mask.finish());
    }
    return frame;
}

}  // namespace

std::vector<ImageFrame> tiffFrames(std::string_view bytes) {
    Memory memory{bytes, 0, {}};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, &memory);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, &memory);
    Tiff tiff;
    tiff.handle = TIFFClientOpenExt("image", "rm", &memory, readMemory, writeNothing, seekMemory, closeNothing,
                                    sizeOfMemory, mapNothing, unmapNothing, options);
    TIFFOpenOptionsFree(options);
    if (!tiff.handle) {
        throw ImageError(memory.error.empty() ? "not a TIFF it can read" : memory.error);
    }
    std::vector<ImageFrame> frames;
    // A bound on frames, against directory chains that loop or never end.
    for (int i = 0; i < 10000; ++i) {
        frames.push_back(readFrame(tiff.handle));
        if (!TIFFReadDirectory(tiff.handle)) {
            break;
        }
    }
    return frames;
}

}  // namespace tomefuse::image_detail
