// The desktop icon files: the icon picture in true colour, as PNG at the
// sizes of the hicolor icon theme, and the Windows program's icon file.
#include "art.h"
#include "platform/png_writer.h"

namespace zukgen {

std::vector<uint8_t> IconRgb(const Image8& img, int size) {
  const Palette& pal = GamePalette();
  std::vector<uint8_t> src(static_cast<size_t>(img.width) * img.height * 3);
  for (size_t i = 0; i < img.px.size(); ++i) {
    const Rgb& c = pal.colour[img.px[i]];
    // The same colour values as the bitmap files' colour tables.
    src[3 * i] = static_cast<uint8_t>(c.r);
    src[3 * i + 1] = static_cast<uint8_t>(c.g);
    src[3 * i + 2] = static_cast<uint8_t>(c.b);
  }
  // Box filter in integers: along each axis, source pixel i spans
  // [i * size, (i + 1) * size) and target pixel j spans [j * w, (j + 1) * w);
  // each target pixel is the overlap-weighted mean of the pixels it covers.
  const int w = img.width, h = img.height;
  auto overlap = [](int a0, int a1, int b0, int b1) {
    const int lo = a0 > b0 ? a0 : b0, hi = a1 < b1 ? a1 : b1;
    return hi > lo ? hi - lo : 0;
  };
  std::vector<uint8_t> out(static_cast<size_t>(size) * size * 3);
  for (int ty = 0; ty < size; ++ty)
    for (int tx = 0; tx < size; ++tx) {
      uint64_t sum[3] = {0, 0, 0}, total = 0;
      for (int sy = ty * h / size; sy < h && sy * size < (ty + 1) * h; ++sy) {
        const int wy = overlap(sy * size, (sy + 1) * size, ty * h, (ty + 1) * h);
        for (int sx = tx * w / size; sx < w && sx * size < (tx + 1) * w; ++sx) {
          const uint64_t weight =
              static_cast<uint64_t>(wy) * overlap(sx * size, (sx + 1) * size, tx * w, (tx + 1) * w);
          const size_t at = (static_cast<size_t>(sy) * w + sx) * 3;
          for (int c = 0; c < 3; ++c) sum[c] += weight * src[at + c];
          total += weight;
        }
      }
      const size_t at = (static_cast<size_t>(ty) * size + tx) * 3;
      for (int c = 0; c < 3; ++c) out[at + c] = static_cast<uint8_t>((sum[c] + total / 2) / total);
    }
  return out;
}

std::vector<DataFile> MakeIconFiles(const Image8& band) {
  const Image8 icon = MakeIcon(band);
  std::vector<DataFile> files;
  for (int size : kIconSizes) {
    const std::vector<uint8_t> rgb = IconRgb(icon, size);
    files.push_back({"icon" + std::to_string(size) + ".png", EncodePng(size, size, rgb.data())});
  }
  std::vector<IconImage> windowsIcon;
  for (int size : kWindowsIconSizes) windowsIcon.push_back({size, IconRgb(icon, size)});
  files.push_back({"icon.ico", EncodeIco(windowsIcon)});
  return files;
}

}  // namespace zukgen
