#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tomefuse {

inline constexpr uint64_t NSEventModifierFlagOption = 0x80000;

struct WriteResult {
    bool ok = false;
    std::string error;  // why it failed; empty on success
};

class AtomicFile;

// Process-wide services: the current event, feedback, files.
class System {
  public:
    virtual ~System() = default;
    // Modifier flags of the event being handled; Option (Alt) is NSEventModifierFlagOption.
    virtual uint64_t currentEventModifierFlags() const = 0;
    virtual void beep() = 0;
    // One line in the log.
    virtual void log(const std::string& line) = 0;
    // The user's own, with no trailing separator: in a folder every user can write, a private
    // folder of the user's, so that another user cannot take a name there first.
    virtual std::string temporaryDirectory() const = 0;
    // A temporary file beside the target, flushed and renamed over it when committed: the target
    // is replaced only when the write is complete, and no temporary file is left behind
    // otherwise. Null, with the reason, when it cannot be made.
    virtual std::unique_ptr<AtomicFile> createAtomicFile(const std::string& path, std::string& error);
};

}  // namespace tomefuse
