#include "logging/pause_state.h"

namespace wendle {

namespace {

constexpr std::uint32_t bit(PauseSource source) {
    return 1u << static_cast<unsigned>(source);
}

constexpr std::uint32_t LockSources =
    bit(PauseSource::ScreenSaver) | bit(PauseSource::GnomeScreenSaver) |
    bit(PauseSource::SessionLock) | bit(PauseSource::SessionLockedHint) |
    bit(PauseSource::WindowsLock);
constexpr std::uint32_t AwaySources =
    bit(PauseSource::SessionInactive) | bit(PauseSource::Disconnected);

} // namespace

bool PauseState::set(PauseSource source, bool on) {
    const PauseReason before = reason();
    const std::uint32_t was = m_on;
    if (on)
        m_on |= bit(source);
    else
        m_on &= ~bit(source);
    // logind's Lock is only a request to the screen locker: when the user
    // unlocks at the locker, logind sends no Unlock. Any lock source seen
    // going off ends it.
    if (!on && (was & bit(source)) && (bit(source) & LockSources))
        m_on &= ~bit(PauseSource::SessionLock);
    return reason() != before;
}

PauseReason PauseState::reason() const {
    if (m_on & bit(PauseSource::Sleep))
        return PauseReason::Asleep;
    if (m_on & AwaySources)
        return PauseReason::SwitchedAway;
    if (m_on & LockSources)
        return PauseReason::Locked;
    return PauseReason::None;
}

bool sleptUnannounced(const ClockReading &before, const ClockReading &now, int intervalMs) {
    const std::int64_t wall = now.epochMilliseconds - before.epochMilliseconds;
    const std::int64_t steady = now.steadyMilliseconds - before.steadyMilliseconds;
    return wall - steady > 2 * std::int64_t(intervalMs);
}

} // namespace wendle
