#pragma once

#include <Qt>

namespace quorrel {

// An output window: a title bar with minimise and close buttons, no resizing by the user.
constexpr Qt::WindowFlags OutputWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace quorrel
