#pragma once
// Every text the user reads about a data file that cannot be read or written: which file, where,
// what happened in plain words (the system's own text kept in brackets for support), and what to do.
#include <exception>
#include <string>

#include "store/record.h"

namespace store {

enum class FileOp { Read, Write, Remove, MakeFolder, ReadFolder, Move, Lock };

// The failure of a system call with `err` (0: the path is not a plain file, no system text) on
// `path`, a data file's bare name or any path. Its start-up text says how to put the file back by
// hand, since the program's own restore cannot be reached then.
StoreError fileError(const std::string& path, FileOp op, int err);
// fileError() for a path that exists as something else than a plain file (folder, link, device).
StoreError notAPlainFileError(const std::string& path, FileOp op, unsigned mode);

// A file the user made read-only: no writer replaces, appends to or removes it.
StoreError readOnlyFileError(const std::string& path);

// A data folder that cannot be made or used; the text names the whole folder. ENOTDIR with an op
// other than MakeFolder: the folder's path is a file.
std::string dataFolderErrorText(const std::string& folder, FileOp op, int err);

// "「体重.txt」の 3 行目: ", the start of every text about a damaged line.
std::string lineText(const std::string& fileName, int line);
// A line holding bytes that are no Shift-JIS, with how to save the file again.
std::string notCp932Text(const std::string& fileName, int line);

// The folder `path` lies in, absolute (the data folder for a bare name).
std::string folderOfPath(const std::string& path);
// "場所：FOLDER"
std::string placeText(const std::string& folder);
// What the user reads when start-up stops on `e`: the problem, the data folder, what to do, and
// that the program ends.
std::string startUpErrorText(const std::exception& e);

}  // namespace store
