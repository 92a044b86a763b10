#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

namespace tomefuse {

// What the preview shows of one list entry: the file, the password that opens it, and the pages
// the combine takes from it. The pane never reads list entries itself, so what an entry grows to
// hold reaches the preview through this one value.
struct PreviewSource {
    QString path;                         // the document's name (preview::documentName)
    QString password;                     // empty: none given
    std::optional<QSet<int>> pagesTaken;  // 0-based; none: every page
    // Bookmarks the list counted in the file, so the pane keeps room for them while they are
    // read; -1 when not known.
    qint64 bookmarks = -1;
    // The degrees each page is turned by, clockwise, on top of its own; empty: none is.
    QList<int> turns = {};
    QString partnerPassword = {};  // of the file interleaved with it

    bool takes(int page) const { return !pagesTaken || pagesTaken->contains(page); }
    int turn(int page) const { return page >= 0 && page < turns.size() ? turns[page] : 0; }
    bool operator==(const PreviewSource&) const = default;
};

}  // namespace tomefuse
