// Tagged sources: one structure tree for the combined file, holding under its root one element
// per tagged file. Each source's root becomes that element, so whatever pointed to the root now
// points to it; pages and annotations keep their content's ties through a parent tree whose keys
// each file moves up by a base of its own. A role, class or ID another file took first is renamed
// in this file's elements, so that no element changes meaning.

#include <algorithm>
#include <exception>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// More keys than a parent tree of any real file holds; a damaged count stops here.
constexpr long long maxParentKeys = 100'000'000;

// A name not yet in the map, or one the map gives this same meaning: name, else name_N.
std::string mergeInto(std::map<std::string, std::string>& map, const std::string& name, const std::string& meaning,
                      size_t ordinal) {
    std::string candidate = name;
    for (int n = 1;; ++n) {
        auto [at, added] = map.emplace(candidate, meaning);
        if (added || at->second == meaning) {
            return candidate;
        }
        candidate = name + "_" + std::to_string(ordinal) + (n > 1 ? "." + std::to_string(n) : std::string());
    }
}

// A parent tree's value that leads to pruned elements only: what pointed to it is left out too.
bool leadsOnlyToPruned(QPDFObjectHandle value, const ObjGenSet& pruned) {
    if (pruned.empty()) {
        return false;
    }
    if (!value.isArray()) {
        return value.isIndirect() && pruned.count(value.getObjGen()) != 0;
    }
    for (QPDFObjectHandle item : value.aitems()) {
        if (!item.isNull() && !(item.isIndirect() && pruned.count(item.getObjGen()))) {
            return false;
        }
    }
    return true;
}

bool isContentReference(QPDFObjectHandle item) {
    return item.isDictionary() && (isNamed(item.getKey("/Type"), "/MCR") || isNamed(item.getKey("/Type"), "/OBJR"));
}

}  // namespace

std::string fileTitle(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    const std::string extension = name.size() > 4 ? name.substr(name.size() - 4) : std::string();
    if (extension == ".pdf" || extension == ".PDF") {
        name.resize(name.size() - 4);
    }
    return name;
}

void SourceCopy::startStructure() {
    try {
        QPDFObjectHandle root = pdf_.getRoot().getKey("/StructTreeRoot");
        if (!root.isIndirect() || !root.isDictionary() || root.getKey("/K").isNull()) {
            return;
        }
        long long next = 0;
        walkTree(root.getKey("/ParentTree"), "/Nums", [&next](QPDFObjectHandle key, QPDFObjectHandle) {
            if (key.isInteger() && key.getIntValue() >= next && key.getIntValue() < maxParentKeys) {
                next = key.getIntValue() + 1;
            }
            return true;
        });
        QPDFObjectHandle nextKey = root.getKey("/ParentTreeNextKey");
        if (nextKey.isInteger() && nextKey.getIntValue() > next && nextKey.getIntValue() < maxParentKeys) {
            next = nextKey.getIntValue();
        }
        QPDFObjectHandle roles = root.getKey("/RoleMap");
        if (roles.isDictionary()) {
            for (auto [role, mapped] : roles.getDictAsMap()) {
                if (mapped.isName()) {
                    if (std::string name = writer_.roleName(role, mapped.getName(), ordinal_); name != role) {
                        roleRenames_[role] = name;
                    }
                }
            }
        }
        QPDFObjectHandle classes = root.getKey("/ClassMap");
        if (classes.isDictionary()) {
            for (auto [name, attributes] : classes.getDictAsMap()) {
                std::string text;
                ObjectSerializer(*this, text).value(attributes);
                if (std::string kept = writer_.className(name, text, ordinal_); kept != name) {
                    classRenames_[name] = kept;
                }
            }
        }
        walkTree(root.getKey("/IDTree"), "/Names", [this](QPDFObjectHandle key, QPDFObjectHandle) {
            if (key.isString()) {
                const std::string id = key.getUTF8Value();
                if (std::string kept = writer_.uniqueStructId(id, ordinal_); kept != id) {
                    idRenames_[id] = kept;
                }
            }
            return true;
        });
        structBase_ = writer_.takeParentKeys(next);
        // The root is written as this file's element under the number it is reached by.
        structRoot_ = root.getObjGen();
        structPart_ = writer_.reserve();
        numberSlot(structRoot_) = structPart_;
    } catch (const std::exception&) {
        structPart_ = 0;
        rethrowUnlessUnreadable();
    }
}

// At release, once every page of the source that goes into the output has its number.
void SourceCopy::settleStructure() {
    if (!structPart_ || structSettled_) {
        return;
    }
    structSettled_ = true;
    try {
        QPDFObjectHandle root = pdf_.getObject(structRoot_);
        if (keptPages_.size() < pages().size()) {
            ObjGenSet seen;
            prune(root.getKey("/K"), QPDFObjectHandle::newNull(), 0, seen);
        }
        std::string text = "<</Type/StructElem/S/Part/P ";
        appendReference(text, writer_.structDocument());
        text += "/T " + pdfString(fileTitle(origin_->path));
        QPDFObjectHandle lang = pdf_.getRoot().getKey("/Lang");
        if (lang.isString()) {
            text += "/Lang " + pdfStringBytes(lang.getStringValue());
        }
        text += "/K ";
        // Elements are one of a kind even where a file left out their type and parent.
        markIdentity(root.getKey("/K"));
        writeKids(root.getKey("/K"), QPDFObjectHandle::newNull(), text);
        text += ">>";
        writer_.writeObject(structPart_, text);
        settled_.structPart = structPart_;
        walkTree(root.getKey("/ParentTree"), "/Nums", [this](QPDFObjectHandle key, QPDFObjectHandle value) {
            if (key.isInteger() && key.getIntValue() >= 0 && key.getIntValue() < maxParentKeys &&
                !leadsOnlyToPruned(value, pruned_)) {
                std::string entry;
                markIdentity(value);
                ObjectSerializer(*this, entry).value(value);
                settled_.parentTree.emplace_back(structBase_ + key.getIntValue(), std::move(entry));
            }
            return true;
        });
        walkTree(root.getKey("/IDTree"), "/Names", [this](QPDFObjectHandle key, QPDFObjectHandle value) {
            if (key.isString() && value.isIndirect() && !pruned_.count(value.getObjGen())) {
                const std::string id = key.getUTF8Value();
                auto renamed = idRenames_.find(id);
                std::string element;
                markIdentity(value);
                appendReference(element, numberOf(value.getObjGen()));
                settled_.ids.emplace_back(renamed == idRenames_.end() ? id : renamed->second, std::move(element));
            }
            return true;
        });
    } catch (const SourceDamage&) {
        // Too late to leave the file out: its pages are in. Its tree is kept as far as it reads.
    } catch (const std::exception&) {
        rethrowUnlessUnreadable();
    }
    drain(true);
}

bool SourceCopy::structureValue(const std::string& key, QPDFObjectHandle item,
                                const std::map<std::string, QPDFObjectHandle>& dict, std::string& out) {
    if (key == "/StructParents" || key == "/StructParent") {
        // Without a tree of its file, a key would lead into another file's part of the tree.
        if (!structPart_) {
            return true;
        }
        if (structBase_ == 0 || !item.isInteger()) {
            return false;
        }
        out += key + " " + std::to_string(structBase_ + item.getIntValue());
        return true;
    }
    if (!structPart_) {
        return false;
    }
    if (key == "/K" && !pruned_.empty() && dict.count("/S")) {
        auto page = dict.find("/Pg");
        out += "/K ";
        writeKids(item, page == dict.end() ? QPDFObjectHandle::newNull() : page->second, out);
        return true;
    }
    // Renames apply to structure elements only: dictionaries with a type and a parent.
    if ((key != "/S" && key != "/C" && key != "/ID") || !dict.count("/P") || !dict.count("/S")) {
        return false;
    }
    if (key == "/S" && item.isName()) {
        auto renamed = roleRenames_.find(item.getName());
        if (renamed == roleRenames_.end()) {
            return false;
        }
        out += "/S";
        appendName(out, renamed->second);
        return true;
    }
    if (key == "/ID" && item.isString()) {
        auto renamed = idRenames_.find(item.getUTF8Value());
        if (renamed == idRenames_.end()) {
            return false;
        }
        out += "/ID " + pdfString(renamed->second);
        return true;
    }
    if (key == "/C" && !classRenames_.empty() && (item.isName() || item.isArray())) {
        auto className = [this](QPDFObjectHandle name, std::string& text) {
            auto renamed = name.isName() ? classRenames_.find(name.getName()) : classRenames_.end();
            if (renamed != classRenames_.end()) {
                appendName(text, renamed->second);
            } else {
                ObjectSerializer(*this, text).value(name);
            }
        };
        out += "/C ";
        if (item.isName()) {
            className(item, out);
        } else {
            out += '[';
            for (QPDFObjectHandle name : item.aitems()) {
                className(name, out);
                out += ' ';
            }
            out += ']';
        }
        return true;
    }
    return false;
}

bool SourceCopy::pageLeftOut(QPDFObjectHandle page) {
    return page.isIndirect() && isPageTreeNode(page.getObjGen()) && !keptPages_.count(page.getObjGen());
}

// An element goes when all it marks lies on pages left out; one with any content kept, or with
// none on any page, stays. Its page is its own /Pg or the nearest above it.
SourceCopy::Reach SourceCopy::prune(QPDFObjectHandle item, QPDFObjectHandle page, int depth, ObjGenSet& seen) {
    if (item.isInteger()) {
        return !page.isIndirect() ? Reach::none : pageLeftOut(page) ? Reach::leftOut : Reach::kept;
    }
    if (!item.isArray() && !item.isDictionary()) {
        return Reach::none;
    }
    // Met twice, or too deep to follow: kept as it is.
    if ((item.isIndirect() && !seen.insert(item.getObjGen()).second) || depth > ObjectSerializer::maxNesting) {
        return Reach::kept;
    }
    if (item.isArray()) {
        Reach reach = Reach::none;
        for (QPDFObjectHandle kid : item.aitems()) {
            const Reach kidReach = prune(kid, page, depth + 1, seen);
            if (kidReach == Reach::kept || (kidReach == Reach::leftOut && reach == Reach::none)) {
                reach = kidReach;
            }
        }
        return reach;
    }
    if (QPDFObjectHandle own = item.getKey("/Pg"); own.isIndirect()) {
        page = own;
    }
    if (isContentReference(item)) {
        // An object reference without a page is kept: its object may be on any.
        return !page.isIndirect() ? Reach::kept : pageLeftOut(page) ? Reach::leftOut : Reach::kept;
    }
    const Reach reach = prune(item.getKey("/K"), page, depth + 1, seen);
    if (reach == Reach::leftOut && item.isIndirect()) {
        pruned_.insert(item.getObjGen());
    }
    return reach;
}

// An element's kids without those that went, and without marks on pages left out.
void SourceCopy::writeKids(QPDFObjectHandle kids, QPDFObjectHandle page, std::string& out) {
    auto gone = [this, &page](QPDFObjectHandle kid) {
        if (kid.isIndirect() && pruned_.count(kid.getObjGen())) {
            return true;
        }
        if (!isContentReference(kid)) {
            return false;
        }
        QPDFObjectHandle own = kid.getKey("/Pg");
        return pageLeftOut(own.isIndirect() ? own : page);
    };
    if (pruned_.empty() || !(kids.isArray() || gone(kids))) {
        ObjectSerializer(*this, out).value(kids);
        return;
    }
    out += '[';
    if (kids.isArray()) {
        for (QPDFObjectHandle kid : kids.aitems()) {
            if (!gone(kid)) {
                ObjectSerializer(*this, out).value(kid);
                out += ' ';
            }
        }
    }
    out += ']';
}

int Writer::structRoot() {
    if (!structRoot_) {
        structRoot_ = reserve();
    }
    return structRoot_;
}

int Writer::structDocument() {
    if (!structDocument_) {
        structDocument_ = reserve();
    }
    return structDocument_;
}

long long Writer::takeParentKeys(long long count) {
    const long long base = parentKeys_;
    parentKeys_ += count;
    return base;
}

std::string Writer::roleName(const std::string& role, const std::string& mapped, size_t ordinal) {
    return mergeInto(roleMap_, role, mapped, ordinal);
}

std::string Writer::className(const std::string& name, const std::string& attributes, size_t ordinal) {
    return mergeInto(classMap_, name, attributes, ordinal);
}

std::string Writer::uniqueStructId(const std::string& id, size_t ordinal) {
    std::string candidate = id;
    for (int n = 1; !structIdKeys_.insert(candidate).second; ++n) {
        candidate = id + "-" + std::to_string(ordinal) + (n > 1 ? "." + std::to_string(n) : std::string());
    }
    return candidate;
}

void Writer::writeStructure(std::string& catalogEntries) {
    if (structParts_.empty()) {
        return;
    }
    // One document element holds the contents and a part per file: readers take the root's
    // single kid for the document.
    std::string document = "<</Type/StructElem/S/Document/P " + std::to_string(structRoot()) + " 0 R/K[";
    if (const int contents = writeContentsStructure()) {
        document += std::to_string(contents) + " 0 R ";
    }
    for (int part : structParts_) {
        document += std::to_string(part) + " 0 R ";
    }
    writeObject(structDocument(), document + "]>>");
    std::string text = "<</Type/StructTreeRoot/K " + std::to_string(structDocument()) + " 0 R";
    text += "/ParentTree " + std::to_string(writeNumberTree(std::move(parentTree_))) + " 0 R";
    text += "/ParentTreeNextKey " + std::to_string(parentKeys_);
    if (!roleMap_.empty()) {
        text += "/RoleMap<<";
        for (const auto& [role, mapped] : roleMap_) {
            appendName(text, role);
            appendName(text, mapped);
        }
        text += ">>";
    }
    if (!classMap_.empty()) {
        text += "/ClassMap<<";
        for (const auto& [name, attributes] : classMap_) {
            appendName(text, name);
            text += ' ' + attributes;
        }
        text += ">>";
    }
    if (!structIds_.empty()) {
        text += "/IDTree " + std::to_string(writeNameTree(std::move(structIds_))) + " 0 R";
    }
    text += ">>";
    writeObject(structRoot(), text);
    catalogEntries += "/StructTreeRoot " + std::to_string(structRoot()) + " 0 R/MarkInfo<</Marked true>>";
}

}  // namespace tomefuse::pdf_detail
