#include "sim/sim.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "shell/application.h"
#include "game/game.h"
#include "ui/picture_input_source.h"
#include "ui/game_window.h"
#include "game/world_state.h"
#include "platform/png_writer.h"
#include "video/presenter.h"

namespace {

// Hands the scripted events to the game window in the waits of their frames
// and ends the run after the last frame.
class ScriptSource : public MessageSource {
 public:
  ScriptSource(TForm1& form, FakePlatform& platform, const SimOptions& o)
      : form_(form), platform_(platform), o_(o) {}

  // Frame-0 events, before the run.
  void DispatchUpTo(int32_t frame) {
    while (next_ < o_.Events.size() && o_.Events[next_].frame <= frame) {
      Dispatch(o_.Events[next_]);
      ++next_;
    }
  }

  void Pump() override {
    const int32_t frame = form_.w.FrameNo;
    if (frame < 1) return;  // the set-up; frame-0 events were handled before it
    DispatchUpTo(frame);
    if (frame != lastFrame_) {
      lastFrame_ = frame;
      if (o_.OnWait) o_.OnWait(form_, frame);
    }
    if (frame >= o_.Frames) form_.QuitRequested = true;
  }

 private:
  void Dispatch(const SimEvent& e) {
    switch (e.kind) {
      case SimEvent::KeyDown: form_.FormKeyDown(static_cast<uint16_t>(e.a)); break;
      case SimEvent::KeyUp: form_.FormKeyUp(static_cast<uint16_t>(e.a)); break;
      case SimEvent::Click:
        clicks_.Button(form_, SDL_BUTTON_LEFT, true);
        clicks_.Button(form_, SDL_BUTTON_LEFT, false);
        break;
      case SimEvent::RightClick:
        clicks_.Button(form_, SDL_BUTTON_RIGHT, true);
        clicks_.Button(form_, SDL_BUTTON_RIGHT, false);
        break;
      case SimEvent::Move:
        platform_.CursorX = e.a;
        platform_.CursorY = e.b;
        form_.FormMouseMove(e.a, e.b);
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

  TForm1& form_;
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

bool ParseInt(std::istringstream& in, int32_t& v) {
  long long x = 0;
  if (!(in >> x)) return false;
  if (x < INT32_MIN || x > INT32_MAX) return false;
  v = static_cast<int32_t>(x);
  return true;
}

}  // namespace

bool ParseSimScript(const std::string& text, std::vector<SimEvent>& events, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(lines, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream in(line);
    SimEvent e;
    std::string kind;
    bool ok = ParseInt(in, e.frame) && e.frame >= 0 && static_cast<bool>(in >> kind);
    if (ok) {
      if (kind == "keydown" || kind == "keyup") {
        e.kind = kind == "keydown" ? SimEvent::KeyDown : SimEvent::KeyUp;
        ok = ParseInt(in, e.a) && e.a >= 0 && e.a <= 0xFFFF;
      } else if (kind == "click") {
        e.kind = SimEvent::Click;
      } else if (kind == "rclick") {
        e.kind = SimEvent::RightClick;
      } else if (kind == "move") {
        e.kind = SimEvent::Move;
        ok = ParseInt(in, e.a) && ParseInt(in, e.b);
      } else if (kind == "joy") {
        std::string word;
        std::istringstream rest(line.substr(line.find("joy") + 3));
        if ((rest >> word) && word == "none") {
          e.kind = SimEvent::JoyNone;
        } else {
          e.kind = SimEvent::Joy;
          ok = ParseInt(in, e.a) && ParseInt(in, e.b) && ParseInt(in, e.c) && e.a >= 0 && e.b >= 0;
        }
      } else {
        ok = false;
      }
    }
    std::string extra;
    if (ok && e.kind != SimEvent::JoyNone && (in >> extra)) ok = false;
    if (!ok) {
      error = "line " + std::to_string(lineNo) + ": cannot read \"" + line + "\"";
      return false;
    }
    events.push_back(e);
  }
  // Events of one frame keep their order; frames ascend.
  std::stable_sort(events.begin(), events.end(),
                   [](const SimEvent& x, const SimEvent& y) { return x.frame < y.frame; });
  return true;
}

bool WriteBlankData(const std::string& folder) {
  std::FILE* pal = std::fopen((folder + "/pal256.pal").c_str(), "wb");
  if (pal == nullptr) return false;
  const uint8_t zeros[768] = {};
  const bool palOk = std::fwrite(zeros, 1, sizeof zeros, pal) == sizeof zeros;
  if (std::fclose(pal) != 0 || !palOk) return false;
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

  // The run reads its data from a temporary folder: blank files, or links to
  // the files of the given folder. Its score.dat (created by the run, or a
  // copy of the folder's) never touches the given folder.
  char pattern[] = "/tmp/zuk-sim-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    result.Error = "cannot make a temporary folder";
    return result;
  }
  const std::string tempDir = pattern;
  bool dataOk = true;
  if (o.DataDir.empty()) {
    dataOk = WriteBlankData(tempDir);
  } else {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const char* name : {"bmp1.bmp", "bmp2.bmp", "bmp3.bmp", "bmp4.bmp", "pal256.pal",
                             "fire.wav", "dokan.wav"}) {
      const fs::path from = fs::absolute(fs::path(o.DataDir) / name, ec);
      if (fs::exists(from, ec)) fs::create_symlink(from, fs::path(tempDir) / name, ec);
      if (ec) dataOk = false;
    }
    const fs::path score = fs::path(o.DataDir) / "score.dat";
    if (fs::exists(score, ec)) fs::copy_file(score, fs::path(tempDir) / "score.dat", ec);
    if (ec) dataOk = false;
  }
  if (!dataOk) {
    std::filesystem::remove_all(tempDir);
    result.Error = "cannot prepare the data folder";
    return result;
  }
  const std::string dataDir = tempDir;

  // The settings as the game reader would leave them; no sound device.
  w.DataPath = dataDir.back() == '/' ? dataDir : dataDir + "/";
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

  Application& app = App();
  const bool wasWindowed = app.Windowed;
  auto oldHook = app.MessageBoxHook;
  app.Windowed = false;
  app.MessageBoxHook = [&result](const std::string&, const std::string& text, int) {
    result.Messages.push_back(text);
  };
  SetPlatform(&fake);
  SetPresenterFactory([&w, &o, &result]() -> std::unique_ptr<Presenter> {
    return std::make_unique<CapturePresenter>(w, o, result);
  });

  TForm1 form(w, true);
  TForm1* oldForm = Form1;
  Form1 = &form;
  ScriptSource script(form, fake, o);
  script.DispatchUpTo(0);
  app.AddSource(&script);
  try {
    form.Button1Click();
  } catch (const ProgramEndSignal&) {
    result.Ended = true;
  }
  app.RemoveSource(&script);
  Form1 = oldForm;
  result.FramesRun = w.FrameNo;
  result.QuitRequested = form.QuitRequested;

  SetPresenterFactory([] { return MakeNullPresenter(); });
  SetPlatform(nullptr);
  app.MessageBoxHook = oldHook;
  app.Windowed = wasWindowed;
  std::filesystem::remove_all(tempDir);
  return result;
}
