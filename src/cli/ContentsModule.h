#pragma once

#include <string>

#include "combine/ContentsTypesetter.h"

namespace tomefuse {

// Loads the module that lays out contents pages (Qt's PDF painting), so that the command line
// links no Qt and loads it only when a contents page is asked for. It is looked for beside the
// program (the build tree) and in ../libexec/tomefuse (installed). Null, saying why in error,
// when it is not there or does not load.
ContentsTypesetter* loadContentsTypesetter(std::string& error);

}  // namespace tomefuse
