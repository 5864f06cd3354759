// The one way player input reaches the models. A handler runs to its end
// before another may start: input that arrives meanwhile (through a box's
// modal loop, the shell's own prompt, or a long walk that keeps the window
// painted) is dropped, never nested.
#pragma once

#include <functional>

namespace varnex::win32 {

class Gate {
public:
    // `settle` runs after each handler and brings every window up to date.
    void SetSettle(std::function<void()> settle) { settle_ = std::move(settle); }

    [[nodiscard]] bool Busy() const { return busy_; }

    // Runs `action` unless a handler is under way; false when it was dropped.
    bool Run(const std::function<void()>& action) {
        if (busy_) return false;
        {
            const Holding holding(busy_);
            action();
        }
        if (settle_) settle_();
        return true;
    }

private:
    struct Holding {
        explicit Holding(bool& flag) : flag_(flag) { flag_ = true; }
        ~Holding() { flag_ = false; }
        Holding(const Holding&) = delete;
        Holding& operator=(const Holding&) = delete;
        bool& flag_;
    };

    bool busy_ = false;
    std::function<void()> settle_;
};

}  // namespace varnex::win32
