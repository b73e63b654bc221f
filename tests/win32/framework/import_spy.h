// Records some of the program's own calls into the platform by rewriting
// the program's import address table (the framework is linked into the
// program, so its calls go through that table):
// - MessageBoxExA, the framework's platform message box: logged with owner,
//   type, language, caption and text, then shown by the real function or,
//   when `silentBoxes`, answered with IDRETRY without a box;
// - LoadLibraryA and FreeLibrary, logged when they concern BWCC32.DLL.
#pragma once

void installImportSpies(bool silentBoxes);
