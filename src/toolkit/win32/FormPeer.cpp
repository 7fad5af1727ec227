#include "toolkit/win32/FormPeer.h"

#include <algorithm>
#include <climits>

#include "toolkit/win32/ControlPeers.h"
#include "toolkit/win32/DialogLayout.h"
#include "toolkit/win32/GaugePeer.h"

namespace tsaver::tk {

// A form's timer as a Win32 timer of the form's window.
class TimerPeer : public Peer {
 public:
  TimerPeer(HWND window, Timer& timer, UINT_PTR id) : window_(window), timer_(timer), id_(id) {
    timer_.attachPeer(this);
    changed(Change::Enabled);
  }
  ~TimerPeer() override { KillTimer(window_, id_); }
  TimerPeer(const TimerPeer&) = delete;
  TimerPeer& operator=(const TimerPeer&) = delete;

  Timer& timer() const { return timer_; }
  void changed(Change) override {
    // An interval of 0 stops the timer, as a disabled one.
    if (timer_.enabled() && timer_.interval() > 0)
      SetTimer(window_, id_, timer_.interval(), nullptr);
    else
      KillTimer(window_, id_);
  }

 private:
  HWND window_;
  Timer& timer_;
  UINT_PTR id_;
};

namespace {

// Posted on activation, so that Form::activated() runs after the window has
// finished activating (its handler may open a modal box).
constexpr UINT kActivatedMessage = WM_APP + 1;

struct FrameStyle {
  DWORD style;
  DWORD exStyle;
};

FrameStyle frameStyleOf(const Form& form) {
  FrameStyle frame{WS_CAPTION | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
  switch (form.borderStyle()) {
    case BorderStyle::Single:
      frame.style |= WS_SYSMENU;
      break;
    case BorderStyle::ToolWindow:
      frame.style |= WS_SYSMENU;
      frame.exStyle |= WS_EX_TOOLWINDOW;
      break;
    case BorderStyle::Dialog:
      frame.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (form.stayOnTop()) frame.exStyle |= WS_EX_TOPMOST;
  return frame;
}

std::unique_ptr<ControlPeer> makePeer(FormPeer& form, Control& control) {
  switch (control.kind()) {
    case Kind::Label:
      return std::make_unique<LabelPeer>(form, static_cast<Label&>(control));
    case Kind::Button:
      return std::make_unique<ButtonPeer>(form, static_cast<Button&>(control));
    case Kind::SpeedButton:
      return std::make_unique<SpeedButtonPeer>(form, static_cast<SpeedButton&>(control));
    case Kind::Notebook:
      return std::make_unique<ContainerPeer>(form, static_cast<Container&>(control));
    case Kind::Page:
      return std::make_unique<PagePeer>(form, static_cast<Page&>(control));
    case Kind::Panel:
      return std::make_unique<PanelPeer>(form, static_cast<Panel&>(control));
    case Kind::Bevel:
    case Kind::Shape:
    case Kind::Image:
      return std::make_unique<PaintedPeer>(form, control);
    case Kind::Gauge:
      return std::make_unique<GaugePeer>(form, static_cast<Gauge&>(control));
    case Kind::Form:
      break;
  }
  return nullptr;
}

}  // namespace

FormPeer::FormPeer(HINSTANCE instance, HWND owner, Form& form, bool deferHidden)
    : ContainerPeer(*this, form, false), instance_(instance), formWidget_(form), deferHidden_(deferHidden) {
  const FrameStyle frame = frameStyleOf(form);
  HWND window = CreateWindowExA(frame.exStyle, WindowClasses::kForm, form.caption().c_str(), frame.style, 0, 0,
                                form.clientWidth(), form.clientHeight(), owner, nullptr, instance,
                                static_cast<ControlPeer*>(this));
  adoptWindow(window);
  form.attachPeer(this);
  placeCentred();
  // A form without an icon names none: "" finds no resource.
  if (HICON icon = LoadIconA(instance, form.icon().c_str()))
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  addPeers(form);
  UINT_PTR id = 1;
  for (const auto& timer : form.timers()) timers_.push_back(std::make_unique<TimerPeer>(window, *timer, id++));
}

FormPeer::~FormPeer() {
  timers_.clear();
  while (!peers_.empty()) peers_.pop_back();
}

void FormPeer::addPeers(Container& container) {
  // Tab order is the order of the child windows; controls without one follow.
  std::vector<Control*> ordered;
  for (const auto& child : container.children()) ordered.push_back(child.get());
  std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
    const auto key = [](const Control* c) { return c->tabOrder() < 0 ? INT_MAX : c->tabOrder(); };
    return key(a) < key(b);
  });
  for (Control* child : ordered) {
    std::unique_ptr<ControlPeer> peer = makePeer(*this, *child);
    if (!peer) continue;
    child->attachPeer(peer.get());
    peers_.push_back(std::move(peer));
    auto* inner = dynamic_cast<Container*>(child);
    if (!inner) continue;
    if (deferHidden_ && !inner->visible())
      deferred_.push_back(inner);
    else
      addPeers(*inner);
  }
}

void FormPeer::createDeferredPeers() {
  deferHidden_ = false;
  for (Container* container : std::exchange(deferred_, {})) addPeers(*container);
}

ControlPeer* FormPeer::peerOf(HWND window) const {
  const auto found = byWindow_.find(window);
  return found == byWindow_.end() ? nullptr : found->second;
}

void FormPeer::placeCentred() {
  setClientSizeCentred(window(), formWidget_.clientWidth(), formWidget_.clientHeight());
}

HWND FormPeer::controlWindow(Control* control) const {
  return control && control->peer() ? static_cast<ControlPeer*>(control->peer())->window() : nullptr;
}

bool FormPeer::focusActiveControl() {
  HWND target = savedFocus_ && IsWindow(savedFocus_) ? savedFocus_ : controlWindow(formWidget_.activeControl());
  if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) return false;
  SetFocus(target);
  return true;
}

void FormPeer::changed(Change what) {
  switch (what) {
    case Change::Visible:
      return;
    case Change::Bounds:
      placeCentred();
      return;
    case Change::Focus:
      savedFocus_ = nullptr;
      if (IsWindowVisible(window())) focusActiveControl();
      return;
    default:
      ContainerPeer::changed(what);
  }
}

void FormPeer::show() {
  noteChange();
  savedFocus_ = nullptr;
  // Stay-on-top may have been set after the window was made.
  SetWindowPos(window(), formWidget_.stayOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(window(), SW_SHOW);
  SetForegroundWindow(window());
  focusActiveControl();
  UpdateWindow(window());
}

void FormPeer::hide() {
  noteChange();
  ShowWindow(window(), SW_HIDE);
}

void FormPeer::bringToFront() {
  noteChange();
  SetWindowPos(window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (IsWindowVisible(window())) SetForegroundWindow(window());
}

void FormPeer::repaint() {
  noteChange();
  RedrawWindow(window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool FormPeer::pressKey(WPARAM key) {
  if (key == VK_RETURN)
    if (auto* focused = dynamic_cast<ButtonPeer*>(peerOf(GetFocus()))) {
      focused->press();
      return true;
    }
  for (const auto& peer : peers_) {
    auto* button = dynamic_cast<ButtonPeer*>(peer.get());
    if (!button) continue;
    const Button& b = button->button();
    if ((key == VK_RETURN && b.isDefault()) || (key == VK_ESCAPE && b.isCancel())) {
      button->press();
      return true;
    }
  }
  return false;
}

void FormPeer::moveFocusFrom(HWND leaving) {
  HWND focus = GetFocus();
  if (!focus || (focus != leaving && !IsChild(leaving, focus))) return;
  const auto inside = [leaving](HWND w) { return w == leaving || IsChild(leaving, w); };
  // The tab order skips disabled and hidden controls and wraps round; those
  // in `leaving` are still enabled and shown, so they are passed over here.
  HWND first = GetNextDlgTabItem(window(), focus, FALSE);
  HWND next = first;
  while (next && inside(next)) {
    next = GetNextDlgTabItem(window(), next, FALSE);
    if (next == first) next = nullptr;
  }
  SetFocus(next ? next : window());
}

LRESULT FormPeer::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      formWidget_.close();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        savedFocus_ = IsChild(window, focus) ? focus : nullptr;
        break;
      }
      PostMessageA(window, kActivatedMessage, 0, 0);
      if (focusActiveControl()) return 0;
      break;
    case kActivatedMessage:
      formWidget_.activated();
      return 0;
    case WM_TIMER:
      if (wParam >= 1 && wParam <= timers_.size()) {
        timers_[wParam - 1]->timer().tick();
        return 0;
      }
      break;
    default:
      break;
  }
  return ContainerPeer::handle(window, message, wParam, lParam);
}

}  // namespace tsaver::tk
