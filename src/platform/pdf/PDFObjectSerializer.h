#pragma once

// Private to platform/pdf: turns one object of a source into output text, giving the objects it
// refers to output numbers in the source's copy.

#include <exception>
#include <new>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

inline void appendReference(std::string& out, int number) {
    if (number > 0) {
        out += std::to_string(number);
        out += " 0 R";
    } else {
        out += "null";
    }
}

inline std::string reference(int number) {
    std::string text;
    appendReference(text, number);
    return text;
}

// Inside a catch: rethrows what ends the write or the copy (a failed or cancelled write, memory
// run out, an object that cannot be written as it is); libqpdf's complaint about a part it could
// not read returns, and that part is left out.
inline void rethrowUnlessUnreadable() {
    try {
        throw;
    } catch (const WriteFailure&) {
        throw;
    } catch (const WriteCancelled&) {
        throw;
    } catch (const SourceDamage&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

inline bool isNamed(QPDFObjectHandle value, const char* name) { return value.isName() && value.getName() == name; }

// Serialises the direct parts of one object, every value from its own bytes. Without a copy,
// for objects made of direct parts only, a reference is written as null.
class ObjectSerializer {
  public:
    // As deep as libqpdf reads objects (it gives up past 499 levels): nothing it reads is cut.
    static constexpr int maxNesting = 500;

    ObjectSerializer(SourceCopy& copy, std::string& out);
    explicit ObjectSerializer(std::string& out) : copy_(nullptr), out_(out) {}

    void value(QPDFObjectHandle object, int depth = 0);
    // What an object holds, also for an indirect object written under its own number.
    void contents(QPDFObjectHandle object, int depth = 0);
    // A dictionary, with the keys in skip left out. A destination is written as it leads here;
    // a field whose name was taken gets its new name.
    void dictionary(QPDFObjectHandle dict, int depth, const std::vector<std::string>& skip = {},
                    QPDFObjGen self = QPDFObjGen());

  private:
    void checkSize() const;

    SourceCopy* copy_;
    std::string& out_;
    const Writer* writer_ = nullptr;
};

}  // namespace tomefuse::pdf_detail
