#pragma once

#include <string_view>

inline constexpr int kMessageCount = 50;

// The built-in English text of a program message; empty for an id outside 0..49.
std::string_view DefaultMessage(int messageId);
