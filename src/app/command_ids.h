#pragma once

// Command identifiers of menus and toolbars. They are part of the design: translations, help
// topics and the window's command routing refer to them by number.
namespace cmd {
inline constexpr int kAdd = 32771;
inline constexpr int kDelete = 32772;
inline constexpr int kRename = 32773;
inline constexpr int kDealerInfo = 32774;
inline constexpr int kRead = 32776;
inline constexpr int kWrite = 32777;
inline constexpr int kReset = 32778;
inline constexpr int kReport = 32779;
inline constexpr int kContentAndIndex = 32780;
inline constexpr int kHelpPane = 32781;
inline constexpr int kImportFrequencies = 32810;
inline constexpr int kImportChannels = 32811;
inline constexpr int kExportFrequencies = 32812;
inline constexpr int kExportChannels = 32813;

inline constexpr int kLanguageLaSpanish = 32782;
inline constexpr int kLanguagePolish = 32783;
inline constexpr int kLanguagePortuguese = 32784;
inline constexpr int kLanguageRussian = 32785;
inline constexpr int kLanguageGerman = 32788;
inline constexpr int kLanguageEnglish = 32789;
inline constexpr int kLanguageDutch = 32791;
inline constexpr int kLanguageItalian = 32793;
inline constexpr int kLanguageLaPortuguese = 32795;
inline constexpr int kLanguageCaFrench = 32797;
inline constexpr int kLanguageFrench = 32799;
inline constexpr int kLanguageSpanish = 32802;
inline constexpr int kLanguageChinese = 32805;

inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kClose = 57602;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kRecentFirst = 57616;
inline constexpr int kRecentLast = 57631;
inline constexpr int kCopy = 57634;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kCut = 57635;
inline constexpr int kPaste = 57637;
inline constexpr int kCascade = 57650;
inline constexpr int kTile = 57651;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kToolbar = 59392;
inline constexpr int kStatusBar = 59393;
}  // namespace cmd

// Text numbers of the menu bar.
namespace menu_text {
inline constexpr int kFile = 343;
inline constexpr int kEdit = 344;
inline constexpr int kView = 345;
inline constexpr int kDevice = 346;
inline constexpr int kReport = 347;
inline constexpr int kWindow = 348;
inline constexpr int kHelp = 349;
inline constexpr int kNew = 350;
inline constexpr int kOpen = 351;
inline constexpr int kClose = 352;
inline constexpr int kSave = 353;
inline constexpr int kSaveAs = 354;
inline constexpr int kExit = 355;
inline constexpr int kAdd = 356;
inline constexpr int kCut = 357;
inline constexpr int kCopy = 358;
inline constexpr int kPaste = 359;
inline constexpr int kDelete = 360;
inline constexpr int kRename = 361;
inline constexpr int kDealerInfo = 362;
inline constexpr int kToolbar = 363;
inline constexpr int kStatusBar = 364;
inline constexpr int kRead = 365;
inline constexpr int kWrite = 366;
inline constexpr int kReset = 367;
inline constexpr int kAbout = 368;
inline constexpr int kContentAndIndex = 369;
inline constexpr int kCascade = 370;
inline constexpr int kTile = 371;
inline constexpr int kRecentFile = 180;
inline constexpr int kLanguage = 321;
inline constexpr int kHelpPane = 399;
inline constexpr int kImportFrequencies = 720;
inline constexpr int kImportChannels = 721;
inline constexpr int kExportFrequencies = 722;
inline constexpr int kExportChannels = 723;
// "&Undo %s" and "&Redo %s" name the step; the plain texts stand when there is none.
inline constexpr int kUndoStep = 630;
inline constexpr int kRedoStep = 631;
inline constexpr int kUndo = 632;
inline constexpr int kRedo = 633;
}  // namespace menu_text
