// What the notification-area icon shows: the mode typing is in right now,
// and the tooltip that names it, from the model's choices alone.
//
// - Off: no coding is chosen ("Disable"); nothing is translated whatever
//   the toggle says.
// - Ukrainian: a coding is chosen and the toggle has translation on.
// - Latin: a coding is chosen and the toggle has translation off.
#pragma once

#include <cstddef>

#include "app/control_model.h"

namespace vyrtel {

enum class TypingMode { Off, Latin, Ukrainian };

TypingMode typingModeOf(Coding coding, bool translated);

// "Vyrtel: Ukrainian, CP1251, typewriter", "Vyrtel: Latin", "Vyrtel: off".
// Fits the 64 characters (with its end) that every system's notification
// area takes.
inline constexpr std::size_t kTooltipCapacity = 64;
struct Tooltip {
    char text[kTooltipCapacity];
};
Tooltip tooltipOf(TypingMode mode, const Choices& choices);

}  // namespace vyrtel
