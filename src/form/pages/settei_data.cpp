#include "form/pages/builder.h"

namespace form::pages {

// Settings page, below the profile: where the diary lives, its backups and CSV files.
void buildSetteiData(Form& f) {
  const std::string p = "fraSettei";
  decoration(f, "lblDataTitle", p, 120, 5100, 4880, 360, "データの保管");
  decoration(f, "lblDataFolderCap", p, 120, 5550, 1500, 330, "データフォルダー");
  Control& folder = place(f, "lblDataFolder", Kind::Label, p, 1700, 5550, 13500, 330);
  folder.setToolTip("日記のファイルがあるフォルダーです");
  place(f, "cmdBackup", Kind::CommandButton, p, 120, 6050, 3000, 450, "バックアップから戻す")
      .setToolTip("毎日の起動時に作るバックアップからデータを戻します");
  place(f, "cmdCsvOut", Kind::CommandButton, p, 3300, 6050, 3000, 450, "CSVに書き出す")
      .setToolTip("すべての記録を表計算ソフトで開けるCSVファイルにします");
  place(f, "cmdCsvIn", Kind::CommandButton, p, 6480, 6050, 3000, 450, "CSVから読み込む")
      .setToolTip("CSVファイルから体重を読み込みます");
}

}  // namespace form::pages
