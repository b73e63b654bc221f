#include "packaging/custom_action/running_copy.h"

#include <gtest/gtest.h>

using vyrtel_setup::IsProgramInFolder;

namespace {
constexpr wchar_t kFolder[] = L"C:\\users\\olena\\AppData\\Local\\Programs\\Vyrtel\\";
}

TEST(RunningCopy, MatchesTheProgramOfTheFolderWhateverTheCaseAndSeparators) {
    EXPECT_TRUE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\Vyrtel\\Vyrtel.exe", kFolder,
                                  L"Vyrtel.exe"));
    EXPECT_TRUE(IsProgramInFolder(L"c:\\USERS\\Olena\\appdata\\local\\programs\\vyrtel\\VYRTEL.EXE", kFolder,
                                  L"Vyrtel.exe"));
    EXPECT_TRUE(IsProgramInFolder(L"C:/users/olena/AppData/Local/Programs/Vyrtel/Vyrtel.exe", kFolder,
                                  L"Vyrtel.exe"));
    // The folder as Windows Installer gives it ends with a separator; without one it is the same folder.
    EXPECT_TRUE(IsProgramInFolder(L"D:\\Tools\\Vyrtel.exe", L"D:\\Tools", L"Vyrtel.exe"));
    EXPECT_TRUE(IsProgramInFolder(L"D:\\Tools\\Vyrtel.exe", L"D:\\Tools\\\\", L"Vyrtel.exe"));
}

TEST(RunningCopy, FoldsCyrillicLettersOfFolderNames) {
    EXPECT_TRUE(IsProgramInFolder(L"C:\\Users\\\u041E\u043B\u0435\u043D\u0430\\Vyrtel.exe",       // Олена
                                  L"C:\\Users\\\u043E\u041B\u0415\u041D\u0410\\", L"Vyrtel.exe"));  // оЛЕНА
    EXPECT_TRUE(IsProgramInFolder(L"C:\\\u0491\u0456\u0457\u0454\\Vyrtel.exe",                     // ґіїє
                                  L"C:\\\u0490\u0406\u0407\u0404", L"Vyrtel.exe"));                   // ҐІЇЄ
    EXPECT_FALSE(IsProgramInFolder(L"C:\\\u0456\\Vyrtel.exe", L"C:\\\u0438", L"Vyrtel.exe"));       // і is not и
}

TEST(RunningCopy, LeavesEveryOtherCopyAlone) {
    // The other build's installation, a folder below, a folder whose name merely begins the same.
    EXPECT_FALSE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\Vyrtel (32-bit)\\Vyrtel.exe",
                                   kFolder, L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\Vyrtel\\old\\Vyrtel.exe",
                                   kFolder, L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\VyrtelX\\Vyrtel.exe", kFolder,
                                   L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\Vyrtel\\Vyrtel.exe.bak",
                                   kFolder, L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\Vyrtel\\Other.exe", kFolder,
                                   L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"C:\\users\\olena\\AppData\\Local\\Programs\\VyrtelVyrtel.exe", kFolder,
                                   L"Vyrtel.exe"));
}

TEST(RunningCopy, NothingMatchesAnEmptyOrMissingFolder) {
    EXPECT_FALSE(IsProgramInFolder(L"\\Vyrtel.exe", L"", L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"\\Vyrtel.exe", L"\\", L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(nullptr, kFolder, L"Vyrtel.exe"));
    EXPECT_FALSE(IsProgramInFolder(L"C:\\Vyrtel.exe", nullptr, L"Vyrtel.exe"));
}
