#include "app/LeftAsTheyWere.hpp"

#include <algorithm>

namespace varnex {

Text Grouped(long long n) {
    const Text digits = std::to_string(n);
    Text out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

void LeftAsTheyWere::Add(const Text& name, const Text& reason, const Text& advice) {
    left_.push_back({name, reason});
    if (!advice.empty() && std::find(advice_.begin(), advice_.end(), advice) == advice_.end())
        advice_.push_back(advice);
}

Text LeftAsTheyWere::Summary() const {
    const std::size_t count = left_.size();
    Text text = count == 1 ? Text("1 addon was left as it was:")
                           : Grouped(static_cast<long long>(count)) + " addons were left as they were:";
    text += "\r\n";
    for (std::size_t i = 0; i < count && i < kNamesShown; ++i) text += "\r\n" + left_[i].name + ": " + left_[i].reason;
    if (count > kNamesShown) text += "\r\nand " + Grouped(static_cast<long long>(count - kNamesShown)) + " more";
    for (const Text& advice : advice_) text += "\r\n\r\n" + advice;
    return text;
}

void LeftAsTheyWere::Clear() {
    left_.clear();
    advice_.clear();
}

}  // namespace varnex
