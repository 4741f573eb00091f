#pragma once
// Whole files and folders byte for byte: what backups, restore and CSV files need beside the
// record files. Every failure is a StoreError naming the file or folder.
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The bytes of a file; a missing or unreadable file is a StoreError.
std::string readBytes(const std::string& path);
// Writes `bytes` to a new temporary file beside `path`, flushes it to disk and renames it over
// `path`, so `path` holds either its old or its new contents, never a half.
void writeBytesAtomic(const std::string& path, std::string_view bytes);
// A plain copy (written and flushed) into a folder that is itself put in place by one rename, so
// each file needs no rename of its own.
void copyFileInto(const std::string& from, const std::string& to);
// readBytes + writeBytesAtomic.
void copyFileAtomic(const std::string& from, const std::string& to);

bool isDirectory(const std::string& path);
// Creates the folder and its parents when missing.
void makeDirectories(const std::string& path);
// Renames a file or folder; fails if `to` exists as a non-empty folder.
void renamePath(const std::string& from, const std::string& to);
// Removes a file or a folder with everything in it; a missing path is no error.
void removeTree(const std::string& path);

// Names (not paths) of the regular files and of the folders directly in `folder`, sorted.
std::vector<std::string> fileNamesIn(const std::string& folder);
std::vector<std::string> folderNamesIn(const std::string& folder);

// The data files of a data folder: every regular file whose name ends in ".txt", sorted.
std::vector<std::string> dataFileNames(const std::string& folder);

// `folder` + "/" + `name`, with no doubled slash.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace store
