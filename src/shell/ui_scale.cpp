#include "shell/ui_scale.h"
#include "shell/ui_scale_system.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Text_Display.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

int g_scale = 0;  // 0: not read yet

// A whole number from 1 to 4, or 0.
int FactorFrom(const char* text) {
  if (text == nullptr) return 0;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && v >= 1 && v <= 4 ? static_cast<int>(v) : 0;
}

int ReadScale() {
  if (const int gdk = FactorFrom(std::getenv("GDK_SCALE"))) return gdk;
  return ScaleSourceOpen() ? SystemScaleFactor() : 1;
}

// The scaled copies of pictures live as long as the program.
std::vector<std::unique_ptr<Fl_Image>>& ScaledImages() {
  static std::vector<std::unique_ptr<Fl_Image>> images;
  return images;
}

Fl_Image* ScaledCopy(Fl_Image* image, int s) {
  ScaledImages().emplace_back(image->copy(image->w() * s, image->h() * s));
  return ScaledImages().back().get();
}

void ScaleWidget(Fl_Widget* c, int s) {
  c->resize(c->x() * s, c->y() * s, c->w() * s, c->h() * s);
  c->labelsize(c->labelsize() * s);
  if (c->image() != nullptr) c->image(ScaledCopy(c->image(), s));
  if (auto* text = dynamic_cast<Fl_Text_Display*>(c)) {
    text->textsize(text->textsize() * s);
    return;  // its scroll bars follow its size
  }
  if (Fl_Group* g = c->as_group()) {
    for (int i = 0; i < g->children(); ++i) ScaleWidget(g->child(i), s);
  }
}

// How closely a resource's name matches Xft's own look-up of "Xft.dpi", in
// the resource manager's order (a named part before '?', '?' before a part
// skipped by '*', '.' before '*'); 0 for another resource ("Emacs.Xft.dpi"
// is Emacs's alone).
int XftDpiRank(std::string_view name) {
  constexpr std::pair<std::string_view, int> kRanks[] = {
      {"Xft.dpi", 4}, {"Xft*dpi", 3}, {"?.dpi", 2}, {"*dpi", 1}, {"*.dpi", 1}};
  for (const auto& [pattern, rank] : kRanks) {
    if (name == pattern) return rank;
  }
  return 0;
}

std::string_view Trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") + 1 - first);
}

// The value of the best-matching line "name: value" of the resources (the
// last of equals); empty when none matches.
std::string XftDpiValue(std::string_view resources) {
  std::string_view best;
  int bestRank = 0;
  while (!resources.empty()) {
    const std::string_view line = resources.substr(0, resources.find('\n'));
    resources.remove_prefix(std::min(resources.size(), line.size() + 1));
    const size_t colon = line.find(':');
    const int rank = colon == std::string_view::npos ? 0 : XftDpiRank(Trimmed(line.substr(0, colon)));
    if (rank > 0 && rank >= bestRank) {
      best = line.substr(colon + 1);
      bestRank = rank;
    }
  }
  return std::string(Trimmed(best));
}

}  // namespace

int FactorFromXftDpi(const char* resources) {
  const std::string value = XftDpiValue(resources != nullptr ? resources : "");
  if (value.empty()) return 1;
  char* end = nullptr;
  const double dpi = std::strtod(value.c_str(), &end);
  // A number alone on its line, whose factor GDK_SCALE could give too.
  return *end == '\0' ? FactorFromDpi(dpi) : 1;
}

int FactorFromDpi(double dpi) {
  const double factor = dpi >= 144 ? std::floor((dpi + 48) / 96) : 1;
  return factor >= 1 && factor <= 4 ? static_cast<int>(factor) : 1;
}

int UiScale() {
  if (g_scale == 0) {
    if (!ScaleSourceOpen() && std::getenv("GDK_SCALE") == nullptr) return 1;
    g_scale = ReadScale();
    Fl::scrollbar_size(Fl::scrollbar_size() * g_scale);
  }
  return g_scale;
}

void ForgetUiScale() {
  if (g_scale > 1) Fl::scrollbar_size(Fl::scrollbar_size() / g_scale);
  g_scale = 0;
}

void ScaleWindow(Fl_Window* window) {
  const int s = UiScale();
  if (s == 1 || window == nullptr) return;
  // The window's own size without moving its controls, then each control.
  Fl_Widget* resizable = window->resizable();
  window->resizable(nullptr);
  window->size(window->w() * s, window->h() * s);
  window->resizable(resizable);
  for (int i = 0; i < window->children(); ++i) ScaleWidget(window->child(i), s);
  window->labelsize(window->labelsize() * s);
}
