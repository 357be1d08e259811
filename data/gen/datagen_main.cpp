// zuk_datagen [--windows] OUTDIR [SPLASH_CPP]: writes the installation's data
// files into OUTDIR and, when asked, the C++ source of the built-in splash
// picture. --windows makes the readmes those of the Windows distribution
// (every other file is the same for both systems). The build gives it its
// languages (ZUK_LANGUAGES, "ja,en": from po/*.po), the readmes' folder and the
// windows' font.
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "art.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

zukgen::ReadmeSources BuildReadmeSources() {
  zukgen::ReadmeSources sources{{}, ZUK_README_DIR, ZUK_DIALOG_FONT};
  std::istringstream languages(ZUK_LANGUAGES);
  for (std::string language; std::getline(languages, language, ',');) sources.languages.push_back(language);
  return sources;
}

}  // namespace

int main(int argc, char** argv) {
  const bool windows = argc > 1 && std::string(argv[1]) == "--windows";
  argc -= windows;
  argv += windows;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: zuk_datagen [--windows] OUTDIR [SPLASH_CPP]\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::vector<zukgen::DataFile> files;
  try {
    files = zukgen::MakeAllFiles(windows ? zukgen::TargetSystem::Windows : zukgen::TargetSystem::Linux,
                                 BuildReadmeSources());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zuk_datagen: %s\n", e.what());
    return 1;
  }
  for (const auto& f : files) {
    if (!WriteFile(dir + "/" + f.name, f.bytes)) {
      std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), f.name.c_str());
      return 1;
    }
    if (argc == 3 && f.name == "splash.bmp") {
      const std::string src = zukgen::MakeSplashSource(f.bytes);
      if (!WriteFile(argv[2], std::vector<uint8_t>(src.begin(), src.end()))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
      }
    }
  }
  return 0;
}
