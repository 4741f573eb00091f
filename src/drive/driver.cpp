#include "drive/driver.h"

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <deque>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "app/frmMain.h"
#include "app/state_dump.h"
#include "store/numbers.h"

namespace drive {
namespace {

using app::jsonString;

// Not a std::exception, so the core's own failure boxes never swallow it.
struct NoAnswer {
  std::string dialogJson;
};
struct ScriptError {
  std::string message;
};

struct QueuedAnswer {
  enum Kind { Msg, Input, InputCancel, File, FileCancel, Choose, ChooseCancel } kind;
  form::Answer answer = form::Answer::OK;
  std::string text;
};

const char* iconName(form::Icon i) {
  switch (i) {
    case form::Icon::Information: return "information";
    case form::Icon::Warning: return "warning";
    case form::Icon::Error: return "error";
    case form::Icon::Question: return "question";
    case form::Icon::None: return "none";
  }
  return "none";
}
const char* buttonsName(form::Buttons b) {
  switch (b) {
    case form::Buttons::OK: return "OK";
    case form::Buttons::OKCancel: return "OKCancel";
    case form::Buttons::YesNo: return "YesNo";
    case form::Buttons::YesNoCancel: return "YesNoCancel";
  }
  return "OK";
}
const char* answerName(form::Answer a) {
  switch (a) {
    case form::Answer::OK: return "OK";
    case form::Answer::Cancel: return "Cancel";
    case form::Answer::Yes: return "Yes";
    case form::Answer::No: return "No";
  }
  return "OK";
}

class ScriptDialogs : public form::Dialogs {
 public:
  std::deque<QueuedAnswer> queue;
  std::vector<std::string> shown;  // JSON of every box since the last dump

  form::Answer MsgBox(const std::string& text, const std::string& title, form::Icon icon,
                      form::Buttons buttons) override {
    return box(text, title, icon, buttons, "");
  }
  form::Answer MsgBoxDefaultSecond(const std::string& text, const std::string& title, form::Icon icon,
                                   form::Buttons buttons) override {
    return box(text, title, icon, buttons, buttons == form::Buttons::YesNo ? "No" : "Cancel");
  }

  form::Answer box(const std::string& text, const std::string& title, form::Icon icon, form::Buttons buttons,
                   const std::string& defaultButton) {
    std::string head = "{\"kind\":\"msgbox\",\"title\":" + jsonString(title) + ",\"text\":" + jsonString(text) +
                       ",\"icon\":\"" + iconName(icon) + "\",\"buttons\":\"" + buttonsName(buttons) + "\"";
    if (!defaultButton.empty()) head += ",\"default\":\"" + defaultButton + "\"";
    bool queuedMsg = !queue.empty() && queue.front().kind == QueuedAnswer::Msg;
    if (buttons == form::Buttons::OK && !(queuedMsg && queue.front().answer == form::Answer::OK)) {
      // An OK-only box takes a queued OK when one is next; otherwise it answers itself.
      shown.push_back(head + ",\"answer\":\"OK\",\"auto\":true}");
      return form::Answer::OK;
    }
    if (!queuedMsg) throw NoAnswer{head + "}"};
    form::Answer a = queue.front().answer;
    bool fits = (buttons == form::Buttons::OK && a == form::Answer::OK) ||
                (buttons == form::Buttons::OKCancel && (a == form::Answer::OK || a == form::Answer::Cancel)) ||
                (buttons == form::Buttons::YesNo && (a == form::Answer::Yes || a == form::Answer::No)) ||
                (buttons == form::Buttons::YesNoCancel && a != form::Answer::OK);
    if (!fits) throw NoAnswer{head + ",\"queued\":\"" + answerName(a) + "\"}"};
    queue.pop_front();
    shown.push_back(head + ",\"answer\":\"" + answerName(a) + "\"}");
    return a;
  }

  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override {
    std::string head = "{\"kind\":\"input\",\"title\":" + jsonString(title) + ",\"prompt\":" + jsonString(prompt) +
                       ",\"default\":" + jsonString(defaultText);
    if (queue.empty() || (queue.front().kind != QueuedAnswer::Input && queue.front().kind != QueuedAnswer::InputCancel))
      throw NoAnswer{head + "}"};
    QueuedAnswer q = queue.front();
    queue.pop_front();
    if (q.kind == QueuedAnswer::InputCancel) {
      shown.push_back(head + ",\"answer\":null}");
      return std::nullopt;
    }
    shown.push_back(head + ",\"answer\":" + jsonString(q.text) + "}");
    return q.text;
  }

  std::optional<std::string> ChooseFolder(const std::string& title) override { return chooser("folder", title, ""); }
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) override {
    return chooser("file", title, filter);
  }
  std::optional<std::string> chooser(const char* kind, const std::string& title, const std::string& filter) {
    std::string head = std::string("{\"kind\":\"") + kind + "\",\"title\":" + jsonString(title);
    if (!filter.empty()) head += ",\"filter\":" + jsonString(filter);
    if (queue.empty() || (queue.front().kind != QueuedAnswer::File && queue.front().kind != QueuedAnswer::FileCancel))
      throw NoAnswer{head + "}"};
    QueuedAnswer q = queue.front();
    queue.pop_front();
    if (q.kind == QueuedAnswer::FileCancel) {
      shown.push_back(head + ",\"answer\":null}");
      return std::nullopt;
    }
    shown.push_back(head + ",\"answer\":" + jsonString(q.text) + "}");
    return q.text;
  }

  std::optional<int> ChooseFromList(const std::string& title, const std::string& prompt,
                                    const std::vector<std::string>& items) override {
    std::string list = "[";
    for (size_t i = 0; i < items.size(); ++i) {
      if (i) list += ',';
      list += jsonString(items[i]);
    }
    std::string head = "{\"kind\":\"list\",\"title\":" + jsonString(title) + ",\"prompt\":" + jsonString(prompt) +
                       ",\"items\":" + list + "]";
    if (queue.empty() ||
        (queue.front().kind != QueuedAnswer::Choose && queue.front().kind != QueuedAnswer::ChooseCancel))
      throw NoAnswer{head + "}"};
    QueuedAnswer q = queue.front();
    queue.pop_front();
    if (q.kind == QueuedAnswer::ChooseCancel) {
      shown.push_back(head + ",\"answer\":null}");
      return std::nullopt;
    }
    const int index = std::stoi(q.text);
    if (index < 0 || index >= static_cast<int>(items.size())) throw NoAnswer{head + ",\"queued\":" + q.text + "}"};
    shown.push_back(head + ",\"answer\":" + q.text + "}");
    return index;
  }

  void showHelp(const std::string& fileName) override {
    shown.push_back("{\"kind\":\"help\",\"file\":" + jsonString(fileName) + "}");
  }
  void closeHelp() override {}
};

class ScriptClock : public form::Clock {
 public:
  std::optional<store::DateTime> fixed;
  store::DateTime now() const override {
    if (fixed) return *fixed;
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {store::makeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday), tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
};

std::string colorJson(std::optional<form::Color> c) {
  if (!c) return "null";
  char b[16];
  std::snprintf(b, sizeof b, "\"#%06X\"", *c & 0xFFFFFF);
  return b;
}

std::string alignName(form::Align a) {
  switch (a) {
    case form::Align::Left: return "\"left\"";
    case form::Align::Center: return "\"center\"";
    case form::Align::Right: return "\"right\"";
  }
  return "\"left\"";
}

std::string controlJson(const form::Control& c) {
  app::StateDump d;
  switch (c.kind()) {
    case form::Kind::Label:
    case form::Kind::Frame:
    case form::Kind::CommandButton:
      d.add("caption", c.caption());
      d.add("visible", c.visible());
      d.addRaw("backColor", colorJson(c.backColor()));
      d.add("toolTip", c.toolTip());
      if (c.foreColor()) d.addRaw("foreColor", colorJson(c.foreColor()));
      if (c.outlined()) d.add("outlined", true);
      d.add("left", c.left());
      d.add("top", c.top());
      d.add("width", c.width());
      d.add("height", c.height());
      break;
    case form::Kind::CheckBox:
    case form::Kind::OptionButton:
      d.add("caption", c.caption());
      d.add("value", c.value());
      d.add("visible", c.visible());
      if (!c.toolTip().empty()) d.add("toolTip", c.toolTip());
      break;
    case form::Kind::TextBox:
      d.add("text", c.text());
      d.add("visible", c.visible());
      d.add("toolTip", c.toolTip());
      break;
    case form::Kind::ListBox:
      d.add("items", c.items());
      d.add("listIndex", c.listIndex());
      d.add("topIndex", c.topIndex());
      d.add("visible", c.visible());
      break;
    case form::Kind::Grid: {
      const auto& g = c.grid();
      d.add("rows", g.rows);
      d.add("cols", g.cols);
      std::string cells = "[";
      for (int r = 0; r < g.rows; ++r) {
        if (r) cells += ',';
        cells += "[";
        for (int k = 0; k < g.cols; ++k) {
          if (k) cells += ',';
          cells += jsonString(g.cells[r][k]);
        }
        cells += "]";
      }
      d.addRaw("cells", cells + "]");
      d.add("topRow", g.topRow);
      d.add("colWidths", g.colWidths);
      std::string al = "[", hal = "[";
      for (int k = 0; k < g.cols; ++k) {
        if (k) al += ',', hal += ',';
        al += alignName(g.dataAlign[k]);
        hal += alignName(g.headerAlign[k]);
      }
      d.addRaw("colAlignments", al + "]");
      d.addRaw("headerAlignments", hal + "]");
      d.add("fontSize", g.fontSize);
      break;
    }
    case form::Kind::Chart: {
      const auto& ch = c.chart();
      d.add("rowCount", ch.rowCount);
      d.add("columnCount", ch.columnCount);
      std::string data = "[";
      for (int r = 0; r < ch.rowCount; ++r) {
        if (r) data += ',';
        data += "[";
        for (int k = 0; k < ch.columnCount; ++k) {
          if (k) data += ',';
          data += jsonString(ch.data[r][k].value_or(""));
        }
        data += "]";
      }
      d.addRaw("data", data + "]");
      std::string vis = "[";
      for (size_t k = 0; k < ch.seriesVisible.size(); ++k)
        vis += std::string(k ? "," : "") + (ch.seriesVisible[k] ? "true" : "false");
      d.addRaw("seriesVisible", vis + "]");
      if (ch.axisMin)
        d.add("axisMin", *ch.axisMin);
      else
        d.addNull("axisMin");
      if (ch.axisMax)
        d.add("axisMax", *ch.axisMax);
      else
        d.addNull("axisMax");
      d.add("width", c.width());
      d.add("height", c.height());
      d.add("visible", c.visible());
      d.add("rowDays", ch.rowDays);
      if (ch.dayRange)
        d.add("dayRange", std::vector<double>{ch.dayRange->first, ch.dayRange->second});
      else
        d.addNull("dayRange");
      std::string names = "[";
      for (size_t k = 0; k < ch.seriesNames.size(); ++k) names += (k ? "," : "") + jsonString(ch.seriesNames[k]);
      d.addRaw("seriesNames", names + "]");
      break;
    }
    case form::Kind::Shape:
    case form::Kind::Image:
      d.add("left", c.left());
      d.add("top", c.top());
      d.add("width", c.width());
      d.add("height", c.height());
      d.addRaw("fillColor", colorJson(c.fillColor()));
      d.add("visible", c.visible());
      break;
    case form::Kind::ScrollBar:
      d.add("value", c.value());
      d.add("min", c.min());
      d.add("max", c.max());
      break;
  }
  return d.json();
}

// Reads a UTF-8 JSON string literal starting at s[0] == '"'.
std::string parseJsonString(std::string_view s) {
  std::string out;
  size_t i = 1;
  auto putCode = [&out](uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  };
  auto hex4 = [&](size_t at) -> uint32_t {
    if (at + 4 > s.size()) throw ScriptError{"bad \\u escape"};
    return static_cast<uint32_t>(std::stoul(std::string(s.substr(at, 4)), nullptr, 16));
  };
  while (i < s.size() && s[i] != '"') {
    char c = s[i++];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i >= s.size()) break;
    char e = s[i++];
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case '/': out += '/'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'u': {
        uint32_t cp = hex4(i);
        i += 4;
        if (cp >= 0xD800 && cp < 0xDC00 && i + 6 <= s.size() && s[i] == '\\' && s[i + 1] == 'u') {
          uint32_t lo = hex4(i + 2);
          i += 6;
          cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        }
        putCode(cp);
        break;
      }
      default: throw ScriptError{"bad escape in JSON string"};
    }
  }
  if (i >= s.size()) throw ScriptError{"unterminated JSON string"};
  if (i + 1 != s.size()) throw ScriptError{"text after the JSON string"};
  return out;
}

std::string textArg(std::string_view rest) {
  if (!rest.empty() && rest[0] == '"') return parseJsonString(rest);
  return std::string(rest);
}

std::vector<std::string> utf8Chars(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

int intArg(const std::string& s) {
  if (s.empty()) throw ScriptError{"a number is missing"};
  size_t used = 0;
  int v = 0;
  try {
    v = std::stoi(s, &used);
  } catch (...) {
    throw ScriptError{"not a number: " + s};
  }
  if (used != s.size()) throw ScriptError{"not a number: " + s};
  return v;
}

class Session {
 public:
  Session(std::ostream& out, std::string dataFolder) : out_(out), dataFolder_(std::move(dataFolder)) {}

  // Runs one script line; returns false when the line asks nothing (blank or comment).
  void run(const std::string& rawLine) {
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t firstNonBlank = line.find_first_not_of(" \t");
    if (firstNonBlank == std::string::npos || line[firstNonBlank] == '#') return;
    line = line.substr(firstNonBlank);
    size_t sp = line.find(' ');
    std::string cmd = line.substr(0, sp);
    std::string rest = sp == std::string::npos ? "" : line.substr(sp + 1);
    auto word = [&](std::string& r) {
      size_t s = r.find(' ');
      std::string w = r.substr(0, s);
      r = s == std::string::npos ? "" : r.substr(s + 1);
      return w;
    };

    if (cmd == "clock") {
      std::string d = word(rest), t = rest;
      auto date = store::parseDate(d);
      int h, m, s;
      char extra;
      if (!date || std::sscanf(t.c_str(), "%d:%d:%d%c", &h, &m, &s, &extra) != 3 || h < 0 || h > 23 || m < 0 ||
          m > 59 || s < 0 || s > 59)
        throw ScriptError{"clock wants YYYY/MM/DD hh:nn:ss"};
      clock_.fixed = store::DateTime{*date, h, m, s};
    } else if (cmd == "start") {
      if (main_) throw ScriptError{"start given twice"};
      main_ = std::make_unique<app::frmMain>(dialogs_, clock_);
      main_->DataFolder = dataFolder_;
      main_->Form_Load();
    } else if (cmd == "answer") {
      QueuedAnswer q{QueuedAnswer::Msg, form::Answer::OK, {}};
      if (rest == "OK")
        q.answer = form::Answer::OK;
      else if (rest == "Cancel")
        q.answer = form::Answer::Cancel;
      else if (rest == "Yes")
        q.answer = form::Answer::Yes;
      else if (rest == "No")
        q.answer = form::Answer::No;
      else
        throw ScriptError{"answer wants OK, Cancel, Yes or No"};
      dialogs_.queue.push_back(q);
    } else if (cmd == "input") {
      dialogs_.queue.push_back({QueuedAnswer::Input, form::Answer::OK, textArg(rest)});
    } else if (cmd == "input-cancel") {
      dialogs_.queue.push_back({QueuedAnswer::InputCancel, form::Answer::Cancel, {}});
    } else if (cmd == "file") {
      if (rest.empty()) throw ScriptError{"file wants a path"};
      dialogs_.queue.push_back({QueuedAnswer::File, form::Answer::OK, textArg(rest)});
    } else if (cmd == "file-cancel") {
      dialogs_.queue.push_back({QueuedAnswer::FileCancel, form::Answer::Cancel, {}});
    } else if (cmd == "choose") {
      dialogs_.queue.push_back({QueuedAnswer::Choose, form::Answer::OK, std::to_string(intArg(rest))});
    } else if (cmd == "choose-cancel") {
      dialogs_.queue.push_back({QueuedAnswer::ChooseCancel, form::Answer::Cancel, {}});
    } else if (cmd == "dump") {
      dump(rest);
    } else {
      event(cmd, rest, word);
    }
  }

  bool answersLeft() const { return !dialogs_.queue.empty(); }

  void printNoAnswer(const NoAnswer& n) {
    out_ << "{\"error\":\"no answer queued\",\"dialog\":" << n.dialogJson << "}\n";
    out_.flush();
  }

 private:
  template <typename Word>
  void event(const std::string& cmd, std::string rest, Word word) {
    if (!main_) throw ScriptError{"'" + cmd + "' before start"};
    app::frmMain& m = *main_;
    auto control = [&](const std::string& name) -> std::string {
      if (!m.form.has(name)) throw ScriptError{"unknown control: " + name};
      return name;
    };
    if (cmd == "click") {
      std::string c = control(rest);
      m.Click(c);
    } else if (cmd == "quit") {
      m.Click("cmdOwari");
    } else if (cmd == "check") {
      std::string c = control(word(rest));
      int v = intArg(rest);
      if (v != 0 && v != 1) throw ScriptError{"check wants 0 or 1"};
      m.SetCheck(c, v);
    } else if (cmd == "dblclick") {
      m.DblClick(control(rest));
    } else if (cmd == "mouseup") {
      m.MouseUp(control(rest));
    } else if (cmd == "focus") {
      m.UserFocus(control(rest));
    } else if (cmd == "type") {
      std::string c = control(word(rest));
      for (const auto& ch : utf8Chars(textArg(rest))) m.TypeChar(c, ch);
    } else if (cmd == "settext") {
      std::string c = control(word(rest));
      m.SetText(c, textArg(rest));
    } else if (cmd == "enter") {
      m.PressEnter(control(rest));
    } else if (cmd == "scroll") {
      std::string c = control(word(rest));
      m.Scroll(c, intArg(rest));
    } else if (cmd == "select") {
      std::string c = control(word(rest));
      m.Select(c, intArg(rest));
    } else if (cmd == "menu") {
      std::string c = control(word(rest));
      int row = intArg(word(rest));
      if (rest.empty()) throw ScriptError{"menu needs an action"};
      m.Menu(c, row, rest);
    } else if (cmd == "drag") {
      std::string s = control(word(rest));
      int index = intArg(word(rest));
      std::string t = control(rest);
      m.Drag(s, index, t);
    } else if (cmd == "key") {
      std::string c = control(word(rest));
      if (!app::IsKeyName(rest)) throw ScriptError{"unknown key: " + rest};
      // The control takes the focus as the user's click would; the key goes where the focus is then.
      m.UserFocus(c);
      if (!m.ended()) m.Key(m.form.focus().empty() ? c : m.form.focus(), rest);
    } else {
      throw ScriptError{"unknown command: " + cmd};
    }
  }

  void dump(const std::string& rest) {
    std::string dialogs = "[";
    for (size_t i = 0; i < dialogs_.shown.size(); ++i) dialogs += (i ? "," : "") + dialogs_.shown[i];
    dialogs += "]";
    dialogs_.shown.clear();
    std::string controls = "{";
    bool first = true;
    auto addControl = [&](const form::Control& c) {
      if (!first) controls += ',';
      controls += jsonString(c.name());
      controls += ':';
      controls += controlJson(c);
      first = false;
    };
    if (main_) {
      std::istringstream names(rest);
      std::string name;
      bool any = false;
      while (names >> name) {
        any = true;
        const form::Control* c = main_->form.find(name);
        if (!c) throw ScriptError{"unknown control: " + name};
        addControl(*c);
      }
      if (!any)
        for (const auto& c : main_->form.controls()) addControl(*c);
    }
    controls += "}";
    std::string focus = main_ ? jsonString(main_->form.focus()) : "null";
    std::string state = main_ ? main_->DumpState() : "{}";
    bool ended = main_ && main_->ended();
    out_ << "{\"dialogs\":" << dialogs << ",\"controls\":" << controls << ",\"focus\":" << focus
         << ",\"state\":" << state << ",\"ended\":" << (ended ? "true" : "false") << "}\n";
    out_.flush();
  }

  std::ostream& out_;
  std::string dataFolder_;
  ScriptDialogs dialogs_;
  ScriptClock clock_;
  std::unique_ptr<app::frmMain> main_;
};

}  // namespace

int runScript(const std::string& dataFolder, std::istream& script, std::ostream& out, std::ostream& err) {
  if (::chdir(dataFolder.c_str()) != 0) {
    err << "zorvel-drive: cannot enter " << dataFolder << "\n";
    return 2;
  }
  // The folder as the user would see it: absolute, as the program shows its data folder.
  char here[4096];
  Session session(out, ::getcwd(here, sizeof here) ? std::string(here) : dataFolder);
  std::string line;
  int lineNo = 0;
  while (std::getline(script, line)) {
    ++lineNo;
    try {
      session.run(line);
    } catch (const ScriptError& e) {
      err << "zorvel-drive: line " << lineNo << ": " << e.message << "\n";
      return 2;
    } catch (const NoAnswer& n) {
      session.printNoAnswer(n);
      err << "zorvel-drive: line " << lineNo << ": a box needed an answer and none was queued\n";
      return 3;
    }
  }
  if (session.answersLeft()) {
    err << "zorvel-drive: answers were left unused\n";
    return 4;
  }
  return 0;
}

}  // namespace drive
