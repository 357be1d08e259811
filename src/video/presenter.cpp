// The presenter factory and the headless presenter.
#include "video/presenter.h"

#include <utility>

namespace {

class NullPresenter : public Presenter {
 public:
  bool Open(const std::string&) override { return true; }
  void Present(const uint8_t*, int32_t, const uint32_t*) override {}
  void Close() override {}
};

PresenterFactory& Factory() {
  static PresenterFactory f;
  return f;
}

std::string& Title() {
  static std::string title;
  return title;
}

}  // namespace

void SetPictureTitle(const std::string& title) { Title() = title; }

const std::string& PictureTitle() { return Title(); }

void SetPresenterFactory(PresenterFactory factory) { Factory() = std::move(factory); }

ScopedPresenterFactory::ScopedPresenterFactory(PresenterFactory factory) : previous_(std::move(Factory())) {
  Factory() = std::move(factory);
}

ScopedPresenterFactory::~ScopedPresenterFactory() { Factory() = std::move(previous_); }

std::unique_ptr<Presenter> MakeNullPresenter() { return std::make_unique<NullPresenter>(); }

std::unique_ptr<Presenter> MakePresenter() {
  if (Factory()) return Factory()();
  return MakeSdlPresenter();
}
