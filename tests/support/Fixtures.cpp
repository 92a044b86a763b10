#include "support/Fixtures.h"

#include <cstdio>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace tomefuse::test {

std::string makePdf(const TempDir& dir, const std::string& name, int count, std::vector<OutlineSpec> outline,
                    const std::string& prefix) {
    PdfBuilder builder;
    for (int i = 1; i <= count; ++i) {
        PageSpec page;
        page.label = prefix + std::to_string(i);
        builder.addPage(page);
    }
    builder.setOutline(std::move(outline));
    std::string path = dir.file(name);
    builder.write(path);
    return path;
}

void touchOutlineRoot(const std::string& path, const std::string* title) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    QPDFObjectHandle root = pdf.getRoot();
    if (!root.hasKey("/Outlines")) {
        root.replaceKey("/Outlines", pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>")));
    }
    if (title) {
        root.getKey("/Outlines").replaceKey("/Title", QPDFObjectHandle::newUnicodeString(*title));
    }
    std::string temporary = path + ".new";
    QPDFWriter writer(pdf, temporary.c_str());
    writer.setDeterministicID(true);
    writer.write();
    std::rename(temporary.c_str(), path.c_str());
}

OutlineSpec item(const std::string& title, int page, double left, double top, std::vector<OutlineSpec> children) {
    OutlineSpec outline;
    outline.title = title;
    outline.page = page;
    outline.left = left;
    outline.top = top;
    outline.children = std::move(children);
    return outline;
}

OutlineSpec headingItem(const std::string& title, int page, std::vector<OutlineSpec> children) {
    return item(title, page, 0, 792, std::move(children));
}

}  // namespace tomefuse::test
