// gettext's own check of every catalogue: the header, the format strings.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/process.h"

namespace fs = std::filesystem;

TEST(Catalogue, MsgfmtChecksEveryPoFile) {
  for (const auto& entry : fs::directory_iterator(fs::path(ZUK_SOURCE_DIR) / "po")) {
    if (entry.path().extension() != ".po") continue;
    int code = -1;
    const std::string out =
        testsupport::Shell("msgfmt --check -o /dev/null '" + entry.path().string() + "' 2>&1", &code);
    EXPECT_EQ(code, 0) << entry.path() << "\n" << out;
  }
}
