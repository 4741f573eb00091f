#include "app/state_dump.h"

#include <cmath>
#include <cstdio>

#include "store/numbers.h"

namespace app {

std::string jsonString(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char b[8];
          std::snprintf(b, sizeof b, "\\u%04x", c);
          out += b;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string jsonNumber(float v) { return std::isfinite(v) ? store::shortestSingle(v) : "null"; }
std::string jsonNumber(double v) { return std::isfinite(v) ? store::shortestDouble(v) : "null"; }

void StateDump::key(std::string_view name) {
  if (!body_.empty()) body_ += ',';
  body_ += jsonString(name);
  body_ += ':';
}
void StateDump::add(std::string_view n, bool v) {
  key(n);
  body_ += v ? "true" : "false";
}
void StateDump::add(std::string_view n, int v) {
  key(n);
  body_ += std::to_string(v);
}
void StateDump::add(std::string_view n, int64_t v) {
  key(n);
  body_ += std::to_string(v);
}
void StateDump::add(std::string_view n, float v) {
  key(n);
  body_ += jsonNumber(v);
}
void StateDump::add(std::string_view n, double v) {
  key(n);
  body_ += jsonNumber(v);
}
void StateDump::add(std::string_view n, std::string_view v) {
  key(n);
  body_ += jsonString(v);
}
template <typename T, typename F>
static std::string array(const std::vector<T>& v, F f) {
  std::string s = "[";
  for (size_t i = 0; i < v.size(); ++i) {
    if (i) s += ',';
    s += f(v[i]);
  }
  return s + "]";
}
void StateDump::add(std::string_view n, const std::vector<float>& v) {
  key(n);
  body_ += array(v, [](float x) { return jsonNumber(x); });
}
void StateDump::add(std::string_view n, const std::vector<double>& v) {
  key(n);
  body_ += array(v, [](double x) { return jsonNumber(x); });
}
void StateDump::add(std::string_view n, const std::vector<int>& v) {
  key(n);
  body_ += array(v, [](int x) { return std::to_string(x); });
}
void StateDump::add(std::string_view n, const std::vector<std::string>& v) {
  key(n);
  body_ += array(v, [](const std::string& x) { return jsonString(x); });
}
void StateDump::addNull(std::string_view n) {
  key(n);
  body_ += "null";
}
void StateDump::addRaw(std::string_view n, std::string_view json) {
  key(n);
  body_ += json;
}

}  // namespace app
