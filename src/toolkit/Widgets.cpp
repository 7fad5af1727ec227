#include "toolkit/Widgets.h"

#include "platform/Errors.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace tsaver::tk {

Control::Control(Container* parent, std::string name, Kind kind)
    : parent_(parent), name_(std::move(name)), kind_(kind) {}

Form* Control::form() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return c->kind_ == Kind::Form ? static_cast<Form*>(c) : nullptr;
}

void Control::setCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  notify(Change::Caption);
}

void Control::setBounds(Bounds b) {
  if (b == bounds_) return;
  bounds_ = b;
  notify(Change::Bounds);
}

void Control::setFont(const Font& f) {
  font_ = f;
  notify(Change::Font);
}

void Control::setColor(Color c) {
  color_ = c;
  notify(Change::Color);
}

void Control::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  notify(Change::Enabled);
}

void Control::setVisible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  notify(Change::Visible);
}

Control* Container::find(const std::string& wanted) {
  for (auto& child : children_) {
    if (child->name() == wanted) return child.get();
    if (auto* inner = dynamic_cast<Container*>(child.get()))
      if (Control* found = inner->find(wanted)) return found;
  }
  return nullptr;
}

void Button::click() {
  if (!enabled() || !onClick) return;
  Form* owner = form();
  owner->application().guard(onClick);
}

Page* Notebook::addPage(const std::string& pageName) {
  Page* p = add<Page>(pageName);
  p->setColor(color());
  const bool first = activePage_.empty();
  if (first) activePage_ = pageName;
  p->setVisible(first);
  return p;
}

Page* Notebook::page(const std::string& pageName) {
  for (auto& child : children())
    if (child->name() == pageName) return static_cast<Page*>(child.get());
  return nullptr;
}

void Notebook::setActivePage(const std::string& pageName) {
  if (!page(pageName) || pageName == activePage_) return;
  activePage_ = pageName;
  for (auto& child : children()) child->setVisible(child->name() == pageName);
  notify(Change::ActivePage);
}

void Gauge::setMaxValue(int value) {
  if (value < min_)
    throw Exception("Value must be between " + std::to_string(min_) + " and " + std::to_string(max_));
  const int before = percentDone();
  max_ = value;
  if (progress_ > max_) progress_ = max_;
  repaintIfChanged(before);
}

void Gauge::setProgress(int value) {
  const int before = percentDone();
  progress_ = value < min_ ? min_ : (value > max_ ? max_ : value);
  repaintIfChanged(before);
}

int Gauge::percentDone() const {
  if (max_ == min_) return 0;
  return static_cast<int>(100LL * (progress_ - min_) / (max_ - min_));
}

int Gauge::barRight() const {
  // The interior is the control less its one-pixel frame; W is its width plus one.
  const int w = bounds().width - 2 + 1;
  return w * percentDone() / 100;
}

void Gauge::repaintIfChanged(int oldPercent) {
  if (percentDone() == oldPercent) return;
  ++repaints_;
  notify(Change::Progress);
}

Timer::Timer(Form* owner, std::string name) : owner_(owner), name_(std::move(name)) {}

void Timer::setInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (peer_) peer_->changed(Change::Enabled);
}

void Timer::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (peer_) peer_->changed(Change::Enabled);
}

void Timer::tick() {
  if (!enabled_ || !onTimer) return;
  owner_->application().guard(onTimer);
}

}  // namespace tsaver::tk
