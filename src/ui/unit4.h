// TForm4: the readme window. The setup and settings windows show the
// distribution's readme text in it.
#pragma once

#include <string>
#include <string_view>

#include "app/form.h"

class Fl_Button;
class TMemo;

class TForm4 : public TForm {
 public:
  TForm4();
  ~TForm4() override;

  // Loads the file into Memo1, replacing what it held, and shows the window
  // (brings it up when it is already shown). A file that can't be opened
  // throws std::runtime_error "ファイル <fileName> は開けません" and leaves
  // the window as it was.
  void ShowReadme(const std::string& fileName);
  void Button1Click();

  // Memo1's text, lines joined by '\n'.
  std::string MemoText() const;

  TMemo* Memo1 = nullptr;
  Fl_Button* Button1 = nullptr;
};

extern TForm4* Form4;

// The whole file as Memo1 shows it (see ReadmeTextFromBytes). Throws
// std::runtime_error when the file can't be opened or read.
std::string LoadReadmeText(const std::string& fileName);

// File bytes to display text: a NUL byte ends the text; UTF-8 is kept (a
// leading byte-order mark dropped), anything else is read as Shift-JIS
// (CP932); lines end at CR LF, CR or LF and are joined by '\n', with no
// line end after the last line.
std::string ReadmeTextFromBytes(std::string_view bytes);

// Whether bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
