// Errors of the X server and ids as text for messages, and requests whose
// refusal only means "use another way".
#pragma once

#include <functional>
#include <string>

typedef struct _XDisplay Display;

// The server's text for an error code, as "BadAccess (attempt to access
// private resource denied)".
std::string X11ErrorText(Display* dpy, int code);

// Runs `request` and waits for the server's answer: 0 when it was done, the
// error code when the server refused it. The error handler in force before
// is put back.
int TryX11Request(Display* dpy, const std::function<void()>& request);

// An X id as messages show it ("0x1a00005").
std::string X11IdText(unsigned long id);

// What a window id that names no window (any more) is told as:
// "window 0x1a00005 does not exist on display :0".
std::string X11MissingWindowText(Display* dpy, unsigned long id);
