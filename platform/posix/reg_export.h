#pragma once

#include <map>
#include <string>

namespace platform::posix {

// The default values of the keys in `bytes`, a registry file as Wine's `reg export` writes it
// (UTF-16LE with a byte-order mark, or UTF-8), keyed by the key's full name in lower case
// ("hkey_classes_root\clsid\{...}\inprocserver32"). REG_SZ values and REG_EXPAND_SZ ones
// (hex(2), variables left as written) are kept as UTF-8 text; values of other types are left out.
// Damaged lines are skipped.
std::map<std::string, std::string> DefaultValues(const std::string& bytes);

}  // namespace platform::posix
