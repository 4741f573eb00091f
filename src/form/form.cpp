#include "form/form.h"

#include <stdexcept>

namespace form {

std::string arrayName(std::string_view base, int index) {
  return std::string(base) + "(" + std::to_string(index) + ")";
}

Form::Form() : title_("今度こそ勝利をげっちゅー！") {}

Control& Form::add(const std::string& name, Kind kind, const std::string& parent) {
  // One look-up per control: the form of a thousand controls is built at every start.
  const auto [at, added] = byName_.try_emplace(name, nullptr);
  if (!added) throw std::logic_error("duplicate control " + name);
  try {
    controls_.push_back(std::make_unique<Control>(name, kind, parent));
  } catch (...) {
    byName_.erase(at);
    throw;
  }
  at->second = controls_.back().get();
  return *at->second;
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
