#include "app/control_model.h"

#include "hooklib/tavrilex_api.h"

namespace vyrtel {

const layouts::BuiltinTable& tableOf(Coding coding, Layout layout) {
    const bool typewriter = layout == Layout::Typewriter;
    if (coding == Coding::Koi8) return typewriter ? layouts::kKoi8Typewriter : layouts::kKoi8Phonetic;
    return typewriter ? layouts::kCp1251Typewriter : layouts::kCp1251Phonetic;
}

const layouts::BuiltinLetters& lettersOf(Coding coding, Layout layout) {
    const bool typewriter = layout == Layout::Typewriter;
    if (coding == Coding::Koi8) return typewriter ? layouts::kKoi8TypewriterLetters : layouts::kKoi8PhoneticLetters;
    return typewriter ? layouts::kCp1251TypewriterLetters : layouts::kCp1251PhoneticLetters;
}

const Choices& ControlModel::Start() {
    choices_.layout = Layout::Typewriter;
    // A hook left behind by a copy that did not end in order goes; the
    // table it had stays in the library until a coding is chosen.
    ChooseCoding(Coding::Disabled);
    return ChooseToggleMethod(tavrilex::kToggleCtrlShiftLeftRight);
}

const Choices& ControlModel::ChooseCoding(Coding coding) {
    if (coding == Coding::Disabled) {
        library_.TakeTableOut();
        choices_.coding = Coding::Disabled;
    } else if (library_.PutTable(tableOf(coding, choices_.layout), lettersOf(coding, choices_.layout))) {
        // Without a hook the library has stored the table all the same,
        // but the coding in force stays what the user sees.
        choices_.coding = coding;
    }
    return choices_;
}

const Choices& ControlModel::ChooseLayout(Layout layout) {
    choices_.layout = layout;
    return ChooseCoding(choices_.coding);
}

const Choices& ControlModel::ChooseToggleMethod(std::int32_t method) {
    choices_.toggleMethod = library_.SetToggleMethod(method);
    return choices_;
}

void ControlModel::End() { library_.TakeTableOut(); }

}  // namespace vyrtel
