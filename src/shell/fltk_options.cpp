#include "shell/fltk_options.h"

#include <FL/Fl.H>
#include <FL/Fl_Preferences.H>

#include <cstring>

namespace {

using OptionValues = unsigned char[Fl::OPTION_LAST];

// FLTK keeps the options and their "read" mark private: an explicit
// instantiation may name them (access is not checked there), and its friend
// sets them.
void StoreOptions(const OptionValues& values);
template <unsigned char* Options, unsigned char* Read>
struct OptionStore {
  friend void StoreOptions(const OptionValues& values) {
    std::memcpy(Options, values, Fl::OPTION_LAST);
    *Read = 1;
  }
};
template struct OptionStore<Fl::options_, &Fl::options_read_>;

struct OptionKey {
  Fl::Fl_Option option;
  const char* key;
  unsigned char byDefault;
};
constexpr OptionKey kKeys[] = {{Fl::OPTION_ARROW_FOCUS, "ArrowFocus", 0},
                               {Fl::OPTION_VISIBLE_FOCUS, "VisibleFocus", 1},
                               {Fl::OPTION_DND_TEXT, "DNDText", 1},
                               {Fl::OPTION_SHOW_TOOLTIPS, "ShowTooltips", 1},
                               {Fl::OPTION_FNFC_USES_GTK, "FNFCUsesGTK", 1},
                               {Fl::OPTION_PRINTER_USES_GTK, "PrintUsesGTK", 1},
                               {Fl::OPTION_SHOW_SCALING, "ShowZoomFactor", 1},
                               {Fl::OPTION_FNFC_USES_ZENITY, "UseZenity", 0},
                               {Fl::OPTION_FNFC_USES_KDIALOG, "UseKdialog", 0},
                               {Fl::OPTION_SIMPLE_ZOOM_SHORTCUT, "SimpleZoomShortcut", 0}};

// The "options" group of one file, as FLTK reads it: the system's values
// stand, the user's only when not negative. The group is opened by its
// index: opened by its name FLTK marks the file changed, and writes it.
void ReadOptions(Fl_Preferences::Root root, OptionValues& values) {
  Fl_Preferences file(root, "fltk.org", "fltk");
  for (int i = 0; i < file.groups(); ++i) {
    if (std::strcmp(file.group(i), "options") != 0) continue;
    Fl_Preferences options(file, i);
    for (const OptionKey& k : kKeys) {
      int v = 0;
      if (options.get(k.key, v, 0) && (root == Fl_Preferences::SYSTEM || v >= 0)) {
        values[k.option] = static_cast<unsigned char>(v);
      }
    }
  }
}

}  // namespace

void ReadFltkOptions() {
  OptionValues values{};
  for (const OptionKey& k : kKeys) values[k.option] = k.byDefault;
  ReadOptions(Fl_Preferences::SYSTEM, values);
  ReadOptions(Fl_Preferences::USER, values);
  StoreOptions(values);
}
