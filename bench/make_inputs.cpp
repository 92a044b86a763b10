// Writes the benchmark inputs, deterministically: tomefuse-bench-inputs SHAPE DIR
//   A    20 files of 50 pages, each with a 3-level outline of 30 items
//   B    200 files of 10 pages
//   C    2,000 files of 2 pages
//   add  1,000 files of 10 pages, each with a 20-item outline
//   contents 400 files of 10 pages, each with a 20-item outline: a contents page of 400 lines, or
//        8,400 with every bookmark
//   scan 8 files of 5 pages, each page one 8 MiB image of noise: 40 MiB a file, as scans are,
//        in data that does not compress
//   raw  the same as scan, the images stored unfiltered, as some scanners write them
//   invoices 200 one-page files from one billing system: each embeds the same ~700 KB font
//        and the same logo
//   photos 200 JPEG files of 4,000 x 3,000 pixels, about 3 MB each, as a camera makes them
//   manual one file of 2,415 pages, as a reference manual is: 1,360 bookmarks three levels deep,
//        pages labelled i, ii, ... then 1, 2, ...
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <string>
#include <vector>

// After <cstdio>: it uses FILE and size_t without including them.
#include <jpeglib.h>

#include "support/Fixtures.h"
#include "support/PdfBuilder.h"

using tomefuse::test::headingItem;
using tomefuse::test::OutlineSpec;
using tomefuse::test::PdfBuilder;

namespace {

// top items, each with `sections` children, each with `subsections` children, spread over pages.
std::vector<OutlineSpec> outline(int pages, int top, int sections, int subsections) {
    std::vector<OutlineSpec> items;
    const int total = top * (1 + sections * (1 + subsections));
    int n = 0;
    auto nextPage = [&] { return (n++ * pages) / total; };
    for (int t = 0; t < top; ++t) {
        OutlineSpec chapter = headingItem("Chapter " + std::to_string(t + 1), nextPage());
        for (int s = 0; s < sections; ++s) {
            OutlineSpec section =
                headingItem("Section " + std::to_string(t + 1) + "." + std::to_string(s + 1), nextPage());
            for (int u = 0; u < subsections; ++u) {
                section.children.push_back(headingItem("Part " + std::to_string(u + 1), nextPage()));
            }
            chapter.children.push_back(std::move(section));
        }
        items.push_back(std::move(chapter));
    }
    return items;
}

void writeFiles(const std::filesystem::path& dir, int files, int pages, const std::vector<OutlineSpec>& items) {
    std::filesystem::create_directories(dir);
    for (int f = 0; f < files; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "in-%04d.pdf", f);
        PdfBuilder builder;
        builder.addPages(pages).setOutline(items);
        builder.write((dir / name).string());
    }
}

// An RGB image of pseudo-random bytes as a valid /FlateDecode stream made of stored (uncompressed)
// deflate blocks: the size of the raw image, which no tool can shrink, and decodable, so the files
// pass qpdf --check. Generated as it is written, a 64 KiB block at a time.
class NoiseImage : public QPDFObjectHandle::StreamDataProvider {
  public:
    static constexpr int width = 1600;
    static constexpr int height = 1748;
    static constexpr std::size_t bytes = std::size_t{width} * height * 3;  // 8.0 MiB

    NoiseImage(std::uint64_t seed, bool wrapped) : seed_(seed), wrapped_(wrapped) {}

    void provideStreamData(QPDFObjGen const&, Pipeline* out) override {
        constexpr std::size_t blockSize = 65535;  // the most a stored block holds
        std::uint64_t state = seed_;
        if (!wrapped_) {
            std::vector<unsigned char> block(blockSize + 1);
            for (std::size_t left = bytes; left > 0;) {
                const std::size_t n = std::min(left, blockSize + 1);
                left -= n;
                for (std::size_t i = 0; i < n; i += 8) {
                    const std::uint64_t r = next(state);
                    for (std::size_t k = 0; k < 8 && i + k < n; ++k) {
                        block[i + k] = static_cast<unsigned char>(r >> (8 * k));
                    }
                }
                out->write(block.data(), n);
            }
            out->finish();
            return;
        }
        std::uint32_t a = 1;
        std::uint32_t b = 0;
        std::vector<unsigned char> block(5 + blockSize);
        const unsigned char header[] = {0x78, 0x01};
        out->write(header, sizeof header);
        for (std::size_t left = bytes; left > 0;) {
            const std::size_t n = std::min(left, blockSize);
            left -= n;
            block[0] = left == 0 ? 1 : 0;  // BFINAL, BTYPE 00
            block[1] = static_cast<unsigned char>(n & 0xff);
            block[2] = static_cast<unsigned char>(n >> 8);
            block[3] = static_cast<unsigned char>(~n & 0xff);
            block[4] = static_cast<unsigned char>((~n >> 8) & 0xff);
            unsigned char* data = block.data() + 5;
            for (std::size_t i = 0; i < n; i += 8) {
                const std::uint64_t r = next(state);
                for (std::size_t k = 0; k < 8 && i + k < n; ++k) {
                    data[i + k] = static_cast<unsigned char>(r >> (8 * k));
                }
            }
            // Adler-32, reduced every 5,552 bytes, the most that cannot overflow 32 bits.
            for (std::size_t i = 0; i < n;) {
                const std::size_t end = std::min(n, i + 5552);
                for (; i < end; ++i) {
                    a += data[i];
                    b += a;
                }
                a %= 65521;
                b %= 65521;
            }
            out->write(block.data(), 5 + n);
        }
        const std::uint32_t adler = (b << 16) | a;
        const unsigned char trailer[] = {static_cast<unsigned char>(adler >> 24),
                                         static_cast<unsigned char>(adler >> 16),
                                         static_cast<unsigned char>(adler >> 8), static_cast<unsigned char>(adler)};
        out->write(trailer, sizeof trailer);
        out->finish();
    }

  private:
    // splitmix64: fast, and the same bytes for the same seed everywhere.
    static std::uint64_t next(std::uint64_t& state) {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    std::uint64_t seed_;
    bool wrapped_;
};

void writeScans(const std::filesystem::path& dir, int files, int pages, bool wrapped) {
    std::filesystem::create_directories(dir);
    for (int f = 0; f < files; ++f) {
        QPDF pdf;
        pdf.emptyPDF();
        QPDFPageDocumentHelper helper(pdf);
        for (int p = 0; p < pages; ++p) {
            auto image = std::make_shared<NoiseImage>(
                static_cast<std::uint64_t>(f) * 1000 + static_cast<std::uint64_t>(p), wrapped);
            auto stream = QPDFObjectHandle::newStream(&pdf);
            stream.replaceStreamData(image,
                                     wrapped ? QPDFObjectHandle::newName("/FlateDecode") : QPDFObjectHandle::newNull(),
                                     QPDFObjectHandle::newNull());
            auto dict = stream.getDict();
            dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
            dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
            dict.replaceKey("/Width", QPDFObjectHandle::newInteger(NoiseImage::width));
            dict.replaceKey("/Height", QPDFObjectHandle::newInteger(NoiseImage::height));
            dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceRGB"));
            dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));

            // A4, the image filling it.
            auto page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 595 842] >>");
            page.replaceKey("/Resources", QPDFObjectHandle::newDictionary(
                                              {{"/XObject", QPDFObjectHandle::newDictionary({{"/Im0", stream}})}}));
            page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, "q 595 0 0 842 0 0 cm /Im0 Do Q\n"));
            helper.addPage(pdf.makeIndirectObject(page), false);
        }
        char name[32];
        std::snprintf(name, sizeof name, "scan-%02d.pdf", f);
        QPDFWriter writer(pdf, (dir / name).string().c_str());
        // Written as they come: no decoding, no recompression of the images.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setCompressStreams(false);
        writer.setDeterministicID(true);
        writer.write();
    }
}

// One page of a bill: the billing system's font, embedded whole and compressed as such systems
// write it, its logo, and a few lines of text that differ from bill to bill.
void writeInvoices(const std::filesystem::path& dir, int files) {
    std::filesystem::create_directories(dir);
    const char* fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";  // fonts-dejavu-core
    std::string font;
    if (FILE* in = std::fopen(fontPath, "rb")) {
        char buffer[1 << 16];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
            font.append(buffer, n);
        }
        std::fclose(in);
    }
    if (font.empty()) {
        std::cerr << "tomefuse-bench-inputs: cannot read " << fontPath << "\n";
        std::exit(1);
    }
    std::string logo;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 240; ++x) {
            logo += static_cast<char>(40 + (x * 3) % 200);
            logo += static_cast<char>(90 + (y * 2) % 120);
            logo += static_cast<char>(((x / 20 + y / 20) % 2) ? 200 : 60);
        }
    }
    for (int f = 0; f < files; ++f) {
        QPDF pdf;
        pdf.emptyPDF();
        auto fontFile = QPDFObjectHandle::newStream(&pdf, font);
        fontFile.getDict().replaceKey("/Length1", QPDFObjectHandle::newInteger(static_cast<long long>(font.size())));
        auto descriptor = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /FontDescriptor /FontName /DejaVuSans-Bold /Flags 32 /FontBBox [-1069 -415 1975 1174]"
            " /ItalicAngle 0 /Ascent 928 /Descent -236 /CapHeight 729 /StemV 120 >>"));
        descriptor.replaceKey("/FontFile2", fontFile);
        auto fontDict = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Font /Subtype /TrueType /BaseFont /DejaVuSans-Bold /Encoding /WinAnsiEncoding >>"));
        fontDict.replaceKey("/FontDescriptor", descriptor);
        auto image = QPDFObjectHandle::newStream(&pdf, logo);
        image.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
        image.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
        image.getDict().replaceKey("/Width", QPDFObjectHandle::newInteger(240));
        image.getDict().replaceKey("/Height", QPDFObjectHandle::newInteger(80));
        image.getDict().replaceKey("/ColorSpace", QPDFObjectHandle::newName("/DeviceRGB"));
        image.getDict().replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
        const std::string content =
            "q 240 0 0 80 50 720 cm /Logo Do Q BT /F1 14 Tf 50 680 Td (Invoice " + std::to_string(10000 + f) +
            ") Tj 0 -24 Td (Amount due: " + std::to_string(100 + (f * 37) % 900) + ".00 EUR) Tj ET\n";
        auto page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 595 842] >>");
        page.replaceKey("/Resources", QPDFObjectHandle::newDictionary(
                                          {{"/Font", QPDFObjectHandle::newDictionary({{"/F1", fontDict}})},
                                           {"/XObject", QPDFObjectHandle::newDictionary({{"/Logo", image}})}}));
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, content));
        QPDFPageDocumentHelper(pdf).addPage(pdf.makeIndirectObject(page), false);
        char name[32];
        std::snprintf(name, sizeof name, "invoice-%03d.pdf", f);
        QPDFWriter writer(pdf, (dir / name).string().c_str());
        writer.setDeterministicID(true);
        writer.write();
    }
}

// Smooth colour with a little grain, different in every file: what a camera's JPEGs compress like.
void writePhotos(const std::filesystem::path& dir, int files) {
    std::filesystem::create_directories(dir);
    constexpr int width = 4000;
    constexpr int height = 3000;
    std::vector<unsigned char> row(width * 3);
    for (int f = 0; f < files; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "photo-%03d.jpg", f);
        FILE* out = std::fopen((dir / name).string().c_str(), "wb");
        if (!out) {
            std::perror(name);
            std::exit(1);
        }
        jpeg_compress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        jpeg_stdio_dest(&info, out);
        info.image_width = width;
        info.image_height = height;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        jpeg_start_compress(&info, TRUE);
        std::uint64_t state = static_cast<std::uint64_t>(f) + 1;
        // The wave is a product of one curve across and one down, worked out once a file.
        std::vector<double> across(width * 3);
        std::vector<double> down(height * 3);
        for (int c = 0; c < 3; ++c) {
            for (int x = 0; x < width; ++x) {
                across[static_cast<size_t>(x * 3 + c)] = 100 * std::sin((x + 37.0 * f) / (300.0 + 90 * c));
            }
            for (int y = 0; y < height; ++y) {
                down[static_cast<size_t>(y * 3 + c)] = std::cos(y / (250.0 + 40 * c));
            }
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                state = state * 6364136223846793005ULL + 1442695040888963407ULL;
                const int grain = static_cast<int>((state >> 59) & 15) - 8;
                for (int c = 0; c < 3; ++c) {
                    const double wave = across[static_cast<size_t>(x * 3 + c)] * down[static_cast<size_t>(y * 3 + c)];
                    row[static_cast<size_t>(x * 3 + c)] =
                        static_cast<unsigned char>(std::clamp(128 + static_cast<int>(wave) + grain, 0, 255));
                }
            }
            JSAMPROW rows[] = {row.data()};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::fclose(out);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tomefuse-bench-inputs A|B|C|add|contents|scan|raw|invoices|photos|manual DIR\n";
        return 2;
    }
    const std::string shape = argv[1];
    const std::filesystem::path dir = argv[2];
    if (shape == "A") {
        writeFiles(dir, 20, 50, outline(50, 3, 3, 2));
    } else if (shape == "B") {
        writeFiles(dir, 200, 10, {});
    } else if (shape == "C") {
        writeFiles(dir, 2000, 2, {});
    } else if (shape == "add") {
        writeFiles(dir, 1000, 10, outline(10, 4, 4, 0));
    } else if (shape == "contents") {
        writeFiles(dir, 400, 10, outline(10, 4, 4, 0));
    } else if (shape == "scan") {
        writeScans(dir, 8, 5, true);
    } else if (shape == "raw") {
        writeScans(dir, 8, 5, false);
    } else if (shape == "invoices") {
        writeInvoices(dir, 200);
    } else if (shape == "photos") {
        writePhotos(dir, 200);
    } else if (shape == "manual") {
        std::filesystem::create_directories(dir);
        PdfBuilder manual;
        manual.addPages(2415).setOutline(outline(2415, 40, 11, 2)).addPageLabel(0, "<< /S /r >>");
        manual.addPageLabel(24, "<< /S /D >>").write((dir / "manual.pdf").string());
    } else {
        std::cerr << "tomefuse-bench-inputs: unknown shape " << shape << "\n";
        return 2;
    }
    return 0;
}
