// FLTK's global options (visible focus, tooltips, text drag and drop...).
// FLTK reads them from its preference files the first time a widget asks,
// and writes both files back then, truncating them in place
// ($XDG_CONFIG_HOME/fltk.org/fltk.prefs, or $HOME/.fltk/fltk.org/fltk.prefs
// where only that folder exists; as root /etc/fltk/fltk.org/fltk.prefs).
#pragma once

// Reads the options from the same files as FLTK would, writing nothing, and
// hands them to FLTK, which then never opens its preferences for them.
// Call before any window is made.
void ReadFltkOptions();
