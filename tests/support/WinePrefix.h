#pragma once
// A Wine-style prefix in a test folder: user.reg with the Shell Folders key,
// dosdevices/c: linking to drive_c, and drive_c/users/ann/Favorites.
#include <string>

namespace quillet::test {

// The text of a user.reg whose Shell Folders key holds the given value lines
// (for instance "\"Favorites\"=\"C:\\\\users\\\\ann\\\\Favorites\"").
std::string UserRegWithShellFolders(const std::string& valueLines);

// Builds the prefix in dir; returns the Favorites folder's real path
// (dir/drive_c/users/ann/Favorites, created empty).
std::string MakeWinePrefix(const std::string& dir, const std::string& userReg);

// The usual value line: Favorites at C:\users\ann\Favorites.
inline const char* const kFavoritesLine = R"("Favorites"="C:\\users\\ann\\Favorites")";

}  // namespace quillet::test
