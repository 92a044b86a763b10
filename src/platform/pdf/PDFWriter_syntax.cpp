// PDF syntax for what the writer writes. Every value is written from its own bytes here, never
// through libqpdf's unparsing, which prints an object that has a number of its own as a
// reference in its source's numbering.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

bool needsNameEscape(unsigned char c) { return c < 0x21 || c > 0x7e || std::strchr("#()<>[]{}/%", c); }

// Bytes a literal string shows as they are; the rest, but for high bytes, are escaped.
bool plainInLiteral(unsigned char c) { return (c >= 0x20 && c < 0x7f) || c >= 0x80; }

}  // namespace

void appendName(std::string& out, const std::string& canonical) {
    out += '/';
    const size_t start = canonical.empty() || canonical[0] != '/' ? 0 : 1;
    const size_t size = canonical.size();
    for (size_t i = start; i < size; ++i) {
        const auto c = static_cast<unsigned char>(canonical[i]);
        if (!needsNameEscape(c)) {
            out += static_cast<char>(c);
        } else if (c == 0) {
            // libqpdf keeps a '#' not followed by two hex digits (a name written before PDF 1.2)
            // as a NUL, which no name can hold: it stands for the '#' that was read.
            out += "#23";
        } else {
            out += '#';
            out += hexDigits[c >> 4];
            out += hexDigits[c & 15];
        }
    }
}

std::string pdfName(const std::string& canonical) {
    std::string out;
    appendName(out, canonical);
    return out;
}

void appendStringBytes(std::string& out, const std::string& bytes) {
    size_t control = 0;
    for (const char c : bytes) {
        control += plainInLiteral(static_cast<unsigned char>(c)) ? 0 : 1;
    }
    // Mostly binary (an ID, a UTF-16 text with many NULs): hex is shorter and survives editors.
    if (control * 4 > bytes.size()) {
        out += '<';
        for (const char c : bytes) {
            out += hexDigits[static_cast<unsigned char>(c) >> 4];
            out += hexDigits[static_cast<unsigned char>(c) & 15];
        }
        out += '>';
        return;
    }
    out += '(';
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (plainInLiteral(u)) {
            if (c == '(' || c == ')' || c == '\\') {
                out += '\\';
            }
            out += c;
        } else {
            // A raw line end would be read back as "\n" whatever it was.
            out += '\\';
            out += static_cast<char>('0' + (u >> 6));
            out += static_cast<char>('0' + ((u >> 3) & 7));
            out += static_cast<char>('0' + (u & 7));
        }
    }
    out += ')';
}

std::string pdfStringBytes(const std::string& bytes) {
    std::string out;
    appendStringBytes(out, bytes);
    return out;
}

std::string pdfString(const std::string& utf8) {
    return pdfStringBytes(QPDFObjectHandle::newUnicodeString(utf8).getStringValue());
}

std::string pdfNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    // Far beyond any page; keeps the number printable as a plain PDF real.
    value = std::clamp(value, -1.0e7, 1.0e7);
    if (value == std::floor(value)) {
        return std::to_string(static_cast<long long>(value));
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string out = text;
    while (out.back() == '0') {
        out.pop_back();
    }
    if (out.back() == '.') {
        out.pop_back();
    }
    return out;
}

std::string pdfViewText(const PDFDestinationView& view) {
    using Fit = PDFDestinationView::Fit;
    auto number = [](const std::optional<double>& value) {
        return value ? " " + pdfNumber(*value) : std::string(" null");
    };
    switch (view.fit) {
        case Fit::fit:
            return "/Fit";
        case Fit::fitB:
            return "/FitB";
        case Fit::fitH:
            return "/FitH" + number(view.top);
        case Fit::fitBH:
            return "/FitBH" + number(view.top);
        case Fit::fitV:
            return "/FitV" + number(view.left);
        case Fit::fitBV:
            return "/FitBV" + number(view.left);
        case Fit::fitR:
            return "/FitR " + pdfNumber(view.left.value_or(0)) + " " + pdfNumber(view.bottom.value_or(0)) + " " +
                   pdfNumber(view.right.value_or(0)) + " " + pdfNumber(view.top.value_or(0));
        case Fit::xyz:
            break;
    }
    return "/XYZ" + number(view.left) + number(view.top) + number(view.zoom);
}

}  // namespace tomefuse::pdf_detail
