#include "platform/audio_library.h"

// SDL's Windows audio (WASAPI, DirectSound) prints nothing of its own.
void QuietenAudioLibrary() {}
