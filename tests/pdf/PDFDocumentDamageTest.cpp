// What a damaged source loses decides whether it is combined: a repair libqpdf makes without
// losing anything (a cross-reference table rebuilt, a missing endobj, a stream length found
// again) is combined and named; data cut short is refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {
namespace {

const std::string plainText = "BT /F1 24 Tf 72 720 Td (Plain words on the page) Tj ET\n";
const std::string packedText = "BT /F1 12 Tf 72 600 Td (Packed words, flate encoded, long enough to cut) Tj ET\n";

std::string deflated(const std::string& data) {
    Pl_Buffer buffer("b");
    Pl_Flate flate("f", &buffer, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    flate.finish();
    auto bytes = buffer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(bytes->getBuffer()), bytes->getSize());
}

// A page drawn by two content streams: 4 unfiltered, 5 flate encoded.
std::string twoStreamPdf() {
    const std::string packed = deflated(packedText);
    return rawPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                   "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents [4 0 R 5 0 R] >>",
                   "<< /Length " + std::to_string(plainText.size()) + " >>\nstream\n" + plainText + "\nendstream",
                   "<< /Length " + std::to_string(packed.size()) + " /Filter /FlateDecode >>\nstream\n" + packed +
                       "\nendstream"});
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The cross-reference line of an object (each is 20 bytes, after the 20 of entry 0).
std::string withXrefLine(std::string pdf, int object, const std::string& line) {
    const size_t table = pdf.rfind("\nxref\n") + 6;
    const size_t entries = pdf.find('\n', table) + 1;
    return pdf.replace(entries + 20 * static_cast<size_t>(object), 20, line);
}

// The data of a stream between "stream\n" and "\nendstream", the nth of the file.
std::pair<size_t, size_t> streamData(const std::string& pdf, int nth) {
    size_t at = 0;
    for (int i = 0; i <= nth; ++i) {
        at = pdf.find(">>\nstream\n", at) + 10;
    }
    return {at, pdf.find("\nendstream", at) - at};
}

struct Combined {
    PDFInsertResult result = PDFInsertResult::refused;
    std::string repair;
    bool finished = false;
};

Combined combineStreaming(const std::string& input, const std::string& out) {
    Combined combined;
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    PDFWriteTarget target;
    target.fd = fd;
    auto document = PDFDocument::initWritingToFile(std::move(target));
    if (auto source = PDFDocument::initWithURL(input)) {
        combined.result = document->insertPages(*source, {0});
        combined.repair = document->lastRepair();
        document->finishPagesFrom(*source);
    }
    combined.finished = document->finishWriting();
    ::close(fd);
    return combined;
}

TEST(PDFDocumentDamage, RepairsAreCombinedAndLossIsRefused) {
    TempDir dir;
    const std::string whole = twoStreamPdf();
    const auto [plainAt, plainSize] = streamData(whole, 0);
    const auto [packedAt, packedSize] = streamData(whole, 1);
    std::string expected = plainText + packedText;
    std::erase(expected, '\n');
    enum Outcome { combined, refusedAtCombine, refusedAtListing };
    struct Case {
        std::string name;
        std::string pdf;
        Outcome outcome;
    } cases[] = {
        {"a cross-reference offset of -1", withXrefLine(whole, 4, "-000000001 00000 n \n"), combined},
        {"a trailer's /Prev of -1", replaced(whole, "/Root 1 0 R", "/Prev -1 /Root 1 0 R"), combined},
        {"startxref -1", whole.substr(0, whole.rfind("startxref\n") + 10) + "-1\n%%EOF\n", combined},
        {"no cross-reference table at all",
         whole.substr(0, whole.rfind("\nxref\n") + 1) + whole.substr(whole.rfind("trailer")), combined},
        {"an entry giving an object another generation", withXrefLine(whole, 5, "000000037 002000 n \n"), combined},
        {"a missing endobj", replaced(whole, ">>\nendobj\n4 0 obj", ">>\n4 0 obj"), combined},
        {"a stream length too short", replaced(whole, "<< /Length " + std::to_string(plainSize), "<< /Length 7"),
         combined},
        {"a flate stream length too long",
         replaced(whole, "<< /Length " + std::to_string(packedSize), "<< /Length " + std::to_string(packedSize + 40)),
         combined},
        {"a table rebuilt taking a page's contents to a later null",
         replaced(whole, "\nxref\n", "\n4 0 obj\nnull\nendobj\nxref\n"), refusedAtCombine},
        {"a plain stream cut short", std::string(whole).erase(plainAt + 10, plainSize - 20), refusedAtCombine},
        {"a flate stream cut short", std::string(whole).erase(packedAt + packedSize / 2, packedSize / 4),
         refusedAtCombine},
        {"a file ending inside a stream", whole.substr(0, packedAt + packedSize / 2), refusedAtListing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string in = dir.file("in.pdf");
        const std::string out = dir.file("out.pdf");
        writeBytes(in, c.pdf);
        const PDFFileSummary summary = PDFDocument::summaryOfFile(in, "");
        if (c.outcome == refusedAtListing) {
            EXPECT_EQ(summary.failure, PDFOpenFailure::damaged);
            continue;
        }
        EXPECT_EQ(summary.failure, PDFOpenFailure::none);
        EXPECT_EQ(summary.pageCount, 1u);
        // What the question before a save asks about is what the combine refuses.
        EXPECT_EQ(PDFDocument::lossOfPages(in, "", {0}).empty(), c.outcome == combined);

        const Combined written = combineStreaming(in, out);
        EXPECT_TRUE(written.finished);
        if (c.outcome == refusedAtCombine) {
            EXPECT_EQ(written.result, PDFInsertResult::sourceDamaged);
            continue;
        }
        ASSERT_EQ(written.result, PDFInsertResult::inserted);
        EXPECT_FALSE(written.repair.empty()) << "a repair is named";
        QPDF pdf;
        pdf.processFile(out.c_str());
        // A length found again may take the line end before endstream along.
        std::string contents = pageContents(pdf, 0);
        std::erase(contents, '\n');
        EXPECT_EQ(contents, expected);
        EXPECT_EQ(pdf.numWarnings(), 0u);
    }
}

}  // namespace
}  // namespace tomefuse::test
