// Named destinations, shared by the outline reader and the link fix-ups of copied pages.

#include <exception>
#include <new>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// A name leads to a value that may be a dictionary with /D, whose /D may be a name again.
constexpr int maxIndirections = 8;

// Far more names than any real document has; a damaged tree stops here.
constexpr size_t maxNames = 2'000'000;

}  // namespace

void walkTree(QPDFObjectHandle root, const std::string& entriesKey,
              const std::function<bool(QPDFObjectHandle, QPDFObjectHandle)>& visit) {
    std::vector<QPDFObjectHandle> stack{root};
    ObjGenSet seen;
    while (!stack.empty()) {
        QPDFObjectHandle node = stack.back();
        stack.pop_back();
        try {
            if (!node.isDictionary() || (node.isIndirect() && !seen.insert(node.getObjGen()).second)) {
                continue;
            }
            QPDFObjectHandle entries = node.getKey(entriesKey);
            if (entries.isArray()) {
                const int n = entries.getArrayNItems();
                for (int i = 0; i + 1 < n; i += 2) {
                    if (!visit(entries.getArrayItem(i), entries.getArrayItem(i + 1))) {
                        return;
                    }
                }
            }
            QPDFObjectHandle kids = node.getKey("/Kids");
            if (kids.isArray()) {
                for (int i = kids.getArrayNItems(); i-- > 0;) {
                    stack.push_back(kids.getArrayItem(i));
                }
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // A damaged node: its siblings are still read.
        }
    }
}

NamedDestinations& ParsedFile::names() {
    if (!names_) {
        names_ = std::make_unique<NamedDestinations>(*qpdf);
    }
    return *names_;
}

void NamedDestinations::load() {
    if (loaded_) {
        return;
    }
    try {
        QPDFObjectHandle dests = pdf_.getRoot().getKey("/Dests");
        if (dests.isDictionary()) {
            dests_ = dests;
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    try {
        QPDFObjectHandle names = pdf_.getRoot().getKey("/Names");
        QPDFObjectHandle tree = names.isDictionary() ? names.getKey("/Dests") : QPDFObjectHandle::newNull();
        walkTree(tree, "/Names", [this](QPDFObjectHandle key, QPDFObjectHandle value) {
            if (key.isString()) {
                tree_.emplace(key.getUTF8Value(), value);
            }
            return tree_.size() < maxNames;
        });
    } catch (const std::bad_alloc&) {
        // Names half read are none: the next look asks again.
        dests_ = QPDFObjectHandle();
        tree_.clear();
        throw;
    } catch (const std::exception&) {
    }
    loaded_ = true;
}

QPDFObjectHandle NamedDestinations::find(const std::string& rawKey, const std::string& utf8Key) {
    load();
    try {
        if (dests_.isInitialized()) {
            QPDFObjectHandle value = dests_.getKey("/" + rawKey);
            if (!value.isNull()) {
                return value;
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    auto it = tree_.find(utf8Key);
    return it == tree_.end() ? QPDFObjectHandle::newNull() : it->second;
}

QPDFObjectHandle NamedDestinations::resolve(QPDFObjectHandle destination) {
    try {
        for (int depth = 0; depth <= maxIndirections; ++depth) {
            if (destination.isArray()) {
                return destination;
            }
            if (destination.isDictionary()) {
                destination = destination.getKey("/D");
            } else if (destination.isName()) {
                const std::string key = destination.getName().substr(1);
                destination = find(key, key);
            } else if (destination.isString()) {
                destination = find(destination.getStringValue(), destination.getUTF8Value());
            } else {
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    return QPDFObjectHandle::newNull();
}

std::map<std::string, QPDFObjectHandle> NamedDestinations::all() {
    load();
    std::map<std::string, QPDFObjectHandle> result = tree_;
    try {
        if (dests_.isInitialized()) {
            for (auto [key, value] : dests_.ditems()) {
                if (key.size() > 1 && !value.isNull()) {
                    result[key.substr(1)] = value;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
    return result;
}

}  // namespace tomefuse::pdf_detail
