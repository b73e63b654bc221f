// What a push button with no text of its own shows when its id is one of
// the platform's standard command ids: a caption and, for the answers
// "yes, go ahead" and "no, stop", a glyph. Pure.
#pragma once

namespace bwcc {

enum class Glyph { None, Check, Cross };

struct StandardFace {
    const char* caption;  // null: the id is not a standard one
    Glyph glyph;
};

// Ids as the platform numbers them (IDOK 1 ... IDHELP 9, IDTRYAGAIN 10,
// IDCONTINUE 11).
constexpr StandardFace standardFace(int id) {
    switch (id) {
        case 1: return {"OK", Glyph::Check};
        case 2: return {"Cancel", Glyph::Cross};
        case 3: return {"Abort", Glyph::None};
        case 4: return {"Retry", Glyph::None};
        case 5: return {"Ignore", Glyph::None};
        case 6: return {"Yes", Glyph::Check};
        case 7: return {"No", Glyph::Cross};
        case 8: return {"Close", Glyph::None};
        case 9: return {"Help", Glyph::None};
        case 10: return {"Try Again", Glyph::None};
        case 11: return {"Continue", Glyph::None};
        default: return {nullptr, Glyph::None};
    }
}

}  // namespace bwcc
