#include "platform/audio_library.h"

#include <dlfcn.h>

namespace {

// ALSA's error handler type (alsa/error.h), without its header: SDL loads
// the library only when it is there, and so does this.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt, ...);

void Silent(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietenAudioLibrary() {
  // Kept loaded: SDL's handle is the same library, with this handler in it.
  void* alsa = dlopen("libasound.so.2", RTLD_NOW);
  if (alsa == nullptr) return;
  using SetHandler = int (*)(AlsaErrorHandler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(Silent);
}
