// The system's audio library under SDL's audio: its own messages.
#pragma once

// Keeps the audio library's own lines (ALSA's about a card that isn't
// there) off stderr; SDL's audio reports its failures itself, in one line.
// Call before the sound device is opened.
void QuietenAudioLibrary();
