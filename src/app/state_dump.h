#pragma once
// A JSON object written field by field: the state part of the driver's dump.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

std::string jsonString(std::string_view utf8);

class StateDump {
 public:
  void add(std::string_view name, bool v);
  void add(std::string_view name, int v);
  void add(std::string_view name, int64_t v);
  void add(std::string_view name, float v);   // shortest form, at most 7 significant digits
  void add(std::string_view name, double v);  // at most 15 significant digits
  void add(std::string_view name, std::string_view v);
  void add(std::string_view name, const char* v) { add(name, std::string_view(v)); }
  void add(std::string_view name, const std::string& v) { add(name, std::string_view(v)); }
  void add(std::string_view name, const std::vector<float>& v);
  void add(std::string_view name, const std::vector<double>& v);
  void add(std::string_view name, const std::vector<int>& v);
  void add(std::string_view name, const std::vector<std::string>& v);
  void addNull(std::string_view name);
  // The value, or null when there is none.
  void add(std::string_view name, const std::optional<int>& v) {
    if (v)
      add(name, *v);
    else
      addNull(name);
  }
  // A value already written as JSON (an object, say).
  void addRaw(std::string_view name, std::string_view json);

  std::string json() const { return "{" + body_ + "}"; }

 private:
  void key(std::string_view name);
  std::string body_;
};

std::string jsonNumber(float v);
std::string jsonNumber(double v);

}  // namespace app
