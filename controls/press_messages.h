// The messages push and radio buttons handle alike: the font and text, the
// focus, being disabled, and a press by mouse or space bar (or BM_SETSTATE)
// that ends in a click. The press tracker's bits live in the low byte of the
// control's state slot.
#pragma once

#include <windows.h>

#include <cstdint>

#include "press_tracker.h"

namespace bwcc {

struct PressBehaviour {
    bool focusThroughDialogManager;  // a push button becomes the default button
    void (*click)(HWND window);      // what a completed press does
    std::uint32_t focusedBit;        // the state-slot bit that marks the focus
};

PressTracker pressTracker(HWND window);

// Stores the tracker's bits and repaints when the outcome asks for it.
void applyPress(HWND window, PressTracker tracker, PressTracker::Outcome outcome);

// Handles `message` when it is one of the shared ones: returns true and sets
// `result`; otherwise returns false and leaves the message to the caller.
bool handlePressMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const PressBehaviour& behaviour,
                        LRESULT& result);

}  // namespace bwcc
