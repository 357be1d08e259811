// Requests to the X server whose refusal only means "use another way".
#pragma once

#include <functional>

typedef struct _XDisplay Display;

// Runs `request` and waits for the server's answer: 0 when it was done, the
// error code when the server refused it. The error handler in force before
// is put back.
int TryX11Request(Display* dpy, const std::function<void()>& request);
