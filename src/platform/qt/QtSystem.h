#pragma once

#include <Qt>

#include "platform/desktop/System.h"

namespace tomefuse {

inline constexpr uint64_t NSEventModifierFlagShift = 0x20000;
inline constexpr uint64_t NSEventModifierFlagControl = 0x40000;
inline constexpr uint64_t NSEventModifierFlagCommand = 0x100000;

// Qt's modifiers in the controller's terms: Alt is Option, the Meta (logo) key is Command.
uint64_t modifierFlagsFromQt(Qt::KeyboardModifiers modifiers);

class QtSystem final : public System {
  public:
    // The modifiers of the event being handled, so a menu shortcut held with Alt counts as Alt.
    uint64_t currentEventModifierFlags() const override;
    void beep() override;
    // One line on standard error.
    void log(const std::string& line) override;
    std::string temporaryDirectory() const override;
};

}  // namespace tomefuse
