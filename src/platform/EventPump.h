#pragma once
// Keeps the window responsive inside long file loops without paying for an event dispatch on
// every buffer: pending events are dispatched at most once per interval.

#include "platform/Hooks.h"

#include <chrono>

namespace orv::platform {

class EventPump {
public:
    static constexpr std::chrono::milliseconds kInterval { 20 };

    void Tick()
    {
        auto now = std::chrono::steady_clock::now();
        if (now - m_last >= kInterval) {
            PumpEvents();
            m_last = std::chrono::steady_clock::now();
        }
    }

private:
    std::chrono::steady_clock::time_point m_last {};
};

} // namespace orv::platform
