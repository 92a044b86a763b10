// Links and named destinations of copied pages. Every destination is resolved in the document it
// was copied from (explicit, by name, through /D dictionaries) and rewritten to the copy of its
// target page, with its view kept. Links are written with explicit destinations, so they follow
// any renaming of names. The names themselves are offered in one /Names /Dests tree: the first
// document to use a name keeps it; a later one's clashing name gets "-N" appended, N counting
// the documents pages were copied from in order (its "section.2" becomes "section.2-2"), and
// ".2", ".3", ... more should that be taken too.

#include <algorithm>
#include <exception>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// Actions chained through /Next, per annotation; real ones have a handful.
constexpr int maxActions = 256;
// [page /FitR left bottom right top] is the longest destination.
constexpr int maxDestinationItems = 6;

// A number, name, boolean or null of any document, as a fresh direct object.
QPDFObjectHandle scalarCopy(QPDFObjectHandle item) {
    if (item.isInteger()) {
        return QPDFObjectHandle::newInteger(item.getIntValue());
    }
    if (item.isReal()) {
        return QPDFObjectHandle::newReal(item.getRealValue());
    }
    if (item.isName()) {
        return QPDFObjectHandle::newName(item.getName());
    }
    if (item.isBool()) {
        return QPDFObjectHandle::newBool(item.getBoolValue());
    }
    return QPDFObjectHandle::newNull();
}

// An explicit destination of the source rewritten to the copy of its page; none when the page
// was not copied. A page number in place of the reference is taken as a 0-based index, as the
// outline reader does.
std::optional<QPDFObjectHandle> retarget(SourceRecord& source, QPDFObjectHandle array) {
    if (!array.isArray() || array.getArrayNItems() < 1) {
        return std::nullopt;
    }
    QPDFObjectHandle target = array.getArrayItem(0);
    QPDFObjGen page;
    if (target.isIndirect()) {
        page = target.getObjGen();
    } else if (target.isInteger()) {
        const long long index = target.getIntValue();
        const auto& pages = source.qpdf->getAllPages();
        if (index < 0 || static_cast<unsigned long long>(index) >= pages.size()) {
            return std::nullopt;
        }
        page = pages[static_cast<size_t>(index)].getObjGen();
    } else {
        return std::nullopt;
    }
    auto copy = source.copies.find(page);
    if (copy == source.copies.end()) {
        return std::nullopt;
    }
    auto result = QPDFObjectHandle::newArray();
    result.appendItem(copy->second);
    const int items = std::min(array.getArrayNItems(), maxDestinationItems);
    for (int i = 1; i < items; ++i) {
        result.appendItem(scalarCopy(array.getArrayItem(i)));
    }
    return result;
}

// The key under which a destination value is looked up, for a name or a string.
std::optional<std::string> nameKey(QPDFObjectHandle destination) {
    if (destination.isName()) {
        return destination.getName().substr(1);
    }
    if (destination.isString()) {
        return destination.getUTF8Value();
    }
    return std::nullopt;
}

class LinkFixer {
  public:
    LinkFixer(SourceRecord& source, std::vector<UnresolvedName>& unresolved)
        : source_(source), unresolved_(unresolved) {
        if (!source.names) {
            source.names = std::make_unique<NamedDestinations>(*source.qpdf);
        }
    }

    void fixPage(QPDFObjectHandle sourcePage, QPDFObjectHandle copy) {
        fixTriggers(sourcePage.getKey("/AA"), copy.getKey("/AA"));
        QPDFObjectHandle sourceAnnots = sourcePage.getKey("/Annots");
        QPDFObjectHandle copyAnnots = copy.getKey("/Annots");
        // libqpdf's copy, and its form helper's, keep the annotations in place one for one.
        if (!sourceAnnots.isArray() || !copyAnnots.isArray() ||
            sourceAnnots.getArrayNItems() != copyAnnots.getArrayNItems()) {
            return;
        }
        const int count = sourceAnnots.getArrayNItems();
        for (int i = 0; i < count; ++i) {
            try {
                fixAnnotation(sourcePage, copy, sourceAnnots.getArrayItem(i), copyAnnots.getArrayItem(i));
            } catch (const std::exception&) {
                // One damaged annotation spoils only itself.
            }
        }
    }

  private:
    void fixAnnotation(QPDFObjectHandle sourcePage, QPDFObjectHandle copy, QPDFObjectHandle annotation,
                       QPDFObjectHandle copied) {
        if (!annotation.isDictionary() || !copied.isDictionary()) {
            return;
        }
        QPDFObjectHandle dest = annotation.getKey("/Dest");
        if (!dest.isNull()) {
            fixDestination(dest, copied, "/Dest");
        }
        fixActions(annotation.getKey("/A"), copied.getKey("/A"));
        fixTriggers(annotation.getKey("/AA"), copied.getKey("/AA"));
        // The back reference to the page, lost when the annotation was reached from another page.
        QPDFObjectHandle owner = annotation.getKey("/P");
        if (owner.isIndirect() && owner.getObjGen() == sourcePage.getObjGen()) {
            copied.replaceKey("/P", copy);
        }
    }

    // Writes the rewritten destination under key in holder (a copied annotation or action).
    void fixDestination(QPDFObjectHandle destination, QPDFObjectHandle holder, const std::string& key) {
        QPDFObjectHandle target = source_.names->resolve(destination);
        if (auto rewritten = retarget(source_, target)) {
            holder.replaceKey(key, *rewritten);
            return;
        }
        // What leads to no page copied here must not lead into another document instead: a page
        // number that counts this document's pages, or a name that another document offers here
        // (known only once all are in).
        const bool pageNumber = target.isArray() && target.getArrayNItems() > 0 && target.getArrayItem(0).isInteger();
        if (pageNumber) {
            holder.removeKey(key);
        } else if (auto name = nameKey(destination)) {
            unresolved_.push_back({holder, key, *name});
        }
        // An explicit destination to a page not copied was nulled by libqpdf; it stays so.
    }

    // An action and the ones chained to it through /Next (a dictionary or an array of them).
    void fixActions(QPDFObjectHandle action, QPDFObjectHandle copied) {
        std::vector<std::pair<QPDFObjectHandle, QPDFObjectHandle>> stack{{action, copied}};
        ObjGenSet seen;
        for (int visited = 0; !stack.empty() && visited < maxActions; ++visited) {
            auto [from, to] = stack.back();
            stack.pop_back();
            if (from.isArray() && to.isArray()) {
                const int n = std::min(from.getArrayNItems(), to.getArrayNItems());
                for (int i = n; i-- > 0;) {
                    stack.push_back({from.getArrayItem(i), to.getArrayItem(i)});
                }
                continue;
            }
            if (!from.isDictionary() || !to.isDictionary() ||
                (from.isIndirect() && !seen.insert(from.getObjGen()).second)) {
                continue;
            }
            QPDFObjectHandle type = from.getKey("/S");
            if (type.isName() && type.getName() == "/GoTo") {
                fixDestination(from.getKey("/D"), to, "/D");
            }
            stack.push_back({from.getKey("/Next"), to.getKey("/Next")});
        }
    }

    // An additional-actions dictionary: one action (chain) per trigger.
    void fixTriggers(QPDFObjectHandle triggers, QPDFObjectHandle copied) {
        if (!triggers.isDictionary() || !copied.isDictionary()) {
            return;
        }
        for (auto [key, action] : triggers.ditems()) {
            fixActions(action, copied.getKey(key));
        }
    }

    SourceRecord& source_;
    std::vector<UnresolvedName>& unresolved_;
};

std::string uniqueKey(const std::string& key, size_t ordinal, std::unordered_set<std::string>& taken) {
    if (taken.insert(key).second) {
        return key;
    }
    const std::string base = key + "-" + std::to_string(ordinal);
    std::string candidate = base;
    for (int n = 2; !taken.insert(candidate).second; ++n) {
        candidate = base + "." + std::to_string(n);
    }
    return candidate;
}

// A balanced name tree, written directly: inserting one name at a time through libqpdf's helper
// costs more than the rest of a combine for documents with tens of thousands of names. Keys are
// sorted by their bytes as written, as the tree requires; a later duplicate key is left out.
QPDFObjectHandle nameTree(QPDF& pdf, std::vector<std::pair<std::string, QPDFObjectHandle>> entries) {
    constexpr size_t fanOut = 64;
    struct Entry {
        std::string bytes;
        QPDFObjectHandle key;
        QPDFObjectHandle value;
    };
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (auto& [key, value] : entries) {
        QPDFObjectHandle string = QPDFObjectHandle::newUnicodeString(key);
        sorted.push_back({string.getStringValue(), string, std::move(value)});
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.bytes < b.bytes; });
    sorted.erase(
        std::unique(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.bytes == b.bytes; }),
        sorted.end());

    auto limits = [](QPDFObjectHandle first, QPDFObjectHandle last) {
        return QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{first.shallowCopy(), last.shallowCopy()});
    };
    if (sorted.size() <= fanOut) {
        auto array = QPDFObjectHandle::newArray();
        for (const Entry& entry : sorted) {
            array.appendItem(entry.key);
            array.appendItem(entry.value);
        }
        return pdf.makeIndirectObject(QPDFObjectHandle::newDictionary({{"/Names", array}}));
    }
    // Each node with its first and last key, level by level up to a root of at most fanOut kids.
    struct Node {
        QPDFObjectHandle node;
        QPDFObjectHandle first;
        QPDFObjectHandle last;
    };
    std::vector<Node> level;
    for (size_t i = 0; i < sorted.size(); i += fanOut) {
        const size_t end = std::min(sorted.size(), i + fanOut);
        auto array = QPDFObjectHandle::newArray();
        for (size_t j = i; j < end; ++j) {
            array.appendItem(sorted[j].key);
            array.appendItem(sorted[j].value);
        }
        auto leaf = QPDFObjectHandle::newDictionary(
            {{"/Names", array}, {"/Limits", limits(sorted[i].key, sorted[end - 1].key)}});
        level.push_back({pdf.makeIndirectObject(leaf), sorted[i].key, sorted[end - 1].key});
    }
    while (level.size() > fanOut) {
        std::vector<Node> parents;
        for (size_t i = 0; i < level.size(); i += fanOut) {
            const size_t end = std::min(level.size(), i + fanOut);
            auto kids = QPDFObjectHandle::newArray();
            for (size_t j = i; j < end; ++j) {
                kids.appendItem(level[j].node);
            }
            auto parent = QPDFObjectHandle::newDictionary(
                {{"/Kids", kids}, {"/Limits", limits(level[i].first, level[end - 1].last)}});
            parents.push_back({pdf.makeIndirectObject(parent), level[i].first, level[end - 1].last});
        }
        level = std::move(parents);
    }
    auto kids = QPDFObjectHandle::newArray();
    for (const Node& node : level) {
        kids.appendItem(node.node);
    }
    return pdf.makeIndirectObject(QPDFObjectHandle::newDictionary({{"/Kids", kids}}));
}

}  // namespace

std::unordered_set<std::string> writeNamedDestinations(DocumentData& data, Assembly& assembly) {
    std::unordered_set<std::string> taken;
    std::vector<std::pair<std::string, QPDFObjectHandle>> entries;
    for (const auto& source : assembly.sources) {
        if (source->own) {
            for (const auto& [key, value] : source->ownNames) {
                taken.insert(key);
                entries.emplace_back(key, value);
            }
            continue;
        }
        for (auto& [key, value] : source->released ? source->settledNames : retargetedNames(*source)) {
            entries.emplace_back(uniqueKey(key, source->ordinal, taken), value);
        }
    }

    QPDFObjectHandle catalog = data.qpdf->getRoot();
    QPDFObjectHandle names = catalog.getKey("/Names");
    if (entries.empty()) {
        if (names.isDictionary()) {
            names.removeKey("/Dests");
        }
        return taken;
    }
    if (!names.isDictionary()) {
        names = QPDFObjectHandle::newDictionary();
        catalog.replaceKey("/Names", names);
    }
    names.replaceKey("/Dests", nameTree(*data.qpdf, std::move(entries)));
    return taken;
}

std::vector<std::pair<std::string, QPDFObjectHandle>> retargetedNames(SourceRecord& source) {
    std::vector<std::pair<std::string, QPDFObjectHandle>> names;
    for (const auto& [key, target] : source.namedTargets) {
        try {
            if (auto rewritten = retarget(source, target)) {
                names.emplace_back(key, *rewritten);
            }
        } catch (const std::exception&) {
        }
    }
    return names;
}

void fixLinks(SourceRecord& source, std::vector<UnresolvedName>& unresolved) {
    LinkFixer fixer(source, unresolved);
    for (const auto& [sourcePage, copy] : source.linking) {
        try {
            fixer.fixPage(sourcePage, copy);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace tomefuse::pdf_detail
