// The controls the dialog windows are made of, drawn to look like their
// Windows counterparts: labels that show their text as it is, outline and
// filled rectangles, a track bar with tick marks, the splash picture, and
// the fixed dialog frame.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Widget.H>

#include <memory>
#include <string>

// Windows system colours of the dialogs.
constexpr Fl_Color kClNavy = 0x00008000;
constexpr Fl_Color kClMaroon = 0x80000000;
constexpr Fl_Color kClGreen = 0x00800000;
constexpr Fl_Color kClGray = 0x80808000;
constexpr Fl_Color kClRed = 0xFF000000;
constexpr Fl_Color kClBlack = 0x00000000;
constexpr Fl_Color kClBtnFace = 0xC0C0C000;

// A fixed-size dialog window: no resizing, the window manager is told that
// it is a dialog with only a close box.
class DialogWindow : public Fl_Double_Window {
 public:
  DialogWindow(int w, int h, const std::string& caption);
  int handle(int event) override;
  void show() override;

 protected:
  void draw() override;
};

// Asks the window manager to keep the window above every other window, and
// raises it (without a window manager, raising is all there is).
void KeepWindowAbove(Fl_Window* w);

// A label: text drawn as it is (no '@' symbols, no '&' shortcuts), left or
// centred, top aligned, without clipping, in its own colour and font. The
// background is the window's: the label paints nothing but its text.
class Label : public Fl_Box {
 public:
  Label(int x, int y, int w, int h, const std::string& text, Fl_Color color = kClBlack,
         Fl_Font font = -1, int size = 12);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  void SetCentered(bool centered) { centered_ = centered; }
  void SetWordWrap(bool wrap) { wrap_ = wrap; }
  bool WordWrap() const { return wrap_; }
  int handle(int) override { return 0; }

 protected:
  void draw() override;

 private:
  std::string caption_;
  bool centered_ = false;
  bool wrap_ = false;
};

// A rectangle: an outline in the pen colour, filled with the brush colour
// unless it is hollow.
class Shape : public Fl_Widget {
 public:
  Shape(int x, int y, int w, int h, Fl_Color pen, Fl_Color brush, bool filled);
  bool Filled() const { return filled_; }
  Fl_Color Pen() const { return pen_; }
  Fl_Color Brush() const { return brush_; }
  int handle(int) override { return 0; }

 protected:
  void draw() override;

 private:
  Fl_Color pen_;
  Fl_Color brush_;
  bool filled_;
};

// A horizontal track bar as on Windows: a sunken channel, a thumb pointing
// down at a row of tick marks. Arrow keys move by the line size, Page Up and
// Page Down and clicks beside the thumb by the page size (repeating while
// the button is held), Home and End go to the ends, and dragging the thumb
// follows the mouse. The callback runs whenever the position changes, by the
// user or by SetPosition.
class TrackBar : public Fl_Widget {
 public:
  TrackBar(int x, int y, int w, int h, int min, int max, int position);
  ~TrackBar() override;

  int Position() const { return position_; }
  // Holds p within Min..Max; runs the callback when the position changes.
  void SetPosition(int p);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int LineSize = 5;
  int PageSize = 5;
  int Frequency = 5;

  // Geometry, in window coordinates: the thumb's centre for a position, and
  // the position nearest to a thumb centre.
  int ThumbCenter(int position) const;
  int PositionAt(int x) const;
  bool Dragging() const { return dragging_; }

  int handle(int event) override;

 protected:
  void draw() override;

 private:
  int ChannelLeft() const;
  int ChannelRight() const;
  void DrawParts();
  // Arrow, page and end keys; false for any other key.
  bool HandleKey(int key);
  // The left button pressed at (ex, ey): drags the thumb, or pages.
  void Press(int ex, int ey);
  void PageToward(int mouseX);
  static void RepeatThunk(void* self);

  int min_;
  int max_;
  int position_;
  bool dragging_ = false;
  int grabOffset_ = 0;
  int mouseX_ = 0;
  bool repeating_ = false;
};

// A multi-line text area like a Windows memo: Tab moves the focus instead of
// being typed.
class Memo : public Fl_Text_Editor {
 public:
  Memo(int x, int y, int w, int h);
  ~Memo() override;
  void SetText(const std::string& text);
  std::string Text() const;
  // The characters' styles, one letter each ('A' the text font, 'B' the
  // Latin face); empty without a translation.
  std::string Styles() const;
  int handle(int event) override;

 protected:
  void draw() override;

 private:
  // Each character has a style, kept in step with the text as it is
  // edited: 'A' the text font, and while a translation is in use 'B' the
  // Latin face for a backslash (fonts.h). 'C', used by no character, sets
  // the lines' spacing.
  void UseStyles();
  static void Restyle(int pos, int inserted, int deleted, int, const char*, void* memo);
  // IPA P Gothic's glyphs reach below the descent its font reports (a g by
  // a row at 12 pixels, two at 24), where the text display clips each line:
  // the lines are spaced for the glyphs' whole height, and what a line's
  // glyphs reach below its box is drawn after the display has drawn, into
  // the top of the line under it, which that line's glyphs leave empty.
  int RowsBelowDescent() const;
  int LineSpacingSize(int rowsBelow) const;
  void DrawBelowLines();

  Fl_Text_Buffer* buffer_;
  Fl_Text_Buffer* styles_ = nullptr;
  Fl_Text_Display::Style_Table_Entry styleTable_[3] = {};
};

// Fonts of the dialogs: IPA P Gothic regular and bold.
Fl_Font DialogFont();
Fl_Font DialogBoldFont();

// Puts the dialog font on a button or check box.
void UseDialogFont(Fl_Widget* w, int size = 12);

// Messages of failed file operations, naming the file and the system's
// reason (strerror of err).
std::string CannotWriteText(const std::string& file, int err);
std::string CannotReadText(const std::string& file, int err);
