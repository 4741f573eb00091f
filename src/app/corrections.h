#pragma once
// Correcting, deleting and taking back stored records: the pieces every log's own correction
// code shares.
#include <functional>
#include <optional>
#include <string>

#include "words/messages.h"

namespace app {
class frmMain;

// Title of the correction input box.
inline constexpr const char* kCorrectionTitle = words::kCorrectionTitle;

// Everything that is computed from `fileName` anew, as after an entry into it.
void ReloadAfterFileChange(frmMain& m, const std::string& fileName);

// The correction input box, opened with the stored value; nullopt when cancelled or left empty.
std::optional<std::string> AskCorrection(frmMain& m, const std::string& prompt, const std::string& stored);
// "…を削除します。よろしいですか？" with Cancel as the default; true for OK.
bool ConfirmDeletion(frmMain& m, const std::string& what);

enum class ReplaceAnswer { Replace, Add, Cancel };
// Asked when an entry's day already has a record.
ReplaceAnswer AskReplace(frmMain& m, const std::string& dateText);

// Writes one file's change (`write`) as one step the user can undo, described as `what`, then
// recomputes what the file feeds; a failure is shown and changes nothing. False after a failure.
bool StoreChange(frmMain& m, const std::string& file, const std::string& what, const std::function<void()>& write);

// Before a value far from the nearest earlier one (on `earlier`) is stored: the question, with
// No the default. True to store it, also when the change is not far. `fat`: a body-fat
// percentage, else a weight.
bool ConfirmLikelyValue(frmMain& m, const std::string& earlier, double before, double now, bool fat);

// Sample mode refuses corrections like entries; true when refused.
bool RefusedInSampleMode(frmMain& m);

void wireCorrections(frmMain& m);

}  // namespace app
