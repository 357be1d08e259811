// Where the game's 640 x 480 picture meets the desktop: the presenter that
// shows it (SDL2 full screen, another program's X window, or nothing when
// headless) and the mapping
// between picture pixels and desktop pixels used for the mouse and cursor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Opens the output (a full-screen window titled `title`); false on failure.
  virtual bool Open(const std::string& title) = 0;
  // Shows 640 x 480 palette indices through a palette of 256 0xAARRGGBB.
  virtual void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) = 0;
  // Destroys the output and gives the desktop back.
  virtual void Close() = 0;
};

// The title of the picture's window (the program's title).
void SetPictureTitle(const std::string& title);
const std::string& PictureTitle();

// Makes the presenter that DirectDrawCreate uses. The default makes the SDL2
// presenter; tests and headless tools install one that makes a null
// presenter (or nullptr to make DirectDrawCreate fail).
using PresenterFactory = std::function<std::unique_ptr<Presenter>()>;
void SetPresenterFactory(PresenterFactory factory);
// Puts `factory` in force for as long as it lives, then the one before it,
// however the scope is left.
class ScopedPresenterFactory {
 public:
  explicit ScopedPresenterFactory(PresenterFactory factory);
  ~ScopedPresenterFactory();
  ScopedPresenterFactory(const ScopedPresenterFactory&) = delete;
  ScopedPresenterFactory& operator=(const ScopedPresenterFactory&) = delete;

 private:
  PresenterFactory previous_;
};
std::unique_ptr<Presenter> MakeNullPresenter();
// The SDL2 full-screen presenter (the default).
std::unique_ptr<Presenter> MakeSdlPresenter();
// A presenter that draws into an existing X window that another program owns
// (a screen-saver daemon's window, or the root window): the picture
// letterboxed at 4:3 to the window's size, following it when it is resized.
// It takes no input, leaves the cursor alone and opens no window of its own.
std::unique_ptr<Presenter> MakeForeignWindowPresenter(unsigned long xWindow);
// True once such a presenter has lost its window (its owner destroyed it,
// or the server refused to draw into it): a run inside it has nothing left
// to show and ends.
bool ForeignWindowLost();
// A presenter made by the factory in force (nullptr when it gives none).
std::unique_ptr<Presenter> MakePresenter();

// Can the display interface start on this display at all? (the setup
// window's check before installing)
bool ProbeDisplay();
