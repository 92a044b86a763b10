#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/desktop/TableView.h"

namespace tomefuse {

// Drag types.
inline constexpr const char* kUTTypeFileURL = "public.file-url";
inline constexpr const char* kUTTypePDF = "com.adobe.pdf";
// The images taken as pages.
inline constexpr const char* kUTTypeJPEG = "public.jpeg";
inline constexpr const char* kUTTypePNG = "public.png";
inline constexpr const char* kUTTypeTIFF = "public.tiff";
// Content types for reading file URLs: folders, and anything at all (files of every type and
// folders).
inline constexpr const char* kUTTypeFolder = "public.folder";
inline constexpr const char* kUTTypeItem = "public.item";

enum NSDragOperation : unsigned { NSDragOperationNone = 0, NSDragOperationCopy = 1, NSDragOperationMove = 16 };
enum NSTableViewDropOperation : unsigned { NSTableViewDropOn = 0, NSTableViewDropAbove = 1 };

// What a file-URL read keeps: file URLs only (no web links) whose contents conform to one of the
// types, as the desktop's type database decides. Folders only when kUTTypeFolder or kUTTypeItem
// is among the types.
struct URLReadingOptions {
    bool fileURLsOnly = true;
    std::vector<std::string> contentsConformToTypes;
};

class Pasteboard {
  public:
    virtual ~Pasteboard() = default;
    virtual void declareTypes(const std::vector<std::string>& types) = 0;
    // The payload of a private type: a list of records, each its keys and values in order, which
    // the pasteboard writes in its own form. Answers whether it was written.
    using Record = std::vector<std::pair<std::string, CellValue>>;
    virtual bool setPropertyList(const std::vector<Record>& list, const std::string& type) = 0;
    // Local paths of the matching file URLs, in the pasteboard's order.
    virtual std::vector<std::string> readFileURLs(const URLReadingOptions& options) const = 0;
};

class DraggingInfo {
  public:
    virtual ~DraggingInfo() = default;
    // The object the drag began in: the table's own address for a drag out of it, anything else
    // (or null, for a drag from another process) for every other drag.
    virtual const void* draggingSource() const = 0;
    virtual Pasteboard& draggingPasteboard() = 0;
};

}  // namespace tomefuse
