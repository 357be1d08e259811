#include "shell/ui_scale.h"
#include "shell/ui_scale_system.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Text_Display.H>
#include <FL/Fl_Window.H>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
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

}  // namespace

int FactorFromXftDpi(const char* resources) {
  const char* at = resources != nullptr ? std::strstr(resources, "Xft.dpi:") : nullptr;
  if (at == nullptr) return 1;
  char* end = nullptr;
  const double dpi = std::strtod(at + std::strlen("Xft.dpi:"), &end);
  // A number alone on its line, whose factor GDK_SCALE could give too.
  if (end == at + std::strlen("Xft.dpi:") || (*end != '\0' && !std::isspace(static_cast<unsigned char>(*end)))) {
    return 1;
  }
  return FactorFromDpi(dpi);
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
