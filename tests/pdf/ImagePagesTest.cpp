// Image files made here with libjpeg, libpng and libtiff, turned into PDFs, and their images read
// back: the samples must be the source's, pixel for pixel, and a JPEG's bytes the file's.

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

// After <cstdio>: it uses FILE and size_t without including them.
#include <jpeglib.h>

#include <qpdf/QPDFPageDocumentHelper.hh>

#include "pdf/PdfTestSupport.h"
#include "platform/pdf/ImagePages.h"
#include "platform/pdf/PDFParseCache.h"
#include "support/Command.h"

namespace tomefuse::test {
namespace {

struct PngSpec {
    int width, height, colorType, depth;
    std::string samples;  // rows as PNG packs them (16-bit big-endian)
    std::string palette;  // RGB triples
    std::string alphas;   // tRNS of a palette image
};

std::string writePng(const PngSpec& spec) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), n);
        },
        nullptr);
    png_set_IHDR(png, info, spec.width, spec.height, spec.depth, spec.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colors;
    for (size_t i = 0; i + 2 < spec.palette.size(); i += 3) {
        colors.push_back({static_cast<png_byte>(spec.palette[i]), static_cast<png_byte>(spec.palette[i + 1]),
                          static_cast<png_byte>(spec.palette[i + 2])});
    }
    if (!colors.empty()) {
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
    }
    if (!spec.alphas.empty()) {
        png_set_tRNS(png, info, reinterpret_cast<png_const_bytep>(spec.alphas.data()),
                     static_cast<int>(spec.alphas.size()), nullptr);
    }
    png_set_pHYs(png, info, 5906, 5906, PNG_RESOLUTION_METER);  // 150 dpi
    png_write_info(png, info);
    const size_t row = spec.samples.size() / static_cast<size_t>(spec.height);
    for (int y = 0; y < spec.height; ++y) {
        png_write_row(png, reinterpret_cast<png_const_bytep>(spec.samples.data() + row * static_cast<size_t>(y)));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string jpeg(int width, int height, int components, int orientation) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    if (orientation != 1) {
        // A minimal EXIF block: a little-endian TIFF header and one IFD entry, Orientation.
        const unsigned char exif[] = {'E', 'x',  'i',  'f', 0,
                                      0,   'I',  'I',  42,  0,
                                      8,   0,    0,    0,   1,
                                      0,   0x12, 0x01, 3,   0,
                                      1,   0,    0,    0,   static_cast<unsigned char>(orientation),
                                      0,   0,    0,    0,   0,
                                      0,   0};
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif, sizeof exif);
    }
    std::vector<unsigned char> row(static_cast<size_t>(width * components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * components; ++x) {
            row[static_cast<size_t>(x)] = static_cast<unsigned char>(x < width * components / 2 ? 40 : 220);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return out;
}

// The n-th page's image, with the document kept alive beside it.
struct Image {
    std::shared_ptr<std::string> bytes;  // libqpdf reads from them as long as the document lives
    std::shared_ptr<QPDF> pdf;
    QPDFObjectHandle object;
    std::string decoded() { return toString(object.getStreamData(qpdf_dl_generalized)); }
    QPDFObjectHandle key(const char* name) { return object.getDict().getKey(name); }
    static std::string toString(const std::shared_ptr<Buffer>& b) {
        return std::string(reinterpret_cast<const char*>(b->getBuffer()), b->getSize());
    }
};

// The page's media box as "0 0 24 12", rounded to hundredths.
std::string boxText(QPDFObjectHandle box) {
    std::string out;
    for (int i = 0; i < box.getArrayNItems(); ++i) {
        char n[32];
        std::snprintf(n, sizeof n, "%s%g", i ? " " : "", std::round(box.getArrayItem(i).getNumericValue() * 100) / 100);
        out += n;
    }
    return out;
}

Image imageOfPage(const std::string& pdfBytes, size_t page, std::string* mediaBox = nullptr) {
    Image image;
    image.bytes = std::make_shared<std::string>(pdfBytes);
    image.pdf = std::make_shared<QPDF>();
    image.pdf->processMemoryFile("image", image.bytes->data(), image.bytes->size());
    QPDFObjectHandle p = QPDFPageDocumentHelper(*image.pdf).getAllPages().at(page).getObjectHandle();
    if (mediaBox) {
        *mediaBox = boxText(p.getKey("/MediaBox"));
    }
    image.object = p.getKey("/Resources").getKey("/XObject").getKey("/Im0");
    return image;
}

std::string convert(const std::string& bytes, ImagePageSize size = ImagePageSize::natural) {
    std::string error;
    std::optional<std::string> pdf = pdfFromImage(bytes, size, error);
    EXPECT_TRUE(pdf) << error;
    return pdf.value_or(std::string());
}

TEST(ImagePages, PngSamplesPaletteAndAlphaComeBackExactly) {
    // 4-bit palette with transparency, 16-bit RGB, 8-bit RGBA, 16-bit grey with alpha, 1-bit grey.
    struct Case {
        const char* name;
        PngSpec spec;
        std::string color;  // expected colour samples
        std::string alpha;  // expected soft mask samples; empty for none
    };
    const std::string rgb16 = std::string("\x00\x01\x02\x03\x04\x05\xff\xfe\xfd\xfc\xfb\xfa", 12) +
                              std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90\xa0\xb0\xc0", 12);
    const std::string rgba = std::string("\x01\x02\x03\x80\x04\x05\x06\xff\x07\x08\x09\x00", 12);
    const std::string graya16 = std::string("\x12\x34\xab\xcd\x56\x78\x00\x01", 8);
    const Case cases[] = {
        {"palette",
         {3, 1, PNG_COLOR_TYPE_PALETTE, 4, std::string("\x01\x20", 2),
          std::string("\xff\x00\x00\x00\xff\x00\x00\x00\xff", 9), std::string("\x00\x80", 2)},
         std::string("\x01\x20", 2),
         std::string("\x00\x80\xff", 3)},
        {"rgb16", {2, 2, PNG_COLOR_TYPE_RGB, 16, rgb16, "", ""}, rgb16, ""},
        {"rgba",
         {3, 1, PNG_COLOR_TYPE_RGBA, 8, rgba, "", ""},
         std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9),
         std::string("\x80\xff\x00", 3)},
        {"graya16",
         {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, graya16, "", ""},
         std::string("\x12\x34\x56\x78", 4),
         std::string("\xab\xcd\x00\x01", 4)},
        {"bilevel",
         {10, 1, PNG_COLOR_TYPE_GRAY, 1, std::string("\xa5\xc0", 2), "", ""},
         std::string("\xa5\xc0", 2),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string box;
        Image image = imageOfPage(convert(writePng(c.spec)), 0, &box);
        EXPECT_EQ(image.decoded(), c.color);
        EXPECT_EQ(image.key("/Width").getIntValue(), c.spec.width);
        EXPECT_EQ(image.key("/BitsPerComponent").getIntValue(), c.spec.depth);
        if (c.spec.colorType == PNG_COLOR_TYPE_PALETTE) {
            QPDFObjectHandle space = image.key("/ColorSpace");
            ASSERT_TRUE(space.isArray());
            EXPECT_EQ(space.getArrayItem(0).getName(), "/Indexed");
            EXPECT_EQ(space.getArrayItem(3).getStringValue(), c.spec.palette);
        }
        QPDFObjectHandle mask = image.key("/SMask");
        EXPECT_EQ(mask.isStream() ? Image::toString(mask.getStreamData(qpdf_dl_generalized)) : "", c.alpha);
        // 150 dpi: a 2-pixel-wide image is 0.96 pt wide.
        if (c.spec.width == 2) {
            EXPECT_EQ(box.substr(0, 8), "0 0 0.96") << box;
        }
    }
}

TEST(ImagePages, JpegBytesAreEmbeddedAsTheyAreAndTurnedAsTheirExifSays) {
    struct Case {
        int components;
        int orientation;
        const char* space;
        const char* box;  // 96 dpi: 32 x 16 pixels are 24 x 12 points
    };
    const Case cases[] = {{1, 1, "/DeviceGray", "0 0 24 12"},
                          {3, 1, "/DeviceRGB", "0 0 24 12"},
                          {4, 1, "/DeviceCMYK", "0 0 24 12"},
                          {3, 6, "/DeviceRGB", "0 0 12 24"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.components) + " components, orientation " + std::to_string(c.orientation));
        const std::string file = jpeg(32, 16, c.components, c.orientation);
        std::string box;
        Image image = imageOfPage(convert(file), 0, &box);
        EXPECT_EQ(Image::toString(image.object.getRawStreamData()), file);
        EXPECT_EQ(image.key("/Filter").getName(), "/DCTDecode");
        EXPECT_EQ(image.key("/ColorSpace").getName(), c.space);
        EXPECT_EQ(box, c.box);
        // Adobe's CMYK JPEGs are stored inverted.
        EXPECT_EQ(image.key("/Decode").isArray(), c.components == 4);
    }
    std::string box;
    imageOfPage(convert(jpeg(32, 16, 3, 1), ImagePageSize::a4), 0, &box);
    EXPECT_EQ(box, "0 0 841.89 595.28");  // landscape image, landscape sheet
}

TEST(ImagePages, TiffFramesAreEachAPageAndGroup4PassesThrough) {
    TempDir dir;
    const std::string path = dir.file("scan.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    // Frame 1: 8-bit RGB, LZW.
    const unsigned char rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 2);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    TIFFWriteEncodedStrip(tif, 0, const_cast<unsigned char*>(rgb), 6);
    TIFFWriteEncodedStrip(tif, 1, const_cast<unsigned char*>(rgb + 6), 6);
    TIFFWriteDirectory(tif);
    // Frame 2: a bilevel page in Group 4, 72 dpi, a black bar on white.
    const int width = 64;
    const int height = 8;
    std::string bits(static_cast<size_t>(width / 8 * height), '\0');
    for (int y = 2; y < 5; ++y) {
        bits[static_cast<size_t>(y * 8 + 2)] = '\xff';
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 72.0);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 72.0);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFWriteEncodedStrip(tif, 0, bits.data(), static_cast<tmsize_t>(bits.size()));
    TIFFWriteDirectory(tif);
    TIFFClose(tif);

    // Opened as any file is: found by its content, a page a frame.
    const PDFFileSummary summary = PDFDocument::summaryOfFile(path, "");
    EXPECT_EQ(summary.failure, PDFOpenFailure::none);
    EXPECT_EQ(summary.pageCount, 2u);
    writeTextFile(dir.file("cut.jpg"), jpeg(8, 8, 3, 1).substr(0, 30));
    EXPECT_EQ(PDFDocument::summaryOfFile(dir.file("cut.jpg"), "").failure, PDFOpenFailure::damaged);

    const std::string pdf = convert(readBytes(path));
    Image first = imageOfPage(pdf, 0);
    EXPECT_EQ(first.decoded(), std::string(reinterpret_cast<const char*>(rgb), sizeof rgb));
    std::string box;
    Image fax = imageOfPage(pdf, 1, &box);
    EXPECT_EQ(fax.key("/Filter").getName(), "/CCITTFaxDecode");
    EXPECT_EQ(box, "0 0 64 8");

    // Rendered at 72 dpi, a pixel a pixel: the bar is black where the TIFF's bits are set.
    const std::string pdfPath = dir.file("scan.pdf");
    writeTextFile(pdfPath, pdf);
    CommandResult render =
        runCommand({"mutool", "draw", "-q", "-r", "72", "-c", "gray", "-o", dir.file("page.pgm"), pdfPath, "2"});
    ASSERT_EQ(render.status, 0) << render.err;
    const std::string pgm = readBytes(dir.file("page.pgm"));
    const std::string pixels = pgm.substr(pgm.size() - static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool black =
                (static_cast<unsigned char>(bits[static_cast<size_t>(y * 8 + x / 8)]) >> (7 - x % 8)) & 1;
            EXPECT_EQ(static_cast<unsigned char>(pixels[static_cast<size_t>(y * width + x)]) < 128, black)
                << "pixel " << x << "," << y;
        }
    }
}

// A listing leaves an image's parse for the combine; a combine at another page size must make its
// own, and leave the listing's for an opening at that size. (A document dropped untouched hands
// its parse back, so the count is of the parses kept while the document is open.)
TEST(ImagePages, AParseKeptAtOnePageSizeIsOnlyTakenAtThatSize) {
    TempDir dir;
    const std::string path = dir.file("photo.jpg");
    std::ofstream(path, std::ios::binary) << jpeg(32, 16, 3, 1);
    const auto parses = std::make_shared<PDFParseCache>();
    ASSERT_EQ(PDFDocument::summaryOfFile(path, "", parses.get(), ImagePageSize::natural).pageCount, 1u);
    ASSERT_EQ(parses->count(), 1u);
    const struct {
        ImagePageSize size;
        double width;
        size_t keptAfter;
    } openings[] = {{ImagePageSize::a4, 841.89, 1},
                    {ImagePageSize::letter, 792, 2},
                    {ImagePageSize::natural, 24, 2},
                    {ImagePageSize::a4, 841.89, 2}};
    for (const auto& opening : openings) {
        PDFOpenFailure failure = PDFOpenFailure::none;
        auto document = PDFDocument::initWithURL(path, "", &failure, parses, opening.size);
        ASSERT_TRUE(document);
        EXPECT_NEAR(document->pageAtIndex(0).boundsForBox(PDFDisplayBox::mediaBox).width, opening.width, 0.01);
        EXPECT_EQ(parses->count(), opening.keptAfter) << "the listing's parse is taken only at its size";
    }
}

TEST(ImagePages, WhatIsNoImageOrDamagedIsRefusedWithAReason) {
    EXPECT_EQ(imageFormatOf("%PDF-1.7"), ImageFormat::none);
    EXPECT_EQ(imageFormatOf("\xFF\xD8\xFF\xE0"), ImageFormat::jpeg);
    const std::string png = writePng({1, 1, PNG_COLOR_TYPE_GRAY, 8, "\x7f", "", ""});
    const std::string jpg = jpeg(8, 8, 3, 1);
    for (const std::string& bytes :
         {png.substr(0, png.size() / 2), jpg.substr(0, 20), std::string("II*\0garbage", 11)}) {
        std::string error;
        EXPECT_FALSE(pdfFromImage(bytes, ImagePageSize::natural, error));
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace tomefuse::test
