#include "cli/ContentsModule.h"

#include <dlfcn.h>

#include <system_error>

namespace tomefuse {

namespace {

constexpr const char* moduleName = "tomefuse-contents.so";

std::filesystem::path programFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

std::unique_ptr<ContentsModule> ContentsModule::start(std::string& error) {
    const std::filesystem::path folder = programFolder();
    if (folder.empty()) {
        error = "cannot tell where the program lies, to find " + std::string(moduleName);
        return nullptr;
    }
    for (const auto& candidate : {folder / moduleName, folder / ".." / "libexec" / "tomefuse" / moduleName}) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(candidate, ignored)) {
            return std::unique_ptr<ContentsModule>(new ContentsModule(candidate.lexically_normal()));
        }
    }
    error = std::string(moduleName) + " is missing (looked beside the program and in ../libexec/tomefuse)";
    return nullptr;
}

ContentsModule::ContentsModule(std::filesystem::path path) : path_(std::move(path)), loader_([this] { load(); }) {}

ContentsModule::~ContentsModule() {
    if (loader_.joinable()) {
        loader_.join();
    }
}

void ContentsModule::load() {
    // Kept loaded to the end: the typesetter lives in it.
    void* module = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = ::dlerror();
        error_ = path_.string() + " does not load: " + (why ? why : "unknown error");
        return;
    }
    auto entry = reinterpret_cast<ContentsTypesetterEntry>(::dlsym(module, contentsTypesetterSymbol));
    ContentsTypesetter* typesetter = entry ? entry() : nullptr;
    if (!typesetter) {
        error_ = path_.string() + " is not Tomefuse's contents module";
        return;
    }
    typesetter->prepare();
    loaded_ = typesetter;
}

ContentsTypesetting ContentsModule::typeset(const ContentsRequest& request) {
    if (loader_.joinable()) {
        loader_.join();
    }
    if (!loaded_) {
        ContentsTypesetting none;
        none.error = error_;
        return none;
    }
    return loaded_->typeset(request);
}

void ContentsModule::finishContents() {
    if (loader_.joinable()) {
        loader_.join();
    }
    if (loaded_) {
        loaded_->finishContents();
    }
}

}  // namespace tomefuse
