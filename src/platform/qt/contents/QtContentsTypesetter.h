#pragma once

#include <memory>

#include "platform/desktop/ContentsTypesetter.h"

namespace tomefuse {

// Lays contents pages out with Qt's PDF painting: text in real fonts found through fontconfig,
// embedded as subsets, whatever script a line is in (Qt falls back font by font for characters
// the first font lacks). Needs a QGuiApplication; works on any thread.
class QtContentsTypesetter : public ContentsTypesetter {
  public:
    QtContentsTypesetter();
    ~QtContentsTypesetter() override;
    ContentsTypesetting typeset(const ContentsRequest& request) override;
    void finishContents() override;

  private:
    // The lines as last laid out. A contents page is measured until its page count settles, then
    // drawn: calls that differ only in the page numbers, in a column as wide, shape the text once.
    struct Laid;
    std::unique_ptr<Laid> laid_;
};

}  // namespace tomefuse
