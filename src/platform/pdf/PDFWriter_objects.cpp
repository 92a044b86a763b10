// Copying a source's objects: each is serialised from the source's parse with its references
// renumbered into the output. References to pages follow the pages: to the first copy of a page
// that is in the output, else to nothing, so no page drags the rest of its file along. Links are
// written with explicit destinations (names followed in their own file), so they keep leading
// where they led whatever the output's names become; a link to a page of its file that is not
// in the output is removed. Stream bytes are copied as they are, never decoded.

#include <algorithm>
#include <exception>
#include <qpdf/Pipeline.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDFExc.hh>

#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// A stream up to this size is held to learn its length before it is written; a longer one is
// written as it comes, with its length in an object of its own after it.
constexpr size_t heldStreamLimit = 4u << 20;
// [page /FitR left bottom right top] is the longest destination.
constexpr int maxDestinationItems = 6;
// A field's /Parent chain, and names followed to a destination, in a damaged file.
constexpr int maxChain = 64;
// Object numbers of generation 0 kept in a plain vector up to this number.
constexpr int maxVectorNumber = 1 << 24;

void appendNumber(std::string& out, long long value) { out += std::to_string(value); }

void appendReference(std::string& out, int number) {
    if (number > 0) {
        appendNumber(out, number);
        out += " 0 R";
    } else {
        out += "null";
    }
}

bool isNamed(QPDFObjectHandle value, const char* name) { return value.isName() && value.getName() == name; }

// Passes stream bytes to the sink, holding the first ones until the length is known or too long
// to wait for. libqpdf turns any exception thrown here into a warning and a failed read, so a
// failure of the output is kept aside and thrown again by the caller.
class StreamOut final : public Pipeline {
  public:
    StreamOut(Writer& writer, std::function<void()> writeHead)
        : Pipeline("tomefuse stream", nullptr), writer_(writer), writeHead_(std::move(writeHead)) {}

    void write(unsigned char const* data, size_t length) override {
        if (failure_) {
            throw std::runtime_error("output failed");
        }
        try {
            count_ += length;
            if (!spilled_ && held_.size() + length <= heldStreamLimit) {
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
    std::function<void()> writeHead_;
    std::string held_;
    bool spilled_ = false;
    uint64_t count_ = 0;
    size_t sinceCheck_ = 0;
    std::exception_ptr failure_;
};

}  // namespace

// Serialises the direct parts of one object into text, giving the objects it refers to numbers.
// Without a copy, for objects made of direct parts only, a reference is written as null.
class ObjectSerializer {
  public:
    ObjectSerializer(SourceCopy& copy, std::string& out) : copy_(&copy), out_(out) {}
    explicit ObjectSerializer(std::string& out) : copy_(nullptr), out_(out) {}

    void value(QPDFObjectHandle object, int depth = 0) {
        if (object.isIndirect()) {
            appendReference(out_, copy_ ? copy_->numberOf(object.getObjGen()) : 0);
            return;
        }
        contents(object, depth);
    }

    // What an object holds, also for an indirect object written under its own number.
    void contents(QPDFObjectHandle object, int depth = 0) {
        if (depth > 256) {  // libqpdf's parser stops far earlier
            out_ += "null";
            return;
        }
        switch (object.getTypeCode()) {
            case ::ot_boolean:
                out_ += object.getBoolValue() ? "true" : "false";
                break;
            case ::ot_integer:
                appendNumber(out_, object.getIntValue());
                break;
            case ::ot_real:
                out_ += object.getRealValue();
                break;
            case ::ot_string:
                out_ += object.unparse();
                break;
            case ::ot_name:
                out_ += pdfName(object.getName());
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
                break;
            }
            case ::ot_dictionary:
                dictionary(object, depth);
                break;
            case ::ot_operator:
            case ::ot_inlineimage:
                out_ += object.unparse();
                break;
            default:
                out_ += "null";
                break;
        }
    }

    // A dictionary, with the keys in skip left out. A destination is written as it leads here;
    // a field whose name was taken gets its new name.
    void dictionary(QPDFObjectHandle dict, int depth, const std::vector<std::string>& skip = {},
                    QPDFObjGen self = QPDFObjGen()) {
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
            out_ += pdfName(key);
            out_ += ' ';
            if (newName && key == "/T") {
                out_ += pdfString(*newName);
            } else {
                value(item, depth + 1);
            }
        }
        out_ += ">>";
    }

  private:
    SourceCopy* copy_;
    std::string& out_;
};

std::string directObjectText(QPDFObjectHandle object) {
    std::string out;
    ObjectSerializer(out).value(object);
    return out;
}

SourceCopy::SourceCopy(Writer& writer, std::shared_ptr<ParsedFile> origin, size_t ordinal)
    : writer_(writer), origin_(std::move(origin)), pdf_(*origin_->qpdf), ordinal_(ordinal) {
    writer_.raiseVersion(origin_->minimumVersion);
}

SourceCopy::~SourceCopy() = default;

namespace {

// libqpdf warns both when it repairs what a file holds (a missing keyword, a stream length it
// finds again) and when it gives up on data (a stream it takes for empty, a read that ends
// early). Only the second loses what the file holds.
bool losesData(const std::string& warning) {
    static const char* const signs[] = {
        "treating stream as empty", "unable to recover stream data", "unexpected EOF", "EOF while", "error reading",
        "could not be read"};
    for (const char* sign : signs) {
        if (warning.find(sign) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

// Reads libqpdf's warnings as they come (taking them empties its list).
void SourceCopy::collectWarnings() {
    if (pdf_.numWarnings() == 0) {
        return;
    }
    try {
        for (const QPDFExc& warning : pdf_.getWarnings()) {
            std::string& kept = losesData(warning.getMessageDetail()) ? loss_ : repair_;
            if (kept.empty()) {
                kept = warning.getMessageDetail();
            }
        }
    } catch (const std::exception&) {
    }
}

// A read of the file that failed once taints the parse for good: libqpdf may have taken the
// stream it could not read for an empty one.
std::string SourceCopy::loss() {
    collectWarnings();
    if (origin_->file && origin_->file->failureCount() > 0) {
        return origin_->file->lastFailure();
    }
    if (!loss_.empty()) {
        return "damaged: " + loss_;
    }
    return unreadStreams_ > 0 ? "damaged: a stream's data could not be read" : std::string();
}

std::string SourceCopy::repair() {
    collectWarnings();
    return repair_;
}

const std::vector<QPDFObjectHandle>& SourceCopy::pages() { return origin_->pages(); }

bool SourceCopy::isPageTreeNode(QPDFObjGen og) {
    if (!pageTree_) {
        pageTree_.emplace();
        try {
            pageTree_->insert(pdf_.getRoot().getObjGen());
            for (const QPDFObjectHandle& page : pages()) {
                QPDFObjectHandle node = page;
                for (int depth = 0; depth < 1000 && node.isIndirect(); ++depth) {
                    if (!pageTree_->insert(node.getObjGen()).second) {
                        break;
                    }
                    node = node.getKey("/Parent");
                }
            }
        } catch (const std::exception&) {
        }
    }
    return pageTree_->count(og) > 0;
}

int SourceCopy::numberOf(QPDFObjGen og) {
    if (og.getObj() <= 0) {
        return 0;
    }
    // Pages, their tree and the catalog are not copied along with what refers to them.
    if (isPageTreeNode(og)) {
        auto kept = keptPages_.find(og);
        return kept == keptPages_.end() ? 0 : kept->second;
    }
    int* slot = nullptr;
    if (og.getGen() == 0 && og.getObj() < maxVectorNumber) {
        if (static_cast<size_t>(og.getObj()) >= numbers_.size()) {
            numbers_.resize(std::max<size_t>(static_cast<size_t>(og.getObj()) + 1, numbers_.size() * 2), 0);
        }
        slot = &numbers_[static_cast<size_t>(og.getObj())];
    } else {
        slot = &otherNumbers_[og];
    }
    if (*slot == 0) {
        *slot = writer_.reserve();
        queue_.emplace_back(og, *slot);
    }
    return *slot;
}

int SourceCopy::reservePage(QPDFObjectHandle page) {
    const int number = writer_.reserve();
    isPageTreeNode(page.getObjGen());  // builds the set before the first reference is looked up
    keptPages_.try_emplace(page.getObjGen(), number);
    return number;
}

QPDFObjectHandle SourceCopy::explicitDestination(QPDFObjectHandle destination) {
    return origin_->names().resolve(destination);
}

int SourceCopy::targetNumber(QPDFObjectHandle array) {
    if (!array.isArray() || array.getArrayNItems() < 1) {
        return -1;
    }
    QPDFObjectHandle target = array.getArrayItem(0);
    QPDFObjGen page;
    if (target.isIndirect()) {
        page = target.getObjGen();
    } else if (target.isInteger()) {
        // A producer bug seen in the wild: a page number where a page reference belongs, taken
        // as a 0-based index as remote destinations use it.
        const long long index = target.getIntValue();
        if (index < 0 || static_cast<size_t>(index) >= pages().size()) {
            return -1;
        }
        page = pages()[static_cast<size_t>(index)].getObjGen();
    } else {
        return -1;
    }
    auto kept = keptPages_.find(page);
    if (kept != keptPages_.end()) {
        return kept->second;
    }
    return origin_->indexOfPage(page) == NSNotFound ? -1 : 0;
}

std::string SourceCopy::destinationText(QPDFObjectHandle destination) {
    try {
        QPDFObjectHandle array = explicitDestination(destination);
        const int number = targetNumber(array);
        if (number <= 0) {
            return {};
        }
        std::string out = "[";
        appendReference(out, number);
        ObjectSerializer serializer(*this, out);
        const int items = std::min(array.getArrayNItems(), maxDestinationItems);
        for (int i = 1; i < items; ++i) {
            out += ' ';
            QPDFObjectHandle item = array.getArrayItem(i);
            // A view holds names and numbers only; anything else is damage.
            if (item.isName() || item.isNumber() || item.isNull()) {
                serializer.value(item);
            } else {
                out += "null";
            }
        }
        out += ']';
        return out;
    } catch (const std::exception&) {
        return {};
    }
}

bool SourceCopy::leadsToPageLeftOut(QPDFObjectHandle annotation) {
    try {
        if (!isNamed(annotation.getKey("/Subtype"), "/Link")) {
            return false;
        }
        QPDFObjectHandle destination = annotation.getKey("/Dest");
        if (destination.isNull()) {
            QPDFObjectHandle action = annotation.getKey("/A");
            if (!action.isDictionary() || !isNamed(action.getKey("/S"), "/GoTo")) {
                return false;
            }
            destination = action.getKey("/D");
        }
        return targetNumber(explicitDestination(destination)) == 0;
    } catch (const std::exception&) {
        return false;
    }
}

// Fields are renamed at the top of their tree, where the name that clashes between files starts;
// the field is looked up from its widget, before either is written.
void SourceCopy::noteField(QPDFObjectHandle widget) {
    try {
        if (!isNamed(widget.getKey("/Subtype"), "/Widget") && !widget.hasKey("/FT")) {
            return;
        }
        QPDFObjectHandle top = widget;
        ObjGenSet chain;
        for (int depth = 0; depth < maxChain; ++depth) {
            QPDFObjectHandle parent = top.getKey("/Parent");
            if (!parent.isDictionary() || !parent.isIndirect() || !chain.insert(parent.getObjGen()).second) {
                break;
            }
            top = parent;
        }
        if (!top.isIndirect() || !fieldsSeen_.insert(top.getObjGen()).second) {
            return;
        }
        fields_.push_back(top.getObjGen());
        QPDFObjectHandle name = top.getKey("/T");
        if (name.isString()) {
            const std::string current = name.getUTF8Value();
            const std::string unique = writer_.uniqueFieldName(current);
            if (unique != current) {
                fieldNames_.emplace(top.getObjGen(), unique);
            }
        }
        if (!formChecked_) {
            formChecked_ = true;
            QPDFObjectHandle form = pdf_.getRoot().getKey("/AcroForm");
            if (form.isDictionary()) {
                form_ = form;
            }
        }
    } catch (const std::exception&) {
    }
}

const std::map<long long, PageLabel>& SourceCopy::labels() {
    if (!labels_) {
        try {
            labels_ = labelEntries(pdf_.getRoot().getKey("/PageLabels"));
        } catch (const std::exception&) {
            labels_.emplace();
        }
    }
    return *labels_;
}

WrittenPage SourceCopy::writePage(QPDFObjectHandle page, int number, const PageExtras* extras) {
    auto first = keptPages_.find(page.getObjGen());
    const bool repeat = first == keptPages_.end() || first->second != number;
    WrittenPage written;
    written.number = number;
    const uint64_t index = origin_->indexOfPage(page.getObjGen());
    written.indexInSource = index == NSNotFound ? 0 : static_cast<long long>(index);
    const auto& ranges = labels();
    if (!ranges.empty()) {
        writer_.noteLabels();
        auto above = ranges.upper_bound(written.indexInSource);
        if (above != ranges.begin()) {
            const auto& [first, range] = *std::prev(above);
            written.label = LabelValue{range.style, range.prefix, range.start + (written.indexInSource - first)};
        }
    }
    written.geometry = geometryOf(page);
    if (extras) {
        if (extras->label) {
            written.label = extras->label;
        }
        written.continuesLabels = extras->continuesLabels;
    }

    std::string out;
    ObjectSerializer serializer(*this, out);
    out += "<</Type/Page/Parent ";
    appendReference(out, writer_.pagesRoot());
    try {
        if (!page.isDictionary()) {
            throw std::runtime_error("not a page");
        }
        std::vector<std::string> skip = {"/Type", "/Parent", "/B", "/Annots"};
        // Attributes a page inherits from its tree are written on the page itself.
        for (const char* key : {"/Resources", "/MediaBox", "/CropBox", "/Rotate"}) {
            if (page.getKey(key).isNull()) {
                QPDFObjectHandle inherited = inheritedAttribute(page, key);
                if (!inherited.isNull()) {
                    out += key;
                    out += ' ';
                    serializer.value(inherited);
                } else if (std::string(key) == "/Resources") {
                    out += "/Resources<<>>";
                } else if (std::string(key) == "/MediaBox") {
                    out += "/MediaBox[0 0 612 792]";
                }
            }
        }
        QPDFObjectHandle annots = page.getKey("/Annots");
        const bool added = extras && !extras->annotations.empty();
        if (annots.isArray() || added) {
            out += "/Annots[";
            for (size_t i = 0; added && i < extras->annotations.size(); ++i) {
                const std::string& text = extras->annotations[i];
                const int annotation = writer_.reserve();
                writer_.writeObject(annotation,
                                    text.substr(0, text.size() - 2) + "/P " + std::to_string(number) + " 0 R>>");
                appendReference(out, annotation);
                out += ' ';
            }
        }
        if (annots.isArray()) {
            const int n = annots.getArrayNItems();
            for (int i = 0; i < n; ++i) {
                QPDFObjectHandle annotation = annots.getArrayItem(i);
                if (!annotation.isDictionary() || leadsToPageLeftOut(annotation)) {
                    continue;
                }
                noteField(annotation);
                if (annotation.isIndirect() && repeat) {
                    // A page listed again gets annotations of its own, which point back to it.
                    const int copy = writer_.reserve();
                    std::string text;
                    ObjectSerializer annotationSerializer(*this, text);
                    annotationSerializer.dictionary(annotation, 0, {"/P"}, annotation.getObjGen());
                    text.insert(text.size() - 2, "/P " + std::to_string(number) + " 0 R");
                    writer_.writeObject(copy, text);
                    appendReference(out, copy);
                } else {
                    serializer.value(annotation);
                }
                out += ' ';
            }
        }
        if (annots.isArray() || added) {
            out += ']';
        }
        std::string rest;
        ObjectSerializer restSerializer(*this, rest);
        restSerializer.dictionary(page, 0, skip);
        out.append(rest, 2, rest.size() - 2);  // after "<<", with its ">>"
    } catch (const std::exception&) {
        // A damaged page: an empty page of its size, rather than a hole in the page tree.
        out.resize(0);
        out += "<</Type/Page/Parent ";
        appendReference(out, writer_.pagesRoot());
        const PDFRect box = written.geometry.media;
        out += "/MediaBox[" + pdfNumber(box.x) + " " + pdfNumber(box.y) + " " + pdfNumber(box.x + box.width) + " " +
               pdfNumber(box.y + box.height) + "]/Resources<<>>>>";
    }
    writer_.writeObject(number, out);
    drain();
    return written;
}

void SourceCopy::drain() {
    // Objects queue others as they are serialised; the queue is taken in order of first use.
    for (size_t i = 0; i < queue_.size(); ++i) {
        writer_.checkCancelled();
        const auto [og, number] = queue_[i];
        writeObject(og, number);
    }
    queue_.clear();
}

void SourceCopy::writeObject(QPDFObjGen og, int number) {
    std::string out;
    try {
        QPDFObjectHandle object = pdf_.getObject(og);
        if (object.isStream()) {
            writeStream(object, number);
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
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        // An object that cannot be read is null; the warning libqpdf recorded reports the damage.
        out = "null";
    }
    writer_.writeObject(number, out);
}

void SourceCopy::writeStream(QPDFObjectHandle stream, int number) {
    QPDFObjectHandle dict = stream.getDict();
    QPDFObjectHandle filter = dict.getKey("/Filter");
    std::vector<std::string> skip = {"/Length"};
    bool compress = false;
    if (filter.isNull() || (filter.isArray() && filter.getArrayNItems() == 0)) {
        // Unfiltered data is compressed, as every PDF writer does; metadata stays readable to
        // tools that do not decode streams.
        compress = !isNamed(dict.getKey("/Type"), "/Metadata");
        skip.push_back("/Filter");
        skip.push_back("/DecodeParms");
    } else if (isNamed(filter, "/Crypt") ||
               (filter.isArray() && filter.getArrayNItems() == 1 && isNamed(filter.getArrayItem(0), "/Crypt"))) {
        // The source's encryption is undone as the bytes are read; nothing is left to decrypt.
        skip.push_back("/Filter");
        skip.push_back("/DecodeParms");
    }
    std::string head;
    ObjectSerializer serializer(*this, head);
    serializer.dictionary(dict, 0, skip);
    head.resize(head.size() - 2);  // ">>": the length and filter go on
    if (compress) {
        head += "/Filter/FlateDecode";
    }

    int lengthNumber = 0;
    StreamOut out(writer_, [&] {
        lengthNumber = writer_.reserve();
        std::string text = head + "/Length " + std::to_string(lengthNumber) + " 0 R>>stream\n";
        writer_.beginObject(number);
        writer_.sink().write(text.data(), text.size());
    });
    bool ok = false;
    {
        std::unique_ptr<Pl_Flate> deflate;
        Pipeline* first = &out;
        if (compress) {
            deflate = std::make_unique<Pl_Flate>("tomefuse compress", &out, Pl_Flate::a_deflate);
            first = deflate.get();
        }
        bool filtered = false;
        ok = stream.pipeStreamData(first, &filtered, 0, qpdf_dl_none, true, false);
    }
    out.rethrowFailure();
    if (!ok) {
        ++unreadStreams_;
    }
    if (out.spilled()) {
        static const std::string tail = "\nendstream";
        writer_.sink().write(tail.data(), tail.size());
        writer_.endObject();
        const std::string length = std::to_string(out.count());
        writer_.writeObject(lengthNumber, length);
    } else {
        std::string text = head + "/Length " + std::to_string(out.held().size()) + ">>stream\n";
        writer_.beginObject(number);
        writer_.sink().write(text.data(), text.size());
        writer_.sink().write(out.held().data(), out.held().size());
        static const std::string tail = "\nendstream";
        writer_.sink().write(tail.data(), tail.size());
        writer_.endObject();
    }
}

// The fields' default resources, appearance and redraw flag join the output's form. A resource
// name an earlier file took keeps that file's resource.
void SourceCopy::mergeForm() {
    try {
        QPDFObjectHandle resources = form_.getKey("/DR");
        if (resources.isDictionary()) {
            for (auto& [category, entries] : resources.getDictAsMap()) {
                if (!entries.isDictionary()) {
                    continue;
                }
                for (auto& [name, value] : entries.getDictAsMap()) {
                    if (value.isNull() || writer_.hasFormResource(category, name)) {
                        continue;
                    }
                    std::string text;
                    ObjectSerializer(*this, text).value(value);
                    writer_.addFormResource(category, name, std::move(text));
                }
            }
        }
        QPDFObjectHandle appearance = form_.getKey("/DA");
        if (appearance.isString()) {
            writer_.offerFormAppearance(appearance.unparse());
        }
        QPDFObjectHandle redraw = form_.getKey("/NeedAppearances");
        if (redraw.isBool() && redraw.getBoolValue()) {
            writer_.setNeedAppearances();
        }
    } catch (const std::exception&) {
    }
}

void SourceCopy::release() {
    drain();
    // Names that lead to pages written, renamed when an earlier file took them.
    try {
        for (const auto& [key, value] : origin_->names().all()) {
            const std::string destination = destinationText(value);
            if (!destination.empty()) {
                writer_.addName(writer_.uniqueNameKey(key, ordinal_), destination);
            }
        }
    } catch (const std::exception&) {
    }
    for (QPDFObjGen field : fields_) {
        writer_.addField(numberOf(field));
    }
    if (form_.isInitialized() && !fields_.empty()) {
        mergeForm();
    }
    drain();
}

}  // namespace tomefuse::pdf_detail
