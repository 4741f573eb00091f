#include "form/form.h"

#include <charconv>
#include <cstring>
#include <new>
#include <stdexcept>

namespace form {

namespace {
// "base(index)" into `out`, which has room for the base and 14 more; its length.
size_t composeArrayName(std::string_view base, int index, char* out) {
  std::memcpy(out, base.data(), base.size());
  char* p = out + base.size();
  *p++ = '(';
  p = std::to_chars(p, p + 11, index).ptr;
  *p++ = ')';
  return static_cast<size_t>(p - out);
}
}  // namespace

std::string arrayName(std::string_view base, int index) {
  std::string name(base.size() + 14, '\0');
  name.resize(composeArrayName(base, index, name.data()));
  return name;
}

Form::Form() : title_("今度こそ勝利をげっちゅー！") {
  // Room for the main window's 436 controls without growing, the table at most half full; both
  // grow for more.
  controls_.reserve(512);
  slots_.resize(1024);
}

Form::~Form() {
  for (size_t i = controls_.size(); i-- > 0;) controls_[i]->~Control();
}

size_t Form::slotOf(std::string_view name, size_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& s = slots_[i];
    if (!s.control || (s.hash == hash && s.control->name() == name)) return i;
  }
}

Control& Form::add(const std::string& name, Kind kind, const std::string& parent) {
  const size_t hash = hashOf(name);
  if (slots_[slotOf(name, hash)].control) throw std::logic_error("duplicate control " + name);
  // At most half the slots full, so that a search meets an empty one soon.
  if (2 * (controls_.size() + 1) > slots_.size()) {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old)
      if (s.control) slots_[slotOf(s.control->name(), s.hash)] = s;
  }
  if (controls_.size() % kBlock == 0) blocks_.push_back(std::unique_ptr<Block>(new Block));  // left unfilled
  controls_.reserve(controls_.size() + 1);
  Control* c = new (blocks_.back()->room[controls_.size() % kBlock]) Control(name, kind, parent);
  controls_.push_back(c);
  slots_[slotOf(name, hash)] = {hash, c};
  return *c;
}

Control* Form::lookUp(std::string_view name) const { return slots_[slotOf(name, hashOf(name))].control; }

Control* Form::find(std::string_view name) { return lookUp(name); }

bool Form::has(std::string_view name) const { return lookUp(name) != nullptr; }

Control& Form::operator()(std::string_view name) {
  Control* c = lookUp(name);
  if (!c) throw std::out_of_range("no control " + std::string(name));
  return *c;
}
const Control& Form::operator()(std::string_view name) const { return const_cast<Form&>(*this)(name); }
// Looked up by hundreds at every start: the name is made on the stack when it fits.
Control& Form::operator()(std::string_view base, int index) {
  char name[64];
  if (base.size() + 14 > sizeof name) return (*this)(arrayName(base, index));
  return (*this)(std::string_view(name, composeArrayName(base, index, name)));
}
const Control& Form::operator()(std::string_view base, int index) const {
  return const_cast<Form&>(*this)(base, index);
}

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
