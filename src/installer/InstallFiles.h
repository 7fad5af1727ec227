#pragma once
// The table of product files: which name each slot holds, where it goes and
// when an install option leaves it out.
#include <string>

#include "installer/WizardState.h"
#include "platform/Platform.h"

namespace tsaver {

inline constexpr const char* kTrayProgram = "TaskTray.exe";
inline constexpr const char* kFlashControl = "SWFlash.ocx";
inline constexpr const char* kDesktopProgram = "RunSaver.exe";
inline constexpr const char* kTrayBitmap = "Contacts.bmp";
inline constexpr const char* kDataFile = "Data.dat";
inline constexpr const char* kExtrasList = "Extras.txt";

inline constexpr int kScreenSaverSlot = 1;
inline constexpr int kFlashControlSlot = 2;
inline constexpr int kFirstInstallDirSlot = 3;
inline constexpr int kTrayProgramSlot = 5;

// Slot 1 is the product's screen saver file, slot 9 its icon, slot 7 empty. Notes which
// of them, and whether "Extras.txt", the package in SourceDir holds now.
void fillInstallFiles(Platform& platform, WizardState& state);

// True when the install options leave this file out of the copy.
bool skippedByOptions(const std::string& fileName, const InstallOptions& options);

// Reads "After.txt"'s four lines; raises EInOutError when it cannot be read.
InstallOptions readInstallOptions(Platform& platform, const std::string& path);

}  // namespace tsaver
