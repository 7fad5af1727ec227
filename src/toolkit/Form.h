#pragma once
// A top-level window with its controls and timers.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Widgets.h"

namespace tsaver::tk {

enum class BorderStyle {
  Single,      // fixed single border, system menu with its close box only
  ToolWindow,  // small caption with a close box, not resizable
  Dialog       // dialog frame; no border icons at all
};

enum class CloseAction { None, Hide, Free };

class Form : public Container {
 public:
  Form(Application& app, std::string name);

  Application& application() const { return app_; }

  // The client area's size; bounds() holds it, left/top are unused (centred).
  void setClientSize(int width, int height) { setBounds({0, 0, width, height}); }
  int clientWidth() const { return bounds().width; }
  int clientHeight() const { return bounds().height; }

  BorderStyle borderStyle() const { return border_; }
  void setBorderStyle(BorderStyle s) { border_ = s; }
  bool stayOnTop() const { return stayOnTop_; }
  void setStayOnTop(bool on) { stayOnTop_ = on; }
  // The window's own icon resource; empty for none.
  const std::string& icon() const { return icon_; }
  void setIcon(const std::string& resource) { icon_ = resource; }

  // The control with the focus when the form is shown, and after.
  Control* activeControl() const { return active_; }
  void setActiveControl(Control* c);

  Timer* addTimer(const std::string& timerName);
  const std::vector<std::unique_ptr<Timer>>& timers() const { return timers_; }

  std::function<void()> onCreate;
  std::function<void()> onShow;
  std::function<void()> onActivate;
  std::function<void(CloseAction&)> onClose;
  // Asked first by close(); a handler that clears the flag keeps the form open.
  std::function<void(bool& canClose)> onCloseQuery;

  // Runs onCreate inside the error boundary; the application calls it once.
  void create();
  // Makes the form visible; onShow runs each time it becomes visible.
  void show();
  void hide();
  // Unless onCloseQuery refuses, runs onClose; the main form then ends the
  // application, any other form hides.
  void close();
  void bringToFront();
  // Paints pending changes at once.
  void repaint();
  // Called by the backend when the form becomes active after being shown.
  void activated();

 private:
  Application& app_;
  BorderStyle border_ = BorderStyle::Single;
  bool stayOnTop_ = false;
  std::string icon_;
  Control* active_ = nullptr;
  bool activatedSinceShow_ = false;
  std::vector<std::unique_ptr<Timer>> timers_;
};

}  // namespace tsaver::tk
