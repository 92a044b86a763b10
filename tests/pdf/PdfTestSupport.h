#pragma once

// Helpers shared by the PDF layer's tests: text dumps of documents and outlines, files, the qpdf
// command line. Tests may use libqpdf directly; the code under test may not leak it.

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <sstream>
#include <string>
#include <vector>

#include "platform/pdf/PDFDocument.h"
#include "support/PdfBuilder.h"

namespace tomefuse::test {

inline std::string number(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

// A fixture page; PageSpec's designated initializers would trip -Wmissing-field-initializers.
inline PageSpec makePage(std::string label, double width = 612, double height = 792, int rotate = 0,
                         std::optional<std::vector<double>> cropBox = std::nullopt, double originX = 0,
                         double originY = 0) {
    PageSpec page;
    page.label = std::move(label);
    page.width = width;
    page.height = height;
    page.rotate = rotate;
    page.cropBox = std::move(cropBox);
    page.originX = originX;
    page.originY = originY;
    return page;
}

inline std::string rectText(const PDFRect& r) {
    return "[" + number(r.x) + " " + number(r.y) + " " + number(r.width) + " " + number(r.height) + "]";
}

// One line per item, indented two spaces a level: "label -> page N (x y)" or "label -> none".
// A missing label shows as "<none>". The page index is asked of the given document.
inline std::string dumpOutline(const PDFDocument& document, const std::shared_ptr<PDFOutline>& root) {
    if (!root) {
        return "<no outline>\n";
    }
    std::string out;
    std::vector<std::pair<const PDFOutline*, int>> stack;
    for (size_t i = root->numberOfChildren(); i-- > 0;) {
        stack.push_back({root->childAtIndex(i).get(), 0});
    }
    while (!stack.empty()) {
        auto [item, level] = stack.back();
        stack.pop_back();
        out += std::string(static_cast<size_t>(level) * 2, ' ');
        out += item->label() ? *item->label() : std::string("<none>");
        if (const auto& destination = item->destination()) {
            const uint64_t index = document.indexForPage(destination->page());
            out += " -> page " + (index == NSNotFound ? std::string("?") : std::to_string(index)) + " (" +
                   number(destination->point().x) + " " + number(destination->point().y) + ")";
        } else {
            out += " -> none";
        }
        out += "\n";
        for (size_t i = item->numberOfChildren(); i-- > 0;) {
            stack.push_back({item->childAtIndex(i).get(), level + 1});
        }
    }
    return out;
}

inline std::string dumpOutline(const PDFDocument& document) { return dumpOutline(document, document.outlineRoot()); }

inline size_t countItems(const std::shared_ptr<PDFOutline>& root) {
    if (!root) {
        return 0;
    }
    size_t count = 0;
    std::vector<const PDFOutline*> stack{root.get()};
    while (!stack.empty()) {
        const PDFOutline* item = stack.back();
        stack.pop_back();
        for (size_t i = 0; i < item->numberOfChildren(); ++i) {
            stack.push_back(item->childAtIndex(i).get());
            ++count;
        }
    }
    return count;
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

inline std::string readBytes(const std::string& path) { return readTextFile(path); }

// The exit status of `qpdf --check` on a file: 0 clean, 3 warnings, 2 errors.
inline int qpdfCheck(const std::string& path, std::string* output = nullptr) {
    const std::string log = path + ".check.txt";
    const std::string command = "qpdf --check '" + path + "' > '" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    if (output) {
        *output = readBytes(log);
    }
    std::remove(log.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A page object of a file read with libqpdf (a copy: libqpdf's list is const).
inline QPDFObjectHandle pageOf(QPDF& pdf, size_t index) { return pdf.getAllPages().at(index); }

// The decoded content streams of a page of a file, read with libqpdf itself.
inline std::string pageContents(QPDF& pdf, size_t index) {
    QPDFPageObjectHelper page(pdf.getAllPages().at(index));
    std::string out;
    for (auto& stream : page.getPageContents()) {
        auto buffer = stream.getStreamData(qpdf_dl_generalized);
        out.append(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    }
    return out;
}

// Opens a file with libqpdf, lets a function change it, and writes it to another path.
inline void rewritePdf(const std::string& from, const std::string& to, const std::function<void(QPDF&)>& change,
                       const std::function<void(QPDFWriter&)>& configure = {}) {
    QPDF pdf;
    pdf.processFile(from.c_str());
    change(pdf);
    QPDFWriter writer(pdf, to.c_str());
    writer.setDeterministicID(true);
    if (configure) {
        configure(writer);
    }
    writer.write();
}

// A PDF file from its objects' text, numbered from 1, with an exact cross-reference table.
inline std::string rawPdf(const std::vector<std::string>& objects) {
    std::string out = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return out;
}

// Moves /MediaBox, /CropBox, /Rotate and /Resources of the first page of a file to its /Pages node
// and removes them from every page, so that all pages inherit them. (Edits the objects directly:
// libqpdf's page API would push them back down.)
inline void makeInherited(const std::string& from, const std::string& to) {
    rewritePdf(from, to, [](QPDF& pdf) {
        auto pagesNode = pdf.getRoot().getKey("/Pages");
        auto pages = pdf.getAllPages();
        for (const char* key : {"/MediaBox", "/CropBox", "/Rotate", "/Resources"}) {
            auto value = pages.front().getKey(key);
            if (!value.isNull()) {
                pagesNode.replaceKey(key, value);
            }
            for (auto& page : pages) {
                page.removeKey(key);
            }
        }
    });
}

}  // namespace tomefuse::test
