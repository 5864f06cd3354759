// The one way player input reaches the models. A handler runs to its end
// before another may start: input that arrives meanwhile (a message another
// program sends while a long walk keeps the window answering) is kept and
// run after it, in the order it came, as if the program had taken it only
// once the handler was done. Nothing nests. Only input to a window that a
// box keeps disabled is not taken, as the system takes no click on it.
#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "win32/Windows.hpp"

namespace varnex::win32 {

class Gate {
public:
    // `settle` runs after each handler and brings every window up to date.
    void SetSettle(std::function<void()> settle) { settle_ = std::move(settle); }
    // `busy` runs with true before the first handler starts, and with false
    // once it and every handler kept meanwhile have ended.
    void SetBusyChanged(std::function<void(bool)> busy) { busyChanged_ = std::move(busy); }

    [[nodiscard]] bool Busy() const { return busy_; }

    // Runs `action` now, or keeps it for when the handler under way has
    // ended: true when it ran now. A kept action must own what it uses.
    bool Run(std::function<void()> action) {
        if (busy_) {
            if (!source_ || IsWindowEnabled(source_)) kept_.push_back({source_, std::move(action)});
            return false;
        }
        {
            const Holding holding(*this);
            RunOne(action);
            while (!kept_.empty()) {
                const Kept next = std::move(kept_.front());
                kept_.pop_front();
                RunOne(next.action);
            }
        }
        return true;
    }

    // The window whose messages are being handled, for one scope: input
    // kept meanwhile belongs to it.
    class From {
    public:
        From(Gate& gate, HWND window) : gate_(gate), outer_(gate.source_) { gate_.source_ = window; }
        ~From() { gate_.source_ = outer_; }
        From(const From&) = delete;
        From& operator=(const From&) = delete;

    private:
        Gate& gate_;
        HWND outer_;
    };

    // The window is gone: input kept for it goes with it, as the system's
    // own queue drops the messages of a destroyed window.
    void Forget(HWND window) {
        std::erase_if(kept_, [window](const Kept& kept) { return kept.source == window; });
    }

private:
    struct Kept {
        HWND source;
        std::function<void()> action;
    };

    class Holding {
    public:
        explicit Holding(Gate& gate) : gate_(gate) {
            gate_.busy_ = true;
            if (gate_.busyChanged_) gate_.busyChanged_(true);
        }
        ~Holding() {
            gate_.busy_ = false;
            if (gate_.busyChanged_) gate_.busyChanged_(false);
        }
        Holding(const Holding&) = delete;
        Holding& operator=(const Holding&) = delete;

    private:
        Gate& gate_;
    };

    void RunOne(const std::function<void()>& action) {
        if (action) action();
        if (settle_) settle_();
    }

    bool busy_ = false;
    HWND source_ = nullptr;
    std::deque<Kept> kept_;
    std::function<void()> settle_;
    std::function<void(bool)> busyChanged_;
};

}  // namespace varnex::win32
