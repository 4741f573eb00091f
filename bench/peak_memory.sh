#!/bin/bash
# Peak memory (maximum resident set size, /usr/bin/time) of the two biggest reads a user can ask
# for, against the size of the file read: a long memo list shown in the window and a long CSV
# import. Not part of ctest.
#
#   bash bench/peak_memory.sh BUILD_DIR [MEMO_MB] [CSV_MB]
#
# BUILD_DIR is a build with the window (-DZORVEL_GUI=ON), best a release build; the defaults are
# a 50 MB memo list and a 100 MB CSV. Each case runs once on the limits folder as it is and once
# with the big file, and prints both peaks and what the big file added, in times its size.
set -euo pipefail

build=$(cd "${1:?usage: peak_memory.sh BUILD_DIR [MEMO_MB] [CSV_MB]}" && pwd)
memoMb=${2:-50}
csvMb=${3:-100}
for tool in window_shots zorvel-drive make_limits_data; do
  [ -x "$build/$tool" ] || { echo "$build/$tool is missing: build with -DZORVEL_GUI=ON" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing: apt-get install time" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/make_limits_data" "$work/limits" > /dev/null

# Peak of "$@" in kilobytes.
peak() {
  /usr/bin/time -o "$work/peak" -f %M "$@" > "$work/stdout" 2> "$work/stderr" || {
    cat "$work/stderr" >&2
    exit 1
  }
  cat "$work/peak"
}
report() {  # name, file bytes, peak without, peak with
  awk -v name="$1" -v bytes="$2" -v without="$3" -v with="$4" 'BEGIN {
    mb = bytes / 1048576
    printf "%-22s file %6.1f MB  peak %7.1f MB (without the file %6.1f MB)  added %5.2f x the file\n",
      name, mb, with / 1024, without / 1024, (with - without) * 1024 / bytes }'
}

# A memo list of short Japanese notes, one a line, CP932, until it holds MEMO_MB.
awk -v limit=$((memoMb * 1048576)) 'BEGIN {
  for (i = 0; i < limit / 51; ++i)  # each line is 51 bytes in CP932
    printf "\"%02d/%02d - メモ %07d 今日は一万歩あるいた, good\"\r\n", i % 12 + 1, i % 28 + 1, i
}' | iconv -f UTF-8 -t CP932 > "$work/memo.txt"
cp -r "$work/limits" "$work/memo-folder"
cp "$work/memo.txt" "$work/memo-folder/ﾘｽﾄ1.txt"
# window_shots shows every page in turn, the memo page with its lists among them.
export QT_QPA_PLATFORM=offscreen
without=$(peak "$build/window_shots" "$work/limits" "$work/shots")
with=$(peak "$build/window_shots" "$work/memo-folder" "$work/shots")
report "memo list in the window" "$(stat -c %s "$work/memo.txt")" "$without" "$with"

# A scale's export: several weighings a day over the two years before the clock's day, imported
# into a diary without weights.
awk -v limit=$((csvMb * 1048576)) 'BEGIN {
  printf "dateTime,weight,fat\r\n"
  perDay = int(limit / 32 / 700) + 1
  for (i = 0; size < limit; ++i) {
    day = int(i / perDay)
    # 2025/01/01 plus `day` days, by hand: no date tool is needed.
    y = 2025; d = day
    while (d >= (y % 4 ? 365 : 366)) { d -= (y % 4 ? 365 : 366); ++y }
    split("31 28 31 30 31 30 31 31 30 31 30 31", len, " ")
    if (y % 4 == 0) len[2] = 29
    for (mo = 1; d >= len[mo]; ++mo) d -= len[mo]
    line = sprintf("%04d-%02d-%02d %02d:%02d:%02d,%.1f,%.1f\r\n", y, mo, d + 1, int(i / 3600) % 24,
                   int(i / 60) % 60, i % 60, 60 + (i % 200) / 10, 20 + (i % 50) / 10)
    printf "%s", line
    size += length(line)
  }
}' > "$work/weights.csv"
cp -r "$work/limits" "$work/csv-folder"
: > "$work/csv-folder/体重.txt"
printf 'clock 2026/12/07 09:00:00\nstart\ndump lblNowTaijyu\n' > "$work/start.txt"
printf 'clock 2026/12/07 09:00:00\nstart\nfile %s\nclick cmdCsvIn\ndump lblNowTaijyu\n' "$work/weights.csv" \
  > "$work/import.txt"
without=$(peak "$build/zorvel-drive" "$work/csv-folder" < "$work/start.txt")
with=$(peak "$build/zorvel-drive" "$work/csv-folder" < "$work/import.txt")
grep -q '"WeightCount":[1-9][0-9][0-9],' "$work/stdout" || { echo "the import took no weights:" >&2; cat "$work/stdout" >&2; exit 1; }
report "CSV import" "$(stat -c %s "$work/weights.csv")" "$without" "$with"
