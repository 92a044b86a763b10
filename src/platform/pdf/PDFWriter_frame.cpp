// The file's frame: the header, each object's place, the object streams that hold every object
// that is not a stream, and the cross-reference stream with the trailer's entries.

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/pdf/PDFDeflate.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// An object stream is written once it holds this many objects or this much text: small enough
// for a reader to open one object cheaply, large enough to compress well.
constexpr size_t packedObjects = 200;
constexpr size_t packedBytes = 256u << 10;
// Where an object is: its offset, or with this bit its object stream's number and its index there.
constexpr uint64_t packedFlag = 1ull << 63;

// 128 bits of two FNV-1a hashes, in hex: enough to tell files apart, which is all an ID is for.
std::string fingerprint(const std::string& bytes) {
    uint64_t a = 14695981039346656037ull;
    uint64_t b = 0x84222325cbf29ce4ull;
    for (const char c : bytes) {
        a = (a ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        b = (b ^ static_cast<unsigned char>(c)) * 0x100000001b3ull + 0x9e3779b97f4a7c15ull;
    }
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(a),
                  static_cast<unsigned long long>(b));
    return text;
}

// Only a stream's text ends in its keyword after white space: a name holds no raw white space.
bool isStreamText(const std::string& text) {
    static const std::string keyword = "endstream";
    const size_t n = keyword.size();
    return text.size() > n && text.compare(text.size() - n, n, keyword) == 0 &&
           std::isspace(static_cast<unsigned char>(text[text.size() - n - 1]));
}

void appendBigEndian(std::string& out, uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xff);
    }
}

}  // namespace

Writer::Writer(ByteSink& sink, PDFVersion version, Options options)
    : sink_(sink), headerVersion_(1, 5), options_(options) {
    headerVersion_.updateIfGreater(version);
    version_ = headerVersion_;
    std::string text;
    int extension = 0;
    headerVersion_.getVersion(text, extension);
    // The second line's high bytes tell transfer programs the file is binary.
    const std::string header = "%PDF-" + text + "\n%\xe2\xe3\xcf\xd3\n";
    sink_.write(header.data(), header.size());
    pagesRoot_ = reserve();
}

Writer::~Writer() = default;

void Writer::place(int number, uint64_t where) {
    if (static_cast<size_t>(number) >= offsets_.size()) {
        offsets_.resize(std::max<size_t>(static_cast<size_t>(number) + 1, offsets_.size() * 2), 0);
    }
    offsets_[static_cast<size_t>(number)] = where;
}

void Writer::beginObject(int number) {
    place(number, sink_.offset());
    const std::string head = std::to_string(number) + " 0 obj\n";
    sink_.write(head.data(), head.size());
}

void Writer::endObject() {
    static const std::string tail = "\nendobj\n";
    sink_.write(tail.data(), tail.size());
}

void Writer::writeObject(int number, const std::string& text) {
    if (isStreamText(text)) {
        beginObject(number);
        sink_.write(text.data(), text.size());
        endObject();
        return;
    }
    if (packed_.members.empty()) {
        packed_.number = reserve();
    }
    place(number, packedFlag | (static_cast<uint64_t>(packed_.number) << 16) | packed_.members.size());
    packed_.members.emplace_back(number, packed_.text.size());
    packed_.text += text;
    packed_.text += '\n';
    if (packed_.members.size() >= packedObjects || packed_.text.size() >= packedBytes) {
        writePacked();
    }
}

void Writer::writePacked() {
    if (packed_.members.empty()) {
        return;
    }
    std::string index;
    for (const auto& [number, at] : packed_.members) {
        index += std::to_string(number) + ' ' + std::to_string(at) + ' ';
    }
    index.back() = '\n';
    packed_.text.insert(0, index);
    const std::string deflated = deflateWhole(packed_.text.data(), packed_.text.size());
    const std::string head = "<</Type/ObjStm/N " + std::to_string(packed_.members.size()) + "/First " +
                             std::to_string(index.size()) + "/Filter/FlateDecode/Length " +
                             std::to_string(deflated.size()) + ">>stream\n";
    beginObject(packed_.number);
    sink_.write(head.data(), head.size());
    sink_.write(deflated.data(), deflated.size());
    static const std::string tail = "\nendstream";
    sink_.write(tail.data(), tail.size());
    endObject();
    packed_.members.clear();
    packed_.text.clear();
}

// Numbers reserved for objects that were never written (none should be) are free entries:
// references to them read as null.
void Writer::writeCrossReference(int root, int info) {
    writePacked();
    const int self = reserve();
    const uint64_t at = sink_.offset();
    const int size = nextNumber_;
    offsets_.resize(static_cast<size_t>(size), 0);
    offsets_[static_cast<size_t>(self)] = at;
    uint64_t largest = at;
    for (const uint64_t where : offsets_) {
        largest = std::max(largest, where & packedFlag ? (where & ~packedFlag) >> 16 : where);
    }
    int width = 1;
    while (width < 8 && (largest >> (8 * width)) != 0) {
        ++width;
    }
    std::string rows;
    rows.reserve(static_cast<size_t>(size) * static_cast<size_t>(3 + width));
    for (int n = 0; n < size; ++n) {
        const uint64_t where = offsets_[static_cast<size_t>(n)];
        if (n == 0 || where == 0) {
            rows += '\0';
            appendBigEndian(rows, 0, width);
            appendBigEndian(rows, n == 0 ? 65535 : 1, 2);
        } else if (where & packedFlag) {
            rows += '\2';
            appendBigEndian(rows, (where & ~packedFlag) >> 16, width);
            appendBigEndian(rows, where & 0xffff, 2);
        } else {
            rows += '\1';
            appendBigEndian(rows, where, width);
            appendBigEndian(rows, 0, 2);
        }
    }
    // A file identifier from what sets this file apart: its objects' places and its length.
    const std::string id = fingerprint(rows + std::to_string(at));
    const std::string deflated = deflateWhole(rows.data(), rows.size());
    const std::string head = "<</Type/XRef/Size " + std::to_string(size) + "/W[1 " + std::to_string(width) +
                             " 2]/Root " + std::to_string(root) + " 0 R/Info " + std::to_string(info) + " 0 R/ID[<" +
                             id + "><" + id + ">]/Filter/FlateDecode/Length " + std::to_string(deflated.size()) +
                             ">>stream\n";
    beginObject(self);
    sink_.write(head.data(), head.size());
    sink_.write(deflated.data(), deflated.size());
    const std::string tail = "\nendstream\nendobj\nstartxref\n" + std::to_string(at) + "\n%%EOF\n";
    sink_.write(tail.data(), tail.size());
    sink_.flush();
}

}  // namespace tomefuse::pdf_detail
