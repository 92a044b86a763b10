// What the document says about itself: the information dictionary, the XMP metadata that
// indexers read, and the viewer preference that shows the title in the window bar.

#include <string_view>

#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// Valid UTF-8 without the control characters XML 1.0 forbids: bytes that are not UTF-8 (a
// command-line argument may hold any) become U+FFFD.
std::string cleanText(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        const auto c = static_cast<unsigned char>(in[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
        bool valid = length > 0 && i + length <= in.size();
        uint32_t code = length == 1 ? c : length == 2 ? c & 0x1f : length == 3 ? c & 0x0f : c & 0x07;
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(in[i + k]);
            valid = (next & 0xc0) == 0x80;
            code = (code << 6) | (next & 0x3f);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8 either.
        static constexpr uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= least[length] && code <= 0x10ffff && (code < 0xd800 || code > 0xdfff);
        if (!valid) {
            out += "\xef\xbf\xbd";
            ++i;
            continue;
        }
        if (code >= 0x20 || code == '\t' || code == '\n' || code == '\r') {
            out.append(in.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string xmlText(const std::string& text) {
    std::string out;
    for (const char c : cleanText(text)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n");
    return begin == std::string::npos ? std::string()
                                      : text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

bool anyAttribute(const PDFDocumentAttributes& a) {
    return !a.title.empty() || !a.author.empty() || !a.subject.empty() || !a.keywords.empty();
}

}  // namespace

std::map<std::string, std::string> infoEntries(const PDFDocumentAttributes& attributes) {
    std::map<std::string, std::string> entries;
    const std::pair<const char*, const std::string*> fields[] = {{"/Title", &attributes.title},
                                                                 {"/Author", &attributes.author},
                                                                 {"/Subject", &attributes.subject},
                                                                 {"/Keywords", &attributes.keywords}};
    for (const auto& [key, value] : fields) {
        if (!value->empty()) {
            entries[key] = pdfString(cleanText(*value));
        }
    }
    return entries;
}

// The Dublin Core and PDF schemas, as the information dictionary maps to them; the keywords
// also go to dc:subject one by one, where desktop indexers look for them.
std::string xmpPacket(const PDFDocumentAttributes& attributes, const std::string& producer) {
    std::string rdf;
    auto alternative = [&rdf](const char* element, const std::string& value) {
        if (!value.empty()) {
            rdf += std::string("   <") + element + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" + xmlText(value) +
                   "</rdf:li></rdf:Alt></" + element + ">\n";
        }
    };
    rdf += "   <dc:format>application/pdf</dc:format>\n";
    alternative("dc:title", attributes.title);
    if (!attributes.author.empty()) {
        rdf += "   <dc:creator><rdf:Seq><rdf:li>" + xmlText(attributes.author) + "</rdf:li></rdf:Seq></dc:creator>\n";
    }
    alternative("dc:description", attributes.subject);
    if (!attributes.keywords.empty()) {
        std::string bag;
        size_t start = 0;
        while (start <= attributes.keywords.size()) {
            size_t end = attributes.keywords.find_first_of(",;", start);
            if (end == std::string::npos) {
                end = attributes.keywords.size();
            }
            if (std::string word = trimmed(attributes.keywords.substr(start, end - start)); !word.empty()) {
                bag += "<rdf:li>" + xmlText(word) + "</rdf:li>";
            }
            start = end + 1;
        }
        if (!bag.empty()) {
            rdf += "   <dc:subject><rdf:Bag>" + bag + "</rdf:Bag></dc:subject>\n";
        }
        rdf += "   <pdf:Keywords>" + xmlText(attributes.keywords) + "</pdf:Keywords>\n";
    }
    rdf += "   <pdf:Producer>" + xmlText(producer) + "</pdf:Producer>\n";
    return "<?xpacket begin=\"\xef\xbb\xbf\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
           " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
           "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
           " xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n" +
           rdf +
           "  </rdf:Description>\n"
           " </rdf:RDF>\n"
           "</x:xmpmeta>\n"
           "<?xpacket end=\"w\"?>";
}

void Writer::writeAttributes(const Catalog& catalog, std::string& catalogEntries, std::string& info) {
    if (!catalog.attributes || !anyAttribute(*catalog.attributes)) {
        return;
    }
    const PDFDocumentAttributes& attributes = *catalog.attributes;
    for (const auto& [key, value] : infoEntries(attributes)) {
        if (!catalog.info.count(key)) {
            info += pdfName(key) + " " + value;
        }
    }
    std::string producer = "Tomefuse";
    if (auto given = catalog.info.find("/Producer"); given != catalog.info.end()) {
        producer = QPDFObjectHandle::parse(given->second).getUTF8Value();
    }
    // Uncompressed, so that tools that do not read PDF streams can still find it.
    const std::string packet = xmpPacket(attributes, producer);
    const int number = reserve();
    writeObject(number, "<</Type/Metadata/Subtype/XML/Length " + std::to_string(packet.size()) + ">>stream\n" + packet +
                            "\nendstream");
    catalogEntries += "/Metadata " + std::to_string(number) + " 0 R";
    if (!attributes.title.empty()) {
        catalogEntries += "/ViewerPreferences<</DisplayDocTitle true>>";
    }
}

}  // namespace tomefuse::pdf_detail
