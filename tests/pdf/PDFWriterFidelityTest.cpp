// Hand-made inputs aimed at the streaming writer: each either comes out with the exact value it
// had, or is refused as damaged (or the write ends as out of memory), never written wrong.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>

#include "pdf/PdfTestSupport.h"
#include "platform/desktop/NotificationCenter.h"

using namespace tomefuse;
using namespace tomefuse::test;

namespace {

// A PDF of the given objects, numbered from 1; the first is the catalog. They stand in the file
// in the order given (by index), else in order.
std::string pdfOf(const std::vector<std::string>& all, const std::string& version = "1.4",
                  std::vector<size_t> order = {}) {
    std::string out = "%PDF-" + version + "\n";
    if (order.empty()) {
        for (size_t i = 0; i < all.size(); ++i) {
            order.push_back(i);
        }
    }
    std::vector<size_t> offsets(all.size());
    for (size_t i : order) {
        offsets[i] = out.size();
        out += std::to_string(i + 1) + " 0 obj\n" + all[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(all.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<</Size " + std::to_string(all.size() + 1) + "/Root 1 0 R>>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
    return out;
}

// A one-page PDF: the page gets extra entries, the objects from 4 on are given.
std::string onePagePdf(const std::string& pageEntries, const std::vector<std::string>& objects = {},
                       const std::string& catalogEntries = "", const std::string& version = "1.4") {
    std::vector<std::string> all = {"<</Type/Catalog/Pages 2 0 R" + catalogEntries + ">>",
                                    "<</Type/Pages/Kids[3 0 R]/Count 1>>",
                                    "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]" + pageEntries + ">>"};
    all.insert(all.end(), objects.begin(), objects.end());
    return pdfOf(all, version);
}

std::string flateStream(const std::string& data) {
    Pl_Buffer buffer("b");
    Pl_Flate flate("f", &buffer, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    flate.finish();
    auto bytes = buffer.getBufferSharedPointer();
    return "<</Filter/FlateDecode/Length " + std::to_string(bytes->getSize()) + ">>stream\n" +
           std::string(reinterpret_cast<const char*>(bytes->getBuffer()), bytes->getSize()) + "\nendstream";
}

struct Written {
    PDFInsertResult result = PDFInsertResult::refused;
    std::string error;
    std::string repair;
    bool finished = false;
};

// Combines the file once through a document written as it is assembled, as a combine does;
// afterFirstPage runs once the first page is written.
Written combineStreaming(const std::string& input, const std::string& out, size_t memoryLimit = 0,
                         const std::function<void()>& afterFirstPage = {}) {
    Written written;
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    PDFWriteTarget target;
    target.fd = fd;
    // The seam for changing a file mid-write: the first page written.
    struct FirstPage final : PDFWriteObserver {
        const std::function<void()>& then;
        explicit FirstPage(const std::function<void()>& f) : then(f) {}
        void didBeginWrite(uint64_t) override {}
        void didEndPageWrite(uint64_t page) override {
            if (then && page == 0) {
                then();
            }
        }
        void didEndWrite() override {}
    } firstPage(afterFirstPage);
    target.observer = &firstPage;
    target.memoryLimit = memoryLimit;
    auto combined = PDFDocument::initWritingToFile(std::move(target));
    auto source = PDFDocument::initWithURL(input);
    if (source) {
        (void)source->outlineRoot();  // the combine reads the outline first
        std::vector<uint64_t> pages(source->pageCount());
        for (uint64_t i = 0; i < pages.size(); ++i) {
            pages[i] = i;
        }
        written.result = combined->insertPages(*source, pages);
        written.error = combined->lastError();
        written.repair = combined->lastRepair();
        combined->finishPagesFrom(*source);
        if (auto root = source->outlineRoot()) {
            combined->setOutlineRoot(root);
        }
    }
    written.finished = combined->finishWriting();
    ::close(fd);
    return written;
}

QPDFObjectHandle firstPage(QPDF& pdf) { return pdf.getAllPages().at(0); }

}  // namespace

TEST(PDFWriterFidelity, HandMadeInputsComeOutExactOrAreRefused) {
    TempDir dir;
    std::string nested = "(deep)";
    for (int i = 0; i < 300; ++i) {
        nested = "[" + nested + "]";
    }
    struct Case {
        std::string name;
        std::string pdf;
        PDFInsertResult result;
        std::string message;               // in lastError when refused, in lastRepair when written
        std::function<void(QPDF&)> check;  // of the output, when written
        size_t memoryLimit = 0;
    } cases[] = {
        {"an indirect string",
         onePagePdf("/Annots[4 0 R]/Str 6 0 R", {"<</Type/Annot/Subtype/Link/Rect[0 0 10 10]/A<</S/URI/URI 5 0 R>>>>",
                                                 "(https://example.org/a)", "(\\(x\\)\\\\\\r\\000y)"}),
         PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle page = firstPage(pdf);
             EXPECT_EQ(page.getKey("/Annots").getArrayItem(0).getKey("/A").getKey("/URI").getStringValue(),
                       "https://example.org/a");
             EXPECT_EQ(page.getKey("/Str").getStringValue(), std::string("(x)\\\r\0y", 7));
         }},
        {"a stray '#' in a name",
         onePagePdf("/Resources<</Font<</F#x 4 0 R>>>>/N/A#23B", {"<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>"},
                    "", "1.1"),
         PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle page = firstPage(pdf);
             EXPECT_TRUE(page.getKey("/Resources").getKey("/Font").hasKey("/F#x"));
             EXPECT_EQ(page.getKey("/N").getName(), "/A#B");
         }},
        {"a token libqpdf cannot read in the page", onePagePdf("/Foo 1e5"), PDFInsertResult::sourceDamaged,
         "damaged: unknown token", nullptr},
        {"a page nested past libqpdf's limit", onePagePdf("/Deep " + std::string(510, '[') + std::string(510, ']')),
         PDFInsertResult::sourceDamaged, "damaged: ", nullptr},
        {"nesting libqpdf reads", onePagePdf("/Deep " + nested), PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle item = firstPage(pdf).getKey("/Deep");
             for (int i = 0; i < 300 && item.isArray(); ++i) {
                 item = item.getArrayItem(0);
             }
             ASSERT_TRUE(item.isString());
             EXPECT_EQ(item.getStringValue(), "deep");
         }},
        {"fields of one file that share a name",
         onePagePdf("/Annots[4 0 R 5 0 R]",
                    {"<</Type/Annot/Subtype/Widget/FT/Btn/Ff 49152/T(choice)/Rect[0 0 10 10]/AS/Off>>",
                     "<</Type/Annot/Subtype/Widget/FT/Btn/Ff 49152/T(choice)/Rect[20 0 30 10]/AS/Off>>"},
                    "/AcroForm<</Fields[4 0 R 5 0 R]/DA 6 0 R>>"),
         PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle form = pdf.getRoot().getKey("/AcroForm");
             ASSERT_EQ(form.getKey("/Fields").getArrayNItems(), 2);
             for (int i = 0; i < 2; ++i) {
                 EXPECT_EQ(form.getKey("/Fields").getArrayItem(i).getKey("/T").getUTF8Value(), "choice");
             }
         }},
        {"a bookmark's script within the bound",
         onePagePdf("",
                    {"<</First 5 0 R/Last 5 0 R/Count 1>>", "<</Title(js)/Parent 4 0 R/A<</S/JavaScript/JS 6 0 R>>>>",
                     flateStream("app.alert(1);")},
                    "/Outlines 4 0 R"),
         PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle item = pdf.getRoot().getKey("/Outlines").getKey("/First");
             EXPECT_EQ(item.getKey("/A").getKey("/JS").getStringValue(), "app.alert(1);");
         }},
        {"a bookmark's script past the bound",
         onePagePdf("",
                    {"<</First 5 0 R/Last 5 0 R/Count 1>>", "<</Title(js)/Parent 4 0 R/A<</S/JavaScript/JS 6 0 R>>>>",
                     flateStream(std::string(5u << 20, ' '))},
                    "/Outlines 4 0 R"),
         PDFInsertResult::inserted, "script was left out",
         [](QPDF& pdf) {
             QPDFObjectHandle item = pdf.getRoot().getKey("/Outlines").getKey("/First");
             EXPECT_EQ(item.getKey("/Title").getUTF8Value(), "js");
             EXPECT_FALSE(item.hasKey("/A"));
         }},
        {"a page whose /Parent names a font",
         pdfOf({"<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[3 0 R]/Count 1>>",
                "<</Type/Page/Parent 4 0 R/MediaBox[0 0 612 792]/Resources<</Font<</F1 4 0 R>>>>>>",
                "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>"}),
         PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle font = firstPage(pdf).getKey("/Resources").getKey("/Font").getKey("/F1");
             ASSERT_TRUE(font.isDictionary());
             EXPECT_EQ(font.getKey("/BaseFont").getName(), "/Helvetica");
         }},
        {"a page larger than the memory the writer may take", onePagePdf("/Big(" + std::string(200000, 'x') + ")"),
         PDFInsertResult::writeFailed, "not enough memory", nullptr, 100000},
    };
    // The form's /DA given as an object of its own.
    cases[5].pdf = onePagePdf(
        "/Annots[4 0 R 5 0 R]",
        {"<</Type/Annot/Subtype/Widget/FT/Btn/Ff 49152/T(choice)/Rect[0 0 10 10]/AS/Off>>",
         "<</Type/Annot/Subtype/Widget/FT/Btn/Ff 49152/T(choice)/Rect[20 0 30 10]/AS/Off>>", "(/Helv 0 Tf 0 g)"},
        "/AcroForm<</Fields[4 0 R 5 0 R]/DA 6 0 R>>");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string input = dir.file("in.pdf");
        const std::string out = dir.file("out.pdf");
        writeTextFile(input, c.pdf);
        const Written written = combineStreaming(input, out, c.memoryLimit);
        ASSERT_EQ(written.result, c.result) << written.error;
        if (c.result != PDFInsertResult::inserted) {
            EXPECT_NE(written.error.find(c.message), std::string::npos) << written.error;
            continue;
        }
        EXPECT_NE(written.repair.find(c.message), std::string::npos) << written.repair;
        ASSERT_TRUE(written.finished);
        std::string check;
        EXPECT_EQ(qpdfCheck(out, &check), 0) << check;
        QPDF pdf;
        pdf.processFile(out.c_str());
        ASSERT_EQ(pdf.getAllPages().size(), 1u);
        if (c.check) {
            c.check(pdf);
        }
        if (c.name == "fields of one file that share a name") {
            EXPECT_EQ(pdf.getRoot().getKey("/AcroForm").getKey("/DA").getStringValue(), "/Helv 0 Tf 0 g");
        }
    }
}

namespace {

// Past the size read whole into memory: such a file is read through its descriptor as the write
// goes, so what it holds may change or go meanwhile.
const std::string padding =
    "<</Length " + std::to_string(17u << 20) + ">>stream\n" + std::string(17u << 20, '%') + "\nendstream";
const std::string fontProgram = [] {
    std::string program;
    for (int i = 0; program.size() < 200000; ++i) {
        program += "glyph " + std::to_string(i) + "\n";
    }
    return program;
}();

std::string plainStream(const std::string& data) {
    return "<</Length " + std::to_string(data.size()) + ">>stream\n" + data + "\nendstream";
}

// A form whose resources (a font with its program) and named destinations the writer reads only
// once the page is written; one of them stands after the padding, at the end of the file.
std::string largeForm(bool namesLast) {
    return pdfOf(
        {"<</Type/Catalog/Pages 2 0 R/AcroForm<</Fields[4 0 R]/DR 5 0 R/DA(/Helv 0 Tf 0 g)>>"
         "/Names<</Dests 10 0 R>>>>",
         "<</Type/Pages/Kids[3 0 R]/Count 1>>", "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Annots[4 0 R]>>",
         "<</Type/Annot/Subtype/Widget/FT/Tx/T(name)/V(value)/Rect[0 0 100 20]/DA(/Helv 0 Tf 0 g)>>",
         "<</Font<</Helv 6 0 R>>>>", "<</Type/Font/Subtype/TrueType/BaseFont/Helv/FontDescriptor 7 0 R>>",
         "<</Type/FontDescriptor/FontName/Helv/Flags 32/FontFile2 8 0 R>>", plainStream(fontProgram), padding,
         "<</Names[(here)[3 0 R/Fit]]>>"},
        "1.4",
        namesLast ? std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}
                  : std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 9, 8, 7});
}

// Two pages whose contents stand apart, the second after the padding.
std::string largeTwoPages(const std::string& version) {
    return pdfOf({"<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[3 0 R 4 0 R]/Count 2>>",
                  "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Contents 5 0 R>>",
                  "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Contents 7 0 R>>",
                  plainStream("(" + version + "1) Tj"), padding, plainStream("(" + version + "2) Tj")});
}

void cut(const std::string& path, const std::string& before) {
    const std::string bytes = readTextFile(path);
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(bytes.find(before))), 0);
}

// Writes over the file where it stands, the same size, and with the same time when keepTime.
void rewrite(const std::string& path, const std::string& bytes, bool keepTime) {
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    if (keepTime) {
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::futimens(fd, times), 0);
    }
    ::close(fd);
}

}  // namespace

TEST(PDFWriterFidelity, LargeInputsChangedAsTheyAreWrittenAreRefused) {
    TempDir dir;
    const std::string input = dir.file("large.pdf");
    const std::string versionB = largeTwoPages("B");
    struct Case {
        std::string name;
        std::string pdf;
        std::function<void()> afterFirstPage;
        PDFInsertResult result;
        std::string message;               // after the file's name, when refused
        std::function<void(QPDF&)> check;  // of the output, when written
    } cases[] = {
        {"a form read through the descriptor", largeForm(false), nullptr, PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             QPDFObjectHandle font = pdf.getRoot().getKey("/AcroForm").getKey("/DR").getKey("/Font").getKey("/Helv");
             auto program = font.getKey("/FontDescriptor").getKey("/FontFile2").getStreamData();
             EXPECT_EQ(std::string(reinterpret_cast<const char*>(program->getBuffer()), program->getSize()),
                       fontProgram);
             EXPECT_EQ(
                 pdf.getRoot().getKey("/AcroForm").getKey("/Fields").getArrayItem(0).getKey("/V").getStringValue(),
                 "value");
         }},
        {"cut short before the form's font program", largeForm(false), [&] { cut(input, "\n8 0 obj"); },
         PDFInsertResult::sourceDamaged, "the file is shorter than it was", nullptr},
        {"cut short before the named destinations", largeForm(true), [&] { cut(input, "\n10 0 obj"); },
         PDFInsertResult::sourceDamaged, "the file is shorter than it was", nullptr},
        {"two pages read through the descriptor", largeTwoPages("A"), nullptr, PDFInsertResult::inserted, "",
         [](QPDF& pdf) {
             for (int i = 0; i < 2; ++i) {
                 QPDFObjectHandle page = pdf.getAllPages().at(i);
                 auto data = page.getKey("/Contents").getStreamData();
                 EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()),
                           "(A" + std::to_string(i + 1) + ") Tj");
             }
         }},
        {"rewritten in place, the same size", largeTwoPages("A"), [&] { rewrite(input, versionB, false); },
         PDFInsertResult::sourceDamaged, "the file changed while it was read", nullptr},
        {"rewritten in place within the clock's step", largeTwoPages("A"), [&] { rewrite(input, versionB, true); },
         PDFInsertResult::sourceDamaged, "the file changed while it was read", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = dir.file("out.pdf");
        writeTextFile(input, c.pdf);
        const Written written = combineStreaming(input, out, 0, c.afterFirstPage);
        ASSERT_EQ(written.result, c.result) << written.error;
        if (c.result != PDFInsertResult::inserted) {
            EXPECT_EQ(written.error, input + ": " + c.message);
            continue;
        }
        ASSERT_TRUE(written.finished);
        std::string check;
        EXPECT_EQ(qpdfCheck(out, &check), 0) << check;
        QPDF pdf;
        pdf.processFile(out.c_str());
        c.check(pdf);
    }
}
