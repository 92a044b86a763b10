#include "cli/ContentsModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace tomefuse {

namespace {

constexpr const char* moduleName = "tomefuse-contents.so";

std::filesystem::path programFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

ContentsTypesetter* loadContentsTypesetter(std::string& error) {
    const std::filesystem::path folder = programFolder();
    if (folder.empty()) {
        error = "cannot tell where the program lies, to find " + std::string(moduleName);
        return nullptr;
    }
    const std::vector<std::filesystem::path> candidates = {folder / moduleName,
                                                           folder / ".." / "libexec" / "tomefuse" / moduleName};
    for (const auto& candidate : candidates) {
        std::error_code ignored;
        if (!std::filesystem::is_regular_file(candidate, ignored)) {
            continue;
        }
        // Kept loaded to the end: the typesetter lives in it.
        void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* why = ::dlerror();
            error = candidate.lexically_normal().string() + " does not load: " + (why ? why : "unknown error");
            return nullptr;
        }
        auto entry = reinterpret_cast<ContentsTypesetterEntry>(::dlsym(module, contentsTypesetterSymbol));
        ContentsTypesetter* typesetter = entry ? entry() : nullptr;
        if (!typesetter) {
            error = candidate.lexically_normal().string() + " is not Tomefuse's contents module";
        }
        return typesetter;
    }
    error = std::string(moduleName) + " is missing (looked beside the program and in ../libexec/tomefuse)";
    return nullptr;
}

}  // namespace tomefuse
