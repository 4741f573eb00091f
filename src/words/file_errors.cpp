#include "words/file_errors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace store {
namespace fs = std::filesystem;
namespace {

// The program's own restore is on the settings page; before start-up has finished only a copy by
// hand can put a file back.
constexpr const char* kRestoreInUse =
    "設定の「バックアップから戻す」で、問題のなかった日のバックアップを戻してください。";
constexpr const char* kRestoreByHand =
    "データフォルダーの「バックアップ」フォルダーにある日付のフォルダーから、同じ名前のファイルをデータフォルダーに"
    "コピーしてください。";
constexpr const char* kTryAgain = "もう一度お試しください。";
constexpr const char* kEndNotice = "プログラムを終了します。";

std::string quoted(const std::string& s) { return "「" + s + "」"; }

std::string nameOf(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  const size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string currentFolder() {
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  return ec ? std::string(".") : here.string();
}

std::string whatFailed(const std::string& name, FileOp op) {
  switch (op) {
    case FileOp::Read: return quoted(name) + "を読み込めませんでした。";
    case FileOp::Write: return quoted(name) + "に書き込めませんでした。";
    case FileOp::Remove: return quoted(name) + "を削除できませんでした。";
    case FileOp::MakeFolder: return "フォルダー" + quoted(name) + "を作れませんでした。";
    case FileOp::ReadFolder: return "フォルダー" + quoted(name) + "の中を読み込めませんでした。";
    case FileOp::Move: return quoted(name) + "を移せませんでした。";
    case FileOp::Lock: return quoted(name) + "でデータフォルダーをロックできませんでした。";
  }
  return quoted(name) + "を扱えませんでした。";
}

// What happened, in the user's words, and what to do about it.
struct Reason {
  std::string words;
  std::string advice;
};

Reason reasonFor(int err, FileOp op, bool atStartUp) {
  // Only a file that cannot be read needs its copy from a backup; a write just tries again.
  const std::string restore = op != FileOp::Read ? std::string(kTryAgain) : atStartUp ? kRestoreByHand : kRestoreInUse;
  if (op == FileOp::Lock) {
    // The lock file is ours alone: whatever stands at its name is in the way.
    const std::string away = "この名前のものを別の場所へ移してから、起動し直してください。";
    switch (err) {
      case 0: return {"通常のファイルではありません", away};
      case EISDIR: return {"ファイルではなくフォルダーです", away};
      case ELOOP: return {"ファイルではなくシンボリックリンクです", away};
      case EACCES:
      case EPERM:
        return {"アクセス権がありません",
                "このファイルとデータフォルダーの持ち主と読み書きの許可を確かめてから、起動し直してください。"};
      default: break;
    }
  }
  switch (err) {
    case 0: return {"通常のファイルではありません", "この名前のものを別の場所へ移してから、" + restore};
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return {"ディスクの空きがありません",
              std::string("不要なファイルを削除するなどしてディスクの空きを増やしてから、") + kTryAgain};
    case EACCES:
    case EPERM:
      return {"アクセス権がありません", "この場所のフォルダーとファイルに読み書きの許可があるか確かめてください。"};
    case EROFS:
      return {"ディスクが読み取り専用です",
              "書き込みのできるディスクを使うか、ディスクの読み取り専用の設定を解除してください。"};
    case EISDIR: return {"ファイルではなくフォルダーです", "このフォルダーを別の場所へ移してから、" + restore};
    case ENOENT:
      return {"見つかりません",
              op == FileOp::Read ? restore : std::string("場所のフォルダーがあるか確かめてから、") + kTryAgain};
    case EEXIST:
      return {"同じ名前のファイルがすでにあります", std::string("そのファイルを別の場所へ移してから、") + kTryAgain};
    case ENOTEMPTY:
      return {"同じ名前のフォルダーがすでにあります",
              std::string("そのフォルダーを別の場所へ移してから、") + kTryAgain};
    case ELOOP:
      return {"ファイルではなくシンボリックリンクです",
              "リンクの代わりに、リンク先のファイルそのものを置いてください。"};
    case ENOTDIR:
      return {"場所の途中にフォルダーではないものがあります", std::string("場所を確かめてから、") + kTryAgain};
    case EIO:
      return {"ディスクの読み書きに失敗しました",
              std::string("ディスクやその接続に異常がないか確かめてから、") + kTryAgain};
    case EMFILE:
    case ENFILE: return {"開いているファイルが多すぎます", std::string("ほかのプログラムを終了してから、") + kTryAgain};
    default:
      return {"思わぬエラーが起きました",
              std::string(kTryAgain) + "直らないときは、お問い合わせの際に（）内の英文をお知らせください。"};
  }
}

std::string compose(const std::string& path, FileOp op, int err, bool atStartUp) {
  const Reason r = reasonFor(err, op, atStartUp);
  std::string text = whatFailed(nameOf(path), op) + r.words;
  if (err != 0) text += "（" + std::string(std::strerror(err)) + "）";
  return text + "。\n" + placeText(folderOfPath(path)) + "\n" + r.advice;
}

}  // namespace

StoreError::StoreError(std::string file, const std::string& message)
    : std::runtime_error(message),
      file_(std::move(file)),
      startUp_(message + "\n" + placeText(folderOfPath(file_)) + "\nテキストエディターでこの行を直すか、" +
               kRestoreByHand) {}

StoreError fileError(const std::string& path, FileOp op, int err) {
  return StoreError(path, compose(path, op, err, false), compose(path, op, err, true));
}

StoreError notAPlainFileError(const std::string& path, FileOp op, unsigned mode) {
  if (S_ISDIR(mode)) return fileError(path, op, EISDIR);
  if (S_ISLNK(mode)) return fileError(path, op, ELOOP);
  return fileError(path, op, 0);
}

StoreError readOnlyFileError(const std::string& path) {
  const std::string head =
      whatFailed(nameOf(path), FileOp::Write) + "読み取り専用のファイルです。\n" + placeText(folderOfPath(path)) + "\n";
  const std::string advice = "このファイルを書き換えてよいときは、読み取り専用の設定を解除してから、";
  return StoreError(path, head + advice + kTryAgain, head + advice + "起動し直してください。");
}

std::string dataFolderErrorText(const std::string& folder, FileOp op, int err) {
  const std::string head = "データフォルダー" + quoted(folder);
  if (err == ENOTDIR && op != FileOp::MakeFolder)
    return head +
           "はフォルダーではなくファイルです。\n別のフォルダーを指定するか、このファイルを別の場所へ移してください。";
  const Reason r = reasonFor(err, op, true);
  const std::string what = op == FileOp::MakeFolder ? "を作れませんでした。"
                           : op == FileOp::Read     ? "を読み込めませんでした。"
                                                    : "に書き込めませんでした。";
  return head + what + r.words + (err != 0 ? "（" + std::string(std::strerror(err)) + "）" : "") + "。\n" + r.advice;
}

std::string lineText(const std::string& fileName, int line) {
  return quoted(fileName) + "の " + std::to_string(line) + " 行目: ";
}

std::string notCp932Text(const std::string& fileName, int line) {
  return lineText(fileName, line) +
         "Shift-JIS（CP932）として読めない文字があります。このファイルは Shift-JIS（CP932）のテキストではありません。"
         "テキストエディターで文字コードを Shift_JIS（CP932）、改行を CRLF にして保存し直してください。";
}

std::string folderOfPath(const std::string& path) {
  std::error_code ec;
  fs::path folder = fs::absolute(fs::path(path), ec).parent_path().lexically_normal();
  if (ec) return currentFolder();
  std::string s = folder.string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string placeText(const std::string& folder) { return "場所：" + folder; }

std::string startUpErrorText(const std::exception& e) {
  if (const auto* s = dynamic_cast<const StoreError*>(&e)) return s->startUpText() + "\n\n" + kEndNotice;
  return std::string(e.what()) + "\n" + placeText(currentFolder()) + "\n\n" + kEndNotice;
}

}  // namespace store
