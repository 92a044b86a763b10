#include "support/PdfBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <regex>
#include <stdexcept>

namespace tomefuse::test {

namespace {

QPDFObjectHandle numbers(const std::vector<double>& values) {
    auto array = QPDFObjectHandle::newArray();
    for (double v : values) {
        array.appendItem(QPDFObjectHandle::newReal(v, 2, true));
    }
    return array;
}

std::string pageRef(const QPDFObjectHandle& page) {
    return std::to_string(page.getObjectID()) + " " + std::to_string(page.getGeneration()) + " R";
}

QPDFObjectHandle destination(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages, const OutlineSpec& spec) {
    if (!spec.dest.empty()) {
        std::string text = spec.dest;
        if (spec.page) {
            const auto at = text.find("PAGE");
            if (at != std::string::npos) {
                text.replace(at, 4, pageRef(pages.at(static_cast<size_t>(*spec.page))));
            }
        }
        return QPDFObjectHandle::parse(&pdf, text);
    }
    auto array = QPDFObjectHandle::newArray();
    array.appendItem(pages.at(static_cast<size_t>(*spec.page)));
    array.appendItem(QPDFObjectHandle::newName("/XYZ"));
    array.appendItem(QPDFObjectHandle::newReal(spec.left, 2, true));
    array.appendItem(QPDFObjectHandle::newReal(spec.top, 2, true));
    array.appendItem(QPDFObjectHandle::newNull());
    return array;
}

// PDF syntax with "@N" standing for page N's reference.
QPDFObjectHandle parseWithPages(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages, const std::string& text) {
    static const std::regex pageMark("@([0-9]+)");
    std::string out;
    auto last = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), pageMark), end; it != end; ++it) {
        out.append(last, (*it)[0].first);
        out += pageRef(pages.at(std::stoul((*it)[1].str())));
        last = (*it)[0].second;
    }
    out.append(last, text.cend());
    return QPDFObjectHandle::parse(&pdf, out);
}

void appendAnnotation(QPDFObjectHandle page, QPDFObjectHandle annotation) {
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) {
        annots = QPDFObjectHandle::newArray();
        page.replaceKey("/Annots", annots);
    }
    annots.appendItem(annotation);
}

// Returns the number of items below parent (for /Count), all written open.
int addItems(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages, QPDFObjectHandle parent,
             const std::vector<OutlineSpec>& specs) {
    QPDFObjectHandle previous;
    int count = 0;
    for (const OutlineSpec& spec : specs) {
        auto item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        if (spec.title) {
            item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(*spec.title));
        }
        item.replaceKey("/Parent", parent);
        if (spec.page || !spec.dest.empty()) {
            auto dest = destination(pdf, pages, spec);
            item.replaceKey(dest.isDictionary() ? "/A" : "/Dest", dest);
        }
        if (previous.isInitialized()) {
            previous.replaceKey("/Next", item);
            item.replaceKey("/Prev", previous);
        } else {
            parent.replaceKey("/First", item);
        }
        parent.replaceKey("/Last", item);
        const int below = addItems(pdf, pages, item, spec.children);
        if (below > 0) {
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(below));
        }
        count += 1 + below;
        previous = item;
    }
    return count;
}

}  // namespace

PdfBuilder& PdfBuilder::addPage(PageSpec page) {
    pages_.push_back(std::move(page));
    return *this;
}

PdfBuilder& PdfBuilder::addPages(int count, PageSpec page) {
    for (int i = 0; i < count; ++i) {
        addPage(page);
    }
    return *this;
}

PdfBuilder& PdfBuilder::setOutline(std::vector<OutlineSpec> items) {
    outline_ = std::move(items);
    return *this;
}

PdfBuilder& PdfBuilder::inheritAttributes(bool flag) {
    inherit_ = flag;
    return *this;
}

PdfBuilder& PdfBuilder::addNamedDestination(const std::string& name, int page, double left, double top) {
    namedDests_.push_back({name, {static_cast<double>(page), left, top}});
    return *this;
}

PdfBuilder& PdfBuilder::addLink(int page, const std::string& target) {
    links_.push_back({page, target});
    return *this;
}

PdfBuilder& PdfBuilder::addNameTreeDestination(const std::string& name, const std::string& value) {
    treeDests_.push_back({name, value});
    return *this;
}

PdfBuilder& PdfBuilder::addTextField(const std::string& name, int page, const std::string& value) {
    fields_.push_back({name, page, value});
    return *this;
}

PdfBuilder& PdfBuilder::addPageLabel(int page, const std::string& label) {
    labels_.push_back({page, label});
    return *this;
}

void PdfBuilder::write(const std::string& path) const {
    QPDF pdf;
    pdf.emptyPDF();
    auto font = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
    auto resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", QPDFObjectHandle::newDictionary({{"/F1", font}}));
    QPDFPageDocumentHelper helper(pdf);
    std::vector<QPDFObjectHandle> pages;
    int number = 0;
    for (const PageSpec& spec : pages_) {
        ++number;
        const std::string label = spec.label.empty() ? "Page " + std::to_string(number) : spec.label;
        const std::string content = "BT /F1 24 Tf " + std::to_string(spec.originX + 72) + " " +
                                    std::to_string(spec.originY + spec.height - 72) + " Td (" + label + ") Tj ET\n";
        auto page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, content));
        if (!inherit_) {
            page.replaceKey("/MediaBox", numbers({spec.originX, spec.originY, spec.originX + spec.width,
                                                  spec.originY + spec.height}));
            page.replaceKey("/Resources", resources);
            if (spec.rotate != 0) {
                page.replaceKey("/Rotate", QPDFObjectHandle::newInteger(spec.rotate));
            }
        }
        if (spec.cropBox) {
            page.replaceKey("/CropBox", numbers(*spec.cropBox));
        }
        page = pdf.makeIndirectObject(page);
        helper.addPage(page, false);
        pages.push_back(page);
    }

    // Only after the pages are in: adding a page pushes inherited attributes down to the pages.
    if (inherit_ && !pages_.empty()) {
        const PageSpec& first = pages_.front();
        auto pagesNode = pdf.getRoot().getKey("/Pages");
        pagesNode.replaceKey("/MediaBox", numbers({first.originX, first.originY, first.originX + first.width,
                                                   first.originY + first.height}));
        pagesNode.replaceKey("/Rotate", QPDFObjectHandle::newInteger(first.rotate));
        pagesNode.replaceKey("/Resources", resources);
    }

    if (!namedDests_.empty()) {
        auto dests = QPDFObjectHandle::newDictionary();
        for (const auto& [name, where] : namedDests_) {
            auto array = QPDFObjectHandle::newArray();
            array.appendItem(pages.at(static_cast<size_t>(where[0])));
            array.appendItem(QPDFObjectHandle::newName("/XYZ"));
            array.appendItem(QPDFObjectHandle::newReal(where[1], 2, true));
            array.appendItem(QPDFObjectHandle::newReal(where[2], 2, true));
            array.appendItem(QPDFObjectHandle::newNull());
            dests.replaceKey("/" + name, array);
        }
        pdf.getRoot().replaceKey("/Dests", pdf.makeIndirectObject(dests));
    }

    if (!treeDests_.empty()) {
        auto tree = QPDFNameTreeObjectHelper::newEmpty(pdf);
        for (const auto& [name, value] : treeDests_) {
            tree.insert(name, parseWithPages(pdf, pages, value));
        }
        pdf.getRoot().replaceKey("/Names", QPDFObjectHandle::newDictionary({{"/Dests", tree.getObjectHandle()}}));
    }

    std::vector<int> annotationsOnPage(pages.size(), 0);
    for (const auto& [page, target] : links_) {
        auto& onPage = annotationsOnPage.at(static_cast<size_t>(page));
        const double y = 72 + 30 * onPage++;
        auto link = QPDFObjectHandle::parse("<< /Type /Annot /Subtype /Link /Border [0 0 1] >>");
        link.replaceKey("/Rect", numbers({72, y, 300, y + 20}));
        auto value = parseWithPages(pdf, pages, target);
        link.replaceKey(target.rfind("<<", 0) == 0 ? "/A" : "/Dest", value);
        appendAnnotation(pages.at(static_cast<size_t>(page)), pdf.makeIndirectObject(link));
    }

    if (!fields_.empty()) {
        auto fields = QPDFObjectHandle::newArray();
        for (const TextField& spec : fields_) {
            auto& onPage = annotationsOnPage.at(static_cast<size_t>(spec.page));
            const double y = 400 + 40 * onPage++;
            auto appearance = QPDFObjectHandle::newStream(
                &pdf, "/Tx BMC q BT /Helv 12 Tf 0 g 2 8 Td (" + spec.value + ") Tj ET Q EMC\n");
            appearance.replaceDict(QPDFObjectHandle::parse("<< /Type /XObject /Subtype /Form /BBox [0 0 228 30] >>"));
            appearance.getDict().replaceKey(
                "/Resources",
                QPDFObjectHandle::newDictionary({{"/Font", QPDFObjectHandle::newDictionary({{"/Helv", font}})}}));
            auto field =
                QPDFObjectHandle::parse("<< /FT /Tx /Type /Annot /Subtype /Widget /F 4 /DA (/Helv 12 Tf 0 g) >>");
            field.replaceKey("/T", QPDFObjectHandle::newUnicodeString(spec.name));
            field.replaceKey("/V", QPDFObjectHandle::newUnicodeString(spec.value));
            field.replaceKey("/Rect", numbers({72, y, 300, y + 30}));
            field.replaceKey("/P", pages.at(static_cast<size_t>(spec.page)));
            field.replaceKey("/AP", QPDFObjectHandle::newDictionary({{"/N", appearance}}));
            field = pdf.makeIndirectObject(field);
            appendAnnotation(pages.at(static_cast<size_t>(spec.page)), field);
            fields.appendItem(field);
        }
        auto form = QPDFObjectHandle::newDictionary();
        form.replaceKey("/Fields", fields);
        form.replaceKey("/DA", QPDFObjectHandle::newString("/Helv 0 Tf 0 g"));
        form.replaceKey(
            "/DR", QPDFObjectHandle::newDictionary({{"/Font", QPDFObjectHandle::newDictionary({{"/Helv", font}})}}));
        pdf.getRoot().replaceKey("/AcroForm", form);
    }

    if (!labels_.empty()) {
        auto nums = QPDFObjectHandle::newArray();
        for (const auto& [page, label] : labels_) {
            nums.appendItem(QPDFObjectHandle::newInteger(page));
            nums.appendItem(QPDFObjectHandle::parse(label));
        }
        pdf.getRoot().replaceKey("/PageLabels", QPDFObjectHandle::newDictionary({{"/Nums", nums}}));
    }

    if (!outline_.empty()) {
        auto outlines = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>"));
        const int count = addItems(pdf, pages, outlines, outline_);
        outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(count));
        pdf.getRoot().replaceKey("/Outlines", outlines);
    }

    QPDFWriter writer(pdf, path.c_str());
    writer.setDeterministicID(true);
    writer.write();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tomefuse-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void writeTextFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tomefuse::test
