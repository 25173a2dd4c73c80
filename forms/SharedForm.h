#pragma once

// One shared instance per window class. Get() touches the window: the first touch builds it from
// its design, which runs its load handler; once it unloads, the next touch builds a fresh one.
//
//   FrmTapResults::Get().TxtResult(0).SetValue(2.0);   // loads the window if needed
//   FrmTapResults::Get().ShowModal();

#include <QObject>
#include <QPointer>

template <class Window>
class SharedForm {
 public:
  static Window& Get() {
    if (instance_.isNull()) {
      auto* window = new Window;
      instance_ = window;
      QObject::connect(window, &Window::Unloaded, window, [window] {
        if (instance_ == window) instance_ = nullptr;
      });
    }
    return *instance_;
  }

  static bool IsLoaded() { return !instance_.isNull(); }

  static void UnloadIfLoaded() {
    if (Window* window = instance_.data()) {
      instance_ = nullptr;
      window->Unload();
    }
  }

 private:
  // Only the window class itself derives from its shared form.
  SharedForm() = default;
  friend Window;

  static inline QPointer<Window> instance_;
};
