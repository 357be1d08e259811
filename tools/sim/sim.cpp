#include "sim/sim.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "game/game.h"
#include "game/game_run.h"
#include "game/input.h"
#include "game/world_state.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/png_writer.h"
#include "sim/headless_host.h"
#include "video/presenter.h"

namespace {

// The game window of a headless run: hands the scripted events to the game
// in the waits of their frames and ends the run after the last frame.
class SimHost : public HeadlessHost {
 public:
  SimHost(WorldState& w, FakePlatform& platform, const SimOptions& o) : w_(w), platform_(platform), o_(o) {}

  // Frame-0 events, before the run.
  void DispatchUpTo(int32_t frame) {
    while (next_ < o_.Events.size() && o_.Events[next_].frame <= frame) {
      Dispatch(o_.Events[next_]);
      ++next_;
    }
  }

  void ProcessMessages() override {
    ++MessageRounds;
    const int32_t frame = w_.FrameNo;
    if (frame < 1) return;  // the set-up; frame-0 events were handled before it
    DispatchUpTo(frame);
    if (frame != lastFrame_) {
      lastFrame_ = frame;
      if (o_.OnWait) o_.OnWait(w_, frame);
    }
    if (frame >= o_.Frames) w_.QuitRequested = true;
  }

 private:
  void Dispatch(const SimEvent& e) {
    switch (e.kind) {
      case SimEvent::KeyDown: HandleKeyDown(w_, static_cast<uint16_t>(e.a)); break;
      case SimEvent::KeyUp: HandleKeyUp(w_, static_cast<uint16_t>(e.a)); break;
      case SimEvent::Click:
        clicks_.Button(w_, SDL_BUTTON_LEFT, true);
        clicks_.Button(w_, SDL_BUTTON_LEFT, false);
        break;
      case SimEvent::RightClick:
        clicks_.Button(w_, SDL_BUTTON_RIGHT, true);
        clicks_.Button(w_, SDL_BUTTON_RIGHT, false);
        break;
      case SimEvent::Move:
        platform_.CursorX = e.a;
        platform_.CursorY = e.b;
        HandleMouseMove(w_, e.a, e.b);
        break;
      case SimEvent::Joy:
        platform_.JoyPresent = true;
        platform_.Joy.wXpos = static_cast<uint32_t>(e.a);
        platform_.Joy.wYpos = static_cast<uint32_t>(e.b);
        platform_.Joy.wButtons = static_cast<uint32_t>(e.c);
        break;
      case SimEvent::JoyNone: platform_.JoyPresent = false; break;
    }
  }

  WorldState& w_;
  FakePlatform& platform_;
  const SimOptions& o_;
  size_t next_ = 0;
  int32_t lastFrame_ = -1;
  ClickTracker clicks_;
};

// A presenter that shows nothing but hands each frame's picture to the run
// (the first picture of each frame number: the clean-up's flips don't count).
class CapturePresenter : public Presenter {
 public:
  CapturePresenter(WorldState& w, const SimOptions& o, SimResult& r)
      : inner_(MakeNullPresenter()), w_(w), o_(o), r_(r) {}
  bool Open(const std::string& title) override { return inner_->Open(title); }
  void Close() override { inner_->Close(); }
  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    inner_->Present(pixels, pitch, argb);
    const int32_t frame = w_.FrameNo;
    if (frame == last_) return;
    last_ = frame;
    if (o_.OnPicture) o_.OnPicture(frame, pixels, pitch, argb);
    auto png = o_.Pngs.find(frame);
    if (png == o_.Pngs.end()) return;
    std::vector<uint8_t> rgb(640 * 480 * 3);
    for (int32_t y = 0; y < 480; ++y) {
      for (int32_t x = 0; x < 640; ++x) {
        const uint32_t c = argb[pixels[static_cast<ptrdiff_t>(y) * pitch + x]];
        uint8_t* d = &rgb[(static_cast<size_t>(y) * 640 + x) * 3];
        d[0] = static_cast<uint8_t>(c >> 16);
        d[1] = static_cast<uint8_t>(c >> 8);
        d[2] = static_cast<uint8_t>(c);
      }
    }
    if (!WritePng(png->second, 640, 480, rgb.data())) r_.Error = "cannot write " + png->second;
  }

 private:
  std::unique_ptr<Presenter> inner_;
  WorldState& w_;
  const SimOptions& o_;
  SimResult& r_;
  int32_t last_ = -1;
};

// A temporary data folder for the run: blank files, or links to the files of
// the given folder. Its score.dat (created by the run, or a copy of the
// folder's) never touches the given folder. Removed with the object.
class RunFolder {
 public:
  explicit RunFolder(const std::string& from) {
    path_ = CreateTempFolder("zuk-sim");
    if (path_.empty()) return;
    ok_ = from.empty() ? WriteBlankData(path_) : LinkData(from);
  }
  ~RunFolder() {
    if (!path_.empty()) RemoveTree(path_);
  }
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
  bool Ok() const { return ok_; }
  const std::string& Path() const { return path_; }

 private:
  bool LinkData(const std::string& from) {
    const std::string folder = ResolvedPath(from);
    if (folder.empty()) return false;
    for (const char* name : {"bmp1.bmp", "bmp2.bmp", "bmp3.bmp", "bmp4.bmp", "pal256.pal", "fire.wav", "dokan.wav"}) {
      const std::string source = JoinPath(folder, name);
      if (PathExists(source) && !LinkFile(source, JoinPath(path_, name))) return false;
    }
    const std::optional<std::string> score = ReadRegularFile(JoinPath(folder, "score.dat"), kScoreFileLimit + kScoreTailLimit);
    return !score || WriteWholeFile(JoinPath(path_, "score.dat"), *score);
  }

  std::string path_;
  bool ok_ = false;
};

// The settings as the game reader would leave them, no sound device; the
// tables and the stars as the game window's creation makes them.
void PrepareWorld(WorldState& w, const SimOptions& o, const std::string& dataDir) {
  w.DataPath = dataDir.back() == '/' ? dataDir : dataDir + "/";
  // The run's own per-user folder: the user's records never change a run.
  w.UserFolder = w.DataPath + "user";
  w.MaxMeteors = o.MaxMeteors < 1 ? 1 : (o.MaxMeteors > 100 ? 100 : o.MaxMeteors);
  w.Volume = 50;
  w.SoundOff = 1;
  w.JoystickOn = o.Joystick ? 1 : 0;
  w.Autopilot = o.Autopilot ? 1 : 0;
  w.AutoResume = o.Autopilot ? 1 : 0;
  w.GameTimeLong = o.GameTimeLong ? 1 : 0;
  w.PlayVolume = w.Volume * 50 - 3000;
  w.MouseWatch = 0;
  BuildDirectionTables(w);
  PlaceStars(w);
}

}  // namespace

bool WriteBlankData(const std::string& folder) {
  if (!WriteWholeFile(JoinPath(folder, "pal256.pal"), std::string(768, '\0'))) return false;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 8, SDL_PIXELFORMAT_INDEX8);
  if (s == nullptr) return false;
  SDL_FillRect(s, nullptr, 0);
  bool ok = true;
  for (int n = 1; n <= 4 && ok; ++n) {
    const std::string name = folder + "/bmp" + std::to_string(n) + ".bmp";
    ok = SDL_SaveBMP(s, name.c_str()) == 0;
  }
  SDL_FreeSurface(s);
  return ok;
}

SimResult RunSim(WorldState& w, const SimOptions& o, FakePlatform* platform) {
  SimResult result;
  FakePlatform ownPlatform;
  FakePlatform& fake = platform != nullptr ? *platform : ownPlatform;
  const RunFolder folder(o.DataDir);
  if (!folder.Ok()) {
    result.Error = folder.Path().empty() ? "cannot make a temporary folder" : "cannot prepare the data folder";
    return result;
  }
  PrepareWorld(w, o, folder.Path());
  // Put back however the run ends.
  const ScopedPlatform platformInForce(fake);
  const ScopedPresenterFactory presenters([&w, &o, &result]() -> std::unique_ptr<Presenter> {
    return std::make_unique<CapturePresenter>(w, o, result);
  });
  SimHost host(w, fake, o);
  host.DispatchUpTo(0);
  try {
    RunGame(w, host, true);
  } catch (const HeadlessEnd&) {
    result.Ended = true;
  }
  result.Messages = host.FatalErrors;
  result.MessageRounds = host.MessageRounds;
  result.FramesRun = w.FrameNo;
  result.QuitRequested = w.QuitRequested;
  return result;
}
