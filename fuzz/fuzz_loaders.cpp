// Each loader on a file of any content: a value or a StoreError naming the file, never a crash.
// The first byte chooses the loader, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "calendar/lazy_calendar.h"
#include "diary/calorie_items.h"
#include "diary/day_diary.h"
#include "fuzz_common.h"
#include "memo/memo.h"
#include "nutrition/nutrition.h"
#include "profile/profile.h"
#include "progress/milestones.h"
#include "records/body_fat.h"
#include "records/intraday.h"
#include "records/steps.h"
#include "records/weight_log.h"
#include "store/record.h"
#include "training/training.h"

namespace {

struct Loader {
  const char* file;
  std::function<void()> load;
};

const Loader kLoaders[] = {
    {"体重.txt",
     [] {
       records::WeightSeries s;
       records::LoadWeightLog(s);
       progress::computeLossMilestones(s);
     }},
    {"体脂肪率.txt", [] { records::ReadBodyFatLog(); }},
    {"歩数.txt", [] { records::ReadStepLog(); }},
    {"連続体重.txt", [] { records::ReadIntradayWeightLog(); }},
    {"ﾌﾟﾗｲﾍﾞｰﾄ.txt", [] { profile::ReadProfileFile(); }},
    {"2024年01月.txt", [] { calendar::readMonth("2024年01月.txt"); }},
    {"20240105.txt", [] { diary::readDayDiary("2024/01/05"); }},
    {"日記20240105.txt", [] { diary::readDayDiary("2024/01/05"); }},
    {"ﾘｽﾄ題目.txt", [] { memo::readTitles(); }},
    {"ﾘｽﾄ1.txt", [] { memo::readNotes("ﾘｽﾄ1.txt"); }},
    {"筋トレ題目.txt", [] { training::readTitles(); }},
    {"筋トレ1.txt", [] { training::readLog("筋トレ1.txt"); }},
    {"栄養.txt", [] { nutrition::readNutritionLog(); }},
    {"ｶﾛﾘｰ.txt", [] { diary::readCalorieItems(); }},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Loader& loader = kLoaders[data[0] % (sizeof kLoaders / sizeof kLoaders[0])];
  fuzzing::freshFolder();
  fuzzing::writeFile(loader.file, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  try {
    loader.load();
  } catch (const store::StoreError& e) {
    if (e.file().empty()) __builtin_trap();  // every message names its file
  }
  return 0;
}
