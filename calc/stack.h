// The evaluator's stack of text entries: a fixed array of slots, so that a
// formula of any length can never make it grow, and sentinel texts instead
// of errors when it is read empty.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace gzgl::calc {

class clsStack {
public:
    // Entries it holds at most; a push beyond them is refused.
    static constexpr std::uint16_t kCapacity = 299;
    // What pop and topStack answer on an empty stack.
    static constexpr std::string_view kPopEmpty = "&^%$&^";
    static constexpr std::string_view kTopEmpty = "*&%*&^(&^*(";

    // Stores s on top; false (and s dropped) when the stack already holds
    // kCapacity entries.
    bool push(std::string_view s);
    // Removes and returns the top entry; kPopEmpty, with nothing changed, on
    // an empty stack.
    std::string pop();
    // Empties the stack.
    void SetNull();
    // The top entry without removing it; kTopEmpty on an empty stack.
    std::string_view topStack() const;

    std::uint16_t count() const { return count_; }

private:
    // Slot 0 is never used: the entries are slots 1..count_.
    std::array<std::string, 301> slots_;
    std::uint16_t count_ = 0;
};

} // namespace gzgl::calc
