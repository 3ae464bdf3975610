// Where the game keeps its two files, Trotix.ini and horsedat.txt.
//
// Beside the executable when the user may write there (a portable copy, a
// build folder), as the game always did. A copy installed in /usr/bin
// cannot write beside itself, so there the window position goes to the
// user's own configuration folder and the horse data file is looked for
// there as well.
#pragma once

#include <QString>

namespace trotix {

enum class FilePlace {
  kBesideProgram,  // the executable's folder
  kUserFolder,     // the user's configuration folder for the game
};

struct FileLocations {
  QString program_dir;
  QString user_dir;
  FilePlace position_place = FilePlace::kBesideProgram;

  // Trotix.ini in the place chosen for it.
  QString PositionFile() const;
  // The folder horsedat.txt is read from: beside the executable when there
  // is one there, otherwise the user's folder. Asked at every new race, so
  // a file put in place while the game runs counts from the next race on.
  QString FieldFileFolder() const;
};

// Chooses the position file's place once, at start-up: beside the program
// when its folder is writable by the user, otherwise the user's folder.
FileLocations LocateFiles(const QString& program_dir, const QString& user_dir);

}  // namespace trotix
