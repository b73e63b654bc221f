// The title of Vyrtel's main frame, by which other programs (the
// installer's custom action) recognise a running Vyrtel.
#pragma once

namespace vyrtel {

inline constexpr char kFrameTitle[] = "Vyrtel";

}  // namespace vyrtel
