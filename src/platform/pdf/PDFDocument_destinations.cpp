// Named destinations, shared by the outline reader and the link fix-ups of copied pages.

#include <exception>
#include <qpdf/QPDFNameTreeObjectHelper.hh>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// A name leads to a value that may be a dictionary with /D, whose /D may be a name again.
constexpr int maxIndirections = 8;

// Far more names than any real document has; a damaged tree stops here.
constexpr size_t maxNames = 2'000'000;

}  // namespace

void NamedDestinations::load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    try {
        QPDFObjectHandle dests = pdf_.getRoot().getKey("/Dests");
        if (dests.isDictionary()) {
            dests_ = dests;
        }
    } catch (const std::exception&) {
    }
    try {
        QPDFObjectHandle names = pdf_.getRoot().getKey("/Names");
        QPDFObjectHandle tree = names.isDictionary() ? names.getKey("/Dests") : QPDFObjectHandle::newNull();
        if (tree.isDictionary()) {
            // No auto-repair: reading must not change the document.
            QPDFNameTreeObjectHelper helper(tree, pdf_, false);
            for (auto it = helper.begin(); it != helper.end() && tree_.size() < maxNames; ++it) {
                tree_.emplace(it->first, it->second);
            }
        }
    } catch (const std::exception&) {
        // Damage part-way: keep the names read before it.
    }
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
    } catch (const std::exception&) {
    }
    return result;
}

}  // namespace tomefuse::pdf_detail
