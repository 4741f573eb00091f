#pragma once
// Whole files and folders byte for byte: what backups, restore and CSV files need beside the
// record files. Every failure is a StoreError naming the file or folder.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The bytes of a file; a missing or unreadable file is a StoreError.
std::string readBytes(const std::string& path);
// Writes `bytes` to a new temporary file beside `path`, flushes it to disk and renames it over
// `path`, so `path` holds either its old or its new contents, never a half.
void writeBytesAtomic(const std::string& path, std::string_view bytes);
// A plain copy (written, private to the user) into a folder that is itself put in place by one
// rename, so each file needs no rename of its own. It is not yet on disk: flushFolderFiles before
// the rename.
void copyFileInto(const std::string& from, const std::string& to);
// The same for bytes at hand.
void writeFileInto(const std::string& to, std::string_view bytes);
// Puts on disk every file written into `folder`, then its list of names; a failure is a
// StoreError naming the folder.
void flushFolderFiles(const std::string& folder);
// readBytes + writeBytesAtomic.
void copyFileAtomic(const std::string& from, const std::string& to);

// A folder, or a link to one.
bool isDirectory(const std::string& path);
// A folder itself, not a link to one.
bool isRealDirectory(const std::string& path);
// Creates the folder and its missing parents, each private to the user (0700); a folder that
// exists is left as it is.
void makeDirectories(const std::string& path);
// The same without throwing: 0, or the errno of the folder that could not be made.
int makePrivateFolders(const std::string& path);
// Flushes a folder's list of names to disk (best effort).
void syncFolder(const std::string& path);
// Renames a file or folder; fails if `to` exists as a non-empty folder.
void renamePath(const std::string& from, const std::string& to);
// Removes a folder this program made: the plain files in it that `ours` accepts, then the folder
// if nothing else is left. A link, at `path` or inside it, is never followed nor removed. True
// when the folder is gone.
bool removeOwnFolder(const std::string& path, const std::function<bool(const std::string&)>& ours);

// Names (not paths) of the regular files and of the folders directly in `folder`, sorted; links
// are neither.
std::vector<std::string> fileNamesIn(const std::string& folder);
std::vector<std::string> folderNamesIn(const std::string& folder);

// The days the weight log's gap question filled with the last weight, one quoted date a line.
inline constexpr const char* kFilledDaysFile = "補完.txt";

// The data files of a data folder: every regular file whose name ends in ".txt", sorted.
std::vector<std::string> dataFileNames(const std::string& folder);

// A name the program gives a data file: one of the fixed files, a diary day (YYYYMMDD.txt), its
// comment (日記YYYYMMDD.txt) or a calendar month (YYYY年M月.txt).
bool isOwnDataFileName(const std::string& name);
// Only the diary's days, comments and months.
bool isDayOrMonthFileName(const std::string& name);

// `folder` + "/" + `name`, with no doubled slash.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace store
