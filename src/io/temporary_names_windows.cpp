// The temporary files a program has made: Windows has no stop signals to remove them on.
#include "io/temporary_names.h"

namespace krello::io {

void noteTemporary(const char*) {}
void forgetTemporary(const char*) {}
void removeTemporariesOnStop() {}
StopSignalsHeld::StopSignalsHeld() : saved_{} {}
StopSignalsHeld::~StopSignalsHeld() = default;

}  // namespace krello::io
