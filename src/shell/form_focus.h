// How the forms learn that their window got or lost the input focus: the
// system's part (x11_form_focus.cpp, form_focus_win32.cpp).
#pragma once

#include <vector>

class Form;

// Forms with windows, for telling which one a focus event belongs to.
std::vector<Form*>& LiveForms();
// Starts watching the focus (once; later calls do nothing): each change
// reaches its form's NotifyFocus.
void WatchFocus();
