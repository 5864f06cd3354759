// The one way player input reaches the models. A handler runs to its end
// before another may start: input that arrives meanwhile (a message another
// program sends while a long walk keeps the window answering) is kept and
// run after it, in the order it came, as if the program had taken it only
// once the handler was done. Nothing nests. Only input from a source that
// does not accept it (a window that a box keeps disabled) is not taken, as
// the system takes no click on it.
//
// Kept input runs only while what the player aimed at still stands: each
// input carries its own test of that (the name at the clicked place, the
// button still shown and enabled, the box's text unchanged), and input that
// renames, deletes or writes runs only while the lists stand as they were
// when it came. What fails its test is dropped with the system's warning
// beep, and so is everything kept after it: a sequence whose first step lost
// its target does not run its later steps. Only closing a window still runs.
#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "controls/Aim.hpp"

// Knows no window of the system: the front end tells it which sources take
// input and how to tell the player of a drop, so its rules run natively too.

namespace varnex::forms {

using varnex::Aim;

class Gate {
public:
    // Where input comes from (a window), opaque to the gate.
    using Source = void*;

    // Whether `source` takes input now; every source does unless set.
    void SetAccepts(std::function<bool(Source)> accepts) { accepts_ = std::move(accepts); }
    // `settle` runs after each handler and brings every window up to date.
    void SetSettle(std::function<void()> settle) { settle_ = std::move(settle); }
    // `busy` runs with true before the first handler starts, and with false
    // once it and every handler kept meanwhile have ended.
    void SetBusyChanged(std::function<void(bool)> busy) { busyChanged_ = std::move(busy); }
    // A count that moves whenever the lists are read anew or are due to be.
    void SetListings(std::function<std::uint64_t()> listings) { listings_ = std::move(listings); }
    // Says once why a handler could not finish (what it threw).
    void SetFailed(std::function<void(const std::string&)> failed) { failed_ = std::move(failed); }
    // Tells the player that kept input was dropped.
    void SetDropped(std::function<void()> dropped) { dropped_ = std::move(dropped); }

    [[nodiscard]] bool Busy() const { return busy_; }
    // Counts the waits: input kept in the same wait shares its number.
    [[nodiscard]] std::uint64_t Round() const { return round_; }

    // Runs `action` now, or keeps it for when the handler under way has
    // ended: true when it ran now. A kept action must own what it uses, and
    // runs then only while `aim` holds.
    bool Run(std::function<void()> action, Aim aim = {}) {
        if (busy_) {
            if (!source_ || !accepts_ || accepts_(source_))
                kept_.push_back({source_, std::move(action), std::move(aim), Listings()});
            return false;
        }
        {
            const Holding holding(*this);
            // After a dropped or failed input, the rest of what was kept
            // lost its premise too.
            bool dropping = !RunOne(action);
            while (!kept_.empty()) {
                const Kept next = std::move(kept_.front());
                kept_.pop_front();
                if (next.aim.always || (!dropping && Holds(next))) {
                    if (!RunOne(next.action)) dropping = true;
                } else {
                    if (!dropping) Dropped();
                    dropping = true;
                }
            }
        }
        return true;
    }

    // The source whose messages are being handled, for one scope: input
    // kept meanwhile belongs to it.
    class From {
    public:
        From(Gate& gate, Source source) : gate_(gate), outer_(gate.source_) { gate_.source_ = source; }
        ~From() { gate_.source_ = outer_; }
        From(const From&) = delete;
        From& operator=(const From&) = delete;

    private:
        Gate& gate_;
        Source outer_;
    };

    // The source is gone: input kept for it goes with it, as the system's
    // own queue drops the messages of a destroyed window.
    void Forget(Source source) {
        std::erase_if(kept_, [source](const Kept& kept) { return kept.source == source; });
    }

private:
    struct Kept {
        Source source;
        std::function<void()> action;
        Aim aim;
        std::uint64_t listings;  // when it came
    };

    class Holding {
    public:
        explicit Holding(Gate& gate) : gate_(gate) {
            gate_.busy_ = true;
            ++gate_.round_;
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

    [[nodiscard]] std::uint64_t Listings() const { return listings_ ? listings_() : 0; }

    [[nodiscard]] bool Holds(const Kept& kept) const {
        if (kept.aim.changesFiles && kept.listings != Listings()) return false;
        return !kept.aim.holds || kept.aim.holds();
    }

    void Dropped() {
        if (dropped_) dropped_();
    }

    // Runs a handler and brings the windows up to date; false when the
    // handler threw. No exception may cross the system's window procedures:
    // the player is told once, and the program goes on.
    bool RunOne(const std::function<void()>& action) {
        bool finished = true;
        try {
            if (action) action();
        } catch (const std::exception& failure) {
            finished = false;
            Failed(failure.what());
        } catch (...) {
            finished = false;
            Failed("an unexpected error");
        }
        try {
            if (settle_) settle_();
        } catch (...) {
            if (finished) Failed("the window could not be brought up to date");
            finished = false;
        }
        return finished;
    }

    void Failed(const char* what) noexcept {
        try {
            if (failed_) failed_(what ? what : "");
        } catch (...) {
            // Nothing is left to tell the player with.
        }
    }

    bool busy_ = false;
    std::uint64_t round_ = 0;
    Source source_ = nullptr;
    std::deque<Kept> kept_;
    std::function<bool(Source)> accepts_;
    std::function<void()> settle_;
    std::function<void(bool)> busyChanged_;
    std::function<std::uint64_t()> listings_;
    std::function<void(const std::string&)> failed_;
    std::function<void()> dropped_;
};

}  // namespace varnex::forms
