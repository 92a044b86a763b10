#pragma once

#include "combine/ContentsTypesetter.h"

namespace tomefuse {

// Lays contents pages out with Qt's PDF painting: text in real fonts found through fontconfig,
// embedded as subsets, whatever script a line is in (Qt falls back font by font for characters
// the first font lacks). Needs a QGuiApplication; works on any thread.
class QtContentsTypesetter : public ContentsTypesetter {
  public:
    ContentsTypesetting typeset(const ContentsRequest& request) override;
};

}  // namespace tomefuse
