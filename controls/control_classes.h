// The window classes of the library: their names, their window procedures,
// and their registration for the whole process.
#pragma once

#include <windows.h>

namespace bwcc {

inline constexpr char kGrayDialogClass[] = "BorDlg_Gray";
inline constexpr char kPushButtonClass[] = "BorBtn";
inline constexpr char kRadioButtonClass[] = "BorRadio";
inline constexpr char kShadeClass[] = "BorShade";
inline constexpr char kStaticTextClass[] = "BorStatic";

LRESULT CALLBACK grayDialogProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK pushButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK radioButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK shadeProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK staticTextProc(HWND, UINT, WPARAM, LPARAM);

// Registers the five classes as process-wide (global) classes owned by this
// library, so templates of any module in the process find them. Registering
// again is harmless. True when all five exist afterwards.
bool registerControlClasses(HINSTANCE library);

// Removes them again; for an unload of the library while the process goes on.
void unregisterControlClasses(HINSTANCE library);

// The face brush of the gray look, made once per process.
HBRUSH faceBrush();
void releaseFaceBrush();

}  // namespace bwcc
