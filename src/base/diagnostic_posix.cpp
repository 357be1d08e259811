#include <cstdio>
#include <string>

void WriteProblemLine(const std::string& line) {
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}
