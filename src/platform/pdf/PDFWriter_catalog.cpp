// What a source's catalog gives the whole combined file besides its pages: its layers, its
// attachments (one name tree for all files, a repeated name made unique while the name a viewer
// shows stays), and the files associated with the document.

#include <algorithm>
#include <exception>
#include <new>
#include <set>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// Names and kids per node of a name tree.
constexpr size_t treeFanOut = 64;

// The catalog's entries that the combined file merges from every file or writes anew.
bool carriedOver(const std::string& key) {
    static const std::set<std::string> keys = {"/Type",     "/Pages",          "/Outlines", "/PageLabels",
                                               "/Names",    "/Dests",          "/AcroForm", "/OCProperties",
                                               "/MarkInfo", "/Lang",           "/AF",       "/PageMode",
                                               "/Metadata", "/StructTreeRoot", "/Version",  "/OutputIntents"};
    return keys.count(key) != 0;
}

}  // namespace

// Read once per copy: the parts belong to the file, not to any of its pages.
void SourceCopy::settleCatalogParts() {
    if (catalogPartsSettled_) {
        return;
    }
    catalogPartsSettled_ = true;
    QPDFObjectHandle root = pdf_.getRoot();
    noteCatalogLeftOut(root);
    try {
        QPDFObjectHandle language = root.getKey("/Lang");
        settled_.language = language.isString() ? language.getStringValue() : std::string();
    } catch (const std::exception&) {
        settled_.language = std::string();
    }
    settleOutputIntents(root);
    try {
        QPDFObjectHandle properties = root.getKey("/OCProperties");
        if (properties.isDictionary()) {
            settleLayers(properties);
        }
    } catch (const std::exception&) {
        rethrowUnlessUnreadable();
    }
    // A file spec is one of a kind; two files' equal scripts may share one object.
    readNameTree(root, "/EmbeddedFiles", true, settled_.attachments);
    if (keepsScripts(root)) {
        readNameTree(root, "/JavaScript", false, settled_.scripts);
    }
    try {
        QPDFObjectHandle associated = root.getKey("/AF");
        if (associated.isArray()) {
            markIdentity(associated);
            for (QPDFObjectHandle item : associated.aitems()) {
                if (item.isDictionary()) {
                    std::string text;
                    ObjectSerializer(*this, text).value(item);
                    settled_.associated.push_back(std::move(text));
                }
            }
        }
    } catch (const std::exception&) {
        rethrowUnlessUnreadable();
    }
}

// The entries of one of the catalog's name trees, each value as PDF text.
void SourceCopy::readNameTree(QPDFObjectHandle root, const std::string& tree, bool oneOfAKind,
                              std::vector<std::pair<std::string, std::string>>& entries) {
    try {
        QPDFObjectHandle names = root.getKey("/Names");
        QPDFObjectHandle top = names.isDictionary() ? names.getKey(tree) : QPDFObjectHandle();
        if (!top.isDictionary()) {
            return;
        }
        walkTree(top, "/Names", [&](QPDFObjectHandle key, QPDFObjectHandle value) {
            if (key.isString() && value.isDictionary()) {
                if (oneOfAKind) {
                    markIdentity(value);
                }
                std::string text;
                ObjectSerializer(*this, text).value(value);
                entries.emplace_back(key.getUTF8Value(), std::move(text));
            }
            return true;
        });
    } catch (const std::exception&) {
        rethrowUnlessUnreadable();
    }
}

// A form's calculations, formats and checks call the functions its document-level scripts
// define: a file with fields keeps them. Any other file's scripts would only act on opening.
bool SourceCopy::keepsScripts(QPDFObjectHandle root) {
    try {
        QPDFObjectHandle form = root.getKey("/AcroForm");
        QPDFObjectHandle fields = form.isDictionary() ? form.getKey("/Fields") : QPDFObjectHandle();
        return fields.isArray() && fields.getArrayNItems() > 0;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

void SourceCopy::commitCatalogParts() {
    for (auto& [key, fileSpec] : settled_.attachments) {
        writer_.addAttachment(writer_.uniqueAttachmentKey(key, ordinal_), std::move(fileSpec));
    }
    for (auto& [key, action] : settled_.scripts) {
        writer_.addScript(writer_.uniqueScriptKey(key, ordinal_), std::move(action));
    }
    for (std::string& item : settled_.associated) {
        writer_.addAssociatedFile(std::move(item));
    }
    if (settled_.language) {
        writer_.addLanguage(std::move(*settled_.language));
    }
    if (settled_.intentsDigest) {
        writer_.addOutputIntents(*settled_.intentsDigest, std::move(settled_.intentsText));
    }
}

// Output intents say what device a file's colours were made for: kept when every file agrees.
// Where one differs, none are, and the first file that differs names them in the log.
void SourceCopy::settleOutputIntents(QPDFObjectHandle root) {
    std::optional<ObjectDigest> digest;
    QPDFObjectHandle intents;
    try {
        intents = root.getKey("/OutputIntents");
        if (intents.isArray() && intents.getArrayNItems() > 0) {
            digest = digestOfValue(intents);
        }
    } catch (const std::exception&) {
        rethrowUnlessUnreadable();
        digest.reset();
    }
    settled_.intentsDigest = digest;
    if (digest && writer_.wantsOutputIntentsText()) {
        markIdentity(intents);
        ObjectSerializer(*this, settled_.intentsText).value(intents);
    }
    if (writer_.outputIntentsFirstDifferAt(digest)) {
        catalogLeftOut_.push_back("/OutputIntents");
    }
}

void SourceCopy::noteCatalogLeftOut(QPDFObjectHandle root) {
    try {
        for (const std::string& key : root.getKeys()) {
            if (!carriedOver(key)) {
                catalogLeftOut_.push_back(key);
            }
        }
        QPDFObjectHandle names = root.getKey("/Names");
        if (names.isDictionary()) {
            for (const std::string& key : names.getKeys()) {
                if (key != "/Dests" && key != "/EmbeddedFiles" && (key != "/JavaScript" || !keepsScripts(root))) {
                    catalogLeftOut_.push_back("/Names " + key);
                }
            }
        }
    } catch (const std::exception&) {
        rethrowUnlessUnreadable();
    }
}

namespace {

// A name another file took first gets the file's place in the document after it.
std::string uniqueKey(std::unordered_set<std::string>& taken, const std::string& key, size_t ordinal) {
    if (taken.insert(key).second) {
        return key;
    }
    const std::string base = key + " (" + std::to_string(ordinal) + ")";
    std::string candidate = base;
    for (int n = 2; !taken.insert(candidate).second; ++n) {
        candidate = key + " (" + std::to_string(ordinal) + "." + std::to_string(n) + ")";
    }
    return candidate;
}

}  // namespace

std::string Writer::uniqueAttachmentKey(const std::string& key, size_t ordinal) {
    return uniqueKey(attachmentKeys_, key, ordinal);
}

std::string Writer::uniqueScriptKey(const std::string& key, size_t ordinal) {
    return uniqueKey(scriptKeys_, key, ordinal);
}

int Writer::writeNameTree(std::vector<std::pair<std::string, std::string>> entries) {
    for (auto& [key, value] : entries) {
        key = QPDFObjectHandle::newUnicodeString(key).getStringValue();
    }
    // A name tree's keys go in the order of their bytes; a later repeat is left out.
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.erase(
        std::unique(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        entries.end());
    for (auto& [key, value] : entries) {
        key = pdfStringBytes(key);
    }
    return writeTree(entries, "/Names");
}

int Writer::writeNumberTree(std::vector<std::pair<long long, std::string>> entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.erase(
        std::unique(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        entries.end());
    std::vector<std::pair<std::string, std::string>> texts;
    texts.reserve(entries.size());
    for (auto& [key, value] : entries) {
        texts.emplace_back(std::to_string(key), std::move(value));
    }
    return writeTree(texts, "/Nums");
}

int Writer::writeTree(const std::vector<std::pair<std::string, std::string>>& entries, const char* entriesKey) {
    struct Node {
        int number;
        std::string first;
        std::string last;
    };
    std::vector<Node> level;
    const bool single = entries.size() <= treeFanOut;
    for (size_t i = 0; i < entries.size() || level.empty(); i += treeFanOut) {
        checkCancelled();
        const size_t end = std::min(entries.size(), i + treeFanOut);
        std::string text = "<<" + std::string(entriesKey) + "[";
        for (size_t j = i; j < end; ++j) {
            text += entries[j].first + " " + entries[j].second + " ";
        }
        text += "]";
        if (!single) {
            text += "/Limits[" + entries[i].first + " " + entries[end - 1].first + "]";
        }
        text += ">>";
        level.push_back(
            {reserve(), single ? std::string() : entries[i].first, single ? std::string() : entries[end - 1].first});
        writeObject(level.back().number, text);
    }
    while (!single && level.size() > 1) {
        std::vector<Node> parents;
        const bool top = level.size() <= treeFanOut;
        for (size_t i = 0; i < level.size(); i += treeFanOut) {
            const size_t end = std::min(level.size(), i + treeFanOut);
            std::string text = "<</Kids[";
            for (size_t j = i; j < end; ++j) {
                appendReference(text, level[j].number);
                text += ' ';
            }
            text += "]";
            if (!top) {
                text += "/Limits[" + level[i].first + " " + level[end - 1].last + "]";
            }
            text += ">>";
            parents.push_back({reserve(), level[i].first, level[end - 1].last});
            writeObject(parents.back().number, text);
        }
        level = std::move(parents);
    }
    return level.front().number;
}

// The name trees of the catalog's /Names besides the destinations, as its entries.
std::string Writer::writeNameTrees() {
    std::string entries;
    for (auto [key, tree] : {std::pair{"/EmbeddedFiles", &attachments_}, std::pair{"/JavaScript", &scripts_}}) {
        if (!tree->empty()) {
            entries += key + (" " + std::to_string(writeNameTree(std::move(*tree)))) + " 0 R";
            tree->clear();
        }
    }
    return entries;
}

void Writer::addOutputIntents(const std::optional<Digest>& digest, std::string text) {
    if (!intents_) {
        intents_ = OutputIntents{digest, std::move(text), true};
    } else if (intents_->digest != digest) {
        intents_->agree = false;
    }
}

// Kept: layers, structure, associated files, and the language and output intents when every
// file has the same, and a form's document scripts. Left out: what acts on the whole document
// (/OpenAction, /AA, the scripts of a file without fields) runs nothing in the combined file; its
// viewer settings (/ViewerPreferences, /PageLayout) are one file's wishes, not the combined file's.
void Writer::writeCatalogParts(std::string& catalogEntries) {
    writeLayers(catalogEntries);
    writeStructure(catalogEntries);
    if (languages_.size() == 1 && !languages_.begin()->empty()) {
        catalogEntries += "/Lang " + pdfStringBytes(*languages_.begin());
    }
    if (intents_ && intents_->agree && intents_->digest) {
        catalogEntries += "/OutputIntents " + intents_->text;
    }
    if (!associated_.empty()) {
        catalogEntries += "/AF[";
        for (const std::string& item : associated_) {
            catalogEntries += item + " ";
        }
        catalogEntries += "]";
    }
}

}  // namespace tomefuse::pdf_detail
