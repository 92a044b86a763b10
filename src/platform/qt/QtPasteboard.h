#pragma once

#include <QString>
#include <set>

#include "platform/desktop/Dragging.h"

class QMimeData;
class QObject;

namespace tomefuse {

// The MIME type that carries a drag type: file URLs travel as a URI list, the private row type
// as "application/x-tomefuse-multiplepdfcontent".
QString mimeTypeForDragType(const std::string& type);

// A pasteboard over the MIME data of one drag.
class QtPasteboard final : public Pasteboard {
  public:
    // Writes go to data, which may be null for a pasteboard only read from.
    QtPasteboard(const QMimeData* read, QMimeData* write) : read_(read), write_(write) {}

    // Starts afresh with these types; data is taken only for a declared type.
    void declareTypes(const std::vector<std::string>& types) override;
    // As JSON: an array of objects, the keys in the order given.
    bool setPropertyList(const std::vector<Record>& list, const std::string& type) override;
    // Local files only, existing regular files whose contents the MIME database takes for one of
    // the types, and existing folders when they are asked for.
    std::vector<std::string> readFileURLs(const URLReadingOptions& options) const override;

  private:
    const QMimeData* read_;
    QMimeData* write_;
    std::set<std::string> declared_;
};

// One drop, as the controller sees it.
class QtDraggingInfo final : public DraggingInfo {
  public:
    QtDraggingInfo(const void* source, const QMimeData* data) : source_(source), pasteboard_(data, nullptr) {}
    const void* draggingSource() const override { return source_; }
    Pasteboard& draggingPasteboard() override { return pasteboard_; }

  private:
    const void* source_;
    QtPasteboard pasteboard_;
};

}  // namespace tomefuse
