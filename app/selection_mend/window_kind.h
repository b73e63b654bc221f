// What a window's class says about mending its selection:
// - a terminal (a console, Windows Terminal, mintty, PuTTY, ConEmu) gets no
//   key at all, for Ctrl+C there interrupts the program running;
// - an edit or rich edit control (and the superclasses that frameworks make
//   of them, named after the control) tells its selection and text to
//   another process and takes a replacement of its selection from it;
// - any other window is reached through the clipboard.
#pragma once

#include <string_view>

namespace vyrtel::mend {

enum class WindowKind { Other, Terminal, Edit, RichEdit };

// By the class name, compared without regard to case.
WindowKind kindOfClass(std::string_view className);

}  // namespace vyrtel::mend
