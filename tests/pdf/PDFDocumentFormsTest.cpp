#include <gtest/gtest.h>

#include <filesystem>

#include "pdf/LinkDump.h"

namespace tomefuse::test {
namespace {

using Lines = std::vector<std::string>;

// Each terminal field: "name = value, page P, appearance shows value".
Lines fieldLines(const std::string& path) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    QPDFAcroFormDocumentHelper form(pdf);
    Lines lines;
    for (auto& field : form.getFormFields()) {
        std::string line = field.getFullyQualifiedName() + " = " + field.getValueAsString();
        for (auto& widget : form.getAnnotationsForField(field)) {
            long long page = -1;
            const auto& pages = pdf.getAllPages();
            for (size_t i = 0; i < pages.size(); ++i) {
                for (auto& w : form.getWidgetAnnotationsForPage(QPDFPageObjectHelper(pages[i]))) {
                    if (w.getObjectHandle().getObjGen() == widget.getObjectHandle().getObjGen()) {
                        page = static_cast<long long>(i);
                    }
                }
            }
            QPDFObjectHandle appearance = widget.getAppearanceStream("/N");
            std::string shown = "none";
            if (appearance.isStream()) {
                auto data = appearance.getStreamData(qpdf_dl_generalized);
                const std::string text(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
                shown = text.find("(" + field.getValueAsString() + ")") != std::string::npos ? "its value" : "other";
            }
            line += ", page " + std::to_string(page) + ", shows " + shown;
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(PDFDocumentForms, SameNamedFieldsOfTwoFilesStayTwoFields) {
    TempDir dir;
    PdfBuilder().addPages(1).addTextField("name", 0, "Alice").write(dir.file("alice.pdf"));
    PdfBuilder()
        .addPages(2)
        .addTextField("other", 0, "x")
        .addTextField("name", 1, "Bob")
        .addLink(1, "[@0 /Fit]")
        .write(dir.file("bob.pdf"));
    // Bob's form asks readers to redraw its fields.
    rewritePdf(dir.file("bob.pdf"), dir.file("bob-redraw.pdf"), [](QPDF& pdf) {
        pdf.getRoot().getKey("/AcroForm").replaceKey("/NeedAppearances", QPDFObjectHandle::newBool(true));
    });

    struct Case {
        std::vector<std::string> files;
        Lines fields;
        bool needAppearances;
    };
    const std::vector<Case> cases = {
        {{"alice.pdf", "bob-redraw.pdf"},
         {"name = Alice, page 0, shows its value", "name+1 = Bob, page 2, shows its value",
          "other = x, page 1, shows its value"},
         true},
        {{"bob.pdf", "alice.pdf"},
         {"name = Bob, page 1, shows its value", "name+1 = Alice, page 2, shows its value",
          "other = x, page 0, shows its value"},
         false},
        // The same file twice is two forms.
        {{"alice.pdf", "alice.pdf"},
         {"name = Alice, page 0, shows its value", "name+1 = Alice, page 1, shows its value"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.front() + " + " + c.files.back());
        std::vector<std::string> paths;
        for (const auto& f : c.files) {
            paths.push_back(dir.file(f));
        }
        const std::string out = dir.file("out.pdf");
        ASSERT_TRUE(combineFiles(paths, out));
        EXPECT_EQ(qpdfCheck(out), 0);
        EXPECT_EQ(fieldLines(out), c.fields);

        QPDF pdf;
        pdf.processFile(out.c_str());
        QPDFObjectHandle form = pdf.getRoot().getKey("/AcroForm");
        EXPECT_EQ(form.getKey("/NeedAppearances").isBool() && form.getKey("/NeedAppearances").getBoolValue(),
                  c.needAppearances);
        EXPECT_TRUE(form.getKey("/DR").getKey("/Font").isDictionary()) << "fields' fonts come along";
        // Filling one field in leaves its namesake from the other file alone.
        QPDFAcroFormDocumentHelper helper(pdf);
        auto fields = helper.getFormFields();
        for (auto& field : fields) {
            if (field.getFullyQualifiedName() == "name+1") {
                field.setV(QPDFObjectHandle::newUnicodeString("Carol"), false);
            }
        }
        for (auto& field : helper.getFormFields()) {
            if (field.getFullyQualifiedName() == "name") {
                EXPECT_NE(field.getValueAsString(), "Carol");
            }
        }
    }
    // The form's link still leads within its file.
    ASSERT_TRUE(combineFiles({dir.file("alice.pdf"), dir.file("bob.pdf")}, dir.file("out.pdf")));
    EXPECT_EQ(linkLines(dir.file("out.pdf")), (Lines{"2.0 -> 1 /Fit"}));
}

// Real forms: every field of every file is in the combined form, under a name of its own, and
// the output holds no page objects beyond its pages (fields reach widgets on other pages).
TEST(PDFDocumentForms, CorpusFormsCombineWhole) {
    const std::filesystem::path corpus = std::filesystem::path(TOMEFUSE_CORPUS_DIR) / "qpdf";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << "the corpus is missing: " << corpus;
    TempDir dir;
    const std::vector<std::string> names = {"form-empty-from-odt.pdf", "form-filled-by-acrobat.pdf",
                                            "fields-two-pages.pdf",    "field-types.pdf",
                                            "sample-form.pdf",         "overlay-copy-annotations.pdf"};
    std::vector<std::string> paths;
    size_t fieldsIn = 0;
    size_t pages = 0;
    for (const auto& name : names) {
        paths.push_back((corpus / name).string());
        fieldsIn += fieldLines(paths.back()).size();
        pages += PDFDocument::initWithURL(paths.back())->pageCount();
    }
    const std::string out = dir.file("out.pdf");
    ASSERT_TRUE(combineFiles(paths, out));
    const Lines fields = fieldLines(out);
    EXPECT_EQ(fields.size(), fieldsIn);
    EXPECT_EQ(pageObjectCount(out), pages);
    // The two versions of one form clash on every name; the later one's are renamed.
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(out.c_str());
    QPDFAcroFormDocumentHelper form(pdf);
    std::set<std::string> filled;
    for (auto& field : form.getFormFields()) {
        if (field.getFullyQualifiedName() == "Text Box 1" || field.getFullyQualifiedName() == "Text Box 1+1") {
            filled.insert(field.getFullyQualifiedName() + " = " + field.getValueAsString());
        }
    }
    EXPECT_EQ(filled, (std::set<std::string>{"Text Box 1 = ", "Text Box 1+1 = abc potato"}));
}

}  // namespace
}  // namespace tomefuse::test
