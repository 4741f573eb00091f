#include "form/form.h"

#include <stdexcept>

namespace form {

std::string arrayName(std::string_view base, int index) {
  return std::string(base) + "(" + std::to_string(index) + ")";
}

Form::Form() : title_("今度こそ勝利をげっちゅー！") {
  // Room for the main window's controls without growing.
  byName_.reserve(2048);
  controls_.reserve(2048);
}

Control& Form::add(const std::string& name, Kind kind, const std::string& parent) {
  controls_.push_back(std::make_unique<Control>(name, kind, parent));
  Control& c = *controls_.back();
  bool added = false;
  try {
    added = byName_.try_emplace(c.name(), &c).second;
  } catch (...) {
    controls_.pop_back();
    throw;
  }
  if (!added) {
    controls_.pop_back();
    throw std::logic_error("duplicate control " + name);
  }
  return c;
}

Control* Form::find(std::string_view name) {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

bool Form::has(std::string_view name) const { return byName_.find(name) != byName_.end(); }

Control& Form::operator()(std::string_view name) {
  auto it = byName_.find(name);
  if (it == byName_.end()) throw std::out_of_range("no control " + std::string(name));
  return *it->second;
}
const Control& Form::operator()(std::string_view name) const {
  auto it = byName_.find(name);
  if (it == byName_.end()) throw std::out_of_range("no control " + std::string(name));
  return *it->second;
}
Control& Form::operator()(std::string_view base, int index) { return (*this)(arrayName(base, index)); }
const Control& Form::operator()(std::string_view base, int index) const { return (*this)(arrayName(base, index)); }

void Form::restoreBuiltState() {
  Form built;
  buildMainForm(built);
  for (auto& c : controls_) c->restoreFrom(built(c->name()));
}

void Form::restoreBuiltState(const std::vector<std::string>& names) {
  Form built;
  buildMainForm(built);
  for (const std::string& name : names) (*this)(name).restoreFrom(built(name));
}

void Form::setFocus(const std::string& name) {
  focus_ = name;
  ++focusChanges_;
}

}  // namespace form
