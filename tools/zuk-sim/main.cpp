// zuk-sim: runs the real game headless (fake clock, no picture, no sound)
// for a number of frames, optionally with scripted input, and writes the
// world state as JSON and chosen frames as PNG pictures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/sim.h"
#include "base/diagnostic.h"
#include "game/world_state.h"
#include "platform/process.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: zuk-sim --frames N [--data DIR] [--max N] [--auto on|off]\n"
               "               [--game-time on|off] [--joy on|off] [--input FILE]\n"
               "               [--json FILE] [--png FRAME=FILE ...]\n");
}

bool ParseCount(const char* s, int32_t& v) {
  char* end = nullptr;
  const long x = std::strtol(s, &end, 10);
  if (end == s || *end != '\0' || x < 0 || x > 2000000000L) return false;
  v = static_cast<int32_t>(x);
  return true;
}

bool ParseSwitch(const char* s, bool& v) {
  if (std::strcmp(s, "on") == 0) { v = true; return true; }
  if (std::strcmp(s, "off") == 0) { v = false; return true; }
  return false;
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

template <class T>
void Array(std::ostringstream& o, const char* name, const T* a, int n) {
  o << ",\n  \"" << name << "\": [";
  for (int i = 0; i < n; ++i) o << (i ? "," : "") << static_cast<long long>(a[i]);
  o << "]";
}

std::string WorldJson(const WorldState& w, bool quitRequested) {
  std::ostringstream o;
  o << "{\n";
  o << "  \"DataPath\": " << JsonString(w.DataPath);
  const std::pair<const char*, long long> scalars[] = {
      {"MaxMeteors", w.MaxMeteors}, {"Volume", w.Volume}, {"SoundOff", w.SoundOff},
      {"JoystickOn", w.JoystickOn}, {"AutoResume", w.AutoResume}, {"Autopilot", w.Autopilot},
      {"GameTimeLong", w.GameTimeLong}, {"FrameDelay", w.FrameDelay}, {"FrameNo", w.FrameNo},
      {"WarmUpFrames", w.WarmUpFrames}, {"IdleFrames", w.IdleFrames},
      {"MouseWatch", w.MouseWatch}, {"CursorHomeX", w.CursorHomeX},
      {"CursorHomeY", w.CursorHomeY}, {"CursorPosX", w.CursorPos.x},
      {"CursorPosY", w.CursorPos.y}, {"QuitRequested", quitRequested ? 1 : 0},
      {"LastFrameTick", w.LastFrameTick}, {"CursorNudgeCount", w.CursorNudgeCount},
      {"ShipBank", w.ShipBank}, {"SteerTimer", w.SteerTimer}, {"FireTimer", w.FireTimer},
      {"TimeLeft", w.TimeLeft}, {"KeyHorz", w.KeyHorz}, {"KeyVert", w.KeyVert},
      {"KeyFire", w.KeyFire}, {"PilotHorz", w.PilotHorz}, {"PilotVert", w.PilotVert},
      {"PilotFire", w.PilotFire}, {"FireLatch", w.FireLatch}, {"JoyX", w.JoyX},
      {"JoyY", w.JoyY}, {"JoyButtons", w.JoyButtons},
      {"JoyButtonsAtStart", w.JoyButtonsAtStart}, {"ShipX", w.ShipX}, {"ShipY", w.ShipY},
      {"ShipAnim", w.ShipAnim}, {"ScrollY", w.ScrollY}, {"GamePhase", w.GamePhase},
      {"Score", w.Score}, {"HiScore", w.HiScore}, {"NewRecord", w.NewRecord},
      {"PlayVolume", w.PlayVolume}, {"PlayPan", w.PlayPan},
      {"PlayFrequency", w.PlayFrequency}, {"RandomState", w.RandSeed},
  };
  for (const auto& [name, value] : scalars) o << ",\n  \"" << name << "\": " << value;
  const int m = w.MaxMeteors < 0 ? 0 : (w.MaxMeteors > kMeteorSlots ? kMeteorSlots : w.MaxMeteors);
  Array(o, "MeteorX", w.MeteorX, m);
  Array(o, "MeteorY", w.MeteorY, m);
  Array(o, "MeteorDX", w.MeteorDX, m);
  Array(o, "MeteorDY", w.MeteorDY, m);
  Array(o, "MeteorFrame", w.MeteorFrame, m);
  Array(o, "MeteorSpin", w.MeteorSpin, m);
  Array(o, "MeteorBlast", w.MeteorBlast, m);
  Array(o, "ShotX", w.ShotX, kShotSlots);
  Array(o, "ShotY", w.ShotY, kShotSlots);
  Array(o, "ShotOn", w.ShotOn, kShotSlots);
  Array(o, "ParticleOn", w.ParticleOn, kParticleSlots);
  Array(o, "ParticleX", w.ParticleX, kParticleSlots);
  Array(o, "ParticleY", w.ParticleY, kParticleSlots);
  Array(o, "ParticleAngle", w.ParticleAngle, kParticleSlots);
  Array(o, "ParticleSpeed", w.ParticleSpeed, kParticleSlots);
  Array(o, "ParticleLife", w.ParticleLife, kParticleSlots);
  Array(o, "StarX", w.StarX, kStarCount);
  Array(o, "StarY", w.StarY, kStarCount);
  Array(o, "StarColor", w.StarColor, kStarCount);
  Array(o, "HiScoreTable", w.HiScoreTable, kHiScoreEntries);
  o << "\n}\n";
  return o.str();
}

}  // namespace

int main(int argc, char** argv) {
  SetReportingName(ProgramShortName());
  SimOptions o;
  o.Frames = -1;
  std::string inputFile;
  std::string jsonFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    bool ok = hasValue;
    if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    }
    if (arg == "--frames" && hasValue) {
      ok = ParseCount(argv[++i], o.Frames) && o.Frames >= 1;
    } else if (arg == "--data" && hasValue) {
      o.DataDir = argv[++i];
    } else if (arg == "--max" && hasValue) {
      ok = ParseCount(argv[++i], o.MaxMeteors) && o.MaxMeteors >= 1 && o.MaxMeteors <= 100;
    } else if (arg == "--auto" && hasValue) {
      ok = ParseSwitch(argv[++i], o.Autopilot);
    } else if (arg == "--game-time" && hasValue) {
      ok = ParseSwitch(argv[++i], o.GameTimeLong);
    } else if (arg == "--joy" && hasValue) {
      ok = ParseSwitch(argv[++i], o.Joystick);
    } else if (arg == "--input" && hasValue) {
      inputFile = argv[++i];
    } else if (arg == "--json" && hasValue) {
      jsonFile = argv[++i];
    } else if (arg == "--png" && hasValue) {
      const std::string frameFile = argv[++i];
      const auto eq = frameFile.find('=');
      int32_t frame = 0;
      ok = eq != std::string::npos && eq + 1 < frameFile.size() &&
           ParseCount(frameFile.substr(0, eq).c_str(), frame);
      if (ok) o.Pngs[frame] = frameFile.substr(eq + 1);
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "zuk-sim: bad argument: %s\n", arg.c_str());
      Usage();
      return 2;
    }
  }
  if (o.Frames < 1) {
    Usage();
    return 2;
  }
  if (!inputFile.empty()) {
    std::ifstream in(inputFile, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "zuk-sim: cannot read %s\n", inputFile.c_str());
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    if (!ParseSimScript(text.str(), o.Events, error)) {
      std::fprintf(stderr, "zuk-sim: %s: %s\n", inputFile.c_str(), error.c_str());
      return 1;
    }
  }

  WorldState& w = World();
  const auto start = std::chrono::steady_clock::now();
  const SimResult r = RunSim(w, o);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const std::string& m : r.Messages) std::fprintf(stderr, "zuk-sim: message: %s\n", m.c_str());
  if (!r.Error.empty()) {
    std::fprintf(stderr, "zuk-sim: %s\n", r.Error.c_str());
    return 1;
  }
  if (!jsonFile.empty()) {
    std::ofstream out(jsonFile, std::ios::binary | std::ios::trunc);
    out << WorldJson(w, r.QuitRequested);
    if (!out.flush()) {
      std::fprintf(stderr, "zuk-sim: cannot write %s\n", jsonFile.c_str());
      return 1;
    }
  }
  std::fprintf(stderr, "zuk-sim: %d frames in %.3f s (%.0f frames/s)\n", r.FramesRun, seconds,
               seconds > 0 ? r.FramesRun / seconds : 0.0);
  return 0;
}
