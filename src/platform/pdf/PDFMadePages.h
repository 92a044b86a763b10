#pragma once

// Private to platform/pdf: what pages made here carry into the writer besides their source's
// content, and the records a tagged contents page leaves for the structure tree.

#include <cstdint>
#include <functional>
#include <optional>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "platform/pdf/PDFDocumentImpl.h"

namespace tomefuse::pdf_detail {

class Writer;

// What a page made here carries besides its source's content.
struct PageExtras {
    std::vector<std::string> annotations;  // dictionaries as PDF text, each written as an object
    std::vector<size_t> annotationLinks;   // by annotation: the index of the link it was made from
    std::vector<int> annotationNumbers;    // numbers taken for them beforehand, where they are
    std::string pageEntries;               // added to the page's dictionary, as PDF text
    std::optional<PageLabel> label;        // where the document has labels
    bool continuesLabels = false;
    int turn = 0;  // degrees added clockwise to the page's /Rotate
};

// A page's additions as the writer takes them: numberAt gives the output number of the page at an
// index of the document (0 for none yet), indexOf a page's index there.
PageExtras extrasFor(const PDFPageAdditions& additions, const std::function<int(uint64_t)>& numberAt,
                     const std::function<uint64_t(const PDFPage&)>& indexOf);

// One element of a tagged contents page: the title, or a line with its link. Numbers are the
// output's; 0 for none.
struct ContentsItem {
    bool title = false;
    unsigned level = 0;
    int element = 0;  // the title's caption or the line's item
    int link = 0;     // the line's link element
    int page = 0;
    int annotation = 0;
    std::vector<int> mcids;  // its marked content on the page, in order
};

// Marks a page's content for the structure tree: each text object drawn starting inside one of
// areas becomes a marked sequence with an MCID of its own, numbered in the order drawn; every
// other drawing is an artifact. Answers the MCIDs by area; none when the content cannot be read,
// which is then left as it was.
std::optional<std::vector<std::vector<int>>> markContent(QPDFObjectHandle page, const std::vector<PDFRect>& areas);

// Where the document has a structure tree: marks a contents page about to be written under
// number, gives it and its links their keys in the parent tree, and hands the writer its items.
void tagContentsPage(Writer& writer, QPDFObjectHandle page, int number, const PDFContentsTags& tags,
                     PageExtras& extras);

}  // namespace tomefuse::pdf_detail
