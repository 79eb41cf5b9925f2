#pragma once

#include <string>
#include <string_view>

namespace platform::posix {

// `name` with its letters folded to lower case the way Windows compares file names: ASCII letters
// and the Latin-1 letters (Å, Ä, Ö, É, ...) in UTF-8. Other bytes are kept as they are, so the
// result does not depend on the process's locale.
std::string FoldNameCase(std::string_view name);

// Orders names without regard to letter case; names equal but for case are ordered by their bytes,
// so the order is total and the same on every run.
bool NameLessIgnoringCase(const std::string& left, const std::string& right);

}  // namespace platform::posix
