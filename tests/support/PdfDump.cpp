#include "support/PdfDump.h"

#include <cstdio>
#include <map>
#include <memory>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <regex>
#include <set>
#include <sstream>

#include "support/Command.h"

namespace tomefuse::test {

namespace {

std::string number(QPDFObjectHandle value) {
    if (!value.isNumber()) {
        return "null";
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value.getNumericValue());
    return buffer;
}

std::string contentsOf(QPDFPageObjectHelper page) {
    std::string text;
    Pl_String sink("contents", nullptr, text);
    page.pipeContents(&sink);
    return text;
}

void dumpItems(std::ostringstream& out, std::vector<QPDFOutlineObjectHelper> items, int depth,
               const std::map<QPDFObjGen, size_t>& pageIndex, std::set<QPDFObjGen>& seen) {
    for (auto& item : items) {
        if (!seen.insert(item.getObjectHandle().getObjGen()).second) {
            out << std::string(static_cast<size_t>(depth) * 2, ' ') << "<loop>\n";
            continue;
        }
        out << std::string(static_cast<size_t>(depth) * 2, ' ') << item.getTitle() << " -> ";
        QPDFObjectHandle dest = item.getDest();
        QPDFObjectHandle page = dest.isArray() && dest.getArrayNItems() > 0 ? dest.getArrayItem(0) : QPDFObjectHandle();
        auto found = page.isInitialized() ? pageIndex.find(page.getObjGen()) : pageIndex.end();
        if (found == pageIndex.end()) {
            out << "none";
        } else {
            out << "page " << found->second;
            if (dest.getArrayNItems() >= 4 && dest.getArrayItem(1).isNameAndEquals("/XYZ")) {
                out << " (" << number(dest.getArrayItem(2)) << ", " << number(dest.getArrayItem(3)) << ")";
            } else if (dest.getArrayNItems() >= 2 && dest.getArrayItem(1).isName()) {
                out << " " << dest.getArrayItem(1).getName();
            }
        }
        out << "\n";
        dumpItems(out, item.getKids(), depth + 1, pageIndex, seen);
    }
}

struct Opened {
    QPDF pdf;
    std::vector<QPDFPageObjectHelper> pages;
    std::map<QPDFObjGen, size_t> pageIndex;

    explicit Opened(const std::string& path) {
        pdf.setSuppressWarnings(true);
        pdf.processFile(path.c_str());
        pages = QPDFPageDocumentHelper(pdf).getAllPages();
        for (size_t i = 0; i < pages.size(); ++i) {
            pageIndex[pages[i].getObjectHandle().getObjGen()] = i;
        }
    }
};

std::string outlineOf(Opened& opened) {
    std::ostringstream out;
    QPDFOutlineDocumentHelper outlines(opened.pdf);
    std::set<QPDFObjGen> seen;
    dumpItems(out, outlines.getTopLevelOutlines(), 0, opened.pageIndex, seen);
    return out.str();
}

}  // namespace

std::string dumpPdf(const std::string& path) {
    Opened opened(path);
    std::ostringstream out;
    static const std::regex shown(R"(\(([^)]*)\)\s*Tj)");
    for (size_t i = 0; i < opened.pages.size(); ++i) {
        auto& page = opened.pages[i];
        QPDFObjectHandle box = page.getMediaBox();
        double x1 = box.getArrayItem(0).getNumericValue(), y1 = box.getArrayItem(1).getNumericValue();
        double x2 = box.getArrayItem(2).getNumericValue(), y2 = box.getArrayItem(3).getNumericValue();
        QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
        char size[96];
        std::snprintf(size, sizeof size, "%gx%g", x2 - x1, y2 - y1);
        out << "page " << i << ": " << size;
        if (x1 != 0 || y1 != 0) {
            std::snprintf(size, sizeof size, "+%g+%g", x1, y1);
            out << size;
        }
        out << " r" << (rotate.isInteger() ? rotate.getIntValue() : 0);
        std::string contents = contentsOf(page);
        for (std::sregex_iterator it(contents.begin(), contents.end(), shown), end; it != end; ++it) {
            out << " '" << (*it)[1].str() << "'";
        }
        out << "\n";
    }
    out << outlineOf(opened);
    return out.str();
}

std::string dumpOutline(const std::string& path) {
    Opened opened(path);
    return outlineOf(opened);
}

std::vector<std::string> pageContents(const std::string& path) {
    Opened opened(path);
    std::vector<std::string> contents;
    for (auto& page : opened.pages) {
        contents.push_back(contentsOf(page));
    }
    return contents;
}

std::string qpdfCheckProblems(const std::string& path) {
    const CommandResult check = runCommand({"qpdf", "--check", path});
    const bool clean =
        check.status == 0 && check.out.find("No syntax or stream encoding errors found") != std::string::npos;
    return clean ? std::string() : check.out + check.err;
}

}  // namespace tomefuse::test
