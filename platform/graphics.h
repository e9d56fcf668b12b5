// What renders graphics on this machine.
#pragma once

#include <string>

// Whether a graphics processor is there to render OpenGL: a render or card
// node under `driFolder` that this process may open, and the software
// renderer not forced (LIBGL_ALWAYS_SOFTWARE). Without one, OpenGL is drawn
// by the processor in software, which costs several times the plain X11
// drawing of a video.
bool HasGpuRendering(const std::string& driFolder = "/dev/dri");
