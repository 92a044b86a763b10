#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {
namespace {

// A one-page file from the text of its objects: 1 the catalog, 2 the page tree, 3 the page, then
// the extras as given. `pad` objects come first, so that the same objects get other numbers.
std::string onePageFile(const std::string& pageEntries, const std::vector<std::string>& extras, int pad = 0) {
    std::vector<std::string> objects = {"<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[3 0 R]/Count 1>>",
                                        "<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]" + pageEntries + ">>"};
    objects.insert(objects.end(), extras.begin(), extras.end());
    const std::regex reference("(\\d+) 0 R");
    std::string out = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (int i = 0; i < pad; ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n(filler)\nendobj\n";
    }
    for (size_t i = 0; i < objects.size(); ++i) {
        if (pad == 0) {
            offsets.push_back(out.size());
            out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
            continue;
        }
        std::string text;
        std::sregex_iterator at(objects[i].begin(), objects[i].end(), reference), end;
        size_t last = 0;
        for (; at != end; ++at) {
            text += objects[i].substr(last, static_cast<size_t>(at->position()) - last);
            text += std::to_string(std::stoi((*at)[1]) + pad) + " 0 R";
            last = static_cast<size_t>(at->position() + at->length());
        }
        text += objects[i].substr(last);
        offsets.push_back(out.size());
        out += std::to_string(pad + static_cast<int>(i) + 1) + " 0 obj\n" + text + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<</Size " + std::to_string(offsets.size() + 1) + "/Root " + std::to_string(pad + 1) +
           " 0 R>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

std::string streamObject(const std::string& dict, const std::string& bytes) {
    return "<<" + dict + "/Length " + std::to_string(bytes.size()) + ">>stream\n" + bytes + "\nendstream";
}

std::string noise(size_t size, uint64_t seed) {
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        out += static_cast<char>(seed >> 56);
    }
    return out;
}

const std::string fontBytes = noise(3000, 7);
const std::string imageBytes = noise(12 * 12 * 3, 9);

// A page drawing with font F1 (object 5, its descriptor 6 and file 7) and image Im1 (object 8).
std::string fontAndImagePage(int pad, const std::string& imageDict = "/Width 12/Height 12") {
    return onePageFile(
        "/Resources<</Font<</F1 5 0 R>>/XObject<</Im1 8 0 R>>>>/Contents 4 0 R",
        {streamObject("", "BT /F1 12 Tf 10 10 Td (Hi) Tj ET q 12 0 0 12 50 50 cm /Im1 Do Q"),
         "<</Type/Font/Subtype/TrueType/BaseFont/Bench/FirstChar 32/LastChar 33/Widths[600 600]"
         "/FontDescriptor 6 0 R>>",
         "<</Type/FontDescriptor/FontName/Bench/Flags 32/FontFile2 7 0 R>>",
         streamObject("/Length1 " + std::to_string(fontBytes.size()), fontBytes),
         streamObject("/Type/XObject/Subtype/Image" + imageDict + "/ColorSpace/DeviceRGB/BitsPerComponent 8",
                      imageBytes)},
        pad);
}

QPDFObjGen resource(QPDF& pdf, size_t page, const char* category, const char* name) {
    return pageOf(pdf, page).getKey("/Resources").getKey(category).getKey(name).getObjGen();
}

std::shared_ptr<PDFDocument> combined(const std::vector<std::string>& paths) {
    auto document = PDFDocument::init();
    for (const std::string& path : paths) {
        auto source = PDFDocument::initWithURL(path);
        EXPECT_NE(source, nullptr) << path;
        for (uint64_t i = 0; source && i < source->pageCount(); ++i) {
            EXPECT_TRUE(document->insertPage(source->pageAtIndex(i), document->pageCount()));
        }
    }
    return document;
}

TEST(PDFWriterCompact, WhatTheSourcesRepeatIsWrittenOnce) {
    const std::string annotation = "/Annots[9 0 R]";
    const std::string note = "<</Type/Annot/Subtype/Text/Rect[10 10 30 30]/Contents(same note)>>";
    // A tiling pattern that paints with itself: a cycle through its resources.
    const std::string cycle = streamObject(
        "/Type/Pattern/PatternType 1/PaintType 1/TilingType 1/BBox[0 0 10 10]/XStep 10/YStep 10"
        "/Resources<</Pattern<</P1 5 0 R>>>>",
        "0 0 5 5 re f");
    struct Case {
        const char* name;
        std::vector<std::string> files;
        // Checks the written file, its pages in the order of the files.
        std::function<void(QPDF&)> check;
    };
    const Case cases[] = {
        {"the same font and image in two files, numbered apart",
         {fontAndImagePage(0), fontAndImagePage(5)},
         [](QPDF& pdf) {
             EXPECT_EQ(resource(pdf, 0, "/Font", "/F1"), resource(pdf, 1, "/Font", "/F1"));
             EXPECT_EQ(resource(pdf, 0, "/XObject", "/Im1"), resource(pdf, 1, "/XObject", "/Im1"));
         }},
        {"the same bytes under different dictionaries",
         {fontAndImagePage(0), fontAndImagePage(0, "/Width 12/Height 12/Interpolate true")},
         [](QPDF& pdf) {
             EXPECT_NE(resource(pdf, 0, "/XObject", "/Im1"), resource(pdf, 1, "/XObject", "/Im1"));
             EXPECT_EQ(resource(pdf, 0, "/Font", "/F1"), resource(pdf, 1, "/Font", "/F1"));
         }},
        {"two identical annotations",
         {onePageFile("/Contents 4 0 R" + annotation, {streamObject("", "q Q"), "null", "null", "null", "null", note}),
          onePageFile("/Contents 4 0 R" + annotation, {streamObject("", "q Q"), "null", "null", "null", "null", note})},
         [](QPDF& pdf) {
             auto first = pageOf(pdf, 0).getKey("/Annots").getArrayItem(0);
             auto second = pageOf(pdf, 1).getKey("/Annots").getArrayItem(0);
             EXPECT_TRUE(first.isIndirect() && second.isIndirect());
             EXPECT_NE(first.getObjGen(), second.getObjGen());
             EXPECT_EQ(first.getKey("/Contents").getUTF8Value(), "same note");
             EXPECT_EQ(second.getKey("/Contents").getUTF8Value(), "same note");
         }},
        {"an image on pages of three files",
         {fontAndImagePage(0), fontAndImagePage(3), fontAndImagePage(11)},
         [](QPDF& pdf) {
             for (size_t page = 0; page < 3; ++page) {
                 EXPECT_EQ(resource(pdf, page, "/XObject", "/Im1"), resource(pdf, 0, "/XObject", "/Im1"));
                 auto image = pageOf(pdf, page).getKey("/Resources").getKey("/XObject").getKey("/Im1");
                 auto data = image.getStreamData(qpdf_dl_generalized);
                 EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()), imageBytes);
                 EXPECT_NE(pageContents(pdf, page).find("/Im1 Do"), std::string::npos);
             }
         }},
        {"a pattern that refers to itself",
         {onePageFile("/Resources<</Pattern<</P1 5 0 R>>>>/Contents 4 0 R",
                      {streamObject("", "/Pattern cs /P1 scn 0 0 100 100 re f"), cycle}),
          onePageFile("/Resources<</Pattern<</P1 5 0 R>>>>/Contents 4 0 R",
                      {streamObject("", "/Pattern cs /P1 scn 0 0 100 100 re f"), cycle}, 2)},
         [](QPDF& pdf) {
             for (size_t page = 0; page < 2; ++page) {
                 auto pattern = pageOf(pdf, page).getKey("/Resources").getKey("/Pattern").getKey("/P1");
                 ASSERT_TRUE(pattern.isStream());
                 EXPECT_EQ(pattern.getDict().getKey("/Resources").getKey("/Pattern").getKey("/P1").getObjGen(),
                           pattern.getObjGen());
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::vector<std::string> paths;
        for (size_t i = 0; i < c.files.size(); ++i) {
            paths.push_back(dir.file(std::to_string(i) + ".pdf"));
            writeBytes(paths.back(), c.files[i]);
        }
        auto document = combined(paths);
        auto bytes = document->dataRepresentation();
        ASSERT_TRUE(bytes) << document->lastError();
        writeBytes(dir.file("out.pdf"), *bytes);
        std::string check;
        EXPECT_EQ(qpdfCheck(dir.file("out.pdf"), &check), 0) << check;
        QPDF pdf;
        pdf.processFile(dir.file("out.pdf").c_str());
        ASSERT_EQ(pdf.getAllPages().size(), c.files.size());
        c.check(pdf);
    }
}

// Objects go into object streams, the cross-reference is a stream, and the file reads as before;
// an unfiltered stream is compressed only when that makes it smaller.
TEST(PDFWriterCompact, ObjectStreamsAndCompressionWherePays) {
    TempDir dir;
    const std::string text = [] {
        std::string t;
        for (int i = 0; i < 3000; ++i) {
            t += "BT /F1 12 Tf 10 " + std::to_string(i % 190) + " Td (line) Tj ET\n";
        }
        return t;
    }();
    const std::string random = noise(200000, 3);
    // Longer than is held to be compressed whole: compressed as it comes.
    std::string gradient;
    for (int row = 0; gradient.size() < (5u << 20); ++row) {
        gradient += std::string(4096, static_cast<char>(row % 251));
    }
    writeBytes(dir.file("streams.pdf"),
               onePageFile("/Resources<</XObject<</Big 5 0 R/Small 6 0 R/Long 7 0 R>>>>/Contents 4 0 R",
                           {streamObject("", text),
                            streamObject("/Type/XObject/Subtype/Image/Width 1000/Height 200/ColorSpace/DeviceGray"
                                         "/BitsPerComponent 8",
                                         random),
                            streamObject("/Type/XObject/Subtype/Image/Width 10/Height 10/ColorSpace/DeviceGray"
                                         "/BitsPerComponent 8",
                                         random.substr(0, 100)),
                            streamObject("/Type/XObject/Subtype/Image/Width 4096/Height " +
                                             std::to_string(gradient.size() / 4096) +
                                             "/ColorSpace/DeviceGray/BitsPerComponent 8",
                                         gradient)}));
    PdfBuilder().addPages(3).write(dir.file("three.pdf"));
    auto streams = PDFDocument::initWithURL(dir.file("streams.pdf"));
    auto three = PDFDocument::initWithURL(dir.file("three.pdf"));
    ASSERT_TRUE(streams && three);
    auto document = PDFDocument::init();
    ASSERT_TRUE(document->insertPage(streams->pageAtIndex(0), 0));
    for (uint64_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(document->insertPage(three->pageAtIndex(i), i + 1));
    }
    auto bookmark = [&](const char* label, uint64_t page, double top) {
        auto outline = PDFOutline::init();
        outline->setLabel(label);
        outline->setDestination(PDFDestination::initWithPage(document->pageAtIndex(page), {0, top}));
        return outline;
    };
    auto root = PDFOutline::init();
    auto one = bookmark("One", 1, 700);
    one->insertChild(bookmark("Two", 3, 500), 0);
    root->insertChild(one, 0);
    root->insertChild(bookmark("Three", 2, 100), 1);
    document->setOutlineRoot(root);
    auto bytes = document->dataRepresentation();
    ASSERT_TRUE(bytes) << document->lastError();
    EXPECT_EQ(bytes->substr(0, 8), "%PDF-1.5");
    writeBytes(dir.file("out.pdf"), *bytes);
    std::string check;
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf"), &check), 0) << check;

    QPDF pdf;
    pdf.processFile(dir.file("out.pdf").c_str());
    ASSERT_EQ(pdf.getAllPages().size(), 4u);
    EXPECT_EQ(pdf.getTrailer().getKey("/Type").unparse(), "/XRef");
    const auto entries = pdf.getXRefTable();
    EXPECT_EQ(entries.at(pageOf(pdf, 1).getObjGen()).getType(), 2) << "a page in an object stream";
    for (const auto& [og, entry] : entries) {
        if (entry.getType() == 2) {
            EXPECT_FALSE(pdf.getObject(og).isStream()) << og.unparse(' ');
        }
    }
    auto xobjects = pageOf(pdf, 0).getKey("/Resources").getKey("/XObject");
    auto contents = pageOf(pdf, 0).getKey("/Contents");
    EXPECT_EQ(contents.getDict().getKey("/Filter").unparse(), "/FlateDecode");
    EXPECT_EQ(pageContents(pdf, 0), text);
    auto long_ = xobjects.getKey("/Long");
    EXPECT_EQ(long_.getDict().getKey("/Filter").unparse(), "/FlateDecode");
    EXPECT_LT(long_.getRawStreamData()->getSize(), gradient.size() / 10);
    auto decoded = long_.getStreamData(qpdf_dl_generalized);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded->getBuffer()), decoded->getSize()), gradient);
    for (const char* name : {"/Big", "/Small"}) {
        auto image = xobjects.getKey(name);
        EXPECT_TRUE(image.getDict().getKey("/Filter").isNull()) << name;
        auto raw = image.getRawStreamData();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize()),
                  std::string(name) == "/Big" ? random : random.substr(0, 100));
    }

    auto reopened = PDFDocument::initWithURL(dir.file("out.pdf"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->pageCount(), 4u);
    EXPECT_EQ(dumpOutline(*reopened),
              "One -> page 1 (0 700)\n"
              "  Two -> page 3 (0 500)\n"
              "Three -> page 2 (0 100)\n");
}

}  // namespace
}  // namespace tomefuse::test
