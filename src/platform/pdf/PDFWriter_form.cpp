// A source's form: the fields its written widgets belong to, their names in the output, and the
// form's shared parts (default resources, appearance, redraw flag).

#include <exception>
#include <new>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

// A field's /Parent chain in a damaged file.
constexpr int maxChain = 64;

}  // namespace

// Fields are renamed at the top of their tree, where the name that clashes between files starts;
// the field is looked up from its widget, before either is written. Only a name another file
// took is changed: fields of one file that share a name (a radio group made of separate fields)
// keep it, and stay one field to a reader.
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
            auto given = namesGiven_.find(current);
            if (given == namesGiven_.end()) {
                given = namesGiven_.emplace(current, writer_.uniqueFieldName(current)).first;
                namesTaken_.push_back(given->second);
            }
            if (given->second != current) {
                fieldNames_.emplace(top.getObjGen(), given->second);
            }
        }
        if (!formChecked_) {
            formChecked_ = true;
            QPDFObjectHandle form = pdf_.getRoot().getKey("/AcroForm");
            if (form.isDictionary()) {
                form_ = form;
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

// A resource name an earlier file took keeps that file's resource.
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
                    settled_.resources.emplace_back(category, name, std::move(text));
                }
            }
        }
        QPDFObjectHandle appearance = form_.getKey("/DA");
        if (appearance.isString()) {
            settled_.appearance = pdfStringBytes(appearance.getStringValue());
        }
        QPDFObjectHandle redraw = form_.getKey("/NeedAppearances");
        if (redraw.isBool() && redraw.getBoolValue()) {
            settled_.needAppearances = true;
        }
    } catch (const SourceDamage&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
    }
}

}  // namespace tomefuse::pdf_detail
