// What a copied page depends on beyond its own objects. libqpdf copies a page with everything it
// references, except other pages: a reference to a page not copied yet becomes null, so a link to
// a later page would lead nowhere. Each copy therefore records where it came from, and the links,
// names and labels are settled once all pages are known (finishAssembly, before writing).
// Form fields are settled at once, page by page, by libqpdf's form helper.
//
// A source's parse (every object read from its file) is needed only until no more pages can
// come from it: then its links and names are settled and the parse let go, so that a combine
// of many files holds one parse at a time rather than all of them. libqpdf's copies of its
// streams read their data through the file (or its bytes in memory), not through the parse.

#include <exception>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

namespace {

// The copying document's own pages, names and labels, before anything is copied in: its pages
// keep their links and labels, and its names keep their keys.
std::unique_ptr<SourceRecord> ownRecord(DocumentData& data) {
    auto own = std::make_unique<SourceRecord>();
    own->qpdf = data.qpdf;
    own->own = true;
    try {
        NamedDestinations names(*data.qpdf);
        for (auto& entry : names.all()) {
            own->ownNames.push_back(entry);
        }
        own->labels = labelEntries(data.qpdf->getRoot().getKey("/PageLabels"));
    } catch (const std::exception&) {
    }
    return own;
}

Assembly& assemblyOf(DocumentData& data) {
    if (!data.assembly) {
        auto assembly = std::make_shared<Assembly>();
        const auto& pages = data.qpdf->getAllPages();
        if (!pages.empty()) {
            auto own = ownRecord(data);
            for (size_t i = 0; i < pages.size(); ++i) {
                QPDFObjectHandle page = pages[i];
                assembly->origins[page.getObjGen()] = PageOrigin{own.get(), static_cast<long long>(i), page, false};
            }
            assembly->byQpdf[data.qpdf.get()] = own.get();
            assembly->sources.push_back(std::move(own));
        }
        data.assembly = std::move(assembly);
    }
    return *data.assembly;
}

// Settles everything the source gave and lets its parse go; no page may be copied from it after.
void release(Assembly& assembly, SourceRecord& record) {
    try {
        fixLinks(record, assembly.unresolvedNames);
    } catch (const std::exception&) {
    }
    try {
        record.settledNames = retargetedNames(record);
    } catch (const std::exception&) {
    }
    record.linking.clear();
    record.namedTargets.clear();
    record.form.reset();  // before the QPDF they refer to
    record.names.reset();
    assembly.byQpdf.erase(record.qpdf.get());
    record.qpdf.reset();
    record.released = true;
}

// Sources nothing else holds can give no more pages: neither a document nor a page handle of
// theirs is left.
void releaseFinishedSources(Assembly& assembly) {
    for (const auto& record : assembly.sources) {
        if (!record->own && !record->released && record->qpdf.use_count() == 1) {
            release(assembly, *record);
        }
    }
}

SourceRecord& recordOf(Assembly& assembly, DocumentData& source) {
    auto it = assembly.byQpdf.find(source.qpdf.get());
    if (it != assembly.byQpdf.end()) {
        return *it->second;
    }
    auto record = std::make_unique<SourceRecord>();
    record->qpdf = source.qpdf;
    record->ordinal = assembly.nextOrdinal++;
    try {
        record->names = std::make_unique<NamedDestinations>(*source.qpdf);
        for (const auto& [key, value] : record->names->all()) {
            record->namedTargets.emplace(key, record->names->resolve(value));
        }
        record->labels = labelEntries(source.qpdf->getRoot().getKey("/PageLabels"));
    } catch (const std::exception&) {
    }
    SourceRecord& result = *record;
    assembly.byQpdf[source.qpdf.get()] = record.get();
    assembly.sources.push_back(std::move(record));
    return result;
}

// Copies the page's form fields with its widgets into this document's form, renaming fields
// whose fully qualified names are taken (libqpdf appends "+1", "+2", ...), so that filling in
// one file's field never fills another's. Also gives the copy annotations of its own.
void copyFormFields(DocumentData& data, Assembly& assembly, SourceRecord& record, QPDFObjectHandle sourcePage,
                    QPDFObjectHandle copy) {
    if (!record.formChecked) {
        record.formChecked = true;
        auto form = std::make_unique<QPDFAcroFormDocumentHelper>(*record.qpdf);
        if (form->hasAcroForm()) {
            record.form = std::move(form);
        }
    }
    if (!record.form) {
        return;
    }
    if (!assembly.form) {
        assembly.form = std::make_unique<QPDFAcroFormDocumentHelper>(*data.qpdf);
    }
    try {
        assembly.form->fixCopiedAnnotations(copy, sourcePage, *record.form);
    } catch (const std::exception&) {
        // A damaged form: the page keeps the annotations copied with it.
        assembly.form->invalidateCache();
    }
}

}  // namespace

void prepareInsertion(DocumentData& data, DocumentData& source) {
    try {
        if (&source != &data) {
            // A source assembled from others settles its links before its pages are copied on.
            if (source.assembly && source.assembly->pending) {
                finishAssembly(source);
            }
            Assembly& assembly = assemblyOf(data);
            if (!assembly.byQpdf.count(source.qpdf.get())) {
                releaseFinishedSources(assembly);  // a new source: earlier ones are likely done
            }
        }
    } catch (const std::exception&) {
    }
}

void noteInsertedPage(DocumentData& data, DocumentData& source, QPDFObjectHandle sourcePage, QPDFObjectHandle copy) {
    try {
        if (&source == &data) {
            // A page of this document listed again: it came from where its original came from.
            if (data.assembly) {
                auto it = data.assembly->origins.find(sourcePage.getObjGen());
                if (it != data.assembly->origins.end()) {
                    const PageOrigin origin = it->second;
                    data.assembly->origins[copy.getObjGen()] = origin;
                    if (origin.mayLink && !origin.source->own && !origin.source->released) {
                        origin.source->linking.emplace_back(origin.sourcePage, copy);
                    }
                }
            }
            return;
        }
        Assembly& assembly = assemblyOf(data);
        const bool firstCopy = !assembly.byQpdf.count(source.qpdf.get());
        SourceRecord& record = recordOf(assembly, source);
        if (firstCopy) {
            data.inputBytes += source.inputBytes;
        }
        const uint64_t index = source.indexOfPage(sourcePage.getObjGen());
        const bool hasAnnotations = sourcePage.getKey("/Annots").isArray();
        const bool mayLink = hasAnnotations || sourcePage.hasKey("/AA");
        record.copies.emplace(sourcePage.getObjGen(), copy);  // the first copy is the target of links
        assembly.origins[copy.getObjGen()] =
            PageOrigin{&record, index == NSNotFound ? -1 : static_cast<long long>(index), sourcePage, mayLink};
        if (mayLink) {
            record.linking.emplace_back(sourcePage, copy);
        }
        assembly.pending = true;
        if (hasAnnotations) {
            copyFormFields(data, assembly, record, sourcePage, copy);
        }
    } catch (const std::exception&) {
        // The page is in; only what it depends on may be missing.
    }
}

void finishAssembly(DocumentData& data) {
    if (!data.assembly) {
        return;
    }
    Assembly& assembly = *data.assembly;
    releaseFinishedSources(assembly);
    // Sources still held are settled again each time, as more of their pages may come.
    std::vector<UnresolvedName> unresolved = assembly.unresolvedNames;
    for (const auto& record : assembly.sources) {
        if (!record->own && !record->released) {
            try {
                fixLinks(*record, unresolved);
            } catch (const std::exception&) {
            }
        }
    }
    std::unordered_set<std::string> offered;
    try {
        offered = writeNamedDestinations(data, assembly);
    } catch (const std::exception&) {
    }
    for (UnresolvedName& name : unresolved) {
        try {
            if (offered.count(name.name)) {
                name.holder.removeKey(name.key);
            }
        } catch (const std::exception&) {
        }
    }
    try {
        writePageLabels(data, assembly);
    } catch (const std::exception&) {
    }
    assembly.pending = false;
}

}  // namespace tomefuse::pdf_detail
