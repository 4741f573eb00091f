#pragma once
// The dialogue of a new start: the new profile asked box by box, then a confirmation.
#include <string>
#include <string_view>

#include "form/dialogs.h"
#include "form/form.h"
#include "profile/profile.h"

namespace profile {

// True when the whole answer reads as a number: an optional sign, digits with at most one
// decimal point (an exponent allowed), blanks around it.
bool IsNumberAnswer(std::string_view text);

enum class NewStartOutcome {
  Declined,   // the opening box was not confirmed: nothing was touched
  GivenUp,    // given up on the way: the boxes show `current` again
  Confirmed,  // the six boxes hold the accepted answers
};

// Steps through the opening box, the six questions (each answer into its txtPriData box) and the
// confirmation. An empty or cancelled answer gives up; a non-number or a value that cannot be
// stored is refused and asked again.
NewStartOutcome AskNewProfile(form::Dialogs& dialogs, form::Form& form, const Profile& current);

// Puts the six values of `p` back into txtPriData 0..5 (the axis and step boxes are left alone).
void RefillProfileBoxes(const Profile& p, form::Form& form);

// The two boxes that close a confirmed new start.
void ShowNewStartCleared(form::Dialogs& dialogs);
void ShowNewStartFirstSteps(form::Dialogs& dialogs);

// Every record file a new start empties, besides the shown month of the lazy calendar.
inline constexpr const char* kNewStartEmptiedFiles[] = {
    "体重.txt", "連続体重.txt", "体脂肪率.txt", "歩数.txt",    "栄養.txt",    "ﾘｽﾄ1.txt",    "ﾘｽﾄ2.txt",   "ﾘｽﾄ3.txt",
    "ﾘｽﾄ4.txt", "筋トレ1.txt",  "筋トレ2.txt",  "筋トレ3.txt", "筋トレ4.txt", "筋トレ5.txt", "筋トレ6.txt"};

// Writes the new profile and empties every file above and `calendarFile` (when not empty) as one
// step, which from the sample also puts the sample's diary aside (sample_move.h): after a failure
// or a crash the folder holds either all the old files or all the new ones. Throws
// store::StoreError naming the file that could not be written.
void WriteNewStartFiles(const Profile& fresh, const std::string& calendarFile, bool fromSample = false);

}  // namespace profile
