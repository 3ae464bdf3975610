// Where the game keeps its two files, Trotix.ini and horsedat.txt.
//
// Beside the executable when the user may write there (a portable copy, a
// build folder), as the game always did. A copy installed under /usr,
// /usr/local or /opt keeps the window position in the user's own
// configuration folder, whoever runs it, root included, and the horse data
// file is looked for there as well.
//
// Paths are bytes, as the system gives them and takes them back: a folder
// whose name is not valid UTF-8 is still the same folder.
#pragma once

#include <functional>
#include <string>

namespace trotix {

enum class FilePlace {
  kBesideProgram,  // the executable's folder
  kUserFolder,     // the user's configuration folder for the game
};

// Where a save writes Trotix.ini. The user's folder may be made by the save;
// the program's own folder never is, or a copy moved while it ran would
// leave its old folder made again behind it. Without a place, `problem`
// says in one line why the position is not stored.
struct PositionSave {
  std::string path;
  bool may_make_folder = false;
  std::string problem;
};

struct FileLocations {
  std::string program_dir;
  std::string user_dir;
  FilePlace position_place = FilePlace::kBesideProgram;
  // Where the executable is at this moment, asked when the position is
  // stored: a portable copy's folder may be moved while the game runs. Not
  // set: the program stays in program_dir.
  std::function<std::string()> find_program_dir = {};

  // The executable's folder as of now.
  std::string ProgramDirNow() const;
  // Trotix.ini in the place chosen for it.
  std::string PositionFile() const;
  // Trotix.ini for a save: beside the executable where it is now, or in the
  // user's folder.
  PositionSave PositionFileForSave() const;
  // The folder horsedat.txt is read from: beside the executable, where it
  // is now, when there is one there, otherwise the user's folder. Asked at
  // every new race, so a file put in place while the game runs counts from
  // the next race on.
  std::string FieldFileFolder() const;
};

// The folder of the running executable, from /proc/self/exe, which follows
// the executable when its folder is moved; empty when the system does not
// say. A folder whose path is longer than the system's limit cannot be
// named (nor a file in it opened); `problem` then says so.
std::string ProgramFolder(std::string* problem = nullptr);

// The game's folder under the user's configuration folder:
// $XDG_CONFIG_HOME/trotix when that is an absolute path (a relative one is
// ignored, as the XDG base-directory rules say), else $HOME/.config/trotix.
// `home` is $HOME, or the password database's home when that is unset.
// Empty when no home is known.
std::string UserFolder(const char* xdg_config_home, const char* home);

// UserFolder with this process's environment.
std::string UserFolder();

// Chooses the position file's place once, at start-up: the user's folder for
// a copy under a system prefix or in a folder the user may not write to,
// otherwise beside the program. Without a user folder, beside the program.
FileLocations LocateFiles(const std::string& program_dir, const std::string& user_dir);

// LocateFiles for this process, following the executable if it moves. A
// folder too deep to be named is one line on standard error, and the user's
// folder then holds both files.
FileLocations LocateFiles();

}  // namespace trotix
