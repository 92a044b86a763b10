// What the writer writes once all pages are out: the page tree, outline, names, labels, form,
// information dictionary and catalog.

#include "platform/pdf/PDFWriter.h"

#include <algorithm>

#include "platform/pdf/PDFObjectSerializer.h"

namespace tomefuse::pdf_detail {

namespace {

// Names and kids per node of a name tree.
constexpr size_t fanOut = 64;

// A text string's bytes as a reader expects them: PDFDocEncoding where it suffices, else UTF-16BE.
std::string textStringBytes(const std::string& utf8) {
    return QPDFObjectHandle::newUnicodeString(utf8).getStringValue();
}

}  // namespace

void Writer::checkCancelled() const {
    if (options_.cancelled && options_.cancelled->load(std::memory_order_relaxed)) {
        throw WriteCancelled();
    }
}

SourceCopy& Writer::copyOf(const std::shared_ptr<ParsedFile>& origin) {
    auto found = byOrigin_.find(origin.get());
    if (found != byOrigin_.end()) {
        return *found->second;
    }
    copies_.push_back(std::make_unique<SourceCopy>(*this, origin, nextOrdinal_++));
    byOrigin_[origin.get()] = copies_.back().get();
    return *copies_.back();
}

void Writer::release(const ParsedFile& origin) { remove(origin, true); }

void Writer::discard(const ParsedFile& origin) { remove(origin, false); }

void Writer::remove(const ParsedFile& origin, bool settle) {
    auto found = byOrigin_.find(&origin);
    if (found == byOrigin_.end()) {
        return;
    }
    SourceCopy* copy = found->second;
    byOrigin_.erase(found);
    if (settle) {
        copy->release();
    } else {
        // A source left out gives back the field names it took, so no later file is renamed
        // for fields that are not there.
        for (const std::string& name : copy->fieldNamesTaken()) {
            giveBackFieldName(name);
        }
    }
    std::erase_if(copies_, [copy](const std::unique_ptr<SourceCopy>& c) { return c.get() == copy; });
}

void Writer::releaseAll() {
    while (!copies_.empty()) {
        release(copies_.front()->origin());
    }
}

std::string Writer::uniqueNameKey(const std::string& key, size_t ordinal) {
    if (nameKeys_.insert(key).second) {
        return key;
    }
    const std::string base = key + "-" + std::to_string(ordinal);
    std::string candidate = base;
    for (int n = 2; !nameKeys_.insert(candidate).second; ++n) {
        candidate = base + "." + std::to_string(n);
    }
    return candidate;
}

std::string Writer::uniqueFieldName(const std::string& name) {
    if (fieldNames_.insert(name).second) {
        return name;
    }
    std::string candidate;
    for (int n = 1;; ++n) {
        candidate = name + "+" + std::to_string(n);
        if (fieldNames_.insert(candidate).second) {
            return candidate;
        }
    }
}

bool Writer::hasFormResource(const std::string& category, const std::string& name) const {
    auto found = formResources_.find(category);
    return found != formResources_.end() && found->second.count(name) > 0;
}

void Writer::addFormResource(const std::string& category, const std::string& name, std::string text) {
    formResources_[category].emplace(name, std::move(text));
}

void Writer::offerFormAppearance(std::string text) {
    if (!formAppearance_) {
        formAppearance_ = std::move(text);
    }
}

void Writer::writeOutline(const Catalog& catalog, std::string& catalogEntries) {
    const PDFOutline* root = catalog.outline;
    if (!root || root->numberOfChildren() == 0) {
        return;
    }
    // Numbers first, in pre-order, so each item can name its neighbours; an item listed twice
    // is written once, which also ends any cycle.
    struct Item {
        const PDFOutline* node;
        int number;
        size_t parent;
        size_t position;  // among the parent's children
        std::vector<size_t> children;
    };
    std::vector<Item> items{{root, reserve(), 0, 0, {}}};
    std::unordered_set<const PDFOutline*> seen{root};
    std::vector<size_t> stack{0};
    while (!stack.empty()) {
        const size_t at = stack.back();
        stack.pop_back();
        const PDFOutline* node = items[at].node;
        const size_t first = items.size();
        for (size_t i = 0; i < node->numberOfChildren(); ++i) {
            const auto& child = node->childAtIndex(i);
            if (child && seen.insert(child.get()).second) {
                items[at].children.push_back(items.size());
                items.push_back({child.get(), reserve(), at, items[at].children.size() - 1, {}});
            }
        }
        for (size_t i = items.size(); i-- > first;) {
            stack.push_back(i);
        }
    }

    // How many items show below each when it is open: its children, and below each child that
    // starts open, that child's. Children come after their parents, so backwards is bottom-up.
    std::vector<size_t> visible(items.size(), 0);
    for (size_t at = items.size(); at-- > 0;) {
        for (size_t child : items[at].children) {
            visible[at] += 1 + (items[child].node->style().open ? visible[child] : 0);
        }
    }

    auto siblings = [&](const Item& item, std::string& text) {
        if (item.children.empty()) {
            return;
        }
        text += "/First " + reference(items[item.children.front()].number);
        text += "/Last " + reference(items[item.children.back()].number);
    };
    for (size_t at = 0; at < items.size(); ++at) {
        checkCancelled();
        const Item& item = items[at];
        std::string text = "<<";
        if (at == 0) {
            text += "/Type/Outlines";
            siblings(item, text);
            text += "/Count " + std::to_string(visible[0]);
        } else {
            const PDFOutline& node = *item.node;
            text += "/Title " + pdfString(node.label().value_or(std::string()));
            const Item& parent = items[item.parent];
            text += "/Parent " + reference(parent.number);
            if (item.position > 0) {
                text += "/Prev " + reference(items[parent.children[item.position - 1]].number);
            }
            if (item.position + 1 < parent.children.size()) {
                text += "/Next " + reference(items[parent.children[item.position + 1]].number);
            }
            siblings(item, text);
            if (!item.children.empty()) {
                // Positive when the item starts open, as the file had it.
                text += "/Count " + std::string(node.style().open ? "" : "-") + std::to_string(visible[at]);
            }
            if (const auto& destination = node.destination()) {
                const uint64_t index = catalog.indexOf(destination->page());
                if (index < catalog.pages.size()) {
                    text += "/Dest[" + reference(catalog.pages[index]->number) + pdfViewText(destination->view()) + "]";
                }
            } else if (const auto& action = node.action()) {
                text += "/A " + directObjectText(action->impl().object);
            }
            if (const auto& color = node.style().color) {
                text +=
                    "/C[" + pdfNumber((*color)[0]) + " " + pdfNumber((*color)[1]) + " " + pdfNumber((*color)[2]) + "]";
            }
            if (node.style().flags != 0) {
                text += "/F " + std::to_string(node.style().flags);
            }
        }
        text += ">>";
        writeObject(item.number, text);
    }
    catalogEntries += "/Outlines " + reference(items[0].number) + "/PageMode/UseOutlines";
}

void Writer::writeNames(std::string& catalogEntries) {
    const std::string attachments = writeNameTrees();
    if (names_.empty()) {
        if (!attachments.empty()) {
            catalogEntries += "/Names<<" + attachments + ">>";
        }
        return;
    }
    struct Entry {
        std::string bytes;
        std::string value;
    };
    std::vector<Entry> sorted;
    sorted.reserve(names_.size());
    for (auto& [key, value] : names_) {
        sorted.push_back({textStringBytes(key), std::move(value)});
    }
    names_.clear();
    // Keys in the order of their bytes as written, as a name tree requires; a later duplicate
    // key is left out.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.bytes < b.bytes; });
    sorted.erase(
        std::unique(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.bytes == b.bytes; }),
        sorted.end());
    auto key = [](const std::string& bytes) { return pdfStringBytes(bytes); };

    struct Node {
        int number;
        std::string first;
        std::string last;
    };
    std::vector<Node> level;
    const bool single = sorted.size() <= fanOut;
    for (size_t i = 0; i < sorted.size(); i += fanOut) {
        checkCancelled();
        const size_t end = std::min(sorted.size(), i + fanOut);
        std::string text = "<</Names[";
        for (size_t j = i; j < end; ++j) {
            text += key(sorted[j].bytes) + " " + sorted[j].value + " ";
        }
        text += "]";
        if (!single) {
            text += "/Limits[" + key(sorted[i].bytes) + " " + key(sorted[end - 1].bytes) + "]";
        }
        text += ">>";
        const int number = reserve();
        writeObject(number, text);
        level.push_back({number, sorted[i].bytes, sorted[end - 1].bytes});
    }
    while (level.size() > fanOut) {
        std::vector<Node> parents;
        for (size_t i = 0; i < level.size(); i += fanOut) {
            const size_t end = std::min(level.size(), i + fanOut);
            std::string text = "<</Kids[";
            for (size_t j = i; j < end; ++j) {
                text += reference(level[j].number) + " ";
            }
            text += "]/Limits[" + key(level[i].first) + " " + key(level[end - 1].last) + "]>>";
            const int number = reserve();
            writeObject(number, text);
            parents.push_back({number, level[i].first, level[end - 1].last});
        }
        level = std::move(parents);
    }
    int root = level.front().number;
    if (!single) {
        std::string text = "<</Kids[";
        for (const Node& node : level) {
            text += reference(node.number) + " ";
        }
        text += "]>>";
        root = reserve();
        writeObject(root, text);
    }
    catalogEntries += "/Names<</Dests " + reference(root) + attachments + ">>";
}

void Writer::writeLabels(const Catalog& catalog, std::string& catalogEntries) {
    if (!anyLabels_) {
        return;
    }
    const int number = reserve();
    writeObject(number, "<</Nums[" + labelNumbers(effectiveLabels(catalog.pages)) + "]>>");
    catalogEntries += "/PageLabels " + reference(number);
}

void Writer::writeForm(std::string& catalogEntries) {
    if (fields_.empty()) {
        return;
    }
    std::string text = "<</Fields[";
    for (int field : fields_) {
        text += reference(field) + " ";
    }
    text += "]";
    if (!formResources_.empty()) {
        text += "/DR<<";
        for (const auto& [category, entries] : formResources_) {
            text += pdfName(category) + "<<";
            for (const auto& [name, value] : entries) {
                text += pdfName(name) + " " + value;
            }
            text += ">>";
        }
        text += ">>";
    }
    if (formAppearance_) {
        text += "/DA " + *formAppearance_;
    }
    if (needAppearances_) {
        text += "/NeedAppearances true";
    }
    text += ">>";
    const int number = reserve();
    writeObject(number, text);
    catalogEntries += "/AcroForm " + reference(number);
}

void Writer::finish(const Catalog& catalog) {
    checkCancelled();
    releaseAll();
    std::string kids;
    for (const WrittenPage* page : catalog.pages) {
        kids += reference(page->number) + " ";
    }
    writeObject(pagesRoot_, "<</Type/Pages/Count " + std::to_string(catalog.pages.size()) + "/Kids[" + kids + "]>>");

    std::string entries;
    writeOutline(catalog, entries);
    writeNames(entries);
    writeLabels(catalog, entries);
    writeForm(entries);
    writeCatalogParts(entries);
    if (headerVersion_ < version_) {
        std::string text;
        int extension = 0;
        version_.getVersion(text, extension);
        entries += "/Version/" + text;
    }
    std::string info = "<<";
    for (const auto& [key, value] : catalog.info) {
        info += pdfName(key) + " " + value;
    }
    writeAttributes(catalog, entries, info);
    info += ">>";
    const int infoNumber = reserve();
    writeObject(infoNumber, info);
    const int root = reserve();
    writeObject(root, "<</Type/Catalog/Pages " + reference(pagesRoot_) + entries + ">>");

    writeCrossReference(root, infoNumber);
}

}  // namespace tomefuse::pdf_detail
