// Image files as PDF documents: each frame an image XObject drawn on a page of its own.

#include "platform/pdf/ImagePages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include "platform/pdf/ImageFrame.h"

namespace tomefuse {

using image_detail::ImageError;
using image_detail::ImageFrame;

ImageFormat imageFormatOf(std::string_view head) {
    auto startsWith = [&](std::string_view magic) { return head.substr(0, magic.size()) == magic; };
    if (startsWith("\xFF\xD8\xFF")) {
        return ImageFormat::jpeg;
    }
    if (startsWith("\x89PNG\r\n\x1A\n")) {
        return ImageFormat::png;
    }
    if (startsWith(std::string_view("II*\0", 4)) || startsWith(std::string_view("MM\0*", 4))) {
        return ImageFormat::tiff;
    }
    return ImageFormat::none;
}

namespace image_detail {

void checkDimensions(uint64_t width, uint64_t height, uint64_t components) {
    if (width == 0 || height == 0) {
        throw ImageError("an image of no pixels");
    }
    if (width > (1u << 24) || height > (1u << 24) ||
        width * height * std::max<uint64_t>(components, 1) > maxSamplesPerFrame) {
        throw ImageError("an image too large to be a page (" + std::to_string(width) + " × " + std::to_string(height) +
                         " pixels)");
    }
}

Deflater::Deflater() {
    // Level 6 costs three times level 1 for a few percent; images are large, so speed wins.
    if (deflateInit(&stream_, 1) != Z_OK) {
        throw std::bad_alloc();
    }
}

Deflater::~Deflater() { deflateEnd(&stream_); }

void Deflater::write(const void* data, size_t size) {
    stream_.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    stream_.avail_in = static_cast<uInt>(size);
    run(Z_NO_FLUSH);
}

std::string Deflater::finish() {
    stream_.next_in = nullptr;
    stream_.avail_in = 0;
    run(Z_FINISH);
    return std::move(out_);
}

void Deflater::run(int flush) {
    unsigned char chunk[1 << 16];
    do {
        stream_.next_out = chunk;
        stream_.avail_out = sizeof chunk;
        const int result = deflate(&stream_, flush);
        if (result == Z_STREAM_ERROR) {
            throw std::runtime_error("deflate failed");
        }
        out_.append(reinterpret_cast<const char*>(chunk), sizeof chunk - stream_.avail_out);
    } while (stream_.avail_out == 0 || (flush == Z_FINISH && stream_.avail_in > 0));
}

namespace {

uint32_t readUnsigned(std::string_view bytes, size_t at, int size, bool bigEndian) {
    if (at + static_cast<size_t>(size) > bytes.size()) {
        throw ImageError("cut short");
    }
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + static_cast<size_t>(bigEndian ? i : size - 1 - i)]);
        value = (value << 8) | byte;
    }
    return value;
}

}  // namespace

int exifOrientation(std::string_view tiff) {
    try {
        if (tiff.size() < 8) {
            return 1;
        }
        const bool big = tiff[0] == 'M';
        const uint32_t ifd = readUnsigned(tiff, 4, 4, big);
        const uint32_t entries = readUnsigned(tiff, ifd, 2, big);
        for (uint32_t i = 0; i < entries && i < 1000; ++i) {
            const size_t entry = ifd + 2 + size_t{i} * 12;
            if (readUnsigned(tiff, entry, 2, big) == 0x0112) {  // Orientation, a SHORT
                const uint32_t value = readUnsigned(tiff, entry + 8, 2, big);
                return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
            }
        }
    } catch (const ImageError&) {
    }
    return 1;
}

}  // namespace image_detail

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string out = text;
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.') {
        out.pop_back();
    }
    return out == "-0" ? "0" : out;
}

QPDFObjectHandle imageObject(QPDF& pdf, ImageFrame& frame) {
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(frame.width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(frame.height));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(frame.bitsPerComponent));
    QPDFObjectHandle space = QPDFObjectHandle::parse(frame.colorSpace);
    if (!frame.iccProfile.empty()) {
        QPDFObjectHandle profile = QPDFObjectHandle::newStream(&pdf, frame.iccProfile);
        profile.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(frame.palette.empty() ? frame.components : 3));
        profile.getDict().replaceKey("/Alternate", space);
        space = QPDFObjectHandle::newArray({QPDFObjectHandle::newName("/ICCBased"), profile});
    }
    if (!frame.palette.empty()) {
        space = QPDFObjectHandle::newArray(
            {QPDFObjectHandle::newName("/Indexed"), space,
             QPDFObjectHandle::newInteger(static_cast<long long>(frame.palette.size() / 3) - 1),
             QPDFObjectHandle::newString(frame.palette)});
    }
    dict.replaceKey("/ColorSpace", space);
    if (!frame.decode.empty()) {
        dict.replaceKey("/Decode", QPDFObjectHandle::parse(frame.decode));
    }
    if (!frame.colorKeyMask.empty()) {
        dict.replaceKey("/Mask", QPDFObjectHandle::parse(frame.colorKeyMask));
    }
    if (frame.softMask) {
        dict.replaceKey("/SMask", imageObject(pdf, *frame.softMask));
    }
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
    stream.replaceDict(dict);
    stream.replaceStreamData(
        std::move(frame.data), QPDFObjectHandle::newName(frame.filter),
        frame.decodeParms.empty() ? QPDFObjectHandle::newNull() : QPDFObjectHandle::parse(frame.decodeParms));
    return stream;
}

// The content that draws the image into the box (x, y, w, h), turned as its orientation says:
// the matrix maps the image's unit square, first row at the top, onto the box.
std::string drawing(int orientation, double x, double y, double w, double h) {
    double m[6];
    switch (orientation) {
        case 2:
            m[0] = -w, m[1] = 0, m[2] = 0, m[3] = h, m[4] = x + w, m[5] = y;
            break;
        case 3:
            m[0] = -w, m[1] = 0, m[2] = 0, m[3] = -h, m[4] = x + w, m[5] = y + h;
            break;
        case 4:
            m[0] = w, m[1] = 0, m[2] = 0, m[3] = -h, m[4] = x, m[5] = y + h;
            break;
        case 5:
            m[0] = 0, m[1] = -h, m[2] = -w, m[3] = 0, m[4] = x + w, m[5] = y + h;
            break;
        case 6:
            m[0] = 0, m[1] = -h, m[2] = w, m[3] = 0, m[4] = x, m[5] = y + h;
            break;
        case 7:
            m[0] = 0, m[1] = h, m[2] = w, m[3] = 0, m[4] = x, m[5] = y;
            break;
        case 8:
            m[0] = 0, m[1] = h, m[2] = -w, m[3] = 0, m[4] = x + w, m[5] = y;
            break;
        default:
            m[0] = w, m[1] = 0, m[2] = 0, m[3] = h, m[4] = x, m[5] = y;
            break;
    }
    std::string out = "q";
    for (double value : m) {
        out += ' ' + number(value);
    }
    return out + " cm /Im0 Do Q\n";
}

void addPage(QPDF& pdf, ImageFrame& frame, ImagePageSize size) {
    const bool turned = frame.orientation >= 5;
    const double dpiX = frame.dpiX > 0 ? frame.dpiX : 96;
    const double dpiY = frame.dpiY > 0 ? frame.dpiY : 96;
    // The image's size as shown, in points.
    double w = frame.width * 72.0 / dpiX;
    double h = frame.height * 72.0 / dpiY;
    if (turned) {
        std::swap(w, h);
    }
    double pageW = w;
    double pageH = h;
    double x = 0;
    double y = 0;
    if (size != ImagePageSize::natural) {
        pageW = size == ImagePageSize::a4 ? 595.276 : 612;
        pageH = size == ImagePageSize::a4 ? 841.89 : 792;
        if (w > h) {
            std::swap(pageW, pageH);
        }
        const double scale = std::min(pageW / w, pageH / h);
        w *= scale;
        h *= scale;
        x = (pageW - w) / 2;
        y = (pageH - h) / 2;
    }
    const int orientation = frame.orientation;
    QPDFObjectHandle image = imageObject(pdf, frame);
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
    xobjects.replaceKey("/Im0", image);
    resources.replaceKey("/XObject", xobjects);
    QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    page.replaceKey("/MediaBox",
                    QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
                        QPDFObjectHandle::newInteger(0), QPDFObjectHandle::newInteger(0),
                        QPDFObjectHandle::newReal(number(pageW)), QPDFObjectHandle::newReal(number(pageH))}));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, drawing(orientation, x, y, w, h)));
    QPDFPageDocumentHelper(pdf).addPage(pdf.makeIndirectObject(page), false);
}

}  // namespace

std::optional<std::string> pdfFromImage(std::string_view bytes, ImagePageSize size, std::string& error) {
    try {
        std::vector<ImageFrame> frames;
        switch (imageFormatOf(bytes)) {
            case ImageFormat::jpeg:
                frames = image_detail::jpegFrames(bytes);
                break;
            case ImageFormat::png:
                frames = image_detail::pngFrames(bytes);
                break;
            case ImageFormat::tiff:
                frames = image_detail::tiffFrames(bytes);
                break;
            case ImageFormat::none:
                error = "not an image";
                return std::nullopt;
        }
        if (frames.empty()) {
            error = "an image file without images";
            return std::nullopt;
        }
        QPDF pdf;
        pdf.emptyPDF();
        for (ImageFrame& frame : frames) {
            addPage(pdf, frame, size);
        }
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        // The frames' data is encoded already and stays as it is.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setCompressStreams(false);
        writer.setDeterministicID(true);
        writer.setMinimumPDFVersion(frames.front().bitsPerComponent == 16 ? "1.5" : "1.4");
        writer.write();
        std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return std::string(reinterpret_cast<const char*>(out->getBuffer()), out->getSize());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const ImageError& problem) {
        error = std::string("damaged image: ") + problem.what();
    } catch (const std::exception& problem) {
        error = std::string("damaged image: ") + problem.what();
    }
    return std::nullopt;
}

}  // namespace tomefuse
