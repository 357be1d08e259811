#include "ui/ui_controls.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/fonts.h"
#include "shell/ui_scale.h"
#include "ui/dialog_frame.h"
#include "base/catalogue.h"
#include "platform/file_system.h"

// ---------------------------------------------------------------------------
// Window frame

DialogWindow::DialogWindow(int w, int h, const std::string& caption) : Fl_Double_Window(w, h) {
  copy_label(caption.c_str());
  size_range(w, h, w, h);
  color(kClBtnFace);
}

int DialogWindow::handle(int event) {
  // The window exists and is not mapped yet: what window managers read at
  // the mapping is set now.
  if (event == FL_SHOW && shown()) NameForWindowManagers(this);
  return Fl_Double_Window::handle(event);
}

void DialogWindow::draw() {
  ChoosePictureScaling(*this);
  Fl_Double_Window::draw();
}

void DialogWindow::show() {
  const bool first = !shown();
  // Fixed at the size it has now.
  if (first) size_range(w(), h(), w(), h());
  Fl_Double_Window::show();
  if (first) MarkAsDialog(this);
}

// ---------------------------------------------------------------------------
// Fonts

Fl_Font DialogFont() { return kGothic; }
Fl_Font DialogBoldFont() { return kGothicBold; }

void UseDialogFont(Fl_Widget* w, int size) {
  w->labelfont(DialogFont());
  w->labelsize(size);
}

// ---------------------------------------------------------------------------
// Label

Label::Label(int x, int y, int w, int h, const std::string& text, Fl_Color color, Fl_Font font,
               int size)
    : Fl_Box(x, y, w, h), caption_(text) {
  box(FL_NO_BOX);
  labelcolor(color);
  labelfont(font < 0 ? DialogFont() : font);
  labelsize(size);
  clear_visible_focus();
}

void Label::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  // The old text may reach beyond the label's box: repaint the window.
  if (window() != nullptr) {
    window()->redraw();
  } else {
    redraw();
  }
}

void Label::draw() {
  if (caption_.empty()) return;
  fl_font(labelfont(), labelsize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  Fl_Align align = FL_ALIGN_TOP | FL_ALIGN_INSIDE;
  align |= centered_ ? FL_ALIGN_CENTER : FL_ALIGN_LEFT;
  if (wrap_) align |= FL_ALIGN_WRAP;
  // The last argument turns off FLTK's '@' symbols: the text is shown as is.
  fl_draw(caption_.c_str(), x(), y(), w(), h(), align, DrawTextRun, nullptr, 0);
}

// ---------------------------------------------------------------------------
// Shape

Shape::Shape(int x, int y, int w, int h, Fl_Color pen, Fl_Color brush, bool filled)
    : Fl_Widget(x, y, w, h), pen_(pen), brush_(brush), filled_(filled) {
  clear_visible_focus();
}

void Shape::draw() {
  if (filled_) {
    fl_color(brush_);
    fl_rectf(x(), y(), w(), h());
  }
  // The outline is a pixel wide at factor 1 (FLTK widens it with the
  // factor), inside the shape's box.
  fl_color(pen_);
  fl_rect(x(), y(), w(), h());
}

// ---------------------------------------------------------------------------
// Track bar

namespace {
// The track bar's parts in pixels at factor 1.
constexpr int kThumbHalf = 5;     // the thumb is 11 pixels wide
constexpr int kThumbTop = 3;      // rectangle part from here ...
constexpr int kThumbBody = 14;    // ... this many pixels high,
constexpr int kThumbPoint = 5;    // then the point down to the ticks
constexpr int kChannelTop = 8;
constexpr int kChannelHeight = 4;
constexpr int kTickTop = 24;
constexpr int kTickLength = 3;
constexpr int kThumbInset = 13;  // thumb centre at the ends, from the edges
constexpr double kRepeatDelay = 0.4;
constexpr double kRepeatRate = 0.1;

}  // namespace

TrackBar::TrackBar(int x, int y, int w, int h, int min, int max, int position)
    : Fl_Widget(x, y, w, h), min_(min), max_(std::max(min, max)), position_(min) {
  position_ = std::clamp(position, min_, max_);
  box(FL_NO_BOX);
  set_visible_focus();
  when(FL_WHEN_CHANGED);
}

TrackBar::~TrackBar() { Fl::remove_timeout(RepeatThunk, this); }

int TrackBar::ChannelLeft() const { return x() + kThumbInset; }
int TrackBar::ChannelRight() const { return x() + w() - 1 - kThumbInset; }

int TrackBar::ThumbCenter(int position) const {
  const int span = ChannelRight() - ChannelLeft();
  if (max_ == min_) return ChannelLeft();
  const int p = std::clamp(position, min_, max_) - min_;
  return ChannelLeft() + (p * span + (max_ - min_) / 2) / (max_ - min_);
}

int TrackBar::PositionAt(int px) const {
  const int span = ChannelRight() - ChannelLeft();
  if (span <= 0) return min_;
  const int off = std::clamp(px - ChannelLeft(), 0, span);
  return min_ + (off * (max_ - min_) + span / 2) / span;
}

void TrackBar::SetPosition(int p) {
  p = std::clamp(p, min_, max_);
  if (p == position_) return;
  position_ = p;
  redraw();
  do_callback();
}

void TrackBar::PageToward(int mouseX) {
  const int c = ThumbCenter(position_);
  if (mouseX < c - kThumbHalf) {
    SetPosition(std::max(position_ - PageSize, PositionAt(mouseX)));
  } else if (mouseX > c + kThumbHalf) {
    SetPosition(std::min(position_ + PageSize, std::max(PositionAt(mouseX), position_ + 1)));
  }
}

void TrackBar::RepeatThunk(void* self) {
  auto* t = static_cast<TrackBar*>(self);
  if (!t->repeating_) return;
  const int c = t->ThumbCenter(t->position_);
  if (t->mouseX_ >= c - kThumbHalf && t->mouseX_ <= c + kThumbHalf) return;
  t->PageToward(t->mouseX_);
  Fl::repeat_timeout(kRepeatRate, RepeatThunk, self);
}

int TrackBar::handle(int event) {
  switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS:
      redraw();
      return Fl::visible_focus() ? 1 : 0;
    case FL_ENTER:
    case FL_LEAVE:
      return 1;
    case FL_KEYBOARD:
      return HandleKey(Fl::event_key()) ? 1 : 0;
    case FL_PUSH:
      if (Fl::event_button() == FL_LEFT_MOUSE) Press(Fl::event_x(), Fl::event_y());
      return 1;
    case FL_DRAG:
      if (dragging_) {
        SetPosition(PositionAt(Fl::event_x() - grabOffset_));
      } else {
        mouseX_ = Fl::event_x();
      }
      return 1;
    case FL_RELEASE:
      dragging_ = false;
      repeating_ = false;
      Fl::remove_timeout(RepeatThunk, this);
      return 1;
    default:
      return Fl_Widget::handle(event);
  }
}

bool TrackBar::HandleKey(int key) {
  switch (key) {
    case FL_Left:
    case FL_Up: SetPosition(position_ - LineSize); return true;
    case FL_Right:
    case FL_Down: SetPosition(position_ + LineSize); return true;
    case FL_Page_Up: SetPosition(position_ - PageSize); return true;
    case FL_Page_Down: SetPosition(position_ + PageSize); return true;
    case FL_Home: SetPosition(min_); return true;
    case FL_End: SetPosition(max_); return true;
    default: return false;
  }
}

void TrackBar::Press(int ex, int ey) {
  if (Fl::visible_focus()) take_focus();
  const int c = ThumbCenter(position_);
  const bool onThumb = ex >= c - kThumbHalf && ex <= c + kThumbHalf && ey >= y() + kThumbTop &&
                       ey < y() + kThumbTop + kThumbBody + kThumbPoint;
  if (onThumb) {
    dragging_ = true;
    grabOffset_ = ex - c;
    return;
  }
  // Beside the thumb: a page toward the mouse, repeating while it is held.
  mouseX_ = ex;
  repeating_ = true;
  PageToward(ex);
  Fl::add_timeout(kRepeatDelay, RepeatThunk, this);
}

void TrackBar::draw() {
  // FLTK widens the lines with the factor.
  DrawParts();
  if (Fl::focus() == this && Fl::visible_focus()) {
    fl_color(kClBlack);
    fl_line_style(FL_DOT);
    fl_rect(x(), y(), w(), h());
    fl_line_style(0);
  }
}

void TrackBar::DrawParts() {
  // The background is the window's face colour.
  fl_color(parent() != nullptr ? parent()->color() : kClBtnFace);
  fl_rectf(x(), y(), w(), h());

  // Channel: a sunken groove from end to end.
  const int cl = ChannelLeft() - kThumbHalf - 2;
  const int cr = ChannelRight() + kThumbHalf + 2;
  const int ct = y() + kChannelTop;
  fl_color(FL_WHITE);
  fl_rectf(cl, ct, cr - cl + 1, kChannelHeight);
  fl_color(kClGray);
  fl_xyline(cl, ct, cr);
  fl_yxline(cl, ct, ct + kChannelHeight - 1);
  fl_color(kClBlack);
  fl_xyline(cl + 1, ct + 1, cr - 1);
  fl_yxline(cl + 1, ct + 1, ct + kChannelHeight - 2);
  fl_color(FL_WHITE);
  fl_xyline(cl, ct + kChannelHeight - 1, cr);
  fl_yxline(cr, ct, ct + kChannelHeight - 1);

  // Ticks below: every Frequency positions from Min, and one at Max.
  fl_color(kClBlack);
  const int ty = y() + kTickTop;
  if (Frequency > 0) {
    for (int p = min_; p <= max_; p += Frequency) fl_yxline(ThumbCenter(p), ty, ty + kTickLength - 1);
  }
  fl_yxline(ThumbCenter(max_), ty, ty + kTickLength);
  fl_yxline(ThumbCenter(min_), ty, ty + kTickLength);

  // Thumb: a raised pentagon pointing down at the ticks.
  const int c = ThumbCenter(position_);
  const int l = c - kThumbHalf;
  const int r = c + kThumbHalf;
  const int t = y() + kThumbTop;
  const int b = t + kThumbBody - 1;  // last row of the rectangle part
  const int tip = b + kThumbPoint;
  fl_color(kClBtnFace);
  fl_rectf(l, t, r - l + 1, b - t + 1);
  fl_polygon(l, b, r, b, c, tip);
  fl_color(FL_WHITE);
  fl_xyline(l, t, r - 1);
  fl_yxline(l, t, b);
  fl_line(l, b, c, tip);
  fl_color(kClGray);
  fl_yxline(r - 1, t + 1, b);
  fl_line(r - 1, b, c, tip - 1);
  fl_color(kClBlack);
  fl_yxline(r, t, b);
  fl_line(r, b, c, tip);
}

// ---------------------------------------------------------------------------
// Memo

Memo::Memo(int x, int y, int w, int h) : Fl_Text_Editor(x, y, w, h), buffer_(new Fl_Text_Buffer()) {
  buffer(buffer_);
  textfont(DialogFont());
  textsize(12);
  wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);
  scrollbar_align(FL_ALIGN_RIGHT);
  box(FL_DOWN_BOX);
  color(FL_WHITE);
}

Memo::~Memo() {
  buffer(nullptr);
  delete buffer_;
  delete styles_;
}

void Memo::SetText(const std::string& text) {
  UseStyles();
  buffer_->text(text.c_str());
  insert_position(0);
  scroll(0, 0);
}

std::string Memo::Styles() const {
  if (styles_ == nullptr || !BackslashesApart()) return {};
  char* t = styles_->text();
  std::string s(t);
  free(t);
  return s;
}

void Memo::UseStyles() {
  if (styles_ == nullptr) {
    styles_ = new Fl_Text_Buffer();
    buffer_->add_modify_callback(Restyle, this);
  }
  styleTable_[0] = {textcolor(), textfont(), textsize(), 0, 0};
  styleTable_[1] = {textcolor(), kLatin, textsize(), 0, 0};
  styleTable_[2] = {textcolor(), textfont(), LineSpacingSize(RowsBelowDescent()), 0, 0};
  highlight_data(styles_, styleTable_, 3, 'A', nullptr, nullptr);
}

int Memo::RowsBelowDescent() const {
  fl_font(textfont(), textsize());
  int dx = 0, dy = 0, w = 0, h = 0;
  fl_text_extents("gjpqy", dx, dy, w, h);
  // The extents are rounded to whole pixels (Pango's toward the baseline):
  // one row more keeps a descender's lowest, antialiased row.
  return std::max(0, dy + h - fl_descent() + 1);
}

// The size of the text font whose line height holds the tallest glyphs
// above the baseline, the descent, and the rows glyphs reach below it.
int Memo::LineSpacingSize(int rowsBelow) const {
  fl_font(textfont(), textsize());
  int dx = 0, dy = 0, w = 0, h = 0;
  fl_text_extents("\xC3\x85\xE3\x80\x8C\xE2\x96\xA0", dx, dy, w, h);  // "Å「■"
  const int needed = -dy + fl_descent() + rowsBelow;
  int size = textsize();
  while (fl_height(textfont(), size) < needed && size < 4 * textsize()) ++size;
  return size;
}

void Memo::draw() {
  Fl_Text_Editor::draw();
  DrawBelowLines();
}

void Memo::DrawBelowLines() {
  const int below = RowsBelowDescent();
  if (below == 0 || buffer() == nullptr) return;
  fl_push_clip(text_area.x, text_area.y, text_area.w, text_area.h);
  for (int line = 0; line < mNVisibleLines && mLineStarts[line] != -1; ++line) {
    const int bottom = text_area.y + (line + 1) * mMaxsize;
    char* text = buffer()->text_range(mLineStarts[line], mLineStarts[line] + vline_length(line));
    fl_push_clip(text_area.x, bottom, text_area.w, below);
    fl_color(color());
    fl_rectf(text_area.x, bottom, text_area.w, below);
    fl_color(textcolor());
    fl_font(textfont(), textsize());
    DrawTextRun(text, static_cast<int>(std::strlen(text)), text_area.x - mHorizOffset, bottom - fl_descent());
    fl_pop_clip();
    std::free(text);
  }
  fl_pop_clip();
}

void Memo::Restyle(int pos, int inserted, int deleted, int, const char*, void* memo) {
  Fl_Text_Buffer* styles = static_cast<Memo*>(memo)->styles_;
  if (deleted > 0) styles->remove(pos, pos + deleted);
  if (inserted <= 0) return;
  char* added = static_cast<Memo*>(memo)->buffer_->text_range(pos, pos + inserted);
  const bool apart = BackslashesApart();
  for (char* c = added; *c != '\0'; ++c) *c = apart && *c == '\\' ? 'B' : 'A';
  styles->insert(pos, added);
  free(added);
}

std::string Memo::Text() const {
  char* t = buffer_->text();
  std::string s(t != nullptr ? t : "");
  free(t);
  return s;
}

int Memo::handle(int event) {
  // Tab moves to the next control, as in a Windows memo.
  if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab) return 0;
  return Fl_Text_Editor::handle(event);
}

// ---------------------------------------------------------------------------
// Messages

std::string CannotWriteText(const std::string& file, int err) {
  return Fill(Tr("ファイル %s に書き込めません（%s）"), {NativePath(file), std::strerror(err)});
}

std::string CannotReadText(const std::string& file, int err) {
  return Fill(Tr("ファイル %s を読み込めません（%s）"), {NativePath(file), std::strerror(err)});
}
