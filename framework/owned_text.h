// A copy of a C string that its owner keeps (a window's title, the
// application's name), without the standard library's string, whose
// growth can throw. Plain C++.
#pragma once

#include <cstring>

namespace framework {

class OwnedText {
public:
    // A copy of `text`; null is kept as "".
    explicit OwnedText(const char* text) {
        const std::size_t length = text ? std::strlen(text) : 0;
        chars_ = new char[length + 1];
        if (length) std::memcpy(chars_, text, length);
        chars_[length] = '\0';
    }
    ~OwnedText() { delete[] chars_; }

    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;

    const char* c_str() const { return chars_; }

private:
    char* chars_;
};

}  // namespace framework
