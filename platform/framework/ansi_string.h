#pragma once
// The framework's string type: bytes in UTF-8.
#include <string>

using AnsiString = std::string;
