#pragma once

#include <string>

namespace quorrel {

// File names of outputs derived from the names the options hold. The extension is the text
// from the last "." that comes after the last folder separator ("/", "\" or ":"), so a dot
// in a folder name is not an extension and ".txt" alone is one.

// The position of the extension's dot, or the length of the name when there is none.
size_t ExtensionStart(const std::string& name);

// The name with its extension replaced by (or, without one, extended with) extension.
std::string ChangeExtension(const std::string& name, const std::string& extension);

// The name with text inserted just before its extension: GRate.dat, "1" -> GRate1.dat.
std::string InsertBeforeExtension(const std::string& name, const std::string& text);

// value in decimal with leading zeros to as many digits as widthOf has (50, 1000 -> "0050").
std::string ZeroPadded(int value, int widthOf);

} // namespace quorrel
