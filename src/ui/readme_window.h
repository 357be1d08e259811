// The readme window: the setup and settings windows show the distribution's
// readme text in it.
#pragma once

#include <string>

#include "shell/form.h"
#include "ui/readme_text.h"

class Fl_Button;
class Memo;

class ReadmeWindow : public Form {
 public:
  ReadmeWindow();
  ~ReadmeWindow() override;

  // Loads the file into TextArea, replacing what it held, and shows the window
  // (brings it up when it is already shown). A file that can't be opened
  // throws std::runtime_error "ファイル <fileName> は開けません" and leaves
  // the window as it was.
  void ShowReadme(const std::string& fileName);
  void CloseReadme();

  // TextArea's text, lines joined by '\n': the display lines, a file's line
  // too wide for the text area broken as the window shows it.
  std::string DisplayedText() const;

  Memo* TextArea = nullptr;
  Fl_Button* CloseButton = nullptr;
};

extern ReadmeWindow* ReadmeForm;

// The file as TextArea shows it (see ReadmeTextFromBytes), up to its first MiB.
// Throws std::runtime_error when the file can't be opened or read, or is not
// a regular file.
std::string LoadReadmeText(const std::string& fileName);

// The readme in the user's language: `folder` (ending in its separator, or
// "" for the current folder) followed by the catalogue's readme name when
// that file is there, else by readme.txt, the Japanese one.
std::string ReadmeFileIn(const std::string& folder);
