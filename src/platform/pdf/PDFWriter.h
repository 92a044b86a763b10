#pragma once

// Private to platform/pdf: the writer every document is written with. It streams: a page and
// everything it needs go out as soon as the page is written, each object serialised straight
// from the parse of its source file with its references renumbered and its stream bytes copied
// as they are, so nothing of the output is held in memory, and a source can be let go as soon as
// no more pages come from it. What ties the pages together (the page tree, outline, names,
// labels, form) is written at the end from small records.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <qpdf/PDFVersion.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/pdf/PDFByteSink.h"
#include "platform/pdf/PDFDocumentImpl.h"
#include "platform/pdf/PDFLayers.h"
#include "platform/pdf/PDFMadePages.h"
#include "platform/pdf/PDFObjectDigest.h"

namespace tomefuse::pdf_detail {

// A source cannot be copied as it is: a page that is not one, an object that cannot be read or
// is nested deeper than the writer goes. The source is left out, never written in part.
struct SourceDamage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The writing was asked to stop.
struct WriteCancelled : std::runtime_error {
    WriteCancelled() : std::runtime_error("cancelled") {}
};

// What a written page leaves behind: its object number and how it looks.
struct WrittenPage {
    int number = 0;
    PageGeometry geometry;
    std::optional<PageLabel> label;  // none when its file had no labels: its number there
    long long indexInSource = 0;
    bool continuesLabels = false;  // numbered on from the page before it
};

// The label of the page at this index of a file with these label ranges; none before the first.
std::optional<PageLabel> labelAt(const std::map<long long, PageLabel>& ranges, long long index);
// A label given to a page made here, as the file writes it.
PageLabel labelFrom(const PDFPageLabel& label);
// The label each page shows, by the rules writeLabels writes them with.
std::vector<PageLabel> effectiveLabels(const std::vector<const WrittenPage*>& pages);
// A label as a reader shows it: "iv", "A-3", "AA".
std::string labelText(const PageLabel& label);
// The /Nums entries of a label tree for pages labelled so.
std::string labelNumbers(const std::vector<PageLabel>& labels);

class Writer;

// One source file being copied: which of its objects have output numbers, which are waiting to
// be written, and what its pages link to. Lives from the first page taken from the source until
// the source is released.
class SourceCopy {
  public:
    SourceCopy(Writer& writer, std::shared_ptr<ParsedFile> origin, size_t ordinal);
    ~SourceCopy();
    SourceCopy(const SourceCopy&) = delete;
    SourceCopy& operator=(const SourceCopy&) = delete;

    // A page that will be written: gets its output number now, so that links from pages written
    // earlier can lead to it. The first reservation of a page is where links to it lead.
    int reservePage(QPDFObjectHandle page);
    // Writes the page under its reserved number, then everything it refers to. Throws
    // SourceDamage for a page that cannot be written as it is.
    WrittenPage writePage(QPDFObjectHandle page, int number, const PageExtras* extras = nullptr);
    // Writes everything the source gives for the pages written so far besides the pages (the
    // names and form fields that lead to them, the form's resources) and keeps it back from the
    // writer until commit: read before the file is checked, so a file cut short meanwhile shows.
    void settle();
    // Hands the writer what settle gathered; the source was read in full.
    void commit();
    // settle, commit; nothing may be written from the source after this.
    void release();

    ParsedFile& origin() { return *origin_; }
    // Why what was written of the source is not what its file holds (a read of the file that
    // failed, the file changed while it was read, a stream libqpdf could not read and took for
    // empty, an object it could not parse); empty when nothing was lost. Throws std::bad_alloc
    // when libqpdf ran out of memory reading it.
    std::string loss();
    // Whether libqpdf ran out of memory reading the source: it takes that for damage of the
    // object it was reading, which it gives as null.
    bool ranOutOfMemory() noexcept;
    // Damage libqpdf repaired without losing what the file holds, and what of the file was left
    // out on purpose; empty when there was none.
    std::string repair();
    // The entries of the source's catalog the combined file does not carry (what acts on that
    // file alone: its opening action, its viewer's settings, its scripts), by key.
    const std::vector<std::string>& catalogLeftOut() const { return catalogLeftOut_; }
    // The field names this copy took, to be given back when it is discarded.
    const std::vector<std::string>& fieldNamesTaken() const { return namesTaken_; }

  private:
    friend class ObjectSerializer;

    int numberOf(QPDFObjGen og);  // reserves a number and queues the object on first use
    int& numberSlot(QPDFObjGen og);
    // Objects never shared, whatever they look like, for what leads to them.
    void startIdentities();
    void markIdentity(QPDFObjectHandle object, bool values = false);
    void noteIdentity(const std::string& key, QPDFObjectHandle item);
    // skipUnreadable: an object that cannot be written is left out (read as null), not thrown.
    void drain(bool skipUnreadable = false);
    void writeObject(QPDFObjGen og, int number);
    // A stream's dictionary as written, without its length, filter and closing ">>".
    struct StreamHead {
        std::string text;
        bool mayCompress = false;  // unfiltered, so compressed where that pays
    };
    StreamHead streamHead(QPDFObjectHandle stream);
    // observe, when given, sees the stream's bytes as they pass.
    void writeStream(QPDFObjectHandle stream, int number, const StreamHead& head, Pipeline* observe = nullptr);
    // Objects with no identity that equal one written before, once renumbered, take its number;
    // the rest are written under a number of their own. Returns the number.
    int writeShared(QPDFObjGen og, QPDFObjectHandle object);
    // The explicit destination a destination leads to in this file (names followed); null for
    // none. Its first item is a page of this file or an index.
    QPDFObjectHandle explicitDestination(QPDFObjectHandle destination);
    // The page an explicit destination leads to: its output number, 0 when the page is not in
    // the output, -1 when it leads to no page of this file at all.
    int targetNumber(QPDFObjectHandle explicitDestination);
    bool leadsToPageLeftOut(QPDFObjectHandle annotation);
    std::string destinationText(QPDFObjectHandle destination);  // empty: leads nowhere here
    const std::vector<QPDFObjectHandle>& pages();
    bool isPageTreeNode(QPDFObjGen og);
    void writePageEntries(QPDFObjectHandle page, int number, bool repeat, const PageExtras* extras, std::string& out);
    void noteField(QPDFObjectHandle widget);
    void mergeForm();
    const std::map<long long, PageLabel>& labels();
    void collectWarnings();
    void noteWarning(const QPDFExc& warning);
    // The catalog's parts that go with the whole file: layers, attachments, associated files.
    void settleCatalogParts();
    void noteCatalogLeftOut(QPDFObjectHandle root);
    void settleOutputIntents(QPDFObjectHandle root);
    void commitCatalogParts();
    static bool keepsScripts(QPDFObjectHandle root);
    void readNameTree(QPDFObjectHandle root, const std::string& tree, bool oneOfAKind,
                      std::vector<std::pair<std::string, std::string>>& entries);
    void settleLayers(QPDFObjectHandle properties);
    // A tagged source: its parent tree's keys move up by a base of its own, its roles, classes
    // and IDs are renamed where another file took them, and its root becomes one element.
    void startStructure();
    void settleStructure();
    // Writes a value of a structure element or of what points into the parent tree, when it
    // changes in the copy; false to write it as it is.
    bool structureValue(const std::string& key, QPDFObjectHandle item,
                        const std::map<std::string, QPDFObjectHandle>& dict, std::string& out);
    // With pages left out: the elements whose content lies only on those pages go (pruned_).
    enum class Reach { none, kept, leftOut };
    Reach prune(QPDFObjectHandle item, QPDFObjectHandle page, int depth, ObjGenSet& seen);
    bool pageLeftOut(QPDFObjectHandle page);
    void writeKids(QPDFObjectHandle kids, QPDFObjectHandle page, std::string& out);
    std::vector<int> groupNumbers(QPDFObjectHandle array);
    // A stream whose parse or read drew warnings is lost when its data came out short or does
    // not decode; otherwise it was repaired. A repaired file's page whose contents are gone is lost.
    void judgeStream(QPDFObjectHandle stream, bool read);
    void requireContents(QPDFObjectHandle page, long long index);
    bool streamIntact(QPDFObjectHandle stream);

    Writer& writer_;
    std::shared_ptr<ParsedFile> origin_;
    QPDF& pdf_;
    size_t ordinal_;
    size_t unreadStreams_ = 0;
    bool outOfMemory_ = false;
    bool openingNoted_ = false;
    std::string loss_;
    std::string repair_;
    // Output numbers by source object: a vector for the usual generation 0, a map for the rest.
    std::vector<int> numbers_;
    std::unordered_map<QPDFObjGen, int, ObjGenHash> otherNumbers_;
    std::vector<std::pair<QPDFObjGen, int>> queue_;
    // Objects being shared whose parts are being written, and the number a cycle back to one
    // gave it (0 for none yet); how deep the sharing has gone.
    std::unordered_map<QPDFObjGen, int, ObjGenHash> sharing_;
    int sharingDepth_ = 0;
    ObjGenSet identities_;
    // Pages of the source that are in the output: their first copy's number.
    std::unordered_map<QPDFObjGen, int, ObjGenHash> keptPages_;
    std::optional<ObjGenSet> pageTree_;  // every page and /Pages node of the source
    std::optional<std::map<long long, PageLabel>> labels_;
    // Top-level form fields reached from written widgets, in the order reached, and the names
    // given to those whose names were taken by another file. Fields of this file that share a
    // name share the new name too: a radio group made of fields of one name stays one group.
    std::vector<QPDFObjGen> fields_;
    ObjGenSet fieldsSeen_;
    std::unordered_map<QPDFObjGen, std::string, ObjGenHash> fieldNames_;
    std::unordered_map<std::string, std::string> namesGiven_;  // a field name here -> in the output
    std::vector<std::string> namesTaken_;
    bool formChecked_ = false;
    QPDFObjectHandle form_;  // the source's /AcroForm, when it has one
    // What settle gathered for commit, and how far earlier rounds got.
    struct Settled {
        std::vector<std::pair<std::string, std::string>> names;  // key, destination text
        std::vector<int> fields;
        std::vector<std::tuple<std::string, std::string, std::string>> resources;  // category, name, text
        std::optional<std::string> appearance;
        bool needAppearances = false;
        std::optional<SourceLayers> layers;
        std::vector<std::pair<std::string, std::string>> attachments;  // key (UTF-8), filespec dictionary
        std::vector<std::pair<std::string, std::string>> scripts;      // key (UTF-8), JavaScript action
        std::vector<std::string> associated;                           // /AF items
        std::optional<std::string> language;                           // its /Lang's bytes, empty for none
        std::optional<std::optional<ObjectDigest>> intentsDigest;      // of its /OutputIntents, once read
        std::string intentsText;
        int structPart = 0;
        std::vector<std::pair<long long, std::string>> parentTree;  // key, value text
        std::vector<std::pair<std::string, std::string>> ids;       // key (UTF-8), element
    } settled_;
    bool catalogPartsSettled_ = false;
    std::vector<std::string> catalogLeftOut_;
    // Its structure tree: the root's object, the element it becomes, its key base, renames.
    QPDFObjGen structRoot_;
    int structPart_ = 0;
    bool structSettled_ = false;
    long long structBase_ = 0;
    std::unordered_map<std::string, std::string> roleRenames_, classRenames_, idRenames_;
    ObjGenSet pruned_;
    std::unordered_set<std::string> namesOffered_;
    size_t fieldsSettled_ = 0;
    bool formMerged_ = false;
};

// The writer of one output document.
class Writer {
  public:
    struct Options {
        const std::atomic<bool>* cancelled = nullptr;
        // The most the text of one object, or the part of a stream held back, may take; past it
        // the write fails as out of memory. 0: no limit but the machine's.
        size_t memoryLimit = 0;
    };

    Writer(ByteSink& sink, PDFVersion version, Options options);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // The copy of a source, made on first use.
    SourceCopy& copyOf(const std::shared_ptr<ParsedFile>& origin);
    // Releases a source's copy; later pages from it start a new copy.
    void release(const ParsedFile& origin);
    // Drops a source's copy without offering anything of it.
    void discard(const ParsedFile& origin);
    void releaseAll();

    struct Catalog {
        std::vector<const WrittenPage*> pages;  // in order
        const PDFOutline* outline = nullptr;
        std::function<uint64_t(const PDFPage&)> indexOf;    // of outline destinations
        std::map<std::string, std::string> info;            // /Info entries, already as PDF text
        const PDFDocumentAttributes* attributes = nullptr;  // also in /Info, and as XMP metadata
    };
    // Writes what ties the pages together and the cross-reference stream.
    void finish(const Catalog& catalog);

    // For the copies.
    int reserve() { return nextNumber_++; }
    void beginObject(int number);
    void endObject();
    void writeObject(int number, const std::string& text);
    ByteSink& sink() { return sink_; }
    void checkCancelled() const;
    size_t memoryLimit() const { return options_.memoryLimit; }
    // Throws std::bad_alloc when size is past the memory limit.
    void checkSize(size_t size) const {
        if (options_.memoryLimit && size > options_.memoryLimit) {
            throw std::bad_alloc();
        }
    }
    void raiseVersion(const PDFVersion& version) { version_.updateIfGreater(version); }
    int pagesRoot() const { return pagesRoot_; }
    // Names and fields the sources offer, as they lead here; fields renamed when taken.
    std::string uniqueNameKey(const std::string& key, size_t ordinal);
    void addName(std::string key, std::string destinationText) {
        names_.emplace_back(std::move(key), std::move(destinationText));
    }
    std::string uniqueFieldName(const std::string& name);
    void giveBackFieldName(const std::string& name) { fieldNames_.erase(name); }
    void addField(int number) { fields_.push_back(number); }
    // The form's shared parts; the first file to give one keeps it.
    bool hasFormResource(const std::string& category, const std::string& name) const;
    void addFormResource(const std::string& category, const std::string& name, std::string text);
    void offerFormAppearance(std::string text);
    void setNeedAppearances() { needAppearances_ = true; }
    void addLayers(SourceLayers layers) { layers_.push_back(std::move(layers)); }
    std::string uniqueAttachmentKey(const std::string& key, size_t ordinal);
    std::string uniqueScriptKey(const std::string& key, size_t ordinal);
    void addScript(std::string key, std::string action) { scripts_.emplace_back(std::move(key), std::move(action)); }
    void addAttachment(std::string key, std::string fileSpec) {
        attachments_.emplace_back(std::move(key), std::move(fileSpec));
    }
    void addAssociatedFile(std::string text) { associated_.push_back(std::move(text)); }
    void addLanguage(std::string bytes) { languages_.insert(std::move(bytes)); }
    // The combined structure tree: its root's number, keys of its parent tree taken in blocks,
    // role and class maps merged under names that keep each file's meaning, unique IDs.
    int structRoot();
    int structDocument();  // the root's one kid
    long long takeParentKeys(long long count);
    std::string roleName(const std::string& role, const std::string& mapped, size_t ordinal);
    std::string className(const std::string& name, const std::string& attributes, size_t ordinal);
    std::string uniqueStructId(const std::string& id, size_t ordinal);
    void addStructPart(int number) { structParts_.push_back(number); }
    // Whether a tagged file is in: the pages made here are tagged then too.
    bool hasStructure() const { return !structParts_.empty(); }
    void addContentsItem(ContentsItem item) { contentsItems_.push_back(std::move(item)); }
    void addParentTreeEntry(long long key, std::string value) { parentTree_.emplace_back(key, std::move(value)); }
    void addStructId(std::string key, std::string element) {
        structIds_.emplace_back(std::move(key), std::move(element));
    }
    bool anyLabels() const { return anyLabels_; }
    void noteLabels() { anyLabels_ = true; }
    // Objects any copy may share: the number of one written with this digest, 0 for none.
    using Digest = ObjectDigest;
    int sharedNumber(const Digest& digest) const {
        auto found = shared_.find(digest);
        return found == shared_.end() ? 0 : found->second;
    }
    void noteShared(const Digest& digest, int number) { shared_.emplace(digest, number); }
    // A stream's dictionary and length, as a digest: whether none written had them before.
    bool firstOfItsShape(const Digest& shape) { return shapes_.insert(shape).second; }
    // Output intents are kept when every file has the same (by a digest of what they hold, none
    // for a file without): the first file's text is written.
    bool wantsOutputIntentsText() const { return !intents_; }
    bool outputIntentsFirstDifferAt(const std::optional<Digest>& digest) const {
        return intents_ && intents_->agree && intents_->digest != digest;
    }
    void addOutputIntents(const std::optional<Digest>& digest, std::string text);

  private:
    void remove(const ParsedFile& origin, bool settle);
    void writeOutline(const Catalog& catalog, std::string& catalogEntries);
    void writeNames(std::string& catalogEntries);
    void writeLabels(const Catalog& catalog, std::string& catalogEntries);
    void writeForm(std::string& catalogEntries);
    void writeAttributes(const Catalog& catalog, std::string& catalogEntries, std::string& info);
    // The frame: where each object is, the object stream being filled, the cross-reference.
    void place(int number, uint64_t where);
    void writePacked();
    void writeCrossReference(int root, int info);
    // A name tree of entries (key as UTF-8, value as PDF text), a number tree: its root's number.
    int writeNameTree(std::vector<std::pair<std::string, std::string>> entries);
    int writeNumberTree(std::vector<std::pair<long long, std::string>> entries);
    // Entries in key order, keys and values as PDF text; entriesKey "/Names" or "/Nums".
    int writeTree(const std::vector<std::pair<std::string, std::string>>& entries, const char* entriesKey);
    // "/EmbeddedFiles N 0 R" for the /Names dictionary, or nothing.
    std::string writeNameTrees();
    void writeCatalogParts(std::string& catalogEntries);
    void writeLayers(std::string& catalogEntries);
    void writeStructure(std::string& catalogEntries);
    // The contents pages' list, first in the structure tree: its element's number, 0 for none.
    int writeContentsStructure();

    ByteSink& sink_;
    PDFVersion headerVersion_;
    PDFVersion version_;
    Options options_;
    std::vector<uint64_t> offsets_;  // by object number; 0 for none written
    // Objects that are not streams wait here, as text, for the object stream that holds them.
    struct Packed {
        int number = 0;
        std::vector<std::pair<int, size_t>> members;  // number, where its text starts
        std::string text;
    } packed_;
    int nextNumber_ = 1;
    int pagesRoot_ = 0;
    std::vector<std::unique_ptr<SourceCopy>> copies_;
    std::unordered_map<const ParsedFile*, SourceCopy*> byOrigin_;
    size_t nextOrdinal_ = 1;
    std::unordered_set<std::string> nameKeys_;
    std::vector<std::pair<std::string, std::string>> names_;
    std::unordered_set<std::string> fieldNames_;
    std::vector<int> fields_;
    // The form's shared parts: default resources by category and name, as PDF text.
    std::map<std::string, std::map<std::string, std::string>> formResources_;
    std::optional<std::string> formAppearance_;  // /DA
    bool needAppearances_ = false;
    bool anyLabels_ = false;
    struct DigestHash {
        size_t operator()(const Digest& d) const { return static_cast<size_t>(d.low); }
    };
    std::unordered_map<Digest, int, DigestHash> shared_;
    std::unordered_set<Digest, DigestHash> shapes_;
    std::vector<SourceLayers> layers_;
    std::unordered_set<std::string> attachmentKeys_;
    std::vector<std::pair<std::string, std::string>> attachments_;
    std::unordered_set<std::string> scriptKeys_;  // document-level scripts of forms
    std::vector<std::pair<std::string, std::string>> scripts_;
    std::vector<std::string> associated_;
    std::set<std::string> languages_;  // of the sources, "" for one without
    struct OutputIntents {
        std::optional<Digest> digest;  // the first file's, and its text
        std::string text;
        bool agree = true;
    };
    std::optional<OutputIntents> intents_;  // once a file is in
    int structRoot_ = 0;
    int structDocument_ = 0;
    long long parentKeys_ = 0;
    std::map<std::string, std::string> roleMap_, classMap_;
    std::unordered_set<std::string> structIdKeys_;
    std::vector<int> structParts_;
    std::vector<ContentsItem> contentsItems_;
    std::vector<std::pair<long long, std::string>> parentTree_;
    std::vector<std::pair<std::string, std::string>> structIds_;
};

// PDF syntax, byte-exact: what is read back is what was given.
std::string pdfName(const std::string& canonical);  // "/A#20B" from "/A B"
void appendName(std::string& out, const std::string& canonical);
std::string pdfStringBytes(const std::string& bytes);  // a string object holding these bytes
void appendStringBytes(std::string& out, const std::string& bytes);
std::string pdfString(const std::string& utf8);  // a text string: PDFDocEncoding or UTF-16BE
std::string pdfNumber(double value);
// The view part of an explicit destination, after the page: "/XYZ 72 700 null".
std::string pdfViewText(const PDFDestinationView& view);
// The document's attributes as an XMP packet, and as /Info entries (PDF text by key).
std::string xmpPacket(const PDFDocumentAttributes& attributes, const std::string& producer);
std::map<std::string, std::string> infoEntries(const PDFDocumentAttributes& attributes);
// A file's name as the layers panel and the structure tree show it: without folder or ".pdf".
std::string fileTitle(const std::string& path);
// An object made of direct parts only (a reference in it is written as null).
std::string directObjectText(QPDFObjectHandle object);
// Whether an object may be written once for every place that holds an equal one: not when it
// has an identity (a page, an annotation, a field, a structure element, a layer, an outline
// item, an attached file).
bool shareable(QPDFObjectHandle object);

}  // namespace tomefuse::pdf_detail
