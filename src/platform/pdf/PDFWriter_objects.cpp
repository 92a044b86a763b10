// Serialising a source's objects: each is written from the source's parse with its references
// renumbered into the output, every string, name and number from its own bytes. Stream bytes are
// copied as they are, never decoded; unfiltered ones are compressed where that pays.

#include <algorithm>
#include <exception>
#include <qpdf/Pipeline.hh>

#include "platform/pdf/PDFDeflate.h"
#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// A stream up to this size is held to learn its length before it is written; a longer one is
// written as it comes, with its length in an object of its own after it.
constexpr size_t heldStreamLimit = 4u << 20;

// Passes stream bytes to the sink, holding the first ones until the length is known or too long
// to wait for. libqpdf turns any exception thrown here into a warning and a failed read, so a
// failure of the output is kept aside and thrown again by the caller.
class StreamOut final : public Pipeline {
  public:
    StreamOut(Writer& writer, size_t holdLimit, std::function<void()> writeHead)
        : Pipeline("tomefuse stream", nullptr),
          writer_(writer),
          holdLimit_(holdLimit),
          writeHead_(std::move(writeHead)) {}

    void write(unsigned char const* data, size_t length) override {
        if (failure_) {
            throw std::runtime_error("output failed");
        }
        try {
            count_ += length;
            if (!spilled_ && held_.size() + length <= holdLimit_) {
                held_.append(reinterpret_cast<const char*>(data), length);
                return;
            }
            if (!spilled_) {
                spilled_ = true;
                writeHead_();
                writer_.sink().write(held_.data(), held_.size());
                std::string().swap(held_);
            }
            writer_.sink().write(reinterpret_cast<const char*>(data), length);
            if ((sinceCheck_ += length) >= (1u << 20)) {
                sinceCheck_ = 0;
                writer_.checkCancelled();
            }
        } catch (...) {
            failure_ = std::current_exception();
            throw;
        }
    }
    void finish() override {}

    void rethrowFailure() const {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }
    bool spilled() const { return spilled_; }
    const std::string& held() const { return held_; }
    uint64_t count() const { return count_; }

  private:
    Writer& writer_;
    size_t holdLimit_;
    std::function<void()> writeHead_;
    std::string held_;
    bool spilled_ = false;
    uint64_t count_ = 0;
    size_t sinceCheck_ = 0;
    std::exception_ptr failure_;
};

// Shows the bytes to an observer on their way on.
class Tee final : public Pipeline {
  public:
    Tee(Pipeline* observer, Pipeline* next) : Pipeline("tomefuse tee", next), observer_(observer) {}
    void write(unsigned char const* data, size_t length) override {
        observer_->write(data, length);
        getNext()->write(data, length);
    }
    void finish() override { getNext()->finish(); }

  private:
    Pipeline* observer_;
};

}  // namespace

ObjectSerializer::ObjectSerializer(SourceCopy& copy, std::string& out)
    : copy_(&copy), out_(out), writer_(&copy.writer_) {}

void ObjectSerializer::checkSize() const {
    if (writer_) {
        writer_->checkSize(out_.size());
    }
}

void ObjectSerializer::value(QPDFObjectHandle object, int depth) {
    if (object.isIndirect()) {
        // Whatever the object is (a string, a number, an array), it is written under a number of
        // its own, from its value.
        appendReference(out_, copy_ ? copy_->numberOf(object.getObjGen()) : 0);
        return;
    }
    contents(object, depth);
}

void ObjectSerializer::contents(QPDFObjectHandle object, int depth) {
    if (depth > maxNesting) {
        throw SourceDamage("an object is nested more than " + std::to_string(maxNesting) + " levels deep");
    }
    switch (object.getTypeCode()) {
        case ::ot_boolean:
            out_ += object.getBoolValue() ? "true" : "false";
            break;
        case ::ot_integer:
            out_ += std::to_string(object.getIntValue());
            break;
        case ::ot_real:
            out_ += object.getRealValue();  // as the file wrote it
            break;
        case ::ot_string:
            appendStringBytes(out_, object.getStringValue());
            checkSize();
            break;
        case ::ot_name:
            appendName(out_, object.getName());
            break;
        case ::ot_array: {
            out_ += '[';
            const int n = object.getArrayNItems();
            for (int i = 0; i < n; ++i) {
                if (i > 0) {
                    out_ += ' ';
                }
                value(object.getArrayItem(i), depth + 1);
            }
            out_ += ']';
            checkSize();
            break;
        }
        case ::ot_dictionary:
            dictionary(object, depth);
            break;
        default:
            // Operators and inline images live in content streams only, which are copied as
            // bytes: here they are damage libqpdf let through.
            out_ += "null";
            break;
    }
}

void ObjectSerializer::dictionary(QPDFObjectHandle dict, int depth, const std::vector<std::string>& skip,
                                  QPDFObjGen self) {
    if (depth > maxNesting) {
        throw SourceDamage("an object is nested more than " + std::to_string(maxNesting) + " levels deep");
    }
    std::map<std::string, QPDFObjectHandle> items = dict.getDictAsMap();
    const bool goTo = copy_ && [&] {
        auto type = items.find("/S");
        return type != items.end() && isNamed(type->second, "/GoTo");
    }();
    const std::string* newName = nullptr;
    if (copy_ && self.isIndirect()) {
        auto renamed = copy_->fieldNames_.find(self);
        if (renamed != copy_->fieldNames_.end()) {
            newName = &renamed->second;
        }
    }
    out_ += "<<";
    for (auto& [key, item] : items) {
        if (item.isNull() || std::find(skip.begin(), skip.end(), key) != skip.end()) {
            continue;
        }
        if (copy_ && (key == "/Dest" || (goTo && key == "/D"))) {
            const std::string destination = copy_->destinationText(item);
            if (!destination.empty()) {
                out_ += key;
                out_ += ' ';
                out_ += destination;
            }
            continue;
        }
        if (copy_ && copy_->structureValue(key, item, items, out_)) {
            continue;
        }
        if (copy_) {
            copy_->noteIdentity(key, item);
        }
        appendName(out_, key);
        out_ += ' ';
        if (newName && key == "/T") {
            out_ += pdfString(*newName);
        } else {
            value(item, depth + 1);
        }
    }
    out_ += ">>";
    checkSize();
}

std::string directObjectText(QPDFObjectHandle object) {
    std::string out;
    ObjectSerializer(out).value(object);
    return out;
}

void SourceCopy::writeObject(QPDFObjGen og, int number) {
    std::string out;
    collectWarnings();  // what comes next is this object's
    try {
        QPDFObjectHandle object = pdf_.getObject(og);
        if (object.isStream()) {
            writeStream(object, number, streamHead(object));
            return;
        }
        ObjectSerializer serializer(*this, out);
        if (object.isDictionary()) {
            serializer.dictionary(object, 0, {}, og);
        } else {
            serializer.contents(object);
        }
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
    writer_.writeObject(number, out);
}
SourceCopy::StreamHead SourceCopy::streamHead(QPDFObjectHandle stream) {
    QPDFObjectHandle dict = stream.getDict();
    QPDFObjectHandle filter = dict.getKey("/Filter");
    std::vector<std::string> skip = {"/Length"};
    StreamHead head;
    if (filter.isNull() || (filter.isArray() && filter.getArrayNItems() == 0)) {
        // Unfiltered data is compressed where that pays; metadata stays readable to tools that
        // do not decode streams.
        head.mayCompress = !isNamed(dict.getKey("/Type"), "/Metadata");
        skip.push_back("/Filter");
        skip.push_back("/DecodeParms");
    } else if (isNamed(filter, "/Crypt") ||
               (filter.isArray() && filter.getArrayNItems() == 1 && isNamed(filter.getArrayItem(0), "/Crypt"))) {
        // The source's encryption is undone as the bytes are read; nothing is left to decrypt.
        skip.push_back("/Filter");
        skip.push_back("/DecodeParms");
    }
    ObjectSerializer serializer(*this, head.text);
    serializer.dictionary(dict, 0, skip);
    head.text.resize(head.text.size() - 2);  // ">>": the length and filter go on
    return head;
}

void SourceCopy::writeStream(QPDFObjectHandle stream, int number, const StreamHead& head, Pipeline* observe) {
    int lengthNumber = 0;
    const size_t holdLimit = writer_.memoryLimit() ? std::min(heldStreamLimit, writer_.memoryLimit()) : heldStreamLimit;
    std::unique_ptr<DeflateIfItPays> deflate;
    auto filterText = [&] { return deflate && deflate->compressing() ? "/Filter/FlateDecode" : ""; };
    StreamOut out(writer_, holdLimit, [&] {
        lengthNumber = writer_.reserve();
        std::string text = head.text + filterText() + "/Length " + std::to_string(lengthNumber) + " 0 R>>stream\n";
        writer_.beginObject(number);
        writer_.sink().write(text.data(), text.size());
    });
    if (head.mayCompress) {
        deflate = std::make_unique<DeflateIfItPays>(&out, holdLimit);
    }
    bool filtered = false;
    Pipeline* first = deflate ? static_cast<Pipeline*>(deflate.get()) : &out;
    std::unique_ptr<Pipeline> tee;
    if (observe) {
        tee = std::make_unique<Tee>(observe, first);
        first = tee.get();
    }
    const bool ok = stream.pipeStreamData(first, &filtered, 0, qpdf_dl_none, true, false);
    out.rethrowFailure();
    if (deflate) {
        // Also when libqpdf gave up on the read before finishing it.
        deflate->finish();
        out.rethrowFailure();
    }
    judgeStream(stream, ok);
    if (out.spilled()) {
        static const std::string tail = "\nendstream";
        writer_.sink().write(tail.data(), tail.size());
        writer_.endObject();
        const std::string length = std::to_string(out.count());
        writer_.writeObject(lengthNumber, length);
    } else {
        std::string text = head.text + filterText() + "/Length " + std::to_string(out.held().size()) + ">>stream\n";
        writer_.beginObject(number);
        writer_.sink().write(text.data(), text.size());
        writer_.sink().write(out.held().data(), out.held().size());
        static const std::string tail = "\nendstream";
        writer_.sink().write(tail.data(), tail.size());
        writer_.endObject();
    }
}

}  // namespace tomefuse::pdf_detail
