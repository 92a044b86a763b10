#pragma once

// Links, named destinations, fields and page labels of a written file as text, read back with
// libqpdf alone (not with the code under test), so a whole combined document is one table.

#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>
#include <set>

#include "pdf/PdfTestSupport.h"

namespace tomefuse::test {

inline long long pageIndexOf(QPDF& pdf, QPDFObjectHandle page) {
    const auto& pages = pdf.getAllPages();
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].getObjGen() == page.getObjGen()) {
            return static_cast<long long>(i);
        }
    }
    return -1;
}

inline QPDFObjectHandle lookUpName(QPDF& pdf, const std::string& key) {
    QPDFObjectHandle names = pdf.getRoot().getKey("/Names");
    if (names.isDictionary() && names.getKey("/Dests").isDictionary()) {
        QPDFNameTreeObjectHelper tree(names.getKey("/Dests"), pdf);
        QPDFObjectHandle value;
        if (tree.findObject(key, value)) {
            return value;
        }
    }
    QPDFObjectHandle dests = pdf.getRoot().getKey("/Dests");
    return dests.isDictionary() ? dests.getKey("/" + key) : QPDFObjectHandle::newNull();
}

// "3 /XYZ 72 700 null": the target page's index, then the view as written. A destination that
// leads to no page of the document: "unresolved" and what it was.
inline std::string destinationText(QPDF& pdf, QPDFObjectHandle dest) {
    const std::string original = dest.unparse();
    for (int depth = 0; depth < 10; ++depth) {
        if (dest.isName()) {
            dest = lookUpName(pdf, dest.getName().substr(1));
        } else if (dest.isString()) {
            dest = lookUpName(pdf, dest.getUTF8Value());
        } else if (dest.isDictionary()) {
            dest = dest.getKey("/D");
        } else {
            break;
        }
    }
    if (!dest.isArray() || dest.getArrayNItems() < 1 || !dest.getArrayItem(0).isIndirect() ||
        pageIndexOf(pdf, dest.getArrayItem(0)) < 0) {
        return "unresolved " + original;
    }
    std::string text = std::to_string(pageIndexOf(pdf, dest.getArrayItem(0)));
    for (int i = 1; i < dest.getArrayNItems(); ++i) {
        text += " " + dest.getArrayItem(i).unparse();
    }
    return text;
}

// An action and those chained to it, in order, joined by " + ".
inline std::string actionText(QPDF& pdf, QPDFObjectHandle action) {
    std::vector<std::string> parts;
    std::vector<QPDFObjectHandle> stack{action};
    std::set<QPDFObjGen> seen;
    while (!stack.empty() && parts.size() < 20) {
        QPDFObjectHandle a = stack.back();
        stack.pop_back();
        if (a.isIndirect() && !seen.insert(a.getObjGen()).second) {
            continue;
        }
        if (a.isArray()) {
            for (int i = a.getArrayNItems(); i-- > 0;) {
                stack.push_back(a.getArrayItem(i));
            }
            continue;
        }
        if (!a.isDictionary()) {
            continue;
        }
        const std::string type = a.getKey("/S").isName() ? a.getKey("/S").getName() : "?";
        if (type == "/GoTo") {
            parts.push_back("goto " + destinationText(pdf, a.getKey("/D")));
        } else if (type == "/URI") {
            parts.push_back("uri " + a.getKey("/URI").getUTF8Value());
        } else {
            parts.push_back(type.substr(1) + " " + a.getKey("/D").unparse());
        }
        stack.push_back(a.getKey("/Next"));
    }
    std::string text;
    for (const auto& part : parts) {
        text += (text.empty() ? "" : " + ") + part;
    }
    return text;
}

// One line per annotation with a /Dest or an /A: "page.annotation -> what it does".
inline std::vector<std::string> linkLines(QPDF& pdf) {
    std::vector<std::string> lines;
    const auto pages = pdf.getAllPages();
    for (size_t p = 0; p < pages.size(); ++p) {
        QPDFObjectHandle annots = QPDFObjectHandle(pages[p]).getKey("/Annots");
        for (int a = 0; annots.isArray() && a < annots.getArrayNItems(); ++a) {
            QPDFObjectHandle annot = annots.getArrayItem(a);
            if (!annot.isDictionary()) {
                continue;
            }
            const std::string where = std::to_string(p) + "." + std::to_string(a) + " -> ";
            if (annot.hasKey("/Dest")) {
                lines.push_back(where + destinationText(pdf, annot.getKey("/Dest")));
            } else if (annot.hasKey("/A")) {
                lines.push_back(where + actionText(pdf, annot.getKey("/A")));
            } else if (annot.getKey("/Subtype").isNameAndEquals("/Link")) {
                lines.push_back(where + "nothing");
            }
        }
    }
    return lines;
}

inline std::vector<std::string> linkLines(const std::string& path) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    return linkLines(pdf);
}

// The /Names /Dests tree: "name -> destination".
inline std::vector<std::string> nameLines(const std::string& path) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    std::vector<std::string> lines;
    QPDFObjectHandle names = pdf.getRoot().getKey("/Names");
    if (names.isDictionary() && names.getKey("/Dests").isDictionary()) {
        for (auto& [key, value] : QPDFNameTreeObjectHelper(names.getKey("/Dests"), pdf)) {
            lines.push_back(key + " -> " + destinationText(pdf, value));
        }
    }
    return lines;
}

// Page labels as a reader shows them, for decimal and roman styles with a prefix; "" for a
// document without labels.
inline std::string pageLabels(const std::string& path) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    QPDFPageLabelDocumentHelper helper(pdf);
    if (!helper.hasPageLabels()) {
        return "";
    }
    auto roman = [](long long n) {
        static const std::pair<int, const char*> digits[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
            {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        std::string out;
        for (const auto& [value, text] : digits) {
            for (; n >= value; n -= value) {
                out += text;
            }
        }
        return out;
    };
    std::string text;
    for (size_t i = 0; i < pdf.getAllPages().size(); ++i) {
        QPDFObjectHandle label = helper.getLabelForPage(static_cast<long long>(i));
        if (!label.isDictionary()) {
            // Before the first range: readers show the page's number.
            text += (i == 0 ? "" : " ") + std::to_string(i + 1);
            continue;
        }
        std::string one = label.getKey("/P").isString() ? label.getKey("/P").getUTF8Value() : "";
        const long long n = label.getKey("/St").isInteger() ? label.getKey("/St").getIntValue() : 1;
        const std::string style = label.getKey("/S").isName() ? label.getKey("/S").getName() : "";
        if (style == "/D") {
            one += std::to_string(n);
        } else if (style == "/r") {
            one += roman(n);
        } else if (style == "/R") {
            std::string r = roman(n);
            for (char& c : r) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            one += r;
        } else if (!style.empty()) {
            one += style + std::to_string(n);
        }
        text += (i == 0 ? "" : " ") + one;
    }
    return text;
}

// Objects of the file that are pages (/Type /Page), reachable or not from the page tree.
inline size_t pageObjectCount(const std::string& path) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(path.c_str());
    size_t count = 0;
    for (auto& object : pdf.getAllObjects()) {
        if (object.isDictionary() && object.getKey("/Type").isNameAndEquals("/Page")) {
            ++count;
        }
    }
    return count;
}

// Opens each file and inserts all its pages at the end of one new document, whose bytes are
// written to out. Answers false when the bytes could not be produced.
inline bool combineFiles(const std::vector<std::string>& paths, const std::string& out) {
    auto combined = PDFDocument::init();
    for (const std::string& path : paths) {
        auto source = PDFDocument::initWithURL(path);
        if (!source) {
            return false;
        }
        for (uint64_t i = 0; i < source->pageCount(); ++i) {
            if (!combined->insertPage(source->pageAtIndex(i), combined->pageCount())) {
                return false;
            }
        }
    }
    auto bytes = combined->dataRepresentation();
    if (!bytes) {
        return false;
    }
    writeBytes(out, *bytes);
    return true;
}

}  // namespace tomefuse::test
