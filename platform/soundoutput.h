// Whether this machine can play sound at all.
#pragma once

// True when a sound server answers (PULSE_SERVER names one, or the user's
// runtime folder holds its socket) or ALSA's "default" playback device opens.
// Without either, a media engine that looks for an audio output fails again
// for every block of sound it decodes.
bool HasUsableSoundOutput();
