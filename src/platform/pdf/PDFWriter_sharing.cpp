// One copy of what the sources repeat. An object without an identity is written after its parts,
// so that its text holds their output numbers; when that text (and a stream's bytes) has the
// digest of one written before, it takes that one's number. Parts shared make their holders
// equal, so fonts with their files, images with their colour spaces, and form XObjects with
// their resources come out once. The writer keeps a digest and a number for each, nothing more.

#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <new>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFCryptoImpl.hh>
#include <qpdf/QPDFCryptoProvider.hh>
#include <stdexcept>
#include <string>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// Values compared by digest are a file's few catalog entries, not its pages.
constexpr int maxDigestDepth = 32;

// A stream like one written before is read twice to be shared, once for its digest; past this
// length (scans, whose dictionaries and lengths are alike) that costs more than the rare repeat
// of so large a stream saves.
constexpr long long maxSharedStream = 4ll << 20;

// SHA-256, of which the first 128 bits are kept: no two different objects meet by chance, nor
// by a file made to look like another's font.
class DigestOf final : public Pipeline {
  public:
    DigestOf() : Pipeline("tomefuse digest", nullptr), sha_(QPDFCryptoProvider::getImpl()) { sha_->SHA2_init(256); }
    void write(unsigned char const* data, size_t length) override {
        if (length > 0) {
            sha_->SHA2_update(data, length);
        }
    }
    void write(const std::string& text) { write(reinterpret_cast<const unsigned char*>(text.data()), text.size()); }
    void finish() override {}
    Writer::Digest digest() {
        sha_->SHA2_finalize();
        const std::string bytes = sha_->SHA2_digest();
        Writer::Digest d;
        std::memcpy(&d.high, bytes.data(), sizeof d.high);
        std::memcpy(&d.low, bytes.data() + sizeof d.high, sizeof d.low);
        return d;
    }

  private:
    std::shared_ptr<QPDFCryptoImpl> sha_;
};

void digestInto(DigestOf& digest, QPDFObjectHandle value, std::map<QPDFObjGen, size_t>& seen, int depth) {
    if (depth > maxDigestDepth) {
        throw std::runtime_error("nested too deep to compare");
    }
    if (value.isIndirect()) {
        auto [at, first] = seen.emplace(value.getObjGen(), seen.size());
        if (!first) {
            digest.write("R" + std::to_string(at->second) + " ");
            return;
        }
    }
    if (value.isArray()) {
        digest.write("[");
        for (QPDFObjectHandle item : value.aitems()) {
            digestInto(digest, item, seen, depth + 1);
        }
        digest.write("]");
    } else if (value.isDictionary() || value.isStream()) {
        digest.write("<<");
        for (auto& [key, item] : (value.isStream() ? value.getDict() : value).getDictAsMap()) {
            if (!item.isNull() && !(value.isStream() && key == "/Length")) {
                digest.write(key + " ");
                digestInto(digest, item, seen, depth + 1);
            }
        }
        digest.write(">>");
        if (value.isStream()) {
            digest.write("stream ");
            value.pipeStreamData(&digest, 0, qpdf_dl_none);
        }
    } else {
        digest.write(value.unparseBinary() + " ");
    }
}

// Types of objects that are one of a kind, and keys only such objects carry: an annotation's
// rectangle, a field's name and tree, a structure element's parent, a file's embedded stream,
// an outline item's siblings.
bool hasIdentity(QPDFObjectHandle dict) {
    static const char* const types[] = {"/Page", "/Pages", "/Catalog",  "/Annot",    "/StructElem",   "/StructTreeRoot",
                                        "/OCG",  "/OCMD",  "/Outlines", "/Filespec", "/EmbeddedFile", "/Sig",
                                        "/MCR",  "/OBJR",  "/Thread",   "/Bead",     "/XRef",         "/ObjStm"};
    static const char* const keys[] = {"/Rect",         "/FT",    "/T",    "/Parent", "/Kids",      "/P",
                                       "/EF",           "/First", "/Last", "/Prev",   "/ByteRange", "/StructParent",
                                       "/StructParents"};
    QPDFObjectHandle type = dict.getKey("/Type");
    if (type.isName()) {
        for (const char* t : types) {
            if (type.getName() == t) {
                return true;
            }
        }
    }
    for (const char* key : keys) {
        if (dict.hasKey(key)) {
            return true;
        }
    }
    return false;
}

}  // namespace

ObjectDigest digestOfValue(QPDFObjectHandle value) {
    DigestOf digest;
    std::map<QPDFObjGen, size_t> seen;
    digestInto(digest, value, seen, 0);
    return digest.digest();
}

bool shareable(QPDFObjectHandle object) {
    try {
        if (object.isStream()) {
            QPDFObjectHandle dict = object.getDict();
            QPDFObjectHandle length = dict.getKey("/Length");
            return length.isInteger() && length.getIntValue() <= maxSharedStream && !hasIdentity(dict);
        }
        if (object.isDictionary()) {
            return !hasIdentity(object);
        }
        // Arrays and plain values are values: equal ones may be one.
        return object.isArray() || object.isScalar();
    } catch (const std::exception&) {
        return false;
    }
}

// Layers are known from the catalog before any page refers to one: even one without its type
// is never taken for another file's equal group.
void SourceCopy::startIdentities() {
    try {
        QPDFObjectHandle properties = pdf_.getRoot().getKey("/OCProperties");
        if (properties.isDictionary()) {
            markIdentity(properties.getKey("/OCGs"));
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

void SourceCopy::markIdentity(QPDFObjectHandle object, bool values) {
    if (object.isIndirect()) {
        identities_.insert(object.getObjGen());
    }
    // One level down: the items of an array, the values of a dictionary written in its holder.
    if (object.isArray()) {
        for (QPDFObjectHandle item : object.aitems()) {
            if (item.isIndirect()) {
                identities_.insert(item.getObjGen());
            }
        }
    } else if (values && object.isDictionary() && !object.isIndirect()) {
        for (auto& [key, item] : object.ditems()) {
            if (item.isIndirect()) {
                identities_.insert(item.getObjGen());
            }
        }
    }
}

// What a dictionary's key leads to that has an identity however it is typed: a structure
// element's kids, a layer or layer set, an attached file and its embedded streams.
void SourceCopy::noteIdentity(const std::string& key, QPDFObjectHandle item) {
    if (key == "/K" || key == "/OC" || key == "/OCGs" || key == "/FS" || key == "/AF") {
        markIdentity(item, false);
    } else if (key == "/EF") {
        markIdentity(item, true);
    }
}

int SourceCopy::writeShared(QPDFObjGen og, QPDFObjectHandle object) {
    // Its parts are written (or found written) as the text is made, before it.
    struct Nesting {
        SourceCopy& copy;
        QPDFObjGen og;
        Nesting(SourceCopy& c, QPDFObjGen o) : copy(c), og(o) {
            copy.sharing_.emplace(og, 0);
            ++copy.sharingDepth_;
        }
        ~Nesting() {
            --copy.sharingDepth_;
            copy.sharing_.erase(og);
        }
        int cycleNumber() const { return copy.sharing_.at(og); }
    };
    std::string text;
    StreamHead head;
    int own = 0;
    try {
        Nesting nesting(*this, og);
        if (object.isStream()) {
            head = streamHead(object);
        } else {
            ObjectSerializer serializer(*this, text);
            if (object.isDictionary()) {
                serializer.dictionary(object, 0, {}, og);
            } else {
                serializer.contents(object);
            }
        }
        own = nesting.cycleNumber();
    } catch (const WriteFailure&) {
        throw;
    } catch (const WriteCancelled&) {
        throw;
    } catch (const SourceDamage&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw SourceDamage("object " + og.unparse(' ') + " cannot be read: " + e.what());
    }
    int number = own;
    if (number != 0) {
        // Written on its own: what it holds leads back to it.
        if (object.isStream()) {
            writeStream(object, number, head);
        } else {
            writer_.writeObject(number, text);
        }
        return number;
    }
    DigestOf digest;
    digest.write(object.isStream() ? "stream " + head.text : text);
    if (!object.isStream()) {
        const Writer::Digest key = digest.digest();
        if (const int found = writer_.sharedNumber(key)) {
            return found;
        }
        number = writer_.reserve();
        writer_.writeObject(number, text);
        writer_.noteShared(key, number);
        return number;
    }
    // Only a stream with the dictionary and length of one written before can equal it: its bytes
    // are read for their digest first. Any other is digested as it is written, in one read.
    DigestOf shape;
    shape.write(head.text + " " + std::to_string(object.getDict().getKey("/Length").getIntValue()));
    if (writer_.firstOfItsShape(shape.digest())) {
        number = writer_.reserve();
        writeStream(object, number, head, &digest);
    } else {
        // The bytes as the file holds them, judged as any read of the stream is.
        bool filtered = false;
        judgeStream(object, object.pipeStreamData(&digest, &filtered, 0, qpdf_dl_none, true, false));
        const Writer::Digest key = digest.digest();
        if (const int found = writer_.sharedNumber(key)) {
            return found;
        }
        number = writer_.reserve();
        writeStream(object, number, head);
        writer_.noteShared(key, number);
        return number;
    }
    // Offered to others only once it is written: a write that failed leaves nothing to lead to.
    writer_.noteShared(digest.digest(), number);
    return number;
}

}  // namespace tomefuse::pdf_detail
