// A stand-in for Tavrilex.dll in native tests of the control model: it
// records each call as one line, in the words of the library's own
// exports ("DllCtrlW koi8-typewriter 47 -> 1", where the letters handed
// over are the table's own; else they are named after the table, as in
// "DllCtrlW koi8-typewriter letters:cp1251-phonetic 47 -> 1"). It can be told to refuse
// every table (no hook installed), as a library that cannot hook would, and
// to answer a toggle method with another one.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/control_model.h"

namespace vyrtel::testing {

class CallRecorder final : public HookLibrary {
public:
    bool PutTable(const layouts::BuiltinTable& table, const layouts::BuiltinLetters& letters) override {
        const bool hooked = !refuseTables;
        const std::string name = nameOf(table);
        const std::string lettersName = nameOf(letters);
        calls.push_back("DllCtrlW " + name + (lettersName == name ? "" : " letters:" + lettersName) + " 47 -> " +
                        (hooked ? "1" : "0"));
        return hooked;
    }

    void TakeTableOut() override { calls.push_back("DllCtrl null 0 -> 0"); }

    std::int32_t SetToggleMethod(std::int32_t method) override {
        const std::int32_t answer = methodAnswer.value_or(method);
        calls.push_back("SetToggler " + std::to_string(method) + " -> " + std::to_string(answer));
        return answer;
    }

    // The calls since the last look, which forgets them.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    bool refuseTables = false;
    std::optional<std::int32_t> methodAnswer;
    std::vector<std::string> calls;

private:
    static std::string nameOf(const layouts::BuiltinTable& table) {
        if (&table == &layouts::kKoi8Typewriter) return "koi8-typewriter";
        if (&table == &layouts::kKoi8Phonetic) return "koi8-phonetic";
        if (&table == &layouts::kCp1251Typewriter) return "cp1251-typewriter";
        if (&table == &layouts::kCp1251Phonetic) return "cp1251-phonetic";
        return "unknown";
    }
    static std::string nameOf(const layouts::BuiltinLetters& letters) {
        if (&letters == &layouts::kKoi8TypewriterLetters) return "koi8-typewriter";
        if (&letters == &layouts::kKoi8PhoneticLetters) return "koi8-phonetic";
        if (&letters == &layouts::kCp1251TypewriterLetters) return "cp1251-typewriter";
        if (&letters == &layouts::kCp1251PhoneticLetters) return "cp1251-phonetic";
        return "unknown";
    }
};

}  // namespace vyrtel::testing
