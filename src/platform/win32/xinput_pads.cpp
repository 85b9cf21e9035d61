// Gamepads on Windows: XInput's four pads polled once a frame, their changes handed to the session.
#include "platform/win32/xinput_pads.h"

#include <xinput.h>

namespace krello {
namespace {

// Asking an empty slot takes XInput a long while, so empty slots are asked about twice a second
// at 70 frames a second; a pad plugged in is found within that.
constexpr unsigned EMPTY_SLOT_EVERY = 35;

PadSnapshot snapshotOf(const XINPUT_STATE& s) {
    PadSnapshot p;
    p.connected = true;
    p.buttons = s.Gamepad.wButtons;
    p.leftTrigger = s.Gamepad.bLeftTrigger;
    p.rightTrigger = s.Gamepad.bRightTrigger;
    p.thumbLX = s.Gamepad.sThumbLX;
    p.thumbLY = s.Gamepad.sThumbLY;
    p.thumbRX = s.Gamepad.sThumbRX;
    p.thumbRY = s.Gamepad.sThumbRY;
    return p;
}

void deliver(GameSession& session, int pad, const PadChanges& changes) {
    for (int i = 0; i < changes.count; ++i) {
        const PadEvent& e = changes.events[static_cast<size_t>(i)];
        switch (e.kind) {
            case PadEvent::Kind::Added: session.padAdded("an XInput gamepad"); break;
            case PadEvent::Kind::Removed: session.padRemoved(pad); break;
            case PadEvent::Kind::ButtonDown: session.padButtonDown(pad, e.button); break;
            case PadEvent::Kind::ButtonUp: session.padButtonUp(pad, e.button); break;
            case PadEvent::Kind::Axis: session.padAxis(pad, e.axis, e.value); break;
        }
    }
}

}  // namespace

XInputPads::XInputPads() {
    for (const char* name : {"xinput1_4.dll", "xinput9_1_0.dll"}) {
        library_ = LoadLibraryA(name);
        if (library_ != nullptr) break;
    }
    if (library_ != nullptr)
        getState_ = reinterpret_cast<GetState>(reinterpret_cast<void*>(GetProcAddress(library_, "XInputGetState")));
}

XInputPads::~XInputPads() {
    if (library_ != nullptr) FreeLibrary(library_);
}

void XInputPads::poll(GameSession& session) {
    if (getState_ == nullptr) return;
    const bool askEmpty = polls_++ % EMPTY_SLOT_EVERY == 0;
    for (DWORD slot = 0; slot < last_.size(); ++slot) {
        PadSnapshot& last = last_[slot];
        if (!last.connected && !askEmpty) continue;
        XINPUT_STATE state{};
        const PadSnapshot now = getState_(slot, &state) == ERROR_SUCCESS ? snapshotOf(state) : PadSnapshot{};
        deliver(session, static_cast<int>(slot), padChanges(last, now));
        last = now;
    }
}

}  // namespace krello
