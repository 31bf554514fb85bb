#pragma once
// Menu and accelerator command ids, as the menu resource numbers them.

namespace tavo::command {

inline constexpr int LoadWorkingImage = 32771;
inline constexpr int EditRomInformation = 32777;
inline constexpr int SaveRomImage = 154;
inline constexpr int SaveRomImageAs = 171;
inline constexpr int PrintReport = 32803;
inline constexpr int LoadComparisonImage = 32775;
inline constexpr int WriteNewRomImage = 32774;
inline constexpr int SaveTableData = 32776;
inline constexpr int Exit = 105;
inline constexpr int QuickViewer = 32773;
inline constexpr int RomScan = 32784;
inline constexpr int DataLog = 32785;
inline constexpr int LiveRamDisplay = 32787;
inline constexpr int SaveCurrentLog = 32786;
// Added to the menu resource's numbers: the log window.
inline constexpr int OpenLog = 32810;
inline constexpr int SetupLogging = 32791;
inline constexpr int SetupSerial = 32809;
inline constexpr int DisassembleRom = 32800;
inline constexpr int EditSourceCode = 32801;
inline constexpr int AssembleSourceCode = 32802;
inline constexpr int Fueling = 32807;
inline constexpr int Timing = 32806;
inline constexpr int About = 104;
// The Edit menu's Undo and Redo (the numbers Windows programs give them).
inline constexpr int Undo = 57643;
inline constexpr int Redo = 57644;

// Entries that are shown but have no command behind them.
inline constexpr int None = 0;

}  // namespace tavo::command
