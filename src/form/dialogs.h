#pragma once
// Modal boxes and the clock: the only ways the core meets the user and the time.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"

namespace form {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Answer { OK, Cancel, Yes, No };

// The title of a box the program gives no title of its own.
inline constexpr const char* kDefaultTitle = "Zorvel";

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer MsgBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) = 0;
  // The same box with its second button (Cancel or No) as the default, for a question where
  // Enter should not go ahead.
  virtual Answer MsgBoxDefaultSecond(const std::string& text, const std::string& title, Icon icon, Buttons buttons) {
    return MsgBox(text, title, icon, buttons);
  }
  // nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // A folder chosen by the user (to write files into); nullopt when cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& title) {
    (void)title;
    return std::nullopt;
  }
  // A file chosen by the user to read; `filter` as "CSV (*.csv)". nullopt when cancelled.
  virtual std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) {
    (void)title, (void)filter;
    return std::nullopt;
  }
  // One entry of `items` chosen (its index), nullopt when cancelled.
  virtual std::optional<int> ChooseFromList(const std::string& title, const std::string& prompt,
                                            const std::vector<std::string>& items) {
    (void)title, (void)prompt, (void)items;
    return std::nullopt;
  }
  // Shows the help file; closing every help window is closeHelp().
  virtual void showHelp(const std::string& fileName) = 0;
  virtual void closeHelp() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual store::DateTime now() const = 0;
  store::Date today() const { return now().date; }
};

}  // namespace form
