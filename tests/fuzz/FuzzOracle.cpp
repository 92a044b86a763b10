#include "FuzzOracle.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <qpdf/Pl_Discard.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <set>
#include <utility>

namespace tomefuse::fuzz {

namespace {

// A value shared by many pages is compared many times; past this many steps a page is taken
// as it is.
constexpr int stepsPerPage = 20000;
constexpr int maxDepth = 24;
constexpr int maxAncestors = 64;

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "fuzz oracle: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

// The same complaint about another object or offset is the same complaint.
std::string withoutNumbers(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            out += c;
        }
    }
    return out;
}

// Reads every object and every stream's bytes, as a check does (streams are copied undecoded,
// so they are read undecoded), and the page tree.
void readEverything(QPDF& pdf) {
    for (QPDFObjectHandle object : pdf.getAllObjects()) {
        if (object.isStream()) {
            Pl_Discard discard;
            object.pipeStreamData(&discard, 0, qpdf_dl_none, false, false);
        }
    }
    (void)pdf.getAllPages();
}

std::set<std::string> warningsOf(QPDF& pdf) {
    std::set<std::string> out;
    for (const QPDFExc& warning : pdf.getWarnings()) {
        out.insert(withoutNumbers(warning.getMessageDetail()));
    }
    return out;
}

// The file's own syntax, which the writer makes from scratch: any complaint of these is ours,
// whatever the input held.
bool aboutSyntax(const std::string& warning) {
    static const char* const signs[] = {"xref",   "endobj", "obj",         "stream", "trailer",    "startxref",
                                        "offset", "length", "reconstruct", "EOF",    "generation", "dictionary"};
    for (const char* sign : signs) {
        if (warning.find(sign) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// libqpdf keeps a stray '#' in a name (from before PDF 1.2) as a NUL, which the output writes
// as the '#' it was.
std::string asWritten(std::string name) {
    std::replace(name.begin(), name.end(), '\0', '#');
    return name;
}

}  // namespace

struct InputReading::State {
    std::string bytes;
    std::unique_ptr<QPDF> pdf;  // null when libqpdf cannot read it alone (an image, a password)
    std::set<std::string> warnings;
    std::vector<QPDFObjectHandle> pages;
    std::set<QPDFObjGen> pageTree;  // pages, their ancestors and the catalog
};

InputReading::InputReading(std::string bytes) : state_(new State) {
    State& s = *state_;
    s.bytes = std::move(bytes);
    try {
        auto pdf = std::make_unique<QPDF>();
        pdf->setSuppressWarnings(true);
        pdf->processMemoryFile("input", s.bytes.data(), s.bytes.size());
        readEverything(*pdf);
        s.pages = pdf->getAllPages();
        // The tree as it is read, from the top down: what a page's /Parent names is not of it,
        // unless it is a node (below).
        s.pageTree.insert(pdf->getRoot().getObjGen());
        std::vector<std::pair<QPDFObjectHandle, int>> nodes{{pdf->getRoot().getKey("/Pages"), 0}};
        while (!nodes.empty()) {
            auto [node, depth] = nodes.back();
            nodes.pop_back();
            if (!node.isDictionary() || depth > maxAncestors ||
                (node.isIndirect() && !s.pageTree.insert(node.getObjGen()).second)) {
                continue;
            }
            QPDFObjectHandle kids = node.getKey("/Kids");
            for (int i = 0; kids.isArray() && i < kids.getArrayNItems(); ++i) {
                nodes.emplace_back(kids.getArrayItem(i), depth + 1);
            }
        }
        // Above a page, a node with kids is of the tree too, where or not the tree leads to it:
        // the writer copies no node that leads to pages.
        for (QPDFObjectHandle page : s.pages) {
            s.pageTree.insert(page.getObjGen());
            QPDFObjectHandle node = page.getKey("/Parent");
            for (int depth = 0; depth < maxAncestors && node.isIndirect() && node.isDictionary() &&
                                node.hasKey("/Kids") && s.pageTree.insert(node.getObjGen()).second;
                 ++depth) {
                node = node.getKey("/Parent");
            }
        }
        s.warnings = warningsOf(*pdf);
        s.pdf = std::move(pdf);
    } catch (const std::exception&) {
        s.pdf.reset();
        s.pages.clear();
        s.pageTree.clear();
    }
}

InputReading::~InputReading() { delete state_; }

namespace {

// A page tree node or a page left out is written as nothing, and a key leading there with it.
bool intoTree(const InputReading::State& input, QPDFObjectHandle value) {
    return value.isIndirect() && input.pageTree.count(value.getObjGen()) > 0;
}

// Compares a value the output took from the input with the input's own, following both.
class Tracer {
  public:
    Tracer(const InputReading::State& input, std::string where) : input_(input), where_(std::move(where)) {}

    void same(QPDFObjectHandle in, QPDFObjectHandle out, const std::string& path, int depth = 0) {
        if (++steps_ > stepsPerPage || depth > maxDepth) {
            return;
        }
        // The input's side first: what libqpdf cannot read of the input is not compared.
        qpdf_object_type_e type = ::ot_null;
        try {
            if (in.isIndirect()) {
                // A page of the input becomes its copy here, or nothing.
                if (input_.pageTree.count(in.getObjGen()) || !seen_.insert(in.getObjGen()).second) {
                    return;
                }
            }
            type = in.getTypeCode();
        } catch (const std::exception&) {
            return;
        }
        if (type == ::ot_null || type == ::ot_operator || type == ::ot_inlineimage || type == ::ot_reserved ||
            type == ::ot_unresolved || type == ::ot_destroyed) {
            return;
        }
        try {
            compare(in, out, type, path, depth);
        } catch (const std::exception& e) {
            differs(path, std::string("cannot be read in the output: ") + e.what());
        }
    }

  private:
    void differs(const std::string& path, const std::string& how) { finding(where_ + path + ": " + how); }

    void compare(QPDFObjectHandle in, QPDFObjectHandle out, qpdf_object_type_e type, const std::string& path,
                 int depth) {
        if (out.getTypeCode() != type) {
            differs(path, "was " + in.unparse() + ", is " + out.unparse());
        }
        switch (type) {
            case ::ot_boolean:
                if (in.getBoolValue() != out.getBoolValue()) {
                    differs(path, "a different boolean");
                }
                break;
            case ::ot_integer:
                if (in.getIntValue() != out.getIntValue()) {
                    differs(path,
                            "was " + std::to_string(in.getIntValue()) + ", is " + std::to_string(out.getIntValue()));
                }
                break;
            case ::ot_real:
                if (in.getRealValue() != out.getRealValue()) {
                    differs(path, "was " + in.getRealValue() + ", is " + out.getRealValue());
                }
                break;
            case ::ot_string:
                if (in.getStringValue() != out.getStringValue()) {
                    differs(path, "was (" + in.getStringValue() + "), is (" + out.getStringValue() + ")");
                }
                break;
            case ::ot_name:
                if (asWritten(in.getName()) != out.getName()) {
                    differs(path, "was " + in.getName() + ", is " + out.getName());
                }
                break;
            case ::ot_array: {
                const int n = in.getArrayNItems();
                if (out.getArrayNItems() != n) {
                    differs(path,
                            "an array of " + std::to_string(n) + " items has " + std::to_string(out.getArrayNItems()));
                }
                for (int i = 0; i < n; ++i) {
                    same(in.getArrayItem(i), out.getArrayItem(i), path + "[" + std::to_string(i) + "]", depth + 1);
                }
                break;
            }
            case ::ot_dictionary:
                dictionary(in, out, false, path, depth);
                break;
            case ::ot_stream:
                dictionary(in.getDict(), out.getDict(), true, path, depth);
                break;
            default:
                break;
        }
    }

    // Destinations are rewritten to lead to the output's pages, a field's name may get a
    // number after it, and a stream's length and filters are the output's own.
    void dictionary(QPDFObjectHandle in, QPDFObjectHandle out, bool ofStream, const std::string& path, int depth) {
        std::map<std::string, QPDFObjectHandle> items;
        try {
            items = in.getDictAsMap();
        } catch (const std::exception&) {
            return;
        }
        const bool goTo = items.count("/S") && items["/S"].isName() && items["/S"].getName() == "/GoTo";
        for (auto& [key, value] : items) {
            if (key == "/Dest" || key == "/P" || key == "/Parent" || (goTo && key == "/D")) {
                continue;
            }
            if (ofStream && (key == "/Length" || key == "/Filter" || key == "/DecodeParms")) {
                continue;
            }
            const std::string written = asWritten(key);
            if (key == "/T" && value.isString() && out.getKey(key).isString()) {
                const std::string was = value.getStringValue();
                const std::string is = out.getKey(key).getStringValue();
                if (is != was && is.rfind(was + "+", 0) != 0 &&
                    out.getKey(key).getUTF8Value().rfind(value.getUTF8Value() + "+", 0) != 0) {
                    differs(path + key, "the name (" + was + ") became (" + is + ")");
                }
                continue;
            }
            bool absent = false;
            try {
                absent = value.isNull() || intoTree(input_, value);
            } catch (const std::exception&) {
                absent = true;
            }
            if (absent) {
                continue;
            }
            if (!out.hasKey(written)) {
                differs(path + written, "is missing");
            }
            same(value, out.getKey(written), path + written, depth + 1);
        }
    }

    const InputReading::State& input_;
    std::string where_;
    std::set<QPDFObjGen> seen_;
    int steps_ = 0;
};

QPDFObjectHandle inherited(QPDFObjectHandle page, const char* key) {
    std::set<QPDFObjGen> seen;
    for (int depth = 0; depth < 1000 && page.isDictionary(); ++depth) {
        if (page.isIndirect() && !seen.insert(page.getObjGen()).second) {
            break;
        }
        QPDFObjectHandle value = page.getKey(key);
        if (!value.isNull()) {
            return value;
        }
        page = page.getKey("/Parent");
    }
    return QPDFObjectHandle::newNull();
}

void comparePage(const InputReading::State& input, size_t index, QPDFObjectHandle out, const std::string& where) {
    QPDFObjectHandle in = input.pages[index];
    Tracer tracer(input, where);
    std::map<std::string, QPDFObjectHandle> items;
    try {
        items = in.getDictAsMap();
        for (const char* key : {"/Resources", "/MediaBox", "/CropBox", "/Rotate"}) {
            if (!items.count(key) || items[key].isNull()) {
                items[key] = inherited(in, key);
            }
        }
    } catch (const std::exception&) {
        return;
    }
    for (auto& [key, value] : items) {
        // A destination is the writer's to rewrite wherever it stands, on a page too (one that
        // leads to a page left out goes).
        if (key == "/Parent" || key == "/Type" || key == "/B" || key == "/Annots" || key == "/Dest") {
            continue;
        }
        bool absent = true;
        try {
            absent = value.isNull() || intoTree(input, value);
        } catch (const std::exception&) {
        }
        if (absent) {
            continue;
        }
        const std::string written = asWritten(key);
        if (!out.hasKey(written)) {
            finding(where + written + ": is missing");
        }
        tracer.same(value, out.getKey(written), written);
    }
    // Every annotation that is one comes out, in order.
    std::vector<QPDFObjectHandle> annotations;
    try {
        QPDFObjectHandle annots = in.getKey("/Annots");
        for (int i = 0; annots.isArray() && i < annots.getArrayNItems(); ++i) {
            if (annots.getArrayItem(i).isDictionary()) {
                annotations.push_back(annots.getArrayItem(i));
            }
        }
    } catch (const std::exception&) {
        return;
    }
    QPDFObjectHandle written = out.getKey("/Annots");
    const int count = written.isArray() ? written.getArrayNItems() : 0;
    if (count != static_cast<int>(annotations.size())) {
        finding(where + "/Annots: " + std::to_string(annotations.size()) + " annotations came out as " +
                std::to_string(count));
    }
    for (size_t i = 0; i < annotations.size(); ++i) {
        tracer.same(annotations[i], written.getArrayItem(static_cast<int>(i)), "/Annots[" + std::to_string(i) + "]");
    }
}

}  // namespace

void expectFaithful(const std::string& outputPath, const InputReading& reading, const OutputPlan& plan) {
    const InputReading::State& input = reading.state();
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    std::vector<QPDFObjectHandle> pages;
    try {
        pdf.processFile(outputPath.c_str());
        readEverything(pdf);
        pages = pdf.getAllPages();
    } catch (const std::exception& e) {
        finding(std::string("the output cannot be read: ") + e.what());
    }
    for (const std::string& warning : warningsOf(pdf)) {
        // What repeats the input's own damage, in a value copied as it was, is not the writer's.
        if (aboutSyntax(warning) || !input.warnings.count(warning)) {
            finding("the output draws a warning: " + warning);
        }
    }
    if (pages.size() != plan.pageCount) {
        finding("the output has " + std::to_string(pages.size()) + " pages, not " + std::to_string(plan.pageCount));
    }
    if (!input.pdf || input.pages.size() != plan.inputPages) {
        return;
    }
    for (uint64_t start : plan.inputStarts) {
        if (start + input.pages.size() > pages.size()) {
            finding("the input's pages do not fit where they were put");
        }
        for (size_t i = 0; i < input.pages.size(); ++i) {
            comparePage(input, i, pages[start + i],
                        "page " + std::to_string(start + i) + " (input page " + std::to_string(i) + ") ");
        }
    }
}

}  // namespace tomefuse::fuzz
