#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNumberTreeObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <regex>
#include <sstream>

#include "combine/CombineJob.h"
#include "pdf/LinkDump.h"
#include "platform/qt/contents/QtContentsTypesetter.h"
#include "support/Command.h"
#include "support/Fixtures.h"
#include "support/PdfDump.h"

namespace tomefuse::test {
namespace {

class Quiet final : public CombineObserver {
  public:
    void didBeginWrite(uint64_t) override {}
    void didEndPageWrite(uint64_t) override {}
    void didEndWrite() override {}
    void willReadFile(size_t, size_t, const std::string&) override {}
    void willFinish() override {}
};

// Combines with a contents page laid out by Qt, as the window does.
void combine(const std::vector<CombineFile>& files, CombineSettings settings, const std::string& out) {
    static QtContentsTypesetter typesetter;
    settings.contents.add = true;
    settings.contents.typesetter = &typesetter;
    std::string error;
    Quiet quiet;
    CombineJob job(files, settings, AtomicFile::create(out, error), quiet);
    job.run();
    ASSERT_EQ(job.outcome().status, CombineOutcome::Status::written) << job.outcome().error;
}

// The contents pages' text lines as a reader copies them, spaces squeezed, the title left out.
std::vector<std::string> contentsText(const std::string& path, size_t pages) {
    const CommandResult text = runCommand({"pdftotext", "-layout", "-f", "1", "-l", std::to_string(pages), path, "-"});
    std::vector<std::string> lines;
    std::istringstream in(text.out);
    for (std::string line; std::getline(in, line);) {
        line = std::regex_replace(line, std::regex("[\\s\\f]+"), " ");
        line = std::regex_replace(line, std::regex("^ | $"), "");
        if (!line.empty() && line != "Contents") {
            lines.push_back(line);
        }
    }
    return lines;
}

// How many pages the contents has: the first file's bookmark, after "Contents", leads past it.
size_t contentsPages(const std::string& path) {
    const std::string outline = dumpOutline(path);
    const auto second = outline.find("page ", outline.find('\n'));
    return std::stoul(outline.substr(second + 5));
}

// Every line is a link to the page whose number it shows, counting the contents pages; they
// take as many pages as they need and no more, and every page after them is a file's.
TEST(ContentsPage, EachLineLeadsToThePageItShows) {
    struct Case {
        int files;
        int depth;
        size_t linesPerFile;
    };
    const Case cases[] = {{1, 0, 1}, {40, 1, 3}, {400, 0, 1}};
    TempDir dir;
    std::vector<CombineFile> all;
    uint64_t pages = 0;
    for (int i = 0; i < 400; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "File %03d", i + 1);
        const int count = i % 3 + 1;
        all.push_back({makePdf(dir, std::string(name) + ".pdf", count, {item("Start", 0), item("End", count - 1)}),
                       name, static_cast<uint64_t>(count)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.files) + " files");
        const std::vector<CombineFile> files(all.begin(), all.begin() + c.files);
        CombineSettings settings;
        settings.contents.depth = c.depth;
        const std::string out = dir.file("out.pdf");
        combine(files, settings, out);

        const size_t contents = contentsPages(out);
        pages = 0;
        for (const auto& file : files) {
            pages += file.expectedPages;
        }
        QPDF pdf;
        pdf.processFile(out.c_str());
        EXPECT_EQ(pdf.getAllPages().size(), contents + pages);
        const std::vector<std::string> links = linkLines(pdf);
        const std::vector<std::string> text = contentsText(out, contents);
        ASSERT_EQ(links.size(), files.size() * c.linesPerFile);
        ASSERT_EQ(text.size(), links.size()) << "one line per link";
        std::set<std::string> pagesWithLinks;
        for (size_t i = 0; i < links.size(); ++i) {
            // "2.13 -> 57 /XYZ 0 792 null" shows "... 58".
            const std::string page = links[i].substr(0, links[i].find('.'));
            pagesWithLinks.insert(page);
            const std::string target = links[i].substr(links[i].find("-> ") + 3);
            const unsigned long index = std::stoul(target);
            EXPECT_LT(std::stoul(page), contents);
            EXPECT_GE(index, contents);
            EXPECT_EQ(text[i].substr(text[i].rfind(' ') + 1), std::to_string(index + 1)) << text[i];
        }
        EXPECT_EQ(pagesWithLinks.size(), contents) << "no page of the contents is empty";
        EXPECT_EQ(text.front().rfind("File 001 ", 0), 0u);
        EXPECT_EQ(text.back().rfind(c.depth ? "End " : files.back().filename + " ", 0), 0u) << text.back();
        if (c.files == 1) {
            EXPECT_EQ(contents, 1u);
        } else if (c.files == 400) {
            EXPECT_GT(contents, 5u);
        }
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
}

// The lines in any script, with bookmarks to the depth chosen; page labels shown where chosen
// and the document has them; an even number of pages when each file starts on a right-hand page.
TEST(ContentsPage, ListsBookmarksToTheirDepthInAnyScript) {
    TempDir dir;
    PdfBuilder russian;
    russian.addPages(3, {500, 700, 0, 0, 0, {}, ""});
    russian.setOutline(
        {item("Глава 1", 0, 72, 700, {item("Раздел 1.1", 1, 72, 600, {item("Deep", 2)})}), item("Глава 2", 2)});
    russian.write(dir.file("ru.pdf"));
    PdfBuilder chinese;
    chinese.addPages(2).setOutline({item("第一章", 1)}).addPageLabel(0, "<< /S /D /P (A-) >>");
    chinese.write(dir.file("zh.pdf"));
    const std::vector<CombineFile> files = {{dir.file("ru.pdf"), "Руководство", 3},
                                            {dir.file("zh.pdf"), "用户手册", 2}};

    struct Case {
        int depth;
        bool duplex;
        std::vector<std::string> lines;
        std::string labels;
    };
    const Case cases[] = {
        {0, false, {"Руководство 1", "用户手册 A-1"}, "Contents 1 1 2 3 A-1 A-2"},
        {1,
         false,
         {"Руководство 1", "Глава 1 1", "Глава 2 3", "用户手册 A-1", "第一章 A-2"},
         "Contents 1 1 2 3 A-1 A-2"},
        {-1,
         true,
         {"Руководство 1", "Глава 1 1", "Раздел 1.1 2", "Deep 3", "Глава 2 3", "用户手册 A-1", "第一章 A-2"},
         "Contents 1 Contents 2 1 2 3 4 A-1 A-2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("depth " + std::to_string(c.depth));
        CombineSettings settings;
        settings.contents.depth = c.depth;
        settings.contents.pageLabels = true;
        settings.startFilesOnRightHandPages = c.duplex;
        const std::string out = dir.file("out.pdf");
        combine(files, settings, out);

        const size_t contents = contentsPages(out);
        EXPECT_EQ(contents, c.duplex ? 2u : 1u);
        EXPECT_EQ(contentsText(out, contents), c.lines);
        EXPECT_EQ(pageLabels(out), c.labels);
        const std::string dump = dumpPdf(out);
        EXPECT_EQ(dump.rfind("page 0: 500x700 r0", 0), 0u) << "the first page's size";
        EXPECT_NE(dump.find("\nContents -> page 0 (0, 700)\nРуководство -> page " + std::to_string(contents)),
                  std::string::npos)
            << dump;
        // Real fonts, embedded, never a base-14 font that has no Cyrillic or CJK.
        const CommandResult fonts = runCommand({"pdffonts", "-f", "1", "-l", "1", out});
        EXPECT_NE(fonts.out.find("DejaVuSans"), std::string::npos) << fonts.out;
        EXPECT_NE(fonts.out.find("WenQuanYi"), std::string::npos) << fonts.out;
        const std::regex embedded(R"((yes|no) +(yes|no) +(yes|no) +\d+ +\d+$)");
        std::istringstream rows(fonts.out);
        for (std::string row; std::getline(rows, row);) {
            std::smatch columns;
            if (std::regex_search(row, columns, embedded)) {
                EXPECT_EQ(columns[1], "yes") << row;
            }
        }
        EXPECT_EQ(qpdfCheckProblems(out), "");
    }
}

// A line shows its page's place in the combined document, counting the contents and blank pages;
// its label only where chosen and no two pages share one (files that each start at "1" do).
TEST(ContentsPage, NumbersArePlacesUnlessUniqueLabelsAreChosen) {
    TempDir dir;
    // A file of the set, named by its letter in the contents.
    const auto labelled = [&](const std::string& set, const std::string& name, int count, const std::string& label) {
        PdfBuilder pdf;
        pdf.addPages(count);
        if (!label.empty()) {
            pdf.addPageLabel(0, label);
        }
        const std::string path = dir.file(set + "-" + name + ".pdf");
        pdf.write(path);
        return CombineFile(path, name, static_cast<uint64_t>(count));
    };
    // 1 2 | T-1 T-2 T-3 | 1: "1" twice.
    const std::vector<CombineFile> clashing = {labelled("clashing", "A", 2, ""),
                                               labelled("clashing", "B", 3, "<< /S /D /P (T-) >>"),
                                               labelled("clashing", "C", 1, "")};
    // i ii | T-1 T-2 T-3 | C-1
    const std::vector<CombineFile> unique = {labelled("unique", "A", 2, "<< /S /r >>"),
                                             labelled("unique", "B", 3, "<< /S /D /P (T-) >>"),
                                             labelled("unique", "C", 1, "<< /S /D /P (C-) >>")};
    const struct {
        const char* name;
        const std::vector<CombineFile>& files;
        bool labels;
        bool duplex;
        std::vector<std::string> lines;
    } cases[] = {
        {"labels that clash", clashing, true, false, {"A 2", "B 4", "C 7"}},
        {"labels that clash, right-hand starts", clashing, true, true, {"A 3", "B 5", "C 9"}},
        {"unique labels, not chosen", unique, false, false, {"A 2", "B 4", "C 7"}},
        {"unique labels, chosen", unique, true, false, {"A i", "B T-1", "C C-1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CombineSettings settings;
        settings.contents.pageLabels = c.labels;
        settings.startFilesOnRightHandPages = c.duplex;
        const std::string out = dir.file("out.pdf");
        combine(c.files, settings, out);
        EXPECT_EQ(contentsText(out, contentsPages(out)), c.lines);
    }
}

// Gives a file a structure tree: one paragraph marking its first page's text.
void tagFile(const std::string& from, const std::string& to) {
    QPDF pdf;
    pdf.processFile(from.c_str());
    QPDFObjectHandle page = pdf.getAllPages().front();
    QPDFObjectHandle root = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /StructTreeRoot /ParentTreeNextKey 1 /ParentTree << /Nums [0 []] >> >>"));
    QPDFObjectHandle paragraph = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /StructElem /S /P /K 0 >>"));
    paragraph.replaceKey("/P", root);
    paragraph.replaceKey("/Pg", page);
    root.replaceKey("/K", paragraph);
    root.getKey("/ParentTree").getKey("/Nums").getArrayItem(1).appendItem(paragraph);
    page.replaceKey("/StructParents", QPDFObjectHandle::newInteger(0));
    pdf.getRoot().replaceKey("/StructTreeRoot", root);
    QPDFWriter writer(pdf, to.c_str());
    writer.write();
}

// The contents list's items in reading order, each with the lists it is nested in.
void collectItems(QPDFObjectHandle element, int depth, std::vector<std::pair<QPDFObjectHandle, int>>& items) {
    for (QPDFObjectHandle kid : element.getKey("/K").aitems()) {
        const std::string type = kid.isDictionary() ? kid.getKey("/S").getName() : "";
        EXPECT_EQ(kid.getKey("/P").getObjGen(), element.getObjGen()) << type;
        if (type == "/TOCI") {
            items.emplace_back(kid, depth);
        } else if (type == "/TOC") {
            collectItems(kid, depth + 1, items);
        }
    }
}

// Every MCID on a contents page leads through the parent tree to an element of the tree that
// holds it; answers how many there are.
int checkMarks(QPDFObjectHandle page, QPDFNumberTreeObjectHelper& parents, QPDFObjectHandle root) {
    const std::shared_ptr<Buffer> data = page.getKey("/Contents").getStreamData();
    const std::string content(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    QPDFObjectHandle owners;
    EXPECT_TRUE(parents.findObject(page.getKey("/StructParents").getIntValue(), owners));
    const std::regex mcid("/MCID (\\d+)");
    int count = 0;
    for (auto m = std::sregex_iterator(content.begin(), content.end(), mcid); m != std::sregex_iterator(); ++m) {
        const int n = std::stoi((*m)[1]);
        EXPECT_EQ(n, count++) << "numbered in the order drawn";
        QPDFObjectHandle element = owners.getArrayItem(n);
        bool held = false;
        for (QPDFObjectHandle kid : element.getKey("/K").aitems()) {
            held = held || (kid.isInteger() && kid.getIntValue() == n);
        }
        EXPECT_TRUE(held) << n;
        EXPECT_EQ(element.getKey("/Pg").getObjGen(), page.getObjGen());
        int up = 0;
        for (QPDFObjectHandle at = element; !at.isNull() && at.getObjGen() != root.getObjGen() && up < 10; ++up) {
            at = at.getKey("/P");
        }
        EXPECT_LT(up, 10) << n << " reaches the root";
    }
    EXPECT_NE(content.find("/Artifact BMC"), std::string::npos) << "the dot leaders";
    return count;
}

// With a tagged file in, the contents pages are a contents list first in the structure tree: an
// item per line in order, nested by level, each holding its text and a link element tied to its
// link annotation both ways, over as many pages as the list takes; their text is marked and they
// look as they do untagged. Without one, no structure tree is made up.
TEST(ContentsPage, TaggedCombineListsTheContentsInTheStructureTree) {
    TempDir dir;
    PdfBuilder guide;
    guide.addPages(3).setOutline({item("One", 0, 72, 700, {item("One.1", 1)}), item("Two", 2)});
    guide.write(dir.file("guide.pdf"));
    tagFile(dir.file("guide.pdf"), dir.file("tagged.pdf"));
    PdfBuilder().addPages(1).write(dir.file("plain.pdf"));
    const CombineFile plain(dir.file("plain.pdf"), "Plain", 1);
    const struct {
        const char* name;
        bool tagged;
        int guides;  // each lists Guide, One, One.1, Two
        bool duplex;
    } cases[] = {{"untagged", false, 1, false}, {"tagged", true, 1, false}, {"over pages", true, 50, true}};
    std::string untaggedLook;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CombineFile> files(c.guides, {dir.file(c.tagged ? "tagged.pdf" : "guide.pdf"), "Guide", 3});
        files.push_back(plain);
        std::vector<int> levels;
        for (int i = 0; i < c.guides; ++i) {
            levels.insert(levels.end(), {0, 1, 2, 1});
        }
        levels.push_back(0);
        CombineSettings settings;
        settings.contents.depth = -1;
        settings.startFilesOnRightHandPages = c.duplex;
        const std::string out = dir.file("out.pdf");
        combine(files, settings, out);
        EXPECT_EQ(qpdfCheckProblems(out), "");
        const CommandResult look = runCommand({"pdftoppm", "-r", "40", "-f", "1", "-l", "1", out});
        ASSERT_EQ(look.status, 0) << look.err;
        const size_t contents = contentsPages(out);
        QPDF pdf;
        pdf.processFile(out.c_str());
        QPDFObjectHandle root = pdf.getRoot().getKey("/StructTreeRoot");
        if (!c.tagged) {
            untaggedLook = look.out;
            EXPECT_TRUE(root.isNull());
            EXPECT_FALSE(QPDFObjectHandle(pdf.getAllPages().front()).hasKey("/StructParents"));
            continue;
        }
        if (c.guides == 1) {
            EXPECT_TRUE(look.out == untaggedLook) << "marking the content changes nothing drawn";
        }
        ASSERT_TRUE(root.isDictionary());
        QPDFObjectHandle document = root.getKey("/K");  // the root's one kid
        EXPECT_EQ(document.getKey("/S").getName(), "/Document");
        QPDFObjectHandle list = document.getKey("/K").getArrayItem(0);
        EXPECT_EQ(list.getKey("/S").getName(), "/TOC");
        EXPECT_EQ(document.getKey("/K").getArrayItem(1).getKey("/S").getName(), "/Part") << "the files' parts after it";
        EXPECT_EQ(list.getKey("/K").getArrayItem(0).getKey("/S").getName(), "/Caption");
        std::vector<std::pair<QPDFObjectHandle, int>> items;
        collectItems(list, 0, items);
        ASSERT_EQ(items.size(), levels.size());
        // The annotations in page order, and the MCIDs of each page.
        EXPECT_EQ(contents, c.guides > 1 ? 6u : 1u);
        QPDFNumberTreeObjectHelper parents(root.getKey("/ParentTree"), pdf);
        std::vector<QPDFObjectHandle> annotations;
        int marks = 0;
        int blanks = 0;
        for (size_t k = 0; k < contents; ++k) {
            QPDFObjectHandle page = pdf.getAllPages().at(k);
            if (!page.hasKey("/Annots")) {
                EXPECT_FALSE(page.hasKey("/StructParents")) << "a blank page has no content to tie";
                ++blanks;
                continue;
            }
            for (QPDFObjectHandle annotation : page.getKey("/Annots").aitems()) {
                annotations.push_back(annotation);
            }
            marks += checkMarks(page, parents, root);
        }
        EXPECT_EQ(blanks, c.guides > 1 ? 1 : 0) << "five pages of lines, padded to six";
        EXPECT_EQ(marks, static_cast<int>(levels.size()) * 2 + 1) << "the title, each line's text and number";
        ASSERT_EQ(annotations.size(), levels.size());
        const long long nextKey = root.getKey("/ParentTreeNextKey").getIntValue();
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].second, levels[i]) << i;
            // The item's link element: its text's MCIDs, then the reference to its annotation,
            // which leads back to it through the parent tree.
            QPDFObjectHandle link = items[i].first.getKey("/K").getArrayItem(0);
            ASSERT_EQ(link.getKey("/S").getName(), "/Link") << i;
            QPDFObjectHandle kids = link.getKey("/K");
            EXPECT_TRUE(kids.getArrayItem(0).isInteger()) << "its text is in it";
            QPDFObjectHandle reference = kids.getArrayItem(kids.getArrayNItems() - 1);
            EXPECT_EQ(reference.getKey("/Type").getName(), "/OBJR");
            EXPECT_EQ(reference.getKey("/Obj").getObjGen(), annotations[i].getObjGen()) << "in the order of the lines";
            QPDFObjectHandle owner;
            const long long key = annotations[i].getKey("/StructParent").getIntValue();
            ASSERT_TRUE(parents.findObject(key, owner));
            EXPECT_LT(key, nextKey);
            EXPECT_EQ(owner.getObjGen(), link.getObjGen());
        }
    }
}

}  // namespace
}  // namespace tomefuse::test
