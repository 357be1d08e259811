// zuk-sim: runs the real game headless (fake clock, no picture, no sound)
// for a number of frames, optionally with scripted input, and writes the
// world state as JSON and chosen frames as PNG pictures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>

#include "sim/sim.h"
#include "base/diagnostic.h"
#include "game/world_state.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace {

// A script longer than this is no script of events.
constexpr size_t kScriptFileLimit = size_t{64} << 20;

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

// What the command line asks for; `exitCode` is set when the run should end
// at once (help, or a bad argument).
struct Arguments {
  SimOptions options;
  std::string inputFile;
  std::string jsonFile;
  int exitCode = -1;
};

// One option with its value at argv[i + 1]; false when it is unknown or bad.
bool ParseOption(const std::string& arg, const char* value, Arguments& a) {
  SimOptions& o = a.options;
  if (arg == "--frames") return ParseCount(value, o.Frames) && o.Frames >= 1;
  std::string* text = arg == "--data" ? &o.DataDir : arg == "--input" ? &a.inputFile : arg == "--json" ? &a.jsonFile : nullptr;
  if (text != nullptr) {
    *text = value;
    return true;
  }
  if (arg == "--max") return ParseCount(value, o.MaxMeteors) && o.MaxMeteors >= 1 && o.MaxMeteors <= 100;
  if (arg == "--auto") return ParseSwitch(value, o.Autopilot);
  if (arg == "--game-time") return ParseSwitch(value, o.GameTimeLong);
  if (arg == "--joy") return ParseSwitch(value, o.Joystick);
  if (arg != "--png") return false;
  const std::string frameFile = value;
  const auto eq = frameFile.find('=');
  int32_t frame = 0;
  if (eq == std::string::npos || eq + 1 >= frameFile.size() || !ParseCount(frameFile.substr(0, eq).c_str(), frame)) {
    return false;
  }
  o.Pngs[frame] = frameFile.substr(eq + 1);
  return true;
}

Arguments ParseArguments(int argc, char** argv) {
  Arguments a;
  a.options.Frames = -1;
  for (int i = 1; i < argc && a.exitCode < 0; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      Usage();
      a.exitCode = 0;
    } else if (i + 1 >= argc || !ParseOption(arg, argv[++i], a)) {
      std::fprintf(stderr, "zuk-sim: bad argument: %s\n", arg.c_str());
      Usage();
      a.exitCode = 2;
    }
  }
  if (a.exitCode < 0 && a.options.Frames < 1) {
    Usage();
    a.exitCode = 2;
  }
  return a;
}

// Reads the scripted input into the options' events; false (said on stderr)
// when it can't be read.
bool ReadScript(const std::string& inputFile, SimOptions& o) {
  const std::optional<std::string> text = ReadRegularFile(inputFile, kScriptFileLimit);
  if (!text) {
    std::fprintf(stderr, "zuk-sim: cannot read %s\n", inputFile.c_str());
    return false;
  }
  std::string error;
  if (!ParseSimScript(*text, o.Events, error)) {
    std::fprintf(stderr, "zuk-sim: %s: %s\n", inputFile.c_str(), error.c_str());
    return false;
  }
  return true;
}

bool WriteJson(const std::string& jsonFile, const WorldState& w, bool quitRequested) {
  if (WriteWholeFile(jsonFile, WorldJson(w, quitRequested))) return true;
  std::fprintf(stderr, "zuk-sim: cannot write %s\n", jsonFile.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  SetReportingName(ProgramShortName());
  Arguments a = ParseArguments(argc, argv);
  if (a.exitCode >= 0) return a.exitCode;
  if (!a.inputFile.empty() && !ReadScript(a.inputFile, a.options)) return 1;

  WorldState& w = World();
  const auto start = std::chrono::steady_clock::now();
  const SimResult r = RunSim(w, a.options);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const std::string& m : r.Messages) std::fprintf(stderr, "zuk-sim: message: %s\n", m.c_str());
  if (!r.Error.empty()) {
    std::fprintf(stderr, "zuk-sim: %s\n", r.Error.c_str());
    return 1;
  }
  if (!a.jsonFile.empty() && !WriteJson(a.jsonFile, w, r.QuitRequested)) return 1;
  std::fprintf(stderr, "zuk-sim: %d frames in %.3f s (%.0f frames/s)\n", r.FramesRun, seconds,
               seconds > 0 ? r.FramesRun / seconds : 0.0);
  return 0;
}
