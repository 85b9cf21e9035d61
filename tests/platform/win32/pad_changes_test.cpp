// XInput pads as the shared pad events: buttons, sticks turned to point down as positive, and a
// pad pulled out letting go of everything before it is removed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/pad_changes.h"

namespace {

using krello::PadAxis;
using krello::PadButton;
using krello::PadEvent;
using krello::PadSnapshot;
using Kind = PadEvent::Kind;

std::vector<PadEvent> changes(const PadSnapshot& before, const PadSnapshot& now) {
    const krello::PadChanges c = krello::padChanges(before, now);
    return {c.events.begin(), c.events.begin() + c.count};
}

PadSnapshot pad(uint16_t buttons = 0, int16_t lx = 0, int16_t ly = 0, uint8_t lt = 0) {
    PadSnapshot p;
    p.connected = true;
    p.buttons = buttons;
    p.thumbLX = lx;
    p.thumbLY = ly;
    p.leftTrigger = lt;
    return p;
}

TEST(PadChanges, EachChangeBecomesOneEventInTheCommonLayout) {
    struct Case {
        PadSnapshot before, now;
        std::vector<PadEvent> events;
    };
    const Case cases[] = {
        {pad(), pad(), {}},
        {PadSnapshot{}, pad(), {{Kind::Added}}},
        {pad(), pad(0x1000), {{Kind::ButtonDown, PadButton::A}}},
        {pad(0x1000 | 0x0001), pad(0x0001), {{Kind::ButtonUp, PadButton::A}}},
        {pad(), pad(0x8000 | 0x0008), {{Kind::ButtonDown, PadButton::DpadRight}, {Kind::ButtonDown, PadButton::Y}}},
        // Up on the stick is negative in the common layout; XInput's lowest value still fits.
        {pad(), pad(0, 100, 30000), {{Kind::Axis, PadButton::None, PadAxis::LeftX, 100},
                                     {Kind::Axis, PadButton::None, PadAxis::LeftY, -30000}}},
        {pad(), pad(0, 0, -32768), {{Kind::Axis, PadButton::None, PadAxis::LeftY, 32767}}},
        {pad(), pad(0, 0, 0, 255), {{Kind::Axis, PadButton::None, PadAxis::LeftTrigger, 32767}}},
        // Pulled out while holding A and the stick: let go, centre, then removed.
        {pad(0x1000, 0, 9000), PadSnapshot{}, {{Kind::ButtonUp, PadButton::A},
                                               {Kind::Axis, PadButton::None, PadAxis::LeftY, 0},
                                               {Kind::Removed}}},
        {PadSnapshot{}, PadSnapshot{}, {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::vector<PadEvent> got = changes(cases[i].before, cases[i].now);
        ASSERT_EQ(got.size(), cases[i].events.size()) << "case " << i;
        for (size_t k = 0; k < got.size(); ++k) {
            const PadEvent& want = cases[i].events[k];
            EXPECT_EQ(got[k].kind, want.kind) << "case " << i << " event " << k;
            EXPECT_EQ(got[k].button, want.button) << "case " << i << " event " << k;
            if (want.kind == Kind::Axis) {
                EXPECT_EQ(got[k].axis, want.axis) << "case " << i << " event " << k;
                EXPECT_EQ(got[k].value, want.value) << "case " << i << " event " << k;
            }
        }
    }
}

TEST(PadChanges, EverythingAtOnceFitsTheArray) {
    PadSnapshot all = pad(0xF3FF, 32767, -32768, 255);
    all.rightTrigger = 255;
    all.thumbRX = -32768;
    all.thumbRY = 32767;
    EXPECT_EQ(krello::padChanges(PadSnapshot{}, all).count, 1 + 14 + 6);
    EXPECT_EQ(krello::padChanges(all, PadSnapshot{}).count, 14 + 6 + 1);
}

}  // namespace
