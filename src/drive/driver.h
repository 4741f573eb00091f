#pragma once
// The scripted headless driver: runs the diary's core from a script of user events.
#include <iosfwd>
#include <string>

namespace drive {

// Runs `script` in `dataFolder` (the process changes into it), writing dumps to `out` and
// messages to `err`. Returns the exit status of the contract: 0, 2, 3 or 4.
int runScript(const std::string& dataFolder, std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace drive
