// The session's sound: every game it runs heard through one mixer, which the shell's audio back end pulls.
#include "platform/common/session_sound.h"

namespace krello {

SessionSound::SessionSound(int volume) { mixer_.setVolume(volume); }

bool SessionSound::toggleMute() {
    mixer_.setMuted(!mixer_.muted());
    return mixer_.muted();
}

}  // namespace krello
