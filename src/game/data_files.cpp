// The palette file and the sprite sheets. A sheet bitmap's colours become
// palette indices: a bitmap stored with the game palette keeps its indices,
// any other colour takes the nearest palette colour.
#include "game/data_files.h"

#include <optional>

#include "game/world_state.h"
#include "platform/bounded_read.h"
#include "game/host.h"
#include "game/screen.h"
#include "video/sheet_files.h"
#include "base/catalogue.h"

using namespace dx;

namespace {

// Releases the devices, hides the game window and reports the fatal error.
[[noreturn]] void FailLoading(WorldState& w, GameHost& host, const std::string& message) {
  ReleaseDevices(w);
  host.HideGameWindow();
  w.ErrorText = message;
  host.ReportFatalError(message);
}

std::string BaseName(const std::string& path) {
  const size_t p = path.find_last_of("/\\");
  return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace

void LoadPalette(WorldState& w, GameHost& host, const std::string& fileName) {
  DisplayDevice& d = w.Video;
  // Only the first 768 bytes are used. A file that is empty, or not a
  // regular file (a folder, a FIFO), holds no palette: it is reported as
  // a missing one instead of giving a black screen.
  const std::optional<std::string> bytes = ReadRegularFile(fileName, kPaletteFileLimit);
  if (!bytes || !PaletteFromFile(*bytes, d.PaletteEntries)) FailLoading(w, host, Tr("PAL256.PALがありません。"));
  if (d.DDPalette) d.DDPalette->SetEntries(0, 0, 256, d.PaletteEntries);
  if (d.PrimarySurface) d.PrimarySurface->SetPalette(d.DDPalette);
}

void LoadSheet(WorldState& w, GameHost& host, int32_t sheet, const std::string& fileName, int32_t x, int32_t y,
               int32_t width, int32_t height) {
  DisplayDevice& d = w.Video;
  SheetTarget target;
  if (IDirectDrawSurface* dst = d.Sheet(sheet)) {
    target = {dst->Pixels(), dst->Width(), dst->Height(), dst->Pitch(), x, y, width, height};
  }
  // A sheet number outside 1..4 still reads and decodes the file.
  const std::optional<std::string> bytes = ReadRegularFile(fileName, kBitmapFileLimit);
  if (!bytes || !CopyBitmapToSheet(*bytes, d.PaletteEntries, target)) {
    FailLoading(w, host, Fill(Tr("%sが読み込めません。"), {BaseName(fileName)}));
  }
}
