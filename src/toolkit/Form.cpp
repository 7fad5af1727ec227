#include "toolkit/Form.h"

#include "toolkit/Application.h"

namespace tsaver::tk {

Form::Form(Application& app, std::string name) : Container(nullptr, std::move(name), Kind::Form), app_(app) {
  setVisible(false);
}

void Form::setActiveControl(Control* c) {
  active_ = c;
  if (c) notify(Change::Focus);
}

Timer* Form::addTimer(const std::string& timerName) {
  timers_.push_back(std::make_unique<Timer>(this, timerName));
  return timers_.back().get();
}

void Form::create() {
  if (onCreate) app_.guard(onCreate);
}

void Form::show() {
  if (visible()) {
    bringToFront();
    return;
  }
  activatedSinceShow_ = false;
  setVisible(true);
  if (onShow) app_.guard(onShow);
  app_.backend().showForm(*this);
}

void Form::hide() {
  if (!visible()) return;
  setVisible(false);
  app_.backend().hideForm(*this);
}

void Form::close() {
  bool canClose = true;
  if (onCloseQuery) app_.guard([&] { onCloseQuery(canClose); });
  if (!canClose) return;
  CloseAction action = CloseAction::Hide;
  if (onClose) app_.guard([&] { onClose(action); });
  if (action == CloseAction::None) return;
  if (app_.mainForm() == this) {
    app_.terminate();
  }
  hide();
}

void Form::bringToFront() { app_.backend().bringToFront(*this); }

void Form::repaint() { app_.backend().repaint(*this); }

void Form::activated() {
  if (activatedSinceShow_ || !visible()) return;
  activatedSinceShow_ = true;
  if (onActivate) app_.guard(onActivate);
}

}  // namespace tsaver::tk
