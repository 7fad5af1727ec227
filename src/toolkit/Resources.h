#pragma once
// Names of the program's own resources, shared by the forms and the backend.

namespace tsaver::tk::res {

inline constexpr const char* kMainIcon = "MAINICON";
inline constexpr const char* kWizardIcon = "WIZARDICON";
inline constexpr const char* kFolderGlyph = "FOLDERGLYPH";
inline constexpr const char* kSkyBarBitmap = "SKYBAR";

}  // namespace tsaver::tk::res
