#include "output/FileNames.h"

namespace quorrel {

size_t ExtensionStart(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    const size_t separator = name.find_last_of("/\\:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return name.size();
    return dot;
}

std::string ChangeExtension(const std::string& name, const std::string& extension)
{
    return name.substr(0, ExtensionStart(name)) + extension;
}

std::string InsertBeforeExtension(const std::string& name, const std::string& text)
{
    std::string result = name;
    return result.insert(ExtensionStart(name), text);
}

std::string ZeroPadded(int value, int widthOf)
{
    const size_t width = std::to_string(widthOf).size();
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

} // namespace quorrel
