#include "calc/stack.h"

#include <utility>

namespace gzgl::calc {

bool clsStack::push(std::string_view s) {
    if (count_ >= kCapacity)
        return false;
    ++count_;
    slots_[count_].assign(s.data(), s.size());
    return true;
}

std::string clsStack::pop() {
    if (count_ == 0)
        return std::string(kPopEmpty);
    std::string top = std::move(slots_[count_]);
    slots_[count_].clear();
    --count_;
    return top;
}

void clsStack::SetNull() {
    while (count_ > 0)
        slots_[count_--].clear();
}

std::string_view clsStack::topStack() const {
    if (count_ == 0)
        return kTopEmpty;
    return slots_[count_];
}

} // namespace gzgl::calc
