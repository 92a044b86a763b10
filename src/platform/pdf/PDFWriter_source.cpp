// A source's copy: its objects' output numbers, its pages, where its links lead, what it gives
// the document at release, and whether what was written of it is what its file holds. References
// to pages follow the pages: to the first copy of a page that is in the output, else to nothing,
// so no page drags the rest of its file along. Links are written with explicit destinations
// (names followed in their own file), so they keep leading where they led whatever the output's
// names become; a link to a page of its file that is not in the output is removed.

#include <algorithm>
#include <exception>
#include <new>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// [page /FitR left bottom right top] is the longest destination.
constexpr int maxDestinationItems = 6;
// Object numbers of generation 0 kept in a plain vector up to this number.
constexpr int maxVectorNumber = 1 << 24;
// Objects shared within objects shared, up to this depth (each level is a serialiser deep on the
// stack); deeper ones get numbers of their own.
constexpr int maxSharingDepth = 16;

}  // namespace

SourceCopy::SourceCopy(Writer& writer, std::shared_ptr<ParsedFile> origin, size_t ordinal)
    : writer_(writer), origin_(std::move(origin)), pdf_(*origin_->qpdf), ordinal_(ordinal) {
    writer_.raiseVersion(origin_->minimumVersion);
    startIdentities();
    startStructure();
}

SourceCopy::~SourceCopy() = default;

// A read that failed once taints the parse for good: libqpdf may have taken the stream for empty.
std::string SourceCopy::loss() {
    collectWarnings();
    if (outOfMemory_) {
        throw std::bad_alloc();  // not the file's fault: the write cannot go on
    }
    if (origin_->file) {
        if (origin_->file->failureCount() > 0) {
            return origin_->file->lastFailure();
        }
        if (std::string changed = origin_->file->changedSinceOpened(); !changed.empty()) {
            return changed;
        }
    }
    if (!loss_.empty()) {
        return "damaged: " + loss_;
    }
    return unreadStreams_ > 0 ? "damaged: a stream's data could not be read" : std::string();
}

bool SourceCopy::ranOutOfMemory() noexcept {
    try {
        collectWarnings();
    } catch (...) {
        return true;  // only an allocation can fail here
    }
    return outOfMemory_;
}

std::string SourceCopy::repair() {
    collectWarnings();
    if (!origin_->leftOut.empty()) {
        return repair_.empty() ? origin_->leftOut : repair_ + "; " + origin_->leftOut;
    }
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
                // Above the page, only nodes with kids are of the tree: a damaged /Parent may
                // name anything, a font say, which is copied as any object is.
                for (int depth = 0; depth < 1000 && node.isIndirect() && (depth == 0 || node.hasKey("/Kids"));
                     ++depth) {
                    if (!pageTree_->insert(node.getObjGen()).second) {
                        break;
                    }
                    node = node.getKey("/Parent");
                }
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
        }
    }
    return pageTree_->count(og) > 0;
}

int& SourceCopy::numberSlot(QPDFObjGen og) {
    if (og.getGen() == 0 && og.getObj() < maxVectorNumber) {
        if (static_cast<size_t>(og.getObj()) >= numbers_.size()) {
            numbers_.resize(std::max<size_t>(static_cast<size_t>(og.getObj()) + 1, numbers_.size() * 2), 0);
        }
        return numbers_[static_cast<size_t>(og.getObj())];
    }
    return otherNumbers_[og];
}

int SourceCopy::numberOf(QPDFObjGen og) {
    if (og.getObj() <= 0 || (!pruned_.empty() && pruned_.count(og))) {
        return 0;  // nothing, or an element that went with the pages it marked
    }
    // Pages, their tree and the catalog are not copied along with what refers to them.
    if (isPageTreeNode(og)) {
        auto kept = keptPages_.find(og);
        return kept == keptPages_.end() ? 0 : kept->second;
    }
    if (const int number = numberSlot(og)) {
        return number;
    }
    if (auto cycle = sharing_.find(og); cycle != sharing_.end()) {
        // Referred to from its own parts: it gets its number now, and is not shared.
        if (cycle->second == 0) {
            cycle->second = writer_.reserve();
        }
        return cycle->second;
    }
    if (sharingDepth_ < maxSharingDepth && !identities_.count(og)) {
        QPDFObjectHandle object = pdf_.getObject(og);
        if (shareable(object)) {
            const int number = writeShared(og, object);
            // The parts written meanwhile may have moved the slot.
            numberSlot(og) = number;
            return number;
        }
    }
    const int number = writer_.reserve();
    numberSlot(og) = number;
    queue_.emplace_back(og, number);
    return number;
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
    } catch (const std::bad_alloc&) {
        throw;
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
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

const std::map<long long, PageLabel>& SourceCopy::labels() {
    if (!labels_) {
        try {
            labels_ = labelEntries(pdf_.getRoot().getKey("/PageLabels"));
        } catch (const std::bad_alloc&) {
            throw;
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
    // A page that is not one is damage: the file is refused, never given an empty page instead.
    if (!page.isDictionary()) {
        throw SourceDamage("page " + std::to_string(written.indexInSource + 1) + " cannot be read");
    }
    const auto& ranges = labels();
    if (!ranges.empty()) {
        writer_.noteLabels();
        written.label = labelAt(ranges, written.indexInSource);
    }
    written.geometry = geometryOf(page);
    if (extras) {
        if (extras->label) {
            written.label = extras->label;
        }
        written.continuesLabels = extras->continuesLabels;
        written.geometry.rotation = quarterTurned(written.geometry.rotation, extras->turn);
    }

    std::string out = "<</Type/Page/Parent ";
    appendReference(out, writer_.pagesRoot());
    writePageEntries(page, number, repeat, extras, out);
    writer_.writeObject(number, out);
    drain();
    requireContents(page, written.indexInSource);  // once what it refers to was read, and judged
    return written;
}

void SourceCopy::writePageEntries(QPDFObjectHandle page, int number, bool repeat, const PageExtras* extras,
                                  std::string& out) {
    ObjectSerializer serializer(*this, out);
    // A turned page gets its rotation, the one it had (its own or inherited) plus the turn; only
    // /Rotate changes, so nothing is drawn again.
    const bool turned = extras && quarterTurned(0, extras->turn) != 0;
    if (turned) {
        out += "/Rotate " + std::to_string(quarterTurned(rotationOf(page), extras->turn));
    }
    // Attributes a page inherits from its tree are written on the page itself.
    for (const char* key : {"/Resources", "/MediaBox", "/CropBox", "/Rotate"}) {
        if (turned && std::string(key) == "/Rotate") {
            continue;
        }
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
            const int annotation =
                i < extras->annotationNumbers.size() ? extras->annotationNumbers[i] : writer_.reserve();
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
    if (extras) {
        out += extras->pageEntries;
    }
    std::string rest;
    ObjectSerializer restSerializer(*this, rest);
    if (turned) {
        restSerializer.dictionary(page, 0, {"/Type", "/Parent", "/B", "/Annots", "/Rotate"});
    } else {
        restSerializer.dictionary(page, 0, {"/Type", "/Parent", "/B", "/Annots"});
    }
    out.append(rest, 2, rest.size() - 2);  // after "<<", with its ">>"
}

void SourceCopy::drain(bool skipUnreadable) {
    // Objects queue others as they are serialised; the queue is taken in order of first use.
    for (size_t i = 0; i < queue_.size(); ++i) {
        writer_.checkCancelled();
        const auto [og, number] = queue_[i];
        try {
            writeObject(og, number);
        } catch (const SourceDamage&) {
            if (!skipUnreadable) {
                throw;
            }
        }
    }
    queue_.clear();
}

void SourceCopy::settle() {
    drain();
    // Names that lead to pages written; an earlier round offered those that led there already.
    try {
        for (const auto& [key, value] : origin_->names().all()) {
            if (namesOffered_.count(key)) {
                continue;
            }
            std::string destination = destinationText(value);
            if (!destination.empty()) {
                namesOffered_.insert(key);
                settled_.names.emplace_back(key, std::move(destination));
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    for (; fieldsSettled_ < fields_.size(); ++fieldsSettled_) {
        settled_.fields.push_back(numberOf(fields_[fieldsSettled_]));
    }
    if (form_.isInitialized() && !fields_.empty() && !formMerged_) {
        formMerged_ = true;
        mergeForm();
    }
    settleCatalogParts();
    drain();
}

void SourceCopy::commit() {
    for (auto& [key, destination] : settled_.names) {
        writer_.addName(writer_.uniqueNameKey(key, ordinal_), std::move(destination));
    }
    for (int field : settled_.fields) {
        writer_.addField(field);
    }
    for (auto& [category, name, text] : settled_.resources) {
        if (!writer_.hasFormResource(category, name)) {
            writer_.addFormResource(category, name, std::move(text));
        }
    }
    if (settled_.appearance) {
        writer_.offerFormAppearance(std::move(*settled_.appearance));
    }
    if (settled_.needAppearances) {
        writer_.setNeedAppearances();
    }
    if (settled_.layers) {
        writer_.addLayers(std::move(*settled_.layers));
    }
    commitCatalogParts();
    if (settled_.structPart) {
        writer_.addStructPart(settled_.structPart);
    }
    for (auto& [key, value] : settled_.parentTree) {
        writer_.addParentTreeEntry(key, std::move(value));
    }
    for (auto& [key, element] : settled_.ids) {
        writer_.addStructId(std::move(key), std::move(element));
    }
    settled_ = Settled();
}

void SourceCopy::release() {
    settle();
    settleStructure();
    commit();
}

}  // namespace tomefuse::pdf_detail
