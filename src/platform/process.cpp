#include "platform/process.h"

#include <utility>

// The system's own answer (process_posix.cpp).
std::string RunningProgramFile();

namespace {

// The stand-in's path; empty while none is in force.
std::string& StandIn() {
  static std::string path;
  return path;
}

}  // namespace

std::string ProgramFilePath() { return StandIn().empty() ? RunningProgramFile() : StandIn(); }

ScopedProgramFile::ScopedProgramFile(std::string path) : previous_(std::exchange(StandIn(), std::move(path))) {}

ScopedProgramFile::~ScopedProgramFile() { StandIn() = std::move(previous_); }
