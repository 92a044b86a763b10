// What a source's catalog gives the whole file: layers with their default states, attachments
// under unique names with their bytes, associated files, survive the combine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFNumberTreeObjectHelper.hh>
#include <set>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {
namespace {

// A one-page file: catalog 1, pages 2, page 3 with the given entries, then the given objects.
std::string onePage(const std::string& catalogEntries, const std::string& pageEntries,
                    const std::vector<std::string>& objects, const std::string& content = "") {
    std::vector<std::string> all = {
        "<< /Type /Catalog /Pages 2 0 R " + catalogEntries + " >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R " + pageEntries + " >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream"};
    all.insert(all.end(), objects.begin(), objects.end());
    return rawPdf(all);
}

std::string layered(const std::string& config) {
    return onePage("/OCProperties << /OCGs [5 0 R 6 0 R] /D " + config + " >>",
                   "/Resources << /Properties << /Shown 5 0 R /Hidden 6 0 R >> >>",
                   {"<< /Type /OCG /Name (Text) >>", "<< /Type /OCG /Name (Draft) >>"},
                   "/OC /Shown BDC 0 0 10 10 re f EMC /OC /Hidden BDC 20 20 10 10 re f EMC");
}

std::string attaching(const std::string& bytes, const std::string& catalogExtra = "", const std::string& page = "") {
    return onePage(
        "/Names << /EmbeddedFiles << /Names [(data.xml) 5 0 R] >> >> " + catalogExtra, page,
        {"<< /Type /Filespec /F (data.xml) /UF (data.xml) /EF << /F 6 0 R >> >>",
         "<< /Type /EmbeddedFile /Length " + std::to_string(bytes.size()) + " >>\nstream\n" + bytes + "\nendstream"});
}

// Every page of each file, in a document written as it is assembled; leftOut gets what each file's
// catalog gave that the combined file does not carry.
void combine(const std::vector<std::string>& inputs, const std::string& out,
             std::vector<std::string>* leftOut = nullptr) {
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    PDFWriteTarget target;
    target.fd = fd;
    auto document = PDFDocument::initWritingToFile(std::move(target));
    for (const std::string& input : inputs) {
        auto source = PDFDocument::initWithURL(input);
        ASSERT_NE(source, nullptr) << input;
        std::vector<uint64_t> pages(source->pageCount());
        for (uint64_t i = 0; i < pages.size(); ++i) {
            pages[i] = i;
        }
        ASSERT_EQ(document->insertPages(*source, pages), PDFInsertResult::inserted) << input;
        if (leftOut) {
            leftOut->push_back(document->lastCatalogLeftOut());
        }
        document->finishPagesFrom(*source);
    }
    ASSERT_TRUE(document->finishWriting()) << document->lastError();
    ::close(fd);
}

std::set<QPDFObjGen> groupsOf(QPDFObjectHandle array) {
    std::set<QPDFObjGen> groups;
    for (auto& item : array.aitems()) {
        groups.insert(item.getObjGen());
    }
    return groups;
}

std::string streamBytes(QPDFObjectHandle stream) {
    auto buffer = stream.getStreamData(qpdf_dl_generalized);
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

TEST(PDFDocumentCatalog, LayersOfEveryFileKeepTheirStates) {
    TempDir dir;
    // Two files with layers of the same names: one hides Draft by listing it off, the other by
    // a base state of OFF; the first has radio buttons, a lock and a zoom state.
    writeBytes(dir.file("first.pdf"),
               layered("<< /OFF [6 0 R] /Order [5 0 R [(Extras) 6 0 R]] /RBGroups [[5 0 R 6 0 R]] /Locked [5 0 R] "
                       "/AS [<< /Event /View /Category [/Zoom] /OCGs [5 0 R] >>] >>"));
    writeBytes(dir.file("second.pdf"),
               layered("<< /BaseState /OFF /ON [5 0 R] /AS [<< /Event /View /Category [/Zoom] /OCGs [6 0 R] >>] >>"));
    PdfBuilder().addPage().write(dir.file("plain.pdf"));
    combine({dir.file("first.pdf"), dir.file("plain.pdf"), dir.file("second.pdf")}, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);

    QPDF pdf;
    pdf.processFile(dir.file("out.pdf").c_str());
    QPDFObjectHandle properties = pdf.getRoot().getKey("/OCProperties");
    ASSERT_TRUE(properties.isDictionary());
    const auto all = groupsOf(properties.getKey("/OCGs"));
    ASSERT_EQ(all.size(), 4u) << "groups of the same name stay distinct";
    QPDFObjectHandle config = properties.getKey("/D");
    const auto off = groupsOf(config.getKey("/OFF"));
    std::set<QPDFObjGen> hidden;
    for (size_t page : {0u, 2u}) {
        QPDFObjectHandle used = pageOf(pdf, page).getKey("/Resources").getKey("/Properties");
        EXPECT_TRUE(all.count(used.getKey("/Shown").getObjGen()));
        EXPECT_FALSE(off.count(used.getKey("/Shown").getObjGen())) << "page " << page;
        EXPECT_TRUE(off.count(used.getKey("/Hidden").getObjGen())) << "page " << page;
        hidden.insert(used.getKey("/Hidden").getObjGen());
        EXPECT_EQ(used.getKey("/Hidden").getKey("/Name").getUTF8Value(), "Draft");
    }
    EXPECT_EQ(off, hidden);
    EXPECT_TRUE(!config.hasKey("/BaseState") || config.getKey("/BaseState").getName() == "/ON");

    // One node per file with layers, named after it, holding that file's own order.
    QPDFObjectHandle order = config.getKey("/Order");
    ASSERT_EQ(order.getArrayNItems(), 2);
    EXPECT_EQ(order.getArrayItem(0).getArrayItem(0).getUTF8Value(), "first");
    EXPECT_EQ(order.getArrayItem(0).getArrayItem(2).getArrayItem(0).getUTF8Value(), "Extras");
    EXPECT_EQ(order.getArrayItem(1).getArrayItem(0).getUTF8Value(), "second");
    EXPECT_EQ(order.getArrayItem(1).getArrayNItems(), 3);
    EXPECT_EQ(config.getKey("/RBGroups").getArrayNItems(), 1);
    EXPECT_EQ(groupsOf(config.getKey("/RBGroups").getArrayItem(0)).size(), 2u);
    EXPECT_EQ(config.getKey("/Locked").getArrayNItems(), 1);
    QPDFObjectHandle usage = config.getKey("/AS");
    ASSERT_EQ(usage.getArrayNItems(), 1) << "the same event and category are one entry";
    EXPECT_EQ(usage.getArrayItem(0).getKey("/OCGs").getArrayNItems(), 2);
}

TEST(PDFDocumentCatalog, AttachmentsOfEveryFileKeepTheirBytesUnderUniqueNames) {
    TempDir dir;
    const std::string first = "<invoice>1</invoice>";
    const std::string second = "<invoice>2, another</invoice>";
    writeBytes(dir.file("one.pdf"),
               attaching(first, "/AF [5 0 R]",
                         "/Annots [<< /Type /Annot /Subtype /FileAttachment /Rect [0 0 20 20] /FS 5 0 R >>]"));
    writeBytes(dir.file("two.pdf"), attaching(second));
    combine({dir.file("one.pdf"), dir.file("two.pdf")}, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);

    QPDF pdf;
    pdf.processFile(dir.file("out.pdf").c_str());
    QPDFObjectHandle names = pdf.getRoot().getKey("/Names").getKey("/EmbeddedFiles").getKey("/Names");
    ASSERT_EQ(names.getArrayNItems(), 4);
    std::set<std::string> keys;
    std::vector<std::string> contents;
    for (int i = 0; i < 4; i += 2) {
        keys.insert(names.getArrayItem(i).getUTF8Value());
        QPDFObjectHandle spec = names.getArrayItem(i + 1);
        EXPECT_EQ(spec.getKey("/UF").getUTF8Value(), "data.xml") << "the name a viewer shows stays";
        EXPECT_EQ(spec.getKey("/F").getUTF8Value(), "data.xml");
        contents.push_back(streamBytes(spec.getKey("/EF").getKey("/F")));
    }
    EXPECT_EQ(keys.size(), 2u);
    EXPECT_TRUE(keys.count("data.xml"));
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{first, second}));

    QPDFObjectHandle associated = pdf.getRoot().getKey("/AF");
    ASSERT_EQ(associated.getArrayNItems(), 1);
    EXPECT_EQ(streamBytes(associated.getArrayItem(0).getKey("/EF").getKey("/F")), first);
    QPDFObjectHandle annotation = pageOf(pdf, 0).getKey("/Annots").getArrayItem(0);
    EXPECT_EQ(streamBytes(annotation.getKey("/FS").getKey("/EF").getKey("/F")), first) << "travels with its page";
}

// A tagged page: a heading and a link, each with an MCID, the link's annotation tied to it too.
std::string tagged(const std::string& role, const std::string& padding, const std::string& lang) {
    return onePage(
        "/StructTreeRoot 5 0 R /MarkInfo << /Marked true >> /Lang (" + lang + ")", "/StructParents 0 /Annots [9 0 R]",
        {"<< /Type /StructTreeRoot /K 6 0 R /ParentTree 8 0 R /ParentTreeNextKey 2 /RoleMap << /Heading " + role +
             " >> /ClassMap << /Box << /O /Layout /Padding " + padding +
             " >> >> /IDTree << /Names [(intro) 7 0 R] >> >>",
         "<< /Type /StructElem /S /Document /P 5 0 R /K [7 0 R 10 0 R] >>",
         "<< /Type /StructElem /S /Heading /P 6 0 R /Pg 3 0 R /K 0 /ID (intro) /C /Box >>",
         "<< /Nums [0 [7 0 R 10 0 R] 1 10 0 R] >>",
         "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /StructParent 1 /A << /S /URI /URI (https://example.org) "
         ">> >>",
         "<< /Type /StructElem /S /Link /P 6 0 R /Pg 3 0 R /K [1 << /Type /OBJR /Obj 9 0 R >>] >>"},
        "/Heading << /MCID 0 >> BDC BT ET EMC /Link << /MCID 1 >> BDC BT ET EMC");
}

TEST(PDFDocumentCatalog, TaggedFilesMakeOneStructureTree) {
    TempDir dir;
    // The second file maps the same role, and names the same class and ID, differently.
    writeBytes(dir.file("first.pdf"), tagged("/H1", "2", "en-GB"));
    writeBytes(dir.file("second.pdf"), tagged("/H2", "5", "de"));
    // A key into a parent tree its file does not have would lead into the first file's.
    writeBytes(dir.file("plain.pdf"), onePage("", "/StructParents 0", {}));
    combine({dir.file("first.pdf"), dir.file("plain.pdf"), dir.file("second.pdf")}, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);

    QPDF pdf;
    pdf.processFile(dir.file("out.pdf").c_str());
    QPDFObjectHandle catalog = pdf.getRoot();
    EXPECT_TRUE(catalog.getKey("/MarkInfo").getKey("/Marked").getBoolValue());
    QPDFObjectHandle root = catalog.getKey("/StructTreeRoot");
    // The root's one kid is the document; under it, one element per tagged file.
    QPDFObjectHandle document = root.getKey("/K");
    EXPECT_EQ(document.getKey("/S").getName(), "/Document");
    EXPECT_EQ(document.getKey("/P").getObjGen(), root.getObjGen());
    ASSERT_EQ(document.getKey("/K").getArrayNItems(), 2);
    const std::pair<const char*, const char*> parts[] = {{"first", "en-GB"}, {"second", "de"}};
    for (int i = 0; i < 2; ++i) {
        QPDFObjectHandle part = document.getKey("/K").getArrayItem(i);
        EXPECT_EQ(part.getKey("/S").getName(), "/Part");
        EXPECT_EQ(part.getKey("/T").getUTF8Value(), parts[i].first);
        EXPECT_EQ(part.getKey("/Lang").getUTF8Value(), parts[i].second);
        EXPECT_EQ(part.getKey("/P").getObjGen(), document.getObjGen());
    }

    QPDFNumberTreeObjectHelper parents(root.getKey("/ParentTree"), pdf);
    std::set<std::string> headingRoles;
    std::set<std::string> classes;
    for (size_t index : {0u, 2u}) {
        SCOPED_TRACE("page " + std::to_string(index));
        QPDFObjectHandle page = pageOf(pdf, index);
        QPDFObjectHandle marked;
        ASSERT_TRUE(parents.findObject(page.getKey("/StructParents").getIntValue(), marked));
        ASSERT_EQ(marked.getArrayNItems(), 2);
        for (int mcid = 0; mcid < 2; ++mcid) {
            QPDFObjectHandle element = marked.getArrayItem(mcid);
            EXPECT_EQ(element.getKey("/Pg").getObjGen(), page.getObjGen());
            // Up through /P to the root.
            QPDFObjectHandle up = element;
            for (int depth = 0; depth < 5 && !up.getKey("/P").isNull(); ++depth) {
                up = up.getKey("/P");
            }
            EXPECT_EQ(up.getObjGen(), root.getObjGen());
        }
        QPDFObjectHandle heading = marked.getArrayItem(0);
        headingRoles.insert(heading.getKey("/S").getName());
        classes.insert(heading.getKey("/C").getName());
        QPDFObjectHandle annotation = page.getKey("/Annots").getArrayItem(0);
        QPDFObjectHandle link;
        ASSERT_TRUE(parents.findObject(annotation.getKey("/StructParent").getIntValue(), link));
        EXPECT_EQ(link.getKey("/K").getArrayItem(1).getKey("/Obj").getObjGen(), annotation.getObjGen());
        QPDFNameTreeObjectHelper ids(root.getKey("/IDTree"), pdf);
        QPDFObjectHandle byId;
        ASSERT_TRUE(ids.findObject(heading.getKey("/ID").getUTF8Value(), byId));
        EXPECT_EQ(byId.getObjGen(), heading.getObjGen());
    }
    EXPECT_GT(root.getKey("/ParentTreeNextKey").getIntValue(), pageOf(pdf, 2).getKey("/StructParents").getIntValue());
    EXPECT_FALSE(pageOf(pdf, 1).hasKey("/StructParents"));
    // Each file's heading keeps its meaning under a role and class of its own.
    ASSERT_EQ(headingRoles.size(), 2u);
    std::set<std::string> meanings;
    for (const std::string& role : headingRoles) {
        meanings.insert(root.getKey("/RoleMap").getKey(role).getName());
    }
    EXPECT_EQ(meanings, (std::set<std::string>{"/H1", "/H2"}));
    ASSERT_EQ(classes.size(), 2u);
    std::set<long long> paddings;
    for (const std::string& name : classes) {
        paddings.insert(root.getKey("/ClassMap").getKey(name).getKey("/Padding").getIntValue());
    }
    EXPECT_EQ(paddings, (std::set<long long>{2, 5}));
}

// Two files alike in every byte still give two layers, two attached files and two structure
// elements, also where their types are left out; the tree's objects sit in object streams.
// Two tagged pages: P1 and Span1 mark page 1, P2 and Span2 (through a marked-content reference)
// page 2; Span1 and Span2 are in one section.
std::string taggedTwoPages() {
    const std::string mcids = "/P << /MCID 0 >> BDC EMC /Span << /MCID 1 >> BDC EMC";
    const std::string content = "<< /Length " + std::to_string(mcids.size()) + " >>\nstream\n" + mcids + "\nendstream";
    auto element = [](const std::string& title, const std::string& rest) {
        return "<< /Type /StructElem /T (" + title + ") " + rest + " >>";
    };
    return rawPdf({"<< /Type /Catalog /Pages 2 0 R /StructTreeRoot 5 0 R /MarkInfo << /Marked true >> >>",
                   "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
                   "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 10 0 R /StructParents 0 >>",
                   "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 11 0 R /StructParents 1 >>",
                   "<< /Type /StructTreeRoot /K 6 0 R /ParentTreeNextKey 2 /ParentTree << /Nums [0 [7 0 R 9 0 R] "
                   "1 [8 0 R 12 0 R]] >> /IDTree << /Names [(one) 7 0 R (two) 8 0 R] >> >>",
                   element("Doc", "/S /Document /P 5 0 R /K [7 0 R 8 0 R 13 0 R]"),
                   element("P1", "/S /P /P 6 0 R /Pg 3 0 R /K 0 /ID (one)"),
                   element("P2", "/S /P /P 6 0 R /Pg 4 0 R /K 0 /ID (two)"),
                   element("Span1", "/S /Span /P 13 0 R /Pg 3 0 R /K 1"), content, content,
                   element("Span2", "/S /Span /P 13 0 R /K [<< /Type /MCR /Pg 4 0 R /MCID 1 >>]"),
                   element("Sect", "/S /Sect /P 6 0 R /K [9 0 R 12 0 R]")});
}

// The titles of the elements reachable from the root, failing on a kid or a parent-tree value
// that leads nowhere.
void collectElements(QPDFObjectHandle kids, std::set<std::string>& titles) {
    if (kids.isArray()) {
        for (QPDFObjectHandle kid : kids.aitems()) {
            EXPECT_FALSE(kid.isNull()) << "a kid that went is left out, not left as null";
            collectElements(kid, titles);
        }
    } else if (kids.isDictionary() && kids.hasKey("/S")) {
        if (kids.hasKey("/T")) {
            titles.insert(kids.getKey("/T").getUTF8Value());
        }
        collectElements(kids.getKey("/K"), titles);
    } else if (kids.isDictionary()) {
        EXPECT_TRUE(kids.getKey("/Pg").isDictionary()) << "a marked-content reference keeps its page";
    }
}

TEST(PDFDocumentCatalog, ElementsGoWithThePagesTheyMark) {
    TempDir dir;
    writeBytes(dir.file("tagged.pdf"), taggedTwoPages());
    const struct {
        std::vector<uint64_t> pages;
        std::set<std::string> elements, ids;
    } cases[] = {
        {{0, 1}, {"tagged", "Doc", "P1", "P2", "Sect", "Span1", "Span2"}, {"one", "two"}},
        {{0}, {"tagged", "Doc", "P1", "Sect", "Span1"}, {"one"}},
        {{1}, {"tagged", "Doc", "P2", "Sect", "Span2"}, {"two"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pages));
        {
            const int fd = ::open(dir.file("out.pdf").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            PDFWriteTarget target;
            target.fd = fd;
            auto document = PDFDocument::initWritingToFile(std::move(target));
            auto source = PDFDocument::initWithURL(dir.file("tagged.pdf"));
            ASSERT_EQ(document->insertPages(*source, c.pages), PDFInsertResult::inserted);
            document->finishPagesFrom(*source);
            ASSERT_TRUE(document->finishWriting()) << document->lastError();
            ::close(fd);
        }
        EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);
        QPDF pdf;
        pdf.processFile(dir.file("out.pdf").c_str());
        QPDFObjectHandle root = pdf.getRoot().getKey("/StructTreeRoot");
        std::set<std::string> titles;
        collectElements(root.getKey("/K"), titles);
        EXPECT_EQ(titles, c.elements);
        std::set<std::string> ids;
        QPDFNameTreeObjectHelper idTree(root.getKey("/IDTree"), pdf);
        for (auto [id, element] : idTree) {
            ids.insert(id);
            EXPECT_TRUE(titles.count(element.getKey("/T").getUTF8Value()));
        }
        EXPECT_EQ(ids, c.ids);
        QPDFNumberTreeObjectHelper parents(root.getKey("/ParentTree"), pdf);
        for (auto [key, marked] : parents) {
            for (QPDFObjectHandle element : marked.aitems()) {
                EXPECT_TRUE(element.isNull() || titles.count(element.getKey("/T").getUTF8Value())) << key;
            }
        }
        for (QPDFObjectHandle page : pdf.getAllPages()) {
            QPDFObjectHandle marked;
            ASSERT_TRUE(parents.findObject(page.getKey("/StructParents").getIntValue(), marked));
            EXPECT_FALSE(marked.getArrayItem(0).isNull()) << "each page's MCID 0 leads to its element";
        }
    }
}

TEST(PDFDocumentCatalog, ObjectsWithIdentityStayApartWhereFilesAreAlike) {
    TempDir dir;
    const std::string bytes = "the same attached bytes";
    writeBytes(dir.file("same.pdf"),
               onePage("/OCProperties << /OCGs [5 0 R] /D << /OFF [5 0 R] >> >> "
                       "/Names << /EmbeddedFiles << /Names [(a.txt) 6 0 R] >> >> /StructTreeRoot 8 0 R",
                       "/StructParents 0 /Resources << /Properties << /MC0 5 0 R >> >>",
                       {"<< /Name (Draft) >>", "<< /F (a.txt) /EF << /F 7 0 R >> >>",
                        "<< /Length " + std::to_string(bytes.size()) + " >>\nstream\n" + bytes + "\nendstream",
                        "<< /Type /StructTreeRoot /K [9 0 R] /ParentTree << /Nums [0 [9 0 R]] >> >>",
                        "<< /S /Figure /Alt (a chart) >>"},
                       "/Figure << /MCID 0 >> BDC EMC"));
    combine({dir.file("same.pdf"), dir.file("same.pdf")}, dir.file("out.pdf"));
    EXPECT_EQ(qpdfCheck(dir.file("out.pdf")), 0);

    QPDF pdf;
    pdf.processFile(dir.file("out.pdf").c_str());
    const auto groups = groupsOf(pdf.getRoot().getKey("/OCProperties").getKey("/OCGs"));
    EXPECT_EQ(groups.size(), 2u);
    EXPECT_EQ(groupsOf(pdf.getRoot().getKey("/OCProperties").getKey("/D").getKey("/OFF")), groups);
    std::set<QPDFObjGen> files;
    QPDFNameTreeObjectHelper attachments(pdf.getRoot().getKey("/Names").getKey("/EmbeddedFiles"), pdf);
    for (auto& [key, spec] : attachments) {
        QPDFObjectHandle stream = spec.getKey("/EF").getKey("/F");
        EXPECT_EQ(streamBytes(stream), bytes);
        files.insert(stream.getObjGen());
    }
    EXPECT_EQ(files.size(), 2u);
    QPDFObjectHandle root = pdf.getRoot().getKey("/StructTreeRoot");
    QPDFNumberTreeObjectHelper parents(root.getKey("/ParentTree"), pdf);
    std::set<QPDFObjGen> elements;
    const auto xref = pdf.getXRefTable();
    for (size_t index : {0u, 1u}) {
        QPDFObjectHandle page = pageOf(pdf, index);
        QPDFObjectHandle marked;
        ASSERT_TRUE(parents.findObject(page.getKey("/StructParents").getIntValue(), marked));
        QPDFObjectHandle element = marked.getArrayItem(0);
        EXPECT_EQ(element.getKey("/Alt").getUTF8Value(), "a chart");
        EXPECT_TRUE(groups.count(page.getKey("/Resources").getKey("/Properties").getKey("/MC0").getObjGen()));
        elements.insert(element.getObjGen());
        EXPECT_EQ(xref.at(element.getObjGen()).getType(), 2) << "in an object stream";
    }
    EXPECT_EQ(elements.size(), 2u);
    EXPECT_EQ(xref.at(root.getObjGen()).getType(), 2);
}

TEST(PDFDocumentCatalog, EachCatalogKeyIsKeptOrLeftOutOnPurpose) {
    TempDir dir;
    const std::string everything =
        "/Lang (en-GB) /OpenAction [3 0 R /Fit] /AA << /WC << /S /JavaScript /JS (app.alert(1)) >> >> "
        "/ViewerPreferences << /DisplayDocTitle true >> /PageLayout /TwoColumnLeft /PageMode /UseThumbs "
        "/OutputIntents [<< /Type /OutputIntent /S /GTS_PDFA1 /OutputConditionIdentifier (sRGB) >>] "
        "/Names << /JavaScript << /Names [(calc) << /S /JavaScript /JS (1) >>] >> >> "
        "/AF [<< /Type /Filespec /F (x.txt) /AFRelationship /Data >>]";
    writeBytes(dir.file("a.pdf"), onePage(everything, "", {}));
    writeBytes(dir.file("b.pdf"), onePage(everything, "", {}));
    writeBytes(dir.file("german.pdf"), onePage("/Lang (de)", "", {}));
    // Output intents with a profile, whose bytes tell them apart.
    auto printing = [](const std::string& profile) {
        return onePage(
            "/OutputIntents [<< /Type /OutputIntent /S /GTS_PDFX /DestOutputProfile 5 0 R >>]", "",
            {"<< /N 4 /Length " + std::to_string(profile.size()) + " >>\nstream\n" + profile + "\nendstream"});
    };
    writeBytes(dir.file("coated.pdf"), printing("coated profile"));
    writeBytes(dir.file("coated2.pdf"), printing("coated profile"));
    writeBytes(dir.file("uncoated.pdf"), printing("uncoated profile"));
    // A form whose field's total is worked out by a function its document script defines.
    writeBytes(dir.file("form.pdf"),
               onePage("/AcroForm << /Fields [5 0 R] >> /Names << /JavaScript << /Names [(calc) 6 0 R] >> >>",
                       "/Annots [5 0 R]",
                       {"<< /Type /Annot /Subtype /Widget /FT /Tx /T (total) /Rect [0 0 50 20] /P 3 0 R "
                        "/AA << /C << /S /JavaScript /JS (event.value = sum();) >> >> >>",
                        "<< /S /JavaScript /JS (function sum() { return 3; }) >>"}));
    const struct {
        std::vector<std::string> files;
        std::string key;
        bool kept;
    } cases[] = {
        {{"a", "b"}, "/Lang", true},  // the files agree
        {{"a", "german"}, "/Lang", false},
        {{"a", "b"}, "/AF", true},
        // Nothing acts on opening the combined file, nor on closing it.
        {{"a", "b"}, "/OpenAction", false},
        {{"a", "b"}, "/AA", false},
        // One file's wishes for the viewer and for printing are not the combined file's.
        {{"a", "b"}, "/ViewerPreferences", false},
        {{"a", "b"}, "/PageLayout", false},
        {{"a", "b"}, "/PageMode", false},  // shows the bookmarks only when there are any
        // The device the colours were made for, where every file was made for the same.
        {{"a", "b"}, "/OutputIntents", true},
        {{"coated", "coated2"}, "/OutputIntents", true},
        {{"coated", "uncoated"}, "/OutputIntents", false},
        {{"a", "german"}, "/OutputIntents", false},
        {{"a", "b"}, "/Names", false},    // no destinations, attachments, or scripts to run
        {{"form", "a"}, "/Names", true},  // what the form's calculation calls
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + " of " + c.files[0] + " and " + c.files[1]);
        combine({dir.file(c.files[0] + ".pdf"), dir.file(c.files[1] + ".pdf")}, dir.file("out.pdf"));
        QPDF pdf;
        pdf.processFile(dir.file("out.pdf").c_str());
        EXPECT_EQ(pdf.getRoot().hasKey(c.key), c.kept);
        if (c.files[0] == "coated" && c.kept) {
            auto data = pdf.getRoot()
                            .getKey("/OutputIntents")
                            .getArrayItem(0)
                            .getKey("/DestOutputProfile")
                            .getStreamData(qpdf_dl_generalized);
            const std::string profile(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
            EXPECT_EQ(profile, "coated profile");
        }
    }
    // Each form keeps its script, under a name of its own.
    combine({dir.file("form.pdf"), dir.file("form.pdf")}, dir.file("out.pdf"));
    QPDF forms;
    forms.processFile(dir.file("out.pdf").c_str());
    QPDFNameTreeObjectHelper scripts(forms.getRoot().getKey("/Names").getKey("/JavaScript"), forms);
    std::vector<std::string> scriptNames;
    for (const auto& [name, action] : scripts) {
        scriptNames.push_back(name);
        EXPECT_EQ(QPDFObjectHandle(action).getKey("/JS").getUTF8Value(), "function sum() { return 3; }");
    }
    EXPECT_EQ(scriptNames, (std::vector<std::string>{"calc", "calc (2)"}));
    // Nothing goes unsaid: what a file's catalog held that the combined file leaves out is named
    // (for the log); what is merged or written anew is not.
    std::vector<std::string> leftOut;
    combine({dir.file("a.pdf"), dir.file("german.pdf")}, dir.file("out.pdf"), &leftOut);
    EXPECT_EQ(leftOut, (std::vector<std::string>{
                           "/AA, /OpenAction, /PageLayout, /ViewerPreferences, /Names /JavaScript", "/OutputIntents"}));
}

}  // namespace
}  // namespace tomefuse::test
