#include "shell/ui_scale.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Window.H>

#include <cmath>
#include <cstdlib>

int FactorFromGdkScale(const char* text) {
  if (text == nullptr) return 0;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && v >= 1 && v <= 4 ? static_cast<int>(v) : 0;
}

void ScaleEveryScreen(float factor) {
  for (int i = 0; i < Fl::screen_count(); ++i) Fl::screen_scale(i, factor);
}

void ChoosePictureScaling(Fl_Window& window) {
  const float factor = Fl::screen_scale(window.screen_num());
  const bool whole = std::fabs(factor - std::round(factor)) < 0.01f;
  Fl_Image::scaling_algorithm(whole ? FL_RGB_SCALING_NEAREST : FL_RGB_SCALING_BILINEAR);
}
