#include <gtest/gtest.h>

#include <filesystem>
#include <qpdf/QPDF.hh>

#include "Fakes.h"
#include "combine/DocumentOptions.h"
#include "pdf/LinkDump.h"
#include "support/Command.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

// Right-hand starts: which pages come out, blank or not, and where each file's bookmark leads.
TEST(RightHandStarts, EachFileStartsOnARightHandPageAndTheDocumentEndsOnNoBlankPage) {
    struct Case {
        std::string name;
        std::vector<int> pages;  // per file; -1: listed, then unreadable
        bool labelled;           // the first file numbers its pages i, ii, iii...
        std::string layout;      // a letter per page: the file's, or '_' for a blank page
        std::string outline;     // where the files' bookmarks lead
        std::string labels;
    };
    const Case cases[] = {
        {"odd, even, odd", {3, 2, 1}, false, "aaa_bbc", "a 0, b 4, c 6", ""},
        {"one page each", {1, 1, 1}, false, "a_b_c", "a 0, b 2, c 4", ""},
        {"even pages need nothing", {2, 4}, false, "aabbbb", "a 0, b 2", ""},
        {"owed past a file left out", {3, -1, 1}, false, "aaa_c", "a 0, c 4", ""},
        {"nothing after the last readable", {3, -1}, false, "aaa", "a 0", ""},
        {"blank pages continue the labels", {3, 1}, true, "aaa_b", "a 0, b 4", "i ii iii iv 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        Harness h(dir.path());
        h.defaults.setBool(shouldStartFilesOnRightHandPagesKey, true);
        h.defaults.setBool(preserveExistingTOCsKey, false);
        std::vector<std::string> unreadable;
        for (size_t i = 0; i < c.pages.size(); ++i) {
            const std::string letter(1, static_cast<char>('a' + i));
            PdfBuilder pdf;
            // Each file's pages have a size of their own, so a blank page shows whose it follows.
            for (int p = 0; p < std::max(c.pages[i], 1); ++p) {
                pdf.addPage({500.0 + static_cast<double>(i) * 10, 700, 0, 0, 0, {}, letter});
            }
            if (c.labelled && i == 0) {
                pdf.addPageLabel(0, "<< /S /r >>");
            }
            pdf.write(dir.file(letter + ".pdf"));
            h.add(dir.file(letter + ".pdf"));
            if (c.pages[i] < 0) {
                unreadable.push_back(dir.file(letter + ".pdf"));
            }
        }
        for (const auto& path : unreadable) {
            writeTextFile(path, "no longer a PDF");
        }
        const std::string out = dir.file("out.pdf");
        h.controller.writeCombinedPDF(out);

        std::string layout;
        std::string owner;  // of the page before, which a blank page takes its size from
        std::istringstream pages(dumpPdf(out));
        for (std::string line; std::getline(pages, line) && line.rfind("page ", 0) == 0;) {
            const auto quote = line.find('\'');
            const char letter = quote == std::string::npos ? '_' : line[quote + 1];
            if (letter == '_') {
                const std::string width = std::to_string(500 + (owner[0] - 'a') * 10) + "x700";
                EXPECT_NE(line.find(width), std::string::npos) << line << " follows " << owner;
            }
            owner = letter == '_' ? owner : std::string(1, letter);
            layout += letter;
        }
        EXPECT_EQ(layout, c.layout);
        std::string outline;
        std::istringstream items(dumpOutline(out));
        for (std::string line; std::getline(items, line);) {
            outline += (outline.empty() ? "" : ", ") + line.substr(0, 1) + " " + line.substr(line.find("page ") + 5, 1);
        }
        EXPECT_EQ(outline, c.outline);
        EXPECT_EQ(pageLabels(out), c.labels);
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
}

// What the document says about itself, read back as a reader and an indexer read it.
TEST(DocumentProperties, GoToTheInformationDictionaryAndTheXmpMetadata) {
    struct Case {
        std::string name;
        PDFDocumentAttributes set;
        std::vector<std::string> inXmp;  // each must be in the metadata packet
        std::string author;              // as /Info holds it, in UTF-8
    };
    const Case cases[] = {
        {"none writes no metadata", {}, {}, ""},
        {"a title only",
         {"Field Guide & <Notes>", "", "", ""},
         {"<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Field Guide &amp; "
          "&lt;Notes&gt;</rdf:li></rdf:Alt></dc:title>"},
         ""},
        {"every script, every field",
         {"Руководство 用户手册", "Ἀθηνᾶ Παλλάς", "Über \"alles\"", "pdf, Handbuch; 手册"},
         {"<rdf:li xml:lang=\"x-default\">Руководство 用户手册</rdf:li>",
          "<dc:creator><rdf:Seq><rdf:li>Ἀθηνᾶ Παλλάς</rdf:li></rdf:Seq></dc:creator>",
          "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">Über &quot;alles&quot;</rdf:li></rdf:Alt>",
          "<rdf:Bag><rdf:li>pdf</rdf:li><rdf:li>Handbuch</rdf:li><rdf:li>手册</rdf:li></rdf:Bag>",
          "<pdf:Keywords>pdf, Handbuch; 手册</pdf:Keywords>", "<pdf:Producer>Tomefuse</pdf:Producer>"},
         "Ἀθηνᾶ Παλλάς"},
        {"bytes that are not text",
         {"", "Ann\xff\x01 Lee", "", ""},
         {"<rdf:li>Ann\xef\xbf\xbd Lee</rdf:li>"},
         "Ann\xef\xbf\xbd Lee"},
    };
    TempDir dir;
    const std::string a = makePdf(dir, "a.pdf", 1);
    const std::string b = makePdf(dir, "b.pdf", 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(dir.path());
        h.defaults.setString(documentTitleKey, c.set.title);
        h.defaults.setString(documentAuthorKey, c.set.author);
        h.defaults.setString(documentSubjectKey, c.set.subject);
        h.defaults.setString(documentKeywordsKey, c.set.keywords);
        h.add(a);
        h.add(b);
        const std::string out = dir.file("out.pdf");
        h.controller.writeCombinedPDF(out);

        QPDF pdf;
        pdf.processFile(out.c_str());
        QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
        auto text = [&info](const char* key) {
            return info.getKey(key).isString() ? info.getKey(key).getUTF8Value() : std::string("(none)");
        };
        auto orNone = [](const std::string& value) { return value.empty() ? std::string("(none)") : value; };
        EXPECT_EQ(text("/Title"), orNone(c.set.title));
        EXPECT_EQ(text("/Author"), orNone(c.author.empty() ? c.set.author : c.author));
        EXPECT_EQ(text("/Subject"), orNone(c.set.subject));
        EXPECT_EQ(text("/Keywords"), orNone(c.set.keywords));
        EXPECT_EQ(text("/Producer"), "Tomefuse");

        QPDFObjectHandle root = pdf.getRoot();
        QPDFObjectHandle preferences = root.getKey("/ViewerPreferences");
        EXPECT_EQ(preferences.isDictionary() && preferences.getKey("/DisplayDocTitle").isBool() &&
                      preferences.getKey("/DisplayDocTitle").getBoolValue(),
                  !c.set.title.empty());
        QPDFObjectHandle metadata = root.getKey("/Metadata");
        ASSERT_EQ(metadata.isStream(), !c.inXmp.empty());
        if (metadata.isStream()) {
            EXPECT_TRUE(metadata.getDict().getKey("/Filter").isNull()) << "plain, for tools that read no PDF";
            const auto data = metadata.getRawStreamData();
            const std::string xmp(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
            EXPECT_EQ(xmp.rfind("<?xpacket begin=", 0), 0u);
            for (const std::string& expected : c.inXmp) {
                EXPECT_NE(xmp.find(expected), std::string::npos) << expected << "\n" << xmp;
            }
        }
        if (!c.set.title.empty()) {
            // What viewers show in their window bar.
            const CommandResult shown = runCommand({"pdfinfo", out});
            EXPECT_NE(shown.out.find("Title:           " + c.set.title + "\n"), std::string::npos) << shown.out;
        }
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
}

}  // namespace
}  // namespace tomefuse::test

namespace tomefuse::test {
namespace {

// A contents page that cannot be laid out (no Qt module) is said so, and nothing is written.
TEST(ContentsPage, WithoutALayoutTheSaveFailsAndWritesNothing) {
    TempDir dir;
    Harness h(dir.path());
    h.defaults.setBool(shouldAddContentsPageKey, true);
    h.add(makePdf(dir, "a.pdf", 1));
    h.add(makePdf(dir, "b.pdf", 1));
    h.controller.writeCombinedPDF(dir.file("out.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdf")));
    ASSERT_EQ(h.window.alerts.size(), 1u);
    EXPECT_NE(h.window.alerts[0].second.find("contents page cannot be laid out"), std::string::npos)
        << h.window.alerts[0].second;
    EXPECT_EQ(h.system.beeps, 1);
}

}  // namespace
}  // namespace tomefuse::test
