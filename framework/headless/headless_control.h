// What every headless control keeps whatever its kind (enabled, visible, text, font), and the Control
// operations of each kind over it. A dialog may ask for one id both as a plain item and as a list (say);
// both objects then share this state, as both would share one window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "framework/busy_work.h"
#include "framework/controls.h"

namespace quorvel::ui {

// Which control of one dialog has the keyboard focus; 0 when none has.
struct HeadlessFocus {
  int controlId = 0;
};

struct HeadlessControlState {
  int id = 0;
  bool enabled = true;
  bool visible = true;
  std::string text;
  std::optional<FontDescription> font;
  int textLimit = 0;  // characters the user may type; 0: no limit
  bool checked = false;
  // Told when the control is used while busy work runs (which may not touch a control).
  std::function<void(int id)> touchedByWork;
  bool pushButton = false;  // Enter on it, focused, presses it (as the dialog manager does)
};

template <class Interface>
class HeadlessControl : public Interface {
 public:
  HeadlessControl(HeadlessControlState& state, HeadlessFocus& focus) : state_(state), focus_(focus) {}
  HeadlessControl(const HeadlessControl&) = delete;
  HeadlessControl& operator=(const HeadlessControl&) = delete;

  int id() const override { return state_.id; }

  // A window that is disabled or hidden loses the focus, as a real one does.
  void Enable(bool enabled) override {
    Touch();
    state_.enabled = enabled;
    if (!enabled) DropFocus();
  }
  bool IsEnabled() const override { return Touch(), state_.enabled; }
  void Show(bool visible) override {
    Touch();
    state_.visible = visible;
    if (!visible) DropFocus();
  }
  bool IsVisible() const override { return Touch(), state_.visible; }
  void SetText(std::string_view text) override { Touch(), state_.text = text; }
  std::string Text() const override { return Touch(), state_.text; }
  void SetFocus() override { Touch(), focus_.controlId = state_.id; }
  void SetFont(const FontDescription& font) override { state_.font = font; }
  void SetLimitText(int characters) override { state_.textLimit = characters > 0 ? characters : 0; }
  void SetCheck(bool checked) override { Touch(), state_.checked = checked; }
  bool GetCheck() const override { return Touch(), state_.checked; }

  // For tests.
  bool HasFocus() const { return focus_.controlId == state_.id; }
  const std::optional<FontDescription>& font() const { return state_.font; }
  int textLimit() const { return state_.textLimit; }

 protected:
  // Every use by the dialog's code goes through here: busy work may not touch a control (the host tells
  // whether this use is by the work).
  void Touch() const {
    if (state_.touchedByWork) state_.touchedByWork(state_.id);
  }

 private:
  void DropFocus() {
    if (HasFocus()) focus_.controlId = 0;
  }

  HeadlessControlState& state_;
  HeadlessFocus& focus_;
};

// A control that is nothing more than a window: a button, a static text.
using HeadlessItem = HeadlessControl<Control>;

}  // namespace quorvel::ui
