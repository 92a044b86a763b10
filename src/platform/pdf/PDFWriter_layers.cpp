// Optional content: every source's layers kept as its own groups, so that two files with layers
// of the same name stay apart, and each file's default states, so that a layer its author hid
// stays hidden. The layers panel shows one node per file, named after it.

#include <algorithm>
#include <exception>

#include "platform/pdf/PDFObjectSerializer.h"
#include "platform/pdf/PDFWriter.h"

namespace tomefuse::pdf_detail {

namespace {

void appendReferences(std::string& out, const std::vector<int>& numbers) {
    out += '[';
    for (int number : numbers) {
        appendReference(out, number);
        out += ' ';
    }
    out += ']';
}

}  // namespace

std::vector<int> SourceCopy::groupNumbers(QPDFObjectHandle array) {
    std::vector<int> numbers;
    if (!array.isArray()) {
        return numbers;
    }
    for (QPDFObjectHandle item : array.aitems()) {
        if (item.isIndirect() && item.isDictionary()) {
            identities_.insert(item.getObjGen());
            numbers.push_back(numberOf(item.getObjGen()));
        }
    }
    return numbers;
}

void SourceCopy::settleLayers(QPDFObjectHandle properties) {
    SourceLayers layers;
    layers.title = pdfString(fileTitle(origin_->path));
    layers.groups = groupNumbers(properties.getKey("/OCGs"));
    if (layers.groups.empty()) {
        return;
    }
    QPDFObjectHandle config = properties.getKey("/D");
    if (!config.isDictionary()) {
        config = QPDFObjectHandle::newDictionary();
    }
    // A base state of OFF turns off every group not listed as on; Unchanged reads as ON.
    if (isNamed(config.getKey("/BaseState"), "/OFF")) {
        const std::vector<int> on = groupNumbers(config.getKey("/ON"));
        for (int group : layers.groups) {
            if (std::find(on.begin(), on.end(), group) == on.end()) {
                layers.off.push_back(group);
            }
        }
    } else {
        layers.off = groupNumbers(config.getKey("/OFF"));
    }
    ObjectSerializer serializer(*this, layers.order);
    QPDFObjectHandle order = config.getKey("/Order");
    if (order.isArray()) {
        for (QPDFObjectHandle item : order.aitems()) {
            serializer.value(item);
            layers.order += ' ';
        }
    } else {
        appendReferences(layers.order, layers.groups);
        layers.order = layers.order.substr(1, layers.order.size() - 2);
    }
    QPDFObjectHandle radio = config.getKey("/RBGroups");
    if (radio.isArray()) {
        for (QPDFObjectHandle group : radio.aitems()) {
            std::string text;
            appendReferences(text, groupNumbers(group));
            layers.radioGroups.push_back(std::move(text));
        }
    }
    layers.locked = groupNumbers(config.getKey("/Locked"));
    QPDFObjectHandle usage = config.getKey("/AS");
    if (usage.isArray()) {
        for (QPDFObjectHandle entry : usage.aitems()) {
            if (!entry.isDictionary() || !entry.getKey("/Event").isName()) {
                continue;
            }
            SourceLayers::Usage use;
            use.event = entry.getKey("/Event").getName();
            ObjectSerializer(*this, use.category).value(entry.getKey("/Category"));
            use.groups = groupNumbers(entry.getKey("/OCGs"));
            layers.usage.push_back(std::move(use));
        }
    }
    settled_.layers = std::move(layers);
}

void Writer::writeLayers(std::string& catalogEntries) {
    if (layers_.empty()) {
        return;
    }
    std::string groups;
    std::string off;
    std::string order;
    std::string radio;
    std::string locked;
    // Usage entries of the same event and category are one entry listing all their groups.
    std::vector<SourceLayers::Usage> usage;
    for (const SourceLayers& layers : layers_) {
        for (int group : layers.groups) {
            appendReference(groups, group);
            groups += ' ';
        }
        for (int group : layers.off) {
            appendReference(off, group);
            off += ' ';
        }
        order += "[" + layers.title + " " + layers.order + "]";
        for (const std::string& group : layers.radioGroups) {
            radio += group;
        }
        for (int group : layers.locked) {
            appendReference(locked, group);
            locked += ' ';
        }
        for (const SourceLayers::Usage& use : layers.usage) {
            auto same = std::find_if(usage.begin(), usage.end(), [&](const SourceLayers::Usage& u) {
                return u.event == use.event && u.category == use.category;
            });
            if (same == usage.end()) {
                usage.push_back(use);
            } else {
                same->groups.insert(same->groups.end(), use.groups.begin(), use.groups.end());
            }
        }
    }
    std::string text = "<</OCGs[" + groups + "]/D<</BaseState/ON/OFF[" + off + "]/Order[" + order + "]";
    if (!radio.empty()) {
        text += "/RBGroups[" + radio + "]";
    }
    if (!locked.empty()) {
        text += "/Locked[" + locked + "]";
    }
    if (!usage.empty()) {
        text += "/AS[";
        for (const SourceLayers::Usage& use : usage) {
            text += "<</Event";
            appendName(text, use.event);
            text += "/Category " + use.category + "/OCGs";
            appendReferences(text, use.groups);
            text += ">>";
        }
        text += "]";
    }
    text += ">>>>";
    const int number = reserve();
    writeObject(number, text);
    catalogEntries += "/OCProperties " + std::to_string(number) + " 0 R";
}

}  // namespace tomefuse::pdf_detail
