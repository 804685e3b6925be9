#pragma once
// What a view needs of the object it shows, a module page or a network settings window:
// its name (which picks its layout), the walk over its declared controls, and a person's
// presses and edits by control name. Pages and network windows offer the same four
// routines; ViewModelOf forwards to either, so one view and one binder serve both.
#include <string_view>

#include "pages/Controls.h"

namespace q5::gui {

class ViewModel {
 public:
  virtual ~ViewModel() = default;
  virtual std::string_view name() const = 0;
  virtual void visitControls(pages::ControlVisitor& v) = 0;
  // Presses the button (or clicks the box) of that name; false when there is no such
  // action now.
  virtual bool Press(std::string_view name) = 0;
  // A person changed the control of that name: its change handler runs.
  virtual void Edited(std::string_view name) = 0;
};

template <class Shown>
class ViewModelOf final : public ViewModel {
 public:
  explicit ViewModelOf(Shown& shown) : shown_(shown) {}
  std::string_view name() const override { return shown_.name(); }
  void visitControls(pages::ControlVisitor& v) override { shown_.visitControls(v); }
  bool Press(std::string_view name) override { return shown_.Press(name); }
  void Edited(std::string_view name) override { shown_.Edited(name); }

 private:
  Shown& shown_;
};

}  // namespace q5::gui
