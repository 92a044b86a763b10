// Hand-made inputs aimed at the streaming writer: each either comes out with the exact value it
// had, or is refused as damaged (or the write ends as out of memory), never written wrong.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>

#include "pdf/PdfTestSupport.h"

using namespace tomefuse;
using namespace tomefuse::test;

namespace {

// A one-page PDF: the page gets extra entries, the objects from 4 on are given.
std::string onePagePdf(const std::string& pageEntries, const std::vector<std::string>& objects = {},
                       const std::string& catalogEntries = "", const std::string& version = "1.4") {
    std::vector<std::string> all = {"<</Type/Catalog/Pages 2 0 R" + catalogEntries + ">>",
                                    "<</Type/Pages/Kids[3 0 R]/Count 1>>",
                                    "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]" + pageEntries + ">>"};
    all.insert(all.end(), objects.begin(), objects.end());
    std::string out = "%PDF-" + version + "\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < all.size(); ++i) {
        offsets.push_back(out.size());
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

// Combines the file once through a document written as it is assembled, as a combine does.
Written combineStreaming(const std::string& input, const std::string& out, size_t memoryLimit = 0) {
    Written written;
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    PDFWriteTarget target;
    target.fd = fd;
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
