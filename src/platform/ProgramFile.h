#pragma once
// The running program's file.

#include <string>

// Its full path.
std::string ProgramFileName();
// Its name without folder and extension, normally "Hygrova".
std::string ProgramName();
