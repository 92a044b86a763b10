// Page labels as a source file has them; the writer gives each page the label it had.

#include <exception>
#include <new>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

constexpr size_t maxLabels = 1'000'000;

}  // namespace

std::map<long long, PageLabel> labelEntries(QPDFObjectHandle tree) {
    std::map<long long, PageLabel> entries;
    walkTree(tree, "/Nums", [&entries](QPDFObjectHandle key, QPDFObjectHandle value) {
        try {
            if (key.isInteger() && key.getIntValue() >= 0 && value.isDictionary()) {
                PageLabel label;
                QPDFObjectHandle style = value.getKey("/S");
                QPDFObjectHandle prefix = value.getKey("/P");
                QPDFObjectHandle start = value.getKey("/St");
                label.style = style.isName() ? style.getName() : std::string();
                if (prefix.isString()) {
                    label.prefix = prefix.getStringValue();
                }
                label.start = start.isInteger() && start.getIntValue() >= 1 ? start.getIntValue() : 1;
                entries.emplace(key.getIntValue(), std::move(label));
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // A damaged entry is left out.
        }
        return entries.size() < maxLabels;
    });
    return entries;
}

}  // namespace tomefuse::pdf_detail
