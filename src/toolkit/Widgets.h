#pragma once
// The toolkit's widgets: plain objects that own their state. A backend peer,
// attached when a form is shown for real, is told of every change; without a
// peer a form runs headless. Positions are client pixels at 96 DPI.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tsaver::tk {

class Application;
class Container;
class Form;

// 0x00BBGGRR like a COLORREF; with the top bit set, a system colour index.
using Color = std::uint32_t;
constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr Color systemColor(unsigned index) { return 0x80000000u | index; }
constexpr bool isSystemColor(Color c) { return (c & 0x80000000u) != 0; }
constexpr Color clBlack = rgb(0, 0, 0);
constexpr Color clWhite = rgb(255, 255, 255);
constexpr Color clBlue = rgb(0, 0, 255);
constexpr Color clNavy = rgb(0, 0, 128);
constexpr Color clSilver = rgb(192, 192, 192);
constexpr Color clSkyBar = rgb(0, 128, 255);           // the side bar and copy window blue
constexpr Color clWindowText = systemColor(8);         // COLOR_WINDOWTEXT
constexpr Color clBtnFace = systemColor(15);           // COLOR_BTNFACE

struct Font {
  std::string name = "MS Sans Serif";
  int height = 11;  // character height in pixels
  bool bold = false;
  bool italic = false;
  Color color = clWindowText;
  bool operator==(const Font& o) const {
    return name == o.name && height == o.height && bold == o.bold && italic == o.italic && color == o.color;
  }
};

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Bounds& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

enum class Kind { Form, Label, Button, SpeedButton, Notebook, Page, Panel, Bevel, Shape, Image, Gauge };

// What changed, for the backend peer.
enum class Change { Caption, Bounds, Font, Color, Enabled, Visible, Focus, ActivePage, Progress, Style };

// The backend's side of a control: keeps the real window in step.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void changed(Change what) = 0;
};

class Control {
 public:
  Control(Container* parent, std::string name, Kind kind);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  Kind kind() const { return kind_; }
  Container* parent() const { return parent_; }
  Form* form();

  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& text);
  const Bounds& bounds() const { return bounds_; }
  void setBounds(Bounds b);
  const Font& font() const { return font_; }
  void setFont(const Font& f);
  Color color() const { return color_; }
  void setColor(Color c);
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  bool visible() const { return visible_; }
  void setVisible(bool on);
  int tabOrder() const { return tabOrder_; }
  void setTabOrder(int order) { tabOrder_ = order; }
  bool transparent() const { return transparent_; }
  void setTransparent(bool on) { transparent_ = on; notify(Change::Style); }

  Peer* peer() const { return peer_; }
  void attachPeer(Peer* p) { peer_ = p; }

 protected:
  void notify(Change what) {
    if (peer_) peer_->changed(what);
  }

 private:
  Container* parent_;
  std::string name_;
  Kind kind_;
  std::string caption_;
  Bounds bounds_;
  Font font_;
  Color color_ = clBtnFace;
  bool enabled_ = true;
  bool visible_ = true;
  int tabOrder_ = -1;
  bool transparent_ = false;
  Peer* peer_ = nullptr;
};

// A control that holds others, which it owns.
class Container : public Control {
 public:
  using Control::Control;
  template <typename T, typename... Args>
  T* add(Args&&... args) {
    auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = owned.get();
    children_.push_back(std::move(owned));
    return raw;
  }
  const std::vector<std::unique_ptr<Control>>& children() const { return children_; }
  // Depth-first search by name; null when absent.
  Control* find(const std::string& name);

 private:
  std::vector<std::unique_ptr<Control>> children_;
};

class Label : public Control {
 public:
  Label(Container* parent, std::string name) : Control(parent, std::move(name), Kind::Label) {}
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on) { wordWrap_ = on; notify(Change::Style); }
  // Fixed size: the label keeps its bounds whatever its text (no auto-size).
  bool fixedSize() const { return fixedSize_; }
  void setFixedSize(bool on) { fixedSize_ = on; }

 private:
  bool wordWrap_ = false;
  bool fixedSize_ = false;
};

class Button : public Control {
 public:
  Button(Container* parent, std::string name, Kind kind = Kind::Button) : Control(parent, std::move(name), kind) {}
  std::function<void()> onClick;
  // A user's press: runs onClick inside the application's error boundary, if enabled.
  void click();
  bool isDefault() const { return default_; }
  void setDefault(bool on) { default_ = on; }
  bool isCancel() const { return cancel_; }
  void setCancel(bool on) { cancel_ = on; }
  int modalResult() const { return modalResult_; }
  void setModalResult(int r) { modalResult_ = r; }

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

// A flat button that shows a picture (a bitmap resource) instead of a text.
class SpeedButton : public Button {
 public:
  SpeedButton(Container* parent, std::string name) : Button(parent, std::move(name), Kind::SpeedButton) {}
  const std::string& glyph() const { return glyph_; }
  void setGlyph(const std::string& resource) { glyph_ = resource; }

 private:
  std::string glyph_;
};

class Page : public Container {
 public:
  Page(Container* parent, std::string name) : Container(parent, std::move(name), Kind::Page) {}
};

// A set of named pages of which one is shown.
class Notebook : public Container {
 public:
  Notebook(Container* parent, std::string name) : Container(parent, std::move(name), Kind::Notebook) {}
  Page* addPage(const std::string& pageName);
  const std::string& activePage() const { return activePage_; }
  void setActivePage(const std::string& pageName);
  Page* page(const std::string& pageName);

 private:
  std::string activePage_;
};

enum class BevelStyle { Lowered, Raised };

class Panel : public Container {
 public:
  Panel(Container* parent, std::string name) : Container(parent, std::move(name), Kind::Panel) {}
  BevelStyle bevelOuter() const { return bevel_; }
  void setBevelOuter(BevelStyle s) { bevel_ = s; }

 private:
  BevelStyle bevel_ = BevelStyle::Lowered;
};

// A lowered box drawn by its parent; shows no text.
class Bevel : public Control {
 public:
  Bevel(Container* parent, std::string name) : Control(parent, std::move(name), Kind::Bevel) {}
};

// A rectangle filled with its colour; drawn by its parent.
class Shape : public Control {
 public:
  Shape(Container* parent, std::string name) : Control(parent, std::move(name), Kind::Shape) {}
};

// A bitmap resource stretched over the bounds; drawn by its parent.
class Image : public Control {
 public:
  Image(Container* parent, std::string name) : Control(parent, std::move(name), Kind::Image) {}
  const std::string& bitmap() const { return bitmap_; }
  void setBitmap(const std::string& resource) { bitmap_ = resource; }

 private:
  std::string bitmap_;
};

// A horizontal progress bar with a one-pixel black frame.
class Gauge : public Control {
 public:
  Gauge(Container* parent, std::string name) : Control(parent, std::move(name), Kind::Gauge) {}
  int minValue() const { return min_; }
  int maxValue() const { return max_; }
  int progress() const { return progress_; }
  // Raises "Value must be between %d and %d" for a maximum below the minimum;
  // a maximum below the progress lowers the progress.
  void setMaxValue(int value);
  // Clamped into minimum..maximum.
  void setProgress(int value);
  void addProgress(int delta) { setProgress(progress_ + delta); }
  // Trunc(100 * (progress - min) / (max - min)); 0 when max equals min.
  int percentDone() const;
  // Right edge of the bar, in pixels from the control's left edge.
  int barRight() const;
  bool showText() const { return showText_; }
  void setShowText(bool on) { showText_ = on; }
  Color foreColor() const { return fore_; }
  void setForeColor(Color c) { fore_ = c; }
  Color backColor() const { return back_; }
  void setBackColor(Color c) { back_ = c; }
  // How often the gauge asked to be repainted: only when its percentage changed.
  int repaints() const { return repaints_; }

 private:
  void repaintIfChanged(int oldPercent);
  int min_ = 0;
  int max_ = 100;
  int progress_ = 0;
  bool showText_ = true;
  Color fore_ = clBlack;
  Color back_ = clWhite;
  int repaints_ = 0;
};

class Timer {
 public:
  Timer(Form* owner, std::string name);
  const std::string& name() const { return name_; }
  unsigned interval() const { return interval_; }
  void setInterval(unsigned ms);
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  std::function<void()> onTimer;
  // One tick: runs onTimer inside the application's error boundary, if enabled.
  void tick();
  Peer* peer() const { return peer_; }
  void attachPeer(Peer* p) { peer_ = p; }

 private:
  Form* owner_;
  std::string name_;
  unsigned interval_ = 1000;
  bool enabled_ = false;
  Peer* peer_ = nullptr;
};

}  // namespace tsaver::tk
