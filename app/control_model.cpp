#include "app/control_model.h"

#include "hooklib/tavrilex_api.h"

namespace vyrtel {

Builtin builtinOf(Coding coding, Layout layout) {
    using namespace layouts;
    const bool typewriter = layout == Layout::Typewriter;
    if (coding == Coding::Koi8) {
        return typewriter ? Builtin{kKoi8Typewriter, kKoi8TypewriterLetters}
                          : Builtin{kKoi8Phonetic, kKoi8PhoneticLetters};
    }
    return typewriter ? Builtin{kCp1251Typewriter, kCp1251TypewriterLetters}
                      : Builtin{kCp1251Phonetic, kCp1251PhoneticLetters};
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
    } else if (const Builtin builtin = builtinOf(coding, choices_.layout);
               library_.PutTable(builtin.table, builtin.letters)) {
        // Without a hook the library has stored the table all the same,
        // but the coding in force stays what the user sees.
        choices_.coding = coding;
        // While no hook was installed, nothing announced the changes.
        LearnTranslation(false);
    }
    return Changed();
}

const Choices& ControlModel::ChooseLayout(Layout layout) {
    choices_.layout = layout;
    return ChooseCoding(choices_.coding);
}

const Choices& ControlModel::ChooseToggleMethod(std::int32_t method) {
    const std::int32_t before = choices_.toggleMethod;
    choices_.toggleMethod = library_.SetToggleMethod(method);
    LearnTranslation(choices_.toggleMethod != before);
    return Changed();
}

void ControlModel::NoteModeMessage(bool translated, std::int32_t method) {
    if (method != choices_.toggleMethod) return;
    translated_ = translated;
    Changed();
}

void ControlModel::LearnTranslation(bool methodChanged) {
    const std::int32_t method = choices_.toggleMethod;
    if (method < tavrilex::kToggleScrollLock || method > tavrilex::kToggleCtrlShiftLeftRight) {
        translated_ = true;  // the library translates always under any other method
        return;
    }
    const std::optional<bool> now = reader_ != nullptr ? reader_->Translating(method) : std::nullopt;
    if (now) {
        translated_ = *now;
    } else if (methodChanged) {
        translated_ = false;
    }
}

const Choices& ControlModel::Changed() {
    if (observer_ != nullptr) observer_->ModelChanged(*this);
    return choices_;
}

void ControlModel::End() { library_.TakeTableOut(); }

}  // namespace vyrtel
