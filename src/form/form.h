#pragma once
// The headless main window: every control by its name, in creation order.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "form/control.h"

namespace form {

class Form {
 public:
  Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  ~Form();

  Control& add(const std::string& name, Kind kind, const std::string& parent = {});
  // By full name, "lblStDate" or "Label9(25)"; throws std::out_of_range for an unknown name.
  Control& operator()(std::string_view name);
  const Control& operator()(std::string_view name) const;
  // An element of a control array: ("Label9", 25).
  Control& operator()(std::string_view base, int index);
  const Control& operator()(std::string_view base, int index) const;
  Control* find(std::string_view name);
  bool has(std::string_view name) const;

  // In creation order; a control stays where it is for the form's life.
  const std::vector<Control*>& controls() const { return controls_; }

  // Every control back to the state buildMainForm gives it, as before start-up; the focus and
  // the window's visibility stay.
  void restoreBuiltState();
  // Only the controls named.
  void restoreBuiltState(const std::vector<std::string>& names);

  const std::string& title() const { return title_; }

  // Focus: the name of the control that has it.
  const std::string& focus() const { return focus_; }
  void setFocus(const std::string& name);
  uint64_t focusChanges() const { return focusChanges_; }

  // Whether the window is on screen; start-up shows it late, a few boxes show it early.
  bool windowShown() const { return windowShown_; }
  void showWindow() { windowShown_ = true; }

  // The hourglass pointer during long recomputes.
  bool busy() const { return busy_; }
  void setBusy(bool b) {
    if (busy_ == b) return;
    busy_ = b;
    if (busyListener_) busyListener_(b);
  }
  // The GUI shows the pointer at once, while the handler is still running.
  void setBusyListener(std::function<void(bool)> listener) { busyListener_ = std::move(listener); }

 private:
  // The controls live in blocks of their own rather than one allocation each: every start
  // builds hundreds of them.
  static constexpr size_t kBlock = 128;
  struct Block {
    alignas(Control) std::byte room[kBlock][sizeof(Control)];
  };
  std::vector<std::unique_ptr<Block>> blocks_;
  std::vector<Control*> controls_;
  // Names to controls, open addressing: thousands of look-ups at every start, and no allocation
  // for each name. The name is the control's own.
  struct Slot {
    size_t hash = 0;
    Control* control = nullptr;
  };
  std::vector<Slot> slots_;
  // The slot holding `name`, or the empty slot where it would go.
  size_t slotOf(std::string_view name, size_t hash) const;
  Control* lookUp(std::string_view name) const;
  static size_t hashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
  std::string title_;
  std::string focus_;
  uint64_t focusChanges_ = 0;
  bool busy_ = false;
  bool windowShown_ = false;
  std::function<void(bool)> busyListener_;
};

std::string arrayName(std::string_view base, int index);

// Creates every control of the main window with its kind, parent, fixed captions and tooltips,
// and lays them out (twips).
void buildMainForm(Form& form);
// Geometry of every control; kept apart from the control list so the layout can be read alone.
void layoutMainForm(Form& form);

}  // namespace form
