// The window class the framework registers for every window it creates
// itself (frames and plain windows). Other programs find a framework
// program's frame by it.
#pragma once

namespace framework {

inline constexpr char kWindowClassName[] = "FrameworkWindow";

}  // namespace framework
