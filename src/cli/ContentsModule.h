#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "platform/desktop/ContentsTypesetter.h"

namespace tomefuse {

// The module that lays out contents pages (Qt's PDF painting), so that the command line links no
// Qt and loads it only when a contents page is asked for. It is looked for beside the program
// (the build tree) and in ../libexec/tomefuse (installed), and loaded, with Qt and its fonts, on
// a thread of its own while the files are read; the first typesetting waits for it.
class ContentsModule final : public ContentsTypesetter {
  public:
    // Null, saying why in error, when the module is not there.
    static std::unique_ptr<ContentsModule> start(std::string& error);
    ~ContentsModule() override;

    ContentsTypesetting typeset(const ContentsRequest& request) override;
    void finishContents() override;

  private:
    explicit ContentsModule(std::filesystem::path path);
    void load();

    std::filesystem::path path_;
    ContentsTypesetter* loaded_ = nullptr;  // lives in the module, which stays loaded
    std::string error_;
    std::thread loader_;
};

}  // namespace tomefuse
