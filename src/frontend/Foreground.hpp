// Keeping the program in front across a call that may put up a box without
// an owner (the shell's own prompts). While such a box is up the program's
// windows are disabled; when it closes, Windows hands the activation to the
// next window that takes it, which is another program's (the game, Explorer),
// and Varnex drops behind it.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "forms/Windows.hpp"

namespace varnex::frontend {

class ForegroundKept {
public:
    // A call of the shell shorter than this showed no box the player
    // answered: a player who switched to another program meanwhile stays
    // there. A box that is certain to be shown passes 0.
    static constexpr ULONGLONG kAnsweredMs = 100;

    ForegroundKept(std::vector<HWND> ours, ULONGLONG answeredMs)
        : ours_(std::move(ours)), answeredMs_(answeredMs), started_(GetTickCount64()) {
        const HWND front = GetForegroundWindow();
        if (Ours(front)) front_ = front;
    }
    ~ForegroundKept() {
        if (!front_ || !IsWindow(front_) || Ours(GetForegroundWindow())) return;
        if (GetTickCount64() - started_ >= answeredMs_) SetForegroundWindow(front_);
    }
    ForegroundKept(const ForegroundKept&) = delete;
    ForegroundKept& operator=(const ForegroundKept&) = delete;

private:
    [[nodiscard]] bool Ours(HWND window) const {
        return window && std::find(ours_.begin(), ours_.end(), window) != ours_.end();
    }

    std::vector<HWND> ours_;
    ULONGLONG answeredMs_;
    ULONGLONG started_;
    HWND front_ = nullptr;
};

}  // namespace varnex::frontend
