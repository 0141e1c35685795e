// A whole file's bytes, as the host stand-in reads its inputs.
#pragma once
#include <string>

// The file's bytes; empty, and *opened false when given, when it cannot be opened.
std::string ReadFileText(const std::string& path, bool* opened = nullptr);
