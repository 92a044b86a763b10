#pragma once

#include <cstdint>
#include <string>

namespace tomefuse {

inline constexpr uint64_t NSEventModifierFlagOption = 0x80000;

struct WriteResult {
    bool ok = false;
    std::string error;  // why it failed; empty on success
};

// Process-wide services: the current event, feedback, files.
class System {
  public:
    virtual ~System() = default;
    // Modifier flags of the event being handled; Option (Alt) is NSEventModifierFlagOption.
    virtual uint64_t currentEventModifierFlags() const = 0;
    virtual void beep() = 0;
    // One line in the log.
    virtual void log(const std::string& line) = 0;
    // With no trailing separator.
    virtual std::string temporaryDirectory() const = 0;
    // A temporary file beside the target, flushed and renamed over it: the target is replaced
    // only when the write is complete, and no temporary file is left behind on failure.
    virtual WriteResult writeToFileAtomically(const std::string& data, const std::string& path) = 0;
};

}  // namespace tomefuse
