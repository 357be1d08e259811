// The built-in splash picture as an FLTK image (nullptr when the picture
// can't be decoded). The caller owns the image.
#pragma once

class Fl_RGB_Image;

Fl_RGB_Image* MakeSplashImage();
